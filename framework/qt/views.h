// The widgets that show framework windows and controls. Each keeps a pointer to its object
// until the object's window closes (detach); after that it shows nothing new and delivers
// nothing. Positions and sizes are pixels, as the objects give them.
#pragma once

#include <QFont>
#include <QMainWindow>
#include <QPoint>
#include <functional>
#include <string>
#include <vector>

#include "framework/ui.h"

namespace fw::qt {

// What the views need from the host.
class HostLink {
 public:
  virtual ~HostLink() = default;
  // Runs a handler the user started, inside fw::RunHandler. Refused (false) while another
  // handler runs: whatever reaches a widget then does not start a second one.
  virtual bool deliver(const std::function<void()>& handler) = 0;
  // A handler is under way: deliver would refuse.
  virtual bool busy() const = 0;
  // A file came in by a drop: the next dialogs open in its folder.
  virtual void rememberFolder(const std::string& file_path) = 0;
  // The active window, or else the last framework window on screen (normally the main
  // window): right after a dialog closes, or after a drop from another program, no window
  // may be active, and a dialog without a parent can open behind the main window.
  virtual QWidget* inFront() const = 0;
};

// The font of a control: its family, or DejaVu when the system lacks it; its size in pixels
// (0: base's).
QFont fontFor(const Control& control, const QFont& base);

// A widget kept in step with one control.
class ControlView {
 public:
  ControlView(Control& control, QPoint origin) : control_(&control), origin_(origin) {}
  virtual ~ControlView() = default;
  virtual QWidget& widget() = 0;
  // Applies every property of the control to the widget.
  virtual void sync() = 0;
  void detach() { control_ = nullptr; }
  Control* control() const { return control_; }

 protected:
  // Geometry, visibility, enabling and help tag.
  void syncCommon();

  Control* control_;
  QPoint origin_;  // where the widget's parent sits in the window's content
};

// Makes the widget for the control inside parent, which sits at origin in the window.
ControlView* makeControlView(Control& control, QWidget& parent, QPoint origin, HostLink& link);

// A top-level window kept in step with one framework window: its title, its content size
// (fixed unless resizable), its background, its title-bar buttons, its controls in creation
// order (later ones above), and its menu bar when it has one.
class WindowView : public QMainWindow {
 public:
  WindowView(Window& window, HostLink& link);
  Window* window() const { return window_; }
  QWidget& content() const { return *content_; }
  const std::vector<ControlView*>& controls() const { return controls_; }
  // Shows or hides the window as its object says; a window shown again comes to the front.
  void syncVisibility();
  void detach();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void place();

  Window* window_;
  HostLink& link_;
  QWidget* content_;
  std::vector<ControlView*> controls_;
  bool placed_ = false;
};

}  // namespace fw::qt
