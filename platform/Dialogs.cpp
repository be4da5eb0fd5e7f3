#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

const char* const Program_Title = "Brackenlead for Windows";

namespace {

Message_Box_Handler message_box_handler;
Input_Box_Handler input_box_handler;
File_Dialog_Handler file_dialog_handler;
QPointer<QWidget> dialog_parent;

QWidget* Parent_Window()
{
    if (dialog_parent)
        return dialog_parent;
    return QApplication::activeWindow();
}

QString Title_Or_Default(const QString& title)
{
    return title.isEmpty() ? QString(Program_Title) : title;
}

} // namespace

void Set_Dialog_Parent(QWidget* parent)
{
    dialog_parent = parent;
}

int Message_Box(const QString& text, int style, const QString& title)
{
    if (message_box_handler)
        return message_box_handler(text, style, title);

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
    const int pressed = box.exec();
    for (const Choice& c : choices)
        if (c.button == pressed)
            return c.answer;
    return choices.last().answer;
}

QString Input_Box(const QString& prompt, const QString& title, const QString& default_text, bool* ok)
{
    bool accepted = false;
    QString answer;
    if (input_box_handler) {
        answer = input_box_handler(prompt, title, default_text, &accepted);
    } else {
        answer = QInputDialog::getText(Parent_Window(), Title_Or_Default(title), prompt,
                                       QLineEdit::Normal, default_text, &accepted);
    }
    if (ok)
        *ok = accepted;
    return accepted ? answer : QString("");
}

QString Open_File_Dialog(const QString& title, const QString& filter, const QString& folder)
{
    if (file_dialog_handler)
        return file_dialog_handler(File_Dialog_Kind::Open, title, filter, folder);
    return QFileDialog::getOpenFileName(Parent_Window(), title, folder, filter);
}

QString Save_File_Dialog(const QString& title, const QString& filter, const QString& file_name)
{
    if (file_dialog_handler)
        return file_dialog_handler(File_Dialog_Kind::Save, title, filter, file_name);
    return QFileDialog::getSaveFileName(Parent_Window(), title, file_name, filter);
}

void Set_Message_Box_Handler(Message_Box_Handler handler)
{
    message_box_handler = std::move(handler);
}

void Set_Input_Box_Handler(Input_Box_Handler handler)
{
    input_box_handler = std::move(handler);
}

void Set_File_Dialog_Handler(File_Dialog_Handler handler)
{
    file_dialog_handler = std::move(handler);
}
