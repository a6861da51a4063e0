#include "core/finestra.h"

void Finestra::Flag_Assi_Action() {
  // A conversion reads the setting as it goes: it does not change under one.
  if (converting) return;
  premi_assi = premi_assi + 1;
  if (premi_assi == 2) {
    Find<fw::StaticText>("Stato_Assi").SetText("Assi  X Z Y");
    Find<fw::BevelButton>("Flag_Assi").SetCaption("Axis Switch  Z Up");
  }
  if (premi_assi == 3) {
    Find<fw::StaticText>("Stato_Assi").SetText("Assi  X Y Z");
    Find<fw::BevelButton>("Flag_Assi").SetCaption("Axis Switch  Y Up");
    premi_assi = 1;
  }
}
