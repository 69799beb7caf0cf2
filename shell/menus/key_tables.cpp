#include "shell/menus/key_tables.h"

#include "shell/commands.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace kestrova {
namespace {

constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrlKeypad = Qt::ControlModifier | Qt::KeypadModifier;

QKeySequence Key(Qt::KeyboardModifiers modifiers, Qt::Key key) {
    return QKeySequence(QKeyCombination(modifiers, key));
}

const KeyBinding kNavigatorKeys[] = {
    {ID_EDIT_PAGE, Key(kCtrlShift, Qt::Key_A)},
    {ID_GO_BACK, Key(kCtrlShift, Qt::Key_B)},
    {ID_SHOW_CONTENTS, Key(kCtrlShift, Qt::Key_C)},
    {ID_SEARCH, Key(kCtrlShift, Qt::Key_E)},
    {ID_FIND_ON_PAGE, Key(kCtrl, Qt::Key_F)},
    {ID_GO_FORWARD, Key(kCtrlShift, Qt::Key_F)},
    {ID_SHOW_INDEX, Key(kCtrlShift, Qt::Key_I)},
    {ID_MAIN_MENU, Key(kCtrlShift, Qt::Key_M)},
    {ID_PRINT_PAGE, Key(kCtrlShift, Qt::Key_P)},
    {ID_FIND_IN_CONTENTS, Key(kCtrlShift, Qt::Key_S)},
    {ID_ADD_FAVORITE, Key(kCtrlShift, Qt::Key_V)},
};

const KeyBinding kBrowserKeys[] = {
    {ID_EDIT_SELECT_ALL, Key(kCtrl, Qt::Key_A)},    {ID_EDIT_COPY, Key(kCtrl, Qt::Key_C)},
    {ID_EDIT_COPY, Key(kCtrl, Qt::Key_Insert)},     {ID_ZOOM_IN, Key(kCtrlKeypad, Qt::Key_Plus)},
    {ID_ZOOM_OUT, Key(kCtrlKeypad, Qt::Key_Minus)},
};

const KeyBinding kSearchEditKeys[] = {
    {ID_EDIT_COPY, Key(kCtrl, Qt::Key_C)},  {ID_EDIT_COPY, Key(kCtrl, Qt::Key_Insert)},
    {ID_EDIT_PASTE, Key(kCtrl, Qt::Key_V)}, {ID_EDIT_PASTE, Key(kShift, Qt::Key_Insert)},
    {ID_EDIT_CUT, Key(kCtrl, Qt::Key_X)},   {ID_EDIT_CUT, Key(kShift, Qt::Key_Delete)},
    {ID_EDIT_UNDO, Key(kCtrl, Qt::Key_Z)},
};

// Enter is both the main Enter and the keypad's.
const KeyBinding kFavoritesKeys[] = {
    {ID_FAV_DELETE, Key(Qt::NoModifier, Qt::Key_Delete)},
    {ID_FAV_ADD_FOLDER, Key(Qt::NoModifier, Qt::Key_Insert)},
    {ID_FAV_DOWN, Key(kCtrl, Qt::Key_PageDown)},
    {ID_FAV_UP, Key(kCtrl, Qt::Key_PageUp)},
    {ID_FAV_EDIT, Key(kCtrl, Qt::Key_Return)},
    {ID_FAV_EDIT, Key(kCtrl, Qt::Key_Enter)},
};

constexpr Qt::KeyboardModifiers kSignificant =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

}  // namespace

std::span<const KeyBinding> NavigatorKeys() { return kNavigatorKeys; }
std::span<const KeyBinding> BrowserKeys() { return kBrowserKeys; }
std::span<const KeyBinding> SearchEditKeys() { return kSearchEditKeys; }
std::span<const KeyBinding> FavoritesKeys() { return kFavoritesKeys; }

void InstallKeyTable(QWidget& owner, std::span<const KeyBinding> table, Qt::ShortcutContext context,
                     const std::function<void(int)>& run) {
    std::vector<int> done;
    for (const KeyBinding& binding : table) {
        const int command = binding.command;
        if (std::find(done.begin(), done.end(), command) != done.end()) continue;
        done.push_back(command);
        QList<QKeySequence> keys;
        for (const KeyBinding& other : table) {
            if (other.command == command) keys.append(other.keys);
        }
        auto* action = new QAction(&owner);
        action->setObjectName(QStringLiteral("key_%1").arg(command));
        action->setData(command);
        action->setShortcuts(keys);
        action->setShortcutContext(context);
        QObject::connect(action, &QAction::triggered, &owner, [run, command] { run(command); });
        owner.addAction(action);
    }
}

int CommandOfKey(std::span<const KeyBinding> table, const QKeyEvent& key) {
    const Qt::KeyboardModifiers pressed = key.modifiers() & kSignificant;
    const bool keypad = key.modifiers().testFlag(Qt::KeypadModifier);
    for (const KeyBinding& binding : table) {
        const QKeyCombination combination = binding.keys[0];
        const Qt::KeyboardModifiers wanted = combination.keyboardModifiers();
        if (combination.key() != key.key() || (wanted & kSignificant) != pressed) continue;
        if (wanted.testFlag(Qt::KeypadModifier) && !keypad) continue;
        return binding.command;
    }
    return 0;
}

}  // namespace kestrova
