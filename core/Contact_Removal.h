#pragma once
// Removing a contact's records: its event history alone (the group erase), or
// the contact with its events and outbox entries (the group delete, the
// contact toolbar's Delete and Junk). The rows of one contact go in one
// transaction; only after it has committed are the stored files removed, the
// mail-store copies of its e-mails deleted and the outbox and to-do list rows
// taken away, so a failure never leaves a row whose file or message is gone.
// Database failures are thrown (Database_Error) with nothing of the contact
// removed; files that could not be removed afterwards are thrown as a
// File_Error naming them, once everything else is done.

#include <QString>

// Deletes every event of the contact with its attachment rows, files and
// mail-store copies, and clears the contact's unread mark. Returns how many
// events went.
int Erase_Contact_History(qint64 ContactID);

struct Contact_Removed {
    int Events = 0;
    int Outbox_Entries = 0;
};

// Deletes the contact, its events and its outbox entries; a junk address,
// when given, goes on the junk list in the same transaction. Deleting a
// contact that is no longer stored deletes what still hangs on its ID.
Contact_Removed Delete_Contact_Records(qint64 ContactID, const QString& Junk_Address = QString());

// How many outbox entries (e-mails, calls, to-dos) the contact has.
int Contact_Outbox_Entry_Count(qint64 ContactID);
