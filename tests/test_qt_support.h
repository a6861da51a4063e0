// The program on the Qt host, offscreen: one QApplication for the test process, a fixture
// that runs the program's start-up on a fresh host and releases everything afterwards, and a
// script that answers the modal dialogs the program opens, as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/finestra.h"
#include "framework/qt/qt_host.h"
#include "tests/scripted_host.h"

// The test process's QApplication (offscreen unless a platform is set), made on first use.
QApplication& testApplication();

// Answers each modal dialog as it appears, in order: file dialogs from the queue, message
// boxes by reading them and pressing OK. A file dialog with no answer left is cancelled.
class DialogAnswers : public QObject {
 public:
  DialogAnswers();
  ~DialogAnswers() override;
  void chooseFile(const std::filesystem::path& path) { files_.push_back(path); }
  void cancelFileDialog() { files_.push_back({}); }

  std::vector<std::string> messages;           // message box texts, in order
  int file_dialogs = 0;                        // file dialogs seen
  std::vector<std::string> proposed;           // names a save dialog proposed
  std::vector<std::filesystem::path> folders;  // where each file dialog opened
  std::vector<QWidget*> parents;               // each dialog's parent window

 private:
  void answer();

  std::deque<std::filesystem::path> files_;
  std::vector<QPointer<QWidget>> answered_;
  QTimer timer_;
};

// Keeps the event loop turning until done() or the time runs out; returns done().
bool waitUntil(const std::function<bool()>& done, int timeout_ms = 10000);
// A left click in the middle of the widget.
void click(QWidget& w);

class QtProgram : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 public:
  Finestra& finestra();
  QWidget& mainWindow();
  // The widget of a control of the main window, by its name.
  template <typename T = QWidget>
  T* widget(const char* name) {
    return mainWindow().findChild<T*>(QString::fromLatin1(name));
  }
  QAction* action(const char* item_name);
  // Top-level widgets on screen with this title.
  static std::vector<QWidget*> shownWindows(const QString& title);

  std::unique_ptr<fw::qt::QtHost> host;
  DialogAnswers answers;
  TempDir dir;
};

// A Sculpt 3D scene of n separate triangles (3n points; n up to 16666).
std::vector<std::uint8_t> sculptStrip(int triangles);
