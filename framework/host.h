// The host is everything that meets the user: event loop, yield, message box, open and save
// dialogs, links, and windows on screen kept in step with their objects. The program talks
// to it only through this interface; the Qt host is the program's, tests use a scripted one.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/files.h"

namespace fw {

class Window;
class Control;
class Application;

class Host {
 public:
  virtual ~Host() = default;

  // Shows the text; returns when the user has read it.
  virtual void MsgBox(const std::string& text) = 0;
  // Open dialog for any file (filter empty); none when cancelled.
  virtual std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string& filter) = 0;
  // Save dialog proposing default_name; none when cancelled.
  virtual std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string& filter,
                                                        const std::string& default_name) = 0;
  // Hands a link to the system's browser or mail program; returns at once.
  virtual void ShowURL(const std::string& url) = 0;
  // Called once per step of every long loop: lets the screen repaint, cheaply, and lets no
  // user input through while a handler runs.
  virtual void Yield() {}

  // Keeping the screen in step. A window is announced once its Layout and controls exist.
  virtual void WindowOpened(Window&) {}
  virtual void WindowVisibilityChanged(Window&) {}
  virtual void WindowClosed(Window&) {}
  // A control property that changes after creation (text, caption, visibility, value...).
  virtual void ControlChanged(Control&) {}
  // Redraw the control now, without waiting for the event loop.
  virtual void ControlRefresh(Control&) {}
  virtual void MenuBarChanged(Application&) {}

  // The event loop: returns when the application quits.
  virtual int Run() { return 0; }
  virtual void Quit() {}
};

// The current host. Until one is set, a silent one: messages are dropped, dialogs cancelled.
Host& host();
// Sets the host (not owned); nullptr restores the silent one.
void SetHost(Host* h);

void MsgBox(const std::string& text);
std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string& filter);
std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string& filter, const std::string& name);
void ShowURL(const std::string& url);
void Yield();

// Runs one event handler. A failure that escapes it ends the handler only: its message is
// shown and the program carries on. Every handler the host delivers goes through here.
void RunHandler(const std::function<void()>& handler);

}  // namespace fw
