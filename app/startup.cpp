#include "app/startup.h"

#include "app/app.h"
#include "app/menubar.h"
#include "framework/host.h"
#include "framework/ui.h"

int _Main() {
  bool started = false;
  fw::RunHandler([&] {
    _Startup();
    started = true;
  });
  // Without its windows and menus the program could not even be quit.
  if (!started) return 1;
  int code = 0;
  fw::RunHandler([&] { code = fw::host().Run(); });
  return code;
}

void _Startup() {
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  _MakeDefaultView();
}

void _InitFileTypes() {
  FileTypes1::_Initialize();
}

void _NewAppInstance() {
  auto app = std::make_shared<App>();
  app->MenuBar = MenuBar1_Instance();
  fw::RegisterAppObject(app);
  fw::host().MenuBarChanged(*app);
}

void _ApplicationAddMenuHandlers() {
  App& app = App_Instance();
  app.menuHandlers.Add("ArchivioAbout", [&app] { return app._ArchivioAbout_Action(); });
  app.menuHandlers.Add("Aprifile", [&app] { return app._Aprifile_Action(); });
}

void _MakeDefaultView() {
  Finestra_Instance();
}

void releaseProgramObjects() {
  while (!fw::OpenWindows().empty()) fw::OpenWindows().back()->Close();
  MenuBar1_Release();
  FileTypes1::pAny.reset();
  fw::RegisterAppObject(nullptr);
}
