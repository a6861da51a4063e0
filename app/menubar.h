// The program's one menu bar: "Archivio" with "Esci", "Info su Tarvelo" and "&Apri".
#pragma once

#include <memory>

#include "framework/ui.h"

class MenuBar1 : public fw::MenuBar {
 public:
  MenuBar1() { Untitled0(); }
  const char* ClassName() const override { return "MenuBar1.MenuBar1"; }

 private:
  void Untitled0();
};

// The shared instance, made on first use.
std::shared_ptr<MenuBar1> MenuBar1_Instance();
// Releases the shared instance (at the end of the program).
void MenuBar1_Release();
