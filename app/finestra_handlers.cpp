#include "core/finestra.h"
#include "framework/host.h"

namespace {
void showDragPicture(Finestra& w, bool visible) {
  for (const char* name : {"StaticText3", "StaticText4", "StaticText5"}) {
    w.Find<fw::StaticText>(name).SetVisible(visible);
  }
}
}  // namespace

void Finestra::DragMe_Open() {
  Find<fw::Rectangle>("DragMe").AcceptFileDrop("Any");
}

bool Finestra::DragMe_DragOver(std::int32_t, std::int32_t, fw::DragItem&, std::int32_t) {
  showDragPicture(*this, true);
  return false;
}

void Finestra::DragMe_DragExit(fw::DragItem&, std::int32_t) {
  showDragPicture(*this, false);
}

void Finestra::DragMe_DropObject(fw::DragItem& item, std::int32_t) {
  showDragPicture(*this, false);
  if (converting) return;  // one conversion at a time
  Drag_Flag = true;
  auto file = item.FolderItemAvailable() ? item.FolderItem() : nullptr;
  if (file) NomeFile = file->AbsolutePath();
  if (file && !file->Directory() && !file->Alias()) {
    Legge_File();
    return;
  }
  if (file && file->Directory()) fw::MsgBox("non puoi trasportare una directory ");
  if (file && file->Alias()) fw::MsgBox("non puoi aprire una directory");
}

bool Finestra::_Aprifile_Action() {
  Drag_Flag = false;
  Legge_File();
  return true;
}

std::shared_ptr<fw::MenuItem> Finestra::FileMenu() {
  return fw::FindMenuItem<fw::MenuItem>(MenuBar, "FileMenu");
}
std::shared_ptr<fw::MenuItem> Finestra::Aprifile() {
  return fw::FindMenuItem<fw::MenuItem>(MenuBar, "Aprifile");
}
std::shared_ptr<fw::AppleMenuItem> Finestra::ArchivioAbout() {
  return fw::FindMenuItem<fw::AppleMenuItem>(MenuBar, "ArchivioAbout");
}
std::shared_ptr<fw::QuitMenuItem> Finestra::FileQuit() {
  return fw::FindMenuItem<fw::QuitMenuItem>(MenuBar, "FileQuit");
}

void Finestra::AddMenuHandlers() {
  menuHandlers.Add("Aprifile", [this] { return _Aprifile_Action(); });
}

void Finestra::Event_EnableMenuItems() {
  Aprifile()->Enabled = true;
}
