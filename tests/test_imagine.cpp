#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/progress.h"
#include "tests/conversion.h"

namespace {

using Strings = std::vector<std::string>;
using Record = std::vector<std::int64_t>;
using Records = std::vector<Record>;

// A list chunk's body: the 16-bit count, then each record's fields of Width bytes.
template <int Width>
Bytes list(const Records& records) {
  Bytes b;
  b.u16(static_cast<int>(records.size()));
  for (const auto& record : records) {
    for (const auto v : record) {
      for (int k = Width - 1; k >= 0; --k) b.u8(static_cast<int>(v >> (8 * k)));
    }
  }
  return b;
}
constexpr auto points = list<4>;
constexpr auto edges = list<2>;
constexpr auto faces = list<2>;
constexpr auto colourList = list<1>;

// An 18-byte name field: the text, then zero bytes.
Bytes name(const std::string& text) {
  return Bytes().text(text + std::string(18 - text.size(), '\0'));
}
const auto colour = [](int r, int g, int b) { return Bytes().u8(0).u8(r).u8(g).u8(b); };
// Property chunk bodies with the phong flag where each format keeps it.
const auto prp1 = [](int phong) { return Bytes().u32(0).u16(0).u8(phong).u8(0); };
const auto prp0 = [](int phong) { return Bytes().u16(0).u8(0).u8(phong).u16(0); };

// One "OBJ " chunk holding these object descriptions, each closed by its "TOBJ".
Bytes objChunk(const std::vector<Bytes>& descs) {
  Bytes inner;
  for (const auto& d : descs) inner.chunk("DESC", d);
  for (std::size_t i = 0; i < descs.size(); ++i) inner.chunk("TOBJ", Bytes());
  return Bytes().chunk("OBJ ", inner);
}
std::vector<std::uint8_t> imagineFile(const std::vector<Bytes>& descs) {
  return Form("TDDD", objChunk(descs));
}

const Records kTriangle = {{0, 0, 0}, {65536, 0, 0}, {0, 65536, 0}};
const Records kTriangleEdges = {{0, 1}, {1, 2}, {2, 0}};

// Points and edges of a triangle, and this many faces on it.
Bytes triangleBody(int face_count) {
  return Bytes()
      .chunk("PNTS", points(kTriangle))
      .chunk("EDGE", edges(kTriangleEdges))
      .chunk("FACE", faces(Records(face_count, Record{0, 1, 2})));
}

// A triangle object with this face colour and nothing else.
Bytes triangleDesc(const std::string& object_name, const Record& face_colour = {0, 0, 0}) {
  Bytes d;
  if (!object_name.empty()) d.chunk("NAME", name(object_name));
  return d.append(triangleBody(1)).chunk("CLST", colourList({face_colour}));
}

// Four points, five edges, three faces of two materials, both triangle rules, every list.
std::vector<std::uint8_t> cubeFile() {
  const Bytes cube =
      Bytes()
          .chunk("NAME", name("Cube"))
          .chunk("SHAP", Bytes().u16(2).u16(0))
          .chunk("PNTS", points({{0, 0, 0}, {65536, 0, 0}, {0, 65536, 0}, {65536, -131072, 32768}}))
          .chunk("EDGE", edges({{0, 1}, {1, 2}, {2, 0}, {1, 3}, {3, 0}}))
          .chunk("FACE", faces({{0, 1, 2}, {3, 4, 0}, {1, 4, 3}}))
          .chunk("COLR", colour(200, 200, 200))
          .chunk("REFL", colour(1, 2, 3))
          .chunk("TRAN", colour(4, 5, 6))
          .chunk("CLST", colourList({{255, 128, 0}, {255, 128, 0}, {0, 0, 255}}))
          .chunk("RLST", colourList({{64, 64, 64}, {64, 64, 64}, {64, 64, 64}}))
          .chunk("TLST", colourList({{0, 0, 0}, {0, 0, 0}, {255, 255, 255}}))
          .chunk("PRP1", prp1(1));
  return Form("TDDD", Bytes().chunk("INFO", Bytes().text("Imagine 3.0 ")).append(objChunk({cube})));
}

// Several objects: nested, unnamed, points only, sharing materials.
std::vector<std::uint8_t> sceneFile() {
  Bytes child;  // no name: it keeps the one read before
  child.append(triangleBody(2)).chunk("CLST", colourList({{255, 0, 0}, {0, 255, 0}}));
  Bytes only_points;
  only_points.chunk("NAME", name("Solo punti"))
      .chunk("PNTS", points({{65536, 65536, 65536}, {0, 0, 0}}));
  return Form("TDDD", Bytes()
                          .append(objChunk({triangleDesc("Base", {255, 0, 0}), child}))
                          .chunk("XXXX", Bytes().text("skip"))
                          .append(objChunk({only_points}))
                          .append(objChunk({triangleDesc("Ultimo", {0, 255, 0})})));
}

// Odd "INFO" and unknown chunks at the top, an odd unknown chunk in "OBJ ", odd lists last
// in their "DESC", an odd "DESC", a "TOBJ" stating a body, chunks longer than their fields.
std::vector<std::uint8_t> paddedFile() {
  Bytes d = triangleDesc("Pad", {255, 0, 0});
  d.chunk("TLST", colourList({{0, 0, 0}}))
      .chunkWithLength("COLR", 6, colour(1, 2, 3).u16(0))
      .chunkWithLength("PRP1", 10, prp1(1).u16(0))
      .chunk("RLST", colourList({{0, 0, 0}}));
  Bytes odd;  // its last list ends it without a pad: the pad follows the "DESC"
  odd.append(triangleBody(1)).chunk("CLST", colourList({{0, 0, 255}}), false);
  const Bytes inner = Bytes()
                          .chunk("DESC", d)
                          .chunk("DESC", odd)
                          .chunk("ODD!", Bytes().u8(7))
                          .chunkWithLength("TOBJ", 2, Bytes().u16(0));
  return Form(
      "TDDD",
      Bytes().chunk("INFO", Bytes().text("abc")).chunk("ZZZZ", Bytes().u8(1)).chunk("OBJ ", inner));
}

const std::string kMtlHeader =
    "# Da Tarvelo  versione beta 0.4\n# Nome del file originale:  scene.iff\n"
    "# Formato del file originale:  Imagine\n\n";
const std::string kObjHeader = kMtlHeader + "mtllib out.mtl\n\n";

std::string totals(int objects, int vertices, int polygons) {
  return "# Numero totale di oggetti " + std::to_string(objects) +
         "\n# Numero totale dei vertici " + std::to_string(vertices) +
         "\n# Numero totale dei poligoni " + std::to_string(polygons) + "\n\n";
}

Strings linesStarting(const std::string& text, const std::string& prefix) {
  Strings out = lines(text);
  std::erase_if(out, [&](const std::string& l) { return !l.starts_with(prefix); });
  return out;
}

}  // namespace

TEST(Imagine, OneObjectConvertsToExactText) {
  Converter c;
  const auto bytes = cubeFile();
  const auto r = c.convert(bytes);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.obj, kObjHeader + totals(1, 4, 3) +
                       "# Numero dei vertici dell'oggetto  4\ng Cube\n"
                       "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 -2 0.5\n"
                       "# Numero dei poligoni dell'oggetto  3\n"
                       "usemtl Material1\nf 3 2 1\nf 1 4 2\nusemtl Material2\nf 2 3 4\n");
  EXPECT_EQ(r.mtl, kMtlHeader +
                       "newmtl Material1\nillum 2\nKd 1.000 0.502 0.000\nKa 0.00 0.00 0.00\n"
                       "Ks 0.251 0.251 0.251\nNs 8.00\nTf 1.000 1.000 1.000\n"
                       "newmtl Material2\nillum 2\nKd 0.000 0.000 1.000\nKa 0.00 0.00 0.00\n"
                       "Ks 0.251 0.251 0.251\nNs 8.00\nTf 0.000 0.000 0.000\n");

  // The bar ran against the FORM length and stood at the object's end; its window is gone.
  auto& bar = c.window->Fin_Prog->ProgressBar1();
  EXPECT_EQ(bar.Maximum(), static_cast<std::int32_t>(bytes.size()) - 8);
  EXPECT_EQ(bar.Value(), static_cast<std::int32_t>(bytes.size()) - 8);  // before the "TOBJ"
  EXPECT_EQ(c.host.closed_titles, Strings{"Progress"});
  EXPECT_TRUE(c.window->stream->IsClosed());

  c.pressAxisSwitch();
  EXPECT_EQ(linesStarting(c.convert(bytes).obj, "v "),
            (Strings{"v 0 0 0", "v 1 0 0", "v 0 0 -1", "v 1 0.5 2"}));
}

TEST(Imagine, SeveralObjectsAreWrittenFlatAndShareMaterials) {
  Converter c;
  const auto r = c.convert(sceneFile());
  EXPECT_TRUE(r.messages.empty());
  const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  const std::string base = "# Numero dei vertici dell'oggetto  3\ng Base\n" + triangle;
  EXPECT_EQ(r.obj, kObjHeader + totals(3, 11, 4) + base +
                       "# Numero dei poligoni dell'oggetto  1\nusemtl Material1\nf 3 2 1\n" +
                       // The nested object keeps the name read before, and starts with its
                       // "usemtl" though the last face had the same material.
                       base + "# Numero dei poligoni dell'oggetto  2\n" +
                       "usemtl Material1\nf 6 5 4\nusemtl Material2\nf 6 5 4\n"
                       // Points only: not counted, but its points are numbered.
                       "# Numero dei vertici dell'oggetto  2\ng Solo_punti\nv 1 1 1\nv 0 0 0\n"
                       "# Numero dei vertici dell'oggetto  3\ng Ultimo\n" +
                       triangle +
                       "# Numero dei poligoni dell'oggetto  1\nusemtl Material2\nf 11 10 9\n");
  // Only the objects that first used a material give its entry; no list covered the
  // reflection or the transparency.
  EXPECT_EQ(r.mtl, kMtlHeader +
                       "newmtl Material1\nillum 2\nKd 1.000 0.000 0.000\nKa 0.00 0.00 0.00\n"
                       "Tf 1.000 1.000 1.000\n"
                       "newmtl Material2\nillum 2\nKd 0.000 1.000 0.000\nKa 0.00 0.00 0.00\n"
                       "Tf 1.000 1.000 1.000\n");
}

TEST(Imagine, ObjectsWithoutPointsOrFacesAreNotWritten) {
  Bytes faces_only;
  faces_only.chunk("EDGE", edges(kTriangleEdges)).chunk("FACE", faces({{0, 1, 2}}));
  Bytes empty_lists;  // counts of 0: written and counted, three lines
  empty_lists.chunk("NAME", name("Vuoto")).chunk("PNTS", points({})).chunk("FACE", faces({}));
  Bytes twice;  // a second point list: the faces name its points, after the first one's lines
  twice.chunk("PNTS", points({{0, 0, 0}, {0, 0, 0}})).append(triangleDesc("T"));
  Converter c;
  const auto r = c.convert(imagineFile({faces_only, Bytes(), empty_lists, twice}));
  // The faces of the object without points still count, as its comment line says.
  EXPECT_EQ(r.obj, kObjHeader + totals(2, 5, 2) +
                       "# Numero dei poligoni dell'oggetto  1\n"
                       "# Numero dei vertici dell'oggetto  0\ng Vuoto\n"
                       "# Numero dei poligoni dell'oggetto  0\n"
                       "# Numero dei vertici dell'oggetto  2\ng Vuoto\nv 0 0 0\nv 0 0 0\n"
                       "# Numero dei vertici dell'oggetto  3\ng T\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
                       "# Numero dei poligoni dell'oggetto  1\nusemtl Material1\nf 5 4 3\n");
}

TEST(Imagine, NamesDropControlBytesAndReplaceDotsAndBlanks) {
  const std::vector<std::pair<Bytes, std::string>> cases = {
      {name("My.Obj 1"), "My_Obj_1"},
      {name(std::string("AB\0CD", 5)), "ABCD"},
      {name(""), "Oggetto"},
      {name("\xE9t\x7F"), "\xC3\xA9t_"},  // Latin-1 é; DEL breaks no line
      {Bytes().text("Lungo").append(name("")).text("XY"), "Lungo"},  // 20 bytes: 18 read
      {Bytes().text("Corto"), "Corto"},                              // 5 bytes, odd: a pad follows
  };
  for (const auto& [field, expected] : cases) {
    Bytes d;
    d.chunk("NAME", field).chunk("PNTS", points(kTriangle));
    Converter c;
    const auto r = c.convert(imagineFile({d, triangleDesc("", {1, 1, 1})}));
    EXPECT_EQ(linesStarting(r.obj, "g "), (Strings{"g " + expected, "g " + expected})) << expected;
  }
}

TEST(Imagine, TrianglesFollowTheSharedPointOfTheFirstTwoEdges) {
  const std::vector<std::tuple<int, Records, std::string>> cases = {
      {10, {{0, 1}, {1, 2}, {2, 0}}, "f 3 2 1"},             // second edge starts at b: (d, b, a)
      {10, {{0, 1}, {2, 1}, {2, 0}}, "f 1 2 3"},             // it does not: (a, b, c)
      {10, {{5, 7}, {5, 9}, {9, 7}}, "f 10 8 6"},            // starts at a: (d, b, a)
      {40000, {{39999, 0}, {0, 1}, {1, 0}}, "f 2 1 40000"},  // counts from 32768 are unsigned
  };
  for (const auto& [point_count, edge_list, line] : cases) {
    Bytes d;
    d.chunk("PNTS", points(Records(point_count, {65536, 0, 0})))
        .chunk("EDGE", edges(edge_list))
        .chunk("FACE", faces({{0, 1, 2}}));
    Converter c;
    EXPECT_EQ(linesStarting(c.convert(imagineFile({d})).obj, "f "), Strings{line});
  }
}

TEST(Imagine, SpecularColourReplacesReflectionOnlyWhenGivenFirst) {
  // The second object also shows that the first one's specular colour stays with it.
  Bytes first = triangleDesc("S");
  first.chunk("SPC1", colour(10, 20, 30)).chunk("RLST", colourList({{64, 64, 64}}));
  Bytes second = triangleDesc("T");
  second.chunk("RLST", colourList({{64, 64, 64}})).chunk("SPC1", colour(10, 20, 30));
  Converter c;
  const auto r =
      c.convert(imagineFile({first.chunk("PRP1", prp1(1)), second.chunk("PRP1", prp1(1))}));
  EXPECT_EQ(linesStarting(r.mtl, "Ks "), (Strings{"Ks 0.039 0.078 0.118", "Ks 0.251 0.251 0.251"}));
}

TEST(Imagine, PhongFlagOfExactlyOneAddsTheSpecularPair) {
  // One object, and one new material, per property chunk; "NONE" shows a flag of 1 is not kept.
  const std::vector<std::pair<std::string, Bytes>> properties = {
      {"PRP1", prp1(0)}, {"PRP1", prp1(1)}, {"NONE", Bytes()},
      {"PRP1", prp1(2)}, {"PRP0", prp0(1)}, {"PRP0", prp0(2)}};
  std::vector<Bytes> descs;
  for (const auto& [id, body] : properties) {
    descs.push_back(triangleDesc("P", {std::int64_t(descs.size()), 0, 0}).chunk(id, body));
  }
  Converter c;
  std::vector<int> entry_lines;
  for (const auto& line : lines(c.convert(imagineFile(descs)).mtl)) {
    if (line.rfind("newmtl ", 0) == 0) entry_lines.push_back(0);
    if (!entry_lines.empty()) ++entry_lines.back();
  }
  EXPECT_EQ(entry_lines, (std::vector<int>{5, 7, 5, 5, 7, 5}));
}

TEST(Imagine, EveryKeyHasItsThreePartsWhateverCameBefore) {
  Converter c;
  c.convert(cubeFile());  // named, phong 1, every face coloured
  // Lists in reverse order give the same key as in order; faces beyond the lists are white,
  // without reflection, opaque, whatever an earlier object or conversion gave them.
  Bytes reversed;
  reversed.append(triangleBody(2))
      .chunk("TLST", colourList({{51, 51, 51}}))
      .chunk("RLST", colourList({{128, 128, 128}}))
      .chunk("CLST", colourList({{255, 0, 0}}))
      .chunk("PRP1", prp1(1));
  const auto r = c.convert(imagineFile({reversed, triangleBody(2)}));
  EXPECT_EQ(linesStarting(r.obj, "g"), (Strings{"g ", "g "}));
  EXPECT_EQ(linesStarting(r.obj, "usemtl "),
            (Strings{"usemtl Material1", "usemtl Material2", "usemtl Material2"}));
  EXPECT_EQ(r.mtl, kMtlHeader +
                       "newmtl Material1\nillum 2\nKd 1.000 0.000 0.000\nKa 0.00 0.00 0.00\n"
                       "Ks 0.502 0.502 0.502\nNs 8.00\nTf 0.800 0.800 0.800\n"
                       "newmtl Material2\nillum 2\nKd 1.000 1.000 1.000\nKa 0.00 0.00 0.00\n"
                       "Ks 0.000 0.000 0.000\nNs 8.00\nTf 1.000 1.000 1.000\n");
}

TEST(Imagine, OddChunksAndTheirPadBytesKeepTheWalkInStep) {
  Converter c;
  const auto r = c.convert(paddedFile());
  EXPECT_EQ(linesStarting(r.obj, "f "), (Strings{"f 3 2 1", "f 6 5 4"}));
  EXPECT_EQ(linesStarting(r.mtl, "Ns "), Strings{"Ns 8.00"});
}

TEST(Imagine, DamagedAndOversizedObjectsAreRefused) {
  auto with = [](const char* id, const Bytes& body) { return triangleDesc("X").chunk(id, body); };
  const auto damaged = [](const std::string& what) { return "Il file è danneggiato: " + what; };
  const auto limit = [](const std::string& what) {
    return "Il file contiene più di " + what + ": è il massimo che Tarvelo può convertire.";
  };
  Records colours;  // 1001 faces, each of its own colour
  for (int k = 0; k < 1001; ++k) colours.push_back({k % 256, k / 256, 0});
  const std::vector<std::pair<std::vector<Bytes>, std::string>> cases = {
      {{Bytes().chunkWithLength("PNTS", 100, points(kTriangle))},
       damaged("il blocco \"PNTS\" dichiara 100 byte, ma ne restano 38.")},
      {{triangleDesc("H").text("ABCD")},  // no room for a header
       damaged("il blocco \"DESC\" finisce a metà dell'intestazione di un blocco interno.")},
      {{with("SPC1", Bytes().u8(0).u8(9))},
       damaged("il blocco \"SPC1\" è lungo 2 byte, ma ne servono 4.")},
      {{with("PRP1", Bytes().u32(0))},
       damaged("il blocco \"PRP1\" è lungo 4 byte, ma ne servono 8.")},
      {{with("TLST", Bytes().u16(3).u8(1).u8(2).u8(3))},  // a count its body can't hold
       damaged("il blocco \"TLST\" è lungo 5 byte, ma ne servono 11.")},
      {{with("FACE", faces({{0, 3, 1}}))},
       damaged("la faccia 1 di un oggetto usa lo spigolo 3, ma l'oggetto ne ha 3.")},
      // The first object's edges are no longer there for the second.
      {{triangleDesc("A"),
        Bytes().chunk("PNTS", points(kTriangle)).chunk("FACE", faces({{0, 1, 2}}))},
       damaged("la faccia 1 di un oggetto usa lo spigolo 0, ma l'oggetto ne ha 0.")},
      {{with("EDGE", edges({{0, 1}, {1, 5}})).chunk("FACE", faces({{0, 1, 0}}))},
       damaged("la faccia 1 di un oggetto usa il punto 5, ma l'oggetto ha 3 punti.")},
      {{Bytes().chunk("PNTS", points(Records(50001, {0, 0, 0})))},
       limit("50000 vertici in un oggetto")},
      {{Bytes().chunk("EDGE", edges(Records(25002, {0, 1})))},
       limit("25001 spigoli in un oggetto")},
      {{Bytes().chunk("FACE", faces(Records(25001, {0, 0, 0})))},
       limit("25000 facce in un oggetto")},
      {{Bytes().chunk("CLST", colourList(Records(25001, {0, 0, 0})))},
       limit("25000 colori di faccia in un elenco")},
      {{triangleBody(1001).chunk("CLST", colourList(colours))}, limit("1000 materiali diversi")},
  };
  for (const auto& [descs, message] : cases) {
    Converter c;
    const auto r = c.convert(imagineFile(descs));
    EXPECT_EQ(r.messages, Strings{message});
    EXPECT_EQ(r.files, Strings{"scene.iff"});
    EXPECT_TRUE(c.window->stream->IsClosed());
  }
}

TEST(Imagine, EveryPrefixConvertsOrStopsCleanly) {
  for (const auto& file : {cubeFile(), sceneFile(), paddedFile()}) {
    expectEveryPrefixEndsCleanly(file, 1, true, {"OBJ ", "DESC"});
  }
}
