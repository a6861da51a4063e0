// The Qt host on its own, with windows made for the tests: Yield, one handler at a time,
// windows and controls kept in step with their objects, fonts, dialogs and message boxes.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

#include "framework/qt/menus.h"
#include "framework/qt/views.h"
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
    Title = "Prova";
    Width = 240;
    Height = 160;
    CloseButton = true;
    MinimizeButton = false;
    Resizeable = false;
    HasBackColor = true;
    BackColor = fw::RGB(0x10, 0x20, 0x30);
  }
  void CreateControls() override {
    if (build) build(*this);
  }
};

void click(QWidget& w) {
  const QPointF at(w.width() / 2.0, w.height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &release);
}

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
  TempDir dir;
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

TEST_F(QtHostTest, WindowFollowsItsObject) {
  auto w = open({});
  auto* window = static_cast<QMainWindow*>(host->widgetOf(*w));
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "Prova");
  EXPECT_EQ(window->centralWidget()->size(), QSize(240, 160));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(window->centralWidget()->palette().color(QPalette::Window), QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(window->menuWidget(), nullptr);

  w->Hide();
  EXPECT_FALSE(window->isVisible());
  w->Show();
  EXPECT_TRUE(window->isVisible());

  // The close box closes the object, which takes the window off the screen.
  window->close();
  EXPECT_FALSE(w->IsOpen());
  EXPECT_EQ(host->widgetOf(*w), nullptr);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(QtHostTest, TextsAreShownAsTheyAre) {
  auto w = open([](Sample& s) {
    auto& t = s.add<fw::StaticText>("Testo", 0, 0, 200, 20);
    t.SetText("<b>scena</b>.lwo");
    s.add<fw::PushButton>("Bottone", 0, 30, 100, 20).SetCaption("Sculpt & Imagine");
    s.add<fw::GroupBox>("Gruppo", 0, 60, 100, 50).Caption = "R&D";
  });
  auto& text = w->Find<fw::StaticText>("Testo");
  auto* label = view<QLabel>(text);
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_EQ(label->text(), "<b>scena</b>.lwo");
  text.SetText("altro.lwo");
  EXPECT_EQ(label->text(), "altro.lwo");
  text.SetVisible(false);
  EXPECT_TRUE(label->isHidden());
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

TEST_F(QtHostTest, HiddenListBoxKeepsItsRows) {
  auto w = open([](Sample& s) { s.add<fw::Listbox>("Lista", 0, 0, 100, 100).SetVisible(false); });
  auto& list = w->Find<fw::Listbox>("Lista");
  list.AddRow("uno");
  list.AddRow("due");
  auto* shown = view<QListWidget>(list);
  EXPECT_TRUE(shown->isHidden());
  EXPECT_EQ(shown->count(), 2);
  list.DeleteAllRows();
  EXPECT_EQ(shown->count(), 0);
}

TEST_F(QtHostTest, MissingFontsAreStandInsOfDejaVuAtPixelSizes) {
  fw::StaticText text;
  text.TextSize = 18;
  text.TextFont = "Verdana";
  QFont font = fw::qt::fontFor(text, QApplication::font());
  EXPECT_EQ(font.pixelSize(), 18);
  if (!QFontDatabase::hasFamily("Verdana")) {
    EXPECT_EQ(QFontInfo(font).family(), "DejaVu Sans");
  }
  text.TextFont = "Courier new";
  text.Bold = true;
  font = fw::qt::fontFor(text, QApplication::font());
  EXPECT_TRUE(font.bold());
  if (!QFontDatabase::hasFamily("Courier New")) {
    EXPECT_EQ(QFontInfo(font).family(), "DejaVu Sans Mono");
  }
  text.TextFont = "times";
  font = fw::qt::fontFor(text, QApplication::font());
  if (!QFontDatabase::hasFamily("times")) {
    EXPECT_EQ(QFontInfo(font).family(), "DejaVu Serif");
    EXPECT_LT(font.stretch(), 100);  // narrowed to the widths of Times
  }
}

TEST_F(QtHostTest, ShortcutsOfTheFrameworkItems) {
  using fw::qt::shortcutKeys;
  EXPECT_TRUE(shortcutKeys("").isEmpty());
  EXPECT_TRUE(shortcutKeys("Cmd+Q").contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
  EXPECT_TRUE(shortcutKeys("Cmd+O").contains(QKeySequence(Qt::CTRL | Qt::Key_O)));
  EXPECT_EQ(shortcutKeys("Cmd+S"), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_S)});
}

TEST_F(QtHostTest, MessageBoxAndFileDialogs) {
  fw::MsgBox("non puoi trasportare una directory ");
  EXPECT_EQ(answers.messages, std::vector<std::string>{"non puoi trasportare una directory "});

  const auto source = dir.write("scena.lwo", {1, 2, 3});
  answers.chooseFile(source);
  auto opened = fw::GetOpenFolderItem("");
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->path(), source);

  // The save dialog proposes the name, in the folder the file came from.
  answers.chooseFile(dir.path() / "scena.obj");
  auto saved = fw::GetSaveFolderItem("", "scena_lwo.obj");
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(saved->path(), dir.path() / "scena.obj");
  EXPECT_EQ(answers.proposed, std::vector<std::string>{"scena_lwo.obj"});
  EXPECT_EQ(answers.folders.back(), dir.path());

  answers.cancelFileDialog();
  EXPECT_EQ(fw::GetSaveFolderItem("", "x.obj"), nullptr);
  answers.cancelFileDialog();
  EXPECT_EQ(fw::GetOpenFolderItem(""), nullptr);
}
