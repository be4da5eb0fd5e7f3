#pragma once
// The hooks by which the engine reaches what lies above it: the main window's
// lists (Main_Window_Lists.h), the start of the SMTP sender (Workflow_Run.h),
// deleting a message from the mail store (Shared_Routines.h) and the mouse
// pointer. They live in one object; the side that provides a hook sets it at
// start-up, and while a hook is not set its call does nothing. The main window
// registers itself for its lifetime; the other hooks go back to unset at
// Reset_Process_State.

#include <functional>

// The mouse pointer back to the default where the engine's busy work ends.
void Restore_Mouse_Pointer();
void Set_Mouse_Pointer_Restorer(std::function<void()> restorer);

// Starts the SMTP sender through the registered starter; false without one.
bool Start_Smtp_Sender_Hook();
