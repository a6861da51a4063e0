#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/host.h"
#include "framework/table.h"
#include "framework/ui.h"
#include "tests/scripted_host.h"

using namespace fw;

TEST(BinaryStream, ReadsBigEndianValuesAndNeverPastTheEnd) {
  auto s = BinaryStream::FromBytes(
      {0xFF, 0xFE, 0xFF, 0xFE, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0xC0, 0, 0, 1, 2, 3});
  EXPECT_EQ(s->ReadShort(), -2);
  EXPECT_EQ(s->ReadByte(), 255);
  EXPECT_EQ(s->ReadByte(), 254);
  EXPECT_EQ(s->ReadLong(), 256);
  EXPECT_EQ(s->ReadLong(), -1);
  EXPECT_EQ(s->ReadSingle(), 1.5f);
  EXPECT_THROW(s->ReadLong(), IOException);
  EXPECT_EQ(s->Position(), 16u);  // a refused read moves nothing
  EXPECT_EQ(s->ReadShort(), 0x0102);
  EXPECT_THROW(s->Skip(2), IOException);
  s->Skip(1);
  EXPECT_TRUE(s->Eof());
  EXPECT_THROW(s->ReadByte(), IOException);
  s->SetPosition(1000);
  EXPECT_THROW(s->ReadByte(), IOException);
}

TEST(BinaryStream, FailingDeviceAndMissingFile) {
  auto s = BinaryStream::FromBytes({1, 2, 3, 4}, 2);
  EXPECT_EQ(s->ReadShort(), 0x0102);
  try {
    s->ReadByte();
    FAIL();
  } catch (const IOException& e) {
    EXPECT_EQ(e.ErrorCode(), IOException::kReadFailed);
  }
  TempDir dir;
  EXPECT_THROW(BinaryStream::Open(FolderItem(dir.path() / "none")), IOException);
  EXPECT_THROW(BinaryStream::Open(FolderItem(dir.path())), IOException);
}

// Failures to create or write are tested through whole conversions, in test_driver.cpp.
TEST(TextOutputStream, FileAppearsOnlyWhenClosedNeverWhenDiscardedOrDropped) {
  TempDir dir;
  FolderItem target(dir.path() / "a.obj");
  auto out = TextOutputStream::Create(target);
  out->WriteLine("v 1 2 3");
  out->WriteLine("");
  EXPECT_FALSE(std::filesystem::exists(target.path()));
  out->Close();
  EXPECT_EQ(readText(target.path()), "v 1 2 3\n\n");

  auto discarded = TextOutputStream::Create(target);
  discarded->WriteLine("new");
  discarded->Discard();
  TextOutputStream::Create(target)->WriteLine("new");  // dropped unclosed
  EXPECT_EQ(readText(target.path()), "v 1 2 3\n\n");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"a.obj"});
}

TEST(TextOutputStream, APairAppearsTogetherOrNotAtAll) {
  TempDir dir;
  auto mtl = TextOutputStream::Create(FolderItem(dir.path() / "a.mtl"));
  auto obj = TextOutputStream::Create(FolderItem(dir.path() / "a.obj"));
  mtl->WriteLine("newmtl m");
  obj->WriteLine("v 0 0 0");
  // Something takes the OBJ's name while it is written: it can't take its place.
  std::filesystem::create_directories(dir.path() / "a.obj" / "inside");
  EXPECT_THROW(TextOutputStream::CommitPair(*mtl, *obj), IOException);
  EXPECT_EQ(dir.files(), std::vector<std::string>{"a.obj"});
}

TEST(Tables, EveryAccessIsChecked) {
  Table2<std::int32_t> t("t", 2, 1);
  t(2, 1) = 7;
  EXPECT_EQ(t(2, 1), 7);
  EXPECT_EQ(t(0, 0), 0);
  EXPECT_THROW(t(3, 0) = 1, OutOfBoundsException);
  EXPECT_THROW(t(0, 2) = 1, OutOfBoundsException);
  EXPECT_THROW(t(-1, 0), OutOfBoundsException);
  // A refused write touches nothing: the element past a row end is the next row's first.
  EXPECT_EQ(t(1, 0), 0);

  Table<std::string> names("names", 3);
  EXPECT_EQ(names(3), "");
  EXPECT_THROW(names(4) = "x", OutOfBoundsException);

  TextList list("l");  // one empty element, then those appended
  list.Append("a");
  list.Append("b");
  EXPECT_EQ(list.Ubound(), 2);
  EXPECT_EQ(list(1), "a");
  list.Redim(0);
  EXPECT_EQ(list(0), "");
  EXPECT_THROW(list(1), OutOfBoundsException);
}

namespace {
class TwoLabels : public Window {
 public:
  const char* ClassName() const override { return "TwoLabels.TwoLabels"; }
  void CreateControls() override {
    AddControl(std::make_unique<StaticText>(), "A");
    AddControl(std::make_unique<ProgressBar>(), "B");
  }
};
}  // namespace

TEST(Windows, ControlsAreFoundByNameAndClass) {
  ScriptedHost host;
  auto w = std::make_shared<TwoLabels>();
  w->Constructor();
  EXPECT_EQ(&w->Find<StaticText>("A"), w->ControlByName("A"));
  EXPECT_THROW(w->Find<StaticText>("C"), NilObjectException);
  EXPECT_THROW(w->Find<StaticText>("B"), IllegalCastException);
  EXPECT_EQ(FindOpenWindow("TwoLabels.TwoLabels"), w);
  w->Close();
  w->Close();
  EXPECT_EQ(FindOpenWindow("TwoLabels.TwoLabels"), nullptr);
  EXPECT_EQ(host.closed_titles.size(), 1u);
}

TEST(Menus, ItemsAreFoundAtAnyDepth) {
  auto bar = std::make_shared<MenuBar>();
  auto file = std::make_shared<MenuItem>();
  file->Name = "FileMenu";
  auto quit = std::make_shared<QuitMenuItem>();
  quit->Name = "FileQuit";
  file->Append(quit);
  bar->Append(file);
  EXPECT_EQ(FindMenuItem<QuitMenuItem>(bar, "FileQuit"), quit);
  EXPECT_EQ(bar->Child("FileQuit"), nullptr);
  EXPECT_THROW(FindMenuItem<AppleMenuItem>(bar, "FileQuit"), IllegalCastException);
  EXPECT_THROW(FindMenuItem<MenuItem>(bar, "Nope"), NilObjectException);
}

TEST(Handlers, AFailureIsShownAndTheProgramGoesOn) {
  ScriptedHost host;
  RunHandler([] { throw IOException("Impossibile leggere", IOException::kReadFailed); });
  RunHandler([] { throw std::runtime_error("boom"); });
  RunHandler([] {});
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0], "Impossibile leggere");
  EXPECT_NE(host.messages[1].find("boom"), std::string::npos);
}
