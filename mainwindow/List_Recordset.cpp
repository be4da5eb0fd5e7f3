#include "List_Recordset.h"

#include "Data_Access.h"
#include "Dialogs.h"
#include "Shared_Routines.h"

QList<QSqlRecord> Open_List_Recordset(const QString& sql, const QVariantList& params, bool* ok)
{
    try {
        Database db = Open_Database();
        QList<QSqlRecord> rows = db.Select(sql, params);
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

QStringList First_Column_Texts(const QList<QSqlRecord>& rows)
{
    QStringList texts;
    for (const QSqlRecord& row : rows)
        texts << Null_To_Empty(row.value(0));
    return texts;
}
