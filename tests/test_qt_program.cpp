// The program on its Qt host, offscreen: start-up, the layout, the menu and its keys, real
// drag events on the drop area, the open command through a real file dialog, the About and
// progress windows, Yield, failures inside handlers, and the README's screenshots.
#include <gtest/gtest.h>

#include <QtWidgets>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <string_view>
#include <thread>
#include <tuple>

#include "app/about.h"
#include "app/app.h"
#include "app/menubar.h"
#include "app/progress.h"
#include "app/startup.h"
#include "core/finestra.h"
#include "framework/qt/qt_host.h"
#include "tests/conversion.h"
#include "tests/iff_builder.h"
#include "tests/scripted_host.h"

namespace {
int g_argc = 1;
char g_name[] = "tarvelo_tests";
char* g_argv[] = {g_name, nullptr};

// Never destroyed: Qt is not made to start twice in one process.
QApplication& testApplication() {
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(g_argc, g_argv);
  }();
  return *app;
}

// Answers each modal dialog as it appears, as a user would: a file dialog with the next
// queued path (cancelled when none is left), a message box by reading it and pressing OK.
class DialogAnswers {
 public:
  DialogAnswers() {
    timer_.callOnTimeout([this] { answer(); });
    timer_.start(5);
  }
  void chooseFile(const std::filesystem::path& path) { files_.push_back(path); }

  std::vector<std::string> messages;
  std::string file_dialogs;                    // 'o' per open dialog, 's' per save dialog
  std::vector<std::filesystem::path> folders;  // where each file dialog opened
  std::vector<QWidget*> parents;               // each dialog's parent window

 private:
  void answer() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || dialog->property("answered").toBool()) return;
    dialog->setProperty("answered", true);
    parents.push_back(dialog->parentWidget());
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      messages.push_back(box->text().toStdString());
      box->button(QMessageBox::Ok)->click();
    } else if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
      file_dialogs += files->acceptMode() == QFileDialog::AcceptSave ? 's' : 'o';
      folders.emplace_back(files->directory().absolutePath().toStdString());
      if (files_.empty()) return files->reject();
      files->selectFile(QString::fromStdString(files_.front().string()));
      files_.pop_front();
      static_cast<QDialog*>(files)->accept();  // as the Open or Save button does
    } else {
      ADD_FAILURE() << "unexpected dialog " << dialog->metaObject()->className();
      dialog->close();
    }
  }

  std::deque<std::filesystem::path> files_;
  QTimer timer_;
};

// Keeps the event loop turning until done() or the time runs out; returns done().
bool waitUntil(const std::function<bool()>& done, int timeout_ms = 10000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && !clock.hasExpired(timeout_ms)) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return done();
}

void click(QWidget& w) {
  const QPointF at(w.width() / 2.0, w.height() / 2.0);
  for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, at, w.mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
  }
}

// A key with Ctrl (Cmd on macOS), as for a menu shortcut.
void pressCtrl(QWidget& w, int key) {
  for (auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent e(type, key, Qt::ControlModifier);
    QApplication::sendEvent(&w, &e);
  }
}

// A real drag over a widget, as the window system delivers it.
class Drag {
 public:
  explicit Drag(const QList<QUrl>& urls) { data_.setUrls(urls); }
  static Drag of(const std::filesystem::path& p) {
    return Drag({QUrl::fromLocalFile(QString::fromStdString(p.string()))});
  }
  bool enter(QWidget& w) {
    return send(w, QDragEnterEvent(QPoint(10, 10), kActions, &data_, Qt::LeftButton, {}));
  }
  bool move(QWidget& w) {
    return send(w, QDragMoveEvent(QPoint(20, 20), kActions, &data_, Qt::LeftButton, {}));
  }
  void leave(QWidget& w) { send(w, QDragLeaveEvent()); }
  // The action the drop was answered with; none when refused.
  Qt::DropAction drop(QWidget& w) {
    QDropEvent e(QPointF(20, 20), kActions, &data_, Qt::LeftButton, Qt::NoModifier);
    return send(w, e) ? e.dropAction() : Qt::IgnoreAction;
  }

 private:
  template <typename Event>
  static bool send(QWidget& w, Event&& e) {
    QApplication::sendEvent(&w, &e);
    return e.isAccepted();
  }
  static constexpr Qt::DropActions kActions = Qt::CopyAction | Qt::MoveAction;
  QMimeData data_;
};

// Takes the links the program hands to the system.
class LinkCatcher : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls.push_back(url); }
};

// Top-level widgets on screen with this title.
std::vector<QWidget*> shownWindows(const QString& title) {
  std::vector<QWidget*> out;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowTitle() == title) out.push_back(w);
  }
  return out;
}

// A Sculpt 3D scene of n separate triangles (3n points; n up to 16666).
std::vector<std::uint8_t> sculptStrip(int triangles) {
  Bytes verts, faces;
  for (int i = 0; i < triangles; ++i) {
    verts.u32(i * 65536).u32(0).u32(0).u32(i * 65536 + 65536).u32(0).u32(0);
    verts.u32(i * 65536).u32(65536).u32(0);
    faces.u32(3 * i).u32(3 * i + 1).u32(3 * i + 2).u8(200).u8(100).u8(50).u8(0);
  }
  return Form("SC3D", Bytes().chunk("VERT", verts).chunk("FACE", faces));
}

// A control as the layout gives it. style: b bold, i italic, t transparent; align: L or C.
struct Shown {
  const char* name;
  int left, top, width, height;
  const char* text = nullptr;  // none for a shape or a bar
  int pixels = 0;
  const char* style = "";
  QRgb color = 0;
  char align = '-';
  bool visible = true;
  const char* parent = "";  // the window
};

void expectShown(QMainWindow& window, const Shown& c) {
  SCOPED_TRACE(c.name);
  QWidget* content = window.centralWidget();
  auto* w = window.findChild<QWidget*>(c.name);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->parentWidget(), *c.parent ? window.findChild<QWidget*>(c.parent) : content);
  EXPECT_EQ(QRect(w->mapTo(content, QPoint()), w->size()), QRect(c.left, c.top, c.width, c.height));
  EXPECT_EQ(w->isHidden(), !c.visible);
  if (!c.text) return;
  const std::string_view style = c.style;
  EXPECT_EQ(w->font().pixelSize(), c.pixels);
  EXPECT_EQ(w->font().bold(), style.find('b') != style.npos);
  EXPECT_EQ(w->font().italic(), style.find('i') != style.npos);
  EXPECT_EQ(w->property(qobject_cast<QGroupBox*>(w) ? "title" : "text").toString(), c.text);
  if (auto* label = qobject_cast<QLabel*>(w)) {
    EXPECT_EQ(label->textFormat(), Qt::PlainText);  // a file name is never read as markup
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(c.color));
    EXPECT_EQ(label->autoFillBackground(), style.find('t') == style.npos);
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
              c.align == 'C' ? Qt::AlignHCenter : Qt::AlignLeft);
  } else if (qobject_cast<QPushButton*>(w)) {
    EXPECT_EQ(w->palette().color(QPalette::ButtonText), QColor(c.color));
  }
}

// A window's frame, never resizable nor maximisable, as its object gives it and as Qt shows it.
void expectFrame(const fw::Window& object, QWidget& shown, int placement, QSize size,
                 bool close_box, bool minimise_box) {
  SCOPED_TRACE(object.Title);
  EXPECT_EQ(object.Placement, placement);
  EXPECT_FALSE(object.Resizeable);
  EXPECT_FALSE(object.MaximizeButton);
  EXPECT_EQ(object.CloseButton, close_box);
  EXPECT_EQ(object.MinimizeButton, minimise_box);
  auto& window = static_cast<QMainWindow&>(shown);
  EXPECT_EQ(window.centralWidget()->size(), size);
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  Qt::WindowFlags boxes;
  if (close_box) boxes |= Qt::WindowCloseButtonHint;
  if (minimise_box) boxes |= Qt::WindowMinimizeButtonHint;
  EXPECT_EQ(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint |
                                    Qt::WindowMinimizeButtonHint),
            boxes);
}
}  // namespace

// Runs the program's start-up on a fresh host and releases everything afterwards.
struct QtProgram : ::testing::Test {
  void SetUp() override {
    host = std::make_unique<fw::qt::QtHost>(g_argc, g_argv);
    _Startup();
  }
  void TearDown() override {
    releaseProgramObjects();
    host.reset();
  }

  Finestra& finestra() { return *Finestra_Instance(); }
  QWidget& mainWindow() { return *host->widgetOf(finestra()); }
  template <typename T = QWidget>
  T* widget(const char* name) {
    return mainWindow().findChild<T*>(QString::fromLatin1(name));
  }
  QString label(const char* name) { return widget<QLabel>(name)->text(); }
  QAction* action(const char* item_name) {
    return host->actionOf(*MenuBar1_Instance()->Lookup(item_name));
  }
  bool dragPicture(bool shown) {
    for (const char* name : {"StaticText3", "StaticText4", "StaticText5"}) {
      if (widget(name)->isVisible() != shown) return false;
    }
    return true;
  }

  QApplication& app = testApplication();  // first: the dialog answers need it
  DialogAnswers answers;
  TempDir dir;
  std::unique_ptr<fw::qt::QtHost> host;
};

TEST_F(QtProgram, ControlsAreWhereTheLayoutPutsThem) {
  auto& window = static_cast<QMainWindow&>(mainWindow());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "Tarvelo beta 0.5");
  expectFrame(finestra(), window, 0, {458, 452}, false, true);
  EXPECT_EQ(window.centralWidget()->palette().color(QPalette::Window), QColor(0xAF, 0xFF, 0xCC));
  const auto menus = window.menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), "Archivio");
  QStringList items;
  for (QAction* a : menus[0]->menu()->actions()) items << a->text();
  EXPECT_EQ(items, QStringList({"Esci", "Info su Tarvelo", "&Apri"}));
  EXPECT_EQ(action("FileQuit")->menuRole(), QAction::QuitRole);
  EXPECT_EQ(action("ArchivioAbout")->menuRole(), QAction::AboutRole);

  const Shown table[] = {
      {"GroupBox1", 20, 276, 418, 157, "Risultato conversione", 18, "", 0, '-', true, ""},
      {"Out_Numero_Poligoni", 198, 404, 233, 20, "", 16, "", 0, 'L', true, "GroupBox1"},
      {"Out_Numero_Vertici", 198, 380, 233, 20, "", 16, "", 0, 'L', true, "GroupBox1"},
      {"Out_Numero_Oggetti", 198, 356, 233, 20, "", 16, "", 0, 'L', true, "GroupBox1"},
      {"Out_Nome_File", 198, 333, 233, 20, "", 16, "", 0, 'L', true, "GroupBox1"},
      {"Out_Formato", 198, 308, 233, 20, "", 16, "", 0, 'L', true, "GroupBox1"},
      {"Flag_Assi", 20, 99, 159, 27, "Axis Switch  Y Up", 16, "i", 0, '-', true, ""},
      {"RoundRectangle1", 130, 14, 199, 42, nullptr, 0, "", 0, '-', true, ""},
      {"StaticText8", 151, 25, 156, 20, "Tarvelo", 18, "t", 0, 'C', true, "RoundRectangle1"},
      {"Stato_Assi", 184, 106, 100, 20, "Assi  X Y Z", 16, "", 0, 'C', true, ""},
      {"Static_Num_Pol", 42, 404, 128, 20, "Num. Poligoni", 16, "", 0, 'L', true, ""},
      {"Static_Formato", 42, 308, 145, 20, "Formato originale", 16, "", 0, 'L', true, ""},
      {"Static_Nome_File", 42, 333, 128, 20, "Nome File", 16, "", 0, 'L', true, ""},
      {"Static_Num_Oggetti", 42, 356, 128, 20, "Num. Oggetti", 16, "", 0, 'L', true, ""},
      {"Static_N_Vertici", 42, 380, 128, 20, "Num. Vertici", 16, "", 0, 'L', true, ""},
      {"DragMe", 307, 80, 104, 120, nullptr, 0, "", 0, '-', true, ""},
      {"StaticText3", 325, 155, 64, 27, "OBY", 28, "bt", 0xFFFFFF, 'C', false, "DragMe"},
      {"StaticText4", 319, 94, 77, 53, "3D", 64, "bt", 0xFFFFFF, 'C', false, "DragMe"},
      {"StaticText5", 321, 92, 77, 53, "3D", 64, "bt", 0x000000, 'C', false, "DragMe"},
      {"StaticText1", 276, 216, 168, 20, "Trascina qui il file", 18, "", 0, 'C', true, ""},
  };
  ASSERT_EQ(finestra().Controls().size(), std::size(table));
  QHash<QObject*, qsizetype> above;  // made later, drawn above its siblings made before
  for (size_t i = 0; i < std::size(table); ++i) {
    expectShown(window, table[i]);
    QWidget* w = widget(table[i].name);
    const qsizetype at = w->parentWidget()->children().indexOf(w);
    EXPECT_GT(at, above.value(w->parentWidget(), -1)) << table[i].name;
    above[w->parentWidget()] = at;
  }
  EXPECT_EQ(widget("Static_Formato")->toolTip(), "Formato originale in input");
  EXPECT_EQ(widget("DragMe")->toolTip(), "Area dove trascinare gli oggetti");
  // Only the drop area takes drops.
  EXPECT_TRUE(widget("DragMe")->acceptDrops());
  EXPECT_FALSE(window.acceptDrops() || window.centralWidget()->acceptDrops());
  // The group box and the opaque labels in it show the window's colour; the round
  // rectangle, its corners rounded off, and the drop area show theirs.
  const QImage shot = window.centralWidget()->grab().toImage();
  const std::tuple<int, int, QRgb> pixels[] = {{30, 380, 0xAFFFCC}, {300, 385, 0xAFFFCC},
                                               {140, 35, 0xCDFF9C}, {130, 14, 0xAFFFCC},
                                               {328, 55, 0xAFFFCC}, {360, 190, 0x526FFF}};
  for (auto [x, y, rgb] : pixels) {
    EXPECT_EQ(shot.pixelColor(QPoint(x, y) * shot.devicePixelRatio()).rgb() & 0xFFFFFF, rgb)
        << x << "," << y;
  }

  action("ArchivioAbout")->trigger();
  auto& about = *static_cast<QMainWindow*>(shownWindows("Info su Tarvelo").at(0));
  expectFrame(*About_Instance(), about, 3, {443, 243}, true, false);
  // In the middle of the screen (frames apart).
  EXPECT_LE((about.frameGeometry().center() - about.screen()->availableGeometry().center())
                .manhattanLength(),
            5);
  const char* purpose =
      "Converte oggetti 3D dai formati Sculpt3D Imagine e Lightwave al formato Wavefront Obj.";
  for (const Shown& c : {
           Shown{"StaticText1", 157, 14, 128, 20, "Tarvelo", 18, "", 0, 'C'},
           Shown{"StaticText2", 171, 36, 101, 20, "versione beta 0.5", 14, "", 0, 'C'},
           Shown{"StaticText3", 117, 68, 209, 58, purpose, 16, "", 0, 'L'},
           Shown{"StaticText4", 139, 138, 165, 20, "2026 Tarvelo contributors", 14, "", 0, 'C'},
           Shown{"StaticText5", 117, 201, 33, 20, "Mail", 14, "", 0, 'C'},
           Shown{"PushButton1", 21, 169, 409, 20, "https://example.org/tarvelo", 14},
           Shown{"PushButton2", 157, 201, 137, 20, "tarvelo@example.org", 14},
       }) {
    expectShown(about, c);
  }
  auto progress = std::make_shared<Progress>();
  progress->Constructor();
  expectFrame(*progress, *host->widgetOf(*progress), 1, {295, 88}, false, true);
  expectShown(static_cast<QMainWindow&>(*host->widgetOf(*progress)),
              {"ProgressBar1", 13, 34, 269, 21});
  // The bar stays a plain one: full above its maximum, not Qt's busy bar at a maximum of 0.
  fw::ProgressBar& bar = progress->ProgressBar1();
  auto* bar_shown = static_cast<QProgressBar*>(host->widgetOf(bar));
  for (auto [maximum, value, shown_maximum, shown_value] :
       {std::tuple{100, 40, 100, 40}, {100, 250, 100, 100}, {0, 5, 1, 1}, {0, -5, 1, 0}}) {
    bar.SetMaximum(maximum);
    bar.SetValue(value);
    EXPECT_EQ(bar_shown->maximum(), shown_maximum) << value;
    EXPECT_EQ(bar_shown->value(), shown_value) << value;
  }
  progress->Close();

  // Families the system lacks: DejaVu stands in, narrowed to the widths of Times.
  QWidget* times = about.findChild<QWidget*>("StaticText1");
  for (auto [w, missing, stand_in] : {std::tuple{widget("Stato_Assi"), "Verdana", "DejaVu Sans"},
                                      {widget("StaticText3"), "Courier New", "DejaVu Sans Mono"},
                                      {times, "times", "DejaVu Serif"}}) {
    if (!QFontDatabase::hasFamily(missing)) {
      EXPECT_EQ(QFontInfo(w->font()).family(), stand_in);
    }
  }
  EXPECT_TRUE(QFontDatabase::hasFamily("times") || times->font().stretch() < 100);
}

TEST_F(QtProgram, WhileAHandlerRunsNoOtherStarts) {
  QWidget& flag = *widget("Flag_Assi");
  QWidget& area = *widget("DragMe");
  Drag drag = Drag::of(dir.write("scene.sc3d", sculptStrip(1)));
  ASSERT_TRUE(drag.enter(area));
  int runs = 0;
  Qt::DropAction dropped = Qt::CopyAction;
  finestra().Find<fw::BevelButton>("Flag_Assi").Action = [&] {
    if (++runs > 1) return;
    click(flag);
    dropped = drag.drop(area);
  };
  click(flag);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(dropped, Qt::IgnoreAction);
  // The refused drop ends the drag: the picture goes once the handler has ended.
  EXPECT_TRUE(waitUntil([&] { return dragPicture(false); }, 3000));
  EXPECT_EQ(answers.file_dialogs, "");
}

TEST_F(QtProgram, DraggingAFileOverTheDropAreaAndDroppingIt) {
  QWidget& area = *widget("DragMe");
  // Only local files: a web link or plain text is refused and shows nothing.
  EXPECT_FALSE(Drag({QUrl("https://example.org/scene.sc3d")}).enter(area));
  EXPECT_FALSE(Drag({}).enter(area));
  EXPECT_TRUE(dragPicture(false));
  Drag drag = Drag::of(dir.write("strip.sc3d", sculptStrip(4)));
  EXPECT_TRUE(drag.enter(area));
  EXPECT_TRUE(dragPicture(true));
  EXPECT_TRUE(drag.move(area));
  drag.leave(area);
  EXPECT_TRUE(dragPicture(false));

  // Dropped, it is converted with no open dialog; the save dialog opens in its folder.
  answers.chooseFile(dir.path() / "strip.obj");
  ASSERT_TRUE(drag.enter(area));
  // Answered as a copy, so the program the file came from never deletes it.
  EXPECT_EQ(drag.drop(area), Qt::CopyAction);
  ASSERT_TRUE(waitUntil([&] { return label("Out_Formato") == "Sculpt3D"; }));
  EXPECT_TRUE(dragPicture(false));
  EXPECT_EQ(answers.file_dialogs, "s");
  EXPECT_EQ(answers.folders, std::vector<std::filesystem::path>{dir.path()});
  EXPECT_EQ(label("Out_Nome_File"), "strip.sc3d");
  EXPECT_EQ(label("Out_Numero_Poligoni"), "4");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "strip.obj"));
  EXPECT_TRUE(shownWindows("Fiestra di test").empty());  // made by the conversion, hidden
}

TEST_F(QtProgram, DroppedFoldersAndLinksAreRefusedWithTheirMessages) {
  const auto file = dir.write("scene.sc3d", sculptStrip(1));
  std::filesystem::create_directory(dir.path() / "folder");
  std::filesystem::create_symlink(file, dir.path() / "link.sc3d");
  std::filesystem::create_directory_symlink(dir.path() / "folder", dir.path() / "folder_link");
  auto dropped = [&](const char* name) {
    answers.messages.clear();
    Drag drag = Drag::of(dir.path() / name);
    EXPECT_TRUE(drag.enter(*widget("DragMe")));
    drag.drop(*widget("DragMe"));
    waitUntil([&] { return !answers.messages.empty(); }, 3000);
    waitUntil([] { return false; }, 50);  // a second message, when there is one
    return answers.messages;
  };
  EXPECT_EQ(dropped("folder"), std::vector<std::string>{"non puoi trasportare una directory "});
  EXPECT_EQ(dropped("link.sc3d"), std::vector<std::string>{"non puoi aprire una directory"});
  EXPECT_EQ(dropped("folder_link"), (std::vector<std::string>{"non puoi trasportare una directory ",
                                                              "non puoi aprire una directory"}));
  EXPECT_EQ(answers.file_dialogs, "");
}

TEST_F(QtProgram, OpenCommandAsksWithARealFileDialogEvenAfterADrop) {
  const auto file = dir.write("strip.sc3d", sculptStrip(2));
  // The open command comes after a drop is accepted but before it is handled: the drop waits
  // for the command to end, and is not lost. Both dialogs are cancelled.
  Drag drag = Drag::of(file);
  drag.enter(*widget("DragMe"));
  ASSERT_EQ(drag.drop(*widget("DragMe")), Qt::CopyAction);
  action("Aprifile")->trigger();
  EXPECT_EQ(answers.file_dialogs, "o");
  ASSERT_TRUE(waitUntil([&] { return answers.file_dialogs == "os"; }));

  // The open command does not reuse the dropped file.
  answers.chooseFile(file);
  answers.chooseFile(dir.path() / "chosen.obj");
  action("Aprifile")->trigger();
  EXPECT_EQ(answers.file_dialogs, "osos");
  EXPECT_EQ(label("Out_Numero_Poligoni"), "2");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "chosen.obj"));
}

TEST_F(QtProgram, ApriIsEnabledWheneverTheMenuOpens) {
  auto item = Aprifile();
  QMenu* menu = static_cast<QMainWindow&>(mainWindow()).menuBar()->actions()[0]->menu();
  // By its AutoEnable, and without it by the program's enabling handlers.
  for (bool automatic : {true, false}) {
    item->AutoEnable = automatic;
    item->Enabled = false;
    action("Aprifile")->setEnabled(false);
    emit menu->aboutToShow();
    EXPECT_TRUE(item->Enabled) << automatic;
    EXPECT_TRUE(action("Aprifile")->isEnabled()) << automatic;
  }
}

TEST_F(QtProgram, AboutWindowIsOneAtATimeAndHandsItsLinksToTheSystem) {
  action("ArchivioAbout")->trigger();
  auto shown = shownWindows("Info su Tarvelo");
  ASSERT_EQ(shown.size(), 1u);
  QWidget& about = *shown[0];
  LinkCatcher catcher;
  QDesktopServices::setUrlHandler("https", &catcher, "open");
  QDesktopServices::setUrlHandler("mailto", &catcher, "open");
  click(*about.findChild<QWidget*>("PushButton1"));
  click(*about.findChild<QWidget*>("PushButton2"));
  QDesktopServices::unsetUrlHandler("https");
  QDesktopServices::unsetUrlHandler("mailto");
  EXPECT_EQ(catcher.urls, (std::vector<QUrl>{QUrl(About::kWebPage),
                                             QUrl(QStringLiteral("mailto:tarvelo@example.org"))}));

  about.showMinimized();
  action("ArchivioAbout")->trigger();  // the same window, back in front
  EXPECT_EQ(shownWindows("Info su Tarvelo"), shown);
  EXPECT_FALSE(about.isMinimized());

  // In front, it passes the open key on to the program.
  about.activateWindow();
  ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == &about; }, 3000));
  pressCtrl(about, Qt::Key_O);
  EXPECT_EQ(answers.file_dialogs, "o");

  // Its close box closes it; the next choice makes a new one.
  about.close();
  EXPECT_EQ(fw::FindOpenWindow(About::kClassName), nullptr);
  EXPECT_TRUE(shownWindows("Info su Tarvelo").empty());
  action("ArchivioAbout")->trigger();
  EXPECT_EQ(shownWindows("Info su Tarvelo").size(), 1u);
  // The main window has no close box: asking it to close does nothing.
  mainWindow().close();
  EXPECT_TRUE(mainWindow().isVisible());
}

TEST_F(QtProgram, ConversionShowsItsProgressWindowAndTakesNoInput) {
  // Long enough for the event loop to turn during the conversion.
  const auto file = dir.write("long.sc3d", sculptStrip(12000));
  answers.chooseFile(dir.path() / "long.obj");
  struct Watch : QObject {
    QtProgram* test;
    int progress_shown = 0, bar_paints = 0;
    bool input_while_reading = false;
    QPoint progress_centre;
    bool eventFilter(QObject* o, QEvent* e) override {
      auto* w = qobject_cast<QWidget*>(o);
      if (w && e->type() == QEvent::Show && w->windowTitle() == "Progress") {
        ++progress_shown;
        progress_centre = w->frameGeometry().center();
        // A click on the axis switch and the open key while the file is read.
        QTimer::singleShot(0, this, [this] {
          input_while_reading = test->answers.file_dialogs.empty();
          click(*test->widget("Flag_Assi"));
          pressCtrl(test->mainWindow(), Qt::Key_O);
        });
      }
      if (w && e->type() == QEvent::Paint && w->objectName() == "ProgressBar1") ++bar_paints;
      return false;
    }
  } watch;
  watch.test = this;
  qApp->installEventFilter(&watch);
  fw::DragItem item(std::make_shared<fw::FolderItem>(file));
  // No window is active yet, as after a drop from another program.
  ASSERT_EQ(QApplication::activeWindow(), nullptr);
  // Yield's clock has run out: the read's first steps let the event loop turn.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  fw::RunHandler([&] { finestra().DragMe_DropObject(item, 1); });
  qApp->removeEventFilter(&watch);

  EXPECT_EQ(label("Out_Numero_Poligoni"), "12000");
  EXPECT_EQ(watch.progress_shown, 1);
  EXPECT_GT(watch.bar_paints, 0);
  EXPECT_TRUE(shownWindows("Progress").empty());
  // The progress window and the save dialog still go over the main window (frames apart).
  EXPECT_LE((watch.progress_centre - mainWindow().frameGeometry().center()).manhattanLength(), 5);
  EXPECT_EQ(answers.parents, std::vector<QWidget*>{&mainWindow()});
  // The input came while the file was read, and none of it reached the program.
  EXPECT_TRUE(watch.input_while_reading);
  EXPECT_EQ(label("Stato_Assi"), "Assi  X Y Z");
  EXPECT_EQ(answers.file_dialogs, "s");
}

TEST_F(QtProgram, YieldRepaintsNowAndThenAndLetsNoInputThrough) {
  auto& button = *widget<QPushButton>("Flag_Assi");
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
  for (; !clock.hasExpired(60); ++calls) fw::Yield();

  EXPECT_TRUE(clicked_inside);  // the loop did run inside Yield...
  EXPECT_EQ(pressed, 0);        // ...but the click went nowhere
  EXPECT_EQ(label("Stato_Assi"), "Assi  X Y Z");
  EXPECT_LE(loop_turns, 60 / 15 + 1);  // at most every 15 ms
  EXPECT_GT(calls, 1000);
  click(button);
  EXPECT_EQ(pressed, 1);
}

TEST_F(QtProgram, AFailureInAHandlerIsShownAndTheProgramGoesOn) {
  finestra().Find<fw::StaticText>("Stato_Assi").Name = "Stato_Assi_altrove";
  click(*widget("Flag_Assi"));
  EXPECT_EQ(answers.messages, std::vector<std::string>{"Controllo mancante: Stato_Assi"});
  finestra().ControlByName("Stato_Assi_altrove")->Name = "Stato_Assi";
  finestra().premi_assi = 1;
  click(*widget("Flag_Assi"));
  EXPECT_EQ(label("Stato_Assi"), "Assi  X Z Y");
  EXPECT_EQ(widget<QPushButton>("Flag_Assi")->text(), "Axis Switch  Z Up");
}

TEST_F(QtProgram, QuitKeyEndsTheEventLoop) {
  QTimer::singleShot(0, [this] {
    mainWindow().activateWindow();
    waitUntil([&] { return QApplication::activeWindow() == &mainWindow(); }, 3000);
    pressCtrl(mainWindow(), Qt::Key_Q);
  });
  QTimer fallback;  // ends a loop the key failed to end, so the test fails instead of hanging
  fallback.callOnTimeout([] { QCoreApplication::exit(1); });
  fallback.start(10000);
  EXPECT_EQ(host->Run(), 0);
}

// The README's screenshots (scripts/screenshots.sh), made only when TARVELO_SCREENSHOTS names
// a folder: the main window after a conversion and while a file is dragged over it, a
// progress window and the About window, their contents without the title bar.
TEST_F(QtProgram, Screenshots) {
  const QString folder = qEnvironmentVariable("TARVELO_SCREENSHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "TARVELO_SCREENSHOTS names no folder";
  QDir().mkpath(folder);
  auto keep = [&](QWidget& window, const char* file_name) {
    EXPECT_TRUE(window.grab().save(QDir(folder).filePath(QString::fromLatin1(file_name))));
  };

  answers.chooseFile(dir.path() / "rounded_box.obj");
  const auto samples = lightwaveSamples();
  if (!samples) GTEST_SKIP() << "no real LightWave files: set TARVELO_SAMPLES to their folder";
  fw::DragItem item(std::make_shared<fw::FolderItem>(*samples / "rounded_box.lwo"));
  fw::RunHandler([&] { finestra().DragMe_DropObject(item, 1); });
  ASSERT_TRUE(answers.messages.empty());
  keep(mainWindow(), "finestra.png");

  ASSERT_TRUE(Drag::of(dir.write("scena.lwo", {})).enter(*widget("DragMe")));
  keep(mainWindow(), "finestra_drag.png");

  auto progress = std::make_shared<Progress>();
  progress->Constructor();
  progress->ProgressBar1().SetValue(40);
  keep(*host->widgetOf(*progress), "progress.png");
  progress->Close();

  action("ArchivioAbout")->trigger();
  keep(*shownWindows("Info su Tarvelo").at(0), "about.png");
}

#include "test_qt_program.moc"
