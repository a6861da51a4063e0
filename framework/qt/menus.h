// Menu bars made from fw::MenuItem trees. Each item gets one QAction, shared by every menu
// bar that shows the item, so its shortcut is one and works from any window of the program.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "framework/ui.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace fw::qt {

class MenuActions : public QObject {
 public:
  // chosen: an item was chosen; opening: a menu is about to open (time to enable items).
  MenuActions(std::function<void(MenuItem&)> chosen, std::function<void()> opening);

  // Fills bar with the menus below root: an item with items below it is a menu.
  void fill(QMenuBar& bar, const std::shared_ptr<MenuItem>& root);
  // The leaf actions below root, made when missing.
  std::vector<QAction*> actionsBelow(const std::shared_ptr<MenuItem>& root);
  // The item's action; none until a menu bar shows the item.
  QAction* find(const MenuItem& item) const;
  // Enables each action as its item says.
  void syncEnabled();

 private:
  QAction* actionFor(const std::shared_ptr<MenuItem>& item);
  void fillMenu(QMenu& menu, const MenuItem& parent);

  std::function<void(MenuItem&)> chosen_;
  std::function<void()> opening_;
  struct Entry {
    std::shared_ptr<MenuItem> item;  // kept alive as long as its action
    QAction* action;
  };
  std::unordered_map<const MenuItem*, Entry> actions_;
};

// The keys of a framework shortcut: "Cmd+Q" and "Cmd+O" are the platform's standard Quit and
// Open keys; another "Cmd+X" is Ctrl+X (Cmd on macOS); empty is none.
QList<QKeySequence> shortcutKeys(const std::string& shortcut);

}  // namespace fw::qt
