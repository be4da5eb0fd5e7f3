#include "Mapi_Send.h"

#include <QSet>
#include <QSqlRecord>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History.h"
#include "GlobalVariables.h"
#include "Mapi_Fetch.h"
#include "Outbox_List_Rows.h"
#include "Shared_Routines.h"
#include "Settings.h"

namespace {

bool mapi_sending = false;

// Rows the mail program took whose filing failed: never handed to it again
// while the program runs; their filing is tried again at the next send.
QSet<qint64> sent_not_filed;
QString sent_database;

// While it lives the outbox is this sender's: an SMTP batch that comes due
// meanwhile leaves it alone.
struct Sending_Guard {
    Sending_Guard()
    {
        mapi_sending = true;
        GlobalVariables::Outbox_Sending = true;
    }
    ~Sending_Guard()
    {
        mapi_sending = false;
        GlobalVariables::Outbox_Sending = false;
    }
};

struct Attached_File {
    QString path, name;
};

void Send_One(const QString& to, const QString& to_name, const QString& subject, const QString& text,
              const QList<Attached_File>& files)
{
    MAPIMessages& messages = MAPIMessages1();
    messages.Compose();
    messages.RecipAddress = to;
    messages.RecipDisplayName = to_name;
    messages.ComposeSubject = subject;
    messages.ComposeNoteText = text;
    for (const Attached_File& file : files)
        messages.Add_Attachment(file.path, file.name);
    messages.Send();
}

} // namespace

void Send_All_Mapi_Messages()
{
    // A second click while this run waits on the mail program.
    if (mapi_sending)
        return;
    // The automatic sender is in the middle of a batch; between its batches
    // the outbox may go through the mail client.
    if (GlobalVariables::Outbox_Sending) {
        Message_Box("The outbox is being sent by the automatic sender. Send through the mail client "
                    "when it has stopped.",
                    vbOKOnly);
        return;
    }
    Sending_Guard guard;
    if (sent_database != GlobalVariables::Database_Path) {
        sent_database = GlobalVariables::Database_Path;
        sent_not_filed.clear();
    }
    const QDateTime bound = Now();
    int sent = 0;
    try {
        if (MAPISession1().SessionID() == 0)
            Mapi_Sign_On();
        Database db = Open_Database();
        const QList<QSqlRecord> rows =
            db.Select("SELECT * FROM Outbox WHERE Out_Event_Type IN ('Email Out', 'Sent Quote') "
                      "AND Date_To_Execute_Event < ? ORDER BY ID",
                      {bound});
        for (const QSqlRecord& listed : rows) {
            // The row as it stands now: while the mail program took the ones
            // before, it may have been edited, deleted, or sent by another copy of the program.
            const QSqlRecord row = db.Select_First("SELECT * FROM Outbox WHERE ID = ?", {listed.value("ID")});
            if (row.isEmpty())
                continue;
            const qint64 outbox_id = row.value("ID").toLongLong();
            const QString to = Db_Text(row, "ToEmail");
            const QString subject = Db_Text(row, "Subject");
            const QString text = Db_Text(row, "Message");
            QList<Attached_File> files;
            for (const QSqlRecord& file :
                 db.Select("SELECT Attachment_Path, Attachment_Name FROM Outbox_Attachments "
                           "WHERE Outbox_ID = ? ORDER BY ID",
                           {outbox_id}))
                files << Attached_File{Db_Text(file, "Attachment_Path"), Db_Text(file, "Attachment_Name")};

            const bool sent_before = sent_not_filed.contains(outbox_id);
            if (!sent_before)
                Send_One(to, Db_Text(row, "ToEmailName"), subject, text, files);

            // Sent: filed and out of the outbox at once, so no later failure sends it again.
            QString filing_error;
            try {
                Database_Transaction transaction(db);
                const qint64 contact = row.value("Out_Contact_ID").toLongLong();
                if (contact > 0) {
                    const qint64 event = Add_Event_History(
                        contact, bound, Db_Text(row, "Product_Name"), Db_Text(row, "Out_Event_Type"),
                        row.value("Out_Timeline_Event_Number").toInt(), "", subject, text, true, bound,
                        QString::number(Create_Unique_Number()), false, int(files.size()));
                    if (event > 0 && !files.isEmpty())
                        Move_Outbox_Attachments_To_Event(outbox_id, event);
                }
                db.Execute("DELETE FROM Outbox WHERE ID = ?", {outbox_id});
                transaction.Commit();
                sent_not_filed.remove(outbox_id);
            } catch (const Database_Error& e) {
                sent_not_filed.insert(outbox_id);
                filing_error = e.Description();
            }
            if (!sent_before)
                ++sent;
            if (filing_error.isEmpty() && GlobalVariables::Outbox_List_Loaded)
                Remove_Outbox_List_Item(to, Db_To_Date(row.value("Date_Sent_To_Outbox")));

            // The copy is not filed; the files are still where they were.
            const QString cc = Current_Settings().Cc_Address.trimmed();
            if (!sent_before && Current_Settings().Enabled_Cc_Redirection && !cc.isEmpty()
                && cc.compare(to.trimmed(), Qt::CaseInsensitive) != 0)
                Send_One(cc, QString(), subject, text, files);
            if (!filing_error.isEmpty()) {
                // The database does not take the filing now: the next rows would fare no better.
                Message_Box("The e-mail to " + to + " was sent, but it could not be filed and taken out of "
                            "the outbox; it is not sent again, and its filing is tried at the next send. "
                            "Error: " + filing_error,
                            vbOKOnly);
                break;
            }
        }
    } catch (const std::exception& e) {
        Message_Box("Error on Send All Messages: " + Error_Description(e), vbOKOnly);
    }
    if (sent > 0)
        Add_Stats("Messages Sent", sent);
}
