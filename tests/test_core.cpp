#include <gtest/gtest.h>

#include "app/progress.h"
#include "core/finestra.h"
#include "framework/exceptions.h"
#include "tests/scripted_host.h"

namespace {
struct Window : ::testing::Test {
  ScriptedHost host;
  std::shared_ptr<Finestra> w = std::make_shared<Finestra>();
  void SetUp() override { w->Constructor(); }
  void source(std::vector<std::uint8_t> bytes) {
    w->stream = fw::BinaryStream::FromBytes(std::move(bytes));
  }
};

long residentKiB() {
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  long pages = 0, resident = 0;
  if (f) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * 4;
}
}  // namespace

TEST(Tables, BigTablesCostNothingUntilWritten) {
  const long before = residentKiB();
  auto w = std::make_shared<Finestra>();  // poly alone would be 80 MB if touched
  const long after = residentKiB();
  EXPECT_LT(after - before, 30 * 1024);
  w->poly(100000, 200) = 1;
  EXPECT_EQ(w->poly(100000, 200), 1);
}

TEST(Names, NoControlCharacterBreaksALine) {
  EXPECT_EQ(lineSafe("a\nb\rc\td\x7F"
                     "e\xC2\x85"
                     "f\xC3\xA8"),
            "a_b_c\td_e_f\xC3\xA8");
}

TEST_F(Window, FieldReaders) {
  source({0xC9, 'A', 'B', 'C', 0xFF, 0xFE, 0, 0, 1, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6});
  EXPECT_EQ(w->CharWord(), "\303\211ABC");  // high bytes as Latin-1
  EXPECT_EQ(w->Byte2(), -2);
  EXPECT_EQ(w->Word(), 256);
  const std::string zero_id = w->CharWord();
  EXPECT_EQ(zero_id.size(), 4u);
  EXPECT_NE(zero_id, "FORM");
  w->dim_chunk = 0;
  w->salta();
  w->dim_chunk = -3;
  w->salta();
  EXPECT_EQ(w->Byte(), 1);
  w->dim_chunk = 3;
  w->salta();
  EXPECT_EQ(w->Byte(), 5);
  w->dim_chunk = 2;
  EXPECT_THROW(w->salta(), fw::IOException);
  w->stream.reset();
  EXPECT_THROW(w->Byte(), fw::NilObjectException);
}

TEST_F(Window, MaterialNumbersInFirstSeenOrder) {
  auto number = [&](const std::string& key) {
    w->Materiale = key;
    return w->FNmat();
  };
  EXPECT_EQ(number("A"), 1);
  EXPECT_EQ(number("B"), 2);
  EXPECT_EQ(number("A"), 1);
  EXPECT_EQ(w->MaxCol, 3);
  EXPECT_EQ(number(""), 0);  // the empty key is never stored
  EXPECT_EQ(w->MaxCol, 3);

  // A new conversion numbers from 1 again; older keys above MaxCol never match.
  w->MaxCol = 1;
  EXPECT_EQ(number("B"), 1);
  EXPECT_EQ(number("A"), 2);
}

TEST_F(Window, FractionTexts) {
  // Hexadecimal and out-of-range values; the loop below checks every byte value.
  for (auto [in, out] :
       {std::pair{"&h80", "0.502"}, {"&hFF", "1.000"}, {"510", "2.000"}, {"-51", "-0.200"}}) {
    std::string x = in;
    w->percentuale(x);
    EXPECT_EQ(x, out) << in;
  }
  for (int v = 0; v <= 255; ++v) {
    std::string x = std::to_string(v);
    w->percentuale(x);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%.3f", v / 255.0);
    EXPECT_EQ(x, expected) << v;
  }
  std::string r = "255", g = "0", b = "128";
  w->RGBpercentuale(r, g, b);
  EXPECT_EQ(r + " " + g + " " + b, "1.000 0.000 0.502");
}

TEST_F(Window, AxisSwitchTogglesTheSetting) {
  auto& button = w->Find<fw::BevelButton>("Flag_Assi");
  button.Action();
  EXPECT_EQ(w->Find<fw::StaticText>("Stato_Assi").Text(), "Assi  X Z Y");
  EXPECT_EQ(button.Caption(), "Axis Switch  Z Up");
  EXPECT_TRUE(w->axesSwapped());
  button.Action();
  EXPECT_EQ(w->Find<fw::StaticText>("Stato_Assi").Text(), "Assi  X Y Z");
  EXPECT_EQ(button.Caption(), "Axis Switch  Y Up");
  EXPECT_EQ(w->premi_assi, 1);  // so the next press swaps again

  w->converting = true;  // not in the middle of a conversion
  button.Action();
  EXPECT_FALSE(w->axesSwapped());
}

TEST_F(Window, ProgressWindowProtocol) {
  w->openProgress(500);
  auto first = w->Fin_Prog;
  EXPECT_TRUE(first->IsOpen());
  auto& bar = first->ProgressBar1();
  EXPECT_EQ(bar.Maximum(), 500);
  EXPECT_EQ(bar.Value(), 0);
  w->setProgress(1LL << 40);  // a position beyond Int32 stays a sane bar value
  EXPECT_EQ(bar.Value(), 2147483647);
  w->closeInput();
  w->openProgress(std::nullopt);  // a reader that keeps the default maximum
  EXPECT_NE(w->Fin_Prog, first);
  EXPECT_EQ(w->Fin_Prog->ProgressBar1().Maximum(), 100);
}
