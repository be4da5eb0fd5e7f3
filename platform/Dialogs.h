#pragma once
// Message box, input box and file dialogs. The engine asks through these; the
// widget library registers the windows that show them (Register_Dialog_Windows),
// and tests install handlers that record what was asked and give scripted
// answers. With neither, the text goes to the log and the way out is taken.

#include <QString>
#include <functional>

// Buttons and icons combine as the program's message boxes always have.
enum Message_Box_Style {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

enum Message_Box_Answer {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// The title of every box that names none.
extern const char* const Program_Title;

// Shows a modal message box and returns the button pressed (Message_Box_Answer).
// Closing it by its frame answers Cancel (or No, or OK when those are the only ways out).
int Message_Box(const QString& text, int style = vbOKOnly, const QString& title = QString());

// Asks for a line of text; returns the empty text when cancelled (*ok is then false).
QString Input_Box(const QString& prompt, const QString& title = QString(),
                  const QString& default_text = QString(), bool* ok = nullptr);

// Open and save file dialogs; the empty text when cancelled. The filter is
// written as Qt writes it ("Database Files (*.mdb)").
QString Open_File_Dialog(const QString& title, const QString& filter,
                         const QString& folder = QString());
QString Save_File_Dialog(const QString& title, const QString& filter,
                         const QString& file_name = QString());

// Test seams: a handler replaces the real dialog; an empty handler restores it.
using Message_Box_Handler = std::function<int(const QString& text, int style, const QString& title)>;
using Input_Box_Handler = std::function<QString(const QString& prompt, const QString& title,
                                                const QString& default_text, bool* ok)>;
enum class File_Dialog_Kind { Open, Save };
using File_Dialog_Handler = std::function<QString(File_Dialog_Kind kind, const QString& title,
                                                  const QString& filter, const QString& start)>;

void Set_Message_Box_Handler(Message_Box_Handler handler);
void Set_Input_Box_Handler(Input_Box_Handler handler);
void Set_File_Dialog_Handler(File_Dialog_Handler handler);

// The windows that show the dialogs when no test handler is installed.
struct Dialog_Windows {
    Message_Box_Handler message_box;
    Input_Box_Handler input_box;
    File_Dialog_Handler file_dialog;
};
void Register_Dialog_Windows(Dialog_Windows windows);
