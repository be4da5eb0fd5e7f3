#pragma once
// The windows behind the dialog seam: Qt's message box, input box and file
// dialogs, registered at start-up.

class QWidget;

// Makes Message_Box, Input_Box and the file dialogs show Qt's dialogs.
void Register_Widget_Dialogs();

// The window the dialogs are shown over when no window is active.
void Set_Dialog_Parent(QWidget* parent);
