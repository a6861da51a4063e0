// A host for tests: dialogs answered from queues, messages recorded, windows counted.
// It installs itself for its lifetime.
#pragma once

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/host.h"

class ScriptedHost : public fw::Host {
 public:
  ScriptedHost();
  ~ScriptedHost() override;

  void MsgBox(const std::string& text) override { messages.push_back(text); }
  // Each answers with the front of its queue (empty path: cancel); an empty queue cancels.
  std::shared_ptr<fw::FolderItem> GetOpenFolderItem(const std::string& filter) override;
  std::shared_ptr<fw::FolderItem> GetSaveFolderItem(const std::string& filter,
                                                    const std::string& default_name) override;
  void ShowURL(const std::string& url) override { urls.push_back(url); }
  void Yield() override { ++yields; }
  void WindowOpened(fw::Window& w) override;
  void WindowClosed(fw::Window& w) override;

  std::deque<std::filesystem::path> open_answers, save_answers;
  std::vector<std::string> messages, proposed_names, urls;
  int open_dialogs = 0;
  long long yields = 0;
  std::vector<std::string> opened_titles, closed_titles;
};

// A fresh folder under the system's temporary folder, removed with its contents at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path write(const std::string& name,
                              const std::vector<std::uint8_t>& bytes) const;
  // Names of the files in the folder, sorted.
  std::vector<std::string> files() const;

 private:
  std::filesystem::path path_;
};

std::string readText(const std::filesystem::path& p);
// The text split at LF; a final LF gives no empty last line.
std::vector<std::string> lines(const std::string& text);
