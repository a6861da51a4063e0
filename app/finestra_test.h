// A hidden window with two lists, made on first use and never shown or filled.
#pragma once

#include <memory>

#include "framework/ui.h"

class Finestra_Test : public fw::Window {
 public:
  static constexpr const char* kClassName = "Finestra_Test.Finestra_Test";
  const char* ClassName() const override { return kClassName; }
  void Layout() override;
  void CreateControls() override { _CreateControls0(); }

 private:
  void _CreateControls0();
};

// The open test window, or a new one (hidden).
std::shared_ptr<Finestra_Test> Finestra_Test_Instance();
