#include "Contact_Removal.h"

#include <QSqlRecord>
#include <QStringList>
#include <optional>

#include "Data_Access.h"
#include "Outbox_Removal.h"
#include "Shared_Routines.h"

namespace {

// The events' rows and attachment rows, deleted through the caller's
// transaction; what is to go after it commits is kept.
struct Events_Removal {
    QStringList files;
    QStringList message_ids;
    int count = 0;

    Events_Removal(Database& db, qint64 ContactID)
    {
        const QList<QSqlRecord> events =
            db.Select("SELECT ID, Event_Unique_ID FROM Eventhistory WHERE ContactID = ? ORDER BY ID", {ContactID});
        for (const QSqlRecord& event : events) {
            const QVariant id = event.value("ID");
            for (const QSqlRecord& file :
                 db.Select("SELECT Attachment_Path_Name FROM Attachments WHERE Link_ID = ? AND Link_Database = ?",
                           {id, QString("E")}))
                files << Db_Text(file, "Attachment_Path_Name");
            db.Execute("DELETE FROM Attachments WHERE Link_ID = ? AND Link_Database = ?", {id, QString("E")});
            message_ids << Db_Text(event, "Event_Unique_ID");
        }
        db.Execute("DELETE FROM Eventhistory WHERE ContactID = ?", {ContactID});
        count = int(events.size());
    }

    QStringList Finish(Database& db) const
    {
        const QStringList failed = Remove_Unreferenced_Files(db, files);
        // An id that names no stored message deletes nothing.
        for (const QString& id : message_ids)
            if (!id.isEmpty())
                Delete_Mapi_Message(id);
        return failed;
    }
};

void Report_Files_Left(const QStringList& failed)
{
    if (!failed.isEmpty())
        throw File_Error("Could not delete " + failed.join(", "));
}

} // namespace

int Erase_Contact_History(qint64 ContactID)
{
    Database db = Open_Database();
    std::optional<Events_Removal> events;
    {
        Database_Transaction transaction(db);
        events.emplace(db, ContactID);
        db.Execute("UPDATE Contacts SET Pending_Events_To_Read = 0 WHERE ID = ?", {ContactID});
        transaction.Commit();
    }
    Report_Files_Left(events->Finish(db));
    return events->count;
}

Contact_Removed Delete_Contact_Records(qint64 ContactID, const QString& Junk_Address)
{
    Database db = Open_Database();
    std::optional<Events_Removal> events;
    std::optional<Outbox_Entries_Removal> outbox;
    {
        Database_Transaction transaction(db);
        Put_On_Junk_List(db, Junk_Address);
        db.Execute("DELETE FROM Contacts WHERE ID = ?", {ContactID});
        events.emplace(db, ContactID);
        outbox.emplace(db, "Out_Contact_ID = ?", QVariantList{ContactID});
        transaction.Commit();
    }
    QStringList failed = events->Finish(db);
    failed << outbox->Finish();
    Report_Files_Left(failed);
    return {events->count, outbox->Count()};
}

int Contact_Outbox_Entry_Count(qint64 ContactID)
{
    return Open_Database().Scalar("SELECT count(*) FROM Outbox WHERE Out_Contact_ID = ?", {ContactID}).toInt();
}
