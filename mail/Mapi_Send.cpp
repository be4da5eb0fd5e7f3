#include "Mapi_Send.h"

#include <QSqlRecord>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Mapi_Fetch.h"
#include "Outbox_Sending.h"

namespace {

struct Attached_File {
    QString path, name;
};

QList<Attached_File> Outbox_Files(qint64 outbox_id)
{
    QList<Attached_File> files;
    for (const QSqlRecord& file :
         Open_Database().Select("SELECT Attachment_Path, Attachment_Name FROM Outbox_Attachments "
                                "WHERE Outbox_ID = ? ORDER BY ID",
                                {outbox_id}))
        files << Attached_File{Db_Text(file, "Attachment_Path"), Db_Text(file, "Attachment_Name")};
    return files;
}

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
    if (Outbox_Sending() == Outbox_Sender::Mail_Client)
        return;
    // The automatic sender is in the middle of a batch; between its batches
    // the outbox may go through the mail client.
    if (Outbox_Sending() != Outbox_Sender::None) {
        Message_Box("The outbox is being sent by the automatic sender. Send through the mail client "
                    "when it has stopped.",
                    vbOKOnly);
        return;
    }
    Outbox_Sending_Guard guard(Outbox_Sender::Mail_Client);
    const QDateTime bound = Now();
    int sent = 0;
    try {
        QString failure;
        if (!File_Unfiled_Outbox_Rows(&failure)) {
            // The database does not take the filing now: the due rows would fare no better.
            Message_Box(failure, vbOKOnly);
            return;
        }
        const QList<qint64> due = Due_Outbox_Emails(bound);
        // Said before the mail store is looked for: with nothing to send it does not matter.
        if (due.isEmpty()) {
            Message_Box("There is nothing to send: the outbox holds no e-mail that is due.", vbOKOnly);
            return;
        }
        if (MAPISession1().SessionID() == 0)
            Mapi_Sign_On();
        for (const qint64 id : due) {
            const QSqlRecord row = Outbox_Row_Now(id);
            if (row.isEmpty())
                continue;
            const QString to = Db_Text(row, "ToEmail");
            const QString subject = Db_Text(row, "Subject");
            const QString text = Db_Text(row, "Message");
            const QList<Attached_File> files = Outbox_Files(id);
            Send_One(to, Db_Text(row, "ToEmailName"), subject, text, files);
            ++sent;
            // Filed and out of the outbox at once, so no later failure sends it again.
            const bool filed = File_Sent_Outbox_Row(row, Sent_Filing{bound, QString(""), true});
            // The copy is not filed; the files are still where they were.
            const QString cc = Cc_Copy_Address(to);
            if (!cc.isEmpty())
                Send_One(cc, QString(), subject, text, files);
            if (!filed)
                break;   // the next rows would fare no better
        }
    } catch (const std::exception& e) {
        Message_Box("Error on Send All Messages: " + Error_Description(e), vbOKOnly);
    }
    Count_Sent_Messages(sent);
}
