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

bool progressWindowOpen() {
  return fw::FindOpenWindow(Progress::kClassName) != nullptr;
}
}  // namespace

TEST(Driver, CancelledOpenDialogDoesNothing) {
  Converter c;
  c.window->Drag_Flag = false;
  fw::RunHandler([&] { c.window->Legge_File(); });
  EXPECT_EQ(c.host.open_dialogs, 1);
  EXPECT_TRUE(c.host.messages.empty());
  EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"", "0", "0", "0", ""}));
  EXPECT_TRUE(c.dir.files().empty());
}

TEST(Driver, OpenDialogChoosesTheFile) {
  Converter c;
  c.host.open_answers.push_back(c.dir.write("tri.sc3d", triangle()));
  c.host.save_answers.push_back(c.dir.path() / "tri.obj");
  c.window->Drag_Flag = false;
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

TEST(Driver, FormatNames) {
  Converter c;
  Bytes faces20;
  faces20.u32(0).u32(1).u32(2).u32(0).u8(1).u8(2).u8(3).u8(4);
  Bytes verts;
  verts.u32(0).u32(0).u32(0).u32(1).u32(0).u32(0).u32(0).u32(1).u32(0);
  c.convert(Form("AAPO", Bytes().chunk("VERT", verts).chunk("FACE", faces20)), "e.iff");
  EXPECT_EQ(c.label("Out_Formato"), "Envisage");
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "1");
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
    EXPECT_EQ(r.files.size(), 3u);
  }
}

TEST(Driver, TotalsDecideWhetherToWrite) {
  Bytes verts;
  verts.u32(0).u32(0).u32(0);
  Bytes faces;
  faces.u32(0).u32(0).u32(0).u8(1).u8(1).u8(1).u8(0);

  {  // points without faces: nothing to write
    Converter c;
    auto r = c.convert(Form("SC3D", Bytes().chunk("VERT", verts)));
    EXPECT_EQ(r.messages, std::vector<std::string>{"l'oggetto non contiene poligoni"});
    EXPECT_TRUE(c.host.proposed_names.empty());
    EXPECT_EQ(r.files.size(), 1u);
    EXPECT_EQ(c.label("Out_Numero_Vertici"), "1");
  }
  {  // nothing at all: said, then written anyway
    Converter c;
    auto r = c.convert(Form("SC3D", Bytes()));
    EXPECT_EQ(r.messages, std::vector<std::string>{"l'oggetto non contiene vertici"});
    auto obj = lines(r.obj);
    ASSERT_EQ(obj.size(), 12u);
    EXPECT_EQ(obj[10], "g out.obj");
    EXPECT_EQ(obj[11], "");
    EXPECT_EQ(lines(r.mtl).size(), 4u);
  }
  {  // faces without points: a damaged file, not an OBJ of faces naming no vertex
    Converter c;
    auto r = c.convert(Form("SC3D", Bytes().chunk("FACE", faces)));
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.files.size(), 1u);
  }
}

TEST(Driver, CancelledSaveDialogWritesNothing) {
  Converter c;
  auto r = c.convert(triangle(), "tri.sc3d", "");
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(r.files, std::vector<std::string>{"tri.sc3d"});
  EXPECT_EQ(c.label("Out_Numero_Poligoni"), "1");
}

TEST(Driver, UnreadableSourceEndsWithAMessage) {
  Converter c;
  c.convert(triangle(), "tri.sc3d");
  c.window->Drag_Flag = true;
  c.window->NomeFile = (c.dir.path() / "gone.sc3d").string();
  c.host.messages.clear();
  fw::RunHandler([&] { c.window->Legge_File(); });
  ASSERT_EQ(c.host.messages.size(), 1u);
  EXPECT_EQ(c.host.messages[0], "Impossibile aprire il file \"gone.sc3d\"");
  EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"gone.sc3d", "0", "0", "0", ""}));
  EXPECT_FALSE(c.window->converting);
  // The next conversion works.
  auto r = c.convert(triangle(), "again.sc3d", "again.obj");
  EXPECT_TRUE(r.messages.empty());
  EXPECT_FALSE(r.obj.empty());
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
  EXPECT_EQ(r.messages.size(), 1u);
  EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"tri.sc3d", "0", "0", "0", "Sculpt3D"}));
}

TEST(Driver, OutputThatCannotBeWrittenLeavesNothing) {
  {  // a folder that is not there
    Converter c;
    auto r = c.convert(triangle(), "tri.sc3d", "missing/tri.obj");
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0],
              "Impossibile creare il file \"tri.obj\": il file o la cartella non esiste");
    EXPECT_EQ(r.files, std::vector<std::string>{"tri.sc3d"});
    EXPECT_FALSE(progressWindowOpen());
  }
  {  // the MTL name is taken by a folder: the OBJ already begun goes too
    Converter c;
    std::filesystem::create_directory(c.dir.path() / "tri.mtl");
    auto r = c.convert(triangle(), "tri.sc3d", "tri.obj");
    ASSERT_EQ(r.messages.size(), 1u);
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
  }
  {  // the disk fills up while writing
    Converter c;
    fw::TextOutputStream::SimulateFullDiskAfter(100);
    auto r = c.convert(triangle(), "tri.sc3d", "tri.obj");
    fw::TextOutputStream::SimulateFullDiskAfter(UINT64_MAX);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].find("Impossibile scrivere"), std::string::npos);
    EXPECT_EQ(r.files, std::vector<std::string>{"tri.sc3d"});
    auto again = c.convert(triangle(), "tri.sc3d", "tri.obj");
    EXPECT_TRUE(again.messages.empty());
    EXPECT_EQ(again.files.size(), 3u);
  }
}

TEST(Driver, OnlyRegularFilesAreOpened) {
  Converter c;
  auto fifo = c.dir.path() / "pipe.sc3d";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // opening a pipe would wait for a writer forever
  c.window->Drag_Flag = true;
  c.window->NomeFile = fifo.string();
  fw::RunHandler([&] { c.window->Legge_File(); });
  EXPECT_EQ(
      c.host.messages,
      std::vector<std::string>{"Impossibile aprire il file \"pipe.sc3d\": non è un file normale"});
}

TEST(Driver, EachConversionStartsAfresh) {
  Converter c;
  c.convert(triangle(), "first.sc3d", "first.obj");
  EXPECT_EQ(c.label("Out_Numero_Vertici"), "3");
  Bytes verts;
  verts.u32(0).u32(0).u32(0);
  auto r = c.convert(Form("SC3D", Bytes().chunk("VERT", verts)), "second.sc3d");
  EXPECT_EQ(resultLabels(c), (std::vector<std::string>{"second.sc3d", "1", "1", "0", "Sculpt3D"}));
  EXPECT_EQ(c.window->MaxCol, 1);
  EXPECT_EQ(c.window->Stringa_poligoni.Ubound(), 0);
}

TEST(Driver, ProgressWindowLivesForOneRead) {
  Converter c;
  c.convert(triangle(), "tri.sc3d");
  EXPECT_EQ(c.host.opened_titles,
            (std::vector<std::string>{"Tarvelo beta 0.5", "Progress", "Fiestra di test"}));
  EXPECT_FALSE(progressWindowOpen());
  EXPECT_TRUE(c.window->stream->IsClosed());
  // A read that fails closes its window too.
  auto truncated = triangle();
  truncated.resize(truncated.size() - 3);
  auto r = c.convert(truncated, "bad.sc3d");
  EXPECT_EQ(r.messages.size(), 1u);
  EXPECT_FALSE(progressWindowOpen());
  EXPECT_TRUE(c.window->stream->IsClosed());
}

TEST(Driver, NoSecondConversionWhileOneRuns) {
  Converter c;
  c.window->converting = true;
  auto r = c.convert(triangle(), "tri.sc3d");
  EXPECT_TRUE(c.host.proposed_names.empty());
  EXPECT_EQ(r.files.size(), 1u);
}
