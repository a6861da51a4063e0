#include "framework/qt/qt_host.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTranslator>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "framework/qt/menus.h"
#include "framework/qt/views.h"

namespace fw::qt {

namespace {

constexpr int kStepsPerClockRead = 32;
constexpr qint64 kYieldIntervalMs = 15;
constexpr qint64 kRepaintIntervalMs = 15;

bool isUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::Gesture:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
    case QEvent::Enter:
    case QEvent::Leave:
      return true;
    default:
      return false;
  }
}

std::shared_ptr<FolderItem> itemFor(const QString& path) {
  return std::make_shared<FolderItem>(std::filesystem::path(QFile::encodeName(path).toStdString()));
}

}  // namespace

class QtHost::Impl final : public QObject, public HostLink {
 public:
  Impl() : menus([this](MenuItem& item) { menuChosen(item); }, [this] { menuOpening(); }) {
    QApplication::setQuitOnLastWindowClosed(false);  // only "Esci" ends the program
    QCoreApplication::setApplicationName(QStringLiteral("Tarvelo"));
    // Qt's own dialog texts in the user's language, when the system has them.
    if (translator.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QCoreApplication::installTranslator(&translator);
    }
    qApp->installEventFilter(this);
    yield_clock.start();
    refresh_clock.start();
  }

  ~Impl() override {
    qApp->removeEventFilter(this);
    QCoreApplication::removeTranslator(&translator);
    for (const QPointer<WindowView>& view : views) delete view.data();
  }

  bool deliver(const std::function<void()>& handler) override {
    if (depth > 0) return false;
    Busy busy(*this);
    fw::RunHandler(handler);
    return true;
  }

  bool busy() const override { return depth > 0; }

  void rememberFolder(const std::string& file_path) override {
    folder = QFileInfo(QFile::decodeName(QByteArray::fromStdString(file_path))).absolutePath();
  }

  Window* frontWindow() const {
    auto* view = dynamic_cast<WindowView*>(QApplication::activeWindow());
    return view ? view->window() : nullptr;
  }

  QWidget* inFront() const override {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
      if (*it && (*it)->window() && (*it)->isVisible()) return it->data();
    }
    return nullptr;
  }

  void menuChosen(MenuItem& item) {
    deliver([&] {
      if (dynamic_cast<QuitMenuItem*>(&item)) {
        fw::host().Quit();
        return;
      }
      fw::DispatchMenu(item.Name, frontWindow());
    });
  }

  // Items with AutoEnable are enabled, then the application and the front window decide.
  void menuOpening() {
    deliver([&] {
      for (const auto& root : roots) enableAutomatically(*root);
      fw::EnableMenuItems(frontWindow());
    });
    menus.syncEnabled();
  }

  static void enableAutomatically(MenuItem& parent) {
    for (const auto& child : parent.Children()) {
      if (child->AutoEnable) child->Enabled = true;
      enableAutomatically(*child);
    }
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    // A drag that leaves still reaches its widget, so what the drag showed goes once the
    // handler ends.
    if (!in_yield || !isUserInput(event->type()) || event->type() == QEvent::DragLeave) {
      return QObject::eventFilter(watched, event);
    }
    // Thrown away: a drag is refused, a key or click goes nowhere and starts no shortcut.
    const bool drag = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
                      event->type() == QEvent::Drop;
    event->setAccepted(!drag);
    return true;
  }

  // A handler, or the event loop run by Yield, is under way.
  class Busy {
   public:
    explicit Busy(Impl& d) : d_(d) { ++d_.depth; }
    ~Busy() { --d_.depth; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

   private:
    Impl& d_;
  };

  MenuActions menus;
  std::vector<std::shared_ptr<MenuItem>> roots;  // every menu bar shown, the application's first
  std::shared_ptr<MenuItem> app_menu;
  std::unique_ptr<QMenuBar> app_bar;  // macOS: the menu bar of windows that have none
  std::unordered_map<const Window*, WindowView*> windows;
  std::unordered_map<const Control*, ControlView*> controls;
  std::vector<QPointer<WindowView>> views;  // as made; those left go with the host
  QTranslator translator;
  QString folder;  // where the last file came from: dialogs open there
  QElapsedTimer yield_clock, refresh_clock;
  int yield_steps = 0;
  int depth = 0;
  bool in_yield = false;
};

QtHost::QtHost(int& argc, char** argv) {
  if (!QApplication::instance()) own_app_ = std::make_unique<QApplication>(argc, argv);
  d_ = std::make_unique<Impl>();
  SetHost(this);
}

QtHost::~QtHost() {
  if (&host() == this) SetHost(nullptr);
  d_.reset();
}

void QtHost::MsgBox(const std::string& text) {
  QMessageBox box(QMessageBox::Information, QCoreApplication::applicationName(),
                  QString::fromStdString(text), QMessageBox::Ok, d_->inFront());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::shared_ptr<FolderItem> QtHost::GetOpenFolderItem(const std::string& filter) {
  QFileDialog dialog(d_->inFront());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (!filter.empty()) dialog.setNameFilter(QString::fromStdString(filter));
  if (!d_->folder.isEmpty()) dialog.setDirectory(d_->folder);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return nullptr;
  const QString path = dialog.selectedFiles().constFirst();
  d_->folder = QFileInfo(path).absolutePath();
  return itemFor(path);
}

std::shared_ptr<FolderItem> QtHost::GetSaveFolderItem(const std::string& filter,
                                                      const std::string& default_name) {
  QFileDialog dialog(d_->inFront());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!filter.empty()) dialog.setNameFilter(QString::fromStdString(filter));
  if (!d_->folder.isEmpty()) dialog.setDirectory(d_->folder);
  dialog.selectFile(QString::fromStdString(default_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return nullptr;
  const QString path = dialog.selectedFiles().constFirst();
  d_->folder = QFileInfo(path).absolutePath();
  return itemFor(path);
}

void QtHost::ShowURL(const std::string& url) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtHost::Yield() {
  Impl& d = *d_;
  if (++d.yield_steps < kStepsPerClockRead) return;
  d.yield_steps = 0;
  if (!d.yield_clock.hasExpired(kYieldIntervalMs)) return;
  d.yield_clock.restart();
  Impl::Busy busy(d);
  const bool was_in_yield = d.in_yield;
  d.in_yield = true;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  d.in_yield = was_in_yield;
}

void QtHost::WindowOpened(Window& w) {
  auto* view = new WindowView(w, *d_);
  if (w.MenuBar) {
    d_->menus.fill(*view->menuBar(), w.MenuBar);
    if (std::find(d_->roots.begin(), d_->roots.end(), w.MenuBar) == d_->roots.end()) {
      d_->roots.push_back(w.MenuBar);
    }
  } else if (d_->app_menu) {
    // The application's shortcuts work in this window too.
    for (QAction* action : d_->menus.actionsBelow(d_->app_menu)) view->addAction(action);
  }
  d_->windows[&w] = view;
  std::erase_if(d_->views, [](const QPointer<WindowView>& v) { return v.isNull(); });
  d_->views.emplace_back(view);
  for (ControlView* c : view->controls()) d_->controls[c->control()] = c;
  view->syncVisibility();
}

void QtHost::WindowVisibilityChanged(Window& w) {
  if (auto it = d_->windows.find(&w); it != d_->windows.end()) it->second->syncVisibility();
}

void QtHost::WindowClosed(Window& w) {
  auto it = d_->windows.find(&w);
  if (it == d_->windows.end()) return;
  WindowView* view = it->second;
  d_->windows.erase(it);
  for (ControlView* c : view->controls()) d_->controls.erase(c->control());
  view->detach();
  view->hide();
  // Later: the window may be closing from one of its own widgets' events.
  view->deleteLater();
}

void QtHost::ControlChanged(Control& c) {
  if (auto it = d_->controls.find(&c); it != d_->controls.end()) it->second->sync();
}

void QtHost::ControlRefresh(Control& c) {
  auto it = d_->controls.find(&c);
  if (it == d_->controls.end()) return;
  QWidget& w = it->second->widget();
  if (!w.isVisible()) return;
  // Drawn at once, but not more often than the eye can tell: a reader may refresh per record.
  if (d_->refresh_clock.hasExpired(kRepaintIntervalMs)) {
    d_->refresh_clock.restart();
    w.repaint();
  } else {
    w.update();
  }
}

void QtHost::MenuBarChanged(Application& app) {
  d_->app_menu = app.MenuBar;
  if (!app.MenuBar) return;
  d_->menus.actionsBelow(app.MenuBar);
  if (std::find(d_->roots.begin(), d_->roots.end(), app.MenuBar) == d_->roots.end()) {
    d_->roots.insert(d_->roots.begin(), app.MenuBar);
  }
#ifdef Q_OS_MACOS
  d_->app_bar = std::make_unique<QMenuBar>(nullptr);
  d_->menus.fill(*d_->app_bar, app.MenuBar);
#endif
}

int QtHost::Run() {
  return QApplication::exec();
}

// exit, not quit: quit would first ask every window to close, and the main window has no
// close box.
void QtHost::Quit() {
  QCoreApplication::exit(0);
}

QWidget* QtHost::widgetOf(const Window& w) const {
  auto it = d_->windows.find(&w);
  return it == d_->windows.end() ? nullptr : it->second;
}

QWidget* QtHost::widgetOf(const Control& c) const {
  auto it = d_->controls.find(&c);
  return it == d_->controls.end() ? nullptr : &it->second->widget();
}

QAction* QtHost::actionOf(const MenuItem& item) const {
  return d_->menus.find(item);
}

}  // namespace fw::qt
