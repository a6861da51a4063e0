// The application object, the program's one file type, and the accessors through which the
// rest of the program reaches its shared objects.
#pragma once

#include <memory>

#include "framework/ui.h"

class Finestra;

class App : public fw::Application {
 public:
  static constexpr const char* kClassName = "App";
  const char* ClassName() const override { return kClassName; }

  void EnableMenuItems() override { Event_EnableMenuItems(); }
  // "&Apri" stays enabled.
  void Event_EnableMenuItems();
  // Shows the About window, the open one or a new one. Always true.
  bool _ArchivioAbout_Action();
  // The open command: one conversion in the main window, through the open dialog. Always true.
  bool _Aprifile_Action();
};

namespace FileTypes1 {
// "Any", with no extension, type or creator: the file type the drop area accepts.
extern std::shared_ptr<fw::FileType> pAny;
void _Initialize();
}  // namespace FileTypes1

// The application object: NilObjectException when there is none, IllegalCastException when
// it is not an App.
App& App_Instance();
// The "Aprifile" item of the application's menu bar.
std::shared_ptr<fw::MenuItem> Aprifile();
// The main window: the open one, or a new one, constructed (and so on screen).
std::shared_ptr<Finestra> Finestra_Instance();
