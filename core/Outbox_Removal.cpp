#include "Outbox_Removal.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>
#include <optional>

#include "Data_Access.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Main_Window_Lists.h"
#include "Outbox_Posting.h"

Outbox_Entries_Removal::Outbox_Entries_Removal(Database& db, const QString& Where, const QVariantList& Values)
    : db_(db)
{
    rows_ = db_.Select("SELECT ID, Out_Contact_ID, Out_Event_Type, ToEmail, Date_Sent_To_Outbox FROM Outbox WHERE "
                           + Where + " ORDER BY ID",
                       Values);
    for (const QSqlRecord& row : std::as_const(rows_)) {
        const QVariant id = row.value("ID");
        for (const QSqlRecord& file :
             db_.Select("SELECT Attachment_Path FROM Outbox_Attachments WHERE Outbox_ID = ?", {id}))
            files_ << Db_Text(file, "Attachment_Path");
        db_.Execute("DELETE FROM Outbox_Attachments WHERE Outbox_ID = ?", {id});
        db_.Execute("DELETE FROM Outbox WHERE ID = ?", {id});
    }
}

QStringList Outbox_Entries_Removal::Finish()
{
    const QStringList failed = Remove_Unreferenced_Files(db_, files_);
    for (const QSqlRecord& row : std::as_const(rows_)) {
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
    return failed;
}

QStringList Remove_Unreferenced_Files(Database& db, const QStringList& Paths)
{
    QStringList failed;
    for (const QString& path : Paths) {
        if (path.isEmpty() || !QFileInfo::exists(path)
            || !db.Select_First("SELECT ID FROM Outbox_Attachments WHERE Attachment_Path = ?", {path}).isEmpty()
            || !db.Select_First("SELECT rowid FROM Attachments WHERE Attachment_Path_Name = ?", {path}).isEmpty())
            continue;
        QFile file(path);
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
        if (!file.remove())
            failed << path;
    }
    return failed;
}

namespace {

int Delete_Entries(const QString& where, const QVariantList& values)
{
    Database db = Open_Database();
    std::optional<Outbox_Entries_Removal> removal;
    {
        // The rows go together; the files only once their rows are gone, so a
        // failure never leaves a row whose file is missing.
        Database_Transaction transaction(db);
        removal.emplace(db, where, values);
        transaction.Commit();
    }
    if (removal->Count() == 0)
        return 0;
    removal->Finish();
    return removal->Count();
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
