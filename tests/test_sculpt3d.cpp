// Sculpt 3D and Envisage scenes converted to their exact OBJ and MTL text.
#include <gtest/gtest.h>

#include <array>

#include "app/progress.h"
#include "tests/conversion.h"

namespace {
using Point = std::array<std::int64_t, 3>;

struct Face {
  std::int64_t a, b, c;
  int red, green, blue, flags;
};

Bytes vertChunk(const std::vector<Point>& points) {
  Bytes body;
  for (const auto& p : points) body.u32(p[0]).u32(p[1]).u32(p[2]);
  return Bytes().chunk("VERT", body);
}

Bytes faceChunk(const std::vector<Face>& faces, bool envisage = false) {
  Bytes body;
  for (const auto& f : faces) {
    body.u32(f.a).u32(f.b).u32(f.c);
    if (envisage) body.u32(0x12345678);
    body.u8(f.red).u8(f.green).u8(f.blue).u8(f.flags);
  }
  return Bytes().chunk("FACE", body);
}

std::vector<std::uint8_t> scene(const std::vector<Point>& points, const std::vector<Face>& faces,
                                const std::string& type = "SC3D") {
  return Form(type, Bytes().append(vertChunk(points)).append(faceChunk(faces, type == "AAPO")));
}

const std::vector<Point> kPoints = {{65536, 131072, -32768}, {0, 0, 0}, {65536, 0, 0}};
const std::vector<Face> kFaces = {
    {0, 1, 2, 255, 0, 128, 1}, {0, 2, 1, 255, 0, 128, 1}, {1, 2, 0, 0, 0, 0, 0}};

std::vector<std::uint8_t> cut(std::vector<std::uint8_t> bytes, size_t n) {
  bytes.resize(bytes.size() - n);
  return bytes;
}

std::string header(const char* source, const char* format) {
  return std::string("# Da Tarvelo  versione beta 0.4\n# Nome del file originale:  ") + source +
         "\n# Formato del file originale:  " + format + "\n\n";
}

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& l : lines(text)) {
    if (l.rfind(prefix, 0) == 0) out.push_back(l);
  }
  return out;
}
}  // namespace

TEST(Sculpt3D, ConvertsToExactObjAndMtl) {
  Converter c;
  auto r = c.convert(scene(kPoints, kFaces), "tri.sc3d", "out.obj");
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.obj, header("tri.sc3d", "Sculpt3D") +
                       "mtllib out.mtl\n\n"
                       "# Numero totale di oggetti 1\n"
                       "# Numero totale dei vertici 3\n"
                       "# Numero totale dei poligoni 3\n\n"
                       "g out.obj\n"
                       "v 1 2 -0.5\n"
                       "v 0 0 0\n"
                       "v 1 0 0\n"
                       "usemtl Material1\n"
                       "f 1 2 3\n"
                       "f 1 3 2\n"
                       "usemtl Material2\n"
                       "f 2 3 1\n"
                       "\n");
  EXPECT_EQ(r.mtl, header("tri.sc3d", "Sculpt3D") +
                       "newmtl Material1\n"
                       "illum 2\n"
                       "Kd 1.000 0.000 0.502\n"
                       "Ni 1.00\n"
                       "Ka 0.000 0.000 0.000\n"
                       "Ks 0.500 0.500 0.500\n"
                       "Ns 8.00\n"
                       "newmtl Material2\n"
                       "illum 2\n"
                       "Kd 0.000 0.000 0.000\n"
                       "Ni 1.00\n"
                       "Ka 0.000 0.000 0.000\n");
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "1");
  EXPECT_EQ(c.label("Out_Numero_Vertici"), "3");
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "3");
  EXPECT_EQ(c.label("Out_Formato"), "Sculpt3D");
}

TEST(Sculpt3D, SwappedAxesChangeOnlyTheVertexLines) {
  Converter c;
  const auto plain = c.convert(scene(kPoints, kFaces), "tri.sc3d", "my scene.obj");
  c.pressAxisSwitch();
  const auto swapped = c.convert(scene(kPoints, kFaces), "tri.sc3d", "my scene.obj");
  auto expected = lines(plain.obj);
  EXPECT_EQ(expected[10], "g my scene.obj");
  expected[11] = "v 1 -0.5 -2";
  expected[12] = "v 0 0 0";  // a zero y turned is still written "0"
  expected[13] = "v 1 0 0";
  EXPECT_EQ(lines(swapped.obj), expected);
  EXPECT_EQ(swapped.mtl, plain.mtl);
}

TEST(Sculpt3D, EnvisageReadsWiderFacesWithoutFlags) {
  Converter c;
  auto faces = kFaces;
  faces[2].flags = 5;  // Envisage's last byte is not the surface kind
  faces[0].flags = 6;
  auto r = c.convert(scene(kPoints, faces, "AAPO"), "e.iff", "e.obj");
  EXPECT_EQ(r.obj, header("e.iff", "Envisage") +
                       "mtllib e.mtl\n\n"
                       "# Numero totale di oggetti 1\n"
                       "# Numero totale dei vertici 3\n"
                       "# Numero totale dei poligoni 3\n\n"
                       "g e.obj\n"
                       "v 1 2 -0.5\n"
                       "v 0 0 0\n"
                       "v 1 0 0\n"
                       "usemtl Material1\n"
                       "f 1 2 3\n"
                       "f 1 3 2\n"
                       "usemtl Material2\n"
                       "f 2 3 1\n"
                       "\n");
  EXPECT_EQ(r.mtl, header("e.iff", "Envisage") +
                       "newmtl Material1\n"
                       "illum 2\n"
                       "Kd 1.000 0.000 0.502\n"
                       "Ni 1.00\n"
                       "Ka 0.000 0.000 0.000\n"
                       "newmtl Material2\n"
                       "illum 2\n"
                       "Kd 0.000 0.000 0.000\n"
                       "Ni 1.00\n"
                       "Ka 0.000 0.000 0.000\n");
}

TEST(Sculpt3D, MaterialSwitchesFollowTheFaces) {
  Converter c;
  const Face a{0, 1, 2, 10, 20, 30, 0}, b{0, 1, 2, 40, 50, 60, 0};
  auto r = c.convert(scene(kPoints, {a, b, a}));
  EXPECT_EQ(linesStartingWith(r.obj, "usemtl"),
            (std::vector<std::string>{"usemtl Material1", "usemtl Material2", "usemtl Material1"}));
  EXPECT_EQ(linesStartingWith(r.mtl, "newmtl"),
            (std::vector<std::string>{"newmtl Material1", "newmtl Material2"}));

  // The next conversion numbers its materials from 1 again.
  r = c.convert(scene(kPoints, {b}));
  EXPECT_EQ(linesStartingWith(r.mtl, "newmtl"), std::vector<std::string>{"newmtl Material1"});
  EXPECT_EQ(linesStartingWith(r.mtl, "Kd"), std::vector<std::string>{"Kd 0.157 0.196 0.235"});
}

TEST(Sculpt3D, SurfaceKindsFromTheFlags) {
  const std::vector<std::pair<int, std::vector<std::string>>> kinds = {
      {0, {"Ka 0.000 0.000 0.000"}},
      {1, {"Ka 0.000 0.000 0.000", "Ks 0.500 0.500 0.500", "Ns 8.00"}},
      {130, {"Ka 0.100 0.100 0.100", "Ks 0.600 0.600 0.600", "Ns 7.00"}},  // bit 7 dropped
      {3, {"Ka 0.900 0.900 0.900"}},
      {4, {"Ka 0.000 0.000 0.000", "Tf 0.300 0.300 0.300"}},
      {5, {"Ka 0.200 0.200 0.200", "Ks 0.800 0.800 0.800", "Ns 4.00"}},
      {6, {"Ka 0.100 0.100 0.100", "Tf 0.300 0.300 0.300", "Ks 0.800 0.800 0.800", "Ns 6.00"}},
      {7, {"Ka 0.000 0.000 0.000"}},
      {128, {"Ka 0.000 0.000 0.000"}},
      {135, {"Ka 0.000 0.000 0.000"}},
      {255, {"Ka 0.000 0.000 0.000"}},
  };
  for (const auto& [flags, expected] : kinds) {
    Converter c;
    auto r = c.convert(scene(kPoints, {{0, 1, 2, 255, 0, 128, flags}}));
    auto mtl = lines(r.mtl);
    ASSERT_GE(mtl.size(), 8u);
    EXPECT_EQ(mtl[4], "newmtl Material1");
    EXPECT_EQ(mtl[6], "Kd 1.000 0.000 0.502");
    EXPECT_EQ(mtl[7], "Ni 1.00");
    EXPECT_EQ(std::vector<std::string>(mtl.begin() + 8, mtl.end()), expected) << flags;
    EXPECT_EQ(c.window->NomeMat(1), "R255G0B128M" + std::to_string(flags));
  }
}

TEST(Sculpt3D, ChunksFollowEachOther) {
  Converter c;
  Bytes body;
  body.append(vertChunk({{0, 0, 0}, {65536, 0, 0}}))
      .chunk("EDGE", Bytes().u32(0).u32(1))
      .chunk("NAME", Bytes().text("odd"))  // odd length: a pad byte follows
      .append(vertChunk({{0, 65536, 0}}))
      .append(faceChunk({{0, 1, 2, 1, 2, 3, 0}}))
      .append(vertChunk({}))
      .append(faceChunk({{2, 1, 0, 1, 2, 3, 0}}));
  auto r = c.convert(Form("SC3D", body));
  // Every point in file order; indices count in the whole list.
  EXPECT_EQ(linesStartingWith(r.obj, "v "),
            (std::vector<std::string>{"v 0 0 0", "v 1 0 0", "v 0 1 0"}));
  EXPECT_EQ(linesStartingWith(r.obj, "f "), (std::vector<std::string>{"f 1 2 3", "f 3 2 1"}));
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "3");  // one per "VERT", an empty one too
  EXPECT_EQ(c.label("Out_Numero_Vertici"), "3");
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "2");
}

TEST(Sculpt3D, ATailTooShortForAChunkIsIgnored) {
  Converter c;
  auto r =
      c.convert(Form("SC3D", Bytes().append(vertChunk(kPoints)).append(faceChunk(kFaces)).u32(0)));
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "3");
}

TEST(Sculpt3D, IndicesAndCoordinatesAreWrittenAsStored) {
  Converter c;
  // Faces may come before the points they use.
  auto r = c.convert(Form("SC3D", Bytes()
                                      .append(faceChunk({{1, 0, 1, 0, 0, 0, 0}}))
                                      .append(vertChunk({{2147483647, -2147483647 - 1, 1},
                                                         {0, 0, 0}}))));
  EXPECT_EQ(linesStartingWith(r.obj, "v "),
            (std::vector<std::string>{"v 32767.99998474121 -32768 1.52587890625e-05", "v 0 0 0"}));
  EXPECT_EQ(linesStartingWith(r.obj, "f "), std::vector<std::string>{"f 2 1 2"});
}

TEST(Sculpt3D, DamagedFilesEndWithAMessage) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* message;
  };
  Bytes thirteen;
  thirteen.u32(0).u32(0).u32(0).u8(0);
  const Case cases[] = {
      {"chunk past the data",
       Form("SC3D", Bytes().chunkWithLength("VERT", 24, Bytes().u32(0).u32(0).u32(0))),
       "Il file è danneggiato: il blocco \"VERT\" dichiara 24 byte, ma ne restano 12."},
      {"negative length", Form("SC3D", Bytes().chunkWithLength("EDGE", -4, Bytes())),
       "Il file è danneggiato: il blocco \"EDGE\" dichiara -4 byte, ma ne restano 0."},
      {"partial record", Form("SC3D", Bytes().chunk("VERT", thirteen)),
       "Il file è danneggiato: il blocco \"VERT\" è lungo 13 byte, che non è un multiplo di 12."},
      {"partial face", Form("AAPO", Bytes().chunk("FACE", Bytes().u32(0).u32(0).u32(0).u32(0))),
       "Il file è danneggiato: il blocco \"FACE\" è lungo 16 byte, che non è un multiplo di 20."},
      {"cut short", cut(scene(kPoints, kFaces), 3),
       "Il file è troncato: finisce al byte 109, ma il suo contenuto dichiarato arriva al byte "
       "112."},
      {"face past the points", scene(kPoints, {kFaces[0], {0, 2, 3, 0, 0, 0, 0}}),
       "Il file è danneggiato: il poligono 2 usa il vertice 4, ma il file ne ha solo 3."},
      {"largest index", scene(kPoints, {{0, 2147483647, 1, 0, 0, 0, 0}}, "AAPO"),
       "Il file è danneggiato: il poligono 1 usa il vertice 2147483648, ma il file ne ha solo 3."},
      {"negative index", scene(kPoints, {{-1, 0, 1, 0, 0, 0, 0}}),
       "Il file è danneggiato: il poligono 1 usa il vertice 0, ma il file ne ha solo 3."},
      {"faces without points", Form("SC3D", faceChunk(kFaces)),
       "Il file è danneggiato: il poligono 1 usa il vertice 1, ma il file non ne ha nessuno."},
      {"chunk past the FORM",
       [] {
         auto bytes = scene(kPoints, kFaces, "AAPO");
         bytes[7] = 12;  // the FORM now ends with the first chunk's header
         bytes[6] = bytes[5] = bytes[4] = 0;
         return bytes;
       }(),
       "Il file è danneggiato: il blocco \"VERT\" dichiara 36 byte, ma ne restano 0."},
      {"FORM too short for its type", Bytes().id("FORM").u32(2).id("SC3D").data(),
       "Il file è danneggiato: il FORM dichiara 2 byte, meno dei 4 del suo tipo."},
  };
  for (const Case& k : cases) {
    Converter c;
    auto r = c.convert(k.bytes, "bad.sc3d");
    EXPECT_EQ(r.messages, std::vector<std::string>{k.message}) << k.what;
    EXPECT_EQ(r.files, std::vector<std::string>{"bad.sc3d"}) << k.what;
    EXPECT_TRUE(c.window->stream->IsClosed());
    EXPECT_EQ(fw::FindOpenWindow(Progress::kClassName), nullptr);
  }
}

TEST(Sculpt3D, FilesBeyondTheTablesStopWithTheLimit) {
  {
    std::vector<Point> points(40000, Point{0, 0, 0});
    Converter c;
    auto body = Bytes()
                    .append(vertChunk(points))
                    .append(vertChunk(std::vector<Point>(10001, Point{1, 1, 1})));
    auto r = c.convert(Form("SC3D", body));
    EXPECT_EQ(
        r.messages,
        std::vector<std::string>{
            "Il file contiene più di 50000 vertici: è il massimo che Tarvelo può convertire."});
    EXPECT_EQ(r.files.size(), 1u);
  }
  {
    Converter c;
    auto r = c.convert(scene(kPoints, std::vector<Face>(25001, Face{0, 1, 2, 0, 0, 0, 0})));
    EXPECT_EQ(r.messages,
              std::vector<std::string>{
                  "Il file contiene più di 25000 facce: è il massimo che Tarvelo può convertire."});
  }
  {
    std::vector<Face> faces;
    for (int k = 0; k < 1001; ++k) faces.push_back({0, 1, 2, k % 256, k / 256, 0, 0});
    Converter c;
    auto r = c.convert(scene(kPoints, faces));
    EXPECT_EQ(r.messages,
              std::vector<std::string>{"Il file contiene più di 1000 materiali diversi: è il "
                                       "massimo che Tarvelo può convertire."});
    EXPECT_EQ(r.files.size(), 1u);
    faces.pop_back();  // exactly a thousand fit
    r = c.convert(scene(kPoints, faces));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(linesStartingWith(r.mtl, "newmtl").back(), "newmtl Material1000");
  }
}

TEST(Sculpt3D, EveryTruncationConvertsOrEndsWithAMessage) {
  for (const char* type : {"SC3D", "AAPO"}) {
    expectEveryPrefixEndsCleanly(
        Form(type, Bytes()
                       .chunk("INFO", Bytes().text("abc"))
                       .append(vertChunk(kPoints))
                       .append(faceChunk(kFaces, std::string(type) == "AAPO"))),
        1, true);
  }
}
