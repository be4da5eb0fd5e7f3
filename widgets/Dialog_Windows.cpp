#include "Dialog_Windows.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpacerItem>
#include <QPointer>

#include "Dialogs.h"

namespace {

QPointer<QWidget> dialog_parent;

QWidget* Parent_Window()
{
    // Over the window the user works in (the planning or quote window beside
    // the main window too), so that the message does not bring another
    // window up over it; the main window when none is active.
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    return dialog_parent;
}

QString Title_Or_Default(const QString& title)
{
    return title.isEmpty() ? QString(Program_Title) : title;
}

// A box narrower than its title has the title cut short by the frame (whose
// title font is bolder) beside the frame's buttons.
int Title_Width(const QWidget& box)
{
    return box.fontMetrics().horizontalAdvance(box.windowTitle()) * 5 / 4 + 120;
}

int Show_Message_Box(const QString& text, int style, const QString& title)
{
    QMessageBox box(Parent_Window());
    box.setWindowTitle(Title_Or_Default(title));
    box.setText(text);
    box.setWindowModality(Qt::ApplicationModal);
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct Choice { QMessageBox::StandardButton button; int answer; };
    QList<Choice> choices;
    switch (style & 0x0F) {
    case vbOKCancel: choices = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore:
        choices = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
        break;
    case vbYesNoCancel:
        choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNo: choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: choices = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: choices = {{QMessageBox::Ok, vbOK}}; break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices)
        buttons |= c.button;
    box.setStandardButtons(buttons);
    box.setDefaultButton(choices.first().button);
    // The frame's close box takes the last way out: Cancel, No or OK.
    box.setEscapeButton(choices.last().button);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(Title_Width(box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                      1, grid->columnCount());
    }
    const int pressed = box.exec();
    for (const Choice& c : choices)
        if (c.button == pressed)
            return c.answer;
    return choices.last().answer;
}

QString Show_Input_Box(const QString& prompt, const QString& title, const QString& default_text,
                       bool* ok)
{
    QInputDialog box(Parent_Window());
    box.setWindowTitle(Title_Or_Default(title));
    box.setLabelText(prompt);
    box.setTextValue(default_text);
    if (auto* edit = box.findChild<QLineEdit*>())
        edit->setMinimumWidth(Title_Width(box));
    const bool accepted = box.exec() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? box.textValue() : QString();
}

QString Show_File_Dialog(File_Dialog_Kind kind, const QString& title, const QString& filter,
                         const QString& start)
{
    if (kind == File_Dialog_Kind::Open)
        return QFileDialog::getOpenFileName(Parent_Window(), title, start, filter);
    return QFileDialog::getSaveFileName(Parent_Window(), title, start, filter);
}

} // namespace

void Register_Widget_Dialogs()
{
    Register_Dialog_Windows({Show_Message_Box, Show_Input_Box, Show_File_Dialog});
}

void Set_Dialog_Parent(QWidget* parent)
{
    dialog_parent = parent;
}
