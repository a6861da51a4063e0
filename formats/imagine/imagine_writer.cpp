// Imagine objects: each object becomes lines while the file is read, since the output files
// exist only once the whole file has been read; the lists are flushed after the headers.
#include <cstdint>
#include <string>

#include "core/finestra.h"
#include "framework/exceptions.h"
#include "framework/host.h"

namespace {
struct ColourText {
  std::string red, green, blue;
};

// The three components of the key's part that begins at character p, as texts Val reads as
// hexadecimal: the part's own "&h" with the red digits, then "&h" with each other pair.
ColourText partOf(const std::string& key, int p) {
  return {fw::Mid(key, p, 4), "&h" + fw::Mid(key, p + 4, 2), "&h" + fw::Mid(key, p + 6, 2)};
}

std::string transmitted(const std::string& transparency) {
  return fw::Str(255.0 - fw::Val(transparency));
}
}  // namespace

void Finestra::resetImagineState() {
  NomeObyImagine.clear();
  Npnts_Imagine = 0;
  Nface_Imagine = 0;
  contiene_vert = 0;
  contiene_pol = 0;
  Flag_SPC1_Imagine = 0;
  flag_phong_Imagine = 0;
  SpecularOggetto_Imagine = fw::Color();
  ColorePoligoni_Imagine = fw::Color();
  ReflectPoligoni_Imagine = fw::Color();
  TrasparenzaPoligoni_Imagine = fw::Color();
  imagineEdges = 0;
  imagineKeyedFaces = 0;
}

void Finestra::scrive_dati_DaImagine() {
  // Faces no colour list covered get the key of an uncovered face, not an older one.
  beginImagineKeys(Nface_Imagine);
  for (std::int32_t i = 1; i <= Nface_Imagine; ++i) {
    for (std::int32_t c = 0; c <= 2; ++c) {
      if (poly(i, c) >= Npnts_Imagine) {
        throw fw::IOException("Il file è danneggiato: la faccia " + fw::Str(i) +
                                  " di un oggetto usa il punto " + fw::Str(poly(i, c)) +
                                  ", ma l'oggetto ha " + fw::Str(Npnts_Imagine) + " punti.",
                              fw::IOException::kReadFailed);
      }
    }
  }

  numberMaterials(Nface_Imagine, [&](const std::string& name, const std::string& key) {
    stringa_mat.Append("newmtl " + name);
    stringa_mat.Append("illum 2");
    ColourText diffuse = partOf(key, 1);
    RGBpercentuale(diffuse.red, diffuse.green, diffuse.blue);
    stringa_mat.Append("Kd " + diffuse.red + " " + diffuse.green + " " + diffuse.blue);
    stringa_mat.Append("Ka 0.00 0.00 0.00");
    if (flag_phong_Imagine == 1) {
      ColourText specular = partOf(key, 9);
      RGBpercentuale(specular.red, specular.green, specular.blue);
      stringa_mat.Append("Ks " + specular.red + " " + specular.green + " " + specular.blue);
      stringa_mat.Append("Ns 8.00");
    }
    // Transmission is what the transparency lets through: 255 minus it.
    ColourText transparency = partOf(key, 17);
    std::string red = transmitted(transparency.red);
    std::string green = transmitted(transparency.green);
    std::string blue = transmitted(transparency.blue);
    RGBpercentuale(red, green, blue);
    stringa_mat.Append("Tf " + red + " " + green + " " + blue);
  });

  // Each object starts its faces with a "usemtl" line, even in the material the last one
  // ended with.
  std::string previous = " ";
  for (std::int32_t i = 1; i <= Nface_Imagine; ++i) {
    const std::string& name = Nmat2(poly(i, 3));
    if (name != previous) {
      Stringa_poligoni.Append("usemtl " + name);
      previous = name;
    }
    const std::int64_t offset = std::int64_t{Nvertici_Tot} + 1;
    Stringa_poligoni.Append("f " + fw::Str(offset + poly(i, 0)) + " " +
                            fw::Str(offset + poly(i, 1)) + " " + fw::Str(offset + poly(i, 2)));
    fw::Yield();
  }

  Nvertici_Tot = Nvertici_Tot + Npnts_Imagine;
}

void Finestra::Scrive_FIle_daImagine() {
  writeLineLists();
}
