#include "app/menubar.h"

namespace {
std::shared_ptr<MenuBar1>& shared() {
  static std::shared_ptr<MenuBar1> instance;
  return instance;
}

template <typename T>
std::shared_ptr<T> makeItem(const char* name, const char* text, const char* shortcut) {
  auto item = std::make_shared<T>();
  item->Name = name;
  item->AutoEnable = true;
  item->Text = text;
  item->KeyboardShortcut = shortcut;
  return item;
}
}  // namespace

void MenuBar1::Untitled0() {
  Append(makeItem<fw::MenuItem>("FileMenu", "Archivio", ""));
  Child("FileMenu")->Append(makeItem<fw::QuitMenuItem>("FileQuit", "Esci", "Cmd+Q"));
  Child("FileMenu")->Append(makeItem<fw::AppleMenuItem>("ArchivioAbout", "Info su Tarvelo", ""));
  Child("FileMenu")->Append(makeItem<fw::MenuItem>("Aprifile", "&Apri", "Cmd+O"));
}

std::shared_ptr<MenuBar1> MenuBar1_Instance() {
  if (!shared()) shared() = std::make_shared<MenuBar1>();
  return shared();
}

void MenuBar1_Release() {
  shared().reset();
}
