#include "core/finestra.h"
#include "framework/host.h"

std::int32_t Finestra::FNmat() {
  colore = 0;
  while (colore < MaxCol && Nmat(colore) != Materiale) {
    ++colore;
    fw::Yield();
  }
  if (colore == MaxCol) {
    checkLimit(MaxCol, Nmat.Ubound(), "materiali diversi");
    Nmat(MaxCol) = Materiale;
    MaxCol = MaxCol + 1;
  }
  return colore;
}
