#include "Outbox_Removal.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>

#include "Data_Access.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Main_Window_Lists.h"
#include "Outbox_Posting.h"

namespace {

int Delete_Entries(const QString& where, const QVariantList& values)
{
    Database db = Open_Database();
    const QList<QSqlRecord> rows =
        db.Select("SELECT ID, Out_Contact_ID, Out_Event_Type, ToEmail, Date_Sent_To_Outbox FROM Outbox WHERE "
                      + where + " ORDER BY ID",
                  values);
    if (rows.isEmpty())
        return 0;
    QStringList files;
    {
        // The rows go together; the files only once their rows are gone, so a
        // failure never leaves a row whose file is missing.
        Database_Transaction transaction(db);
        for (const QSqlRecord& row : rows) {
            const QVariant id = row.value("ID");
            for (const QSqlRecord& file :
                 db.Select("SELECT Attachment_Path FROM Outbox_Attachments WHERE Outbox_ID = ?", {id}))
                files << Db_Text(file, "Attachment_Path");
            db.Execute("DELETE FROM Outbox_Attachments WHERE Outbox_ID = ?", {id});
            db.Execute("DELETE FROM Outbox WHERE ID = ?", {id});
        }
        transaction.Commit();
    }
    for (const QString& path : files) {
        // Another entry may share the stored copy (a copied row): it stays then.
        if (path.isEmpty() || !QFileInfo::exists(path)
            || !db.Select_First("SELECT ID FROM Outbox_Attachments WHERE Attachment_Path = ?", {path}).isEmpty()
            || !db.Select_First("SELECT rowid FROM Attachments WHERE Attachment_Path_Name = ?", {path}).isEmpty())
            continue;
        QFile::remove(path);
    }

    for (const QSqlRecord& row : rows) {
        const QString type = Db_Text(row, "Out_Event_Type");
        const QDateTime sent = Db_To_Date(row.value("Date_Sent_To_Outbox"));
        if (type == "Call Out" || type == "To Do") {
            if (GlobalVariables::ToDo_List_Loaded)
                Remove_ToDo_List_Item(row.value("Out_Contact_ID").toLongLong(), sent);
        } else if (GlobalVariables::Outbox_List_Loaded) {
            Main_Window().Remove_List_Row(Main_List::Outbox, Make_Outbox_Key(Db_Text(row, "ToEmail"), sent));
        }
        Main_Window().Outbox_Entry_Gone(row.value("ID").toLongLong());
    }
    return int(rows.size());
}

} // namespace

int Delete_Contact_Outbox_Entries(qint64 Out_Contact_ID)
{
    return Delete_Entries("Out_Contact_ID = ?", {Out_Contact_ID});
}

int Delete_Outbox_Entries_Posted(qint64 Out_Contact_ID, const QDateTime& Date_Sent_To_Outbox)
{
    return Delete_Entries("Out_Contact_ID = ? AND Date_Sent_To_Outbox = ?", {Out_Contact_ID, Date_Sent_To_Outbox});
}
