// LightWave surfaces: "SRFS" lists the surface names, each "SURF" defines one surface. A
// surface is kept as one line of text, its record: the name, ",co", the colour text, then
// "lu", "di", "sp", "re", "tr" and "gl", each followed by its level in decimal. The materials
// take the record apart again by those markers.
#include <algorithm>

#include "core/finestra.h"
#include "framework/host.h"

namespace {
// One byte of a name as a character of the Amiga's Latin-1; a blank or a tab becomes "_" so
// that a name is one word of its OBJ line.
std::string nameCharacter(std::int32_t code) {
  return code == ' ' || code == '\t' ? "_" : fw::Chr(code);
}

// A name as LightWave stores it: bytes up to a zero byte, padded to an even length. A name
// whose zero byte is missing ends at end. Control characters become "_" (lineSafe).
std::string readName(Finestra& w, std::int64_t end) {
  std::string name;
  std::int64_t taken = 0;
  while (w.streamPosition() < end) {
    const std::int32_t code = w.Byte();
    ++taken;
    if (code == 0) break;
    name += nameCharacter(code);
    fw::Yield();
  }
  if (taken % 2 == 1 && w.streamPosition() < end) w.Byte();
  return lineSafe(name);
}

// Four letters, one per bit of the "FLAG" value: F(lat) or S(mooth), D(ouble-sided),
// O(utline), L(uminous), with "S" for a clear bit in the last three.
std::string flagCode(std::int32_t flags) {
  std::string code = "SSSS";
  if (fw::BitAnd(flags, 4) == 0) code[0] = 'F';
  if (fw::BitAnd(flags, 256) != 0) code[1] = 'D';
  if (fw::BitAnd(flags, 2) != 0) code[2] = 'O';
  if (fw::BitAnd(flags, 1) != 0) code[3] = 'L';
  return code;
}
}  // namespace

void Finestra::legge_SRFS_LWave() {
  const std::int64_t end = streamPosition() + dim_chunk;
  // Every name takes at least one byte.
  while (streamPosition() < end) surfaceNames.Append(readName(*this, end));
}

void Finestra::legge_SURF_LWave() {
  checkLimit(std::int64_t{Nsurf_LWave} + 1, surf_LWave.Ubound(), "superfici");
  Nsurf_LWave = Nsurf_LWave + 1;
  fw::Color colour = fw::RGB(0, 0, 0);
  std::int32_t luminosity = 0, diffuse = 0, specular = 0, reflection = 0, transparency = 0;
  std::int32_t glossiness = 0;
  // A surface without "FLAG" is not smoothed, whatever an earlier file left in the table.
  flag_LWave(Nsurf_LWave) = flagCode(0);

  const std::int64_t end = streamPosition() + dim_chunk;
  const std::string name = readName(*this, end);
  // Levels are 16-bit and unsigned; all but the glossiness stop at 255.
  auto level = [&] { return std::min(unsignedByte2(), 255); };

  // A sub-chunk header takes 6 bytes; fewer left before the end are no sub-chunk.
  while (end - streamPosition() >= 6) {
    chunk = CharWord();
    dim_chunk = unsignedByte2();
    checkChunkBody(end);
    const std::int32_t length = dim_chunk;
    const std::int64_t next = streamPosition() + length;
    // A value is read only when its sub-chunk is long enough to hold it.
    auto holds = [&](const char* id, std::int32_t width) { return chunk == id && length >= width; };
    if (holds("COLR", 4)) {
      const std::int32_t red = Byte();
      const std::int32_t green = Byte();
      const std::int32_t blue = Byte();
      Byte();
      colour = fw::RGB(red, green, blue);
    } else if (holds("FLAG", 2)) {
      legge_FLAG_LWave();
    } else if (holds("LUMI", 2)) {
      luminosity = level();
    } else if (holds("DIFF", 2)) {
      diffuse = level();
    } else if (holds("SPEC", 2)) {
      specular = level();
    } else if (holds("REFL", 2)) {
      reflection = level();
    } else if (holds("TRAN", 2)) {
      transparency = level();
    } else if (holds("GLOS", 2)) {
      glossiness = unsignedByte2();
    }
    // The next sub-chunk starts at this one's stated end, whatever was read of it, after the
    // pad byte of an odd length when the surface holds one.
    stream->Skip(next - streamPosition());
    if (length % 2 == 1 && streamPosition() < end) Byte();
    fw::Yield();
  }

  surf_LWave(Nsurf_LWave) = name + ",co" + fw::Str(colour) + "lu" + fw::Str(luminosity) + "di" +
                            fw::Str(diffuse) + "sp" + fw::Str(specular) + "re" +
                            fw::Str(reflection) + "tr" + fw::Str(transparency) + "gl" +
                            fw::Str(glossiness);
}

void Finestra::legge_FLAG_LWave() {
  flag_LWave(Nsurf_LWave) = flagCode(unsignedByte2());
}
