// The whole program on the Qt host, offscreen: start-up, the menu and its shortcuts, real
// drag events on the drop area, the axis switch, the open command through a real file
// dialog, the About window, the progress window, and failures inside handlers.
#include <QAction>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <chrono>
#include <thread>

#include "app/about.h"
#include "app/app.h"
#include "tests/iff_builder.h"
#include "tests/test_qt_support.h"

namespace {
QColor toQColor(const fw::Color& c) {
  return QColor(c.red, c.green, c.blue);
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

void click(QWidget& w) {
  const QPointF at(w.width() / 2.0, w.height() / 2.0);
  const QPointF global = w.mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&w, &release);
}

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
}

TEST_F(QtMainWindow, EveryControlIsOnScreenAsItsObjectSays) {
  QWidget& content = *static_cast<QMainWindow&>(mainWindow()).centralWidget();
  ASSERT_EQ(finestra().Controls().size(), 20u);
  for (const auto& c : finestra().Controls()) {
    SCOPED_TRACE(c->Name);
    QWidget* w = widget(c->Name.c_str());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(QRect(w->mapTo(&content, QPoint(0, 0)), w->size()),
              QRect(c->Left, c->Top, c->Width, c->Height));
    EXPECT_EQ(w->isHidden(), !c->Visible());
    EXPECT_EQ(w->toolTip().toStdString(), c->HelpTag);
    if (auto* text = dynamic_cast<fw::StaticText*>(c.get())) {
      auto* l = static_cast<QLabel*>(w);
      EXPECT_EQ(l->text().toStdString(), text->Text());
      EXPECT_EQ(l->font().pixelSize(), text->TextSize);
      EXPECT_EQ(l->font().bold(), text->Bold);
      EXPECT_EQ(l->palette().color(QPalette::WindowText), toQColor(text->TextColor));
      EXPECT_EQ(l->autoFillBackground(), !text->Transparent);
      EXPECT_EQ(l->alignment() & Qt::AlignHorizontal_Mask,
                text->TextAlign == 1 ? Qt::AlignHCenter : Qt::AlignLeft);
    }
  }
  // Only the drop area takes drops.
  EXPECT_TRUE(widget("DragMe")->acceptDrops());
  EXPECT_FALSE(mainWindow().acceptDrops());
  EXPECT_FALSE(content.acceptDrops());
  EXPECT_EQ(label("Stato_Assi"), "Assi  X Y Z");
  EXPECT_EQ(widget<QPushButton>("Flag_Assi")->text(), "Axis Switch  Y Up");
  EXPECT_TRUE(widget<QPushButton>("Flag_Assi")->font().italic());
  EXPECT_EQ(widget<QGroupBox>("GroupBox1")->title(), "Risultato conversione");
  // Later controls draw above earlier ones: the black "3D" over the white one.
  EXPECT_EQ(widget("StaticText5")->parentWidget(), widget("DragMe"));
  EXPECT_GT(widget("DragMe")->children().indexOf(widget("StaticText5")),
            widget("DragMe")->children().indexOf(widget("StaticText4")));
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
  EXPECT_EQ(answers.file_dialogs, 1);  // the save dialog only
  EXPECT_EQ(answers.proposed, std::vector<std::string>{"strip_sc3d.obj"});
  EXPECT_EQ(label("Out_Nome_File"), "strip.sc3d");
  EXPECT_EQ(label("Out_Numero_Vertici"), "12");
  EXPECT_EQ(label("Out_Numero_Poligoni"), "4");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "strip.obj"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "strip.mtl"));
  EXPECT_TRUE(answers.messages.empty());
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
  // A drop first: the open command must not reuse the dropped file.
  answers.cancelFileDialog();
  Drag drag = Drag::of(file);
  drag.enter(*widget("DragMe"));
  drag.drop(*widget("DragMe"));
  ASSERT_TRUE(waitUntil([&] { return answers.file_dialogs == 1; }));

  answers.chooseFile(file);
  answers.chooseFile(dir.path() / "chosen.obj");
  action("Aprifile")->trigger();
  EXPECT_EQ(answers.file_dialogs, 3);
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
  action("ArchivioAbout")->trigger();
  auto shown = shownWindows("Info su Tarvelo");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(static_cast<QMainWindow*>(shown[0])->centralWidget()->size(), QSize(443, 243));
  EXPECT_TRUE(shown[0]->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(shown[0]->windowFlags() & Qt::WindowMinimizeButtonHint);

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
    bool eventFilter(QObject* o, QEvent* e) override {
      auto* w = qobject_cast<QWidget*>(o);
      if (w && e->type() == QEvent::Show && w->windowTitle() == "Progress") {
        ++progress_shown;
        progress_size = static_cast<QMainWindow*>(w)->centralWidget()->size();
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
  // Yield's clock has run out: the read's first steps let the event loop turn.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  fw::RunHandler([&] { finestra().DragMe_DropObject(item, 1); });
  qApp->removeEventFilter(&watch);

  EXPECT_EQ(label("Out_Numero_Poligoni"), "12000");
  EXPECT_EQ(watch.progress_shown, 1);
  EXPECT_EQ(watch.progress_size, QSize(295, 88));
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
