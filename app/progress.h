// The small window that shows how far the reading of a source file has come. Each read makes
// a new one, drives its bar and closes it.
#pragma once

#include "framework/ui.h"

class Progress : public fw::Window {
 public:
  static constexpr const char* kClassName = "Progress.Progress";
  const char* ClassName() const override { return kClassName; }

  fw::ProgressBar& ProgressBar1() { return Find<fw::ProgressBar>("ProgressBar1"); }

  void Layout() override;
  void CreateControls() override { _CreateControls0(); }

 private:
  void _CreateControls0();
};
