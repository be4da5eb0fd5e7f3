#include "Mail_Integration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlRecord>

#include "Attachment_Store.h"
#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Email_Lead_Import.h"
#include "Event_History.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Mail_Intake_State.h"
#include "Main_Window_Lists.h"
#include "Mapi_Fetch.h"
#include "Shared_Routines.h"
#include "Settings.h"

namespace {

// A message that could not be filed whole; what it left is undone.
class Filing_Error : public Program_Error {
public:
    explicit Filing_Error(const QString& description, bool reported = false)
        : Program_Error(description), Reported(reported)
    {
    }
    bool Reported;  // already shown to the user
};

// What one message wrote outside the database, to take back when its
// database work is rolled back.
struct Message_Undo {
    QStringList files;
    QList<QPair<Main_List, QString>> rows;

    void Revert() const
    {
        for (const QString& file : files)
            QFile::remove(file);
        for (const auto& row : rows)
            Main_Window().Remove_List_Row(row.first, row.second);
    }
    void Take(const Message_Undo& other)
    {
        files << other.files;
        rows << other.rows;
    }
};

// A message that keeps failing is said once per run of the program, not at
// every check of the mail.
bool First_Report(const QString& message_id, const QString& description)
{
    QSet<QString>& reported = Mail_Intake().Reported;
    const QString key = message_id + "\n" + description;
    if (reported.contains(key))
        return false;
    reported.insert(key);
    return true;
}

struct Unmatched_Row {
    QString name, subject, id;
    QDateTime received;
    bool has_attachments;
};

bool Is_Address_Character(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-'
        || u == '.' || u == '_';
}

bool Any_Event_With_Id(qint64 contact, const QString& id)
{
    return !Open_Database()
                .Select_First("SELECT ID FROM Eventhistory WHERE ContactID = ? AND Event_Unique_ID = ? LIMIT 1",
                              {contact, id})
                .isEmpty();
}

[[noreturn]] void Attachment_Failed(const QString& sender, const QString& message_id, const Program_Error& e)
{
    if (First_Report(message_id, e.Description()))
        Message_Box("Error on Downloading Attachment for " + sender + ". Attachment corrupt. " + e.Description(),
                    vbOKOnly);
    throw Filing_Error(e.Description(), true);
}

// Copies every attachment of the current message into the store, linked to
// its owner. The counter in front of a taken name runs across the message.
void Save_Mapi_Attachments(MAPIMessages& messages, qint64 Owner_ID, const QString& Link_Database,
                           const QString& sender, const QString& message_id, Message_Undo& undo)
{
    Database db = Open_Database();
    const QString folder = Attachments_Folder();
    if (!QDir().mkpath(folder))
        Attachment_Failed(sender, message_id, File_Error("Cannot make the folder " + folder + "."));
    int counter = 1;
    for (int i = 0; i < messages.AttachmentCount(); ++i) {
        QString name, target;
        try {
            messages.AttachmentIndex = i;
            name = Safe_Attachment_Name(messages.AttachmentName());
            const QString source = messages.AttachmentPathName();
            if (!QFileInfo(source).isFile())
                throw MAPI_Error("The attachment " + name + " is missing.");
            target = folder + name;
            while (QFileInfo::exists(target))
                target = folder + QString::number(counter++) + name;
            QFile copy(source);
            if (!copy.copy(target))
                throw File_Error("Cannot copy " + name + ": " + copy.errorString());
        } catch (const Program_Error& e) {
            // The store could not give the attachment, or its copy failed.
            Attachment_Failed(sender, message_id, e);
        }
        undo.files << target;
        db.Insert("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, "
                  "Attachment_Final_Name) VALUES (?, ?, ?, ?)",
                  {Owner_ID, Link_Database, target, name});
    }
}

// Files the current message; false when it was stored before. Throws when it
// cannot be filed whole.
bool File_Current_Message(MAPIMessages& messages, int index, Message_Undo& undo,
                          QList<Unmatched_Row>& unmatched)
{
    const QString id = messages.MsgID();
    const QDateTime received = messages.MsgDateReceived();
    if (!Is_New_Email(id, received))
        return false;
    // Everything is read before anything is written.
    const QString subject = messages.MsgSubject();
    const QString text = messages.MsgNoteText();
    const QString sender = messages.MsgOrigAddress();
    const QString sender_name = messages.MsgOrigDisplayName();
    const int attachments = messages.AttachmentCount();

    const int kind = Classify_Email_Subject(subject);
    if (kind == 2) {
        const Email_Lead_Result lead = Import_Contact_From_Email(subject, text, id, received, attachments);
        if (lead.New_Contact)
            undo.rows << qMakePair(Main_List::Contacts, Make_Contact_Key(lead.Contact_ID));
        if (lead.Event_ID == 0) {
            if (lead.Contact_ID != 0 && Any_Event_With_Id(lead.Contact_ID, id))
                return false;  // that contact holds this message already
            throw Filing_Error("The lead could not be filed.");
        }
        undo.rows << qMakePair(Main_List::Events, Event_List_Row(received, "Email Entry", subject, id,
                                                                 lead.Contact_ID, attachments > 0)
                                                      .key);
        if (attachments > 0)
            Save_Mapi_Attachments(messages, lead.Event_ID, "E", sender, id, undo);
        return true;
    }

    const qint64 contact = kind == 1 ? Find_Contact_From_Body_Addresses(text) : Find_Contact_By_Email(sender);
    if (contact != 0) {
        const qint64 event = Add_Event_History(contact, Now(), "", "Email In", 0, sender, subject, text,
                                               false, received, id, true, attachments);
        if (event == 0) {
            if (Any_Event_With_Id(contact, id))
                return false;
            throw Filing_Error("The event could not be added.");
        }
        undo.rows << qMakePair(Main_List::Events,
                               Event_List_Row(received, "Email In", subject, id, contact, attachments > 0).key);
        if (attachments > 0)
            Save_Mapi_Attachments(messages, event, "E", sender, id, undo);
        return true;
    }

    const qint64 row = Open_Database().Insert(
        "INSERT INTO NewEmails (Email_Message, Email_Subject, Email_From, Email_From_Name, Email_Date, "
        "Email_Received_Date, Email_Unique_ID, Email_Number_On_Server, Email_New, Has_Attachments) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {text, subject, sender, sender_name, Now(), received, id, index, true, attachments > 0});
    Add_Stats("Added to Unmatched", 1);
    if (attachments > 0)
        Save_Mapi_Attachments(messages, row, "U", sender, id, undo);
    unmatched << Unmatched_Row{sender_name, subject, id, received, attachments > 0};
    return true;
}

QString Describe(MAPIMessages& messages)
{
    try {
        const QString subject = messages.MsgSubject();
        return messages.MsgOrigAddress() + ": " + (subject.isEmpty() ? QString("(no subject)") : subject);
    } catch (const MAPI_Error&) {
        try {
            return messages.MsgID();
        } catch (const MAPI_Error&) {
            return QString("message %1").arg(messages.MsgIndex + 1);
        }
    }
}

QString Message_Key(MAPIMessages& messages)
{
    try {
        return messages.MsgID();
    } catch (const MAPI_Error&) {
        return QString::number(messages.MsgIndex);
    }
}

} // namespace

bool Is_New_Email(const QString& Message_ID, const QDateTime& Received_Date)
{
    Database db = Open_Database();
    if (!db.Select_First("SELECT ID FROM Eventhistory WHERE Event_Unique_ID = ? AND Email_ID_Date = ? LIMIT 1",
                         {Message_ID, Received_Date})
             .isEmpty())
        return false;
    return db.Select_First("SELECT ID FROM NewEmails WHERE Email_Unique_ID = ? AND Email_Received_Date = ? LIMIT 1",
                           {Message_ID, Received_Date})
        .isEmpty();
}

int Classify_Email_Subject(const QString& Subject)
{
    Database db = Open_Database();
    for (const QSqlRecord& row : db.Select("SELECT Subject_Search_String FROM InvalidSearchStrings ORDER BY rowid")) {
        const QString search = Db_Text(row, "Subject_Search_String");
        if (!search.isEmpty() && Subject.contains(search, Qt::CaseSensitive))
            return 1;
    }
    for (const QSqlRecord& row :
         db.Select("SELECT Search_String_On_Subject_Line FROM EmailContactImports ORDER BY ID")) {
        const QString search = Db_Text(row, "Search_String_On_Subject_Line");
        if (!search.isEmpty() && Subject.contains(search, Qt::CaseSensitive))
            return 2;
    }
    return 3;
}

QString Extract_Email_Address(const QString& Text, int Position)
{
    const qsizetype at = Position - 1;
    if (at < 0 || at >= Text.size())
        return QString("@");
    qsizetype start = at;
    while (start > 0 && Is_Address_Character(Text.at(start - 1)))
        --start;
    qsizetype end = at;
    while (end + 1 < Text.size() && Is_Address_Character(Text.at(end + 1)))
        ++end;
    return Text.mid(start, end - start + 1);
}

qint64 Find_Contact_From_Body_Addresses(const QString& Text)
{
    Database db = Open_Database();
    qsizetype position = 0;
    while ((position = Text.indexOf('@', position, Qt::CaseSensitive)) >= 0) {
        const QString address = Extract_Email_Address(Text, int(position + 1));
        // Without a name before and a domain after the "@" it is no address.
        if (!address.startsWith('@') && !address.endsWith('@')) {
            const QVariant id = db.Scalar("SELECT ID FROM Contacts WHERE Email = ? ORDER BY ID LIMIT 1", {address});
            if (!id.isNull() && id.toLongLong() != 0)
                return id.toLongLong();
        }
        ++position;
    }
    return 0;
}

void Integrate_Mapi_Emails(MAPIMessages& messages)
{
    const int count = messages.MsgCount();
    if (count >= 1) {
        Main_Window().Set_Status_Panel(5, "Integrating Emails");
        QList<int> stored;                 // content in the database: may leave the store
        QList<Unmatched_Row> unmatched;
        QStringList failures;
        Message_Undo batch_undo;
        bool committed = false;
        QString batch_error;
        try {
            Database db = Open_Database();
            Database_Transaction batch(db);
            for (int i = 0; i < count; ++i) {
                messages.MsgIndex = i;
                Main_Window().Set_Status_Panel(6, QString("%1/%2").arg(i).arg(count));
                Message_Undo undo;
                QList<Unmatched_Row> rows;
                try {
                    Database_Transaction one(db);
                    File_Current_Message(messages, i, undo, rows);
                    one.Commit();
                    stored << i;
                    batch_undo.Take(undo);
                    unmatched << rows;
                } catch (const std::exception& e) {
                    undo.Revert();
                    const auto* filing = dynamic_cast<const Filing_Error*>(&e);
                    const QString what = Error_Description(e);
                    if (!(filing && filing->Reported) && First_Report(Message_Key(messages), what))
                        failures << Describe(messages) + " - " + what;
                }
            }
            batch.Commit();
            committed = true;
        } catch (const Database_Error& e) {
            batch_error = e.Description();
        }

        if (!committed) {
            batch_undo.Revert();
            Message_Box("Error on Integrating Emails: " + batch_error
                            + "\r\n\r\nThe e-mails stay in the mail store and are read again next time.",
                        vbOKOnly);
        } else {
            if (GlobalVariables::Unmatched_List_Loaded) {
                for (const Unmatched_Row& row : unmatched)
                    Add_Unmatched_List_Item(row.name, row.subject, row.received, row.id, row.has_attachments);
            }
            if (!failures.isEmpty())
                Message_Box("These e-mails could not be filed; they stay in the mail store:\r\n\r\n"
                                + failures.join("\r\n"),
                            vbOKOnly);
            if (Current_Settings().Delete_Remote_Email) {
                QStringList not_deleted;
                // From the end, so the indexes of the others stay.
                for (int k = int(stored.size()) - 1; k >= 0; --k) {
                    messages.MsgIndex = stored.at(k);
                    try {
                        messages.Delete();
                    } catch (const MAPI_Error& e) {
                        not_deleted << e.Description();
                    }
                }
                if (!not_deleted.isEmpty())
                    Message_Box("Error on deleting e-mails from the mail store:\r\n" + not_deleted.join("\r\n"),
                                vbOKOnly);
            }
        }
    }
    Main_Window().Set_Status_Panel(5, "");
    Main_Window().Set_Status_Panel(6, "");
}

void Delete_Stored_Mapi_Message(const QString& Message_ID)
{
    if (Message_ID.isEmpty() || MAPISession1().SessionID() == 0)
        return;
    // A set of its own, so an intake that waits meanwhile keeps its messages.
    MAPIMessages messages;
    messages.Set_Session(&MAPISession1());
    try {
        messages.FetchUnreadOnly = false;
        messages.Fetch();
        for (int i = 0; i < messages.MsgCount(); ++i) {
            messages.MsgIndex = i;
            if (messages.MsgID() == Message_ID) {
                messages.Delete();
                return;
            }
        }
    } catch (const MAPI_Error& e) {
        Message_Box("Error on deleting the e-mail from the mail store: " + e.Description(), vbOKOnly);
    }
}

void Register_Mail_Store_Deleter()
{
    Set_Mapi_Message_Deleter(Delete_Stored_Mapi_Message);
}
