// The Qt host on its own, with windows made for the tests: Yield, one handler at a time,
// controls kept in step with their objects, shapes drawn in their colours.
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "tests/test_qt_support.h"

namespace {
// A window whose controls each test makes.
class Sample : public fw::Window {
 public:
  static constexpr const char* kClassName = "Sample.Sample";
  const char* ClassName() const override { return kClassName; }
  std::function<void(Sample&)> build;

  template <typename T>
  T& add(const char* name, int left, int top, int width, int height) {
    auto& c = static_cast<T&>(AddControl(std::make_unique<T>(), name));
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = height;
    return c;
  }

 protected:
  void Layout() override {
    Width = 240;
    Height = 160;
  }
  void CreateControls() override {
    if (build) build(*this);
  }
};

class QtHostTest : public ::testing::Test {
 protected:
  void SetUp() override { host = std::make_unique<fw::qt::QtHost>(argc, argv); }
  void TearDown() override {
    while (!fw::OpenWindows().empty()) fw::OpenWindows().back()->Close();
    host.reset();
  }
  std::shared_ptr<Sample> open(std::function<void(Sample&)> build) {
    auto w = std::make_shared<Sample>();
    w->build = std::move(build);
    w->Constructor();
    return w;
  }
  template <typename T = QWidget>
  T* view(const fw::Control& c) {
    return static_cast<T*>(host->widgetOf(c));
  }

  DialogAnswers answers;  // first: it makes the QApplication
  int argc = 1;
  char name[8] = "test";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<fw::qt::QtHost> host;
};
}  // namespace

TEST_F(QtHostTest, YieldRepaintsAtMostEvery15MsAndThrowsInputAway) {
  int presses = 0;
  auto w = open([&](Sample& s) {
    s.add<fw::BevelButton>("Premi", 10, 10, 100, 24).Action = [&] { ++presses; };
  });
  auto& button = *view<QPushButton>(w->Find<fw::BevelButton>("Premi"));
  int pressed = 0;  // the widget itself saw the click
  QObject::connect(&button, &QPushButton::pressed, [&] { ++pressed; });

  int loop_turns = 0;
  QTimer every_turn;
  every_turn.callOnTimeout([&] { ++loop_turns; });
  every_turn.start(0);
  bool clicked_inside = false;
  QTimer::singleShot(0, [&] {
    click(button);
    clicked_inside = true;
  });
  long long calls = 0;
  QElapsedTimer clock;
  clock.start();
  while (!clock.hasExpired(60)) {
    fw::Yield();
    ++calls;
  }
  every_turn.stop();

  EXPECT_TRUE(clicked_inside);  // the loop did run inside Yield...
  EXPECT_EQ(pressed, 0);        // ...but the click went nowhere
  EXPECT_EQ(presses, 0);
  EXPECT_GE(loop_turns, 1);
  EXPECT_LE(loop_turns, 60 / 15 + 1);
  EXPECT_GT(calls, 1000);
  click(button);
  EXPECT_EQ(pressed, 1);
  EXPECT_EQ(presses, 1);
}

TEST_F(QtHostTest, OneHandlerAtATime) {
  int first = 0, second = 0;
  QWidget* other = nullptr;
  auto w = open([&](Sample& s) {
    s.add<fw::PushButton>("Uno", 10, 10, 80, 24).Action = [&] {
      ++first;
      click(*other);  // arrives while this handler runs: refused
    };
    s.add<fw::PushButton>("Due", 10, 40, 80, 24).Action = [&] { ++second; };
  });
  other = view(w->Find<fw::PushButton>("Due"));
  click(*view(w->Find<fw::PushButton>("Uno")));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
  click(*other);
  EXPECT_EQ(second, 1);
}

TEST_F(QtHostTest, TextsAreShownAsTheyAre) {
  auto w = open([](Sample& s) {
    auto& t = s.add<fw::StaticText>("Testo", 0, 0, 200, 20);
    t.SetText("<b>scena</b>.lwo");
    s.add<fw::PushButton>("Bottone", 0, 30, 100, 20).SetCaption("Sculpt & Imagine");
  });
  auto& text = w->Find<fw::StaticText>("Testo");
  auto* label = view<QLabel>(text);
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_EQ(label->text(), "<b>scena</b>.lwo");
  text.SetText("altro.lwo");
  EXPECT_EQ(label->text(), "altro.lwo");
  // "&" is a character, not a mnemonic mark.
  EXPECT_EQ(view<QPushButton>(w->Find<fw::PushButton>("Bottone"))->text(), "Sculpt && Imagine");
}

TEST_F(QtHostTest, ProgressBarStaysAPlainBar) {
  auto w = open([](Sample& s) { s.add<fw::ProgressBar>("Barra", 10, 10, 200, 20); });
  auto& bar = w->Find<fw::ProgressBar>("Barra");
  auto* shown = view<QProgressBar>(bar);
  bar.SetValue(40);
  EXPECT_EQ(shown->value(), 40);
  bar.SetValue(250);  // beyond the maximum: full, not ignored
  EXPECT_EQ(shown->value(), 100);
  bar.SetMaximum(0);  // not Qt's busy bar
  EXPECT_EQ(shown->maximum(), 1);
  EXPECT_EQ(shown->value(), 1);
  bar.SetValue(-5);
  EXPECT_EQ(shown->value(), 0);
  bar.Refresh(true);
}

TEST_F(QtHostTest, ShapesAreDrawnInTheirColours) {
  auto w = open([](Sample& s) {
    auto& r = s.add<fw::Rectangle>("Riquadro", 10, 10, 60, 60);
    r.FillColor = fw::RGB(0x52, 0x6F, 0xFF);
    r.BorderWidth = 4;
    r.TopLeftColor = fw::RGB(255, 0, 0);
    r.BottomRightColor = fw::RGB(0, 255, 0);
    auto& round = s.add<fw::RoundRectangle>("Tondo", 100, 10, 80, 40);
    round.FillColor = fw::RGB(0xCD, 0xFF, 0x9C);
    round.BorderColor = fw::RGB(0, 0, 0);
    round.OvalWidth = round.OvalHeight = 16;
  });
  const QImage rect = view(w->Find<fw::Rectangle>("Riquadro"))->grab().toImage();
  const qreal ratio = rect.devicePixelRatio();
  auto at = [&](const QImage& img, int x, int y) {
    return img.pixelColor(QPoint(x, y) * ratio).rgb() & 0xFFFFFF;
  };
  EXPECT_EQ(at(rect, 30, 30), 0x526FFFu);
  EXPECT_EQ(at(rect, 1, 30), 0xFF0000u);
  EXPECT_EQ(at(rect, 30, 1), 0xFF0000u);
  EXPECT_EQ(at(rect, 58, 30), 0x00FF00u);
  EXPECT_EQ(at(rect, 30, 58), 0x00FF00u);
  EXPECT_EQ(view(w->Find<fw::Rectangle>("Riquadro"))->acceptDrops(), false);  // no file type yet

  const QImage round = view(w->Find<fw::RoundRectangle>("Tondo"))->grab().toImage();
  EXPECT_EQ(at(round, 40, 20), 0xCDFF9Cu);
  EXPECT_NE(at(round, 0, 0), 0xCDFF9Cu);  // the corner is rounded off
}
