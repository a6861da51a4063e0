#include "app/about.h"

#include <string>

#include "framework/host.h"

void About::Layout() {
  Placement = 3;
  Width = 443;
  Height = 243;
  MinWidth = 64;
  MinHeight = 64;
  MaxWidth = 32000;
  MaxHeight = 32000;
  Frame = 0;
  Composite = true;
  HasBackColor = false;
  BackColor = fw::RGB(0xFF, 0xFF, 0xFF);
  Title = "Info su Tarvelo";
  Visible = true;
  FullScreen = false;
  MenuBarVisible = true;
  CloseButton = true;
  Resizeable = false;
  LiveResize = false;
  MaximizeButton = false;
  MinimizeButton = false;
  MacProcID = 0;
}

namespace {
struct Row {
  const char* name;
  bool button;
  int left, top, width, height;
  const char* text;
  const char* font;
  int size;
  int align;
  bool multiline, selectable;
  int tab_index;
};

// In the order they are made.
const Row kControls[] = {
    {"StaticText1", false, 157, 14, 128, 20, "Tarvelo", "times", 18, 1, false, false, 0},
    {"StaticText2", false, 171, 36, 101, 20, "versione beta 0.5", "times", 14, 1, false, false, 1},
    {"StaticText3", false, 117, 68, 209, 58,
     "Converte oggetti 3D dai formati Sculpt3D Imagine e Lightwave al formato Wavefront Obj.",
     "Times New Roman", 16, 0, true, false, 3},
    {"StaticText4", false, 139, 138, 165, 20, "2026 Tarvelo contributors", "times", 14, 1, false,
     false, 4},
    {"StaticText5", false, 117, 201, 33, 20, "Mail", "times", 14, 1, false, true, 5},
    {"PushButton1", true, 21, 169, 409, 20, About::kWebPage, "times", 14, 0, false, false, 9},
    {"PushButton2", true, 157, 201, 137, 20, About::kMailAddress, "times", 14, 0, false, false, 10},
};
}  // namespace

void About::_CreateControls0() {
  for (const Row& row : kControls) {
    if (row.button) {
      AddControl(std::make_unique<fw::PushButton>(), row.name);
    } else {
      AddControl(std::make_unique<fw::StaticText>(), row.name);
    }
    fw::Control& c = *ControlByName(row.name);
    c.TextSize = row.size;
    c.TextUnit = 0;
    c.TextFont = row.font;
    c.Bold = c.Italic = c.Underline = false;
    c.Left = row.left;
    c.Top = row.top;
    c.Width = row.width;
    c.Height = row.height;
    c.TabIndex = row.tab_index;
    if (row.button) {
      auto& button = Find<fw::PushButton>(row.name);
      button.SetCaption(row.text);
      button.TabStop = true;
      button.Default = true;
      button.Cancel = false;
    } else {
      auto& text = Find<fw::StaticText>(row.name);
      text.SetText(row.text);
      text.TextAlign = row.align;
      text.TextColor = fw::RGB(0, 0, 0);
      text.Transparent = false;
      text.Multiline = row.multiline;
      text.Selectable = row.selectable;
    }
  }
  Find<fw::StaticText>("StaticText3").Open = [this] { StaticText3_Open(); };
  Find<fw::PushButton>("PushButton1").Action = [this] { PushButton1_Action(); };
  Find<fw::PushButton>("PushButton2").Action = [this] { PushButton2_Action(); };
}

void About::StaticText3_Open() {}

void About::PushButton1_Action() {
  fw::ShowURL(kWebPage);
}

void About::PushButton2_Action() {
  fw::ShowURL(std::string("mailto:") + kMailAddress);
}

std::shared_ptr<About> About_Instance() {
  return fw::ImplicitInstance<About>();
}
