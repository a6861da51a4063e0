// Sculpt 3D scenes (FORM SC3D) and Envisage files (FORM AAPO): "VERT" holds points as three
// 16.16 fixed-point numbers, "FACE" triangles as three 0-based point indices and a colour
// with a flags byte (Envisage: 20-byte records, flags taken as 0). Several "VERT" or "FACE"
// chunks follow each other in the tables, so indices count in the file's whole point list.
#include "app/progress.h"
#include "core/finestra.h"
#include "framework/exceptions.h"
#include "framework/host.h"

namespace {
// The number of whole records in the chunk; a body that is not a whole number of records is
// a damaged file.
std::int32_t recordCount(const Finestra& w, int record_size) {
  if (w.dim_chunk % record_size != 0) {
    throw fw::IOException("Il file è danneggiato: il blocco \"" + lineSafe(w.chunk) +
                              "\" è lungo " + fw::Str(w.dim_chunk) +
                              " byte, che non è un multiplo di " + fw::Str(record_size) + ".",
                          fw::IOException::kReadFailed);
  }
  return w.dim_chunk / record_size;
}
}  // namespace

void Finestra::Legge_Sculpt3D() {
  openProgress(fw::ToInt32(dim_file));
  // Every chunk lies within the FORM; fewer than 8 bytes left hold no chunk header.
  const std::int64_t end = formEnd();
  while (end - static_cast<std::int64_t>(stream->Position()) >= 8) {
    setProgress(static_cast<std::int64_t>(stream->Position()));
    readChunkHeader(end);
    const std::int64_t next = static_cast<std::int64_t>(stream->Position()) + dim_chunk;
    if (chunk == "VERT") {
      legge_VERT_Sculpt();
    } else if (chunk == "FACE") {
      legge_FACE_Sculpt();
    } else {
      salta();
      // IFF pads odd bodies to even length.
      skipTo(next + (dim_chunk & 1));
    }
    fw::Yield();
  }
  // Faces may come before the points they use, so they are checked once all are read.
  for (std::int32_t i = 1; i <= Npoligoni_Tot; ++i) {
    for (std::int32_t c = 0; c <= 2; ++c) checkFaceVertex(i, poly(i, c), Nvertici_Tot);
    fw::Yield();
  }
  closeInput();
}

void Finestra::legge_VERT_Sculpt() {
  const std::int32_t n = recordCount(*this, 12);
  checkLimit(std::int64_t{Nvertici_Tot} + n, vertex.Ubound(), "vertici");
  for (std::int32_t i = Nvertici_Tot + 1; i <= Nvertici_Tot + n; ++i) {
    const std::int32_t x = stream->ReadLong();
    const std::int32_t y = stream->ReadLong();
    const std::int32_t z = stream->ReadLong();
    vertex(i, 0) = x;
    vertex(i, 1) = y;
    vertex(i, 2) = z;
    fw::Yield();
  }
  Noggetti_Tot = Noggetti_Tot + 1;
  Nvertici_Tot = Nvertici_Tot + n;
}

void Finestra::legge_FACE_Sculpt() {
  const bool envisage = Formato == "Envisage";
  const std::int32_t n = recordCount(*this, envisage ? 20 : 16);
  checkLimit(std::int64_t{Npoligoni_Tot} + n, NomeMat.Ubound(), "facce");
  for (std::int32_t i = Npoligoni_Tot + 1; i <= Npoligoni_Tot + n; ++i) {
    poly(i, 0) = Word();
    poly(i, 1) = Word();
    poly(i, 2) = Word();
    if (envisage) Word();
    const std::int32_t red = Byte();
    const std::int32_t green = Byte();
    const std::int32_t blue = Byte();
    NomeMat(i) = "R" + fw::Str(red) + "G" + fw::Str(green) + "B" + fw::Str(blue);
    std::int32_t flags = Byte();
    if (envisage) flags = 0;
    NomeMat(i) = NomeMat(i) + "M" + fw::Str(flags);
    fw::Yield();
  }
  Npoligoni_Tot = Npoligoni_Tot + n;
}
