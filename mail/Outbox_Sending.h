#pragma once
// The outbox sending pipeline that the SMTP sender and the mail-client sender
// share; each brings only its transport. A run takes the outbox for its
// sender, files first what it sent before but could not file, then picks the
// due e-mails, reads each row again right before it goes, sends it (and the
// copy to the Cc address) through its transport, files it and counts it.

#include <QDateTime>
#include <QList>
#include <QSqlRecord>
#include <QString>

#include "GlobalVariables.h"

// The outbox rows the senders take: "Email Out" and "Sent Quote".
bool Is_Outbox_Email_Type(const QString& Event_Type);

enum class Outbox_Sender { None, Smtp, Mail_Client };

// The sender working through the outbox now; None between runs.
Outbox_Sender Outbox_Sending();

// Holds the outbox for one sender while it lives.
class Outbox_Sending_Guard {
public:
    explicit Outbox_Sending_Guard(Outbox_Sender Sender);
    ~Outbox_Sending_Guard();
    Outbox_Sending_Guard(const Outbox_Sending_Guard&) = delete;
    Outbox_Sending_Guard& operator=(const Outbox_Sending_Guard&) = delete;

private:
    Outbox_Sender previous_;
};

// The IDs of the e-mails due strictly before Bound, in ID order, without the
// rows sent already whose filing is still to be done.
QList<qint64> Due_Outbox_Emails(const QDateTime& Bound);

// The row as it stands now, right before it goes: while the sender waited on
// its transport it may have been edited, deleted, or sent by another copy of
// the program. Empty when it is gone.
QSqlRecord Outbox_Row_Now(qint64 Outbox_ID);

// Where the copy of a row goes: the Cc address while redirection is on; empty
// when it is off, there is no address, or the row goes to that address already.
QString Cc_Copy_Address(const QString& ToEmail);

// How a sender files what it sent: the event's date and sender, and whether
// the row's files go over to the event.
struct Sent_Filing {
    QDateTime Event_Date;
    QString Sender;
    bool Hand_Over_Files = false;
};

// Files a row that went out, in one transaction: its event in the contact's
// history (when it has a contact) with its files handed over when asked, and
// the row deleted from the outbox; then the row leaves the outbox list and the
// outbox editor. An event that cannot be written is reported and the row
// leaves all the same, or it would go again. When the row cannot be taken out
// of the outbox nothing is filed: the failure is reported, and the row is kept
// as sent but not filed, never sent again while the program runs; its filing
// is tried at the next run. False then.
bool File_Sent_Outbox_Row(const QSqlRecord& Row, const Sent_Filing& How);

// Files the rows sent before whose filing failed (as they were sent). False
// when one still cannot be filed; Failure then says which and why, for the
// sender that reports it.
bool File_Unfiled_Outbox_Rows(QString* Failure = nullptr);

// Adds the rows a run sent to the day's "Messages Sent" counter (none: no change).
void Count_Sent_Messages(int Sent);

// What a sender remembers of outbox rows by their IDs: it names rows of one
// database, and another database starts afresh.
template <typename Rows>
class Outbox_Row_Memory {
public:
    Rows& Of_Current_Database()
    {
        if (database_ != GlobalVariables::Database_Path) {
            database_ = GlobalVariables::Database_Path;
            rows_ = Rows();
        }
        return rows_;
    }
    void Clear()
    {
        rows_ = Rows();
        database_.clear();
    }

private:
    Rows rows_;
    QString database_;
};
