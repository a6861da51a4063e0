#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/progress.h"
#include "tests/conversion.h"

namespace {

using Point = std::array<std::int64_t, 3>;
using Rgb = std::array<int, 3>;

// An 18-byte name field: the text, then zero bytes.
Bytes name(const std::string& text) {
  Bytes b;
  b.text(text);
  for (std::size_t i = text.size(); i < 18; ++i) b.u8(0);
  return b;
}

Bytes points(const std::vector<Point>& pts) {
  Bytes b;
  b.u16(static_cast<int>(pts.size()));
  for (const auto& p : pts) b.u32(p[0]).u32(p[1]).u32(p[2]);
  return b;
}

Bytes edges(const std::vector<std::pair<int, int>>& list) {
  Bytes b;
  b.u16(static_cast<int>(list.size()));
  for (const auto& [p, q] : list) b.u16(p).u16(q);
  return b;
}

Bytes faces(const std::vector<std::array<int, 3>>& list) {
  Bytes b;
  b.u16(static_cast<int>(list.size()));
  for (const auto& f : list) b.u16(f[0]).u16(f[1]).u16(f[2]);
  return b;
}

Bytes colourList(const std::vector<Rgb>& list) {
  Bytes b;
  b.u16(static_cast<int>(list.size()));
  for (const auto& c : list) b.u8(c[0]).u8(c[1]).u8(c[2]);
  return b;
}

Bytes colour(int r, int g, int b) {
  return Bytes().u8(0).u8(r).u8(g).u8(b);
}

// Property chunk bodies with the phong flag where each format keeps it.
Bytes prp1(int phong) {
  return Bytes().u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(phong).u8(0);
}
Bytes prp0(int phong) {
  return Bytes().u8(0).u8(0).u8(0).u8(phong).u8(0).u8(0);
}

std::vector<std::uint8_t> tddd(const Bytes& body) {
  return Form("TDDD", body);
}
// One "OBJ " chunk holding these object descriptions, each closed by its "TOBJ".
Bytes objChunk(const std::vector<Bytes>& descs) {
  Bytes inner;
  for (const auto& d : descs) inner.chunk("DESC", d);
  for (std::size_t i = 0; i < descs.size(); ++i) inner.chunk("TOBJ", Bytes());
  return Bytes().chunk("OBJ ", inner);
}

const std::vector<Point> kTriangle = {{{0, 0, 0}}, {{65536, 0, 0}}, {{0, 65536, 0}}};
const std::vector<std::pair<int, int>> kTriangleEdges = {{0, 1}, {1, 2}, {2, 0}};

// A triangle object with this face colour and nothing else.
Bytes triangleDesc(const std::string& object_name, Rgb face_colour) {
  Bytes d;
  if (!object_name.empty()) d.chunk("NAME", name(object_name));
  d.chunk("PNTS", points(kTriangle))
      .chunk("EDGE", edges(kTriangleEdges))
      .chunk("FACE", faces({{{0, 1, 2}}}))
      .chunk("CLST", colourList({face_colour}));
  return d;
}

// Four points, five edges, three faces of two materials, both triangle rules, every list.
Bytes cubeDesc() {
  return Bytes()
      .chunk("NAME", name("Cube"))
      .chunk("SHAP", Bytes().u16(2).u16(0))
      .chunk("PNTS",
             points({{{0, 0, 0}}, {{65536, 0, 0}}, {{0, 65536, 0}}, {{65536, -131072, 32768}}}))
      .chunk("EDGE", edges({{0, 1}, {1, 2}, {2, 0}, {1, 3}, {3, 0}}))
      .chunk("FACE", faces({{{0, 1, 2}}, {{3, 4, 0}}, {{1, 4, 3}}}))
      .chunk("COLR", colour(200, 200, 200))
      .chunk("REFL", colour(1, 2, 3))
      .chunk("TRAN", colour(4, 5, 6))
      .chunk("CLST", colourList({{{255, 128, 0}}, {{255, 128, 0}}, {{0, 0, 255}}}))
      .chunk("RLST", colourList({{{64, 64, 64}}, {{64, 64, 64}}, {{64, 64, 64}}}))
      .chunk("TLST", colourList({{{0, 0, 0}}, {{0, 0, 0}}, {{255, 255, 255}}}))
      .chunk("PRP1", prp1(1));
}

std::vector<std::uint8_t> cubeFile() {
  return tddd(Bytes().chunk("INFO", Bytes().text("Imagine 3.0 ")).append(objChunk({cubeDesc()})));
}

// Several objects: nested, unnamed, points only, sharing materials.
std::vector<std::uint8_t> sceneFile() {
  const Bytes base = triangleDesc("Base", {{255, 0, 0}});
  Bytes child;  // no name: it keeps the one read before
  child.chunk("PNTS", points(kTriangle))
      .chunk("EDGE", edges(kTriangleEdges))
      .chunk("FACE", faces({{{0, 1, 2}}, {{0, 1, 2}}}))
      .chunk("CLST", colourList({{{255, 0, 0}}, {{0, 255, 0}}}));
  Bytes only_points;
  only_points.chunk("NAME", name("Solo punti"))
      .chunk("PNTS", points({{{65536, 65536, 65536}}, {{0, 0, 0}}}));
  return tddd(Bytes()
                  .append(objChunk({base, child}))
                  .chunk("XXXX", Bytes().text("skip"))
                  .append(objChunk({only_points}))
                  .append(objChunk({triangleDesc("Ultimo", {{0, 255, 0}})})));
}

const char* kObjHeader =
    "# Da Tarvelo  versione beta 0.4\n"
    "# Nome del file originale:  scene.iff\n"
    "# Formato del file originale:  Imagine\n"
    "\n"
    "mtllib out.mtl\n"
    "\n";
const char* kMtlHeader =
    "# Da Tarvelo  versione beta 0.4\n"
    "# Nome del file originale:  scene.iff\n"
    "# Formato del file originale:  Imagine\n"
    "\n";

std::string totals(int objects, int vertices, int polygons) {
  return "# Numero totale di oggetti " + std::to_string(objects) +
         "\n# Numero totale dei vertici " + std::to_string(vertices) +
         "\n# Numero totale dei poligoni " + std::to_string(polygons) + "\n\n";
}

// The OBJ body after the header, and the MTL body after its header.
std::string objBody(const Conversion& r) {
  const auto at = r.obj.find("poligoni ");
  const auto body = r.obj.find("\n\n", at);
  return body == std::string::npos ? std::string() : r.obj.substr(body + 2);
}
std::string mtlBody(const Conversion& r) {
  return r.mtl.substr(std::string(kMtlHeader).size());
}

// The lines of text that begin with prefix.
std::vector<std::string> linesStarting(const std::string& text, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& line : lines(text)) {
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  }
  return out;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(Imagine, OneObjectConvertsToExactText) {
  Converter c;
  const auto bytes = cubeFile();
  const auto r = c.convert(bytes);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.obj, std::string(kObjHeader) + totals(1, 4, 3) +
                       "# Numero dei vertici dell'oggetto  4\n"
                       "g Cube\n"
                       "v 0 0 0\n"
                       "v 1 0 0\n"
                       "v 0 1 0\n"
                       "v 1 -2 0.5\n"
                       "# Numero dei poligoni dell'oggetto  3\n"
                       "usemtl Material1\n"
                       "f 3 2 1\n"
                       "f 1 4 2\n"
                       "usemtl Material2\n"
                       "f 2 3 4\n");
  EXPECT_EQ(r.mtl, std::string(kMtlHeader) +
                       "newmtl Material1\n"
                       "illum 2\n"
                       "Kd 1.000 0.502 0.000\n"
                       "Ka 0.00 0.00 0.00\n"
                       "Ks 0.251 0.251 0.251\n"
                       "Ns 8.00\n"
                       "Tf 1.000 1.000 1.000\n"
                       "newmtl Material2\n"
                       "illum 2\n"
                       "Kd 0.000 0.000 1.000\n"
                       "Ka 0.00 0.00 0.00\n"
                       "Ks 0.251 0.251 0.251\n"
                       "Ns 8.00\n"
                       "Tf 0.000 0.000 0.000\n");
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "1");
  EXPECT_EQ(c.label("Out_Numero_Vertici"), "4");
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "3");
  EXPECT_EQ(c.label("Out_Formato"), "Imagine");

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
  EXPECT_EQ(r.obj, std::string(kObjHeader) + totals(3, 11, 4) +
                       "# Numero dei vertici dell'oggetto  3\n"
                       "g Base\n"
                       "v 0 0 0\n"
                       "v 1 0 0\n"
                       "v 0 1 0\n"
                       "# Numero dei poligoni dell'oggetto  1\n"
                       "usemtl Material1\n"
                       "f 3 2 1\n"
                       // The nested object keeps the name read before, and starts with its
                       // "usemtl" though the last face had the same material.
                       "# Numero dei vertici dell'oggetto  3\n"
                       "g Base\n"
                       "v 0 0 0\n"
                       "v 1 0 0\n"
                       "v 0 1 0\n"
                       "# Numero dei poligoni dell'oggetto  2\n"
                       "usemtl Material1\n"
                       "f 6 5 4\n"
                       "usemtl Material2\n"
                       "f 6 5 4\n"
                       // Points only: not counted, but its points are numbered.
                       "# Numero dei vertici dell'oggetto  2\n"
                       "g Solo_punti\n"
                       "v 1 1 1\n"
                       "v 0 0 0\n"
                       "# Numero dei vertici dell'oggetto  3\n"
                       "g Ultimo\n"
                       "v 0 0 0\n"
                       "v 1 0 0\n"
                       "v 0 1 0\n"
                       "# Numero dei poligoni dell'oggetto  1\n"
                       "usemtl Material2\n"
                       "f 11 10 9\n");
  // Only the objects that first used a material give its entry; no list covered the
  // reflection or the transparency.
  EXPECT_EQ(
      mtlBody(r),
      "newmtl Material1\nillum 2\nKd 1.000 0.000 0.000\nKa 0.00 0.00 0.00\nTf 1.000 1.000 1.000\n"
      "newmtl Material2\nillum 2\nKd 0.000 1.000 0.000\nKa 0.00 0.00 0.00\nTf 1.000 1.000 1.000\n");
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "3");
  EXPECT_EQ(c.label("Out_Numero_Vertici"), "11");
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "4");
}

TEST(Imagine, ObjectsWithoutPointsOrFacesAreNotWritten) {
  Converter c;
  Bytes faces_only;
  faces_only.chunk("EDGE", edges(kTriangleEdges)).chunk("FACE", faces({{{0, 1, 2}}}));
  Bytes empty_lists;  // counts of 0: written and counted, three lines
  empty_lists.chunk("NAME", name("Vuoto")).chunk("PNTS", points({})).chunk("FACE", faces({}));
  const auto r =
      c.convert(tddd(objChunk({faces_only, Bytes(), empty_lists, triangleDesc("T", {{1, 2, 3}})})));
  EXPECT_EQ(objBody(r),
            "# Numero dei poligoni dell'oggetto  1\n"
            "# Numero dei vertici dell'oggetto  0\n"
            "g Vuoto\n"
            "# Numero dei poligoni dell'oggetto  0\n"
            "# Numero dei vertici dell'oggetto  3\n"
            "g T\n"
            "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
            "# Numero dei poligoni dell'oggetto  1\n"
            "usemtl Material1\n"
            "f 3 2 1\n");
  // The faces of the object without points still count, as its comment line says.
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "2");
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "2");
}

TEST(Imagine, ASecondPointListCountsTheFirstOnesLines) {
  Bytes twice;
  twice.chunk("PNTS", points({{{0, 0, 0}}, {{0, 0, 0}}})).append(triangleDesc("Due", {{0, 0, 0}}));
  Converter c;
  const auto r = c.convert(tddd(objChunk({twice, triangleDesc("Poi", {{0, 0, 0}})})));
  EXPECT_EQ(linesStarting(r.obj, "f "), (Strings{"f 5 4 3", "f 8 7 6"}));
  EXPECT_EQ(linesStarting(r.obj, "v ").size(), 8u);
  EXPECT_EQ(c.label("Out_Numero_Vertici"), "8");
}

TEST(Imagine, NamesDropControlBytesAndReplaceDotsAndBlanks) {
  const std::vector<std::pair<Bytes, std::string>> cases = {
      {name("Cube"), "Cube"},
      {name("My.Obj 1"), "My_Obj_1"},
      {name(std::string("AB\0CD", 5)), "ABCD"},
      {name(""), "Oggetto"},
      {name("\xE9t\x7F"), "\xC3\xA9t_"},  // Latin-1 é; DEL breaks no line
      {Bytes().text("Lungo").append(name("")).text("XY"), "Lungo"},  // 20 bytes: 18 read
      {Bytes().text("Corto"), "Corto"},                              // 5 bytes, odd: a pad follows
  };
  for (const auto& [field, expected] : cases) {
    Converter c;
    Bytes d;
    d.chunk("NAME", field).chunk("PNTS", points(kTriangle));
    const auto r = c.convert(tddd(objChunk({d, triangleDesc("", {{1, 1, 1}})})));
    EXPECT_EQ(linesStarting(r.obj, "g "), (Strings{"g " + expected, "g " + expected})) << expected;
  }
}

TEST(Imagine, TrianglesFollowTheSharedPointOfTheFirstTwoEdges) {
  struct Case {
    std::vector<std::pair<int, int>> edge_list;
    std::array<int, 3> face;
    std::string line;
  };
  const std::vector<Case> cases = {
      {{{0, 1}, {1, 2}, {2, 0}}, {{0, 1, 2}}, "f 3 2 1"},   // second edge starts at b: (d, b, a)
      {{{0, 1}, {2, 1}, {2, 0}}, {{0, 1, 2}}, "f 1 2 3"},   // it does not: (a, b, c)
      {{{5, 7}, {5, 9}, {9, 7}}, {{0, 1, 2}}, "f 10 8 6"},  // starts at a: (d, b, a)
  };
  for (const auto& k : cases) {
    Converter c;
    std::vector<Point> ten(10, Point{{0, 0, 0}});
    Bytes d;
    d.chunk("PNTS", points(ten)).chunk("EDGE", edges(k.edge_list)).chunk("FACE", faces({k.face}));
    const auto r = c.convert(tddd(objChunk({d})));
    EXPECT_EQ(linesStarting(r.obj, "f "), Strings{k.line});
  }
}

TEST(Imagine, SpecularColourReplacesReflectionOnlyWhenGivenFirst) {
  auto convert = [](bool spc1_first) {
    Bytes d = triangleDesc("S", {{0, 0, 0}});
    if (spc1_first) d.chunk("SPC1", colour(10, 20, 30));
    d.chunk("RLST", colourList({{{64, 64, 64}}}));
    if (!spc1_first) d.chunk("SPC1", colour(10, 20, 30));
    d.chunk("PRP1", prp1(1));
    Converter c;
    return linesStarting(c.convert(tddd(objChunk({d}))).mtl, "Ks ");
  };
  EXPECT_EQ(convert(true), Strings{"Ks 0.039 0.078 0.118"});
  EXPECT_EQ(convert(false), Strings{"Ks 0.251 0.251 0.251"});

  // The specular colour belongs to its object: the next one's faces take their own reflection.
  Bytes first = triangleDesc("S", {{0, 0, 0}});
  first.chunk("SPC1", colour(10, 20, 30))
      .chunk("RLST", colourList({{{64, 64, 64}}}))
      .chunk("PRP1", prp1(1));
  Bytes second = triangleDesc("T", {{0, 0, 0}});
  second.chunk("RLST", colourList({{{64, 64, 64}}})).chunk("PRP1", prp1(1));
  Converter c;
  EXPECT_EQ(linesStarting(c.convert(tddd(objChunk({first, second}))).mtl, "Ks "),
            (Strings{"Ks 0.039 0.078 0.118", "Ks 0.251 0.251 0.251"}));
}

TEST(Imagine, PhongFlagOfExactlyOneAddsTheSpecularPair) {
  auto mtl = [](const Bytes& property_chunk) {
    Bytes d = triangleDesc("P", {{255, 255, 255}});
    d.append(property_chunk);
    Converter c;
    return mtlBody(c.convert(tddd(objChunk({d}))));
  };
  const std::string five = "newmtl Material1\nillum 2\nKd 1.000 1.000 1.000\nKa 0.00 0.00 0.00\n";
  const std::string tf = "Tf 1.000 1.000 1.000\n";
  EXPECT_EQ(mtl(Bytes().chunk("PRP1", prp1(0))), five + tf);
  EXPECT_EQ(mtl(Bytes().chunk("PRP1", prp1(1))), five + "Ks 0.000 0.000 0.000\nNs 8.00\n" + tf);
  EXPECT_EQ(mtl(Bytes().chunk("PRP1", prp1(2))), five + tf);
  EXPECT_EQ(mtl(Bytes().chunk("PRP0", prp0(1))), five + "Ks 0.000 0.000 0.000\nNs 8.00\n" + tf);
  EXPECT_EQ(mtl(Bytes().chunk("PRP0", prp0(2))), five + tf);

  // The flag belongs to its object: the next one's new material has no specular pair.
  Bytes with = triangleDesc("A", {{1, 0, 0}});
  with.chunk("PRP1", prp1(1));
  Converter c;
  const auto r = c.convert(tddd(objChunk({with, triangleDesc("B", {{2, 0, 0}})})));
  EXPECT_EQ(linesStarting(r.mtl, "Ns ").size(), 1u);
  EXPECT_EQ(linesStarting(r.mtl, "newmtl ").size(), 2u);
}

TEST(Imagine, EveryKeyHasItsThreePartsWhateverTheLists) {
  // Lists in reverse order give the same key as in order; faces beyond the lists are white,
  // without reflection, opaque.
  Bytes d;
  d.chunk("PNTS", points(kTriangle))
      .chunk("EDGE", edges(kTriangleEdges))
      .chunk("FACE", faces({{{0, 1, 2}}, {{0, 1, 2}}}))
      .chunk("TLST", colourList({{{51, 51, 51}}}))
      .chunk("RLST", colourList({{{128, 128, 128}}}))
      .chunk("CLST", colourList({{{255, 0, 0}}}))
      .chunk("PRP1", prp1(1));
  Converter c;
  const auto r = c.convert(tddd(objChunk({d})));
  EXPECT_EQ(mtlBody(r),
            "newmtl Material1\nillum 2\nKd 1.000 0.000 0.000\nKa 0.00 0.00 0.00\n"
            "Ks 0.502 0.502 0.502\nNs 8.00\nTf 0.800 0.800 0.800\n"
            "newmtl Material2\nillum 2\nKd 1.000 1.000 1.000\nKa 0.00 0.00 0.00\n"
            "Ks 0.000 0.000 0.000\nNs 8.00\nTf 1.000 1.000 1.000\n");
}

TEST(Imagine, NothingOfAnEarlierConversionReachesTheNext) {
  Converter c;
  c.convert(cubeFile());  // named, phong 1, coloured faces
  Bytes d;                // no name, no property chunk, no colour list
  d.chunk("PNTS", points(kTriangle))
      .chunk("EDGE", edges(kTriangleEdges))
      .chunk("FACE", faces({{{0, 1, 2}}, {{0, 1, 2}}, {{0, 1, 2}}}));
  const auto r = c.convert(tddd(objChunk({d})));
  EXPECT_EQ(linesStarting(r.obj, "g"), Strings{"g "});
  EXPECT_EQ(linesStarting(r.obj, "usemtl "), Strings{"usemtl Material1"});
  EXPECT_EQ(
      mtlBody(r),
      "newmtl Material1\nillum 2\nKd 1.000 1.000 1.000\nKa 0.00 0.00 0.00\nTf 1.000 1.000 1.000\n");
}

namespace {
// Odd "INFO" and unknown chunks at the top, an odd unknown chunk in "OBJ ", odd lists last
// in their "DESC", an odd "DESC", a "TOBJ" stating a body, chunks longer than their fields.
std::vector<std::uint8_t> paddedFile() {
  Bytes d = triangleDesc("Pad", {{255, 0, 0}});
  d.chunk("TLST", colourList({{{0, 0, 0}}}))
      .chunkWithLength("COLR", 6, colour(1, 2, 3).u16(0))
      .chunkWithLength("PRP1", 10, prp1(1).u16(0))
      .chunk("RLST", colourList({{{0, 0, 0}}}));
  Bytes odd;  // its last list ends it without a pad: the pad follows the "DESC"
  odd.chunk("PNTS", points(kTriangle))
      .chunk("EDGE", edges(kTriangleEdges))
      .chunk("FACE", faces({{{0, 1, 2}}}))
      .chunk("CLST", colourList({{{0, 0, 255}}}), false);
  const Bytes inner = Bytes()
                          .chunk("DESC", d)
                          .chunk("DESC", odd)
                          .chunk("ODD!", Bytes().u8(7))
                          .chunkWithLength("TOBJ", 2, Bytes().u16(0));
  return tddd(
      Bytes().chunk("INFO", Bytes().text("abc")).chunk("ZZZZ", Bytes().u8(1)).chunk("OBJ ", inner));
}
}  // namespace

TEST(Imagine, OddChunksAndTheirPadBytesKeepTheWalkInStep) {
  Converter c;
  const auto r = c.convert(paddedFile());
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(linesStarting(r.obj, "f "), (Strings{"f 3 2 1", "f 6 5 4"}));
  EXPECT_EQ(linesStarting(r.mtl, "Ns "), Strings{"Ns 8.00"});
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "2");
}

TEST(Imagine, CountsFrom32768AreUnsigned) {
  std::vector<Point> many(40000, Point{{65536, 0, 0}});
  Bytes d;
  d.chunk("PNTS", points(many))
      .chunk("EDGE", edges({{39999, 0}, {0, 1}}))
      .chunk("FACE", faces({{{0, 1, 0}}}));
  Converter c;
  const auto r = c.convert(tddd(objChunk({d})));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(c.label("Out_Numero_Vertici"), "40000");
  EXPECT_EQ(linesStarting(r.obj, "f "), Strings{"f 2 1 40000"});
}

namespace {
// Converts and expects the conversion to end with this one message and no output file.
void expectRefused(const std::vector<std::uint8_t>& bytes, const std::string& message) {
  Converter c;
  const auto r = c.convert(bytes);
  EXPECT_EQ(r.messages, Strings{message});
  EXPECT_EQ(r.files, Strings{"scene.iff"});
  EXPECT_EQ(c.host.closed_titles, Strings{"Progress"});
  EXPECT_TRUE(c.window->stream->IsClosed());
}

std::string damaged(const std::string& rest) {
  return "Il file è danneggiato: " + rest;
}
}  // namespace

TEST(Imagine, ChunksThatLeaveTheirParentAreRefused) {
  Bytes overrun;  // "PNTS" states more than its "DESC" holds
  overrun.chunkWithLength("PNTS", 100, points(kTriangle));
  expectRefused(tddd(objChunk({overrun})),
                damaged("il blocco \"PNTS\" dichiara 100 byte, ma ne restano 38."));

  Bytes half_header;  // 4 bytes left in the "DESC": no room for a header
  half_header.append(triangleDesc("H", {{0, 0, 0}})).text("ABCD");
  expectRefused(
      tddd(objChunk({half_header})),
      damaged("il blocco \"DESC\" finisce a metà dell'intestazione di un blocco interno."));
}

TEST(Imagine, BodiesTooShortForTheirFieldsAreRefused) {
  auto with = [](const Bytes& extra) {
    Bytes d = triangleDesc("X", {{0, 0, 0}});
    return tddd(objChunk({d.append(extra)}));
  };
  expectRefused(with(Bytes().chunk("SPC1", Bytes().u8(0).u8(9))),
                damaged("il blocco \"SPC1\" è lungo 2 byte, ma ne servono 4."));
  expectRefused(with(Bytes().chunk("PRP1", Bytes().u32(0))),
                damaged("il blocco \"PRP1\" è lungo 4 byte, ma ne servono 8."));
  // A count that its body can't hold.
  expectRefused(with(Bytes().chunk("TLST", Bytes().u16(3).u8(1).u8(2).u8(3))),
                damaged("il blocco \"TLST\" è lungo 5 byte, ma ne servono 11."));
}

TEST(Imagine, FacesMayNameOnlyTheirObjectsEdgesAndPoints) {
  Bytes beyond;
  beyond.chunk("PNTS", points(kTriangle))
      .chunk("EDGE", edges(kTriangleEdges))
      .chunk("FACE", faces({{{0, 3, 1}}}));
  expectRefused(tddd(objChunk({beyond})),
                damaged("la faccia 1 di un oggetto usa lo spigolo 3, ma l'oggetto ne ha 3."));

  // The first object's edges are no longer there for the second.
  Bytes no_edges;
  no_edges.chunk("PNTS", points(kTriangle)).chunk("FACE", faces({{{0, 1, 2}}}));
  expectRefused(tddd(objChunk({triangleDesc("A", {{0, 0, 0}}), no_edges})),
                damaged("la faccia 1 di un oggetto usa lo spigolo 0, ma l'oggetto ne ha 0."));

  Bytes far_point;
  far_point.chunk("PNTS", points(kTriangle))
      .chunk("EDGE", edges({{0, 1}, {1, 5}}))
      .chunk("FACE", faces({{{0, 1, 0}}}));
  expectRefused(tddd(objChunk({far_point})),
                damaged("la faccia 1 di un oggetto usa il punto 5, ma l'oggetto ha 3 punti."));
}

TEST(Imagine, TablesFullStopWithTheirLimit) {
  const std::string full = ": è il massimo che Tarvelo può convertire.";
  Bytes pts;
  pts.chunk("PNTS", points(std::vector<Point>(50001, Point{{0, 0, 0}})));
  expectRefused(tddd(objChunk({pts})),
                "Il file contiene più di 50000 vertici in un oggetto" + full);

  Bytes many_edges;
  many_edges.chunk("EDGE", edges(std::vector<std::pair<int, int>>(25002, {0, 1})));
  expectRefused(tddd(objChunk({many_edges})),
                "Il file contiene più di 25001 spigoli in un oggetto" + full);

  Bytes many_faces;
  many_faces.chunk("FACE", faces(std::vector<std::array<int, 3>>(25001, {{0, 0, 0}})));
  expectRefused(tddd(objChunk({many_faces})),
                "Il file contiene più di 25000 facce in un oggetto" + full);

  Bytes long_list;
  long_list.chunk("CLST", colourList(std::vector<Rgb>(25001, Rgb{{0, 0, 0}})));
  expectRefused(tddd(objChunk({long_list})),
                "Il file contiene più di 25000 colori di faccia in un elenco" + full);
}

TEST(Imagine, EveryPrefixConvertsOrStopsCleanly) {
  for (const auto& file : {cubeFile(), sceneFile(), paddedFile()}) {
    expectEveryPrefixEndsCleanly(file, 1, true, {"OBJ ", "DESC"});
  }
}
