#include "Database_Upgrade.h"

#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QtDebug>

#include "Schema.h"

namespace {

QStringList Columns_Of(Database& db, const QString& table)
{
    QStringList columns;
    for (const QSqlRecord& row : db.Select("SELECT name FROM pragma_table_info(?)", {table}))
        columns << row.value(0).toString();
    return columns;
}

QString Quoted(const QString& name)
{
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

// The schema's statements that make the table and its indexes.
QStringList Table_Statements(const QString& table)
{
    const QRegularExpression makes(
        QString(R"(^CREATE\s+(TABLE\s+%1\s*\(|(UNIQUE\s+)?INDEX\s+\w+\s+ON\s+%1\s*\())")
            .arg(QRegularExpression::escape(table)),
        QRegularExpression::CaseInsensitiveOption);
    QStringList statements;
    for (const QString& statement : Schema_Statements())
        if (makes.match(statement).hasMatch())
            statements << statement;
    return statements;
}

// Makes the table anew from the schema and copies the old rows into it, in
// their order; columns the old table lacks take their defaults.
void Rebuild_Table(Database& db, const QString& table)
{
    const QString old_table = table + "_Before_Upgrade";
    const QStringList statements = Table_Statements(table);
    if (statements.isEmpty())
        throw Database_Error("The schema does not make the table " + table + ".");
    for (const QSqlRecord& index :
         db.Select("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ? "
                   "AND sql IS NOT NULL",
                   {table}))
        db.Execute("DROP INDEX " + Quoted(index.value(0).toString()));
    db.Execute("ALTER TABLE " + Quoted(table) + " RENAME TO " + Quoted(old_table));
    for (const QString& statement : statements)
        db.Execute(statement);
    QStringList kept;
    const QStringList new_columns = Columns_Of(db, table);
    for (const QString& column : Columns_Of(db, old_table))
        if (new_columns.contains(column, Qt::CaseInsensitive))
            kept << Quoted(column);
    const QString list = kept.join(", ");
    db.Execute("INSERT INTO " + Quoted(table) + " (" + list + ") SELECT " + list + " FROM "
               + Quoted(old_table) + " ORDER BY rowid");
    db.Execute("DROP TABLE " + Quoted(old_table));
}

// Makes the indexes the schema gained since the database was made. One the
// rows do not allow (a unique one over repeated values) is left out, logged.
void Make_Missing_Indexes(Database& db)
{
    const QRegularExpression makes(R"(^CREATE\s+(UNIQUE\s+)?INDEX\s+(\w+)\s+ON\s+(\w+))",
                                   QRegularExpression::CaseInsensitiveOption);
    for (const QString& statement : Schema_Statements()) {
        const QRegularExpressionMatch match = makes.match(statement);
        if (!match.hasMatch())
            continue;
        const QString index = match.captured(2);
        if (!db.Scalar("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?", {index}).isNull())
            continue;
        if (db.Scalar("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?", {match.captured(3)}).isNull())
            continue;
        try {
            db.Execute(statement);
        } catch (const Database_Error& e) {
            qWarning("The index %s could not be made: %s", qPrintable(index), qPrintable(e.Description()));
        }
    }
}

// Indexes the schema replaced by wider ones: each old one goes once its
// successor is there, since every look-up it served uses the new one.
void Drop_Replaced_Indexes(Database& db)
{
    static const QList<QPair<QString, QString>> replaced{{"Contacts_Name", "Contacts_List"}};
    for (const auto& [old_index, new_index] : replaced) {
        const QString exists = "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?";
        if (!db.Scalar(exists, {old_index}).isNull() && !db.Scalar(exists, {new_index}).isNull())
            db.Execute("DROP INDEX " + Quoted(old_index));
    }
}

} // namespace

void Upgrade_Database(Database& db)
{
    const QStringList inventory = Columns_Of(db, "Inventory");
    if (!inventory.isEmpty() && !inventory.contains("ID", Qt::CaseInsensitive)) {
        Database_Transaction transaction(db);
        // Rows of one product may be alike in every field: only a key tells them apart.
        Rebuild_Table(db, "Inventory");
        transaction.Commit();
    }
    Make_Missing_Indexes(db);
    Drop_Replaced_Indexes(db);
}

void Upgrade_Database_Once(Database& db)
{
    static QMutex mutex;
    static QSet<QString> upgraded;
    QMutexLocker lock(&mutex);
    if (upgraded.contains(db.Path()))
        return;
    upgraded.insert(db.Path());
    try {
        Upgrade_Database(db);
    } catch (const Database_Error& e) {
        qWarning("The database %s could not be upgraded: %s", qPrintable(db.Path()),
                 qPrintable(e.Description()));
    }
}
