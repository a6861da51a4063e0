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

void Finestra::numberMaterials(
    std::int32_t faces,
    const std::function<void(const std::string& name, const std::string& key)>& entry) {
  for (std::int32_t i = 1; i <= faces; ++i) {
    Materiale = NomeMat(i);
    poly(i, 3) = FNmat();
    fw::Yield();
  }
  for (std::int32_t k = MinCol; k <= MaxCol - 1; ++k) {
    Nmat2(k) = "Material" + fw::Str(k);
    entry(Nmat2(k), Nmat(k));
    fw::Yield();
  }
  MinCol = MaxCol;
}
