#include "Outbox_List_Rows.h"

#include <QSqlRecord>

#include "Data_Access.h"
#include "Main_Window_Lists.h"

bool Add_Outbox_List_Item(qint64 Outbox_ID, const QString& ToEmailName, const QString& ToEmail,
                          const QDateTime& Date_Sent_To_Outbox, const QString& Subject)
{
    return Main_Window().Add_List_Row(
        Main_List::Outbox, Outbox_List_Row(Outbox_ID, ToEmailName, ToEmail, Date_Sent_To_Outbox, Subject));
}

int Remove_Outbox_List_Item(const QString& ToEmail, const QDateTime& Date_Sent_To_Outbox)
{
    return Main_Window().Remove_List_Row(Main_List::Outbox,
                                         Make_Outbox_Key(ToEmail, Date_Sent_To_Outbox));
}

int Move_Outbox_Attachments_To_Event(qint64 Outbox_ID, qint64 Event_ID)
{
    Database db = Open_Database();
    const QList<QSqlRecord> files = db.Select(
        "SELECT Attachment_Path, Attachment_Name FROM Outbox_Attachments WHERE Outbox_ID = ? "
        "ORDER BY ID",
        {Outbox_ID});
    if (files.isEmpty())
        return 0;
    Database_Transaction transaction(db);
    for (const QSqlRecord& file : files)
        db.Execute("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, "
                   "Attachment_Final_Name) VALUES (?, 'E', ?, ?)",
                   {Event_ID, file.value("Attachment_Path"), file.value("Attachment_Name")});
    db.Execute("DELETE FROM Outbox_Attachments WHERE Outbox_ID = ?", {Outbox_ID});
    transaction.Commit();
    return files.size();
}
