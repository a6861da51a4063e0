// LightWave objects converted to their exact OBJ and MTL text; the real sample files checked
// against their own chunks; damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/progress.h"
#include "framework/host.h"
#include "tests/conversion.h"

namespace {
using Point = std::array<float, 3>;

struct Polygon {
  std::vector<int> points;
  int surface;      // negative: detail polygons follow
  int details = 0;  // written only after a negative surface
};

Bytes pnts(const std::vector<Point>& points) {
  Bytes body;
  for (const auto& p : points) body.f32(p[0]).f32(p[1]).f32(p[2]);
  return Bytes().chunk("PNTS", body);
}

Bytes polsBody(const std::vector<Polygon>& polygons) {
  Bytes body;
  for (const auto& p : polygons) {
    body.u16(static_cast<int>(p.points.size()));
    for (int i : p.points) body.u16(i);
    body.u16(p.surface);
    if (p.surface < 0) body.u16(p.details);
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

Bytes surf(const std::string& surface_name, const Bytes& subchunks = Bytes()) {
  return Bytes().chunk("SURF", Bytes().append(name(surface_name)).append(subchunks));
}

Bytes colr(int red, int green, int blue) {
  return Bytes().chunk16("COLR", Bytes().u8(red).u8(green).u8(blue).u8(0));
}
Bytes level(const char* id, int value) {
  return Bytes().chunk16(id, Bytes().u16(value));
}

std::vector<std::uint8_t> lwob(const Bytes& body) {
  return Form("LWOB", body);
}

const std::vector<Point> kPoints = {{1, 2, 3}, {0.5f, -1, 0}, {0, 0, 1.25f}, {-2, 0.25f, 4}};
const std::vector<Point> kTriangle = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};

// The chunks of an object of two surfaces, listed in the same order as their SURF chunks;
// runs of surfaces 1, 1, 2, 2, 1.
struct TwoSurfaces {
  Bytes names = srfs({"Red Plastic", "Blue"});
  Bytes points = pnts(kPoints);
  Bytes polygons =
      pols({{{0, 1, 2}, 1}, {{0, 2, 3}, 1}, {{1, 2, 3}, 2}, {{0, 1, 2, 3}, 2}, {{3, 2, 1}, 1}});
  Bytes red = surf("Red Plastic", Bytes()
                                      .append(colr(255, 128, 0))
                                      .append(level("FLAG", 4))
                                      .append(level("SPEC", 128))
                                      .append(level("GLOS", 64)));
  Bytes blue = surf("Blue", Bytes()
                                .append(colr(0, 0, 255))
                                .append(level("FLAG", 0))
                                .append(level("TRAN", 255))
                                .append(level("LUMI", 256)));
};

std::vector<std::uint8_t> twoSurfaces() {
  const TwoSurfaces t;
  return lwob(
      Bytes().append(t.names).append(t.points).append(t.polygons).append(t.red).append(t.blue));
}

std::string header(const char* source) {
  return std::string("# Da Tarvelo  versione beta 0.4\n# Nome del file originale:  ") + source +
         "\n# Formato del file originale:  Lightwave\n\n";
}

// The OBJ lines after the header (10 lines) and the MTL lines after its header (4 lines).
std::vector<std::string> objBody(const Conversion& r) {
  auto all = lines(r.obj);
  return all.size() < 10 ? std::vector<std::string>{}
                         : std::vector<std::string>(all.begin() + 10, all.end());
}
std::vector<std::string> mtlBody(const Conversion& r) {
  auto all = lines(r.mtl);
  return all.size() < 4 ? std::vector<std::string>{}
                        : std::vector<std::string>(all.begin() + 4, all.end());
}

std::vector<std::string> startingWith(const std::vector<std::string>& all,
                                      const std::string& prefix) {
  std::vector<std::string> out;
  std::copy_if(all.begin(), all.end(), std::back_inserter(out),
               [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  return out;
}

// A file of one triangle of one surface; the material block of that surface.
std::vector<std::string> materialOf(const std::string& surface_name, const Bytes& subchunks) {
  Converter c;
  auto r = c.convert(lwob(Bytes()
                              .append(srfs({surface_name}))
                              .append(pnts(kTriangle))
                              .append(pols({{{0, 1, 2}, 1}}))
                              .append(surf(surface_name, subchunks))),
                     "m.lwo");
  EXPECT_TRUE(r.messages.empty());
  auto body = mtlBody(r);
  EXPECT_GE(body.size(), 2u);
  return body.size() < 2 ? body : std::vector<std::string>(body.begin() + 2, body.end());
}

// The record of a file's one surface and its flag code, after a blank.
std::string recordOf(const Bytes& surf_chunk) {
  Converter c;
  c.convert(lwob(Bytes().append(surf_chunk)), "s.lwo");
  EXPECT_EQ(c.window->Nsurf_LWave, 1);
  // No POLS chunk: no object, whatever the surfaces.
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "0");
  return c.window->surf_LWave(1) + " " + c.window->flag_LWave(1);
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
}  // namespace

TEST(LightWave, ConvertsToExactObjAndMtl) {
  Converter c;
  auto r = c.convert(twoSurfaces(), "cube.lwo", "out.obj");
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.obj, header("cube.lwo") +
                       "mtllib out.mtl\n\n"
                       "# Numero totale di oggetti 2\n"
                       "# Numero totale dei vertici 4\n"
                       "# Numero totale dei poligoni 5\n\n"
                       "v 1 2 3\n"
                       "v 0.5 -1 0\n"
                       "v 0 0 1.25\n"
                       "v -2 0.25 4\n"
                       "g Red_Plastic\n"
                       "usemtl M_Red_Plastic\n"
                       "f 1 2 3\n"
                       "f 1 3 4\n"
                       "g Blue\n"
                       "usemtl M_Blue\n"
                       "f 2 3 4\n"
                       "f 1 2 3 4\n"
                       "g Red_Plastic\n"
                       "usemtl M_Red_Plastic\n"
                       "f 4 3 2\n");
  EXPECT_EQ(r.mtl, header("cube.lwo") +
                       "# Numero totale dei materiali 2\n"
                       "\n"
                       "newmtl M_Red_Plastic\n"
                       "Kd 1.000 0.502 0.000\n"
                       "Ka 0.000 0.000 0.000\n"
                       "Tf 1.000 1.000 1.000\n"
                       "Ni 1.00\n"
                       "Ks 0.502 0.502 0.502\n"
                       "Ns 8.00\n"
                       "newmtl M_Blue\n"
                       "Kd 0.000 0.000 1.000\n"
                       "Ka 1.000 1.000 1.000\n"
                       "Tf 0.000 0.000 0.000\n"
                       "Ni 1.00\n");
  EXPECT_TRUE(c.window->stream->IsClosed());
  // The bar's maximum stays 100; its value is the position of the last chunk header.
  auto& bar = c.window->Fin_Prog->ProgressBar1();
  EXPECT_EQ(bar.Maximum(), 100);
  EXPECT_EQ(bar.Value(), static_cast<int>(twoSurfaces().size() - TwoSurfaces().blue.size()));
}

TEST(LightWave, SwappedAxesWriteXZAndMinusYAsADouble) {
  Converter c;
  c.pressAxisSwitch();
  auto r = c.convert(
      lwob(Bytes().append(pnts({{1, 2, 3}, {0.1f, 0.1f, 0.1f}})).append(pols({{{0, 1, 1}, 1}}))));
  EXPECT_EQ(startingWith(objBody(r), "v "),
            (std::vector<std::string>{"v 1 3 -2", "v 0.1 0.1 -0.10000000149011612"}));
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "1");  // polygons without a SURF chunk
}

TEST(LightWave, PolygonsAndTheirSurfaceLines) {
  Converter c;
  // Surface runs restart in every POLS chunk; a negative surface announces detail polygons,
  // which follow as ordinary records; indices are unsigned. The points of two PNTS chunks
  // are numbered as one list, all of them before the first polygon.
  auto r = c.convert(
      lwob(Bytes()
               .append(pnts({kPoints[0], kPoints[1]}))
               .append(pols({{{0, 1, 2}, 2}, {{65535, 32768, 0}, -2, 1}, {{3, 2, 1}, 2}, {{}, 1}}))
               .append(pnts({kPoints[2], kPoints[3]}))
               .append(pols({{{1, 2, 3}, 1}, {{0, 1, 2}, 2}}))
               .append(surf("A"))
               .append(surf("B"))));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(objBody(r),
            (std::vector<std::string>{"v 1 2 3", "v 0.5 -1 0", "v 0 0 1.25", "v -2 0.25 4", "g B",
                                      "usemtl M_B", "f 1 2 3", "f 65536 32769 1", "f 4 3 2", "g A",
                                      "usemtl M_A", "f", "g A", "usemtl M_A", "f 2 3 4", "g B",
                                      "usemtl M_B", "f 1 2 3"}));
  EXPECT_EQ(c.label("Out_Numero_Vertici"), "4");
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "6");
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "4");  // two surfaces for each POLS chunk
}

TEST(LightWave, ChunkOrderDoesNotMatter) {
  // Surfaces after polygons, polygons before points, odd-length chunks of other ids in both
  // passes: the same object as the ordinary order.
  const Bytes other = Bytes().chunk("ABCD", Bytes().text("12345"));
  const TwoSurfaces t;
  auto shuffled = lwob(Bytes()
                           .append(other)
                           .append(t.polygons)
                           .append(t.red)
                           .append(other)
                           .append(t.points)
                           .append(t.names)
                           .append(t.blue)
                           .append(other));
  Converter c;
  auto expected = c.convert(twoSurfaces(), "x.lwo");
  auto r = c.convert(shuffled, "x.lwo");
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.obj, expected.obj);
  EXPECT_EQ(r.mtl, expected.mtl);
}

TEST(LightWave, PolygonsTakeTheirSurfaceByTheSrfsList) {
  Converter c;
  // SRFS says surface 1 is "Back", whose SURF chunk comes second.
  auto r = c.convert(lwob(Bytes()
                              .append(srfs({"Back", "Front"}))
                              .append(pnts(kTriangle))
                              .append(pols({{{0, 1, 2}, 1}, {{0, 2, 1}, 2}, {{1, 2, 0}, 3}}))
                              .append(surf("Front", colr(0, 255, 0)))
                              .append(surf("Back", colr(255, 0, 0)))
                              .append(surf("Side"))));
  EXPECT_EQ(startingWith(objBody(r), "usemtl"),
            (std::vector<std::string>{"usemtl M_Back", "usemtl M_Front", "usemtl M_Side"}));
  // One block per SURF chunk, in their order.
  EXPECT_EQ(startingWith(mtlBody(r), "newmtl"),
            (std::vector<std::string>{"newmtl M_Front", "newmtl M_Back", "newmtl M_Side"}));
  EXPECT_EQ(startingWith(mtlBody(r), "Kd")[1], "Kd 1.000 0.000 0.000");
}

TEST(LightWave, PolygonsOfSurfacesTheFileDoesNotDefine) {
  Converter c;
  // A first file with five smoothed surfaces...
  Bytes five;
  for (const char* n : {"s1", "s2", "s3", "s4", "s5"}) five.append(surf(n, level("FLAG", 4)));
  c.convert(lwob(Bytes().append(pnts(kTriangle)).append(pols({{{0, 1, 2}, 5}})).append(five)));
  // ...leaves nothing to the next: surface 5 is not this file's, even with a name in its SRFS
  // list; 0 and 300 are no surface.
  auto r = c.convert(lwob(
      Bytes()
          .append(srfs({"only", "b", "c", "d", "e"}))
          .append(pnts(kTriangle))
          .append(pols(
              {{{0, 1, 2}, 0}, {{0, 1, 2}, 1}, {{0, 2, 1}, 5}, {{1, 2, 0}, 300}, {{0, 1, 2}, 1}}))
          .append(surf("only"))));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(startingWith(objBody(r), "g"), (std::vector<std::string>{"g only", "g only"}));
  EXPECT_EQ(startingWith(objBody(r), "f").size(), 5u);
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "5");
  // Without FLAG the surface is not smoothed, whatever the earlier file said.
  EXPECT_EQ(mtlBody(r),
            (std::vector<std::string>{"# Numero totale dei materiali 1", "", "newmtl M_only",
                                      "Kd 0.000 0.000 0.000", "Ka 0.000 0.000 0.000",
                                      "Tf 1.000 1.000 1.000", "Ni 1.00"}));
  EXPECT_EQ(c.window->flag_LWave(1), "FSSS");
  EXPECT_EQ(c.window->surf_LWave(5), "");
}

TEST(LightWave, MaterialsOfSmoothedSurfaces) {
  const Bytes smoothed =
      Bytes().append(colr(255, 128, 0)).append(level("FLAG", 4)).append(level("SPEC", 128));
  const std::vector<std::string> common = {
      "newmtl M_Shiny", "Kd 1.000 0.502 0.000", "Ka 0.000 0.000 0.000", "Tf 1.000 1.000 1.000",
      "Ni 1.00",        "Ks 0.502 0.502 0.502"};
  // No GLOS is glossiness 0; 32 is none of the values with an "Ns" line.
  auto expected = common;
  expected.push_back("Ns 18.00");
  EXPECT_EQ(materialOf("Shiny", smoothed), expected);
  EXPECT_EQ(materialOf("Shiny", Bytes().append(smoothed).append(level("GLOS", 32))), common);
}

TEST(LightWave, MaterialOfANameWithAComma) {
  // The name ends at its first comma. The values are read after the record's last comma, not
  // its first, on purpose: a name with a comma keeps its own colour and levels.
  Converter c;
  auto r = c.convert(lwob(Bytes()
                              .append(srfs({"Gold, lucid"}))
                              .append(pnts(kTriangle))
                              .append(pols({{{0, 1, 2}, 1}}))
                              .append(surf("Gold, lucid", Bytes()
                                                              .append(colr(16, 32, 48))
                                                              .append(level("LUMI", 51))
                                                              .append(level("FLAG", 4))
                                                              .append(level("SPEC", 255))))));
  EXPECT_EQ(c.window->surf_LWave(1), "Gold,_lucid,co&h102030lu51di0sp255re0tr0gl0");
  EXPECT_EQ(startingWith(objBody(r), "usemtl"), std::vector<std::string>{"usemtl M_Gold"});
  EXPECT_EQ(mtlBody(r), (std::vector<std::string>{"# Numero totale dei materiali 1", "",
                                                  "newmtl M_Gold", "Kd 0.063 0.125 0.188",
                                                  "Ka 0.200 0.200 0.200", "Tf 1.000 1.000 1.000",
                                                  "Ni 1.00", "Ks 1.000 1.000 1.000", "Ns 18.00"}));
}

TEST(LightWave, SurfaceRecords) {
  // The record of a surface with DIFF 256, SPEC 64 and GLOS 64; without FLAG, not smoothed.
  EXPECT_EQ(recordOf(surf("Red Plastic", Bytes()
                                             .append(colr(16, 32, 48))
                                             .append(level("DIFF", 256))
                                             .append(level("SPEC", 64))
                                             .append(level("GLOS", 64)))),
            "Red_Plastic,co&h102030lu0di255sp64re0tr0gl64 FSSS");
  EXPECT_EQ(recordOf(surf("")), ",co&h000000lu0di0sp0re0tr0gl0 FSSS");
  // Names of 3 and 4 characters (no pad byte, one pad byte) before their sub-chunks.
  EXPECT_EQ(recordOf(surf("abc", colr(1, 2, 3))), "abc,co&h010203lu0di0sp0re0tr0gl0 FSSS");
  EXPECT_EQ(recordOf(surf("abcd", colr(1, 2, 3))), "abcd,co&h010203lu0di0sp0re0tr0gl0 FSSS");
  // 16-bit values are unsigned; levels stop at 255, glossiness does not; the later of two
  // equal sub-chunks counts. Flags 263: smoothed, double-sided, outline, luminous.
  EXPECT_EQ(recordOf(surf("u", Bytes()
                                   .append(level("LUMI", 255))
                                   .append(level("REFL", 65535))
                                   .append(level("TRAN", 300))
                                   .append(level("GLOS", 40000))
                                   .append(colr(9, 9, 9))
                                   .append(colr(1, 2, 3))
                                   .append(level("FLAG", 0))
                                   .append(level("FLAG", 263)))),
            "u,co&h010203lu255di0sp0re255tr255gl40000 SDOL");
  // Other sub-chunks are skipped by their length, odd (with its pad byte) or above 32767;
  // a known one longer than its value is read and stepped over. Flags 1 + 2 + 256: the
  // smoothing bit clear.
  EXPECT_EQ(recordOf(surf("k", Bytes()
                                   .chunk16("TIMG", Bytes().text("1234567"))
                                   .chunk16("BIGG", Bytes().text(std::string(40000, 'x')))
                                   .chunk16("SPEC", Bytes().u16(7).u16(9))
                                   .append(colr(1, 2, 3))
                                   .append(level("FLAG", 1 + 2 + 256)))),
            "k,co&h010203lu0di0sp7re0tr0gl0 FDOL");
  // A known sub-chunk too short for its value is skipped.
  EXPECT_EQ(
      recordOf(surf("s", Bytes().chunk16("COLR", Bytes().u8(5).u8(6)).append(level("LUMI", 8)))),
      "s,co&h000000lu8di0sp0re0tr0gl0 FSSS");
  // A name without its zero byte ends with the chunk.
  EXPECT_EQ(recordOf(Bytes().chunk("SURF", Bytes().text("open"))),
            "open,co&h000000lu0di0sp0re0tr0gl0 FSSS");
  // Control characters can't break a line; tabs, commas and Latin-1 letters stay.
  EXPECT_EQ(recordOf(surf("a\nb\tc\x85\xe9,d")),
            "a_b\tc_\xc3\xa9,d,co&h000000lu0di0sp0re0tr0gl0 FSSS");
}

TEST(LightWave, OddSubchunkAtTheEndOfASurface) {
  // The SURF length holds the sub-chunk's pad byte (even), or leaves it to the SURF (odd).
  const Bytes odd = Bytes().chunk16("XTRA", Bytes().text("abc"));
  Bytes without_pad = Bytes().append(name("S")).id("XTRA").u16(3).text("abc");
  for (const Bytes& s : {Bytes().chunk("SURF", Bytes().append(name("S")).append(odd)),
                         Bytes().chunk("SURF", without_pad)}) {
    Converter c;
    auto r =
        c.convert(lwob(Bytes().append(s).append(pnts(kTriangle)).append(pols({{{0, 1, 2}, 1}}))));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(c.label("Out_Numero_Poligoni"), "1");
    EXPECT_EQ(c.window->surf_LWave(1), "S,co&h000000lu0di0sp0re0tr0gl0");
  }
}

TEST(LightWave, FormHoldingOnlyItsType) {
  Converter c;
  auto r = c.convert(lwob(Bytes()));
  EXPECT_EQ(r.messages, std::vector<std::string>{"l'oggetto non contiene vertici"});
  EXPECT_EQ(c.window->Stringa_poligoni.Ubound(), 0);
  EXPECT_EQ(c.window->stringa_mat.Ubound(), 0);
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "0");
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "0");
  EXPECT_EQ(mtlBody(r), std::vector<std::string>{});
}

TEST(LightWave, UnevenRecordsAreSkippedToTheChunkEnd) {
  Converter c;
  // PNTS of 2 points and 5 more bytes; POLS whose last record runs past its end.
  Bytes points = Bytes().f32(1).f32(2).f32(3).f32(4).f32(5).f32(6).text("12345");
  Bytes polygons = polsBody({{{0, 1, 0}, 1}}).u16(3).u16(0).u16(1);
  auto r = c.convert(
      lwob(Bytes().chunk("PNTS", points).chunk("POLS", polygons).append(pols({{{1, 0, 1}, 1}}))));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(objBody(r), (std::vector<std::string>{"v 1 2 3", "v 4 5 6", "f 1 2 1", "f 2 1 2"}));
}

TEST(LightWave, FormLengthBeyondWhatASingleHolds) {
  // An odd FORM length above 2^24: the end must be exact for the last POLS chunk to fit.
  const std::int64_t junk = (1 << 24) + 100;
  Bytes body = Bytes().append(surf("s")).append(pnts(kTriangle));
  body.id("JUNK").u32(junk);
  std::vector<std::uint8_t> bytes = Form("LWOB", body);
  bytes.resize(bytes.size() + static_cast<size_t>(junk));
  Bytes tail = Bytes().chunk("POLS", polsBody({{{0, 1, 2}, 1}}).u8(7), false);
  bytes.insert(bytes.end(), tail.data().begin(), tail.data().end());
  const std::uint32_t form_length = static_cast<std::uint32_t>(bytes.size() - 8);
  ASSERT_EQ(form_length % 2, 1u);
  ASSERT_NE(static_cast<std::uint32_t>(static_cast<float>(form_length)), form_length);
  for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<std::uint8_t>(form_length >> (24 - 8 * i));
  Converter c;
  auto r = c.convert(bytes);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "1");
}

TEST(LightWave, DamagedFilesEndWithAMessage) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* message;
  };
  Bytes overrun_sub = Bytes().append(name("S")).id("COLR").u16(40).u8(1).u8(2).u8(3).u8(0);
  const Case cases[] = {
      {"chunk past the FORM",
       lwob(Bytes()
                .append(pnts(kTriangle))
                .chunkWithLength("POLS", 100, polsBody({{{0, 1, 2}, 1}}))),
       "Il file è danneggiato: il blocco \"POLS\" dichiara 100 byte, ma ne restano 10."},
      {"negative length", lwob(Bytes().chunkWithLength("SURF", -2, Bytes())),
       "Il file è danneggiato: il blocco \"SURF\" dichiara -2 byte, ma ne restano 0."},
      {"sub-chunk past its surface", lwob(Bytes().chunk("SURF", overrun_sub)),
       "Il file è danneggiato: il blocco \"COLR\" dichiara 40 byte, ma ne restano 4."},
      {"FORM too short for its type", Bytes().id("FORM").u32(2).id("LWOB").data(),
       "Il file è danneggiato: il FORM dichiara 2 byte, meno dei 4 del suo tipo."},
      {"data shorter than the FORM",
       [] {
         auto b = lwob(Bytes().append(pnts(kTriangle)).append(pols({{{0, 1, 2}, 1}})));
         b.resize(b.size() - 2);
         return b;
       }(),
       "Il file è troncato: finisce al byte 72, ma il suo contenuto dichiarato arriva al "
       "byte 74."},
  };
  for (const Case& k : cases) {
    Converter c;
    auto r = c.convert(k.bytes, "bad.lwo");
    EXPECT_EQ(r.messages, std::vector<std::string>{k.message}) << k.what;
    EXPECT_EQ(r.files, std::vector<std::string>{"bad.lwo"}) << k.what;
    EXPECT_TRUE(c.window->stream->IsClosed());
    EXPECT_EQ(fw::FindOpenWindow(Progress::kClassName), nullptr);
  }
}

TEST(LightWave, FilesBeyondTheLimitsStopWithAMessage) {
  Bytes surfaces;
  for (int i = 0; i < 255; ++i) surfaces.append(surf("s"));
  const Bytes object = Bytes().append(pnts(kTriangle)).append(pols({{{0, 1, 2}, 255}}));
  Converter c;
  auto r = c.convert(lwob(Bytes().append(object).append(surfaces)));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(startingWith(mtlBody(r), "newmtl").size(), 255u);
  r = c.convert(lwob(Bytes().append(object).append(surfaces).append(surf("one too many"))),
                "many.lwo", "many.obj");
  EXPECT_EQ(r.messages, std::vector<std::string>{"Il file contiene più di 255 superfici: è il "
                                                 "massimo che Tarvelo può convertire."});
  EXPECT_EQ(r.files, (std::vector<std::string>{"many.lwo", "out.mtl", "out.obj", "scene.iff"}));

  // Two long names taking turns write both names twice per polygon: with the line lists held
  // to 1 MB, 40 turns are too many.
  struct SmallBudget {
    SmallBudget() { fw::TextList::LimitTextForTests(1 << 20); }
    ~SmallBudget() { fw::TextList::LimitTextForTests(fw::TextList::kTextBudget); }
  } small_budget;
  std::vector<Polygon> turns;
  for (int i = 0; i < 40; ++i) turns.push_back({{0, 1, 2}, 1 + i % 2});
  r = c.convert(lwob(Bytes()
                         .append(pnts(kTriangle))
                         .append(pols(turns))
                         .append(surf(std::string(20000, 'a')))
                         .append(surf(std::string(20000, 'b')))),
                "long.lwo", "long.obj");
  EXPECT_EQ(r.messages, std::vector<std::string>{"Il file darebbe più di 1 MB di testo: è il "
                                                 "massimo che Tarvelo può convertire."});
  EXPECT_EQ(r.files,
            (std::vector<std::string>{"long.lwo", "many.lwo", "out.mtl", "out.obj", "scene.iff"}));
}

// The points, polygons and surface names that the chunks of a LightWave file hold, read
// without the converter.
struct LwobContent {
  std::vector<Point> points;
  std::vector<std::pair<std::vector<int>, int>> polygons;  // 1-based indices, surface number
  std::vector<std::string> srfs, surfs;
};

LwobContent readLwob(const std::vector<std::uint8_t>& b) {
  auto u16 = [&](size_t p) { return (b.at(p) << 8) | b.at(p + 1); };
  auto u32 = [&](size_t p) { return (std::uint32_t(u16(p)) << 16) | std::uint32_t(u16(p + 2)); };
  auto text = [&](size_t p) {
    std::string s;
    while (b.at(p) != 0) s += static_cast<char>(b.at(p++));
    return s;
  };
  LwobContent out;
  const size_t end = 8 + u32(4);
  for (size_t p = 12; p + 8 <= end;) {
    const std::string id(b.begin() + p, b.begin() + p + 4);
    const size_t length = u32(p + 4), body = p + 8;
    if (id == "PNTS") {
      for (size_t q = body; q + 12 <= body + length; q += 12) {
        out.points.push_back({std::bit_cast<float>(u32(q)), std::bit_cast<float>(u32(q + 4)),
                              std::bit_cast<float>(u32(q + 8))});
      }
    } else if (id == "POLS") {
      for (size_t q = body; q < body + length;) {
        std::vector<int> indices(static_cast<size_t>(u16(q)));
        q += 2;
        for (int& i : indices) i = u16(q) + 1, q += 2;
        int surface = static_cast<std::int16_t>(u16(q));
        q += 2;
        if (surface < 0) surface = -surface, q += 2;
        out.polygons.emplace_back(indices, surface);
      }
    } else if (id == "SRFS") {
      for (size_t q = body; q < body + length;) {
        out.srfs.push_back(text(q));
        q += (out.srfs.back().size() + 2) & ~size_t{1};
      }
    } else if (id == "SURF") {
      out.surfs.push_back(text(body));
    }
    p = body + length + (length & 1);
  }
  return out;
}

std::string asWritten(std::string surface_name) {
  std::replace(surface_name.begin(), surface_name.end(), ' ', '_');
  return surface_name.substr(0, surface_name.find(','));
}

TEST(LightWave, RealFilesHoldTheirOwnPointsAndPolygons) {
  int files = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(TARVELO_SAMPLES_DIR) / "lwob")) {
    ++files;
    const auto bytes = readFile(entry.path());
    const LwobContent expected = readLwob(bytes);
    const std::string file = entry.path().filename().string();
    Converter c;
    auto r = c.convert(bytes, file);
    ASSERT_TRUE(r.messages.empty()) << file << ": " << r.messages.front();

    std::vector<Point> points;
    std::vector<std::pair<std::vector<int>, std::string>> polygons;
    std::string material;
    for (const auto& line : objBody(r)) {
      std::istringstream in(line.substr(line.find(' ') + 1));
      if (line.rfind("v ", 0) == 0) {
        std::string x, y, z;
        in >> x >> y >> z;
        points.push_back({std::strtof(x.c_str(), nullptr), std::strtof(y.c_str(), nullptr),
                          std::strtof(z.c_str(), nullptr)});
      } else if (line.rfind("usemtl M_", 0) == 0) {
        material = line.substr(9);
      } else if (line.rfind("f ", 0) == 0) {
        ASSERT_FALSE(material.empty()) << file;
        std::vector<int> indices;
        for (int i; in >> i;) indices.push_back(i);
        polygons.emplace_back(indices, material);
      }
    }
    EXPECT_EQ(points, expected.points) << file;
    ASSERT_EQ(polygons.size(), expected.polygons.size()) << file;
    for (size_t k = 0; k < polygons.size(); ++k) {
      const auto& [indices, surface] = expected.polygons[k];
      EXPECT_EQ(polygons[k].first, indices) << file << " polygon " << k;
      EXPECT_EQ(polygons[k].second, asWritten(expected.srfs.at(static_cast<size_t>(surface - 1))))
          << file << " polygon " << k;
    }
    std::vector<std::string> materials;
    for (const auto& n : expected.surfs) materials.push_back("newmtl M_" + asWritten(n));
    EXPECT_EQ(startingWith(mtlBody(r), "newmtl"), materials) << file;
    EXPECT_EQ(c.label("Out_Numero_Vertici"), std::to_string(expected.points.size()));
    EXPECT_EQ(c.label("Out_Numero_Poligoni"), std::to_string(expected.polygons.size()));
  }
  EXPECT_EQ(files, 9);
}

TEST(LightWave, RealFilesMaterials) {
  const auto path = std::filesystem::path(TARVELO_SAMPLES_DIR) / "lwob";
  Converter c;
  auto r = c.convert(readFile(path / "laserbeam.lwo"), "laserbeam.lwo");
  EXPECT_EQ(mtlBody(r), (std::vector<std::string>{"# Numero totale dei materiali 1", "",
                                                  "newmtl M_Laser_:_Blue", "Kd 0.549 0.788 0.867",
                                                  "Ka 1.000 1.000 1.000", "Tf 1.000 1.000 1.000",
                                                  "Ni 1.00", "Ks 0.000 0.000 0.000", "Ns 18.00"}));
  r = c.convert(readFile(path / "sphere_glos16.lwo"), "sphere.lwo");
  EXPECT_EQ(startingWith(mtlBody(r), "Ns"), std::vector<std::string>{"Ns 10.00"});
  EXPECT_EQ(startingWith(mtlBody(r), "Ks"), std::vector<std::string>{"Ks 1.000 1.000 1.000"});
  r = c.convert(readFile(path / "sphere_glos256.lwo"), "sphere.lwo");
  EXPECT_EQ(startingWith(mtlBody(r), "Ns"), std::vector<std::string>{"Ns 5.00"});
}

TEST(LightWave, EveryTruncationEndsWithAMessage) {
  expectEveryPrefixEndsCleanly(twoSurfaces(), 1, true);
  expectEveryPrefixEndsCleanly(
      lwob(Bytes()
               .chunk("ABCD", Bytes().text("12345"))
               .append(pnts(kPoints))
               .append(pols({{{0, 1, 2}, -1, 1}, {{2, 1, 0}, 1}}))
               .append(surf("odd", Bytes().chunk16("XTRA", Bytes().text("abc"))))
               .chunk("LAST", Bytes().text("x"))),
      1, true);
  // Every sample, cut; the two with the most kinds of surface sub-chunks refitted too.
  const auto path = std::filesystem::path(TARVELO_SAMPLES_DIR) / "lwob";
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    const auto bytes = readFile(entry.path());
    const std::string file = entry.path().filename().string();
    expectEveryPrefixEndsCleanly(bytes, bytes.size() > 2000 ? 53 : 1,
                                 file == "box_6surf.lwo" || file == "cube_cyl_texture.lwo");
  }
}
