// The whole program on the Qt host, offscreen: start-up, the menu and its shortcuts, real
// drag events on the drop area, the axis switch, the open command through a real file
// dialog, the About window, the progress window, and failures inside handlers.
#include <QAction>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileOpenEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <chrono>
#include <string_view>
#include <thread>
#include <tuple>

#include "app/about.h"
#include "app/app.h"
#include "app/progress.h"
#include "tests/iff_builder.h"
#include "tests/test_qt_support.h"

namespace {
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
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(c.color));
    EXPECT_EQ(label->autoFillBackground(), style.find('t') == style.npos);
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
              c.align == 'C' ? Qt::AlignHCenter : Qt::AlignLeft);
  } else if (qobject_cast<QPushButton*>(w)) {
    EXPECT_EQ(w->palette().color(QPalette::ButtonText), QColor(c.color));
  }
}

// A real drag over a widget, as the window system delivers it.
class Drag {
 public:
  explicit Drag(QList<QUrl> urls, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
      : actions_(actions) {
    data_.setUrls(urls);
  }
  static Drag of(const std::filesystem::path& p) {
    return Drag({QUrl::fromLocalFile(QString::fromStdString(p.string()))});
  }
  bool enter(QWidget& w) {
    QDragEnterEvent e(QPoint(10, 10), actions_, &data_, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
    return e.isAccepted();
  }
  bool move(QWidget& w) {
    QDragMoveEvent e(QPoint(20, 20), actions_, &data_, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
    return e.isAccepted();
  }
  void leave(QWidget& w) {
    QDragLeaveEvent e;
    QApplication::sendEvent(&w, &e);
  }
  // The action the drop was answered with; none when refused.
  Qt::DropAction drop(QWidget& w) {
    QDropEvent e(QPointF(20, 20), actions_, &data_, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
    return e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
  }

 private:
  QMimeData data_;
  Qt::DropActions actions_;
};

// Takes the links the program hands to the system.
class LinkCatcher : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls.push_back(url); }
};

void pressKeys(QWidget& w, int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(&w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(&w, &release);
}
}  // namespace

class QtMainWindow : public QtProgram {
 public:
  QString label(const char* name) { return widget<QLabel>(name)->text(); }
  bool dragPictureShown() {
    return widget("StaticText3")->isVisible() && widget("StaticText4")->isVisible() &&
           widget("StaticText5")->isVisible();
  }
  bool dragPictureHidden() {
    return widget("StaticText3")->isHidden() && widget("StaticText4")->isHidden() &&
           widget("StaticText5")->isHidden();
  }
};

TEST_F(QtMainWindow, StartUpShowsTheMainWindowAndItsMenu) {
  auto& window = static_cast<QMainWindow&>(mainWindow());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "Tarvelo beta 0.5");
  EXPECT_EQ(window.centralWidget()->size(), QSize(458, 452));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());  // not resizable
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(window.centralWidget()->palette().color(QPalette::Window), QColor(0xAF, 0xFF, 0xCC));
  EXPECT_TRUE(window.centralWidget()->autoFillBackground());

  // One menu, "Archivio": quit, About, open, with the platform's Quit and Open keys.
  const auto menus = window.menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), "Archivio");
  QStringList items;
  for (QAction* a : menus[0]->menu()->actions()) items << a->text();
  EXPECT_EQ(items, QStringList({"Esci", "Info su Tarvelo", "&Apri"}));
  // Ctrl is Cmd on macOS.
  EXPECT_TRUE(action("FileQuit")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
  EXPECT_TRUE(action("Aprifile")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_O)));
  EXPECT_TRUE(action("ArchivioAbout")->shortcuts().isEmpty());
  EXPECT_EQ(action("FileQuit")->menuRole(), QAction::QuitRole);
  EXPECT_EQ(action("ArchivioAbout")->menuRole(), QAction::AboutRole);

  EXPECT_TRUE(shownWindows("Progress").empty());
  EXPECT_TRUE(shownWindows("Info su Tarvelo").empty());

  // A file the system hands to the program is not converted.
  QFileOpenEvent opened(QString::fromStdString(dir.write("scene.sc3d", sculptStrip(1)).string()));
  QApplication::sendEvent(qApp, &opened);
  waitUntil([] { return false; }, 50);
  EXPECT_EQ(answers.file_dialogs, 0);
  EXPECT_TRUE(answers.messages.empty());
  EXPECT_EQ(label("Out_Nome_File"), "");
}

TEST_F(QtMainWindow, ControlsAreWhereTheLayoutPutsThem) {
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
  auto& window = static_cast<QMainWindow&>(mainWindow());
  ASSERT_EQ(finestra().Controls().size(), std::size(table));
  QHash<QObject*, qsizetype> above;  // made later, drawn above its siblings made before
  for (size_t i = 0; i < std::size(table); ++i) {
    expectShown(window, table[i]);
    EXPECT_EQ(finestra().Controls()[i]->Name, table[i].name);
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
  // Inside, the group box shows the window's colour, which its opaque labels paint too.
  const QImage shot = window.centralWidget()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(QPoint(30, 380) * shot.devicePixelRatio()), QColor(0xAF, 0xFF, 0xCC));

  action("ArchivioAbout")->trigger();
  auto& about = *static_cast<QMainWindow*>(shownWindows("Info su Tarvelo").at(0));
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
  expectShown(static_cast<QMainWindow&>(*host->widgetOf(*progress)),
              {"ProgressBar1", 13, 34, 269, 21});
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

TEST_F(QtMainWindow, DraggingOverTheDropAreaShowsThePicture) {
  const auto file = dir.write("scene.sc3d", sculptStrip(1));
  QWidget& area = *widget("DragMe");
  Drag drag = Drag::of(file);
  EXPECT_TRUE(drag.enter(area));
  EXPECT_TRUE(dragPictureShown());
  EXPECT_TRUE(drag.move(area));
  EXPECT_TRUE(dragPictureShown());
  drag.leave(area);
  EXPECT_TRUE(dragPictureHidden());

  // Only local files: a web link or plain text is refused and shows nothing.
  Drag web({QUrl("https://example.org/scene.sc3d")});
  EXPECT_FALSE(web.enter(area));
  EXPECT_TRUE(dragPictureHidden());
  EXPECT_FALSE(Drag({}).enter(area));

  // A drop while a handler runs is refused, and the picture goes once the handler ends.
  ASSERT_TRUE(drag.enter(area));
  Qt::DropAction answer = Qt::CopyAction;
  finestra().Find<fw::BevelButton>("Flag_Assi").Action = [&] { answer = drag.drop(area); };
  click(*widget("Flag_Assi"));
  EXPECT_EQ(answer, Qt::IgnoreAction);
  EXPECT_TRUE(waitUntil([&] { return dragPictureHidden(); }, 3000));
  EXPECT_EQ(answers.file_dialogs, 0);
}

TEST_F(QtMainWindow, DroppingAFileConvertsItWithoutAnOpenDialog) {
  const auto file = dir.write("strip.sc3d", sculptStrip(4));
  answers.chooseFile(dir.path() / "strip.obj");
  QWidget& area = *widget("DragMe");
  Drag drag = Drag::of(file);
  ASSERT_TRUE(drag.enter(area));
  // Answered as a copy, so the program the file came from never deletes it.
  EXPECT_EQ(drag.drop(area), Qt::CopyAction);
  ASSERT_TRUE(waitUntil([&] { return label("Out_Formato") == "Sculpt3D"; }));
  EXPECT_TRUE(dragPictureHidden());
  EXPECT_EQ(answers.file_dialogs, 1);  // the save dialog only, in the dropped file's folder
  EXPECT_EQ(answers.proposed, std::vector<std::string>{"strip_sc3d.obj"});
  EXPECT_EQ(answers.folders, std::vector<std::filesystem::path>{dir.path()});
  EXPECT_EQ(label("Out_Nome_File"), "strip.sc3d");
  EXPECT_EQ(label("Out_Numero_Vertici"), "12");
  EXPECT_EQ(label("Out_Numero_Poligoni"), "4");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "strip.obj"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "strip.mtl"));
  EXPECT_TRUE(answers.messages.empty());
  EXPECT_TRUE(shownWindows("Fiestra di test").empty());  // made by the conversion, hidden
}

TEST_F(QtMainWindow, DroppedFoldersAndLinksAreRefusedWithTheirMessages) {
  const auto file = dir.write("scene.sc3d", sculptStrip(1));
  std::filesystem::create_directory(dir.path() / "folder");
  std::filesystem::create_symlink(file, dir.path() / "link.sc3d");
  std::filesystem::create_directory_symlink(dir.path() / "folder", dir.path() / "folder_link");
  QWidget& area = *widget("DragMe");

  auto dropped = [&](const char* name) {
    answers.messages.clear();
    Drag drag = Drag::of(dir.path() / name);
    EXPECT_TRUE(drag.enter(area));
    drag.drop(area);
    waitUntil([&] { return !answers.messages.empty(); }, 3000);
    waitUntil([] { return false; }, 50);  // a second message, when there is one
    return answers.messages;
  };
  EXPECT_EQ(dropped("folder"), std::vector<std::string>{"non puoi trasportare una directory "});
  EXPECT_EQ(dropped("link.sc3d"), std::vector<std::string>{"non puoi aprire una directory"});
  EXPECT_EQ(dropped("folder_link"), (std::vector<std::string>{"non puoi trasportare una directory ",
                                                              "non puoi aprire una directory"}));
  EXPECT_EQ(answers.file_dialogs, 0);
  EXPECT_EQ(label("Out_Formato"), "");
}

TEST_F(QtMainWindow, AxisSwitchPressedTwice) {
  auto& button = *widget<QPushButton>("Flag_Assi");
  click(button);
  EXPECT_EQ(label("Stato_Assi"), "Assi  X Z Y");
  EXPECT_EQ(button.text(), "Axis Switch  Z Up");
  click(button);
  EXPECT_EQ(label("Stato_Assi"), "Assi  X Y Z");
  EXPECT_EQ(button.text(), "Axis Switch  Y Up");
}

TEST_F(QtMainWindow, OpenCommandAsksWithARealFileDialogEvenAfterADrop) {
  const auto file = dir.write("strip.sc3d", sculptStrip(2));
  // A drop is accepted, then the open command comes before the drop is handled: the drop
  // waits for the command to end, and is not lost.
  answers.cancelFileDialog();
  answers.cancelFileDialog();
  Drag drag = Drag::of(file);
  drag.enter(*widget("DragMe"));
  ASSERT_EQ(drag.drop(*widget("DragMe")), Qt::CopyAction);
  action("Aprifile")->trigger();
  EXPECT_TRUE(answers.proposed.empty());
  ASSERT_TRUE(waitUntil([&] { return answers.file_dialogs == 2; }));
  EXPECT_EQ(answers.proposed, std::vector<std::string>{"strip_sc3d.obj"});

  // The open command does not reuse the dropped file.
  answers.chooseFile(file);
  answers.chooseFile(dir.path() / "chosen.obj");
  action("Aprifile")->trigger();
  EXPECT_EQ(answers.file_dialogs, 4);
  EXPECT_EQ(label("Out_Numero_Poligoni"), "2");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "chosen.obj"));
}

TEST_F(QtMainWindow, OpenKeyWorksFromTheAboutWindowToo) {
  action("ArchivioAbout")->trigger();
  QWidget* about = shownWindows("Info su Tarvelo").at(0);
  about->activateWindow();
  ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == about; }, 3000));
  answers.cancelFileDialog();
  pressKeys(*about, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(answers.file_dialogs, 1);
}

TEST_F(QtMainWindow, AboutWindowIsOneAtATime) {
  action("ArchivioAbout")->trigger();
  auto shown = shownWindows("Info su Tarvelo");
  ASSERT_EQ(shown.size(), 1u);
  shown[0]->showMinimized();
  action("ArchivioAbout")->trigger();  // the same window, back in front
  EXPECT_EQ(shownWindows("Info su Tarvelo"), shown);
  EXPECT_FALSE(shown[0]->isMinimized());
  EXPECT_EQ(static_cast<QMainWindow*>(shown[0])->centralWidget()->size(), QSize(443, 243));
  EXPECT_TRUE(shown[0]->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(shown[0]->windowFlags() & Qt::WindowMinimizeButtonHint);

  // While it is open, a file dropped on the main window is converted as usual.
  answers.chooseFile(dir.path() / "strip.obj");
  Drag drag = Drag::of(dir.write("strip.sc3d", sculptStrip(3)));
  ASSERT_TRUE(drag.enter(*widget("DragMe")));
  drag.drop(*widget("DragMe"));
  EXPECT_TRUE(waitUntil([&] { return label("Out_Numero_Poligoni") == "3"; }));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "strip.obj"));

  // Its close box closes it; the next choice makes a new one.
  shown[0]->close();
  EXPECT_EQ(fw::FindOpenWindow(About::kClassName), nullptr);
  EXPECT_TRUE(shownWindows("Info su Tarvelo").empty());
  action("ArchivioAbout")->trigger();
  EXPECT_EQ(shownWindows("Info su Tarvelo").size(), 1u);
  // The main window has no close box: asking it to close does nothing.
  mainWindow().close();
  EXPECT_TRUE(mainWindow().isVisible());
}

TEST_F(QtMainWindow, AboutLinksGoToTheSystem) {
  LinkCatcher catcher;
  QDesktopServices::setUrlHandler("https", &catcher, "open");
  QDesktopServices::setUrlHandler("mailto", &catcher, "open");
  action("ArchivioAbout")->trigger();
  QWidget* about = shownWindows("Info su Tarvelo").at(0);
  click(*about->findChild<QWidget*>("PushButton1"));
  click(*about->findChild<QWidget*>("PushButton2"));
  QDesktopServices::unsetUrlHandler("https");
  QDesktopServices::unsetUrlHandler("mailto");
  EXPECT_EQ(catcher.urls, (std::vector<QUrl>{QUrl(About::kWebPage),
                                             QUrl(QStringLiteral("mailto:tarvelo@example.org"))}));
}

TEST_F(QtMainWindow, ApriIsEnabledWheneverTheMenuOpens) {
  auto item = Aprifile();
  item->Enabled = false;
  QMenu* menu = static_cast<QMainWindow&>(mainWindow()).menuBar()->actions()[0]->menu();
  emit menu->aboutToShow();
  EXPECT_TRUE(item->Enabled);
  EXPECT_TRUE(action("Aprifile")->isEnabled());
}

TEST_F(QtMainWindow, ConversionShowsItsProgressWindowAndTakesNoInput) {
  // Long enough for the event loop to turn during the conversion.
  const auto file = dir.write("long.sc3d", sculptStrip(12000));
  answers.chooseFile(dir.path() / "long.obj");

  struct Watch : QObject {
    QtMainWindow* test;
    int progress_shown = 0, bar_paints = 0, input_sent = 0;
    bool while_reading = false;
    QSize progress_size;
    QPoint progress_centre;
    bool eventFilter(QObject* o, QEvent* e) override {
      auto* w = qobject_cast<QWidget*>(o);
      if (w && e->type() == QEvent::Show && w->windowTitle() == "Progress") {
        ++progress_shown;
        progress_size = static_cast<QMainWindow*>(w)->centralWidget()->size();
        progress_centre = w->frameGeometry().center();
        // User input while the file is read: a click on the axis switch and the open key.
        QTimer::singleShot(0, this, [this] {
          ++input_sent;
          while_reading = test->answers.file_dialogs == 0;
          click(*test->widget("Flag_Assi"));
          pressKeys(test->mainWindow(), Qt::Key_O, Qt::ControlModifier);
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
  EXPECT_EQ(watch.progress_size, QSize(295, 88));
  // The progress window and the save dialog still go over the main window.
  EXPECT_LE((watch.progress_centre - mainWindow().frameGeometry().center()).manhattanLength(),
            5);  // window frames apart
  EXPECT_EQ(answers.parents, std::vector<QWidget*>{&mainWindow()});
  EXPECT_GT(watch.bar_paints, 0);
  EXPECT_TRUE(shownWindows("Progress").empty());
  // The input came while the file was read, and none of it reached the program.
  EXPECT_EQ(watch.input_sent, 1);
  EXPECT_TRUE(watch.while_reading);
  EXPECT_EQ(label("Stato_Assi"), "Assi  X Y Z");
  EXPECT_EQ(answers.file_dialogs, 1);
}

TEST_F(QtMainWindow, AFailureInAHandlerIsShownAndTheProgramGoesOn) {
  finestra().Find<fw::StaticText>("Stato_Assi").Name = "Stato_Assi_altrove";
  click(*widget("Flag_Assi"));
  EXPECT_EQ(answers.messages, std::vector<std::string>{"Controllo mancante: Stato_Assi"});
  finestra().ControlByName("Stato_Assi_altrove")->Name = "Stato_Assi";
  finestra().premi_assi = 1;
  click(*widget("Flag_Assi"));
  EXPECT_EQ(label("Stato_Assi"), "Assi  X Z Y");
}

TEST_F(QtMainWindow, QuitKeyEndsTheEventLoop) {
  QTimer::singleShot(0, [this] {
    mainWindow().activateWindow();
    waitUntil([&] { return QApplication::activeWindow() == &mainWindow(); }, 3000);
    pressKeys(mainWindow(), Qt::Key_Q, Qt::ControlModifier);
  });
  QTimer fallback;  // ends a loop the key failed to end, so the test fails instead of hanging
  bool timed_out = false;
  fallback.callOnTimeout([&] {
    timed_out = true;
    QCoreApplication::exit(1);
  });
  fallback.start(10000);
  EXPECT_EQ(host->Run(), 0);
  EXPECT_FALSE(timed_out);
}

#include "test_qt_program.moc"
