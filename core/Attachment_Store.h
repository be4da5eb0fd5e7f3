#pragma once
// Copies of attached files in the Attachments folder, linked to their owner.

#include <QString>

// Program_Folder + "Attachments/".
QString Attachments_Folder();

// The path under which a copy of the source goes into the store: its own
// name, else a number put in front of it (0name, 1name, ...) until free.
QString Attachment_Free_Name(const QString& Source_Path);

// A copy whose row is not stored yet waits in the store's folder ".incoming"
// under the name it is to have, and moves to it once the row is stored, so a
// program ended in between leaves no file without its row:
// Finish_Incoming_Attachments moves the copies whose row was stored and
// deletes the others. A name is free when neither holds it.
QString Attachment_Incoming_Folder();
bool Attachment_Name_Taken(const QString& Path);
// Copies Source to the waiting place of Target (a path in the store), or
// moves it there (a copy of the caller's own that is not needed after).
void Copy_To_Incoming(const QString& Source, const QString& Target);
void Move_To_Incoming(const QString& Source, const QString& Target);
// Moves the waiting copy of Target to Target.
void Move_From_Incoming(const QString& Target);
// Removes the waiting copy of Target (its row was not stored).
void Drop_Incoming(const QString& Target);
// Called where no row of the store is being written: after a program that
// was ended before its time.
void Finish_Incoming_Attachments();

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
