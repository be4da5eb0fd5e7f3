#pragma once
// Lead e-mails: an import filter recognised by the subject runs its field
// rules over the text; the lead becomes a new contact with an "Email Entry"
// event, or only that event for the contact that has the lead's address.

#include <QDateTime>
#include <QString>

// What the import filed; zeros when nothing.
struct Email_Lead_Result {
    qint64 Contact_ID = 0;
    bool New_Contact = false;
    qint64 Event_ID = 0;   // 0 when the contact already held an event of this message id
};

// The Name_Of_Site of the first filter (table order) whose non-empty subject
// text occurs in the subject (case-sensitive); empty when none.
QString Find_Import_Source_For_Subject(const QString& Subject);

// The Contacts column of a filter editor label; empty when the label names none.
QString Get_Contact_Field_For_Label(const QString& Label);

// Files one lead message. The event carries the message id and received date
// and the attachment count given. Database failures are thrown.
Email_Lead_Result Import_Contact_From_Email(const QString& Subject, const QString& Text,
                                            const QString& Message_ID,
                                            const QDateTime& Received_Date,
                                            int Attachment_Count = 0);
