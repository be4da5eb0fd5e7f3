#include "Database.h"

#include "Clock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sqlite3.h>
#include <unordered_map>

namespace {

const char* const kDateFormat = "yyyy-MM-dd hh:mm:ss";

QMutex connections_mutex;
QStringList connection_names;
// Open transactions per connection: an inner one is a savepoint, so a
// routine that keeps its own work atomic can run inside a caller's batch.
// Connections whose open transaction the database rolled back on its own
// (a full disk, an I/O error): until the outermost one ends, every statement
// is refused, or it would be stored by itself outside the batch.
// The value is what made the database do so. Each connection belongs to one
// thread, but the tables are shared by all: reached only through the
// functions below.
QMutex state_mutex;
QHash<QString, int> transaction_depth;
QHash<QString, QString> transaction_lost;

int Depth(const QString& connection)
{
    QMutexLocker lock(&state_mutex);
    return transaction_depth.value(connection);
}

void Set_Depth(const QString& connection, int depth)
{
    QMutexLocker lock(&state_mutex);
    transaction_depth.insert(connection, depth);
}

// Why the open transaction was lost; a null text when it was not.
QString Lost(const QString& connection)
{
    QMutexLocker lock(&state_mutex);
    return transaction_lost.value(connection);
}

void Set_Lost(const QString& connection, const QString& description)
{
    QMutexLocker lock(&state_mutex);
    // Never a null text: that would read as "not lost".
    transaction_lost.insert(connection, description.isNull() ? QString("") : description);
}

void Forget_State(const QString& connection, bool depth_too)
{
    QMutexLocker lock(&state_mutex);
    transaction_lost.remove(connection);
    if (depth_too)
        transaction_depth.remove(connection);
}

[[noreturn]] void Refuse_After_Loss(const QString& lost)
{
    throw Database_Error("The database rolled back the open transaction: " + lost);
}

// Ends the name of each connection of this thread.
QString Thread_Suffix()
{
    return QString(":%1").arg(reinterpret_cast<quintptr>(QThread::currentThread()));
}

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
    if (Depth(connection) == 0 || !Lost(connection).isNull())
        return;
    QSqlQuery probe(QSqlDatabase::database(connection, false));
    if (probe.exec("BEGIN")) {
        probe.exec("ROLLBACK");
        Set_Lost(connection, description);
    }
}

// Each connection keeps the statements it ran prepared, keyed by their text,
// and steps them again with new values: compiling the SQL anew for every call
// costs more than most statements themselves. The least recently used goes
// when the cache is full. Only the connection's own thread touches its cache.
class Statement_Cache {
public:
    static constexpr int Capacity = 96;

    std::shared_ptr<QSqlQuery> Find(const QString& sql)
    {
        auto it = entries_.find(sql);
        if (it == entries_.end())
            return nullptr;
        it->second.used = ++clock_;
        return it->second.query;
    }

    void Keep(const QString& sql, const std::shared_ptr<QSqlQuery>& query)
    {
        if (int(entries_.size()) >= Capacity)
            Drop_Least_Used();
        entries_[sql] = Entry{query, ++clock_};
    }

    void Drop(const QString& sql) { entries_.erase(sql); }
    void Clear() { entries_.clear(); }

    // The schema the statements were prepared against; -1 when not known.
    qint64 schema_version = -1;

private:
    struct Entry {
        std::shared_ptr<QSqlQuery> query;
        quint64 used = 0;
    };

    void Drop_Least_Used()
    {
        auto oldest = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (it->second.used < oldest->second.used)
                oldest = it;
        if (oldest != entries_.end())
            entries_.erase(oldest);
    }

    std::unordered_map<QString, Entry, std::hash<QString>> entries_;
    quint64 clock_ = 0;
};

// Guarded by connections_mutex; a connection's cache goes before the
// connection closes, since closing invalidates its statements.
std::unordered_map<QString, std::unique_ptr<Statement_Cache>, std::hash<QString>> statement_caches;

// At the application's end the statements go while their drivers still
// exist: the driver dictionary goes before this file's globals would.
void Forget_All_Statements()
{
    std::unordered_map<QString, std::unique_ptr<Statement_Cache>, std::hash<QString>> gone;
    QMutexLocker lock(&connections_mutex);
    gone.swap(statement_caches);
}

Statement_Cache& Cache_Of(const QString& connection)
{
    static const bool dropped_at_exit = (qAddPostRoutine(Forget_All_Statements), true);
    (void)dropped_at_exit;
    QMutexLocker lock(&connections_mutex);
    std::unique_ptr<Statement_Cache>& cache = statement_caches[connection];
    if (!cache)
        cache = std::make_unique<Statement_Cache>();
    return *cache;
}

void Forget_Statements(const QString& connection)
{
    std::unique_ptr<Statement_Cache> gone;
    {
        QMutexLocker lock(&connections_mutex);
        auto it = statement_caches.find(connection);
        if (it == statement_caches.end())
            return;
        gone = std::move(it->second);
        statement_caches.erase(it);
    }
}

// A statement of the cache in use, shared with the cache: reset when done,
// so that it holds no read lock and blocks no schema change, VACUUM or other
// connection's write.
class Stepping {
public:
    explicit Stepping(std::shared_ptr<QSqlQuery> query)
        : query_(std::move(query))
    {
    }
    ~Stepping() { query_->finish(); }
    Stepping(const Stepping&) = delete;
    Stepping& operator=(const Stepping&) = delete;

    QSqlQuery& operator*() { return *query_; }
    QSqlQuery* operator->() { return query_.get(); }

private:
    std::shared_ptr<QSqlQuery> query_;
};

// SQLite prepares a statement again by itself after a schema change, but the
// Qt driver sizes a row by the column count from before it ran: a statement
// whose columns changed ("SELECT *" after a column was added) would overrun
// it. So the statements go after anything but a query, a change of rows or a
// transaction step (a rolled back transaction may have changed the schema).
bool Keeps_Schema(const QString& sql)
{
    static const QStringList keeps{"SELECT", "INSERT", "UPDATE", "DELETE", "REPLACE", "WITH",
                                   "BEGIN",  "COMMIT", "END",    "SAVEPOINT", "RELEASE", "PRAGMA"};
    const QString text = sql.trimmed();
    qsizetype end = 0;
    while (end < text.size() && text.at(end).isLetter())
        ++end;
    const QString first = text.left(end).toUpper();
    return keeps.contains(first) && !text.contains("writable_schema", Qt::CaseInsensitive);
}

void Finish_Commit_Aside(const QString& connection);

// Runs sql with params on the connection's prepared statement for it; the
// caller reads the results while the Stepping lives. A statement that failed
// is prepared again next time (SQLite hands its failure back on the next
// reset), and so is one whose table went away with a schema change.
std::unique_ptr<Stepping> Run(const QString& connection, const QString& sql, const QVariantList& params)
{
    Finish_Commit_Aside(connection);
    if (const QString lost = Lost(connection); !lost.isNull())
        Refuse_After_Loss(lost);
    Statement_Cache& cache = Cache_Of(connection);
    std::shared_ptr<QSqlQuery> query = cache.Find(sql);
    if (!query) {
        query = std::make_shared<QSqlQuery>(QSqlDatabase::database(connection, false));
        query->setForwardOnly(true);
        if (!query->prepare(sql))
            throw Database_Error(Describe(query->lastError()));
        cache.Keep(sql, query);
    }
    auto step = std::make_unique<Stepping>(std::move(query));
    for (int i = 0; i < params.size(); ++i)
        (*step)->bindValue(i, Bindable(params.at(i)));
    if (!(*step)->exec()) {
        const QString description = Describe((*step)->lastError());
        step.reset();
        cache.Drop(sql);
        Check_Transaction_Kept(connection, description);
        throw Database_Error(description);
    }
    if (!Keeps_Schema(sql)) {
        cache.Clear();
        cache.schema_version = -1;
    }
    return step;
}

// Another connection may have changed the schema since this one last ran:
// looked at once per use of the connection, not per statement.
void Check_Schema(const QString& connection)
{
    qint64 version = -1;
    {
        auto step = Run(connection, "PRAGMA schema_version", {});
        if ((*step)->next())
            version = (*step)->value(0).toLongLong();
    }
    Statement_Cache& cache = Cache_Of(connection);
    if (cache.schema_version != version) {
        cache.Clear();
        // A statement is prepared against the schema the connection last
        // read: one that reads a table makes it read the new one first.
        Run(connection, "SELECT count(*) FROM sqlite_master", {});
        cache.schema_version = version;
    }
}

// Reading a row failed half way: the statement is made afresh next time.
[[noreturn]] void Failed_Reading(const QString& connection, const QString& sql, std::unique_ptr<Stepping> step)
{
    const QString description = Describe((*step)->lastError());
    step.reset();
    Cache_Of(connection).Drop(sql);
    throw Database_Error(description);
}

// The connection's own SQLite handle, for reading without the driver's
// value per column.
sqlite3* Handle_Of(const QString& connection)
{
    const QSqlDatabase db = QSqlDatabase::database(connection, false);
    const QVariant handle = db.isOpen() ? db.driver()->handle() : QVariant();
    sqlite3* raw = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
        ? *static_cast<sqlite3* const*>(handle.constData())
        : nullptr;
    if (!raw)
        throw Database_Error("The database connection is not open.");
    return raw;
}

// A commit running on a thread of its own: until it has ended the
// connection is the commit's, and its owner thread leaves it alone.
struct Commit_Aside {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    int result = SQLITE_OK;
    QString error;
    bool settled = false;   // the owner thread's

    void End(int code, const QString& description)
    {
        {
            std::lock_guard lock(mutex);
            result = code;
            error = description;
            done = true;
        }
        ended.notify_all();
    }
};

// Guarded by state_mutex; at most one commit per connection. The count
// spares every statement the look-up while none is running.
QHash<QString, std::shared_ptr<Commit_Aside>> commits_aside;
std::atomic<int> commits_aside_count{0};

// Waits for the commit's end; one that failed is rolled back if it is still
// open (SQLite keeps a transaction whose commit a deferred check refused),
// so the connection is out of any transaction either way.
void Settle(const QString& connection, const std::shared_ptr<Commit_Aside>& commit)
{
    {
        QMutexLocker lock(&state_mutex);
        if (commits_aside.value(connection) == commit) {
            commits_aside.remove(connection);
            --commits_aside_count;
        }
    }
    if (commit->settled)
        return;
    {
        std::unique_lock lock(commit->mutex);
        commit->ended.wait(lock, [&] { return commit->done; });
    }
    commit->settled = true;
    if (commit->result == SQLITE_OK)
        return;
    try {
        sqlite3* handle = Handle_Of(connection);
        if (!sqlite3_get_autocommit(handle))
            sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
    } catch (const Database_Error&) {
        // Closed meanwhile: nothing is open any more.
    }
    // A rolled back transaction may have changed the schema.
    Statement_Cache& cache = Cache_Of(connection);
    cache.Clear();
    cache.schema_version = -1;
}

void Finish_Commit_Aside(const QString& connection)
{
    if (commits_aside_count.load() == 0)
        return;
    std::shared_ptr<Commit_Aside> commit;
    {
        QMutexLocker lock(&state_mutex);
        commit = commits_aside.value(connection);
    }
    if (commit)
        Settle(connection, commit);
}

struct Finalize_Statement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// Binds as the driver binds a Bindable value.
int Bind_Raw(sqlite3_stmt* statement, int position, const QVariant& given)
{
    const QVariant value = Bindable(given);
    if (value.isNull())
        return sqlite3_bind_null(statement, position);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return sqlite3_bind_int64(statement, position, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, position, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(statement, position, bytes.constData(), sqlite3_uint64(bytes.size()),
                                   SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text64(statement, position, text.constData(), sqlite3_uint64(text.size()),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

} // namespace

bool Row_Values::Is_Null(int column) const
{
    return sqlite3_column_type(static_cast<sqlite3_stmt*>(statement_), column) == SQLITE_NULL;
}

QString Row_Values::Text(int column) const
{
    auto* statement = static_cast<sqlite3_stmt*>(statement_);
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(statement, column), 'g', QLocale::FloatingPointShortest);
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        return size > 0 ? QString::fromUtf8(text, size) : QString("");
    }
    }
}

qint64 Row_Values::Integer(int column) const
{
    return sqlite3_column_int64(static_cast<sqlite3_stmt*>(statement_), column);
}

Database::Database(const QString& path)
    : path_(QFileInfo(path).absoluteFilePath())
{
    if (path.isEmpty() || !QFileInfo::exists(path_))
        throw Database_Error("Could not find file '" + path + "'.");
    connection_ = "brackenlead:" + path_ + Thread_Suffix();
    if (QSqlDatabase::contains(connection_) && QSqlDatabase::database(connection_, false).isOpen()) {
        // Inside this connection's own write transaction no other can change
        // the schema: it was looked at when the transaction began.
        if (Depth(connection_) == 0)
            Check_Schema(connection_);
        return;
    }
    // Statements of a connection closed since belong to its old handle.
    Forget_Statements(connection_);
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
        Check_Schema(connection_);
    } catch (const Database_Error&) {
        Forget_Statements(connection_);
        db.close();
        throw;
    }
}

QList<QSqlRecord> Database::Select(const QString& sql, const QVariantList& params)
{
    auto step = Run(connection_, sql, params);
    QList<QSqlRecord> rows;
    while ((*step)->next())
        rows << (*step)->record();
    if ((*step)->lastError().isValid())
        Failed_Reading(connection_, sql, std::move(step));
    return rows;
}

QList<QVariantList> Database::Select_Values(const QString& sql, const QVariantList& params)
{
    auto step = Run(connection_, sql, params);
    QList<QVariantList> rows;
    int columns = -1;
    while ((*step)->next()) {
        if (columns < 0)
            columns = (*step)->record().count();
        QVariantList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row << (*step)->value(i);
        rows << std::move(row);
    }
    if ((*step)->lastError().isValid())
        Failed_Reading(connection_, sql, std::move(step));
    return rows;
}

void Database::Read_Rows(const QString& sql, const QVariantList& params,
                         const std::function<void(const Row_Values&)>& each)
{
    Finish_Commit_Aside(connection_);
    if (const QString lost = Lost(connection_); !lost.isNull())
        Refuse_After_Loss(lost);
    sqlite3* handle = Handle_Of(connection_);
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &prepared, nullptr) != SQLITE_OK) {
        sqlite3_finalize(prepared);
        throw Database_Error(QString::fromUtf8(sqlite3_errmsg(handle)));
    }
    const std::unique_ptr<sqlite3_stmt, Finalize_Statement> statement(prepared);
    if (!statement)
        throw Database_Error("The statement is empty.");
    // A change made here would pass by the statement cache and its schema checks.
    if (!sqlite3_stmt_readonly(statement.get()))
        throw Database_Error("Only a statement that changes nothing reads rows: " + sql);
    for (int i = 0; i < params.size(); ++i)
        if (Bind_Raw(statement.get(), i + 1, params.at(i)) != SQLITE_OK)
            throw Database_Error(QString::fromUtf8(sqlite3_errmsg(handle)));
    const Row_Values row(statement.get());
    for (;;) {
        const int result = sqlite3_step(statement.get());
        if (result == SQLITE_DONE)
            return;
        if (result != SQLITE_ROW) {
            const QString description = QString::fromUtf8(sqlite3_errmsg(handle));
            Check_Transaction_Kept(connection_, description);
            throw Database_Error(description);
        }
        each(row);
    }
}

QSqlRecord Database::Select_First(const QString& sql, const QVariantList& params)
{
    auto step = Run(connection_, sql, params);
    if ((*step)->next())
        return (*step)->record();
    if ((*step)->lastError().isValid())
        Failed_Reading(connection_, sql, std::move(step));
    return QSqlRecord();
}

QVariant Database::Scalar(const QString& sql, const QVariantList& params)
{
    auto step = Run(connection_, sql, params);
    if ((*step)->next())
        return (*step)->value(0);
    if ((*step)->lastError().isValid())
        Failed_Reading(connection_, sql, std::move(step));
    return QVariant();
}

qint64 Database::Insert(const QString& sql, const QVariantList& params)
{
    auto step = Run(connection_, sql, params);
    return (*step)->lastInsertId().toLongLong();
}

int Database::Execute(const QString& sql, const QVariantList& params)
{
    auto step = Run(connection_, sql, params);
    return (*step)->numRowsAffected();
}

bool Database::In_Transaction() const
{
    return Depth(connection_) > 0;
}

void Database::Begin()
{
    const int depth = Depth(connection_);
    Run(connection_, depth == 0 ? QString("BEGIN IMMEDIATE") : QString("SAVEPOINT level%1").arg(depth), {});
    Set_Depth(connection_, depth + 1);
}

void Database::Commit()
{
    const int depth = Depth(connection_);
    if (depth == 0)
        throw Database_Error("No transaction is open.");
    Run(connection_, depth == 1 ? QString("COMMIT") : QString("RELEASE level%1").arg(depth - 1), {});
    Set_Depth(connection_, depth - 1);
}

void Database::Commit_Letting_Events()
{
    if (Depth(connection_) != 1 || !Lost(connection_).isNull()) {
        Commit();
        return;
    }
    sqlite3* handle = Handle_Of(connection_);
    auto commit = std::make_shared<Commit_Aside>();
    // From here on the transaction is the commit's: what uses the
    // connection settles it first and finds none open.
    Set_Depth(connection_, 0);
    {
        QMutexLocker lock(&state_mutex);
        commits_aside.insert(connection_, commit);
        ++commits_aside_count;
    }
    Run_Letting_Events([commit, handle] {
        const int result = sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
        commit->End(result, result == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errmsg(handle)));
    });
    Settle(connection_, commit);
    if (commit->result != SQLITE_OK)
        throw Database_Error(commit->error);
}

void Database::Rollback()
{
    int depth = Depth(connection_);
    if (depth == 0)
        throw Database_Error("No transaction is open.");
    Set_Depth(connection_, --depth);
    if (!Lost(connection_).isNull()) {
        // Nothing is open any more to roll back.
        if (depth == 0)
            Forget_State(connection_, false);
        return;
    }
    if (depth == 0) {
        Run(connection_, "ROLLBACK", {});
    } else {
        Run(connection_, QString("ROLLBACK TO level%1").arg(depth), {});
        Run(connection_, QString("RELEASE level%1").arg(depth), {});
    }
}

namespace {

// Closes the connections the test accepts.
void Close_Connections(const std::function<bool(const QString&)>& closes)
{
    QStringList names;
    {
        QMutexLocker lock(&connections_mutex);
        for (const QString& name : std::as_const(connection_names))
            if (closes(name))
                names << name;
        for (const QString& name : std::as_const(names))
            connection_names.removeAll(name);
    }
    for (const QString& name : names) {
        Finish_Commit_Aside(name);
        Forget_Statements(name);
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(name);
        Forget_State(name, true);
    }
}

} // namespace

void Database::Close_All()
{
    // A connection of another thread is that thread's to close, as it ends:
    // closed from here, its statements would go while it steps them.
    const QString suffix = Thread_Suffix();
    Close_Connections([&suffix](const QString& name) {
        if (name.endsWith(suffix))
            return true;
        qWarning("The database connection %s belongs to a running thread: it is left to that thread.",
                 qPrintable(name));
        return false;
    });
}

void Database::Close_This_Thread()
{
    const QString suffix = Thread_Suffix();
    Close_Connections([&suffix](const QString& name) { return name.endsWith(suffix); });
}

Page_Cache_Hold::Page_Cache_Hold(Database& db, int kib)
    : db_(db)
{
    try {
        const QVariant before = db_.Scalar("PRAGMA cache_size");
        db_.Execute("PRAGMA cache_size = " + QString::number(-qint64(kib)));
        kept_ = before;
    } catch (const Database_Error&) {
    }
}

Page_Cache_Hold::~Page_Cache_Hold()
{
    if (kept_.isNull())
        return;
    try {
        db_.Execute("PRAGMA cache_size = " + QString::number(kept_.toLongLong()));
        // The pages beyond the usual cache go back now, not when the connection closes.
        db_.Execute("PRAGMA shrink_memory");
    } catch (const Database_Error&) {
    }
}

Journal_Kept_Hold::Journal_Kept_Hold(Database& db)
    : db_(db)
{
    try {
        const QString before = db_.Scalar("PRAGMA journal_mode").toString();
        if (db_.Scalar("PRAGMA journal_mode = PERSIST").toString().compare("persist", Qt::CaseInsensitive) == 0)
            kept_ = before;
    } catch (const Database_Error&) {
    }
}

Journal_Kept_Hold::~Journal_Kept_Hold()
{
    if (kept_.isEmpty())
        return;
    try {
        db_.Scalar("PRAGMA journal_mode = " + kept_);
    } catch (const Database_Error&) {
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

void Database_Transaction::Commit_Letting_Events()
{
    // A commit that failed on its thread is rolled back already; one that
    // failed here is rolled back as the transaction is left.
    db_.Commit_Letting_Events();
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
