// Imagine objects: the sub-chunks of an object description. Point, edge and face numbers are
// 0-based within the object; counts and numbers are unsigned 16-bit. Each reader reads its
// fields from the body it is given and never past its stated length; the walker steps over
// the rest and the pad byte.
#include <cstdint>
#include <string>

#include "app/progress.h"
#include "core/finestra.h"
#include "framework/exceptions.h"
#include "framework/host.h"

namespace {
constexpr int kFacePart = 1;           // characters 1 to 8 of a key: the face colour
constexpr int kReflectionPart = 9;     // 9 to 16: its reflection, or the object's specular colour
constexpr int kTransparencyPart = 17;  // 17 to 24: its transparency
const std::string kUncoveredKey = "&hFFFFFF&h000000&h000000";

// A body too short for the fields it must hold is damaged: reading on would take bytes of
// the next chunk.
void requireBody(const Finestra& w, std::int64_t needed) {
  if (w.dim_chunk < needed) {
    throw fw::IOException("Il file è danneggiato: il blocco \"" + lineSafe(w.chunk) +
                              "\" è lungo " + fw::Str(w.dim_chunk) + " byte, ma ne servono " +
                              fw::Str(needed) + ".",
                          fw::IOException::kReadFailed);
  }
}

// 0 to 65535: a count or number of 32768 and more is no negative one.
std::int32_t readUnsigned16(Finestra& w) {
  return w.Byte2() & 0xFFFF;
}

// The count that leads a list of records; the body must hold the records it announces.
std::int32_t readCount(Finestra& w, int record_size) {
  requireBody(w, 2);
  const std::int32_t n = readUnsigned16(w);
  requireBody(w, 2 + std::int64_t{record_size} * n);
  return n;
}

fw::Color readColour(Finestra& w) {
  const std::int32_t red = w.Byte();
  const std::int32_t green = w.Byte();
  const std::int32_t blue = w.Byte();
  return fw::RGB(red, green, blue);
}

// A colour chunk: a pad byte, then red, green, blue.
fw::Color readColourChunk(Finestra& w) {
  requireBody(w, 4);
  w.Byte();
  return readColour(w);
}

// Each list writes its own part of the key, whatever order the lists come in.
void setKeyPart(Finestra& w, std::int32_t face, int part, const fw::Color& colour) {
  w.beginImagineKeys(face);
  w.NomeMat(face).replace(static_cast<std::size_t>(part - 1), 8, fw::Str(colour));
}

// An edge number of face `face`, refused when the object has no such edge.
std::int32_t readEdgeNumber(Finestra& w, std::int32_t face) {
  const std::int32_t e = readUnsigned16(w);
  if (e >= w.imagineEdges) {
    throw fw::IOException("Il file è danneggiato: la faccia " + fw::Str(face) +
                              " di un oggetto usa lo spigolo " + fw::Str(e) +
                              ", ma l'oggetto ne ha " + fw::Str(w.imagineEdges) + ".",
                          fw::IOException::kReadFailed);
  }
  return e;
}
}  // namespace

void Finestra::beginImagineKeys(std::int32_t faces) {
  for (std::int32_t i = imagineKeyedFaces + 1; i <= faces; ++i) NomeMat(i) = kUncoveredKey;
  if (faces > imagineKeyedFaces) imagineKeyedFaces = faces;
}

void Finestra::legge_NAME_Imagine() {
  // 18 bytes; a shorter body gives what it holds, as the zero bytes it lacks would be dropped.
  const std::int32_t size = dim_chunk < 18 ? dim_chunk : 18;
  std::string name;
  for (std::int32_t k = 1; k <= size; ++k) {
    const std::int32_t code = Byte();
    if (code <= 31) continue;  // dropped wherever it stands: a zero byte does not end the name
    if (code == '.' || code == ' ') {
      name += "_";
    } else {
      name += fw::Chr(code);
    }
  }
  if (name.empty()) name = "Oggetto";
  NomeObyImagine = lineSafe(name);
}

void Finestra::legge_PNTS_Imagine() {
  const std::int32_t n = readCount(*this, 12);
  checkLimit(n, vertex.Ubound(), "vertici in un oggetto");
  // A second point list in one object: the first one's lines stay in the body, so they
  // count before this list's points, which the faces name.
  if (contiene_vert == 1) Nvertici_Tot = Nvertici_Tot + Npnts_Imagine;
  Npnts_Imagine = n;
  Stringa_poligoni.Append("# Numero dei vertici dell'oggetto  " + fw::Str(n));
  Stringa_poligoni.Append("g " + NomeObyImagine);
  const bool swapped = axesSwapped();
  for (std::int32_t i = 1; i <= n; ++i) {
    Scale = 65536;
    vertex(i, 0) = Word();
    vertex(i, 1) = Word();
    vertex(i, 2) = Word();
    // 16.16 fixed point: the division by a power of two is exact.
    const double x = vertex(i, 0) / static_cast<double>(Scale);
    const double y = vertex(i, 1) / static_cast<double>(Scale);
    const double z = vertex(i, 2) / static_cast<double>(Scale);
    if (swapped) {
      Stringa_poligoni.Append("v " + fw::Str(x) + " " + fw::Str(z) + " " + fw::Str(y * -1));
    } else {
      Stringa_poligoni.Append("v " + fw::Str(x) + " " + fw::Str(y) + " " + fw::Str(z));
    }
    fw::Yield();
  }
}

void Finestra::legge_EDGE_Imagine() {
  Fin_Prog->ProgressBar1().Refresh(true);
  const std::int32_t n = readCount(*this, 4);
  checkLimit(n, std::int64_t{edge.Ubound()} + 1, "spigoli in un oggetto");
  for (std::int32_t r = 0; r <= n - 1; ++r) {
    edge(r, 0) = readUnsigned16(*this);
    edge(r, 1) = readUnsigned16(*this);
    fw::Yield();
  }
  imagineEdges = n;
}

void Finestra::legge_FACE_Imagine() {
  const std::int32_t n = readCount(*this, 6);
  checkLimit(n, NomeMat.Ubound(), "facce in un oggetto");
  Nface_Imagine = n;
  Stringa_poligoni.Append("# Numero dei poligoni dell'oggetto  " + fw::Str(n));
  for (std::int32_t i = 1; i <= n; ++i) {
    const std::int32_t e1 = readEdgeNumber(*this, i);
    const std::int32_t e2 = readEdgeNumber(*this, i);
    readUnsigned16(*this);  // the third edge closes the triangle the first two already give
    const std::int32_t a = edge(e1, 0);
    const std::int32_t b = edge(e1, 1);
    const std::int32_t c = edge(e2, 0);
    const std::int32_t d = edge(e2, 1);
    if (c == a || c == b) {
      poly(i, 0) = d;
      poly(i, 1) = b;
      poly(i, 2) = a;
    } else {
      poly(i, 0) = a;
      poly(i, 1) = b;
      poly(i, 2) = c;
    }
    fw::Yield();
  }
  Npoligoni_Tot = Npoligoni_Tot + n;
}

// The object's own colour, reflection and transparency: read, not kept; no output depends on
// them.
void Finestra::legge_COLR_Imagine() {
  readColourChunk(*this);
}
void Finestra::legge_REFL_Imagine() {
  readColourChunk(*this);
}
void Finestra::legge_TRAN_Imagine() {
  readColourChunk(*this);
}

void Finestra::legge_SPC1_Imagine() {
  SpecularOggetto_Imagine = readColourChunk(*this);
}

void Finestra::legge_CLST_Imagine() {
  const std::int32_t n = readCount(*this, 3);
  checkLimit(n, NomeMat.Ubound(), "colori di faccia in un elenco");
  for (std::int32_t i = 1; i <= n; ++i) {
    ColorePoligoni_Imagine = readColour(*this);
    setKeyPart(*this, i, kFacePart, ColorePoligoni_Imagine);
    fw::Yield();
  }
}

void Finestra::legge_RLST_Imagine() {
  const std::int32_t n = readCount(*this, 3);
  checkLimit(n, NomeMat.Ubound(), "colori di faccia in un elenco");
  for (std::int32_t i = 1; i <= n; ++i) {
    ReflectPoligoni_Imagine = readColour(*this);
    // An object with its own specular colour, given before this list, reflects with it.
    setKeyPart(*this, i, kReflectionPart,
               Flag_SPC1_Imagine == 1 ? SpecularOggetto_Imagine : ReflectPoligoni_Imagine);
    fw::Yield();
  }
}

void Finestra::legge_TLST_Imagine() {
  const std::int32_t n = readCount(*this, 3);
  checkLimit(n, NomeMat.Ubound(), "colori di faccia in un elenco");
  for (std::int32_t i = 1; i <= n; ++i) {
    TrasparenzaPoligoni_Imagine = readColour(*this);
    setKeyPart(*this, i, kTransparencyPart, TrasparenzaPoligoni_Imagine);
    fw::Yield();
  }
}

void Finestra::legge_PRP0_TSilver() {
  requireBody(*this, 6);
  for (std::int32_t k = 1; k <= 6; ++k) {
    const std::int32_t value = Byte();
    if (k == 4) flag_phong_Imagine = value;
  }
}

void Finestra::legge_PRP1_Imagine() {
  requireBody(*this, 8);
  for (std::int32_t k = 1; k <= 8; ++k) {
    const std::int32_t value = Byte();
    if (k == 7) flag_phong_Imagine = value;
  }
}
