#pragma once
// The main menu of each language and the accelerator table. The two menus are separate on purpose:
// the English one has a Save of its own number, a "Direct Send Data to Printer" item and different
// mnemonics, as users of either language know them.

#include <QKeyCombination>

#include <functional>
#include <map>
#include <span>

#include "res/Texts.h"

class QAction;
class QMenuBar;

namespace etiqo {

struct MenuItemDef {
    TextId text;
    int nCommand;  // 0: a separator (text unused); cmd::kRecentFiles: the recent-files submenu
};

struct MenuDef {
    TextId title;
    std::span<const MenuItemDef> items;
};

// The pop-ups of the menu in the given language: the four of each language's menu resource, with
// Insert after Edit and File's Recent Files as additions.
std::span<const MenuDef> MainMenuDefinition(bool bChinese);

// Fills the menu bar; each item calls onCommand with its number. Returns the actions by number (a
// submenu's action under its number: its menu is action->menu()).
std::map<int, QAction*> BuildMainMenus(QMenuBar& menuBar, bool bChinese,
                                       const std::function<void(int)>& onCommand);

struct Accelerator {
    QKeyCombination key;
    int nCommand;
};

// Both languages share one table. (F6 and Shift+F6, next and previous pane, have nothing to act on.)
std::span<const Accelerator> AcceleratorTable();

}  // namespace etiqo
