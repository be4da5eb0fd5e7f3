#include "List_Recordset.h"

#include "Data_Access.h"
#include "Dialogs.h"
#include "Shared_Routines.h"

namespace {

template <typename Rows>
Rows Open_List(const QString& sql, bool* ok, Rows (Database::*select)(const QString&, const QVariantList&),
               const QVariantList& params)
{
    try {
        Database db = Open_Database();
        Rows rows = (db.*select)(sql, params);
        if (ok)
            *ok = true;
        return rows;
    } catch (const Program_Error& e) {
        Message_Box("Error on open temp record. msg: " + e.Description() + "\r\n\r\nOn query: " + sql);
        if (ok)
            *ok = false;
        return {};
    }
}

} // namespace

QList<QSqlRecord> Open_List_Recordset(const QString& sql, const QVariantList& params, bool* ok)
{
    return Open_List(sql, ok, &Database::Select, params);
}

QList<QVariantList> Open_List_Values(const QString& sql, const QVariantList& params, bool* ok)
{
    return Open_List(sql, ok, &Database::Select_Values, params);
}

QStringList First_Column_Texts(const QList<QSqlRecord>& rows)
{
    QStringList texts;
    for (const QSqlRecord& row : rows)
        texts << Null_To_Empty(row.value(0));
    return texts;
}
