#pragma once
// Activity counters, the junk list and the small routines every part uses.

#include <QString>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QVariant>
#include <functional>

// Adds count to today's Stats row of that name, making the row when missing.
void Add_Stats(const QString& Name, int Count);

// While one lives, Add_Stats adds up in it instead, and Store writes the sums
// (in the transaction of a batch, once rather than at every row). Counts
// not stored when it ends are dropped. One at a time.
class Stats_Hold {
public:
    Stats_Hold();
    ~Stats_Hold();
    Stats_Hold(const Stats_Hold&) = delete;
    Stats_Hold& operator=(const Stats_Hold&) = delete;
    // What is counted so far, to go back to when a row is taken back.
    QList<QPair<QString, int>> Counts() const { return counts_; }
    void Set_Counts(const QList<QPair<QString, int>>& counts) { counts_ = counts; }
    void Add(const QString& Name, int Count);
    void Store();

private:
    QList<QPair<QString, int>> counts_;   // in the order first counted
};

// Puts an address (at most 200 characters of it) on the junk list once; a
// null address does nothing.
void Add_To_Junk_Emails(const QVariant& Email);
// The same through the caller's connection (in its transaction); an empty
// address does nothing. Throws Database_Error.
class Database;
void Put_On_Junk_List(Database& db, const QString& Email);

// Deletes every event of the contact through Delete_Event_History.
void Delete_Contact_Event_History(qint64 ContactID);

// Every occurrence of search replaced (exact comparison); a null replacement
// leaves the text unchanged, an empty search text too.
QString Replace_All(const QString& Text, const QString& Search, const QVariant& Replacement);

// A database null reads as the empty text.
QString Null_To_Empty(const QVariant& Value);

// True for a database null (and for an unset value or a null text).
bool Is_Null(const QVariant& Value);

// First character upper case, the rest lower case.
QString Proper_Case(const QVariant& Text);

// A new number for an event's unique id: never repeated, across starts too.
qint64 Create_Unique_Number();

// Index of the first entry equal to the text (exact), -1 when none.
int Find_List_Index(const QStringList& Entries, const QString& Text);

// Deleting a message from the user's mail store belongs to the mail
// transport, which registers it at start-up; without it nothing is deleted.
void Delete_Mapi_Message(const QString& Message_ID);
void Set_Mapi_Message_Deleter(std::function<void(const QString& Message_ID)> deleter);
