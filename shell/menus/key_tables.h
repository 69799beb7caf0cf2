// The navigator's keyboard tables, each owned by one window and tried while the focus is in
// it (or, for the navigator window, anywhere in its frame):
//   the navigator window: the commands of the toolbar and the edit command;
//   the browser host: select all, copy, larger and smaller text (keypad + and -);
//   the edit field of the search box: copy, paste, cut, undo;
//   the favorites tree: delete, new folder, move down and up, edit.
// A command may have several keys; each entry is one key.
//
// User-interface thread only.
#pragma once

#include <QKeySequence>

#include <functional>
#include <span>

class QAction;
class QKeyEvent;
class QWidget;

namespace kestrova {

struct KeyBinding {
    int command;
    QKeySequence keys;
};

std::span<const KeyBinding> NavigatorKeys();
std::span<const KeyBinding> BrowserKeys();
std::span<const KeyBinding> SearchEditKeys();
std::span<const KeyBinding> FavoritesKeys();

// Gives `owner` one QAction per command of `table`, carrying all of the command's keys, the
// command number in data() and the objectName "key_<command>", with the given context. A key
// calls `run` with the command. The actions belong to `owner`.
void InstallKeyTable(QWidget& owner, std::span<const KeyBinding> table, Qt::ShortcutContext context,
                     const std::function<void(int)>& run);

// The command of `table` that a key press stands for, or 0. The keypad counts only where a
// key of the table names it: a keypad Enter is also Enter, but a keypad + is not +.
int CommandOfKey(std::span<const KeyBinding> table, const QKeyEvent& key);

}  // namespace kestrova
