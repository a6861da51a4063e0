#include "framework/ui.h"

#include <algorithm>

#include "framework/host.h"

namespace fw {

void Control::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  changed();
}
void Control::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  changed();
}
void Control::Refresh(bool /*erase*/) {
  host().ControlRefresh(*this);
}
void Control::changed() {
  if (window_ && window_->IsOpen()) host().ControlChanged(*this);
}

void StaticText::SetText(std::string t) {
  if (text_ == t) return;
  text_ = std::move(t);
  changed();
}
void BevelButton::SetCaption(std::string c) {
  caption_ = std::move(c);
  changed();
}
void PushButton::SetCaption(std::string c) {
  caption_ = std::move(c);
  changed();
}
void ProgressBar::SetValue(std::int32_t v) {
  if (value_ == v) return;
  value_ = v;
  changed();
}
void ProgressBar::SetMaximum(std::int32_t m) {
  if (maximum_ == m) return;
  maximum_ = m;
  changed();
}
void Listbox::AddRow(std::string text) {
  rows_.push_back(std::move(text));
  changed();
}
void Listbox::DeleteAllRows() {
  rows_.clear();
  changed();
}

std::shared_ptr<MenuItem> MenuItem::Child(std::string_view name) const {
  for (const auto& c : children_) {
    if (c->Name == name) return c;
  }
  return nullptr;
}
std::shared_ptr<MenuItem> MenuItem::Lookup(std::string_view name) const {
  for (const auto& c : children_) {
    if (c->Name == name) return c;
    if (auto found = c->Lookup(name)) return found;
  }
  return nullptr;
}

void MenuHandlers::Add(std::string item_name, std::function<bool()> handler) {
  handlers_.emplace_back(std::move(item_name), std::move(handler));
}
bool MenuHandlers::Has(std::string_view item_name) const {
  return std::any_of(handlers_.begin(), handlers_.end(),
                     [&](const auto& h) { return h.first == item_name; });
}
bool MenuHandlers::Handle(std::string_view item_name) const {
  for (const auto& [name, handler] : handlers_) {
    if (name == item_name && handler) return handler();
  }
  return false;
}

namespace {
std::vector<std::shared_ptr<Window>>& openWindows() {
  static std::vector<std::shared_ptr<Window>> windows;
  return windows;
}
std::shared_ptr<Application>& theApp() {
  static std::shared_ptr<Application> app;
  return app;
}
}  // namespace

const std::vector<std::shared_ptr<Window>>& OpenWindows() {
  return openWindows();
}

std::shared_ptr<Window> FindOpenWindow(std::string_view class_name) {
  for (const auto& w : openWindows()) {
    if (class_name == w->ClassName()) return w;
  }
  return nullptr;
}

void Window::Constructor() {
  Layout();
  CreateControls();
  for (auto& c : controls_) {
    if (c->Open) c->Open();
  }
  AddMenuHandlers();
  open_ = true;
  openWindows().push_back(shared_from_this());
  host().WindowOpened(*this);
}

void Window::Show() {
  Visible = true;
  if (open_) host().WindowVisibilityChanged(*this);
}

void Window::Hide() {
  Visible = false;
  if (open_) host().WindowVisibilityChanged(*this);
}

void Window::Close() {
  if (!open_) return;
  open_ = false;
  Visible = false;
  auto self = shared_from_this();  // keeps the window alive while the host lets it go
  auto& list = openWindows();
  list.erase(std::remove(list.begin(), list.end(), self), list.end());
  host().WindowClosed(*this);
}

Control& Window::AddControl(std::unique_ptr<Control> control, std::string name) {
  control->Name = std::move(name);
  control->window_ = this;
  controls_.push_back(std::move(control));
  return *controls_.back();
}

Control* Window::ControlByName(std::string_view name) const {
  for (const auto& c : controls_) {
    if (c->Name == name) return c.get();
  }
  return nullptr;
}

Application* TheApplication() {
  return theApp().get();
}
void RegisterAppObject(std::shared_ptr<Application> app) {
  theApp() = std::move(app);
}

bool DispatchMenu(std::string_view item_name, Window* front) {
  bool handled = false;
  RunHandler([&] {
    if (front && front->menuHandlers.Handle(item_name)) {
      handled = true;
      return;
    }
    if (auto* app = TheApplication()) handled = app->menuHandlers.Handle(item_name);
  });
  return handled;
}

void EnableMenuItems(Window* front) {
  RunHandler([&] {
    if (auto* app = TheApplication()) app->EnableMenuItems();
    if (front) front->EnableMenuItems();
  });
}

}  // namespace fw
