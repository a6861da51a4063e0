// The road of one conversion: file choice, header check, output pair, result labels, and
// how each failure ends it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/progress.h"
#include "framework/files.h"
#include "framework/host.h"
#include "tests/conversion.h"

namespace {
// A Sculpt 3D scene with one triangle.
std::vector<std::uint8_t> triangle() {
  Bytes verts, faces;
  verts.u32(0).u32(0).u32(0).u32(65536).u32(0).u32(0).u32(0).u32(65536).u32(0);
  faces.u32(0).u32(1).u32(2).u8(255).u8(255).u8(255).u8(0);
  return Form("SC3D", Bytes().chunk("VERT", verts).chunk("FACE", faces));
}

std::vector<std::string> resultLabels(Converter& c) {
  return {c.label("Out_Nome_File"), c.label("Out_Numero_Oggetti"), c.label("Out_Numero_Vertici"),
          c.label("Out_Numero_Poligoni"), c.label("Out_Formato")};
}
}  // namespace

TEST(Driver, OpenDialogChoosesTheFileOrIsCancelled) {
  Converter c;
  c.window->Drag_Flag = false;
  fw::RunHandler([&] { c.window->Legge_File(); });  // cancelled: nothing happens
  EXPECT_EQ(c.host.open_dialogs, 1);
  EXPECT_TRUE(c.host.messages.empty());
  EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"", "0", "0", "0", ""}));
  EXPECT_TRUE(c.dir.files().empty());

  c.host.open_answers.push_back(c.dir.write("tri.sc3d", triangle()));
  c.host.save_answers.push_back(c.dir.path() / "tri.obj");
  fw::RunHandler([&] { c.window->Legge_File(); });
  EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"tri.sc3d", "1", "3", "1", "Sculpt3D"}));
  EXPECT_EQ(c.dir.files(), (std::vector<std::string>{"tri.mtl", "tri.obj", "tri.sc3d"}));
}

TEST(Driver, UnknownFilesAreRefused) {
  const std::vector<std::vector<std::uint8_t>> refused = {
      Form("ILBM", Bytes().chunk("BMHD", Bytes().u32(0))),
      Bytes().id("SC3D").u32(4).id("SC3D").data(),  // no FORM before the type
      {'F', 'O'},
      {},
  };
  for (const auto& bytes : refused) {
    Converter c;
    auto r = c.convert(bytes, "picture.iff");
    EXPECT_EQ(r.messages, std::vector<std::string>{"Formato sconosciuto"});
    EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"picture.iff", "0", "0", "0", ""}));
    EXPECT_EQ(r.files, std::vector<std::string>{"picture.iff"});
    EXPECT_TRUE(c.host.proposed_names.empty());
    EXPECT_TRUE(c.window->stream->IsClosed());
  }
}

TEST(Driver, ProposedAndMaterialFileNames) {
  struct Case {
    const char* source;
    const char* proposed;
    const char* saved;
    const char* mtl;
  };
  const Case cases[] = {
      {"cube.lwo", "cube_lwo.obj", "cube_lwo.obj", "cube_lwo.mtl"},
      {"my.model.iff", "my_model.iff.obj", "a.obj.obj", "a.mtl.obj"},
      {"plain", "plain.obj", "A.OBJ", "A.mtl"},
      {"x.sc3d", "x_sc3d.obj", "model", "model.mtl"},  // never the OBJ file itself
  };
  for (const Case& k : cases) {
    Converter c;
    auto r = c.convert(triangle(), k.source, k.saved);
    EXPECT_EQ(c.host.proposed_names, std::vector<std::string>{k.proposed});
    EXPECT_EQ(lines(r.obj).at(4), std::string("mtllib ") + k.mtl);
    EXPECT_TRUE(std::filesystem::exists(c.dir.path() / k.mtl)) << k.mtl;
    EXPECT_EQ(c.window->NomeFile, k.saved);
  }
}

TEST(Driver, AnObjectWithoutPointsIsSaidAndWrittenAnyway) {
  Converter c;
  auto r = c.convert(Form("SC3D", Bytes()));
  EXPECT_EQ(r.messages, std::vector<std::string>{"l'oggetto non contiene vertici"});
  auto obj = lines(r.obj);
  ASSERT_EQ(obj.size(), 12u);
  EXPECT_EQ(obj[10], "g out.obj");
  EXPECT_EQ(obj[11], "");
  EXPECT_EQ(lines(r.mtl).size(), 4u);
}

TEST(Driver, CancelledSaveDialogWritesNothing) {
  Converter c;
  auto r = c.convert(triangle(), "tri.sc3d", "");
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.files, std::vector<std::string>{"tri.sc3d"});
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "1");
}

TEST(Driver, SourceThatCannotBeOpenedEndsWithAMessage) {
  Converter c;
  ASSERT_EQ(::mkfifo((c.dir.path() / "pipe.sc3d").c_str(), 0600), 0);
  for (auto [name, message] : {
           std::pair{"gone.sc3d", "Impossibile aprire il file \"gone.sc3d\""},
           // Opening a pipe would wait for a writer forever.
           {"pipe.sc3d", "Impossibile aprire il file \"pipe.sc3d\": non è un file normale"},
       }) {
    c.convert(triangle(), "tri.sc3d");
    c.window->NomeFile = (c.dir.path() / name).string();
    c.host.messages.clear();
    fw::RunHandler([&] { c.window->Legge_File(); });
    EXPECT_EQ(c.host.messages, std::vector<std::string>{message});
    EXPECT_EQ(resultLabels(c), (std::vector<std::string>{name, "0", "0", "0", ""}));
    EXPECT_FALSE(c.window->converting);
  }
}

TEST(Driver, ARefusedFileShowsItsOwnResults) {
  Converter c;
  c.convert(triangle(), "tri.sc3d");
  auto cut = triangle();
  cut.resize(cut.size() - 2);
  auto r = c.convert(cut, "cut.sc3d");
  EXPECT_EQ(r.messages.size(), 1u);
  EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"cut.sc3d", "0", "0", "0", "Sculpt3D"}));
  // A file read whole that can't be written shows no totals either.
  r = c.convert(triangle(), "tri.sc3d", "missing/tri.obj");
  EXPECT_EQ(r.messages,
            std::vector<std::string>{
                "Impossibile creare il file \"tri.obj\": il file o la cartella non esiste"});
  EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"tri.sc3d", "0", "0", "0", "Sculpt3D"}));
}

TEST(Driver, OutputThatCannotBeWrittenLeavesNothing) {
  {  // the MTL name is taken by a folder: the OBJ already begun goes too
    Converter c;
    std::filesystem::create_directory(c.dir.path() / "tri.mtl");
    auto r = c.convert(triangle(), "tri.sc3d", "tri.obj");
    EXPECT_EQ(r.messages,
              std::vector<std::string>{"Impossibile creare il file \"tri.mtl\": è una cartella"});
    EXPECT_EQ(r.files, (std::vector<std::string>{"tri.mtl", "tri.sc3d"}));
  }
  {  // the OBJ fails after the MTL was complete: neither takes its place
    Converter c;
    c.dir.write("tri.mtl", {'o', 'l', 'd'});
    fw::TextOutputStream::SimulateFullDiskAfter(250);
    auto r = c.convert(triangle(), "tri.sc3d", "tri.obj");
    fw::TextOutputStream::SimulateFullDiskAfter(UINT64_MAX);
    EXPECT_EQ(r.messages, std::vector<std::string>{
                              "Impossibile scrivere il file \"tri.obj\": il disco è pieno"});
    EXPECT_EQ(r.files, (std::vector<std::string>{"tri.mtl", "tri.sc3d"}));
    EXPECT_EQ(readText(c.dir.path() / "tri.mtl"), "old");
    // The next conversion writes both.
    EXPECT_EQ(c.convert(triangle(), "tri.sc3d", "tri.obj").files.size(), 3u);
  }
}

TEST(Driver, EachConversionStartsAfresh) {
  Converter c;
  c.convert(triangle(), "first.sc3d", "first.obj");
  EXPECT_EQ(c.label("Out_Numero_Vertici"), "3");
  // Points without faces: said, and nothing to write.
  auto r =
      c.convert(Form("SC3D", Bytes().chunk("VERT", Bytes().u32(0).u32(0).u32(0))), "second.sc3d");
  EXPECT_EQ(r.messages, std::vector<std::string>{"l'oggetto non contiene poligoni"});
  EXPECT_EQ(c.host.proposed_names.size(), 1u);  // the first conversion's
  EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"second.sc3d", "1", "1", "0", "Sculpt3D"}));
  EXPECT_EQ(c.window->MaxCol, 1);
  EXPECT_EQ(c.window->Stringa_poligoni.Ubound(), 0);
}

TEST(Driver, ProgressWindowLivesForOneRead) {
  Converter c;
  c.convert(triangle(), "tri.sc3d");
  EXPECT_EQ(c.host.opened_titles,
            (std::vector<std::string>{"Tarvelo beta 0.5", "Progress", "Fiestra di test"}));
  EXPECT_EQ(fw::FindOpenWindow(Progress::kClassName), nullptr);
  EXPECT_TRUE(c.window->stream->IsClosed());
}

TEST(Driver, NoSecondConversionWhileOneRuns) {
  Converter c;
  c.window->converting = true;
  auto r = c.convert(triangle(), "tri.sc3d");
  EXPECT_TRUE(c.host.proposed_names.empty());
  EXPECT_EQ(r.files.size(), 1u);
}
