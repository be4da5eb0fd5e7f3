#pragma once
// The hooks by which the engine reaches what lies above it: the main window's
// lists (Main_Window_Lists.h), the start of the SMTP sender (Workflow_Run.h),
// deleting a message from the mail store (Shared_Routines.h), the mouse
// pointer and the note of long work. They live in one object; the side that provides a hook sets it at
// start-up, and while a hook is not set its call does nothing. The main window
// registers itself for its lifetime; the other hooks go back to unset at
// Reset_Process_State.

#include <QString>
#include <functional>

// The mouse pointer back to the default where the engine's busy work ends.
void Restore_Mouse_Pointer();
void Set_Mouse_Pointer_Restorer(std::function<void()> restorer);

// Starts the SMTP sender through the registered starter; false without one.
bool Start_Smtp_Sender_Hook();

// Says what long work is doing while it holds the program (the start-up
// compaction); the empty text takes the note away.
void Show_Work_Note(const QString& text);
void Set_Work_Note_Shower(std::function<void(const QString& text)> shower);
