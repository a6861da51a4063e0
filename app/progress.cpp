#include "app/progress.h"

void Progress::Layout() {
  Placement = 1;
  Width = 295;
  Height = 88;
  MinWidth = 64;
  MinHeight = 64;
  MaxWidth = 32000;
  MaxHeight = 32000;
  Frame = 1;
  Composite = false;
  HasBackColor = false;
  BackColor = fw::RGB(0xFF, 0xFF, 0xFF);
  Title = "Progress";
  Visible = true;
  FullScreen = false;
  MenuBarVisible = true;
  CloseButton = false;
  Resizeable = false;
  LiveResize = false;
  MaximizeButton = false;
  MinimizeButton = true;
  MacProcID = 0;
}

void Progress::_CreateControls0() {
  AddControl(std::make_unique<fw::ProgressBar>(), "ProgressBar1");
  auto& bar = Find<fw::ProgressBar>("ProgressBar1");
  bar.Left = 13;
  bar.Top = 34;
  bar.Width = 269;
  bar.Height = 21;
  bar.LockLeft = bar.LockTop = bar.LockRight = bar.LockBottom = false;
  bar.TabPanelIndex = 0;
  bar.SetVisible(true);
  bar.HelpTag = "";
  bar.AutoDeactivate = true;
  bar.SetEnabled(true);
  bar.SetValue(0);
  bar.SetMaximum(100);
  bar.InitialParent = "";
}
