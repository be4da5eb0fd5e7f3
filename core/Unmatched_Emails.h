#pragma once
// The received e-mails that matched no contact (NewEmails), as the Unmatched
// page acts on them: filing all of one sender's e-mails under a contact,
// deleting them with their stored files and their copies in the mail store,
// and their printed listing. Their rows leave the unmatched list through the
// list-row routines. Database and file failures are thrown (Program_Error);
// what was done before the failure stays done.

#include <QDateTime>
#include <QList>
#include <QSqlRecord>
#include <QString>

class Report_Document;

struct Unmatched_Conversion {
    enum class Outcome { Converted, No_Such_Email, No_Sender_Address };
    Outcome Result = Outcome::No_Such_Email;
    qint64 Contact_ID = 0;
    bool Contact_Created = false;
    int Filed = 0;        // e-mails that became "Email Convert" events
    int Not_Filed = 0;    // e-mails that stayed unmatched, with their files
    QString Failure;      // why the first of them could not be filed
    int Position = 0;     // 1-based list position of the last row removed, 0 when none
};

// Files every unmatched e-mail of the given e-mail's sender under the contact
// with that address (made from the sender's name and address when there is
// none, and listed) as "Email Convert" events, their files handed over to the
// events. Each e-mail is filed in one transaction of its own and leaves the
// table and the list only when it was filed. The mail store is not touched.
Unmatched_Conversion Convert_Unmatched_Email_To_Contact(const QString& Email_Unique_ID,
                                                        const QDateTime& Email_Received_Date);

// Deletes the e-mail, every unmatched e-mail of a sender address (an empty
// address: those without one), or all of them, each with its stored files,
// its list row and its message in the mail store. Returns the 1-based list
// position of the last row removed, 0 when none was listed.
int Delete_Unmatched_Email(const QString& Email_Unique_ID, const QDateTime& Email_Received_Date);
int Delete_Unmatched_Emails_From(const QString& Email_From);
int Delete_All_Unmatched_Emails();
// Puts the sender address on the junk list, then deletes as Delete_Unmatched_Emails_From.
int Junk_Unmatched_Emails_From(const QString& Email_From);

// "Email Listing": for each e-mail its sender and date, a rule, its subject and message.
Report_Document Unmatched_Email_Report(const QList<QSqlRecord>& Emails);
// The listing of the one e-mail (false when it is no longer stored), or of
// every one in table order, in the print preview.
bool Print_Unmatched_Email(const QString& Email_Unique_ID, const QDateTime& Email_Received_Date);
void Print_All_Unmatched_Emails();
