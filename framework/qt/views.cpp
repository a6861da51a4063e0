#include "framework/qt/views.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>

namespace fw::qt {

namespace {

QColor toQColor(const Color& c) {
  return QColor(c.red, c.green, c.blue);
}

QString toQString(const std::string& text) {
  return QString::fromStdString(text);
}

// Button and group captions show an "&" as it is, not as a mnemonic mark.
QString literalCaption(const std::string& text) {
  return toQString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

Qt::Alignment horizontalAlignment(int text_align) {
  switch (text_align) {
    case 1:
      return Qt::AlignHCenter;
    case 2:
      return Qt::AlignRight;
    default:
      return Qt::AlignLeft;
  }
}

void setPaletteColor(QWidget& w, QPalette::ColorRole role, const QColor& color) {
  if (w.palette().color(role) == color) return;
  QPalette p = w.palette();
  p.setColor(role, color);
  w.setPalette(p);
}

class TextView final : public QLabel, public ControlView {
 public:
  TextView(StaticText& text, QWidget& parent, QPoint origin)
      : QLabel(&parent), ControlView(text, origin) {
    // A file name is shown as it is, never read as markup.
    setTextFormat(Qt::PlainText);
    setMargin(0);
    setIndent(0);
    sync();
  }
  QWidget& widget() override { return *this; }
  void sync() override {
    auto* t = static_cast<StaticText*>(control_);
    if (!t) return;
    syncCommon();
    setFont(fontFor(*t, QApplication::font()));
    setPaletteColor(*this, QPalette::WindowText, toQColor(t->TextColor));
    // An opaque label paints its parent's background colour.
    setAutoFillBackground(!t->Transparent);
    setWordWrap(t->Multiline);
    setAlignment(horizontalAlignment(t->TextAlign) |
                 (t->Multiline ? Qt::AlignTop : Qt::AlignVCenter));
    setTextInteractionFlags(t->Selectable ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
    const QString shown = toQString(t->Text());
    if (text() != shown) setText(shown);
  }
};

// A BevelButton or a PushButton: a caption that reports each press.
class ButtonView final : public QPushButton, public ControlView {
 public:
  ButtonView(Control& button, QWidget& parent, QPoint origin, HostLink& link)
      : QPushButton(&parent), ControlView(button, origin) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this, &link] {
      std::function<void()> action;
      if (auto* bevel = dynamic_cast<BevelButton*>(control_)) action = bevel->Action;
      if (auto* push = dynamic_cast<PushButton*>(control_)) action = push->Action;
      if (action) link.deliver(action);
    });
    sync();
  }
  QWidget& widget() override { return *this; }
  void sync() override {
    if (!control_) return;
    syncCommon();
    setFont(fontFor(*control_, QApplication::font()));
    if (auto* bevel = dynamic_cast<BevelButton*>(control_)) {
      setText(literalCaption(bevel->Caption()));
      setPaletteColor(*this, QPalette::ButtonText, toQColor(bevel->TextColor));
      setFocusPolicy(bevel->AcceptFocus ? Qt::StrongFocus : Qt::NoFocus);
    } else if (auto* push = dynamic_cast<PushButton*>(control_)) {
      setText(literalCaption(push->Caption()));
      setDefault(push->Default);
      setFocusPolicy(push->TabStop ? Qt::StrongFocus : Qt::NoFocus);
    }
  }
};

class GroupView final : public QGroupBox, public ControlView {
 public:
  GroupView(GroupBox& group, QWidget& parent, QPoint origin)
      : QGroupBox(&parent), ControlView(group, origin) {
    sync();
  }
  QWidget& widget() override { return *this; }
  void sync() override {
    auto* g = static_cast<GroupBox*>(control_);
    if (!g) return;
    syncCommon();
    setFont(fontFor(*g, QApplication::font()));
    setTitle(literalCaption(g->Caption));
  }

 protected:
  // Flat, in its parent's background, with a line for its frame: the opaque labels inside
  // paint that background too, where a style's shaded box would show each as a lighter band.
  void paintEvent(QPaintEvent*) override {
    QStylePainter p(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.subControls &= ~QStyle::SC_GroupBoxFrame;
    p.drawComplexControl(QStyle::CC_GroupBox, option);
    QRect frame =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, this);
    // Below the caption, as the style draws its box.
    const QRect caption =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    frame.setTop(std::max(frame.top(), caption.bottom() + 4));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(palette().color(QPalette::Window).darker(140));
    p.drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  }
};

class RoundRectView final : public QWidget, public ControlView {
 public:
  RoundRectView(RoundRectangle& shape, QWidget& parent, QPoint origin)
      : QWidget(&parent), ControlView(shape, origin) {
    sync();
  }
  QWidget& widget() override { return *this; }
  void sync() override {
    if (!control_) return;
    syncCommon();
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    auto* shape = static_cast<RoundRectangle*>(control_);
    if (!shape) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal border = std::max(0, shape->BorderWidth);
    // The border lies inside the control's rectangle.
    const QRectF box = QRectF(rect()).adjusted(border / 2, border / 2, -border / 2, -border / 2);
    p.setPen(border > 0 ? QPen(toQColor(shape->BorderColor), border) : QPen(Qt::NoPen));
    p.setBrush(toQColor(shape->FillColor));
    p.drawRoundedRect(box, shape->OvalWidth / 2.0, shape->OvalHeight / 2.0);
  }
};

// The file-system item of the first URL a drag carries, when it is a local one.
std::optional<std::string> firstLocalFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().isEmpty()) return std::nullopt;
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return std::nullopt;
  return QFile::encodeName(url.toLocalFile()).toStdString();
}

int dragAction(Qt::DropAction action) {
  switch (action) {
    case Qt::CopyAction:
      return 1;
    case Qt::MoveAction:
      return 2;
    case Qt::LinkAction:
      return 3;
    default:
      return 0;
  }
}

// A Rectangle: fill, a border drawn in its top-left and bottom-right colours, and, once the
// control accepts file drops, the drop target for local files.
class RectView final : public QWidget, public ControlView {
 public:
  RectView(Rectangle& rect, QWidget& parent, QPoint origin, HostLink& link)
      : QWidget(&parent), ControlView(rect, origin), link_(link) {
    sync();
  }
  QWidget& widget() override { return *this; }
  void sync() override {
    if (!control_) return;
    syncCommon();
    setAcceptDrops(!shape()->AcceptedFileTypes().empty());
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!control_) return;
    QPainter p(this);
    p.fillRect(rect(), toQColor(shape()->FillColor));
    const int b = std::clamp(shape()->BorderWidth, 0, std::min(width(), height()) / 2);
    if (b == 0) return;
    const QColor top_left = toQColor(shape()->TopLeftColor);
    const QColor bottom_right = toQColor(shape()->BottomRightColor);
    p.fillRect(0, 0, width(), b, top_left);
    p.fillRect(0, 0, b, height(), top_left);
    p.fillRect(0, height() - b, width(), b, bottom_right);
    p.fillRect(width() - b, 0, b, height(), bottom_right);
  }

  void dragEnterEvent(QDragEnterEvent* e) override {
    dragged_.reset();
    if (auto path = firstLocalFile(e->mimeData())) dragged_ = std::make_shared<FolderItem>(*path);
    over(*e);
  }
  void dragMoveEvent(QDragMoveEvent* e) override { over(*e); }
  void dragLeaveEvent(QDragLeaveEvent*) override {
    if (dragged_) dragEnded(dragged_);
  }
  void dropEvent(QDropEvent* e) override {
    if (!control_ || !dragged_) {
      e->ignore();
      return;
    }
    auto file = dragged_;
    // While a handler runs the drop is refused outright; no DragLeave follows a drop, so
    // the drag ends here.
    if (link_.busy() || !acceptAction(*e)) {
      e->ignore();
      dragEnded(file);
      return;
    }
    e->accept();
    const int action = dragAction(e->dropAction());
    link_.rememberFolder(file->AbsolutePath());
    // The drop is answered first and handled just after, so the program the file came from
    // does not wait while the file is converted (its dialogs included). Accepted, it is not
    // lost if a handler has started in between: it waits for that one to end.
    QMetaObject::invokeMethod(
        this,
        [this, file, action] {
          whenFree([this, file, action] {
            DragItem item(file);
            if (shape()->DropObject) shape()->DropObject(item, action);
          });
        },
        Qt::QueuedConnection);
  }

 private:
  // Only a copy or a link is offered back: a conversion never lets the source move its file.
  static bool acceptAction(QDropEvent& e) {
    if (e.possibleActions() & Qt::CopyAction) {
      e.setDropAction(Qt::CopyAction);
      return true;
    }
    if (e.possibleActions() & Qt::LinkAction) {
      e.setDropAction(Qt::LinkAction);
      return true;
    }
    return false;
  }

  void over(QDragMoveEvent& e) {
    if (!control_ || !dragged_ || !acceptAction(e)) {
      e.ignore();
      return;
    }
    DragItem item(dragged_);
    const QPoint at = e.position().toPoint();
    const int action = dragAction(e.dropAction());
    bool refused = false;
    const bool ran = link_.deliver([&] {
      if (shape()->DragOver) refused = shape()->DragOver(at.x(), at.y(), item, action);
    });
    // A DragOver that returns true refuses the drop.
    if (ran && !refused) {
      e.accept();
    } else {
      e.ignore();
    }
  }

  // The drag is over: its DragExit takes away what DragOver showed.
  void dragEnded(const std::shared_ptr<FolderItem>& file) {
    whenFree([this, file] {
      DragItem item(file);
      if (shape()->DragExit) shape()->DragExit(item, 0);
    });
  }

  // Delivers a drag handler now, or as soon as the handler under way has ended; never after
  // the control's window has closed.
  void whenFree(std::function<void()> handler) {
    if (!control_ || link_.deliver(handler)) return;
    QTimer::singleShot(kRetryMs, this, [this, handler = std::move(handler)]() mutable {
      whenFree(std::move(handler));
    });
  }

  static constexpr int kRetryMs = 20;

  Rectangle* shape() const { return static_cast<Rectangle*>(control_); }

  HostLink& link_;
  std::shared_ptr<FolderItem> dragged_;
};

class ProgressView final : public QProgressBar, public ControlView {
 public:
  ProgressView(ProgressBar& bar, QWidget& parent, QPoint origin)
      : QProgressBar(&parent), ControlView(bar, origin) {
    setTextVisible(false);
    sync();
  }
  QWidget& widget() override { return *this; }
  void sync() override {
    auto* bar = static_cast<ProgressBar*>(control_);
    if (!bar) return;
    syncCommon();
    // A maximum of 0 would make Qt show a busy bar, and values out of range are ignored by
    // QProgressBar: the bar stays a plain bar, full above its maximum.
    const int maximum = std::max(1, bar->Maximum());
    if (QProgressBar::maximum() != maximum) setRange(0, maximum);
    setValue(std::clamp(bar->Value(), 0, maximum));
  }
};

class ListView final : public QListWidget, public ControlView {
 public:
  ListView(Listbox& list, QWidget& parent, QPoint origin)
      : QListWidget(&parent), ControlView(list, origin) {
    sync();
  }
  QWidget& widget() override { return *this; }
  void sync() override {
    auto* list = static_cast<Listbox*>(control_);
    if (!list) return;
    syncCommon();
    setFont(fontFor(*list, QApplication::font()));
    setFrameShape(list->HasBorder ? QFrame::StyledPanel : QFrame::NoFrame);
    setVerticalScrollBarPolicy(list->ScrollBarVertical ? Qt::ScrollBarAsNeeded
                                                       : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(list->ScrollBarHorizontal ? Qt::ScrollBarAsNeeded
                                                           : Qt::ScrollBarAlwaysOff);
    clear();
    for (const auto& row : list->Rows()) addItem(toQString(row));
  }
};

Qt::WindowFlags flagsFor(const Window& w) {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (w.CloseButton) flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
  if (w.MinimizeButton) flags |= Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint;
  if (w.MaximizeButton && w.Resizeable) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

}  // namespace

QFont fontFor(const Control& control, const QFont& base) {
  QFont font = base;
  const QString family = toQString(control.TextFont);
  const QString lower = family.toLower();
  if (!family.isEmpty() && lower != QLatin1String("system")) {
    static QHash<QString, bool> installed;
    auto it = installed.find(lower);
    if (it == installed.end()) it = installed.insert(lower, QFontDatabase::hasFamily(family));
    if (*it) {
      font.setFamily(family);
    } else {
      // DejaVu stands in, at the widths of the missing family: Verdana and Courier New
      // match DejaVu Sans and DejaVu Sans Mono; Times is three quarters of DejaVu Serif.
      if (lower.contains(QLatin1String("courier"))) {
        font.setFamily(QStringLiteral("DejaVu Sans Mono"));
      } else if (lower.contains(QLatin1String("times"))) {
        font.setFamily(QStringLiteral("DejaVu Serif"));
        font.setStretch(76);
      } else {
        font.setFamily(QStringLiteral("DejaVu Sans"));
      }
    }
  }
  if (control.TextSize > 0) font.setPixelSize(std::max(1, qRound(control.TextSize)));
  font.setBold(control.Bold);
  font.setItalic(control.Italic);
  font.setUnderline(control.Underline);
  return font;
}

void ControlView::syncCommon() {
  QWidget& w = widget();
  const Control& c = *control_;
  const QRect geometry(c.Left - origin_.x(), c.Top - origin_.y(), c.Width, c.Height);
  if (w.geometry() != geometry) w.setGeometry(geometry);
  const QString tip = toQString(c.HelpTag);
  if (w.toolTip() != tip) w.setToolTip(tip);
  w.setEnabled(c.Enabled());
  if (w.isHidden() == c.Visible()) w.setVisible(c.Visible());
}

ControlView* makeControlView(Control& control, QWidget& parent, QPoint origin, HostLink& link) {
  if (auto* text = dynamic_cast<StaticText*>(&control)) return new TextView(*text, parent, origin);
  if (dynamic_cast<BevelButton*>(&control) || dynamic_cast<PushButton*>(&control)) {
    return new ButtonView(control, parent, origin, link);
  }
  if (auto* group = dynamic_cast<GroupBox*>(&control)) return new GroupView(*group, parent, origin);
  if (auto* round = dynamic_cast<RoundRectangle*>(&control)) {
    return new RoundRectView(*round, parent, origin);
  }
  if (auto* rect = dynamic_cast<Rectangle*>(&control)) {
    return new RectView(*rect, parent, origin, link);
  }
  if (auto* bar = dynamic_cast<ProgressBar*>(&control)) {
    return new ProgressView(*bar, parent, origin);
  }
  if (auto* list = dynamic_cast<Listbox*>(&control)) return new ListView(*list, parent, origin);
  throw IllegalCastException(std::string("Controllo di tipo sconosciuto: ") + control.ClassName());
}

WindowView::WindowView(Window& window, HostLink& link)
    : QMainWindow(nullptr, flagsFor(window)), window_(&window), link_(link), content_(new QWidget) {
  setCentralWidget(content_);
  setWindowTitle(toQString(window.Title));
  if (window.HasBackColor) {
    setPaletteColor(*content_, QPalette::Window, toQColor(window.BackColor));
    content_->setAutoFillBackground(true);
  }
  if (window.Resizeable) {
    content_->setMinimumSize(window.MinWidth, window.MinHeight);
    content_->setMaximumSize(window.MaxWidth, window.MaxHeight);
  } else {
    content_->setFixedSize(window.Width, window.Height);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
  }

  // Controls in creation order, each above the ones made before it; a control inside
  // another is a child of that one's widget, placed in the same window coordinates.
  std::unordered_map<std::string, ControlView*> by_name;
  for (const auto& c : window.Controls()) {
    QWidget* parent = content_;
    QPoint origin;
    if (auto it = by_name.find(c->InitialParent); it != by_name.end()) {
      parent = &it->second->widget();
      origin = QPoint(it->second->control()->Left, it->second->control()->Top);
    }
    ControlView* view = makeControlView(*c, *parent, origin, link);
    view->widget().setObjectName(toQString(c->Name));
    by_name.emplace(c->Name, view);
    controls_.push_back(view);
  }
}

void WindowView::place() {
  if (window_->Resizeable) {
    const int bar = menuWidget() ? menuWidget()->sizeHint().height() : 0;
    resize(window_->Width, window_->Height + bar);
  }
  // Placement 1: over the window in front; 2 and 3: in the middle of the screen.
  QWidget* front = link_.inFront();
  QRect area;
  if (window_->Placement == 1 && front && front != this) {
    area = front->frameGeometry();
  } else if (window_->Placement == 2 || window_->Placement == 3) {
    QScreen* screen = front ? front->screen() : QGuiApplication::primaryScreen();
    if (screen) area = screen->availableGeometry();
  }
  if (area.isValid()) move(area.center() - QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
}

void WindowView::syncVisibility() {
  if (!window_) return;
  if (!window_->Visible) {
    hide();
    return;
  }
  if (!placed_) {
    place();
    placed_ = true;
  }
  const bool again = isVisible();
  show();
  if (again) {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
  }
}

void WindowView::detach() {
  window_ = nullptr;
  for (ControlView* c : controls_) c->detach();
}

void WindowView::closeEvent(QCloseEvent* event) {
  // The window goes only through its object, and only when it has a close box.
  event->ignore();
  if (!window_ || !window_->CloseButton) return;
  Window* w = window_;
  link_.deliver([w] { w->Close(); });
}

}  // namespace fw::qt
