#pragma once
// Copies of attached files in the Attachments folder, linked to their owner.

#include <QString>

// Program_Folder + "Attachments/".
QString Attachments_Folder();

// The path under which a copy of the source goes into the store: its own
// name, else a number put in front of it (0name, 1name, ...) until free.
QString Attachment_Free_Name(const QString& Source_Path);

// Copy the file in and record it; false (after the message) on failure.
bool Copy_File_To_Event_Attachments(qint64 Event_ID, const QString& Source_Path);
bool Copy_File_To_Outbox_Attachments(qint64 Outbox_ID, const QString& Source_Path);

// Link_Database is "E" (an event) or "U" (an unmatched e-mail). A failure to
// read the table (Database_Error) or delete a file (File_Error) is thrown to
// the caller.
// One message may hold several files of one name: Occurrence picks which of
// them (0 the first), in the order they are listed.
void Delete_One_Attachment(qint64 Link_ID, const QString& Link_Database,
                           const QString& Attachment_Final_Name, int Occurrence = 0);
void Delete_All_Attachments(qint64 Link_ID, const QString& Link_Database);
