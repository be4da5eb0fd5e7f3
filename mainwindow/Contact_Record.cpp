#include "Contact_Record.h"

#include "Data_Access.h"
#include "Shared_Routines.h"

bool Contact_Flag(const QSqlRecord& record, const char* field)
{
    const QVariant value = record.value(field);
    return !Is_Null(value) && value.toLongLong() != 0;
}

void Contact_Changes::Set(const char* column, const QVariant& value)
{
    columns << QString::fromLatin1(column) + " = ?";
    values << value;
}

void Update_Contact(qint64 ID, const Contact_Changes& changes)
{
    if (changes.columns.isEmpty())
        return;
    Open_Database().Execute("UPDATE Contacts SET " + changes.columns.join(", ") + " WHERE ID = ?",
                            changes.values + QVariantList{ID});
}
