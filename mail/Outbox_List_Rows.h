#pragma once
// The rows of the main window's outbox list, kept in step with the Outbox
// table, and the hand-over of a sent entry's files to the event that records
// the sending. The row builders and Make_Outbox_Key live with the posting.

#include <QDateTime>
#include <QString>

#include "Outbox_Posting.h"

// Adds the entry's row (icon "Clip" when it has files, else "Remove").
// False when the list already holds a row with that key.
bool Add_Outbox_List_Item(qint64 Outbox_ID, const QString& ToEmailName, const QString& ToEmail,
                          const QDateTime& Date_Sent_To_Outbox, const QString& Subject);

// Removes the row with that key; returns the 1-based position it had, 0 when
// the entry was not listed (which is no error).
int Remove_Outbox_List_Item(const QString& ToEmail, const QDateTime& Date_Sent_To_Outbox);

// Each Outbox_Attachments row of the entry becomes an Attachments row of the
// event (Link_Database "E", same path and name); the files stay where they
// are, the Outbox_Attachments rows go. One transaction: all or nothing.
// Returns the number of files handed over. Database failures are thrown.
int Move_Outbox_Attachments_To_Event(qint64 Outbox_ID, qint64 Event_ID);
