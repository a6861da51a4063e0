#include "tests/scripted_host.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>

#include "framework/ui.h"

ScriptedHost::ScriptedHost() {
  fw::SetHost(this);
}

ScriptedHost::~ScriptedHost() {
  fw::SetHost(nullptr);
  // Windows left open by one test must not reach the next.
  while (!fw::OpenWindows().empty()) fw::OpenWindows().back()->Close();
}

std::shared_ptr<fw::FolderItem> ScriptedHost::GetOpenFolderItem(const std::string&) {
  ++open_dialogs;
  if (open_answers.empty()) return nullptr;
  auto p = open_answers.front();
  open_answers.pop_front();
  return p.empty() ? nullptr : std::make_shared<fw::FolderItem>(p);
}

std::shared_ptr<fw::FolderItem> ScriptedHost::GetSaveFolderItem(const std::string&,
                                                                const std::string& default_name) {
  proposed_names.push_back(default_name);
  if (save_answers.empty()) return nullptr;
  auto p = save_answers.front();
  save_answers.pop_front();
  return p.empty() ? nullptr : std::make_shared<fw::FolderItem>(p);
}

void ScriptedHost::WindowOpened(fw::Window& w) {
  opened_titles.push_back(w.Title);
}
void ScriptedHost::WindowClosed(fw::Window& w) {
  closed_titles.push_back(w.Title);
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("tarvelo-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::write(const std::string& name,
                                     const std::vector<std::uint8_t>& bytes) const {
  auto p = path_ / name;
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return p;
}

std::vector<std::string> TempDir::files() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(path_)) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string readText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : text) {
    if (c == '\n') {
      out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}
