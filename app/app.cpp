#include "app/app.h"

#include "app/about.h"
#include "core/finestra.h"
#include "framework/exceptions.h"

namespace FileTypes1 {
std::shared_ptr<fw::FileType> pAny;

void _Initialize() {
  pAny = std::make_shared<fw::FileType>();
  pAny->Name = "Any";
  pAny->Extensions = "";
  pAny->MacType = "";
  pAny->MacCreator = "";
}
}  // namespace FileTypes1

App& App_Instance() {
  fw::Application* app = fw::TheApplication();
  if (!app) throw fw::NilObjectException("Oggetto applicazione mancante");
  auto* typed = dynamic_cast<App*>(app);
  if (!typed) throw fw::IllegalCastException("Oggetto applicazione di tipo inatteso");
  return *typed;
}

std::shared_ptr<fw::MenuItem> Aprifile() {
  return fw::FindMenuItem<fw::MenuItem>(App_Instance().MenuBar, "Aprifile");
}

std::shared_ptr<Finestra> Finestra_Instance() {
  return fw::ImplicitInstance<Finestra>();
}

void App::Event_EnableMenuItems() {
  Aprifile()->Enabled = true;
}

bool App::_ArchivioAbout_Action() {
  About_Instance()->Show();
  return true;
}

bool App::_Aprifile_Action() {
  auto w = Finestra_Instance();
  w->Drag_Flag = false;
  w->Legge_File();
  return true;
}
