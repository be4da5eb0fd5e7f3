#pragma once
// Process-wide state: the program folder, the database and the flags by
// which windows hand results to each other. The settings are in Settings.h;
// Reset_Process_State (Process_State.h) sets all of it back to a new start.

#include <QString>

namespace GlobalVariables {

// Written only by the start-up sequence. Program_Folder ends with "/".
inline QString Program_Folder;
inline QString Database_Path;

// Hand-over flags between windows.
inline bool Password_Dialog_Answered = false;
inline bool Block_Delete_Permitted = false;
inline bool Delete_Dialog_Closed = false;
inline bool Message_Center_Running = false;

// Set once the main window filled the list the first time; until then the
// engine adds no rows to it (the fill brings them from the database).
inline bool Unmatched_List_Loaded = false;
inline bool Outbox_List_Loaded = false;
inline bool ToDo_List_Loaded = false;

} // namespace GlobalVariables
