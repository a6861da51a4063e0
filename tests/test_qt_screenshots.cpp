// The README's screenshots, made only when TARVELO_SCREENSHOTS names a folder
// (scripts/screenshots.sh): the contents of the main window after a conversion and while a
// file is dragged over it, of a progress window and of the About window, grabbed from the
// program's start-up running offscreen.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPixmap>
#include <QUrl>

#include "app/progress.h"
#include "tests/test_qt_support.h"

TEST_F(QtProgram, Screenshots) {
  const QString folder = qEnvironmentVariable("TARVELO_SCREENSHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "TARVELO_SCREENSHOTS names no folder";
  QDir().mkpath(folder);
  auto keep = [&](QWidget& window, const char* file_name) {
    EXPECT_TRUE(window.grab().save(QDir(folder).filePath(QString::fromLatin1(file_name))));
  };

  answers.chooseFile(dir.path() / "rounded_box.obj");
  fw::DragItem item(std::make_shared<fw::FolderItem>(std::filesystem::path(TARVELO_SAMPLES_DIR) /
                                                     "lwob" / "rounded_box.lwo"));
  fw::RunHandler([&] { finestra().DragMe_DropObject(item, 1); });
  ASSERT_TRUE(answers.messages.empty());
  keep(mainWindow(), "finestra.png");

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.write("scena.lwo", {}).string()))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget("DragMe"), &enter);
  ASSERT_TRUE(widget("StaticText5")->isVisible());
  keep(mainWindow(), "finestra_drag.png");

  auto progress = std::make_shared<Progress>();
  progress->Constructor();
  progress->ProgressBar1().SetValue(40);
  keep(*host->widgetOf(*progress), "progress.png");
  progress->Close();

  action("ArchivioAbout")->trigger();
  keep(*shownWindows("Info su Tarvelo").at(0), "about.png");
}
