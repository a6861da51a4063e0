// LightWave objects (FORM LWOB). "PNTS" holds points as three IEEE singles, "POLS" polygons
// as a vertex count, that many 0-based point indices (all 16-bit, unsigned) and a signed
// surface number; a negative one is followed by a count of detail polygons, which then come
// as ordinary records. The OBJ lines are made while reading: every point, then every polygon,
// each run of polygons of one surface behind its group and material lines.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "core/finestra.h"
#include "framework/host.h"

namespace {
// Walks the chunks of the FORM from its first one to end and hands each to read, with the
// header read and the stream at its body. Whatever read takes of it, the next chunk starts
// after the body's stated end and its pad byte.
template <typename Read>
void walkChunks(Finestra& w, std::int64_t end, bool show_progress, Read read) {
  w.stream->SetPosition(12);
  // A chunk header takes 8 bytes; fewer left before the end are no chunk.
  while (end - w.streamPosition() >= 8) {
    if (show_progress) w.setProgress(w.streamPosition());
    w.readChunkHeader(end);
    // The length of this header decides the pad byte: the SURF reader reuses dim_chunk.
    const std::int32_t length = w.dim_chunk;
    const std::int64_t next = w.streamPosition() + length;
    read();
    w.stream->Skip(next - w.streamPosition());
    w.skipTo(next + length % 2);
    fw::Yield();
  }
}

std::string beforeComma(std::string_view record) {
  const int comma = fw::InStr(record, ",");
  return comma == 0 ? std::string(record) : fw::Left(record, comma - 1);
}

// The name the group and material lines give a polygon's surface: its name in the "SRFS"
// list, or past that list the name of that SURF chunk. None unless a SURF chunk bears that
// name: an "SRFS" name alone has no material.
std::optional<std::string> surfaceName(const Finestra& w, std::int32_t number) {
  std::string name;
  if (number >= 1 && number <= w.surfaceNames.Ubound()) {
    name = beforeComma(w.surfaceNames(number));
  } else if (number >= 1 && number <= w.Nsurf_LWave) {
    name = beforeComma(w.surf_LWave(number));
  } else {
    return std::nullopt;
  }
  if (!w.surfaceMaterials.contains(name)) return std::nullopt;
  return name;
}

// Walks the polygon records of a POLS chunk up to end, taking only those that lie wholly
// within it; the smallest is a vertex count and a surface number. For each, indices(count)
// takes its count vertex indices from the stream, then polygon(number) gets its surface
// number; the count of detail polygons after a negative one is dropped, since they follow as
// ordinary records. What is left after the last whole record is the chunk walk's to skip.
template <typename Indices, typename Polygon>
void eachPolygon(Finestra& w, std::int64_t end, Indices indices, Polygon polygon) {
  while (end - w.streamPosition() >= 4) {
    const std::int32_t count = w.unsignedByte2();
    if (end - w.streamPosition() < 2 * std::int64_t{count} + 2) return;
    indices(count);
    const std::int32_t surface = w.Byte2();
    if (surface < 0) {
      if (end - w.streamPosition() < 2) return;
      w.Byte2();
    }
    polygon(surface < 0 ? -surface : surface);
  }
}

// At most the number of lines a POLS chunk gives: one per polygon with points, two more at
// each change of surface.
std::int64_t polygonLines(Finestra& w, std::int64_t end) {
  std::int64_t lines = 0;
  std::int32_t previous = 0;
  std::int32_t points = 0;
  eachPolygon(
      w, end,
      [&](std::int32_t count) {
        points = count;
        w.stream->Skip(2 * std::int64_t{count});
      },
      [&](std::int32_t number) {
        if (points > 0) {
          lines += number != previous ? 3 : 1;
          previous = number;
        }
        fw::Yield();
      });
  return lines;
}
}  // namespace

void Finestra::Legge_Lightwave() {
  const std::int64_t end = formEnd();
  openProgress(std::nullopt);
  Nsurf_LWave = 0;

  // Surfaces first, so that every polygon finds its surface wherever its SURF chunk stands.
  // The lines of points and polygons are counted on the way: the list then makes room for all
  // their ends at once, and a file with more lines than it may hold stops before any is made.
  std::int64_t lines = 0;
  walkChunks(*this, end, true, [&] {
    if (chunk == "SRFS") {
      legge_SRFS_LWave();
    } else if (chunk == "SURF") {
      legge_SURF_LWave();
    } else if (chunk == "PNTS") {
      lines += dim_chunk / 12;
    } else if (chunk == "POLS") {
      lines += polygonLines(*this, streamPosition() + dim_chunk);
    }
  });
  Stringa_poligoni.Reserve(Stringa_poligoni.Ubound() + lines);
  // The materials to come, by name: a polygon's group and material lines name only these.
  for (std::int32_t i = 1; i <= Nsurf_LWave; ++i) {
    surfaceMaterials.insert(beforeComma(surf_LWave(i)));
  }
  // Points before polygons, whatever the order of their chunks: an OBJ face can only use
  // vertices listed before it.
  walkChunks(*this, end, false, [&] {
    if (chunk == "PNTS") legge_PNTS_LWave();
  });
  walkChunks(*this, end, false, [&] {
    if (chunk == "POLS") legge_POLS_LWave();
  });

  Legge_Mat_LWave();
  closeInput();
  if (Npoligoni_Tot > 0 && Nsurf_LWave < 1) Noggetti_Tot = 1;
}

void Finestra::legge_PNTS_LWave() {
  // Whole points only: what is left of a length that is no multiple of 12 is skipped.
  const std::int32_t n = dim_chunk / 12;
  // The axis switch does not change while a conversion runs.
  const bool swapped = axesSwapped();
  for (std::int32_t i = 0; i < n; ++i) {
    const float x = stream->ReadSingle();
    const float y = stream->ReadSingle();
    const float z = stream->ReadSingle();
    // No OBJ reader takes a vertex that is not a number.
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
      throw fw::IOException("Il file è danneggiato: il punto " +
                                fw::Str(std::int64_t{Nvertici_Tot} + i + 1) +
                                " ha una coordinata che non è un numero finito.",
                            fw::IOException::kReadFailed);
    }
    // -y widened to a double, as its text has always been written.
    const std::string line = swapped ? "v " + fw::Str(x) + " " + fw::Str(z) + " " +
                                           fw::Str(static_cast<double>(y) * -1.0)
                                     : "v " + fw::Str(x) + " " + fw::Str(y) + " " + fw::Str(z);
    Stringa_poligoni.Append(line);
    fw::Yield();
  }
  Nvertici_Tot = Nvertici_Tot + n;
}

void Finestra::legge_POLS_LWave() {
  std::int32_t previous = 0;
  std::string element;
  std::int32_t largest = -1;  // the polygon's largest point index, -1 when it has no point
  eachPolygon(
      *this, streamPosition() + dim_chunk,
      [&](std::int32_t count) {
        // An OBJ face takes three points or more; one or two make its point or line element.
        element = count >= 3 ? "f" : count == 2 ? "l" : "p";
        largest = -1;
        for (std::int32_t j = 1; j <= count; ++j) {
          const std::int32_t index = unsignedByte2();
          largest = std::max(largest, index);
          element += " " + fw::Str(index + 1);
          fw::Yield();
        }
      },
      [&](std::int32_t number) {
        // A polygon without points is counted but has no OBJ element, nor group of its own.
        if (largest >= 0) {
          // Checked once the record is whole (a record cut by the chunk's end is none), when
          // every point of the file has been read.
          checkFaceVertex(std::int64_t{Npoligoni_Tot} + 1, largest, Nvertici_Tot);
          if (number != previous) {
            previous = number;
            if (auto name = surfaceName(*this, number)) {
              Stringa_poligoni.Append("g " + *name);
              Stringa_poligoni.Append("usemtl M_" + *name);
            }
          }
          Stringa_poligoni.Append(element);
        }
        Npoligoni_Tot = Npoligoni_Tot + 1;
        fw::Yield();
      });
  // Each POLS chunk counts every surface of the file as an object. An absurd number of
  // chunks stops the count at its largest value instead of overflowing it.
  Noggetti_Tot = static_cast<std::int32_t>(std::min<std::int64_t>(
      std::int64_t{Noggetti_Tot} + Nsurf_LWave, std::numeric_limits<std::int32_t>::max()));
}

std::int64_t Finestra::streamPosition() const {
  return static_cast<std::int64_t>(stream->Position());
}

std::int32_t Finestra::unsignedByte2() {
  return Byte2() & 0xFFFF;
}
