#include "Event_History.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Main_Window_Lists.h"
#include "Shared_Routines.h"

namespace {

const QString CRLF = "\r\n";

void Show_Query_Error(const QString& what, const Program_Error& e, const QString& sql)
{
    Message_Box(what + e.Description() + CRLF + CRLF + "On query: " + sql, vbOKOnly);
}

// Runs a look-up statement; a failure is shown and counts as no row.
bool Query_Id(const QString& sql, const QVariantList& params, qint64* id)
{
    try {
        const QVariant value = Open_Database().Scalar(sql, params);
        *id = value.isNull() ? 0 : value.toLongLong();
        return true;
    } catch (const Database_Error& e) {
        Show_Query_Error("Error on open temp record. msg: ", e, sql);
        *id = 0;
        return false;
    }
}

// A row written just now may not be visible yet: look again, one second
// apart, handling window messages meanwhile.
qint64 Look_Up(const QString& sql, const QVariantList& params, int tries)
{
    if (tries < 1)
        tries = 1;
    for (int attempt = 1; attempt <= tries; ++attempt) {
        qint64 id = 0;
        if (!Query_Id(sql, params, &id))
            return 0;
        if (id != 0)
            return id;
        if (attempt < tries)
            Time_Pause(1);
    }
    return 0;
}

// Removes a stored file; a read-only file is made writable first.
void Remove_Stored_File(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    QFile file(path);
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    if (!file.remove())
        throw File_Error("Could not delete " + path + ": " + file.errorString());
}

void Delete_Owned_Files(const QString& what, const QString& select, const QString& remove,
                        const QVariantList& params)
{
    QString sql = select;
    try {
        Database db = Open_Database();
        const QList<QSqlRecord> rows = db.Select(select, params);
        for (const QSqlRecord& row : rows)
            Remove_Stored_File(Db_Text(row, row.fieldName(0)));
        sql = remove;
        db.Execute(remove, params);
    } catch (const Program_Error& e) {
        Show_Query_Error(what, e, sql);
    }
}

} // namespace

List_Row Event_List_Row(const QDateTime& Email_ID_Date, const QString& Event_Type,
                        const QString& EventSubject, const QString& Event_Unique_ID,
                        qint64 ContactID, bool Has_Attachments)
{
    List_Row row;
    row.key = "evt" + Event_Unique_ID + "-:::-" + QString::number(ContactID);
    row.texts << (Email_ID_Date.isValid() ? Email_ID_Date.toString("MM/dd/yy hh:mm:ss") : QString())
              << Event_Type << EventSubject;
    row.bold = {1, 2, 3};
    if (Has_Attachments)
        row.icon = "Clip";
    return row;
}

qint64 Add_Event_History(qint64 ContactID, const QDateTime& EventDate, const QString& Event_Product,
                         const QString& Event_Type, int Timeline_Step_Number, const QString& Sender,
                         const QString& EventSubject, const QString& EventMessage, bool EventRead,
                         const QDateTime& Email_ID_Date, const QString& Event_Unique_ID,
                         bool Mark_Pending, int Attachment_Count)
{
    if (ContactID == 0) {
        Message_Box("Cannot add event for this customer. The contact no longer exists!", vbOKOnly);
        return 0;
    }
    Database db = Open_Database();
    if (db.Scalar("SELECT ID FROM Contacts WHERE ID = ?", {ContactID}).isNull()) {
        Message_Box("Event history was not added to non-existent contact #: "
                        + QString::number(ContactID),
                    vbOKOnly);
        return 0;
    }

    const bool has_attachments = Attachment_Count > 0;
    qint64 id = 0;
    {
        Database_Transaction transaction(db);
        // One contact never holds two events of the same unique id.
        if (!db.Scalar("SELECT ID FROM Eventhistory WHERE ContactID = ? AND Event_Unique_ID = ? LIMIT 1",
                       {ContactID, Event_Unique_ID})
                 .isNull())
            return 0;
        id = db.Insert(
            "INSERT INTO Eventhistory (ContactID, EventDate, Event_Product, Event_Type, "
            "Timeline_Step_Number, Sender, EventSubject, EventMessage, EventRead, Email_ID_Date, "
            "Event_Unique_ID, Has_Attachments) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {ContactID, EventDate, Event_Product, Event_Type, Timeline_Step_Number, Sender,
             EventSubject, EventMessage, EventRead, Email_ID_Date, Event_Unique_ID,
             has_attachments});
        if (Mark_Pending)
            db.Execute("UPDATE Contacts SET Pending_Events_To_Read = 1 WHERE ID = ?", {ContactID});
        transaction.Commit();
    }

    if (Mark_Pending)
        Main_Window().Set_Contact_Pending_Mark(ContactID, true);
    if (Main_Window().Shown_Contact_ID() == QString::number(ContactID))
        Main_Window().Add_List_Row(Main_List::Events,
                                   Event_List_Row(Email_ID_Date, Event_Type, EventSubject,
                                                  Event_Unique_ID, ContactID, has_attachments));
    Add_Stats("Event History: " + Event_Type, 1);
    return id;
}

// Dates compare with IS: a row stored without a date is found by a missing one.
qint64 Find_Event_History(qint64 ContactID, const QString& Event_Unique_ID,
                          const QDateTime& Email_ID_Date, int tries)
{
    return Look_Up("SELECT ID FROM Eventhistory WHERE ContactID = ? AND Event_Unique_ID = ? "
                   "AND Email_ID_Date IS ? ORDER BY ID LIMIT 1",
                   {ContactID, Event_Unique_ID, Email_ID_Date}, tries);
}

qint64 Find_New_Email(const QString& Email_Unique_ID, const QDateTime& Email_Received_Date, int tries)
{
    return Look_Up("SELECT ID FROM NewEmails WHERE Email_Received_Date IS ? AND Email_Unique_ID = ? "
                   "ORDER BY ID LIMIT 1",
                   {Email_Received_Date, Email_Unique_ID}, tries);
}

qint64 Find_Outbox_Email(qint64 Out_Contact_ID, const QString& ToEmail,
                         const QDateTime& Date_Sent_To_Outbox, int tries)
{
    return Look_Up("SELECT ID FROM Outbox WHERE Date_Sent_To_Outbox IS ? AND Out_Contact_ID = ? "
                   "AND ToEmail = ? ORDER BY ID LIMIT 1",
                   {Date_Sent_To_Outbox, Out_Contact_ID, ToEmail}, tries);
}

void Delete_Event_History(qint64 ID)
{
    const QString select =
        "SELECT ID, Event_Unique_ID, Has_Attachments, Event_Type FROM Eventhistory WHERE ID = ?";
    QSqlRecord row;
    try {
        row = Open_Database().Select_First(select, {ID});
    } catch (const Database_Error& e) {
        Show_Query_Error("Error on open temp record. msg: ", e, select);
        return;
    }
    if (row.isEmpty())
        return;
    if (row.value("Has_Attachments").toLongLong() != 0)
        Delete_Event_Attachments(ID);
    // Whatever the event's type: an id that names no stored message deletes nothing.
    Delete_Mapi_Message(Db_Text(row, "Event_Unique_ID"));

    const QString remove = "DELETE FROM Eventhistory WHERE ID = ?";
    try {
        Open_Database().Execute(remove, {ID});
    } catch (const Database_Error& e) {
        Show_Query_Error("Error on open temp record. msg: ", e, remove);
    }
}

void Delete_Event_Attachments(qint64 ID)
{
    Delete_Owned_Files("Error on Delete Attachments. msg: ",
                       "SELECT Attachment_Path_Name FROM Attachments WHERE Link_ID = ? AND Link_Database = ?",
                       "DELETE FROM Attachments WHERE Link_ID = ? AND Link_Database = ?",
                       {ID, QString("E")});
}

void Delete_Outbox_Attachments(qint64 Outbox_ID)
{
    Delete_Owned_Files("Error on Delete Outbox Attachments. msg: ",
                       "SELECT Attachment_Path FROM Outbox_Attachments WHERE Outbox_ID = ?",
                       "DELETE FROM Outbox_Attachments WHERE Outbox_ID = ?", {Outbox_ID});
}

qint64 Find_Contact_By_Email(const QString& Email)
{
    if (Email.isEmpty())
        return 0;
    // Equality, not LIKE: "_" and "%" in an address are ordinary characters.
    const QVariant id = Open_Database().Scalar(
        "SELECT ID FROM Contacts WHERE Email = ? ORDER BY ID LIMIT 1", {Email});
    return id.isNull() ? 0 : id.toLongLong();
}
