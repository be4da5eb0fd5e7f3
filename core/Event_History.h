#pragma once
// The event-history store and the look-ups of rows just written.
// Database failures are thrown (Database_Error) to the caller.

#include <QDateTime>
#include <QString>

// Adds one Eventhistory row and returns its ID; 0 when nothing was added
// (no such contact: a message is shown; same contact and unique id already
// stored: silently). Adds the event's list row when the contact is on display,
// marks the contact's pending events when asked (in the database and on its
// list row), and counts the event.
qint64 Add_Event_History(qint64 ContactID, const QDateTime& EventDate, const QString& Event_Product,
                         const QString& Event_Type, int Timeline_Step_Number, const QString& Sender,
                         const QString& EventSubject, const QString& EventMessage, bool EventRead,
                         const QDateTime& Email_ID_Date, const QString& Event_Unique_ID,
                         bool Mark_Pending, int Attachment_Count);

// Look-ups: the row's ID, 0 when not found. A row that may still be on its way
// is looked for up to `tries` times, one second apart (window kept responsive);
// existence checks pass 1.
qint64 Find_Event_History(qint64 ContactID, const QString& Event_Unique_ID,
                          const QDateTime& Email_ID_Date, int tries = 5);
qint64 Find_New_Email(const QString& Email_Unique_ID, const QDateTime& Email_Received_Date,
                      int tries = 5);
qint64 Find_Outbox_Email(qint64 Out_Contact_ID, const QString& ToEmail,
                         const QDateTime& Date_Sent_To_Outbox, int tries = 5);

// Deletes the event, its stored files and its copy in the mail store.
void Delete_Event_History(qint64 ID);
void Delete_Event_Attachments(qint64 ID);
void Delete_Outbox_Attachments(qint64 Outbox_ID);

// The first contact whose address equals the given one (letter case aside);
// 0 when none, and always 0 for an empty address.
qint64 Find_Contact_By_Email(const QString& Email);

// The event-list row of an event (key "evt" + unique id + "-:::-" + contact id).
#include "Main_Window_Lists.h"
List_Row Event_List_Row(const QDateTime& Email_ID_Date, const QString& Event_Type,
                        const QString& EventSubject, const QString& Event_Unique_ID,
                        qint64 ContactID, bool Has_Attachments);
