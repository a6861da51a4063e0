// Windows, controls and menus as plain objects with the properties and events the program
// uses. The host puts them on screen; the program never sees a widget.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/text.h"

namespace fw {

class Window;

// What a drag carries: one file-system item.
class DragItem {
 public:
  explicit DragItem(std::shared_ptr<fw::FolderItem> item) : item_(std::move(item)) {}
  bool FolderItemAvailable() const { return item_ != nullptr; }
  std::shared_ptr<fw::FolderItem> FolderItem() const { return item_; }

 private:
  std::shared_ptr<fw::FolderItem> item_;
};

struct FileType {
  std::string Name, Extensions, MacType, MacCreator;
};

class Control {
 public:
  virtual ~Control() = default;
  virtual const char* ClassName() const = 0;

  std::string Name;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool LockLeft = true, LockTop = true, LockRight = false, LockBottom = false;
  int TabPanelIndex = 0;
  int TabIndex = 0;
  bool AutoDeactivate = true;
  std::string HelpTag;
  std::string InitialParent;  // name of the enclosing control; empty: the window

  // Text style, for the controls that show text.
  std::string TextFont = "System";
  double TextSize = 0;  // pixels; 0: the system's size
  int TextUnit = 0;
  bool Bold = false, Italic = false, Underline = false;

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Redraws at once (erase: clear the background first).
  void Refresh(bool erase = true);
  Window* window() const { return window_; }

  std::function<void()> Open;  // after the window has made all its controls

 protected:
  void changed();

 private:
  friend class Window;
  Window* window_ = nullptr;
  bool visible_ = true, enabled_ = true;
};

class StaticText : public Control {
 public:
  const char* ClassName() const override { return "StaticText"; }
  const std::string& Text() const { return text_; }
  void SetText(std::string t);
  int TextAlign = 0;  // 0 left, 1 centred, 2 right
  Color TextColor;
  bool Transparent = false, Multiline = false, Selectable = false;
  std::string DataSource, DataField;

 private:
  std::string text_;
};

class BevelButton : public Control {
 public:
  const char* ClassName() const override { return "BevelButton"; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  Color TextColor;
  bool TabStop = true, HasBackColor = false, Value = false, AcceptFocus = false;
  Color BackColor;
  int CaptionAlign = 0, CaptionPlacement = 0, CaptionDelta = 0, IconAlign = 0, IconDX = 0,
      IconDY = 0, Bevel = 0, HasMenu = 0, MenuValue = 0, ButtonType = 0;
  std::function<void()> Action;

 private:
  std::string caption_;
};

class PushButton : public Control {
 public:
  const char* ClassName() const override { return "PushButton"; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  bool TabStop = true, Default = false, Cancel = false;
  std::function<void()> Action;

 private:
  std::string caption_;
};

class GroupBox : public Control {
 public:
  const char* ClassName() const override { return "GroupBox"; }
  std::string Caption;
};

class Rectangle : public Control {
 public:
  const char* ClassName() const override { return "Rectangle"; }
  Color FillColor, TopLeftColor, BottomRightColor;
  int BorderWidth = 1;
  // Makes the control a drop target for files of the named type.
  void AcceptFileDrop(const std::string& file_type) { accepted_.push_back(file_type); }
  const std::vector<std::string>& AcceptedFileTypes() const { return accepted_; }

  std::function<void(DragItem&, int)> DropObject;
  std::function<bool(int, int, DragItem&, int)> DragOver;
  std::function<void(DragItem&, int)> DragExit;

 private:
  std::vector<std::string> accepted_;
};

class RoundRectangle : public Control {
 public:
  const char* ClassName() const override { return "RoundRectangle"; }
  Color FillColor, BorderColor;
  int BorderWidth = 1, OvalWidth = 0, OvalHeight = 0;
};

class ProgressBar : public Control {
 public:
  const char* ClassName() const override { return "ProgressBar"; }
  std::int32_t Value() const { return value_; }
  void SetValue(std::int32_t v);
  std::int32_t Maximum() const { return maximum_; }
  void SetMaximum(std::int32_t m);

 private:
  std::int32_t value_ = 0, maximum_ = 100;
};

class Listbox : public Control {
 public:
  const char* ClassName() const override { return "Listbox"; }
  int ColumnCount = 1;
  bool HasHeading = false, HasBorder = true, ScrollBarVertical = true, ScrollBarHorizontal = false;
  void AddRow(std::string text);
  void DeleteAllRows();
  int ListCount() const { return static_cast<int>(rows_.size()); }
  const std::vector<std::string>& Rows() const { return rows_; }

 private:
  std::vector<std::string> rows_;
};

// Menus: a tree of items, each found by its Name at any depth.
class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual const char* ClassName() const { return "MenuItem"; }
  std::string Name, Text, KeyboardShortcut;
  bool AutoEnable = true;
  bool Enabled = true;

  void Append(std::shared_ptr<MenuItem> item) { children_.push_back(std::move(item)); }
  // The direct child of that name; none when there is none.
  std::shared_ptr<MenuItem> Child(std::string_view name) const;
  // The item of that name below this one, at any depth; none when there is none.
  std::shared_ptr<MenuItem> Lookup(std::string_view name) const;
  const std::vector<std::shared_ptr<MenuItem>>& Children() const { return children_; }

 private:
  std::vector<std::shared_ptr<MenuItem>> children_;
};

class QuitMenuItem : public MenuItem {
 public:
  const char* ClassName() const override { return "QuitMenuItem"; }
};
class AppleMenuItem : public MenuItem {
 public:
  const char* ClassName() const override { return "AppleMenuItem"; }
};
class MenuBar : public MenuItem {
 public:
  const char* ClassName() const override { return "MenuBar"; }
};

// The item of that name below root, checked to be a T.
template <typename T>
std::shared_ptr<T> FindMenuItem(const std::shared_ptr<MenuItem>& root, std::string_view name) {
  if (!root) throw NilObjectException("Barra dei menu mancante");
  auto item = root->Lookup(name);
  if (!item) throw NilObjectException("Voce di menu mancante: " + std::string(name));
  auto typed = std::dynamic_pointer_cast<T>(item);
  if (!typed) throw IllegalCastException("Voce di menu di tipo inatteso: " + std::string(name));
  return typed;
}

// Menu handlers by item name; a handler returns true when it took the command.
class MenuHandlers {
 public:
  void Add(std::string item_name, std::function<bool()> handler);
  // Runs the handler for the item; false when there is none or it did not take the command.
  bool Handle(std::string_view item_name) const;
  bool Has(std::string_view item_name) const;

 private:
  std::vector<std::pair<std::string, std::function<bool()>>> handlers_;
};

class Window : public std::enable_shared_from_this<Window> {
 public:
  virtual ~Window() = default;
  // The name under which the class is registered, "Finestra.Finestra" and the like.
  virtual const char* ClassName() const = 0;

  int Placement = 0, Width = 300, Height = 300, MinWidth = 64, MinHeight = 64, MaxWidth = 32000,
      MaxHeight = 32000, Frame = 0, MacProcID = 0;
  bool Composite = false, HasBackColor = false, FullScreen = false, MenuBarVisible = true,
       CloseButton = true, Resizeable = true, LiveResize = true, MaximizeButton = true,
       MinimizeButton = true;
  Color BackColor;
  std::string Title;
  bool Visible = true;  // as set by Layout: whether construction puts the window on screen
  std::shared_ptr<MenuItem> MenuBar;
  MenuHandlers menuHandlers;

  // Default window construction: Layout, CreateControls, each control's Open, AddMenuHandlers;
  // the window is then open (registered) and, when Visible, on screen.
  void Constructor();
  void Show();
  void Hide();
  // Takes the window off the screen and out of the open windows. Closing twice does nothing.
  void Close();
  bool IsOpen() const { return open_; }

  // Window._AddControl: the control belongs to the window from now on, drawn above the earlier.
  Control& AddControl(std::unique_ptr<Control> control, std::string name);
  // The control of that name, or none.
  Control* ControlByName(std::string_view name) const;
  // The control of that name checked to be a T: NilObjectException when the window has no
  // such name, IllegalCastException when it is of another class.
  template <typename T>
  T& Find(std::string_view name) const {
    Control* c = ControlByName(name);
    if (!c) throw NilObjectException("Controllo mancante: " + std::string(name));
    auto* typed = dynamic_cast<T*>(c);
    if (!typed) throw IllegalCastException("Controllo di tipo inatteso: " + std::string(name));
    return *typed;
  }
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

  virtual void EnableMenuItems() {}

 protected:
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void AddMenuHandlers() {}

 private:
  std::vector<std::unique_ptr<Control>> controls_;
  bool open_ = false;
};

// The open windows, most recently opened last.
const std::vector<std::shared_ptr<Window>>& OpenWindows();
std::shared_ptr<Window> FindOpenWindow(std::string_view class_name);

// The implicit instance of a window class: the open one, or a new one, constructed.
template <typename W>
std::shared_ptr<W> ImplicitInstance() {
  if (auto w = std::dynamic_pointer_cast<W>(FindOpenWindow(W::kClassName))) return w;
  auto w = std::make_shared<W>();
  w->Constructor();
  return w;
}

class Application {
 public:
  virtual ~Application() = default;
  virtual const char* ClassName() const { return "Application"; }
  std::shared_ptr<MenuItem> MenuBar;
  MenuHandlers menuHandlers;
  virtual void EnableMenuItems() {}
};

// The application object (none until one is registered).
Application* TheApplication();
void RegisterAppObject(std::shared_ptr<Application> app);

// Menu dispatch for a chosen item: the handlers of the given window first, then the
// application's. Each handler runs inside RunHandler. Returns whether one took the command.
bool DispatchMenu(std::string_view item_name, Window* front);
// Asks the front window and the application to enable their items.
void EnableMenuItems(Window* front);

}  // namespace fw
