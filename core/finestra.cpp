#include "core/finestra.h"

#include <algorithm>
#include <limits>

#include "app/progress.h"
#include "framework/exceptions.h"

Finestra::Finestra() = default;

std::string lineSafe(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto u = static_cast<unsigned char>(text[i]);
    const bool c0 = (u < 0x20 && u != '\t') || u == 0x7F;
    // U+0080 to U+009F (NEL among them) end a line for some readers too.
    const bool c1 = u == 0xC2 && i + 1 < text.size() &&
                    static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (c0 || c1) {
      out += '_';
      i += c1 ? 1 : 0;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool Finestra::axesSwapped() {
  return Find<fw::StaticText>("Stato_Assi").Text() == "Assi  X Z Y";
}

void Finestra::checkChunkBody(std::int64_t end) {
  const auto pos = static_cast<std::int64_t>(stream->Position());
  const std::int64_t left = std::max<std::int64_t>(end - pos, 0);
  if (dim_chunk < 0 || dim_chunk > left) {
    throw fw::IOException("Il file è danneggiato: il blocco \"" + lineSafe(chunk) + "\" dichiara " +
                              fw::Str(dim_chunk) + " byte, ma ne restano " + fw::Str(left) + ".",
                          fw::IOException::kPastEnd);
  }
}

void Finestra::readChunkHeader(std::int64_t end) {
  chunk = CharWord();
  dim_chunk = Word();
  checkChunkBody(end);
}

void Finestra::skipTo(std::int64_t pos) {
  const auto length = static_cast<std::int64_t>(stream->Length());
  if (pos > length + 1) {
    throw fw::IOException("Il file è troncato: finisce al byte " + fw::Str(length) + ".",
                          fw::IOException::kPastEnd);
  }
  stream->SetPosition(static_cast<std::uint64_t>(std::min(pos, length)));
}

std::int64_t Finestra::formEnd() {
  const auto length = static_cast<std::int64_t>(stream->Length());
  if (formLength < 4) {
    throw fw::IOException("Il file è danneggiato: il FORM dichiara " + fw::Str(formLength) +
                              " byte, meno dei 4 del suo tipo.",
                          fw::IOException::kReadFailed);
  }
  const std::int64_t end = 8 + formLength;
  if (end > length + 1) {
    throw fw::IOException("Il file è troncato: finisce al byte " + fw::Str(length) +
                              ", ma il suo contenuto dichiarato arriva al byte " + fw::Str(end) +
                              ".",
                          fw::IOException::kPastEnd);
  }
  return std::min(end, length);
}

void Finestra::openProgress(std::optional<std::int32_t> maximum) {
  Fin_Prog = std::make_shared<Progress>();
  Fin_Prog->Constructor();
  Fin_Prog->Show();
  if (maximum) Fin_Prog->ProgressBar1().SetMaximum(*maximum);
  Fin_Prog->ProgressBar1().SetValue(0);
}

void Finestra::setProgress(std::int64_t value) {
  auto& bar = Fin_Prog->ProgressBar1();
  bar.SetValue(static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())));
  bar.Refresh(true);
}

void Finestra::closeInput() {
  if (stream) stream->Close();
  if (Fin_Prog) Fin_Prog->Close();
}

void Finestra::checkLimit(std::int64_t count, std::int64_t limit, const char* what) {
  if (count > limit) {
    throw fw::OutOfBoundsException("Il file contiene più di " + fw::Str(limit) + " " + what +
                                   ": è il massimo che Tarvelo può convertire.");
  }
}

void Finestra::checkFaceVertex(std::int64_t face, std::int64_t index0, std::int64_t vertices) {
  if (index0 >= 0 && index0 < vertices) return;
  const std::string has =
      vertices > 0 ? "ne ha solo " + fw::Str(vertices) : std::string("non ne ha nessuno");
  throw fw::IOException("Il file è danneggiato: il poligono " + fw::Str(face) + " usa il vertice " +
                            fw::Str(index0 + 1) + ", ma il file " + has + ".",
                        fw::IOException::kReadFailed);
}
