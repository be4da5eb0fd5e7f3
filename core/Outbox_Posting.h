#pragma once
// Posting to the outbox: the one way an Outbox row comes into being. Posting
// never sends; the senders pick the due rows up later.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "Main_Window_Lists.h"

// Stores one Outbox row (Date_Sent_To_Outbox = now, to the second), copies
// each attachment (full paths, in order) into the attachment store, shows the
// entry in the outbox or to-do list when that list has been filled, and
// waits one second so that two postings never share their posting moment.
// Returns true when the row was stored; failures are reported in a message
// box ("Error on Send to Outbox. Email: ...").
bool Send_To_Outbox(qint64 Contact_ID, const QString& ToEmail, const QString& ToEmailName,
                    const QString& Subject, const QString& Message, const QString& FromEmail,
                    const QString& FromEmailName, const QString& Product_Name, int Step_Number,
                    const QString& Event_Type, const QDateTime& Due_Date, int Lead_Time,
                    const QStringList& Attachments = {});

// The ID of the row the last successful Send_To_Outbox stored.
qint64 Last_Posted_Outbox_ID();

// The outbox list row of an entry: key "out" + address + "-:::-" + posting
// moment (in the stored date form, which reads back whatever the locale), sub-items name, address, subject; icon "Clip" when the entry has
// attached files, else "Remove".
QString Make_Outbox_Key(const QString& ToEmail, const QDateTime& Date_Sent_To_Outbox);
List_Row Outbox_List_Row(qint64 Outbox_ID, const QString& ToEmailName, const QString& ToEmail,
                         const QDateTime& Date_Sent_To_Outbox, const QString& Subject);
