#pragma once
// Item keys and the rows of the main window's lists. A key is a three-letter
// kind prefix, the first value and, for two-part keys, "-:::-" and a second
// value. Dates inside keys are written in the stored date form
// ("yyyy-MM-dd hh:mm:ss"), so that a key's date reads back to the second,
// whatever the locale. The rows reach the window through Main_Window().

#include <QDateTime>
#include <QString>
#include <QVariant>

#include "Main_Window_Lists.h"

inline constexpr const char* Key_Separator = "-:::-";

// The text between the prefix and the first separator ("" without one).
QString Get_Key_ID(const QString& Key);
// The text after the first separator ("" without one).
QString Get_Key_Tail(const QString& Key);
// A date as written into keys, and back (invalid for unreadable text).
QString Key_Date_Text(const QDateTime& Date);
QDateTime Key_Date(const QString& Text);

// Unmatched e-mails: "unm" + unique id + "-:::-" + received date.
QString Make_Unmatched_Key(const QDateTime& Received_Date, const QString& Email_Unique_ID);
// False when the list holds the key already.
bool Add_Unmatched_List_Item(const QVariant& Sender_Name, const QVariant& Subject,
                             const QDateTime& Received_Date, const QString& Email_Unique_ID,
                             bool Has_Attachments);
// The 1-based position the row had (0 when it was not listed).
int Remove_Unmatched_List_Item(const QDateTime& Received_Date, const QString& Email_Unique_ID);

// Contacts: "key" + ID; names bold while events wait to be read, in the
// highlight colour while the contact is new.
QString Make_Contact_Key(qint64 ID);
// The contact's row as the list shows it (a null field as the empty text).
List_Row Contact_List_Row(qint64 ID, const QString& First_Name, const QString& Last_Name,
                          const QString& Product, const QString& Relationship, const QString& Title,
                          bool Pending_Events_To_Read, bool New_Contact, const QString& Email);
bool Add_Contact_List_Item(qint64 ID, const QVariant& First_Name, const QVariant& Last_Name,
                           const QVariant& Product, const QVariant& Relationship,
                           const QVariant& Title, bool Pending_Events_To_Read, bool New_Contact,
                           const QVariant& Email);

// To-do entries: "tdo" + the contact's ID + "-:::-" + the date sent to the outbox.
QString Make_ToDo_Key(qint64 Out_Contact_ID, const QDateTime& Date_Sent_To_Outbox);
bool Add_ToDo_List_Item(qint64 Out_Contact_ID, const QDateTime& Date_Sent_To_Outbox,
                        const QVariant& First_Name, const QVariant& Last_Name,
                        const QVariant& Event_Type, const QVariant& Subject,
                        const QDateTime& Date_To_Show);
int Remove_ToDo_List_Item(qint64 Out_Contact_ID, const QDateTime& Date_Sent_To_Outbox);
