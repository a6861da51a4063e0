// The program's host on Qt Widgets. Every framework window becomes a top-level window with a
// widget per control (its objectName is the control's Name), menu bars become QActions with
// the platform's standard shortcuts, dialogs, message boxes and links are Qt's own, and
// every handler a widget delivers runs inside fw::RunHandler, one at a time.
#pragma once

#include <memory>
#include <string>

#include "framework/host.h"
#include "framework/ui.h"

class QAction;
class QApplication;
class QWidget;

namespace fw::qt {

class QtHost final : public Host {
 public:
  // Uses the running QApplication, or makes one from argc and argv (which must outlive the
  // host); installs itself as the host until it is destroyed.
  QtHost(int& argc, char** argv);
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  void MsgBox(const std::string& text) override;
  std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string& filter) override;
  std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string& filter,
                                                const std::string& default_name) override;
  void ShowURL(const std::string& url) override;
  // Cheap on most calls: a counter, then a clock read every few dozen calls, and at most
  // every 15 ms the event loop runs once with user input thrown away, so windows repaint
  // but nothing the user does reaches the program until the handler ends.
  void Yield() override;

  void WindowOpened(Window& w) override;
  void WindowVisibilityChanged(Window& w) override;
  void WindowClosed(Window& w) override;
  void ControlChanged(Control& c) override;
  void ControlRefresh(Control& c) override;
  void MenuBarChanged(Application& app) override;

  int Run() override;
  void Quit() override;

  // What the user sees of a window, a control or a menu item; none when it is not shown.
  QWidget* widgetOf(const Window& w) const;
  QWidget* widgetOf(const Control& c) const;
  QAction* actionOf(const MenuItem& item) const;

 private:
  class Impl;
  std::unique_ptr<QApplication> own_app_;  // when the host made it; outlives d_
  std::unique_ptr<Impl> d_;
};

}  // namespace fw::qt
