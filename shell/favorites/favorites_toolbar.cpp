#include "shell/favorites/favorites_toolbar.h"

#include "shell/commands.h"
#include "shell/favorites/favorites_texts.h"
#include "shell/panes/basic_pane.h"

#include <QAction>
#include <QIcon>
#include <QToolButton>

namespace kestrova {

namespace ft = favorites_texts;

CFavoritesToolBar::CFavoritesToolBar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("favoritesToolBar"));
    setAccessibleName(ft::kToolBarName);
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(ScaledX(this, 16), ScaledY(this, 16)));
    AddButton(ID_FAV_UP, "move-up", ft::kUp);
    AddButton(ID_FAV_DOWN, "move-down", ft::kDown);
    addSeparator();
    AddButton(ID_FAV_ADD_FOLDER, "new-folder", ft::kAddFolder);
    addSeparator();
    AddButton(ID_FAV_EDIT, "edit", ft::kEdit);
    AddButton(ID_FAV_DELETE, "delete", ft::kDelete);
}

void CFavoritesToolBar::AddButton(int id, const char* icon, const QString& tooltip) {
    auto* action = new QAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))),
                               tooltip, this);
    action->setToolTip(tooltip);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { emit command(id); });
    addAction(action);
    if (QWidget* button = widgetForAction(action)) {
        button->setObjectName(QStringLiteral("favButton_%1").arg(id));
        button->setAccessibleName(tooltip);
        // The tree keeps the focus; the buttons are reached by their keys.
        button->setFocusPolicy(Qt::NoFocus);
    }
}

QAction* CFavoritesToolBar::ActionOf(int id) const {
    for (QAction* action : actions()) {
        if (!action->isSeparator() && action->data().toInt() == id) return action;
    }
    return nullptr;
}

void CFavoritesToolBar::EnableButton(int id, bool enable) {
    if (QAction* action = ActionOf(id)) action->setEnabled(enable);
}

bool CFavoritesToolBar::IsButtonEnabled(int id) const {
    QAction* action = ActionOf(id);
    return action && action->isEnabled();
}

QToolButton* CFavoritesToolBar::Button(int id) const {
    QAction* action = ActionOf(id);
    return action ? qobject_cast<QToolButton*>(widgetForAction(action)) : nullptr;
}

}  // namespace kestrova

#include "moc_favorites_toolbar.cpp"
