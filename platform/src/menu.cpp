// Window menus: a QMenuBar built from a menu template, its items' checked and grayed
// states by command id, and WM_COMMAND posted when an item is chosen.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <map>
#include <vector>

#include "layer.h"
#include "topLevel.h"

struct HMENU__ {
    QPointer<QMenuBar> bar;
    HWND owner = nullptr;
    struct Item {
        QAction* action = nullptr;
        bool checked = false;
        UINT enableFlags = MF_ENABLED;  // as last set: MF_GRAYED and/or MF_DISABLED
    };
    std::map<int, Item> items;  // by command id; the first item wins for a repeated id
};

namespace {

std::vector<HMENU> s_liveMenus;

bool isMenu(HMENU menu) { return menu && std::find(s_liveMenus.begin(), s_liveMenus.end(), menu) != s_liveMenus.end(); }

// Qt draws a check mark only on checkable actions, and Windows shows no box for an
// unchecked item, so an action is checkable exactly while it is checked.
void showChecked(QAction* action, bool checked) {
    if (checked) {
        action->setCheckable(true);
        action->setChecked(true);
    } else {
        action->setChecked(false);
        action->setCheckable(false);
    }
}

void addCommand(HMENU menu, QAction* action, const layer::MenuEntry& entry) {
    HMENU__::Item item;
    item.action = action;
    item.checked = entry.checked;
    item.enableFlags = entry.grayed ? MF_GRAYED : MF_ENABLED;
    action->setEnabled(!entry.grayed);
    showChecked(action, entry.checked);
    int id = entry.id;
    QObject::connect(action, &QAction::triggered, action, [menu, id]() {
        HMENU__::Item& chosen = menu->items[id];
        // Windows never toggles a check mark by itself; undo Qt's toggle.
        showChecked(chosen.action, chosen.checked);
        if (chosen.enableFlags != MF_ENABLED) return;
        PostMessageA(menu->owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    });
    menu->items.emplace(id, item);
}

void addEntries(HMENU menu, QMenu* popup, const std::vector<layer::MenuEntry>& entries) {
    for (const layer::MenuEntry& entry : entries) {
        QString text = QString::fromLatin1(entry.text.c_str());
        if (entry.separator) {
            popup->addSeparator();
        } else if (entry.popup) {
            QMenu* child = popup->addMenu(text);
            child->setEnabled(!entry.grayed);
            addEntries(menu, child, entry.children);
        } else {
            addCommand(menu, popup->addAction(text), entry);
        }
    }
}

HMENU__::Item* findItem(HMENU menu, UINT id) {
    if (!isMenu(menu)) return nullptr;
    auto found = menu->items.find(static_cast<int>(id));
    return found == menu->items.end() ? nullptr : &found->second;
}

}  // namespace

namespace layer {

HMENU createMenu(const MenuTemplate& menuTemplate, HWND owner, QWidget* parent) {
    auto* menu = new HMENU__;
    menu->owner = owner;
    menu->bar = new QMenuBar(parent);
    menu->bar->setNativeMenuBar(false);  // the menu bar belongs inside the window, as on Windows
    s_liveMenus.push_back(menu);
    for (const MenuEntry& entry : menuTemplate.bar) {
        QString text = QString::fromLatin1(entry.text.c_str());
        if (entry.separator) {
            menu->bar->addSeparator();
        } else if (entry.popup) {
            QMenu* popup = menu->bar->addMenu(text);
            popup->setEnabled(!entry.grayed);
            addEntries(menu, popup, entry.children);
        } else {
            // A command on the menu bar itself, chosen with one click.
            addCommand(menu, menu->bar->addAction(text), entry);
        }
    }
    return menu;
}

void destroyMenu(HMENU menu) {
    auto found = std::find(s_liveMenus.begin(), s_liveMenus.end(), menu);
    if (found == s_liveMenus.end()) return;
    s_liveMenus.erase(found);
    delete menu->bar.data();  // null once its window has deleted it
    delete menu;
}

QMenuBar* menuBarOf(HMENU menu) { return isMenu(menu) ? menu->bar.data() : nullptr; }

QAction* menuAction(HMENU menu, int id) {
    HMENU__::Item* item = findItem(menu, static_cast<UINT>(id));
    return item ? item->action : nullptr;
}

}  // namespace layer

HMENU GetMenu(HWND hwnd) {
    if (!layer::isWindow(hwnd) || hwnd->kind != HWND__::TopLevel) return nullptr;
    return hwnd->menu;
}

DWORD CheckMenuItem(HMENU menu, UINT idCheckItem, UINT check) {
    if (check & ~static_cast<UINT>(MF_CHECKED))
        layer::unsupported("CheckMenuItem: flags other than MF_BYCOMMAND and MF_CHECKED");
    HMENU__::Item* item = findItem(menu, idCheckItem);
    if (!item) return static_cast<DWORD>(-1);
    DWORD previous = item->checked ? MF_CHECKED : MF_UNCHECKED;
    item->checked = (check & MF_CHECKED) != 0;
    showChecked(item->action, item->checked);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT idEnableItem, UINT enable) {
    if (enable & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED))
        layer::unsupported("EnableMenuItem: flags other than MF_BYCOMMAND, MF_GRAYED and MF_DISABLED");
    HMENU__::Item* item = findItem(menu, idEnableItem);
    if (!item) return -1;
    BOOL previous = static_cast<BOOL>(item->enableFlags);
    item->enableFlags = enable;
    // Qt has no disabled-but-not-grayed look; either flag makes the item unselectable.
    item->action->setEnabled(enable == MF_ENABLED);
    return previous;
}

// Qt repaints a menu bar whenever one of its actions changes; Windows needs the call for
// the items on the bar itself, whose state EnableMenuItem changes without a repaint.
BOOL DrawMenuBar(HWND hwnd) {
    if (!layer::isWindow(hwnd) || hwnd->kind != HWND__::TopLevel || !hwnd->menu) {
        layer::setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}
