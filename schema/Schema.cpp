#include "Schema.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

QStringList Schema_Statements()
{
    Q_INIT_RESOURCE(schema);
    QFile file(":/schema/brackenlead.sql");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList statements;
    QString current;
    for (const QString& rawLine : QString::fromUtf8(file.readAll()).split('\n')) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith("--"))
            continue;
        current += rawLine + '\n';
        if (line.endsWith(';')) {
            statements << current.trimmed();
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

bool Create_Empty_Database(const QString& path, QString* error)
{
    if (QFile::exists(path)) {
        if (error)
            *error = "The file already exists: " + path;
        return false;
    }
    const QStringList statements = Schema_Statements();
    if (statements.isEmpty()) {
        if (error)
            *error = "The schema is missing.";
        return false;
    }
    const QString name = "schema-" + QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
            ok = false;
        } else {
            db.transaction();
            QSqlQuery query(db);
            for (const QString& statement : statements) {
                if (!query.exec(statement)) {
                    if (error)
                        *error = query.lastError().text() + "\n" + statement;
                    ok = false;
                    break;
                }
            }
            ok ? db.commit() : db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok)
        QFile::remove(path);
    return ok;
}
