#include <exception>

#include "app/progress.h"
#include "core/finestra.h"
#include "framework/exceptions.h"
#include "framework/host.h"

namespace {
// Whatever way a conversion ends, no second one has started meanwhile; when it ends by a
// failure, the input is closed, the progress window goes and no output file is left.
class ConversionScope {
 public:
  explicit ConversionScope(Finestra& w) : w_(w), failures_(std::uncaught_exceptions()) {
    w_.converting = true;
  }
  ~ConversionScope() {
    w_.converting = false;
    if (std::uncaught_exceptions() == failures_) return;
    if (w_.stream) w_.stream->Close();
    if (w_.Fin_Prog) w_.Fin_Prog->Close();
    if (w_.streamOut_M) w_.streamOut_M->Discard();
    if (w_.streamOut_O) w_.streamOut_O->Discard();
  }

 private:
  Finestra& w_;
  int failures_;
};
}  // namespace

void Finestra::resetConversion() {
  MinCol = 1;
  MaxCol = 1;
  Formato.clear();
  NomeFileOriginale.clear();
  Noggetti_Tot = 0;
  Nvertici_Tot = 0;
  Npoligoni_Tot = 0;
  Stringa_poligoni.Redim(0);
  stringa_mat.Redim(0);
  formLength = 0;
  resetImagineState();
  resetLightwaveState();
}

void Finestra::Legge_File() {
  if (converting) return;
  ConversionScope scope(*this);
  resetConversion();
  try {
    convertSource();
  } catch (...) {
    // A refused file shows its own name and format, and nothing converted: never the
    // results of the file before it.
    Noggetti_Tot = 0;
    Nvertici_Tot = 0;
    Npoligoni_Tot = 0;
    Scrive_risultato();
    throw;
  }
  Scrive_risultato();
}

void Finestra::convertSource() {
  std::shared_ptr<fw::FolderItem> item =
      Drag_Flag ? fw::GetFolderItem(NomeFile, 0) : fw::GetOpenFolderItem("");
  if (item) {
    NomeFile = item->Name();
    NomeFileOriginale = NomeFile;
    NomeFile = fw::Replace(NomeFile, ".", "_");
    stream = fw::BinaryStream::Open(*item, false);

    bool header_error = false;
    chunk = stream->Length() >= 4 ? CharWord() : std::string();
    if (chunk != "FORM") {
      header_error = true;
      stream->Close();
    } else {
      formLength = Word();
      dim_file = static_cast<float>(formLength);
      chunk = CharWord();
      if (chunk != "TDDD" && chunk != "SC3D" && chunk != "LWOB" && chunk != "AAPO") {
        header_error = true;
        stream->Close();
      }
    }

    if (header_error) {
      fw::MsgBox("Formato sconosciuto");
    } else {
      if (chunk == "SC3D") Formato = "Sculpt3D";
      if (chunk == "AAPO") Formato = "Envisage";
      if (chunk == "TDDD") Formato = "Imagine";
      if (chunk == "LWOB") Formato = "Lightwave";
      if (Formato == "Sculpt3D" || Formato == "Envisage") Legge_Sculpt3D();
      if (Formato == "Imagine") legge_Imagine();
      if (Formato == "Lightwave") Legge_Lightwave();
      scrive_files();
    }
  }
}

void Finestra::Scrive_risultato() {
  Find<fw::StaticText>("Out_Nome_File").SetText(NomeFileOriginale);
  Find<fw::StaticText>("Out_Numero_Oggetti").SetText(fw::Str(Noggetti_Tot));
  Find<fw::StaticText>("Out_Numero_Vertici").SetText(fw::Str(Nvertici_Tot));
  Find<fw::StaticText>("Out_Numero_Poligoni").SetText(fw::Str(Npoligoni_Tot));
  Find<fw::StaticText>("Out_Formato").SetText(Formato);
}
