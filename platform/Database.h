#pragma once
// The database layer: one SQLite file, statements with bound parameters only.
//
// Each statement text stays prepared for the life of its connection and is
// stepped again with new values. Values are bound, never pasted into SQL text. QDateTime and QDate values are
// bound as the fixed text "yyyy-MM-dd hh:mm:ss" (an invalid one as NULL), bools
// as 0/1, a text as text (a null QString too: as the empty text) and a null
// QVariant as NULL. Failures throw Database_Error, whose text is the
// database's own description of what went wrong.

#include <QDateTime>
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

#include "Program_Error.h"

class Database_Error : public Program_Error {
public:
    using Program_Error::Program_Error;
};

// One row handed out by Database::Read_Rows, its columns by their place in
// the statement; valid only while it is being handed out.
class Row_Values {
public:
    bool Is_Null(int column) const;
    // NULL reads as a null QString, a number as its digits.
    QString Text(int column) const;
    qint64 Integer(int column) const;

private:
    friend class Database;
    explicit Row_Values(void* statement)
        : statement_(statement)
    {
    }
    void* statement_;
};

class Database {
public:
    // Opens (or reuses) this thread's connection to the file at path.
    // Throws when the file does not exist or cannot be opened as a database.
    explicit Database(const QString& path);

    QList<QSqlRecord> Select(const QString& sql, const QVariantList& params = {});
    // Every row as its values in the order of the statement's columns: for
    // loops over many rows, which read them by index.
    QList<QVariantList> Select_Values(const QString& sql, const QVariantList& params = {});
    // Hands each row of a query to each, read straight from the file: for
    // lists of many thousand rows, where making a value list per row costs
    // more than reading it. Only a statement that changes nothing is taken.
    void Read_Rows(const QString& sql, const QVariantList& params,
                   const std::function<void(const Row_Values&)>& each);
    // The first row; an empty record when there is none (check isEmpty()).
    QSqlRecord Select_First(const QString& sql, const QVariantList& params = {});
    // The first column of the first row; a null QVariant when there is none.
    QVariant Scalar(const QString& sql, const QVariantList& params = {});
    // Runs an INSERT and returns the new row's id.
    qint64 Insert(const QString& sql, const QVariantList& params = {});
    // Runs an UPDATE, DELETE or other statement; returns the rows changed.
    int Execute(const QString& sql, const QVariantList& params = {});

    void Begin();
    void Commit();
    // Commits as Commit() does; the outermost transaction's commit, which
    // waits for the file's sync, runs on a thread of its own while this
    // thread handles its events. Anything that uses the connection
    // meanwhile waits for the commit first, so it sees the stored rows and
    // its own writes come after them. Inside an outer transaction it is
    // Commit().
    void Commit_Letting_Events();
    void Rollback();

    QString Path() const { return path_; }
    // A transaction of this connection is open: what it wrote is not seen
    // by other connections until it commits.
    bool In_Transaction() const;

    // Closes every connection this process holds (needed before the file is
    // replaced, and between tests); one of another thread, still running, is
    // left for that thread to close.
    static void Close_All();
    // Closes this thread's connections: a thread that ends closes its own.
    static void Close_This_Thread();

private:
    QString path_;
    QString connection_;
};

// Commits on Commit(), rolls back when left without it. When the database
// rolls the transaction back on its own (a full disk, an I/O error), every
// further statement of the connection is refused until the outermost
// transaction has ended, so nothing of the batch is stored outside it.
class Database_Transaction {
public:
    explicit Database_Transaction(Database& db);
    ~Database_Transaction();
    void Commit();
    void Commit_Letting_Events();
    Database_Transaction(const Database_Transaction&) = delete;
    Database_Transaction& operator=(const Database_Transaction&) = delete;

private:
    Database& db_;
    bool done_ = false;
};

// A larger page cache for the connection while a long piece of work writes
// pages all over its tables and indexes: with a cache smaller than what one
// transaction touches, pages are written out (after a sync) and read back
// before the transaction ends. The usual cache and its memory come back at
// the end. A cache that cannot be set only makes the work slower.
class Page_Cache_Hold {
public:
    Page_Cache_Hold(Database& db, int kib);
    ~Page_Cache_Hold();
    Page_Cache_Hold(const Page_Cache_Hold&) = delete;
    Page_Cache_Hold& operator=(const Page_Cache_Hold&) = delete;

private:
    Database& db_;
    QVariant kept_;   // the cache size before; null when it was not changed
};

// The journal file is kept for the connection while a long piece of work
// commits often: each commit then clears the journal's header (synced, as
// durable as deleting it) instead of making the file anew and deleting it,
// which on a disk that discards freed blocks waits each time. The usual
// mode, which deletes the file, comes back at the end. Taken outside a
// transaction; a mode that cannot be set only makes the work slower.
class Journal_Kept_Hold {
public:
    explicit Journal_Kept_Hold(Database& db);
    ~Journal_Kept_Hold();
    Journal_Kept_Hold(const Journal_Kept_Hold&) = delete;
    Journal_Kept_Hold& operator=(const Journal_Kept_Hold&) = delete;

private:
    Database& db_;
    QString kept_;   // the mode before; empty when it was not changed
};

// The stored date form, to the second.
QString Db_Date_Text(const QDateTime& value);
// Reads a stored date; an invalid QDateTime for NULL or unreadable text.
QDateTime Db_To_Date(const QVariant& value);
// A record field as text; NULL reads as the empty text.
QString Db_Text(const QSqlRecord& record, const QString& field);
