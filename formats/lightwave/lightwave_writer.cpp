// LightWave materials and writer. A LightWave conversion has its OBJ and MTL bodies as lines
// before the output files exist; the writer only flushes them.
#include <string>

#include "core/finestra.h"
#include "framework/host.h"

namespace {
// The "Ns" line of a smoothed surface's glossiness; none for a value outside the table.
const char* glossinessLine(double glossiness) {
  if (glossiness == 0) return "Ns 18.00";
  if (glossiness == 16) return "Ns 10.00";
  if (glossiness == 64) return "Ns 8.00";
  if (glossiness == 256) return "Ns 5.00";
  if (glossiness == 1024) return "Ns 2.00";
  return nullptr;
}
}  // namespace

void Finestra::Legge_Mat_LWave() {
  if (Nsurf_LWave == 0) return;
  stringa_mat.Append("# Numero totale dei materiali " + fw::Str(Nsurf_LWave));
  stringa_mat.Append("");
  for (std::int32_t i = 1; i <= Nsurf_LWave; ++i) {
    const std::string& record = surf_LWave(i);
    const std::string name = fw::Left(record, fw::InStr(record, ",") - 1);
    // The values follow the record's last "," and its "co": the name may hold commas of its own.
    const std::string rest = fw::Mid(record, static_cast<int>(record.rfind(',')) + 4);
    std::string red = fw::Left(rest, 4);
    std::string green = "&h" + fw::Mid(rest, 5, 2);
    std::string blue = "&h" + fw::Mid(rest, 7, 2);
    RGBpercentuale(red, green, blue);
    // A level is the number after its tag; hexadecimal digits are upper case, so no tag
    // can be found inside the colour.
    auto tagged = [&](const char* tag) {
      return fw::Str(fw::Val(fw::Mid(rest, fw::InStr(rest, tag) + 2)));
    };
    std::string luminosity = tagged("lu");
    std::string specular = tagged("sp");
    std::string transparency = tagged("tr");
    const std::string glossiness = tagged("gl");
    percentuale(luminosity);
    percentuale(specular);
    // The file gives transparency; MTL wants what passes through.
    transparency = fw::Str(255.0 - fw::Val(transparency));
    percentuale(transparency);

    stringa_mat.Append("newmtl M_" + name);
    stringa_mat.Append("Kd " + red + " " + green + " " + blue);
    stringa_mat.Append("Ka " + luminosity + " " + luminosity + " " + luminosity);
    stringa_mat.Append("Tf " + transparency + " " + transparency + " " + transparency);
    stringa_mat.Append("Ni 1.00");
    if (fw::Left(flag_LWave(i), 1) == "S") {
      stringa_mat.Append("Ks " + specular + " " + specular + " " + specular);
      if (const char* line = glossinessLine(fw::Val(glossiness))) stringa_mat.Append(line);
    }
    fw::Yield();
  }
}

void Finestra::Scrive_File_daLightwave() {
  writeLineLists();
}

void Finestra::resetLightwaveState() {
  Nsurf_LWave = 0;
  for (std::int32_t i = 0; i <= surf_LWave.Ubound(); ++i) {
    surf_LWave(i).clear();
    flag_LWave(i).clear();
  }
  surfaceNames.Redim(0);
  surfaceMaterials.clear();
}
