#include "framework/qt/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace fw::qt {

QList<QKeySequence> shortcutKeys(const std::string& shortcut) {
  if (shortcut.empty()) return {};
  QString key = QString::fromStdString(shortcut);
  if (key.startsWith(QLatin1String("Cmd+"), Qt::CaseInsensitive)) key = key.mid(4);
  auto standard = [&](QKeySequence::StandardKey which, const char* fallback) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(which);
    if (keys.isEmpty()) keys.append(QKeySequence(QString::fromLatin1(fallback)));
    return keys;
  };
  if (key.compare(QLatin1String("Q"), Qt::CaseInsensitive) == 0) {
    return standard(QKeySequence::Quit, "Ctrl+Q");
  }
  if (key.compare(QLatin1String("O"), Qt::CaseInsensitive) == 0) {
    return standard(QKeySequence::Open, "Ctrl+O");
  }
  return {QKeySequence(QLatin1String("Ctrl+") + key)};
}

MenuActions::MenuActions(std::function<void(MenuItem&)> chosen, std::function<void()> opening)
    : chosen_(std::move(chosen)), opening_(std::move(opening)) {}

QAction* MenuActions::find(const MenuItem& item) const {
  auto it = actions_.find(&item);
  return it == actions_.end() ? nullptr : it->second.action;
}

QAction* MenuActions::actionFor(const std::shared_ptr<MenuItem>& item) {
  if (QAction* existing = find(*item)) return existing;
  auto* action = new QAction(QString::fromStdString(item->Text), this);
  action->setShortcuts(shortcutKeys(item->KeyboardShortcut));
  // One shortcut for the whole program: it works whichever window is in front, and not
  // while a dialog is open.
  action->setShortcutContext(Qt::ApplicationShortcut);
  if (dynamic_cast<QuitMenuItem*>(item.get())) {
    action->setMenuRole(QAction::QuitRole);
  } else if (dynamic_cast<AppleMenuItem*>(item.get())) {
    action->setMenuRole(QAction::AboutRole);
  } else {
    action->setMenuRole(QAction::NoRole);
  }
  action->setEnabled(item->Enabled);
  MenuItem* raw = item.get();
  connect(action, &QAction::triggered, this, [this, raw] { chosen_(*raw); });
  actions_.emplace(raw, Entry{item, action});
  return action;
}

void MenuActions::fillMenu(QMenu& menu, const MenuItem& parent) {
  for (const auto& child : parent.Children()) {
    if (child->Children().empty()) {
      menu.addAction(actionFor(child));
    } else {
      fillMenu(*menu.addMenu(QString::fromStdString(child->Text)), *child);
    }
  }
}

void MenuActions::fill(QMenuBar& bar, const std::shared_ptr<MenuItem>& root) {
  if (!root) return;
  for (const auto& top : root->Children()) {
    if (top->Children().empty()) {
      bar.addAction(actionFor(top));
      continue;
    }
    QMenu* menu = bar.addMenu(QString::fromStdString(top->Text));
    connect(menu, &QMenu::aboutToShow, this, [this] { opening_(); });
    fillMenu(*menu, *top);
  }
}

std::vector<QAction*> MenuActions::actionsBelow(const std::shared_ptr<MenuItem>& root) {
  std::vector<QAction*> out;
  if (!root) return out;
  for (const auto& child : root->Children()) {
    if (child->Children().empty()) {
      out.push_back(actionFor(child));
    } else {
      auto below = actionsBelow(child);
      out.insert(out.end(), below.begin(), below.end());
    }
  }
  return out;
}

void MenuActions::syncEnabled() {
  for (auto& [raw, entry] : actions_) entry.action->setEnabled(entry.item->Enabled);
}

}  // namespace fw::qt
