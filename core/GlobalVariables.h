#pragma once
// Process-wide state: the program folder, the database, the copies of the
// settings row and the flags by which windows hand results to each other.

#include <QString>

namespace GlobalVariables {

// Written only by the start-up sequence. Program_Folder ends with "/".
inline QString Program_Folder;
inline QString Database_Path;

// Copies of the settings row, refreshed by Load_Settings.
inline QString Backup_Dir;
inline QString Furrowline_Password;
inline QString Admin_Password;
inline QString Cc_Address;
inline bool Enabled_Cc_Redirection = false;
inline QString SMTP_Server;
inline QString DefaultEmailName;
inline QString DefaultEmailAddress;
inline QString DefaultContactName;
inline bool Automatically_Send_Emails = false;
inline bool AutoSend_Birthdate_Emails = false;
inline bool Confirm_Email_Deletes = false;
inline bool Auto_Check_Emails = false;
inline bool Delete_Remote_Email = false;
inline bool Check_For_Junk_Emails = false;
inline bool Check_For_Bad_Names = false;
inline bool Translate_Product_Aliases = false;

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

// Back to the state of a new start (tests).
void Reset();

} // namespace GlobalVariables
