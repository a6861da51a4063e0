#include "app/finestra_test.h"

void Finestra_Test::Layout() {
  Placement = 0;
  Width = 656;
  Height = 414;
  MinWidth = 64;
  MinHeight = 64;
  MaxWidth = 32000;
  MaxHeight = 32000;
  Frame = 0;
  Composite = false;
  HasBackColor = false;
  BackColor = fw::RGB(0xFF, 0xFF, 0xFF);
  Title = "Fiestra di test";
  Visible = false;
  FullScreen = false;
  MenuBarVisible = true;
  CloseButton = true;
  Resizeable = true;
  LiveResize = true;
  MaximizeButton = false;
  MinimizeButton = true;
  MacProcID = 0;
}

void Finestra_Test::_CreateControls0() {
  struct Row {
    const char* name;
    int left;
    bool anchored_all;
  };
  for (const Row& row : {Row{"Lista_Obj", 0, true}, Row{"Lista_Mat", 330, false}}) {
    AddControl(std::make_unique<fw::Listbox>(), row.name);
    auto& list = Find<fw::Listbox>(row.name);
    list.Left = row.left;
    list.Top = 0;
    list.Width = 326;
    list.Height = 414;
    list.LockRight = list.LockBottom = row.anchored_all;
    list.ColumnCount = 1;
    list.HasHeading = false;
    list.HasBorder = true;
    list.ScrollBarVertical = true;
    list.ScrollBarHorizontal = false;
    list.TextFont = "System";
    list.TextSize = 12;
  }
}

std::shared_ptr<Finestra_Test> Finestra_Test_Instance() {
  return fw::ImplicitInstance<Finestra_Test>();
}
