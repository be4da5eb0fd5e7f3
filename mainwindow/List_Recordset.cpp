#include "List_Recordset.h"

#include "Data_Access.h"
#include "Dialogs.h"
#include "Shared_Routines.h"

namespace {

// Runs read, saying a failure with the query; false then.
bool Open_List(const QString& sql, const std::function<void(Database&)>& read)
{
    try {
        Database db = Open_Database();
        read(db);
        return true;
    } catch (const Program_Error& e) {
        Message_Box("Error on open temp record. msg: " + e.Description() + "\r\n\r\nOn query: " + sql);
        return false;
    }
}

} // namespace

QList<QSqlRecord> Open_List_Recordset(const QString& sql, const QVariantList& params, bool* ok)
{
    QList<QSqlRecord> rows;
    const bool read = Open_List(sql, [&](Database& db) { rows = db.Select(sql, params); });
    if (ok)
        *ok = read;
    return rows;
}

bool Read_List_Rows(const QString& sql, const QVariantList& params,
                    const std::function<void(const Row_Values&)>& each)
{
    return Open_List(sql, [&](Database& db) { db.Read_Rows(sql, params, each); });
}

QStringList First_Column_Texts(const QList<QSqlRecord>& rows)
{
    QStringList texts;
    for (const QSqlRecord& row : rows)
        texts << Null_To_Empty(row.value(0));
    return texts;
}
