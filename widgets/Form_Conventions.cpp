#include "Form_Conventions.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBrowser>
#include <QTextEdit>

namespace {

const char* const Homing_Property = "_brackenlead_homes_text";

// An editor box the user types into; a help or report browser is a page, not a box.
bool Is_Text_Area(const QObject* object)
{
    return (qobject_cast<const QTextEdit*>(object) && !qobject_cast<const QTextBrowser*>(object))
           || qobject_cast<const QPlainTextEdit*>(object);
}

bool Is_Read_Only(const QObject* object)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(object))
        return line->isReadOnly();
    if (const auto* area = qobject_cast<const QTextEdit*>(object))
        return area->isReadOnly();
    if (const auto* area = qobject_cast<const QPlainTextEdit*>(object))
        return area->isReadOnly();
    return false;
}

// The box's background is the window's colour while it is read-only, the
// editing colour otherwise.
void Show_Read_Only_Look(QWidget* box)
{
    QPalette palette = box->palette();
    const QPalette usual = QApplication::palette(box);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setBrush(group, QPalette::Base,
                         usual.brush(group, Is_Read_Only(box) ? QPalette::Window : QPalette::Base));
    if (palette != box->palette())
        box->setPalette(palette);
}

void Insert_Tab(QObject* object)
{
    if (auto* area = qobject_cast<QTextEdit*>(object))
        area->textCursor().insertText("\t");
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(object))
        plain->textCursor().insertText("\t");
}

bool Is_Ctrl_Tab(const QEvent* event)
{
    const auto* key = static_cast<const QKeyEvent*>(event);
    return key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier;
}

class Form_Conventions : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Polish:
            Polish(watched);
            break;
        case QEvent::ReadOnlyChange:
            if (qobject_cast<QLineEdit*>(watched) || Is_Text_Area(watched))
                Show_Read_Only_Look(static_cast<QWidget*>(watched));
            break;
        case QEvent::ShortcutOverride:
            // Ctrl+Tab in an editable area is typing, not a window command.
            if (Is_Text_Area(watched) && !Is_Read_Only(watched) && Is_Ctrl_Tab(event)) {
                event->accept();
                return true;
            }
            break;
        case QEvent::KeyPress:
            if (Is_Text_Area(watched) && !Is_Read_Only(watched) && Is_Ctrl_Tab(event)) {
                Insert_Tab(watched);
                return true;
            }
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Polish(QObject* object)
    {
        if (auto* line = qobject_cast<QLineEdit*>(object)) {
            // A spin box keeps its own number in view.
            if (qobject_cast<QAbstractSpinBox*>(line->parent()))
                return;
            Show_Read_Only_Look(line);
            // A selected text (a cell editor's, a refused entry's) is there to be typed over.
            if (!line->isModified() && !line->hasSelectedText())
                line->setCursorPosition(0);
            if (line->property(Homing_Property).toBool())
                return;
            line->setProperty(Homing_Property, true);
            // Typing leaves the box modified; a text the program puts in does not.
            connect(line, &QLineEdit::textChanged, this, [line] {
                if (!line->isModified() && !line->hasSelectedText())
                    line->setCursorPosition(0);
            });
            // The same text put in again moves the cursor to its end without a change of text.
            connect(line, &QLineEdit::cursorPositionChanged, this, [line](int, int now) {
                if (now != 0 && !line->hasFocus() && !line->isModified() && !line->hasSelectedText())
                    line->setCursorPosition(0);
            });
        } else if (Is_Text_Area(object)) {
            auto* area = static_cast<QAbstractScrollArea*>(object);
            Show_Read_Only_Look(area);
            if (auto* text = qobject_cast<QTextEdit*>(area))
                text->setTabChangesFocus(true);
            else if (auto* plain = qobject_cast<QPlainTextEdit*>(area))
                plain->setTabChangesFocus(true);
        }
    }
};

} // namespace

void Install_Form_Conventions()
{
    static QPointer<Form_Conventions> installed;
    if (installed || !qApp)
        return;
    installed = new Form_Conventions(qApp);
    qApp->installEventFilter(installed);
}
