// The whole conversion road on a large LightWave object.
//
//   tarvelo_bench generate FILE.lwo    writes an LWOB of 200,000 points and 400,000 triangles
//   tarvelo_bench convert FILE.lwo OUT.obj
//                                      headless: converts it as a drop does, answering the
//                                      save dialog with OUT.obj, and prints the time it took
//   tarvelo_bench convert-qt FILE.lwo OUT.obj
//                                      the real program: the Qt host and the program's
//                                      start-up, the file dropped on the drop area, the save
//                                      dialog answered with OUT.obj, then "Esci"
//
// bench/run.sh runs them beside another converter and measures the whole processes.
#include <QAbstractButton>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/app.h"
#include "app/startup.h"
#include "core/finestra.h"
#include "framework/host.h"
#include "framework/qt/qt_host.h"
#include "tests/iff_builder.h"

namespace {
constexpr int kPoints = 200000;
constexpr int kTriangles = 400000;
constexpr int kSurfaces = 4;
// Point indices are 16-bit: the triangles cover a grid made of the first 65,500 points, 500
// wide, going round it as often as needed.
constexpr int kGridWidth = 500;
constexpr int kGridRows = 65500 / kGridWidth;

std::vector<std::uint8_t> bigObject() {
  std::vector<std::string> names;
  for (int s = 1; s <= kSurfaces; ++s) names.push_back("Surface " + std::to_string(s));

  Bytes srfs;
  for (const auto& n : names) {
    srfs.text(n, true);
    if ((n.size() + 1) % 2 == 1) srfs.u8(0);
  }
  Bytes points;
  for (int i = 0; i < kPoints; ++i) {
    const float x = static_cast<float>(i % kGridWidth) * 0.01f;
    const float y = static_cast<float>(i / kGridWidth) * 0.01f;
    points.f32(x).f32(y).f32(std::sin(x * 3.0f) * std::cos(y * 2.0f));
  }
  Bytes polygons;
  const int cells = (kGridWidth - 1) * (kGridRows - 1);
  for (int t = 0; t < kTriangles; ++t) {
    const int cell = (t / 2) % cells;
    const int a = (cell / (kGridWidth - 1)) * kGridWidth + cell % (kGridWidth - 1);
    const int b = a + 1, c = a + kGridWidth, d = c + 1;
    polygons.u16(3);
    if (t % 2 == 0) {
      polygons.u16(a).u16(b).u16(d);
    } else {
      polygons.u16(a).u16(d).u16(c);
    }
    polygons.u16(1 + t / (kTriangles / kSurfaces));
  }
  Bytes body;
  body.chunk("SRFS", srfs).chunk("PNTS", points).chunk("POLS", polygons);
  for (int s = 0; s < kSurfaces; ++s) {
    Bytes surface;
    surface.text(names[static_cast<size_t>(s)], true);
    if ((names[static_cast<size_t>(s)].size() + 1) % 2 == 1) surface.u8(0);
    surface.chunk16("COLR", Bytes().u8(60 * s).u8(200).u8(255 - 60 * s).u8(0))
        .chunk16("FLAG", Bytes().u16(4))
        .chunk16("SPEC", Bytes().u16(128))
        .chunk16("GLOS", Bytes().u16(64));
    body.chunk("SURF", surface);
  }
  return Form("LWOB", body);
}

// Answers the save dialog with one path; says every message on stderr.
class BenchHost : public fw::Host {
 public:
  explicit BenchHost(std::filesystem::path save) : save_(std::move(save)) {}
  void MsgBox(const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    ++messages;
  }
  std::shared_ptr<fw::FolderItem> GetOpenFolderItem(const std::string&) override { return nullptr; }
  std::shared_ptr<fw::FolderItem> GetSaveFolderItem(const std::string&,
                                                    const std::string&) override {
    return std::make_shared<fw::FolderItem>(save_);
  }
  void ShowURL(const std::string&) override {}
  int messages = 0;

 private:
  std::filesystem::path save_;
};

int generate(const std::filesystem::path& file) {
  const auto bytes = bigObject();
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) {
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return 1;
  }
  std::printf("%s: %zu bytes, %d points, %d triangles\n", file.c_str(), bytes.size(), kPoints,
              kTriangles);
  return 0;
}

int convert(const std::filesystem::path& source, const std::filesystem::path& obj) {
  BenchHost host(std::filesystem::absolute(obj));
  fw::SetHost(&host);
  const auto start = std::chrono::steady_clock::now();
  auto window = std::make_shared<Finestra>();
  window->Constructor();
  window->Drag_Flag = true;
  window->NomeFile = std::filesystem::absolute(source).string();
  fw::RunHandler([&] { window->Legge_File(); });
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  fw::SetHost(nullptr);
  std::printf("tarvelo: %s points, %s polygons in %.3f s\n",
              window->Find<fw::StaticText>("Out_Numero_Vertici").Text().c_str(),
              window->Find<fw::StaticText>("Out_Numero_Poligoni").Text().c_str(), took.count());
  return host.messages == 0 ? 0 : 1;
}

// The user of the real program: drops the file on the drop area once the event loop runs,
// answers the save dialog, reads out any message box, and chooses "Esci" when the
// conversion is over.
class ScriptedUser {
 public:
  ScriptedUser(std::filesystem::path source, std::filesystem::path save)
      : source_(std::move(source)), save_(std::move(save)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start(5);
    QTimer::singleShot(0, [this] { drop(); });
  }
  int messages = 0;
  std::chrono::steady_clock::time_point dropped, done;

 private:
  void drop() {
    QWidget* area = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (!area) area = w->findChild<QWidget*>(QStringLiteral("DragMe"));
    }
    if (!area) {
      std::fprintf(stderr, "no drop area\n");
      ++messages;
      fw::host().Quit();
      return;
    }
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(source_.string()))});
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &enter);
    QDropEvent drop(QPointF(20, 20), actions, &data, Qt::LeftButton, Qt::NoModifier);
    dropped = std::chrono::steady_clock::now();
    QApplication::sendEvent(area, &drop);
    if (!drop.isAccepted()) {
      std::fprintf(stderr, "the drop area refused the file\n");
      ++messages;
      fw::host().Quit();
      return;
    }
    started_ = true;
  }

  // Each dialog is answered once, from the event loop rather than from inside this timer's
  // call: a dialog's answer may open another one (the save dialog's question before it
  // replaces a file), which this timer must then see.
  void look() {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      if (dialog == answered_dialog_) return;
      answered_dialog_ = dialog;
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        if (QAbstractButton* replace = box->button(QMessageBox::Yes)) {
          QTimer::singleShot(0, replace, &QAbstractButton::click);
          return;
        }
        std::fprintf(stderr, "%s\n", box->text().toStdString().c_str());
        ++messages;
        QTimer::singleShot(0, box, &QDialog::accept);
      } else if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
        files->selectFile(QString::fromStdString(save_.string()));
        QTimer::singleShot(0, files, [files] { static_cast<QDialog*>(files)->accept(); });
        answered_ = true;
      }
      return;
    }
    // Over once the file is saved, or once a message has said why not.
    if (started_ && (answered_ || messages > 0) && !Finestra_Instance()->converting) {
      done = std::chrono::steady_clock::now();
      timer_.stop();
      fw::host().Quit();
    }
  }

  std::filesystem::path source_, save_;
  QTimer timer_;
  QPointer<QWidget> answered_dialog_;
  bool started_ = false, answered_ = false;
};

int convertOnQt(const std::filesystem::path& source, const std::filesystem::path& obj) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tarvelo";
  static char* argv[] = {name, nullptr};
  // As main.cpp runs the program, with a user scripted in.
  fw::qt::QtHost host(argc, argv);
  ScriptedUser user(std::filesystem::absolute(source), std::filesystem::absolute(obj));
  const int code = _Main();
  const std::string points = Finestra_Instance()->Find<fw::StaticText>("Out_Numero_Vertici").Text();
  const std::string polygons =
      Finestra_Instance()->Find<fw::StaticText>("Out_Numero_Poligoni").Text();
  releaseProgramObjects();
  const std::chrono::duration<double> took = user.done - user.dropped;
  std::printf("tarvelo on Qt: %s points, %s polygons in %.3f s from the drop\n", points.c_str(),
              polygons.c_str(), took.count());
  return code == 0 && user.messages == 0 ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "generate" && argc == 3) return generate(argv[2]);
  if (mode == "convert" && argc == 4) return convert(argv[2], argv[3]);
  if (mode == "convert-qt" && argc == 4) return convertOnQt(argv[2], argv[3]);
  std::fprintf(stderr,
               "usage: %s generate FILE.lwo | convert FILE.lwo OUT.obj | convert-qt FILE.lwo "
               "OUT.obj\n",
               argv[0]);
  return 2;
}
