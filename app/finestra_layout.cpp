#include "app/menubar.h"
#include "core/finestra.h"

void Finestra::Layout() {
  MenuBar = MenuBar1_Instance();
  Placement = 0;
  Width = 458;
  Height = 452;
  MinWidth = 64;
  MinHeight = 64;
  MaxWidth = 32000;
  MaxHeight = 32000;
  Frame = 6;
  Composite = false;
  HasBackColor = true;
  BackColor = fw::RGB(0xAF, 0xFF, 0xCC);
  Title = "Tarvelo beta 0.5";
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

void Finestra::CreateControls() {
  _CreateControls0();
}

namespace {
enum class Kind { kGroupBox, kStaticText, kBevelButton, kRoundRectangle, kRectangle };

struct ControlRow {
  const char* name;
  Kind kind;
  int left, top, width, height;
  const char* inside;  // "" for the window
  const char* text;
  const char* font;
  int size;
  bool bold, italic, transparent;
  int align;
  fw::Color color;
  bool visible;
  int tab_index;
};

constexpr fw::Color kBlack{0, 0, 0};
constexpr fw::Color kWhite{0xFF, 0xFF, 0xFF};

// In the order they are made: later controls draw above earlier ones.
const ControlRow kControls[] = {
    {"GroupBox1", Kind::kGroupBox, 20, 276, 418, 157, "", "Risultato conversione", "Verdana", 18,
     false, false, false, 0, kBlack, true, 15},
    {"Out_Numero_Poligoni", Kind::kStaticText, 198, 404, 233, 20, "GroupBox1", "", "Verdana", 16,
     false, false, false, 0, kBlack, true, 0},
    {"Out_Numero_Vertici", Kind::kStaticText, 198, 380, 233, 20, "GroupBox1", "", "Verdana", 16,
     false, false, false, 0, kBlack, true, 1},
    {"Out_Numero_Oggetti", Kind::kStaticText, 198, 356, 233, 20, "GroupBox1", "", "Verdana", 16,
     false, false, false, 0, kBlack, true, 2},
    {"Out_Nome_File", Kind::kStaticText, 198, 333, 233, 20, "GroupBox1", "", "Verdana", 16, false,
     false, false, 0, kBlack, true, 3},
    {"Out_Formato", Kind::kStaticText, 198, 308, 233, 20, "GroupBox1", "", "Verdana", 16, false,
     false, false, 0, kBlack, true, 4},
    {"Flag_Assi", Kind::kBevelButton, 20, 99, 159, 27, "", "Axis Switch  Y Up", "Verdana", 16,
     false, true, false, 0, kBlack, true, 3},
    {"RoundRectangle1", Kind::kRoundRectangle, 130, 14, 199, 42, "", "", "", 0, false, false, false,
     0, kBlack, true, 0},
    {"StaticText8", Kind::kStaticText, 151, 25, 156, 20, "RoundRectangle1", "Tarvelo", "Verdana",
     18, false, false, true, 1, kBlack, true, 0},
    {"Stato_Assi", Kind::kStaticText, 184, 106, 100, 20, "", "Assi  X Y Z", "Verdana", 16, false,
     false, false, 1, kBlack, true, 4},
    {"Static_Num_Pol", Kind::kStaticText, 42, 404, 128, 20, "", "Num. Poligoni", "Verdana", 16,
     false, false, false, 0, kBlack, true, 12},
    {"Static_Formato", Kind::kStaticText, 42, 308, 145, 20, "", "Formato originale", "Verdana", 16,
     false, false, false, 0, kBlack, true, 16},
    {"Static_Nome_File", Kind::kStaticText, 42, 333, 128, 20, "", "Nome File", "Verdana", 16, false,
     false, false, 0, kBlack, true, 7},
    {"Static_Num_Oggetti", Kind::kStaticText, 42, 356, 128, 20, "", "Num. Oggetti", "Verdana", 16,
     false, false, false, 0, kBlack, true, 14},
    {"Static_N_Vertici", Kind::kStaticText, 42, 380, 128, 20, "", "Num. Vertici", "Verdana", 16,
     false, false, false, 0, kBlack, true, 10},
    {"DragMe", Kind::kRectangle, 307, 80, 104, 120, "", "", "", 0, false, false, false, 0, kBlack,
     true, 0},
    {"StaticText3", Kind::kStaticText, 325, 155, 64, 27, "DragMe", "OBY", "Courier New", 28, true,
     false, true, 1, kWhite, false, 2},
    {"StaticText4", Kind::kStaticText, 319, 94, 77, 53, "DragMe", "3D", "Courier new", 64, true,
     false, true, 1, kWhite, false, 3},
    {"StaticText5", Kind::kStaticText, 321, 92, 77, 53, "DragMe", "3D", "Courier new", 64, true,
     false, true, 1, kBlack, false, 4},
    {"StaticText1", Kind::kStaticText, 276, 216, 168, 20, "", "Trascina qui il file", "Verdana", 18,
     false, false, false, 1, kBlack, true, 17},
};

std::unique_ptr<fw::Control> makeControl(Kind kind) {
  switch (kind) {
    case Kind::kGroupBox:
      return std::make_unique<fw::GroupBox>();
    case Kind::kStaticText:
      return std::make_unique<fw::StaticText>();
    case Kind::kBevelButton:
      return std::make_unique<fw::BevelButton>();
    case Kind::kRoundRectangle:
      return std::make_unique<fw::RoundRectangle>();
    case Kind::kRectangle:
      return std::make_unique<fw::Rectangle>();
  }
  return nullptr;
}
}  // namespace

void Finestra::_CreateControls0() {
  for (const ControlRow& row : kControls) {
    AddControl(makeControl(row.kind), row.name);
    fw::Control& c = *ControlByName(row.name);
    const bool has_text = row.kind == Kind::kGroupBox || row.kind == Kind::kStaticText ||
                          row.kind == Kind::kBevelButton;
    if (has_text) {
      c.TextSize = row.size;
      c.TextUnit = 0;
      c.TextFont = row.font;
      c.Bold = row.bold;
      c.Italic = row.italic;
      c.Underline = false;
    }
    c.Left = row.left;
    c.Top = row.top;
    c.Width = row.width;
    c.Height = row.height;
    c.InitialParent = row.inside;
    c.TabIndex = row.tab_index;
    c.SetVisible(row.visible);

    if (auto* text = dynamic_cast<fw::StaticText*>(&c)) {
      text->SetText(row.text);
      text->TextAlign = row.align;
      text->TextColor = row.color;
      text->Transparent = row.transparent;
    } else if (auto* group = dynamic_cast<fw::GroupBox*>(&c)) {
      group->Caption = row.text;
    } else if (auto* bevel = dynamic_cast<fw::BevelButton*>(&c)) {
      bevel->SetCaption(row.text);
      bevel->TextColor = row.color;
      bevel->TabStop = true;
      bevel->CaptionAlign = 3;
      bevel->CaptionPlacement = 1;
      bevel->CaptionDelta = 0;
      bevel->IconAlign = 0;
      bevel->IconDX = 0;
      bevel->IconDY = 0;
      bevel->Bevel = 3;
      bevel->HasMenu = 0;
      bevel->HasBackColor = false;
      bevel->BackColor = kBlack;
      bevel->Value = false;
      bevel->MenuValue = 0;
      bevel->ButtonType = 0;
      bevel->AcceptFocus = false;
      bevel->Action = [this] { Flag_Assi_Action(); };
    } else if (auto* round = dynamic_cast<fw::RoundRectangle*>(&c)) {
      round->FillColor = fw::RGB(0xCD, 0xFF, 0x9C);
      round->BorderWidth = 1;
      round->BorderColor = kBlack;
      round->OvalWidth = 16;
      round->OvalHeight = 16;
    } else if (auto* drop = dynamic_cast<fw::Rectangle*>(&c)) {
      drop->FillColor = fw::RGB(0x52, 0x6F, 0xFF);
      drop->BorderWidth = 4;
      drop->TopLeftColor = fw::RGB(0x52, 0x6F, 0xFF);
      drop->BottomRightColor = fw::RGB(0x52, 0x6F, 0xFF);
      drop->HelpTag = "Area dove trascinare gli oggetti";
      drop->Open = [this] { DragMe_Open(); };
      drop->DropObject = [this](fw::DragItem& item, int action) {
        DragMe_DropObject(item, action);
      };
      drop->DragOver = [this](int x, int y, fw::DragItem& item, int action) {
        return DragMe_DragOver(x, y, item, action);
      };
      drop->DragExit = [this](fw::DragItem& item, int action) { DragMe_DragExit(item, action); };
    }
  }
  Find<fw::StaticText>("Static_Formato").HelpTag = "Formato originale in input";
  auto& hint = Find<fw::StaticText>("StaticText1");
  hint.LockLeft = false;
  hint.LockTop = false;
}
