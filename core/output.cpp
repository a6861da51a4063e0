#include <algorithm>
#include <cctype>

#include "core/finestra.h"
#include "framework/host.h"

namespace {
// The OBJ name with its first ".obj", in any letter case, as ".mtl"; a name without one gets
// ".mtl" added, so the two files never share a name.
std::string mtlNameFor(const std::string& obj_name) {
  std::string lower = obj_name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  auto pos = lower.find(".obj");
  if (pos == std::string::npos) return obj_name + ".mtl";
  return obj_name.substr(0, pos) + ".mtl" + obj_name.substr(pos + 4);
}
}  // namespace

void Finestra::scrive_files() {
  if (Nvertici_Tot == 0) {
    fw::MsgBox("l'oggetto non contiene vertici");
  } else if (Npoligoni_Tot == 0) {
    fw::MsgBox("l'oggetto non contiene poligoni");
    return;
  }

  File_oby = fw::GetSaveFolderItem("", NomeFile + ".obj");
  if (!File_oby) return;
  NomeFile = File_oby->Name();

  streamOut_O = fw::TextOutputStream::Create(*File_oby);
  streamOut_O->Delimiter = fw::Chr(10);
  auto mtl_item = File_oby->Parent()->Child(mtlNameFor(File_oby->Name()));
  NomeFileMtl = mtl_item->Name();
  streamOut_M = fw::TextOutputStream::Create(*mtl_item);
  streamOut_M->Delimiter = fw::Chr(10);

  scriveHeader();
  if (Formato == "Sculpt3D" || Formato == "Envisage") scrive_daSculpt();
  if (Formato == "Imagine") Scrive_FIle_daImagine();
  if (Formato == "Lightwave") Scrive_File_daLightwave();

  // MTL first, then OBJ; a failure leaves neither.
  fw::TextOutputStream::CommitPair(*streamOut_M, *streamOut_O);
}

void Finestra::scriveHeader() {
  const std::string line1 = "# Da Tarvelo  versione beta 0.4";
  const std::string line2 = "# Nome del file originale:  " + lineSafe(NomeFileOriginale);
  const std::string line3 = "# Formato del file originale:  " + Formato;
  auto& obj = *streamOut_O;
  obj.WriteLine(line1);
  obj.WriteLine(line2);
  obj.WriteLine(line3);
  obj.WriteLine("");
  obj.WriteLine("mtllib " + lineSafe(NomeFileMtl));
  obj.WriteLine("");
  obj.WriteLine("# Numero totale di oggetti " + fw::Str(Noggetti_Tot));
  obj.WriteLine("# Numero totale dei vertici " + fw::Str(Nvertici_Tot));
  obj.WriteLine("# Numero totale dei poligoni " + fw::Str(Npoligoni_Tot));
  obj.WriteLine("");
  auto& mtl = *streamOut_M;
  mtl.WriteLine(line1);
  mtl.WriteLine(line2);
  mtl.WriteLine(line3);
  mtl.WriteLine("");
}

void Finestra::writeLineLists() {
  for (std::int32_t i = 1; i <= Stringa_poligoni.Ubound(); ++i) {
    streamOut_O->WriteLine(Stringa_poligoni(i));
    fw::Yield();
  }
  for (std::int32_t i = 1; i <= stringa_mat.Ubound(); ++i) {
    streamOut_M->WriteLine(stringa_mat(i));
    fw::Yield();
  }
}
