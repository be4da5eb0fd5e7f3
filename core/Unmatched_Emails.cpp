#include "Unmatched_Emails.h"

#include "Attachment_Store.h"
#include "Clock.h"
#include "Data_Access.h"
#include "Event_History.h"
#include "Field_Rules.h"
#include "List_Rows.h"
#include "Report_Document.h"
#include "Report_Preview.h"
#include "Shared_Routines.h"

namespace {

const char* const Shown_Email =
    "SELECT * FROM NewEmails WHERE Email_Unique_ID = ? AND Email_Received_Date = ? ORDER BY ID";

// One e-mail with its stored files, its list row and its copy in the mail
// store; the files and the row go together or not at all. Returns the list
// position the row had (0 when not listed).
int Delete_Email_Row(Database& db, const QSqlRecord& row)
{
    const qint64 id = row.value("ID").toLongLong();
    const QString unique_id = Db_Text(row, "Email_Unique_ID");
    {
        Database_Transaction transaction(db);
        Delete_All_Attachments(id, "U");
        db.Execute("DELETE FROM NewEmails WHERE ID = ?", {id});
        transaction.Commit();
    }
    const int position = Remove_Unmatched_List_Item(Db_To_Date(row.value("Email_Received_Date")), unique_id);
    Delete_Mapi_Message(unique_id);
    return position;
}

int Delete_Email_Rows(const QString& where, const QVariantList& params)
{
    Database db = Open_Database();
    const QList<QSqlRecord> rows =
        db.Select("SELECT ID, Email_Unique_ID, Email_Received_Date FROM NewEmails " + where + " ORDER BY ID", params);
    int position = 0;
    for (const QSqlRecord& row : rows) {
        const int removed = Delete_Email_Row(db, row);
        if (removed > 0)
            position = removed;
    }
    return position;
}

QString Shown_Date(const QVariant& value)
{
    const QDateTime date = Db_To_Date(value);
    return date.isValid() ? date.toString("MM/dd/yyyy hh:mm:ss") : value.toString();
}

} // namespace

Unmatched_Conversion Convert_Unmatched_Email_To_Contact(const QString& Email_Unique_ID,
                                                        const QDateTime& Email_Received_Date)
{
    Unmatched_Conversion result;
    Database db = Open_Database();
    const QSqlRecord shown = db.Select_First(Shown_Email, {Email_Unique_ID, Email_Received_Date});
    if (shown.isEmpty())
        return result;
    const QString stored_from = Db_Text(shown, "Email_From");
    const QString address = stored_from.trimmed();
    if (address.isEmpty()) {
        // No contact can be found or made by its address.
        result.Result = Unmatched_Conversion::Outcome::No_Sender_Address;
        return result;
    }
    result.Result = Unmatched_Conversion::Outcome::Converted;

    result.Contact_ID = Find_Contact_By_Email(address);
    if (result.Contact_ID == 0) {
        QString name = Db_Text(shown, "Email_From_Name");
        const QString after_first = Get_After_First_Word(name);
        QVariant first_name;   // unset for a one-word name
        QString last_name = name;
        if (!after_first.isEmpty()) {
            first_name = Get_First_Word(name);
            last_name = after_first;
        }
        const QDateTime received = Db_To_Date(shown.value("Email_Received_Date"));
        result.Contact_ID = db.Insert(
            "INSERT INTO Contacts (FirstName, LastName, Email, Contact_Received_Date, Workflow_Start_Date, "
            "Pending_Events_To_Read, New_Contact) VALUES (?, ?, ?, ?, ?, 1, 1)",
            {first_name, last_name, address, received, received});
        result.Contact_Created = true;
        Add_Contact_List_Item(result.Contact_ID, first_name, last_name, QString(), QString(), QString(), true,
                              true, address);
    }

    const QList<QSqlRecord> emails = db.Select(
        "SELECT ID, Email_Subject, Email_Message, Email_Received_Date, Email_Unique_ID FROM NewEmails "
        "WHERE Email_From = ? ORDER BY ID",
        {stored_from});
    for (const QSqlRecord& email : emails) {
        const qint64 id = email.value("ID").toLongLong();
        const QString unique_id = Db_Text(email, "Email_Unique_ID");
        const QDateTime received = Db_To_Date(email.value("Email_Received_Date"));
        try {
            Database_Transaction transaction(db);
            const int files =
                db.Scalar("SELECT count(*) FROM Attachments WHERE Link_ID = ? AND Link_Database = 'U'", {id})
                    .toInt();
            const qint64 event = Add_Event_History(result.Contact_ID, Now(), QString(), "Email Convert", 0, address,
                                                   Db_Text(email, "Email_Subject"), Db_Text(email, "Email_Message"),
                                                   false, received, unique_id, true, files > 0 ? 1 : 0);
            if (event == 0)
                throw Database_Error("The contact's history holds this e-mail already.");
            // The files stay where they are; only their owner changes.
            db.Execute("UPDATE Attachments SET Link_ID = ?, Link_Database = 'E' "
                       "WHERE Link_ID = ? AND Link_Database = 'U'",
                       {event, id});
            db.Execute("DELETE FROM NewEmails WHERE ID = ?", {id});
            transaction.Commit();
        } catch (const Program_Error& e) {
            ++result.Not_Filed;
            if (result.Failure.isEmpty())
                result.Failure = e.Description();
            continue;
        }
        ++result.Filed;
        const int position = Remove_Unmatched_List_Item(received, unique_id);
        if (position > 0)
            result.Position = position;
    }
    return result;
}

int Delete_Unmatched_Email(const QString& Email_Unique_ID, const QDateTime& Email_Received_Date)
{
    return Delete_Email_Rows("WHERE Email_Unique_ID = ? AND Email_Received_Date = ?",
                             {Email_Unique_ID, Email_Received_Date});
}

int Delete_Unmatched_Emails_From(const QString& Email_From)
{
    if (Email_From.isEmpty())
        return Delete_Email_Rows("WHERE Email_From IS NULL OR Email_From = ''", {});
    return Delete_Email_Rows("WHERE Email_From = ?", {Email_From});
}

int Delete_All_Unmatched_Emails()
{
    return Delete_Email_Rows(QString(), {});
}

int Junk_Unmatched_Emails_From(const QString& Email_From)
{
    Add_To_Junk_Emails(Email_From);
    return Delete_Unmatched_Emails_From(Email_From);
}

Report_Document Unmatched_Email_Report(const QList<QSqlRecord>& Emails)
{
    Report_Document report("Email Listing");
    for (const QSqlRecord& email : Emails) {
        report.Add_Field("From:", Db_Text(email, "Email_From"));
        report.Add_Field("Date:", Shown_Date(email.value("Email_Date")));
        report.Add_Rule();
        report.Add_Field("Subject:", Db_Text(email, "Email_Subject"));
        report.Add_Field("Message:", Db_Text(email, "Email_Message"));
    }
    return report;
}

bool Print_Unmatched_Email(const QString& Email_Unique_ID, const QDateTime& Email_Received_Date)
{
    const QList<QSqlRecord> emails = Open_Database().Select(Shown_Email, {Email_Unique_ID, Email_Received_Date});
    if (emails.isEmpty())
        return false;
    const Report_Document report = Unmatched_Email_Report(emails);
    Preview_Report(report.Title(), report.Html());
    return true;
}

void Print_All_Unmatched_Emails()
{
    const Report_Document report = Unmatched_Email_Report(Open_Database().Select("SELECT * FROM NewEmails ORDER BY ID"));
    Preview_Report(report.Title(), report.Html());
}
