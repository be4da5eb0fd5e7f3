#pragma once
// Small routines the planning window's pages share.

#include <QString>
#include <exception>

class QLabel;
class QLineEdit;
class QWidget;

// "Error on " + the operation + ": " + what went wrong, OK only.
void Show_Planning_Error(const QString& Operation, const std::exception& Error);

// Message texts are stored with CR LF line ends; the edit boxes work with LF.
QString Stored_Lines(const QString& Box_Text);

// A whole number from Lowest to Highest (blanks around it allowed); false
// for anything else.
bool Read_Whole_Number(const QString& Text, int Lowest, int Highest, int* Value);

// Puts the keyboard in a box whose value was refused, with its text selected.
void Focus_Refused_Box(QWidget* Box);

// Lays a page out: the tree (with what stands under it) at the left, the
// editor at the right, which keeps its place while it is hidden.
void Lay_Out_Tree_And_Editor(QWidget* Page, QWidget* Tree_Side, QWidget* Editor);
// A bold heading with its name.
QLabel* New_Heading(const QString& Name);
// The caption of a box: Alt and its marked letter put the keyboard in the box.
QLabel* New_Caption(const QString& Text, QWidget* Buddy);
QLineEdit* New_Line(const QString& Name);

// Puts a new window over the window the user works in, no larger than the
// screen and wholly on it.
void Place_Over_Active_Window(QWidget* Window);
