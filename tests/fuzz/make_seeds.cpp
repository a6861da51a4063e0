// Writes the fuzzer's seed files, one small whole object of each form type with every chunk
// its reader knows, into <folder>/<type>/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/iff_builder.h"

namespace {
using Files = std::vector<std::vector<std::uint8_t>>;

Bytes sculptScene(bool envisage) {
  Bytes vert, face;
  for (int i = 0; i < 4; ++i) vert.u32(i * 65536).u32((i & 1) << 16).u32(-(i >> 1) << 15);
  for (int i = 0; i < 3; ++i) {
    face.u32(i).u32(i + 1).u32(3 - i);
    if (envisage) face.u32(0);
    face.u8(255 * (i & 1)).u8(128).u8(i).u8(i);
  }
  return Bytes().chunk("INFO", Bytes().text("odd")).chunk("VERT", vert).chunk("FACE", face);
}

// An Imagine object description: name, points, edges, faces and every colour list.
Bytes imagineDesc(const std::string& name, int phong_chunk) {
  Bytes d;
  d.chunk("NAME", Bytes().text(name + std::string(18 - name.size(), '\0')));
  Bytes pnts, edge, face, clst, rlst, tlst;
  pnts.u16(4);
  for (int i = 0; i < 4; ++i) pnts.u32(i << 16).u32((i & 1) << 16).u32((i >> 1) << 16);
  edge.u16(5).u16(0).u16(1).u16(1).u16(2).u16(2).u16(0).u16(2).u16(3).u16(3).u16(0);
  face.u16(2).u16(0).u16(1).u16(2).u16(3).u16(4).u16(2);
  for (Bytes* list : {&clst, &rlst, &tlst}) list->u16(2).u8(10).u8(20).u8(30).u8(40).u8(50).u8(60);
  d.chunk("PNTS", pnts).chunk("EDGE", edge).chunk("FACE", face);
  d.chunk("COLR", Bytes().u8(0).u8(200).u8(100).u8(50));
  d.chunk("REFL", Bytes().u8(0).u8(1).u8(2).u8(3)).chunk("TRAN", Bytes().u8(0).u8(4).u8(5).u8(6));
  d.chunk("SPC1", Bytes().u8(0).u8(7).u8(8).u8(9));
  d.chunk("CLST", clst).chunk("RLST", rlst).chunk("TLST", tlst);
  if (phong_chunk == 0) d.chunk("PRP0", Bytes().u16(0).u8(0).u8(1).u16(0));
  if (phong_chunk == 1) d.chunk("PRP1", Bytes().u32(0).u16(0).u8(1).u8(0));
  return d;
}

Bytes imagineFile() {
  Bytes inner;
  inner.chunk("DESC", imagineDesc("Cube", 0)).chunk("DESC", imagineDesc("Inner", 1));
  inner.chunk("TOBJ", Bytes()).chunk("TOBJ", Bytes());
  return Bytes().chunk("INFO", Bytes().u32(0)).chunk("OBJ ", inner);
}

Bytes lightwaveSurface(const std::string& name, int flags, int gloss) {
  Bytes body;
  body.text(name, true);
  if (body.size() % 2) body.u8(0);
  body.chunk16("COLR", Bytes().u8(200).u8(100).u8(50).u8(0));
  body.chunk16("FLAG", Bytes().u16(flags)).chunk16("GLOS", Bytes().u16(gloss));
  for (const char* id : {"DIFF", "LUMI", "SPEC", "TRAN"}) body.chunk16(id, Bytes().u16(128));
  return Bytes().chunk("SURF", body);
}

Bytes lightwaveFile() {
  Bytes pnts, pols;
  for (int i = 0; i < 5; ++i) pnts.f32(static_cast<float>(i)).f32(0.5f * i).f32(-1.25f);
  // A quad, a triangle, a line, a point, a detail polygon after a negative surface.
  pols.u16(4).u16(0).u16(1).u16(2).u16(3).u16(1);
  pols.u16(3).u16(0).u16(3).u16(4).u16(-2).u16(1);
  pols.u16(3).u16(1).u16(2).u16(4).u16(2);
  pols.u16(2).u16(1).u16(4).u16(2).u16(1).u16(3).u16(1);
  Bytes srfs;
  srfs.text("Red Plastic", true).text("Blue", true).u8(0);
  return Bytes()
      .chunk("SRFS", srfs)
      .chunk("PNTS", pnts)
      .chunk("POLS", pols)
      .append(lightwaveSurface("Red Plastic", 4 | 8, 64))
      .append(lightwaveSurface("Blue", 0, 1024));
}

void write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::map<std::string, Files> seeds = {
      {"SC3D", {Form("SC3D", sculptScene(false))}},
      {"AAPO", {Form("AAPO", sculptScene(true))}},
      {"TDDD", {Form("TDDD", imagineFile())}},
      {"LWOB", {Form("LWOB", lightwaveFile())}},
  };
  for (const auto& [type, files] : seeds) {
    const auto folder = std::filesystem::path(argv[1]) / type;
    std::filesystem::create_directories(folder);
    for (std::size_t i = 0; i < files.size(); ++i) {
      write(folder / ("seed" + std::to_string(i) + ".iff"), files[i]);
    }
  }
  return 0;
}
