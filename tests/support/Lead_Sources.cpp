#include "Lead_Sources.h"

qint64 Add_Contact_Source(Database& db, const QString& name, const QVariantMap& values)
{
    QStringList columns{"Name_Of_Site"};
    QStringList marks{"?"};
    QVariantList params{name};
    for (auto it = values.begin(); it != values.end(); ++it) {
        columns << it.key();
        marks << "?";
        params << it.value();
    }
    return db.Insert("INSERT INTO ContactSources (" + columns.join(", ") + ") VALUES (" + marks.join(", ") + ")",
                     params);
}

QList<QSqlRecord> Contact_Rows(Database& db)
{
    return db.Select("SELECT * FROM Contacts ORDER BY ID");
}

QStringList Contact_Keys(Database& db)
{
    QStringList keys;
    for (const QSqlRecord& row : Contact_Rows(db))
        keys << QStringList{row.value("FirstName").toString(), row.value("MiddleInitial").toString(),
                            row.value("LastName").toString(), row.value("Email").toString()}
                    .join("|");
    return keys;
}

int Contact_Count(Database& db)
{
    return db.Scalar("SELECT count(*) FROM Contacts").toInt();
}

void Recording_Window::Set_Status_Panel(int panel, const QString& text)
{
    Recording_Main_Window::Set_Status_Panel(panel, text);
    if (keep_history)
        history << qMakePair(panel, text);
}

bool Recording_Window::Was_Shown(int panel, const QString& text) const
{
    for (const auto& entry : history)
        if (entry.first == panel && entry.second == text)
            return true;
    return false;
}
