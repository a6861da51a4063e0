// Screenshots of the main window, the progress window and the About window, grabbed from the
// program running offscreen and checked for size. When TARVELO_SCREENSHOTS names a folder,
// they are also written there as PNG files (scripts/screenshots.sh makes the README's).
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QMainWindow>
#include <QMimeData>
#include <QPixmap>
#include <QProgressBar>
#include <QUrl>

#include "app/progress.h"
#include "tests/test_qt_support.h"

namespace {
void keep(const QPixmap& shot, const char* file_name) {
  const QString folder = qEnvironmentVariable("TARVELO_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  EXPECT_TRUE(shot.save(QDir(folder).filePath(QString::fromLatin1(file_name))));
}

QSize contentSize(QWidget& window) {
  return static_cast<QMainWindow&>(window).centralWidget()->size();
}
}  // namespace

TEST_F(QtProgram, ScreenshotOfTheMainWindowAfterAConversion) {
  const std::filesystem::path sample =
      std::filesystem::path(TARVELO_SAMPLES_DIR) / "lwob" / "rounded_box.lwo";
  if (std::filesystem::exists(sample)) {
    answers.chooseFile(dir.path() / "rounded_box.obj");
    fw::DragItem item(std::make_shared<fw::FolderItem>(sample));
    fw::RunHandler([&] { finestra().DragMe_DropObject(item, 1); });
  }
  QWidget& window = mainWindow();
  const QPixmap shot = window.grab();
  EXPECT_EQ(contentSize(window), QSize(458, 452));
  EXPECT_EQ(shot.size() / shot.devicePixelRatio(), window.size());
  keep(shot, "finestra.png");
}

TEST_F(QtProgram, ScreenshotOfTheMainWindowWhileAFileIsDraggedOverIt) {
  const auto file = dir.write("scena.lwo", {});
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget("DragMe"), &enter);
  ASSERT_TRUE(widget("StaticText5")->isVisible());
  QWidget& window = mainWindow();
  const QPixmap shot = window.grab();
  EXPECT_EQ(shot.size() / shot.devicePixelRatio(), window.size());
  keep(shot, "finestra_drag.png");
  QDragLeaveEvent leave;
  QApplication::sendEvent(widget("DragMe"), &leave);
}

TEST_F(QtProgram, ScreenshotOfTheProgressWindow) {
  auto progress = std::make_shared<Progress>();
  progress->Constructor();
  progress->ProgressBar1().SetValue(40);
  QWidget& window = *host->widgetOf(*progress);
  const QPixmap shot = window.grab();
  EXPECT_EQ(contentSize(window), QSize(295, 88));
  EXPECT_EQ(window.findChild<QProgressBar*>("ProgressBar1")->value(), 40);
  keep(shot, "progress.png");
  progress->Close();
}

TEST_F(QtProgram, ScreenshotOfTheAboutWindow) {
  action("ArchivioAbout")->trigger();
  const auto about = shownWindows("Info su Tarvelo");
  ASSERT_EQ(about.size(), 1u);
  const QPixmap shot = about[0]->grab();
  EXPECT_EQ(contentSize(*about[0]), QSize(443, 243));
  keep(shot, "about.png");
}
