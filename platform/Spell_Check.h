#pragma once
// The spell check of a text box's text: the words are checked against the
// en_US dictionary in a dialog that offers suggestions, and the corrected
// text comes back. The widget library registers that dialog at start-up;
// tests install a checker that changes the words they were told to change.

#include <QString>
#include <functional>

using Spell_Check_Handler = std::function<QString(const QString& Text)>;

// The text as the user corrected it (unchanged when the check was cancelled
// or no checker is there).
QString Spell_Check(const QString& Text);

// Test seam: a handler replaces the dialog; an empty handler restores it.
void Set_Spell_Check_Handler(Spell_Check_Handler handler);
// The dialog, registered by the widget library.
void Register_Spell_Check_Window(Spell_Check_Handler window);
