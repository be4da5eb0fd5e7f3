#include "Dialogs.h"

#include <QDebug>

const char* const Program_Title = "Brackenlead for Windows";

namespace {

Message_Box_Handler message_box_handler;
Input_Box_Handler input_box_handler;
File_Dialog_Handler file_dialog_handler;
Dialog_Windows windows;

// The answer of the frame's close box: Cancel, No or OK.
int Way_Out(int style)
{
    switch (style & 0x0F) {
    case vbOKCancel:
    case vbYesNoCancel:
    case vbRetryCancel: return vbCancel;
    case vbAbortRetryIgnore: return vbIgnore;
    case vbYesNo: return vbNo;
    default: return vbOK;
    }
}

} // namespace

int Message_Box(const QString& text, int style, const QString& title)
{
    if (message_box_handler)
        return message_box_handler(text, style, title);
    if (windows.message_box)
        return windows.message_box(text, style, title);
    qWarning().noquote() << (title.isEmpty() ? QString(Program_Title) : title) << ":" << text;
    return Way_Out(style);
}

QString Input_Box(const QString& prompt, const QString& title, const QString& default_text, bool* ok)
{
    bool accepted = false;
    QString answer;
    if (input_box_handler)
        answer = input_box_handler(prompt, title, default_text, &accepted);
    else if (windows.input_box)
        answer = windows.input_box(prompt, title, default_text, &accepted);
    if (ok)
        *ok = accepted;
    return accepted ? answer : QString("");
}

QString Open_File_Dialog(const QString& title, const QString& filter, const QString& folder)
{
    if (file_dialog_handler)
        return file_dialog_handler(File_Dialog_Kind::Open, title, filter, folder);
    if (windows.file_dialog)
        return windows.file_dialog(File_Dialog_Kind::Open, title, filter, folder);
    return QString();
}

QString Save_File_Dialog(const QString& title, const QString& filter, const QString& file_name)
{
    if (file_dialog_handler)
        return file_dialog_handler(File_Dialog_Kind::Save, title, filter, file_name);
    if (windows.file_dialog)
        return windows.file_dialog(File_Dialog_Kind::Save, title, filter, file_name);
    return QString();
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

void Register_Dialog_Windows(Dialog_Windows registered)
{
    windows = std::move(registered);
}
