// Sculpt 3D and Envisage scenes converted to their exact OBJ and MTL text.
#include <gtest/gtest.h>

#include <array>

#include "app/progress.h"
#include "tests/conversion.h"

namespace {
using Point = std::array<std::int64_t, 3>;
using Lines = std::vector<std::string>;

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

// Faces of as many colours.
std::vector<Face> colouredFaces(int count) {
  std::vector<Face> faces;
  for (int k = 0; k < count; ++k) faces.push_back({0, 1, 2, k % 256, k / 256, 0, 0});
  return faces;
}

Lines linesStartingWith(const std::string& text, const std::string& prefix) {
  Lines out = lines(text);
  std::erase_if(out, [&](const std::string& l) { return !l.starts_with(prefix); });
  return out;
}
}  // namespace

TEST(Sculpt3D, ConvertsToExactObjAndMtl) {
  // Envisage reads 20-byte faces and no surface kind from their flags: its first two faces
  // share a material though their flags differ.
  for (const std::string type : {"SC3D", "AAPO"}) {
    const bool envisage = type == "AAPO";
    auto faces = kFaces;
    if (envisage) {
      faces[0].flags = 6;
      faces[2].flags = 5;
    }
    const std::string header =
        "# Da Tarvelo  versione beta 0.4\n# Nome del file originale:  tri.sc3d\n"
        "# Formato del file originale:  " +
        std::string(envisage ? "Envisage" : "Sculpt3D") + "\n\n";
    auto obj = [&](const std::string& vertices) {
      return header +
             "mtllib my scene.mtl\n\n# Numero totale di oggetti 1\n# Numero totale dei vertici 3\n"
             "# Numero totale dei poligoni 3\n\ng my scene.obj\n" +
             vertices + "usemtl Material1\nf 1 2 3\nf 1 3 2\nusemtl Material2\nf 2 3 1\n\n";
    };
    Converter c;
    const auto r = c.convert(scene(kPoints, faces, type), "tri.sc3d", "my scene.obj");
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(c.label("Out_Formato"), envisage ? "Envisage" : "Sculpt3D");
    EXPECT_EQ(r.obj, obj("v 1 2 -0.5\nv 0 0 0\nv 1 0 0\n"));
    EXPECT_EQ(r.mtl, header +
                         "newmtl Material1\nillum 2\nKd 1.000 0.000 0.502\nNi 1.00\n"
                         "Ka 0.000 0.000 0.000\n" +
                         (envisage ? "" : "Ks 0.500 0.500 0.500\nNs 8.00\n") +
                         "newmtl Material2\nillum 2\nKd 0.000 0.000 0.000\nNi 1.00\n"
                         "Ka 0.000 0.000 0.000\n");
    // Swapped axes change only the vertex lines; a zero y turned is still written "0".
    c.pressAxisSwitch();
    const auto swapped = c.convert(scene(kPoints, faces, type), "tri.sc3d", "my scene.obj");
    EXPECT_EQ(swapped.obj, obj("v 1 -0.5 -2\nv 0 0 0\nv 1 0 0\n"));
    EXPECT_EQ(swapped.mtl, r.mtl);
  }
}

TEST(Sculpt3D, MaterialsAreNumberedInFaceOrderInEachConversion) {
  Converter c;
  const Face a{0, 1, 2, 10, 20, 30, 0}, b{0, 1, 2, 40, 50, 60, 0};
  auto r = c.convert(scene(kPoints, {a, b, a}));
  EXPECT_EQ(linesStartingWith(r.obj, "usemtl"),
            (Lines{"usemtl Material1", "usemtl Material2", "usemtl Material1"}));
  EXPECT_EQ(linesStartingWith(r.mtl, "newmtl"), (Lines{"newmtl Material1", "newmtl Material2"}));
  // The next conversion numbers its materials from 1 again.
  r = c.convert(scene(kPoints, {b}));
  EXPECT_EQ(linesStartingWith(r.mtl, "newmtl"), Lines{"newmtl Material1"});
  EXPECT_EQ(linesStartingWith(r.mtl, "Kd"), Lines{"Kd 0.157 0.196 0.235"});
  // Exactly a thousand fit.
  r = c.convert(scene(kPoints, colouredFaces(1000)));
  EXPECT_EQ(linesStartingWith(r.mtl, "newmtl").back(), "newmtl Material1000");
}

TEST(Sculpt3D, SurfaceKindsFromTheFlags) {
  // The lines after "Ni 1.00" for each flags byte: bit 7 says nothing, kinds past 6 are 0.
  const std::vector<std::pair<int, Lines>> kinds = {
      {0, {"Ka 0.000 0.000 0.000"}},
      {1, {"Ka 0.000 0.000 0.000", "Ks 0.500 0.500 0.500", "Ns 8.00"}},
      {130, {"Ka 0.100 0.100 0.100", "Ks 0.600 0.600 0.600", "Ns 7.00"}},
      {3, {"Ka 0.900 0.900 0.900"}},
      {4, {"Ka 0.000 0.000 0.000", "Tf 0.300 0.300 0.300"}},
      {5, {"Ka 0.200 0.200 0.200", "Ks 0.800 0.800 0.800", "Ns 4.00"}},
      {6, {"Ka 0.100 0.100 0.100", "Tf 0.300 0.300 0.300", "Ks 0.800 0.800 0.800", "Ns 6.00"}},
      {7, {"Ka 0.000 0.000 0.000"}},
      {128, {"Ka 0.000 0.000 0.000"}},
      {135, {"Ka 0.000 0.000 0.000"}},
      {255, {"Ka 0.000 0.000 0.000"}},
  };
  // Faces of one colour: only their flags tell the materials apart.
  std::vector<Face> faces;
  Lines expected;
  for (const auto& [flags, lighting] : kinds) {
    faces.push_back({0, 1, 2, 255, 0, 128, flags});
    expected.insert(expected.end(), {"newmtl Material" + std::to_string(faces.size()), "illum 2",
                                     "Kd 1.000 0.000 0.502", "Ni 1.00"});
    expected.insert(expected.end(), lighting.begin(), lighting.end());
  }
  Converter c;
  const auto mtl = lines(c.convert(scene(kPoints, faces)).mtl);
  ASSERT_GT(mtl.size(), 4u);
  EXPECT_EQ(Lines(mtl.begin() + 4, mtl.end()), expected);
}

TEST(Sculpt3D, ChunksFollowEachOther) {
  // Faces before the points they use, other chunks (an odd one with its pad byte), an empty
  // "VERT", and a tail too short for a chunk header, which is ignored.
  Converter c;
  Bytes body;
  body.append(faceChunk({{3, 0, 3, 0, 0, 0, 0}}))
      .append(vertChunk({{0, 0, 0}, {65536, 0, 0}}))
      .chunk("EDGE", Bytes().u32(0).u32(1))
      .chunk("NAME", Bytes().text("odd"))
      .append(vertChunk({{0, 65536, 0}}))
      .append(faceChunk({{0, 1, 2, 1, 2, 3, 0}}))
      .append(vertChunk({}))
      .append(faceChunk({{2, 1, 0, 1, 2, 3, 0}}))
      .append(vertChunk({{2147483647, -2147483647 - 1, 1}}))
      .u32(0);
  auto r = c.convert(Form("SC3D", body));
  // Every point in file order, as stored; indices count in the whole list.
  EXPECT_EQ(
      linesStartingWith(r.obj, "v "),
      (Lines{"v 0 0 0", "v 1 0 0", "v 0 1 0", "v 32767.99998474121 -32768 1.52587890625e-05"}));
  EXPECT_EQ(linesStartingWith(r.obj, "f "), (Lines{"f 4 1 4", "f 1 2 3", "f 3 2 1"}));
  EXPECT_EQ(c.label("Out_Numero_Oggetti"), "4");  // one per "VERT", the empty one too
}

TEST(Sculpt3D, DamagedAndOversizedFilesEndWithAMessage) {
  const auto damaged = [](const std::string& what) { return "Il file è danneggiato: " + what; };
  const auto limit = [](const std::string& what) {
    return "Il file contiene più di " + what + ": è il massimo che Tarvelo può convertire.";
  };
  auto cut = scene(kPoints, kFaces);
  cut.resize(cut.size() - 3);
  auto past_form = scene(kPoints, kFaces, "AAPO");
  past_form[4] = past_form[5] = past_form[6] = 0;
  past_form[7] = 12;  // the FORM now ends with the first chunk's header
  const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
      {Form("SC3D", Bytes().chunkWithLength("VERT", 24, Bytes().u32(0).u32(0).u32(0))),
       damaged("il blocco \"VERT\" dichiara 24 byte, ma ne restano 12.")},
      {Form("SC3D", Bytes().chunkWithLength("EDGE", -4, Bytes())),
       damaged("il blocco \"EDGE\" dichiara -4 byte, ma ne restano 0.")},
      {Form("SC3D", Bytes().chunk("VERT", Bytes().u32(0).u32(0).u32(0).u8(0))),
       damaged("il blocco \"VERT\" è lungo 13 byte, che non è un multiplo di 12.")},
      {Form("AAPO", Bytes().chunk("FACE", Bytes().u32(0).u32(0).u32(0).u32(0))),
       damaged("il blocco \"FACE\" è lungo 16 byte, che non è un multiplo di 20.")},
      {cut,
       "Il file è troncato: finisce al byte 109, ma il suo contenuto dichiarato arriva al byte "
       "112."},
      {scene(kPoints, {kFaces[0], {0, 2, 3, 0, 0, 0, 0}}),
       damaged("il poligono 2 usa il vertice 4, ma il file ne ha solo 3.")},
      {scene(kPoints, {{0, 2147483647, 1, 0, 0, 0, 0}}, "AAPO"),
       damaged("il poligono 1 usa il vertice 2147483648, ma il file ne ha solo 3.")},
      {scene(kPoints, {{-1, 0, 1, 0, 0, 0, 0}}),
       damaged("il poligono 1 usa il vertice 0, ma il file ne ha solo 3.")},
      {Form("SC3D", faceChunk(kFaces)),
       damaged("il poligono 1 usa il vertice 1, ma il file non ne ha nessuno.")},
      {past_form, damaged("il blocco \"VERT\" dichiara 36 byte, ma ne restano 0.")},
      {Bytes().id("FORM").u32(2).id("SC3D").data(),
       damaged("il FORM dichiara 2 byte, meno dei 4 del suo tipo.")},
      // The points of every "VERT" count towards the limit.
      {Form("SC3D", Bytes()
                        .append(vertChunk(std::vector<Point>(40000, Point{0, 0, 0})))
                        .append(vertChunk(std::vector<Point>(10001, Point{1, 1, 1})))),
       limit("50000 vertici")},
      {scene(kPoints, std::vector<Face>(25001, Face{0, 1, 2, 0, 0, 0, 0})), limit("25000 facce")},
      {scene(kPoints, colouredFaces(1001)), limit("1000 materiali diversi")},
  };
  for (const auto& [bytes, message] : cases) {
    Converter c;
    auto r = c.convert(bytes, "bad.sc3d");
    EXPECT_EQ(r.messages, Lines{message});
    EXPECT_EQ(r.files, Lines{"bad.sc3d"});
    EXPECT_TRUE(c.window->stream->IsClosed());
    EXPECT_EQ(fw::FindOpenWindow(Progress::kClassName), nullptr);
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
