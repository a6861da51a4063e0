// LightWave objects converted to their exact OBJ and MTL text; the real sample files checked
// against their own chunks; damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <limits>
#include <map>
#include <sstream>

#include "app/progress.h"
#include "framework/host.h"
#include "tests/conversion.h"
#include "tests/obj_check.h"

namespace {
using Point = std::array<float, 3>;
using Lines = std::vector<std::string>;

// Point indices and surface number; after a negative one, a count of detail polygons.
using Polygon = std::pair<std::vector<int>, int>;

template <typename... Parts>
Bytes cat(const Parts&... parts) {
  Bytes b;
  (b.append(parts), ...);
  return b;
}

template <typename... Chunks>
std::vector<std::uint8_t> lwob(const Chunks&... chunks) {
  return Form("LWOB", cat(chunks...));
}

Bytes pnts(const std::vector<Point>& points) {
  Bytes body;
  for (const auto& p : points) body.f32(p[0]).f32(p[1]).f32(p[2]);
  return Bytes().chunk("PNTS", body);
}

Bytes polsBody(const std::vector<Polygon>& polygons) {
  Bytes body;
  for (const auto& [points, surface] : polygons) {
    body.u16(static_cast<int>(points.size()));
    for (int i : points) body.u16(i);
    body.u16(surface);
    if (surface < 0) body.u16(1);
  }
  return body;
}

Bytes pols(const std::vector<Polygon>& polygons) {
  return Bytes().chunk("POLS", polsBody(polygons));
}

// A name with its zero byte, padded to an even length.
Bytes name(const std::string& text) {
  Bytes b;
  b.text(text, true);
  if (b.size() % 2 == 1) b.u8(0);
  return b;
}

Bytes srfs(const std::vector<std::string>& names) {
  Bytes body;
  for (const auto& n : names) body.append(name(n));
  return Bytes().chunk("SRFS", body);
}

template <typename... Subchunks>
Bytes surf(const std::string& surface_name, const Subchunks&... subchunks) {
  return Bytes().chunk("SURF", cat(name(surface_name), subchunks...));
}

Bytes colr(int red, int green, int blue) {
  return Bytes().chunk16("COLR", Bytes().u8(red).u8(green).u8(blue).u8(0));
}
Bytes level(const char* id, int value) {
  return Bytes().chunk16(id, Bytes().u16(value));
}

const std::vector<Point> kPoints = {{1, 2, 3}, {0.5f, 0.1f, 0}, {0, 0, 1.25f}, {-2, 0.25f, 4}};
const std::vector<Point> kTriangle = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
const char* const kNoSamples = "set TARVELO_SAMPLES to the folder of the real LWOB files";

// The chunks of an object of two surfaces, listed in the same order as their SURF chunks;
// runs of surfaces 1, 1, 2, 2, 1.
struct TwoSurfaces {
  Bytes names = srfs({"Red Plastic", "Blue"});
  Bytes points = pnts(kPoints);
  Bytes polygons =
      pols({{{0, 1, 2}, 1}, {{0, 2, 3}, 1}, {{1, 2, 3}, 2}, {{0, 1, 2, 3}, 2}, {{3, 2, 1}, 1}});
  Bytes red = surf("Red Plastic", colr(255, 128, 0), level("FLAG", 4), level("SPEC", 128),
                   level("GLOS", 64));
  Bytes blue =
      surf("Blue", colr(0, 0, 255), level("FLAG", 0), level("TRAN", 255), level("LUMI", 256));
  std::vector<std::uint8_t> file() const { return lwob(names, points, polygons, red, blue); }
};

// A text's lines that start with prefix, but its comments, blank lines and "mtllib" line.
Lines content(const std::string& text, const std::string& prefix = "") {
  Lines out;
  for (const auto& l : lines(text)) {
    if (!l.empty() && l[0] != '#' && !l.starts_with("mtllib") && l.starts_with(prefix)) {
      out.push_back(l);
    }
  }
  return out;
}

// The OBJ lines after the points.
Lines afterPoints(const std::string& obj) {
  Lines out = content(obj);
  std::erase_if(out, [](const std::string& l) { return l.starts_with("v "); });
  return out;
}

// A file of one triangle of surface 1, defined by the SURF chunk given before it.
Conversion oneTriangle(Converter& c, const Bytes& surf_chunk) {
  auto r = c.convert(lwob(surf_chunk, pnts(kTriangle), pols({{{0, 1, 2}, 1}})));
  EXPECT_TRUE(r.messages.empty());
  return r;
}
}  // namespace

TEST(LightWave, ConvertsToExactObjAndMtl) {
  const TwoSurfaces t;
  Converter c;
  auto r = c.convert(t.file(), "cube.lwo", "out.obj");
  EXPECT_TRUE(r.messages.empty());
  const std::string header =
      "# Da Tarvelo  versione beta 0.4\n# Nome del file originale:  cube.lwo\n"
      "# Formato del file originale:  Lightwave\n\n";
  EXPECT_EQ(r.obj, header +
                       "mtllib out.mtl\n\n# Numero totale di oggetti 2\n"
                       "# Numero totale dei vertici 4\n# Numero totale dei poligoni 5\n\n"
                       "v 1 2 3\nv 0.5 0.1 0\nv 0 0 1.25\nv -2 0.25 4\n"
                       "g Red_Plastic\nusemtl M_Red_Plastic\nf 1 2 3\nf 1 3 4\n"
                       "g Blue\nusemtl M_Blue\nf 2 3 4\nf 1 2 3 4\n"
                       "g Red_Plastic\nusemtl M_Red_Plastic\nf 4 3 2\n");
  EXPECT_EQ(r.mtl, header +
                       "# Numero totale dei materiali 2\n\n"
                       "newmtl M_Red_Plastic\nKd 1.000 0.502 0.000\nKa 0.000 0.000 0.000\n"
                       "Tf 1.000 1.000 1.000\nNi 1.00\nKs 0.502 0.502 0.502\nNs 8.00\n"
                       "newmtl M_Blue\nKd 0.000 0.000 1.000\nKa 1.000 1.000 1.000\n"
                       "Tf 0.000 0.000 0.000\nNi 1.00\n");
  EXPECT_TRUE(c.window->stream->IsClosed());
  // The bar's value is the position of the last chunk header.
  EXPECT_EQ(c.window->Fin_Prog->ProgressBar1().Value(),
            static_cast<int>(t.file().size() - t.blue.size()));

  // Surfaces after polygons, polygons before points, odd-length chunks of other ids in both
  // passes: the same text.
  const Bytes other = Bytes().chunk("ABCD", Bytes().text("12345"));
  auto shuffled = c.convert(lwob(other, t.polygons, t.red, other, t.points, t.names, t.blue, other),
                            "cube.lwo", "out.obj");
  EXPECT_EQ(shuffled.obj, r.obj);
  EXPECT_EQ(shuffled.mtl, r.mtl);

  // Swapped axes write x, z and -y widened to a double; nothing else changes.
  c.pressAxisSwitch();
  const auto swapped = c.convert(t.file(), "cube.lwo", "out.obj");
  EXPECT_EQ(content(swapped.obj, "v "),
            (Lines{"v 1 3 -2", "v 0.5 0 -0.10000000149011612", "v 0 1.25 0", "v -2 4 -0.25"}));
  EXPECT_EQ(afterPoints(swapped.obj), afterPoints(r.obj));
  EXPECT_EQ(swapped.mtl, r.mtl);
}

TEST(LightWave, PolygonsAndTheirSurfaceLines) {
  Converter c;
  // Surface runs restart in every POLS chunk; a negative surface announces detail polygons,
  // which follow as ordinary records. The points of two PNTS chunks are numbered as one list,
  // all of them before the first polygon. Two points make a line, one a point, none nothing
  // (not even a group), each counted as a polygon.
  auto r = c.convert(lwob(pnts({kPoints[0], kPoints[1]}),
                          pols({{{0, 1, 2}, 2}, {{}, 1}, {{3, 1}, -2}, {{3}, 2}, {{3, 2, 1}, 2}}),
                          pnts({kPoints[2], kPoints[3]}), pols({{{1, 2, 3}, 1}, {{0, 1, 2}, 2}}),
                          surf("A"), surf("B")));
  EXPECT_EQ(content(r.obj), (Lines{"v 1 2 3", "v 0.5 0.1 0", "v 0 0 1.25", "v -2 0.25 4", "g B",
                                   "usemtl M_B", "f 1 2 3", "l 4 2", "p 4", "f 4 3 2", "g A",
                                   "usemtl M_A", "f 2 3 4", "g B", "usemtl M_B", "f 1 2 3"}));
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "7");
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "4");  // two surfaces for each POLS chunk
  // One material per surface, whatever the object count.
  EXPECT_NE(r.mtl.find("\n# Numero totale dei materiali 2\n"), std::string::npos);
}

TEST(LightWave, PolygonsTakeTheMaterialOfTheSurfChunkBearingTheirSrfsName) {
  const Bytes smoothed = level("FLAG", 4);
  struct Case {
    Bytes surfaces;
    std::vector<int> numbers;  // of the polygons, one triangle each
    Lines lines, materials;
  };
  const Case cases[] = {
      // SRFS says surface 1 is "Back", whose SURF chunk comes second; 3 is past the list, so
      // it is the third SURF chunk. One block per SURF chunk, in their order.
      {cat(srfs({"Back", "Front"}), surf("Front", smoothed), surf("Back", smoothed),
           surf("Side", smoothed)),
       {1, 2, 3},
       {"g Back", "usemtl M_Back", "f 1 2 3", "g Front", "usemtl M_Front", "f 1 2 3", "g Side",
        "usemtl M_Side", "f 1 2 3"},
       {"newmtl M_Front", "newmtl M_Back", "newmtl M_Side"}},
      // A listed name without its SURF chunk has no material, in either order; names compare
      // as the records write them (blanks as "_", cut at the first comma).
      {cat(srfs({"A", "Red Plastic, glossy"}), surf("Red Plastic, dull")),
       {1, 2},
       {"f 1 2 3", "g Red_Plastic", "usemtl M_Red_Plastic", "f 1 2 3"},
       {"newmtl M_Red_Plastic"}},
      {cat(srfs({"A", "B"}), surf("B"), surf("C")),
       {1, 2},
       {"f 1 2 3", "g B", "usemtl M_B", "f 1 2 3"},
       {"newmtl M_B", "newmtl M_C"}},
      // The earlier files leave nothing to the next; 0 and 300 are no surface, 3 has only a
      // listed name.
      {cat(srfs({"only", "b", "C"}), surf("only")),
       {0, 1, 3, 300, 1},
       {"f 1 2 3", "g only", "usemtl M_only", "f 1 2 3", "f 1 2 3", "f 1 2 3", "g only",
        "usemtl M_only", "f 1 2 3"},
       {"newmtl M_only"}},
  };
  Converter c;
  Conversion r;
  for (const auto& [surfaces, numbers, expected, materials] : cases) {
    std::vector<Polygon> polygons;
    for (int n : numbers) polygons.push_back({{0, 1, 2}, n});
    r = c.convert(lwob(surfaces, pnts(kTriangle), pols(polygons)));
    EXPECT_EQ(afterPoints(r.obj), expected);
    EXPECT_EQ(content(r.mtl, "newmtl"), materials);
  }
  // Without FLAG the surface is not smoothed, whatever an earlier file said: no "Ks" line.
  EXPECT_EQ(content(r.mtl).back(), "Ni 1.00");
}

TEST(LightWave, MaterialsOfSmoothedSurfaces) {
  // The name ends at its first comma; the values are read after the record's last comma, so a
  // name with a comma keeps its own colour and levels. No GLOS is glossiness 0.
  Converter c;
  auto r = oneTriangle(c, surf("Gold, lucid", colr(16, 32, 48), level("LUMI", 51), level("FLAG", 4),
                               level("SPEC", 255)));
  EXPECT_EQ(content(r.obj, "usemtl"), Lines{"usemtl M_Gold"});
  EXPECT_EQ(content(r.mtl),
            (Lines{"newmtl M_Gold", "Kd 0.063 0.125 0.188", "Ka 0.200 0.200 0.200",
                   "Tf 1.000 1.000 1.000", "Ni 1.00", "Ks 1.000 1.000 1.000", "Ns 18.00"}));
  // Each glossiness of the table has its "Ns" line, any other none; unsmoothed, neither line.
  const std::pair<int, const char*> glossiness[] = {{16, "Ns 10.00"},
                                                    {64, "Ns 8.00"},
                                                    {256, "Ns 5.00"},
                                                    {1024, "Ns 2.00"},
                                                    {32, "Ks 0.000 0.000 0.000"}};
  for (const auto& [value, last] : glossiness) {
    r = oneTriangle(c, surf("Shiny", level("FLAG", 4), level("GLOS", value)));
    EXPECT_EQ(content(r.mtl).back(), last) << value;
  }
  r = oneTriangle(c, surf("Matt", level("FLAG", 0), level("GLOS", 64)));
  EXPECT_EQ(content(r.mtl).back(), "Ni 1.00");
}

TEST(LightWave, SurfaceRecords) {
  // The record of the surface and its flag code, after a blank.
  const std::pair<Bytes, const char*> cases[] = {
      // Blanks as "_"; DIFF stops at 255; without FLAG, not smoothed.
      {surf("Red Plastic", colr(16, 32, 48), level("DIFF", 256), level("SPEC", 64),
            level("GLOS", 64)),
       "Red_Plastic,co&h102030lu0di255sp64re0tr0gl64 FSSS"},
      // A name of even length has a pad byte after its zero byte. 16-bit values are unsigned;
      // levels stop at 255, glossiness does not; the later of two equal sub-chunks counts.
      // Flags 263: smoothed, double-sided, outline, luminous.
      {surf("uv", level("LUMI", 255), level("REFL", 65535), level("TRAN", 300),
            level("GLOS", 40000), colr(9, 9, 9), colr(1, 2, 3), level("FLAG", 0),
            level("FLAG", 263)),
       "uv,co&h010203lu255di0sp0re255tr255gl40000 SDOL"},
      // Other sub-chunks are skipped by their length, odd (with its pad byte) or above 32767;
      // a known one longer than its value is read and stepped over. Flags 1 + 2 + 256: the
      // smoothing bit clear.
      {surf("k", Bytes().chunk16("TIMG", Bytes().text("1234567")),
            Bytes().chunk16("BIGG", Bytes().text(std::string(40000, 'x'))),
            Bytes().chunk16("SPEC", Bytes().u16(7).u16(9)), colr(1, 2, 3),
            level("FLAG", 1 + 2 + 256)),
       "k,co&h010203lu0di0sp7re0tr0gl0 FDOL"},
      // A known sub-chunk too short for its value is skipped.
      {surf("s", Bytes().chunk16("COLR", Bytes().u8(5).u8(6)), level("LUMI", 8)),
       "s,co&h000000lu8di0sp0re0tr0gl0 FSSS"},
      // A name without its zero byte ends with the chunk.
      {Bytes().chunk("SURF", Bytes().text("open")), "open,co&h000000lu0di0sp0re0tr0gl0 FSSS"},
      // Control characters can't break a line, nor a tab the name; commas and Latin-1 letters
      // stay.
      {surf("a\nb\tc\x85\xe9,d"), "a_b_c_\xc3\xa9,d,co&h000000lu0di0sp0re0tr0gl0 FSSS"},
      // An odd last sub-chunk: the SURF length holds its pad byte (even) or leaves it out (odd).
      {surf("S", Bytes().chunk16("XTRA", Bytes().text("abc"))),
       "S,co&h000000lu0di0sp0re0tr0gl0 FSSS"},
      {Bytes().chunk("SURF", name("S").id("XTRA").u16(3).text("abc")),
       "S,co&h000000lu0di0sp0re0tr0gl0 FSSS"},
  };
  for (const auto& [chunk, record] : cases) {
    Converter c;
    oneTriangle(c, chunk);
    EXPECT_EQ(c.window->surf_LWave(1) + " " + c.window->flag_LWave(1), record);
  }
}

TEST(LightWave, FormHoldingOnlyItsType) {
  Converter c;
  auto r = c.convert(lwob());
  EXPECT_EQ(r.messages, Lines{"l'oggetto non contiene vertici"});
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "0");
  EXPECT_EQ(content(r.mtl), Lines{});
}

TEST(LightWave, LengthsAreTakenExactly) {
  Converter c;
  // PNTS of 2 points and 5 more bytes; POLS whose last record runs past its end: both skipped
  // to their stated end.
  Bytes points = Bytes().f32(1).f32(2).f32(3).f32(4).f32(5).f32(6).text("12345");
  Bytes polygons = polsBody({{{0, 1, 0}, 1}}).u16(3).u16(0).u16(1);
  auto r = c.convert(
      lwob(Bytes().chunk("PNTS", points).chunk("POLS", polygons), pols({{{1, 0, 1}, 1}})));
  EXPECT_EQ(content(r.obj), (Lines{"v 1 2 3", "v 4 5 6", "f 1 2 1", "f 2 1 2"}));
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "1");  // polygons without a SURF chunk

  // An odd FORM length above 2^24, which no single-precision number holds: the end must be
  // exact for the last POLS chunk, without its pad byte, to fit.
  const size_t junk = (1 << 24) + 100;
  const Bytes tail = Bytes().chunk("POLS", polsBody({{{0, 1, 2}, 1}}).u8(7), false);
  auto bytes = lwob(surf("s"), pnts(kTriangle), Bytes().id("JUNK").u32(junk), tail);
  bytes.insert(bytes.end() - static_cast<long>(tail.size()), junk, 0);
  const auto form_length = Bytes().u32(static_cast<std::int64_t>(bytes.size()) - 8).data();
  std::copy(form_length.begin(), form_length.end(), bytes.begin() + 4);
  ASSERT_EQ(bytes.size() % 2, 1u);
  EXPECT_TRUE(c.convert(bytes).messages.empty());
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "1");
}

TEST(LightWave, DamagedAndOversizedFilesEndWithAMessage) {
  Bytes surfaces;
  for (int i = 0; i < 255; ++i) surfaces.append(surf("s"));
  const Bytes object = cat(pnts(kTriangle), pols({{{0, 1, 2}, 255}}));
  EXPECT_EQ(content(Converter().convert(lwob(object, surfaces)).mtl, "newmtl").size(), 255u);
  // Two long names taking turns write both names twice per polygon: with the line lists held
  // to 1 MB, 40 turns are too many. Truncated files are the sweep's.
  std::vector<Polygon> turns;
  for (int i = 0; i < 40; ++i) turns.push_back({{0, 1, 2}, 1 + i % 2});
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
      // The file's points are those of all its PNTS chunks, wherever they stand; polygons count
      // over the file, those without points too; indices are unsigned.
      {lwob(pnts(kTriangle), pols({{{0, 1, 3}, 1}, {{}, 1}}), pols({{{3, 65535}, 1}}),
            pnts({kPoints[0]})),
       "Il file è danneggiato: il poligono 3 usa il vertice 65536, ma il file ne ha solo 4."},
      {lwob(pols({{{0, 1, 2}, 1}}), surf("s")),
       "Il file è danneggiato: il poligono 1 usa il vertice 3, ma il file non ne ha nessuno."},
      {lwob(pnts(kTriangle), pnts({{1, 1, 1}, {0, 0, infinity}}), pols({{{0, 1, 2}, 1}})),
       "Il file è danneggiato: il punto 5 ha una coordinata che non è un numero finito."},
      {lwob(pnts({{0, nan, 0}})),
       "Il file è danneggiato: il punto 1 ha una coordinata che non è un numero finito."},
      {lwob(pnts(kTriangle), Bytes().chunkWithLength("POLS", 100, polsBody({{{0, 1, 2}, 1}}))),
       "Il file è danneggiato: il blocco \"POLS\" dichiara 100 byte, ma ne restano 10."},
      {lwob(Bytes().chunkWithLength("SURF", -2, Bytes())),
       "Il file è danneggiato: il blocco \"SURF\" dichiara -2 byte, ma ne restano 0."},
      {lwob(Bytes().chunk("SURF", name("S").id("COLR").u16(40).u8(1).u8(2).u8(3).u8(0))),
       "Il file è danneggiato: il blocco \"COLR\" dichiara 40 byte, ma ne restano 4."},
      {lwob(object, surfaces, surf("one too many")),
       "Il file contiene più di 255 superfici: è il massimo che Tarvelo può convertire."},
      {lwob(pnts(kTriangle), pols(turns), surf(std::string(20000, 'a')),
            surf(std::string(20000, 'b'))),
       "Il file darebbe più di 1 MB di testo: è il massimo che Tarvelo può convertire."},
  };
  fw::TextList::LimitTextForTests(1 << 20);
  for (const auto& [bytes, message] : cases) {
    Converter c;
    auto r = c.convert(bytes, "bad.lwo");
    EXPECT_EQ(r.messages, Lines{message});
    EXPECT_EQ(r.files, Lines{"bad.lwo"});
    EXPECT_TRUE(c.window->stream->IsClosed());
    EXPECT_EQ(fw::FindOpenWindow(Progress::kClassName), nullptr);
  }
  fw::TextList::LimitTextForTests(fw::TextList::kTextBudget);
}

// What the chunks of a LightWave file hold, read without the converter: its points, each
// polygon as the material line and the face line the OBJ should give it, and the material
// line of each SURF chunk.
struct LwobContent {
  std::vector<Point> points;
  Lines faces, materials;
  size_t polygons = 0;
};

LwobContent readLwob(const std::vector<std::uint8_t>& b) {
  auto u16 = [&](size_t p) { return (b.at(p) << 8) | b.at(p + 1); };
  auto u32 = [&](size_t p) { return (std::uint32_t(u16(p)) << 16) | std::uint32_t(u16(p + 2)); };
  auto f32 = [&](size_t p) { return std::bit_cast<float>(u32(p)); };
  // A name as the OBJ and MTL lines write it.
  auto text = [&](size_t p) {
    std::string s;
    for (; b.at(p) != 0 && b.at(p) != ','; ++p) s += b.at(p) == ' ' ? '_' : char(b.at(p));
    return s;
  };
  LwobContent out;
  Lines srfs;
  std::vector<std::pair<int, std::string>> polygons;  // surface number, face line
  for (size_t p = 12, end = 8 + u32(4); p + 8 <= end;) {
    const std::string id(b.begin() + static_cast<long>(p), b.begin() + static_cast<long>(p + 4));
    const size_t body = p + 8, stop = body + u32(p + 4);
    for (size_t q = body; id == "PNTS" && q + 12 <= stop; q += 12) {
      out.points.push_back({f32(q), f32(q + 4), f32(q + 8)});
    }
    for (size_t q = body; id == "POLS" && q < stop; ++out.polygons) {
      const int count = u16(q);
      std::string face = count >= 3 ? "f" : count == 2 ? "l" : "p";
      for (int k = count; k > 0; --k) face += " " + std::to_string(u16(q += 2) + 1);
      const int surface = static_cast<std::int16_t>(u16(q += 2));
      q += surface < 0 ? 4 : 2;
      polygons.emplace_back(std::abs(surface), face);
    }
    for (size_t q = body; id == "SRFS" && q < stop; q = (q + 2) & ~size_t{1}) {
      srfs.push_back(text(q));
      while (b.at(q) != 0) ++q;
    }
    if (id == "SURF") out.materials.push_back("newmtl M_" + text(body));
    p = stop + (stop & 1);
  }
  for (const auto& [surface, face] : polygons) {
    if (face.size() == 1) continue;  // no points, no element
    out.faces.push_back("usemtl M_" + srfs.at(static_cast<size_t>(surface) - 1) + " " + face);
  }
  return out;
}

TEST(LightWave, RealFilesHoldTheirOwnPointsAndPolygonsAndEndCleanlyWhenCut) {
  const auto folder = lightwaveSamples();
  if (!folder) {
    std::cout << "Real LightWave files converted: 0 (skipped: " << kNoSamples << ")\n";
    GTEST_SKIP() << kNoSamples;
  }
  // Whole MTL bodies: a name with blanks and no GLOS; spheres of GLOS 16 and 256, SPEC 256.
  auto sphere = [](const char* glossiness) {
    return Lines({"newmtl M_Default", "Kd 1.000 0.502 0.753", "Ka 0.000 0.000 0.000",
                  "Tf 1.000 1.000 1.000", "Ni 1.00", "Ks 1.000 1.000 1.000", glossiness});
  };
  const std::map<std::string, Lines> materials = {
      {"laserbeam.lwo",
       {"newmtl M_Laser_:_Blue", "Kd 0.549 0.788 0.867", "Ka 1.000 1.000 1.000",
        "Tf 1.000 1.000 1.000", "Ni 1.00", "Ks 0.000 0.000 0.000", "Ns 18.00"}},
      {"sphere_glos16.lwo", sphere("Ns 10.00")},
      {"sphere_glos256.lwo", sphere("Ns 5.00")},
  };
  size_t files = 0, whole_mtl = 0;
  for (const auto& entry : std::filesystem::directory_iterator(*folder)) {
    if (entry.path().extension() != ".lwo") continue;
    ++files;
    const std::string text = readText(entry.path());
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    const std::string file = entry.path().filename().string();
    // Every sample cut; the two with the most kinds of surface sub-chunks refitted too.
    expectEveryPrefixEndsCleanly(bytes, bytes.size() > 2000 ? 53 : 1,
                                 file == "box_6surf.lwo" || file == "cube_cyl_texture.lwo");
    Converter c;
    auto r = c.convert(bytes, file);
    ASSERT_TRUE(r.messages.empty()) << file << ": " << r.messages.front();
    EXPECT_EQ(objPairProblem(r.obj, r.mtl), "") << file;
    std::vector<Point> points;
    Lines faces;
    std::string material;
    for (const auto& line : content(r.obj)) {
      if (line[0] == 'u') material = line;
      if (line[0] == 'f' || line[0] == 'l' || line[0] == 'p')
        faces.push_back(material + " " + line);
      if (line[0] == 'v') {
        std::istringstream in(line.substr(2));
        Point& v = points.emplace_back();
        in >> v[0] >> v[1] >> v[2];
      }
    }
    const LwobContent expected = readLwob(bytes);
    EXPECT_EQ(points, expected.points) << file;
    EXPECT_EQ(faces, expected.faces) << file;
    EXPECT_EQ(content(r.mtl, "newmtl"), expected.materials) << file;
    EXPECT_EQ(c.label("Out_Numero_Vertici"), std::to_string(expected.points.size())) << file;
    EXPECT_EQ(c.label("Out_Numero_Poligoni"), std::to_string(expected.polygons)) << file;
    if (auto m = materials.find(file); m != materials.end()) {
      EXPECT_EQ(content(r.mtl), m->second) << file;
      ++whole_mtl;
    }
  }
  EXPECT_GT(files, 0u);
  if (!std::getenv("TARVELO_SAMPLES")) {  // the samples beside the repository, all of them
    EXPECT_EQ(files, 9u);
    EXPECT_EQ(whole_mtl, materials.size());
  }
  std::cout << "Real LightWave files converted: " << files << " (from " << folder->string()
            << ")\n";
}

TEST(LightWave, EveryTruncationEndsWithAMessage) {
  expectEveryPrefixEndsCleanly(TwoSurfaces().file(), 1, true);
  expectEveryPrefixEndsCleanly(lwob(Bytes().chunk("ABCD", Bytes().text("12345")), pnts(kPoints),
                                    pols({{{0, 1, 2}, -1}, {{2, 1, 0}, 1}}),
                                    surf("odd", Bytes().chunk16("XTRA", Bytes().text("abc"))),
                                    Bytes().chunk("LAST", Bytes().text("x"))),
                               1, true);
}
