#include "Key_Toolbar.h"

#include <QLayout>
#include <QMenu>
#include <QResizeEvent>
#include <QToolButton>

#include "Image_List.h"

Key_Toolbar::Key_Toolbar(const QString& name, QWidget* parent)
    : QToolBar(parent)
{
    setObjectName(name);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(16, 16));
    setMovable(false);
    setFloatable(false);
}

QAction* Key_Toolbar::Add_Button(const QString& key, const QString& caption, const QString& tip,
                                 const QString& image)
{
    QAction* action = addAction(Image_List_Icon(image), caption);
    action->setData(key);
    action->setObjectName(key);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    connect(action, &QAction::triggered, this, [this, action] {
        const QString key = action->data().toString();
        if (key.isEmpty()) {
            // A button without a key of its own only opens its menu.
            if (QToolButton* button = qobject_cast<QToolButton*>(widgetForAction(action)))
                button->showMenu();
            return;
        }
        Q_EMIT Button_Click(key);
    });
    return action;
}

QAction* Key_Toolbar::Add_Menu_Entry(QAction* button, const QString& key, const QString& text)
{
    QMenu* menu = button->menu();
    if (!menu) {
        menu = new QMenu(this);
        button->setMenu(menu);
        if (QToolButton* tool = qobject_cast<QToolButton*>(widgetForAction(button)))
            tool->setPopupMode(button->data().toString().isEmpty() ? QToolButton::InstantPopup
                                                                   : QToolButton::MenuButtonPopup);
    }
    QAction* entry = menu->addAction(text);
    entry->setData(key);
    entry->setObjectName(key);
    connect(entry, &QAction::triggered, this, [this, entry] {
        Q_EMIT Button_Menu_Click(entry->data().toString());
    });
    return entry;
}

void Key_Toolbar::Give_Shortcut(QAction* action, const QKeySequence& keys, QWidget* scope,
                                Qt::ShortcutContext context)
{
    action->setShortcut(keys);
    action->setShortcutContext(context);
    // A hidden menu's entry, or a button, takes its keys from the widget it works for.
    scope->addAction(action);
    const QString tip = action->toolTip().isEmpty() ? action->text() : action->toolTip();
    action->setToolTip(tip.trimmed() + " (" + keys.toString(QKeySequence::NativeText) + ")");
}

QAction* Key_Toolbar::Button(const QString& key) const
{
    for (QAction* action : actions())
        if (!action->isSeparator() && action->data().toString() == key)
            return action;
    return nullptr;
}

QAction* Key_Toolbar::Menu_Entry(QAction* button, const QString& key) const
{
    if (!button || !button->menu())
        return nullptr;
    for (QAction* entry : button->menu()->actions())
        if (entry->data().toString() == key)
            return entry;
    return nullptr;
}

void Key_Toolbar::Set_Buttons_Enabled(bool enabled)
{
    for (QAction* action : actions()) {
        action->setEnabled(enabled);
        if (QMenu* menu = action->menu())
            for (QAction* entry : menu->actions())
                entry->setEnabled(enabled);
    }
}

int Key_Toolbar::Width_With_Captions()
{
    int width = 0;
    for (QAction* action : actions()) {
        QWidget* widget = widgetForAction(action);
        if (!widget || !action->isVisible())
            continue;
        if (auto* button = qobject_cast<QToolButton*>(widget)) {
            // The width the button would take with its caption beside the image.
            const Qt::ToolButtonStyle style = button->toolButtonStyle();
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            width += button->sizeHint().width();
            button->setToolButtonStyle(style);
        } else {
            width += widget->sizeHint().width();
        }
        width += layout() ? layout()->spacing() : 0;
    }
    const QMargins margins = contentsMargins() + (layout() ? layout()->contentsMargins() : QMargins());
    return width + margins.left() + margins.right() + 16;
}

void Key_Toolbar::resizeEvent(QResizeEvent* event)
{
    QToolBar::resizeEvent(event);
    const Qt::ToolButtonStyle wanted =
        Width_With_Captions() <= event->size().width() ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly;
    if (toolButtonStyle() != wanted)
        setToolButtonStyle(wanted);
}
