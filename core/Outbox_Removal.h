#pragma once
// Taking entries out of the outbox unsent: each row goes with its attachment
// rows and the stored copies of its files, and with its row in the outbox or
// to-do list while that list is filled. Database failures are thrown
// (Database_Error); nothing of an entry is removed then.

#include <QDateTime>
#include <QList>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantList>

class Database;

// Every outbox entry of the contact, whatever its type. Returns how many went.
int Delete_Contact_Outbox_Entries(qint64 Out_Contact_ID);
// The contact's entries posted at that moment (one posting).
int Delete_Outbox_Entries_Posted(qint64 Out_Contact_ID, const QDateTime& Date_Sent_To_Outbox);

// The removal in two steps, for callers that delete more in one transaction:
// the constructor deletes the rows through the caller's connection (inside
// its transaction); Finish, once that has committed, removes the files no
// row names any more and the entries' list rows.
class Outbox_Entries_Removal {
public:
    Outbox_Entries_Removal(Database& db, const QString& Where, const QVariantList& Values);
    // The paths of files that could not be removed (their rows are gone).
    QStringList Finish();
    int Count() const { return int(rows_.size()); }

private:
    Database& db_;
    QList<QSqlRecord> rows_;
    QStringList files_;
};

// Removes the stored files that no outbox attachment row or event attachment
// row names any more (a copied row may share one); the paths that could not
// be removed.
QStringList Remove_Unreferenced_Files(Database& db, const QStringList& Paths);
