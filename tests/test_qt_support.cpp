#include "tests/test_qt_support.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPushButton>

#include "app/app.h"
#include "app/menubar.h"
#include "app/startup.h"
#include "tests/iff_builder.h"

namespace {
int g_argc = 1;
char g_name[] = "tarvelo_tests";
char* g_argv[] = {g_name, nullptr};
}  // namespace

QApplication& testApplication() {
  // Never destroyed: Qt is not made to start twice in one process.
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(g_argc, g_argv);
  }();
  return *app;
}

DialogAnswers::DialogAnswers() {
  testApplication();
  connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
  timer_.start(5);
}

DialogAnswers::~DialogAnswers() {
  timer_.stop();
}

void DialogAnswers::answer() {
  QWidget* dialog = QApplication::activeModalWidget();
  if (!dialog) return;
  for (const auto& seen : answered_) {
    if (seen == dialog) return;
  }
  answered_.emplace_back(dialog);
  parents.push_back(dialog->parentWidget());
  if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
    messages.push_back(box->text().toStdString());
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      ok->click();
    } else {
      box->reject();
    }
    return;
  }
  if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
    ++file_dialogs;
    folders.emplace_back(files->directory().absolutePath().toStdString());
    if (files->acceptMode() == QFileDialog::AcceptSave) {
      proposed.push_back(QFileInfo(files->selectedFiles().value(0)).fileName().toStdString());
    }
    if (files_.empty() || files_.front().empty()) {
      if (!files_.empty()) files_.pop_front();
      files->reject();
      return;
    }
    files->selectFile(QString::fromStdString(files_.front().string()));
    files_.pop_front();
    static_cast<QDialog*>(files)->accept();  // as the Open or Save button does
    return;
  }
  ADD_FAILURE() << "unexpected dialog " << dialog->metaObject()->className();
  dialog->close();
}

bool waitUntil(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && !clock.hasExpired(timeout_ms)) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return done();
}

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

void QtProgram::SetUp() {
  testApplication();
  host = std::make_unique<fw::qt::QtHost>(g_argc, g_argv);
  _Startup();
}

void QtProgram::TearDown() {
  releaseProgramObjects();
  host.reset();
}

Finestra& QtProgram::finestra() {
  return *Finestra_Instance();
}

QWidget& QtProgram::mainWindow() {
  return *host->widgetOf(finestra());
}

QAction* QtProgram::action(const char* item_name) {
  auto item = MenuBar1_Instance()->Lookup(item_name);
  return item ? host->actionOf(*item) : nullptr;
}

std::vector<QWidget*> QtProgram::shownWindows(const QString& title) {
  std::vector<QWidget*> out;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowTitle() == title) out.push_back(w);
  }
  return out;
}

std::vector<std::uint8_t> sculptStrip(int triangles) {
  Bytes verts, faces;
  for (int i = 0; i < triangles; ++i) {
    verts.u32(i * 65536).u32(0).u32(0);
    verts.u32(i * 65536 + 65536).u32(0).u32(0);
    verts.u32(i * 65536).u32(65536).u32(0);
    faces.u32(3 * i).u32(3 * i + 1).u32(3 * i + 2).u8(200).u8(100).u8(50).u8(0);
  }
  return Form("SC3D", Bytes().chunk("VERT", verts).chunk("FACE", faces));
}
