#include "framework/host.h"

#include <new>

#include "framework/exceptions.h"

namespace fw {

namespace {
class SilentHost : public Host {
 public:
  void MsgBox(const std::string&) override {}
  std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string&) override { return nullptr; }
  std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string&, const std::string&) override {
    return nullptr;
  }
  void ShowURL(const std::string&) override {}
};

SilentHost g_silent;
Host* g_host = &g_silent;
}  // namespace

Host& host() {
  return *g_host;
}
void SetHost(Host* h) {
  g_host = h ? h : &g_silent;
}

void MsgBox(const std::string& text) {
  host().MsgBox(text);
}
std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string& filter) {
  return host().GetOpenFolderItem(filter);
}
std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string& filter, const std::string& name) {
  return host().GetSaveFolderItem(filter, name);
}
void ShowURL(const std::string& url) {
  host().ShowURL(url);
}
void Yield() {
  host().Yield();
}

void RunHandler(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const RuntimeException& e) {
    host().MsgBox(e.what());
  } catch (const std::bad_alloc&) {
    host().MsgBox("Memoria insufficiente: l'operazione è stata interrotta.");
  } catch (const std::exception& e) {
    host().MsgBox(std::string("Errore imprevisto: ") + e.what());
  }
}

}  // namespace fw
