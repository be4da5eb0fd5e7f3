#pragma once
// A toolbar whose buttons and drop-down entries are known by their keys: a
// click reports the key of the button or of the menu entry, and the handler
// decides by comparing it with fixed texts.

#include <QAction>
#include <QString>
#include <QToolBar>

class Key_Toolbar : public QToolBar {
    Q_OBJECT
public:
    explicit Key_Toolbar(const QString& name, QWidget* parent = nullptr);

    // A button; an empty key makes a button that only opens its menu.
    QAction* Add_Button(const QString& key, const QString& caption, const QString& tip,
                        const QString& image);
    // An entry of the button's drop-down menu.
    QAction* Add_Menu_Entry(QAction* button, const QString& key, const QString& text);
    void Add_Separator() { addSeparator(); }
    // Every button and menu entry at once.
    void Set_Buttons_Enabled(bool enabled);

    // Gives a button or menu entry a shortcut that works while the scope is
    // shown (Qt::WindowShortcut) or holds the keyboard (Qt::WidgetWithChildrenShortcut);
    // its tool tip names the keys.
    static void Give_Shortcut(QAction* action, const QKeySequence& keys, QWidget* scope,
                              Qt::ShortcutContext context = Qt::WidgetWithChildrenShortcut);

    // The button with the key (nullptr when none).
    QAction* Button(const QString& key) const;
    // The menu entry with the key under the button (nullptr when none).
    QAction* Menu_Entry(QAction* button, const QString& key) const;

Q_SIGNALS:
    void Button_Click(const QString& key);
    void Button_Menu_Click(const QString& key);

protected:
    // Too narrow for the captions, the buttons show their images only (the
    // tool tips still name them), so that none is pushed out of sight.
    void resizeEvent(QResizeEvent* event) override;

private:
    int Width_With_Captions();
};
