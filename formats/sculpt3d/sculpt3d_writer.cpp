#include "app/finestra_test.h"
#include "core/finestra.h"
#include "framework/host.h"

void Finestra::scrive_daSculpt() {
  Scrive_Vertici_daSculpt();
  Scrive_Triangoli_DaSculpt();
}

void Finestra::Scrive_Vertici_daSculpt() {
  Scale = 65536;
  Finestra_Test_Instance()->Find<fw::Listbox>("Lista_Obj").DeleteAllRows();
  streamOut_O->WriteLine("g " + lineSafe(NomeFile));
  const bool swapped = axesSwapped();
  for (std::int32_t i = 1; i <= Nvertici_Tot; ++i) {
    // 16.16 fixed point: the division by a power of two is exact.
    const double x = vertex(i, 0) / static_cast<double>(Scale);
    const double y = vertex(i, 1) / static_cast<double>(Scale);
    const double z = vertex(i, 2) / static_cast<double>(Scale);
    if (swapped) {
      streamOut_O->WriteLine("v " + fw::Str(x) + " " + fw::Str(z) + " " + fw::Str(y * -1));
    } else {
      streamOut_O->WriteLine("v " + fw::Str(x) + " " + fw::Str(y) + " " + fw::Str(z));
    }
    fw::Yield();
  }
}

namespace {
// Lighting lines of each surface kind, after "Ni 1.00".
const std::vector<std::vector<const char*>> kSurfaceKinds = {
    {"Ka 0.000 0.000 0.000"},
    {"Ka 0.000 0.000 0.000", "Ks 0.500 0.500 0.500", "Ns 8.00"},
    {"Ka 0.100 0.100 0.100", "Ks 0.600 0.600 0.600", "Ns 7.00"},
    {"Ka 0.900 0.900 0.900"},
    {"Ka 0.000 0.000 0.000", "Tf 0.300 0.300 0.300"},
    {"Ka 0.200 0.200 0.200", "Ks 0.800 0.800 0.800", "Ns 4.00"},
    {"Ka 0.100 0.100 0.100", "Tf 0.300 0.300 0.300", "Ks 0.800 0.800 0.800", "Ns 6.00"},
};
}  // namespace

void Finestra::Scrive_Triangoli_DaSculpt() {
  numberMaterials(Npoligoni_Tot, [&](const std::string& name, const std::string& key) {
    // The key is "R" red "G" green "B" blue "M" flags: each number starts right after the
    // letter that follows the one before.
    std::string red = fw::Str(fw::ToInt32(fw::Val(fw::Mid(key, 2))));
    std::string green = fw::Str(fw::ToInt32(fw::Val(fw::Mid(key, fw::Len(red) + 3))));
    std::string blue =
        fw::Str(fw::ToInt32(fw::Val(fw::Mid(key, fw::Len(red) + fw::Len(green) + 4))));
    RGBpercentuale(red, green, blue);
    std::int32_t m = fw::ToInt32(fw::Val(fw::Mid(key, fw::InStr(key, "M") + 1)));
    if (m > 127) m = m - 128;  // bit 7 of the flags says nothing of the surface
    if (m > 6) m = 0;

    auto& mtl = *streamOut_M;
    mtl.WriteLine("newmtl " + name);
    mtl.WriteLine("illum 2");
    mtl.WriteLine("Kd " + red + " " + green + " " + blue);
    mtl.WriteLine("Ni 1.00");
    for (const char* line : kSurfaceKinds[m]) mtl.WriteLine(line);
  });

  std::string previous;
  for (std::int32_t i = 1; i <= Npoligoni_Tot; ++i) {
    const std::string& name = Nmat2(poly(i, 3));
    if (name != previous) {
      streamOut_O->WriteLine("usemtl " + name);
      previous = name;
    }
    streamOut_O->WriteLine("f " + fw::Str(std::int64_t{poly(i, 0)} + 1) + " " +
                           fw::Str(std::int64_t{poly(i, 1)} + 1) + " " +
                           fw::Str(std::int64_t{poly(i, 2)} + 1));
    fw::Yield();
  }
  streamOut_O->WriteLine("");
}
