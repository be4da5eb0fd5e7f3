#pragma once
// Taking entries out of the outbox unsent: each row goes with its attachment
// rows and the stored copies of its files, and with its row in the outbox or
// to-do list while that list is filled. Database failures are thrown
// (Database_Error); nothing of an entry is removed then.

#include <QDateTime>

// Every outbox entry of the contact, whatever its type. Returns how many went.
int Delete_Contact_Outbox_Entries(qint64 Out_Contact_ID);
// The contact's entries posted at that moment (one posting).
int Delete_Outbox_Entries_Posted(qint64 Out_Contact_ID, const QDateTime& Date_Sent_To_Outbox);
