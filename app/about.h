// The About window: the program's name, version and purpose, and two links. Not modal; one
// at a time (its accessor returns the open one).
#pragma once

#include <memory>

#include "framework/ui.h"

class About : public fw::Window {
 public:
  static constexpr const char* kClassName = "About.About";
  const char* ClassName() const override { return kClassName; }

  // The links behind the two buttons; the mail button's caption is kMailAddress.
  static constexpr const char* kWebPage = "https://example.org/tarvelo";
  static constexpr const char* kMailAddress = "tarvelo@example.org";

  void Layout() override;
  void CreateControls() override { _CreateControls0(); }
  void StaticText3_Open();
  void PushButton1_Action();
  void PushButton2_Action();

 private:
  void _CreateControls0();
};

// The open About window, or a new one (visible at once).
std::shared_ptr<About> About_Instance();
