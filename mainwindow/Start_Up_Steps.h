#pragma once
// The steps of the start-up before the main window comes up, each false when
// the program must end (its message is shown already).

// Program_Folder and Database_Path: data2000.mdb in the working folder, or
// the database the user picks when it is not there.
bool Find_Database();
// The file opens as a database and holds the program's tables.
bool Database_Usable();
// The settings row is loaded; when it cannot be read the help page says what to do.
bool Settings_Loaded();
// The Attachments folder, the backup and the compaction of the database.
void Prepare_Database();
// The log-in password, when one is set.
bool Log_In();
