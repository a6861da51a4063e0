// Start-up and the application object, on the scripted host.
#include <gtest/gtest.h>

#include "app/about.h"
#include "app/app.h"
#include "app/menubar.h"
#include "app/startup.h"
#include "core/finestra.h"
#include "tests/scripted_host.h"

namespace {
// Notes what start-up has made each time the host hears from it.
class WatchingHost : public ScriptedHost {
 public:
  void MenuBarChanged(fw::Application& app) override {
    steps.push_back(std::string("menu bar of ") + app.ClassName() +
                    (FileTypes1::pAny ? ", file type made" : ""));
  }
  void WindowOpened(fw::Window& w) override {
    ScriptedHost::WindowOpened(w);
    auto* app = fw::TheApplication();
    const bool handlers =
        app && app->menuHandlers.Has("ArchivioAbout") && app->menuHandlers.Has("Aprifile");
    steps.push_back("window " + w.Title + (handlers ? ", handlers in place" : ""));
  }
  int Run() override {
    steps.push_back("event loop");
    return 0;
  }
  std::vector<std::string> steps;
};

struct Program : ::testing::Test {
  WatchingHost host;
  void TearDown() override { releaseProgramObjects(); }
};
}  // namespace

TEST_F(Program, StartUpMakesItsObjectsInOrder) {
  EXPECT_EQ(_Main(), 0);
  EXPECT_EQ(host.steps, (std::vector<std::string>{
                            "menu bar of App, file type made",
                            "window Tarvelo beta 0.5, handlers in place",
                            "event loop",
                        }));
  ASSERT_NE(FileTypes1::pAny, nullptr);
  EXPECT_EQ(FileTypes1::pAny->Name, "Any");

  // After the event loop, everything is released.
  About_Instance();
  releaseProgramObjects();
  EXPECT_TRUE(fw::OpenWindows().empty());
  EXPECT_EQ(fw::TheApplication(), nullptr);
  EXPECT_EQ(FileTypes1::pAny, nullptr);
}

TEST_F(Program, OpenCommandAsksForTheFileWhicheverHandlerAnswers) {
  _Startup();
  auto main_window = Finestra_Instance();
  main_window->Drag_Flag = true;  // as a drop leaves it
  main_window->NomeFile = "/non/esiste.lwo";
  EXPECT_TRUE(fw::DispatchMenu("Aprifile", main_window.get()));
  EXPECT_EQ(host.open_dialogs, 1);
  main_window->Drag_Flag = true;
  EXPECT_TRUE(fw::DispatchMenu("Aprifile", nullptr));  // the application's handler
  EXPECT_EQ(host.open_dialogs, 2);
  EXPECT_FALSE(main_window->Drag_Flag);
}

// Each handler on its own: the menu bar's AutoEnable would hide either one missing.
TEST_F(Program, EachEnablingHandlerEnablesApri) {
  _Startup();
  auto item = Aprifile();
  item->Enabled = false;
  fw::TheApplication()->EnableMenuItems();
  EXPECT_TRUE(item->Enabled) << "application";
  item->Enabled = false;
  Finestra_Instance()->EnableMenuItems();
  EXPECT_TRUE(item->Enabled) << "main window";
}
