#include "Database.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace {

const char* const kDateFormat = "yyyy-MM-dd hh:mm:ss";

QMutex connections_mutex;
QStringList connection_names;
// Open transactions per connection: an inner one is a savepoint, so a
// routine that keeps its own work atomic can run inside a caller's batch.
QHash<QString, int> transaction_depth;
// Connections whose open transaction the database rolled back on its own
// (a full disk, an I/O error): until the outermost one ends, every statement
// is refused, or it would be stored by itself outside the batch.
// The value is what made the database do so.
QHash<QString, QString> transaction_lost;

QVariant Bindable(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.isValid() ? QVariant(Db_Date_Text(dt)) : QVariant();
    }
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        return d.isValid() ? QVariant(d.toString("yyyy-MM-dd") + " 00:00:00") : QVariant();
    }
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::QString:
        // A text is never NULL, however it was made: a row stored from an
        // empty text must be found again by an empty text.
        return value.toString().isNull() ? QVariant(QString("")) : value;
    default:
        return value;
    }
}

QString Describe(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text.trimmed();
}

// After a failure inside a transaction: is the transaction still open? A
// BEGIN is refused inside one; taken, it is ended again at once.
void Check_Transaction_Kept(const QString& connection, const QString& description)
{
    if (transaction_depth.value(connection) == 0 || transaction_lost.contains(connection))
        return;
    QSqlQuery probe(QSqlDatabase::database(connection, false));
    if (probe.exec("BEGIN")) {
        probe.exec("ROLLBACK");
        transaction_lost.insert(connection, description);
    }
}

QSqlQuery Run(const QString& connection, const QString& sql, const QVariantList& params)
{
    if (transaction_lost.contains(connection))
        throw Database_Error("The database rolled back the open transaction: "
                             + transaction_lost.value(connection));
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw Database_Error(Describe(query.lastError()));
    for (int i = 0; i < params.size(); ++i)
        query.bindValue(i, Bindable(params.at(i)));
    if (!query.exec()) {
        const QString description = Describe(query.lastError());
        query.finish();
        Check_Transaction_Kept(connection, description);
        throw Database_Error(description);
    }
    return query;
}

} // namespace

Database::Database(const QString& path)
    : path_(QFileInfo(path).absoluteFilePath())
{
    if (path.isEmpty() || !QFileInfo::exists(path_))
        throw Database_Error("Could not find file '" + path + "'.");
    connection_ = QString("brackenlead:%1:%2")
                      .arg(path_)
                      .arg(reinterpret_cast<quintptr>(QThread::currentThread()));
    if (QSqlDatabase::contains(connection_) && QSqlDatabase::database(connection_, false).isOpen())
        return;
    QSqlDatabase db = QSqlDatabase::contains(connection_)
        ? QSqlDatabase::database(connection_, false)
        : QSqlDatabase::addDatabase("QSQLITE", connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000");
    if (!db.open())
        throw Database_Error(Describe(db.lastError()));
    {
        QMutexLocker lock(&connections_mutex);
        if (!connection_names.contains(connection_))
            connection_names << connection_;
    }
    // A file that is not a database opens fine and fails on first use: find out now.
    try {
        Run(connection_, "PRAGMA foreign_keys=ON", {});
        Run(connection_, "SELECT count(*) FROM sqlite_master", {});
    } catch (const Database_Error&) {
        db.close();
        throw;
    }
}

QList<QSqlRecord> Database::Select(const QString& sql, const QVariantList& params)
{
    QSqlQuery query = Run(connection_, sql, params);
    QList<QSqlRecord> rows;
    while (query.next())
        rows << query.record();
    if (query.lastError().isValid())
        throw Database_Error(Describe(query.lastError()));
    return rows;
}

QSqlRecord Database::Select_First(const QString& sql, const QVariantList& params)
{
    QSqlQuery query = Run(connection_, sql, params);
    if (query.next())
        return query.record();
    if (query.lastError().isValid())
        throw Database_Error(Describe(query.lastError()));
    return QSqlRecord();
}

QVariant Database::Scalar(const QString& sql, const QVariantList& params)
{
    QSqlQuery query = Run(connection_, sql, params);
    if (query.next())
        return query.value(0);
    if (query.lastError().isValid())
        throw Database_Error(Describe(query.lastError()));
    return QVariant();
}

qint64 Database::Insert(const QString& sql, const QVariantList& params)
{
    QSqlQuery query = Run(connection_, sql, params);
    return query.lastInsertId().toLongLong();
}

int Database::Execute(const QString& sql, const QVariantList& params)
{
    QSqlQuery query = Run(connection_, sql, params);
    return query.numRowsAffected();
}

void Database::Begin()
{
    int& depth = transaction_depth[connection_];
    Run(connection_, depth == 0 ? QString("BEGIN IMMEDIATE") : QString("SAVEPOINT level%1").arg(depth), {});
    ++depth;
}

void Database::Commit()
{
    int& depth = transaction_depth[connection_];
    if (depth == 0)
        throw Database_Error("No transaction is open.");
    Run(connection_, depth == 1 ? QString("COMMIT") : QString("RELEASE level%1").arg(depth - 1), {});
    --depth;
}

void Database::Rollback()
{
    int& depth = transaction_depth[connection_];
    if (depth == 0)
        throw Database_Error("No transaction is open.");
    --depth;
    if (transaction_lost.contains(connection_)) {
        // Nothing is open any more to roll back.
        if (depth == 0)
            transaction_lost.remove(connection_);
        return;
    }
    if (depth == 0) {
        Run(connection_, "ROLLBACK", {});
    } else {
        Run(connection_, QString("ROLLBACK TO level%1").arg(depth), {});
        Run(connection_, QString("RELEASE level%1").arg(depth), {});
    }
}

void Database::Close_All()
{
    QStringList names;
    {
        QMutexLocker lock(&connections_mutex);
        names.swap(connection_names);
    }
    for (const QString& name : names) {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(name);
        transaction_depth.remove(name);
        transaction_lost.remove(name);
    }
}

Database_Transaction::Database_Transaction(Database& db)
    : db_(db)
{
    db_.Begin();
}

Database_Transaction::~Database_Transaction()
{
    if (!done_) {
        try {
            db_.Rollback();
        } catch (const Database_Error&) {
        }
    }
}

void Database_Transaction::Commit()
{
    db_.Commit();
    done_ = true;
}

QString Db_Date_Text(const QDateTime& value)
{
    return value.toString(kDateFormat);
}

QDateTime Db_To_Date(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QDateTime();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    const QString text = value.toString().trimmed();
    QDateTime dt = QDateTime::fromString(text, kDateFormat);
    if (!dt.isValid())
        dt = QDateTime(QDate::fromString(text, "yyyy-MM-dd"), QTime(0, 0));
    return dt;
}

QString Db_Text(const QSqlRecord& record, const QString& field)
{
    const QVariant v = record.value(field);
    return v.isNull() ? QString("") : v.toString();
}
