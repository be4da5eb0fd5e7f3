#include "Mail_Integration.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QSqlRecord>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

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

// The longest stretch of filing between two looks at the window's events.
constexpr int Slice_Ms = 30;
constexpr int Intake_Cache_Kib = 16 * 1024;

// A message that could not be filed whole; what it left is undone.
class Filing_Error : public Program_Error {
public:
    explicit Filing_Error(const QString& description, const QString& box = QString())
        : Program_Error(description), Box(box)
    {
    }
    QString Box;  // what to say instead of listing it with the others
};

// What one message wrote outside the database, to take back when its
// database work is rolled back.
struct Message_Undo {
    QStringList files;   // stored paths whose copies still wait in the incoming folder
    QList<QPair<Main_List, QString>> rows;
    QList<qint64> marked;   // contacts whose rows were marked as having unread events

    void Revert() const
    {
        for (const QString& file : files)
            Drop_Incoming(file);
        for (const auto& row : rows)
            Main_Window().Remove_List_Row(row.first, row.second);
        // Rolled back by now: the rows show what the database kept.
        try {
            Database db = Open_Database();
            for (const qint64 contact : marked)
                Main_Window().Set_Contact_Pending_Mark(
                    contact, db.Scalar("SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {contact}).toBool());
        } catch (const Database_Error&) {
        }
    }
    void Take(const Message_Undo& other)
    {
        files << other.files;
        rows << other.rows;
        marked << other.marked;
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

// A failure of one message, said once its batch is stored.
struct Failure {
    QString key, description, listed, box;
};

// What the messages of one batch leave to do once the batch is stored.
struct Batch {
    Message_Undo undo;
    QList<qint64> new_contacts;   // leads, listed when the intake ends
    QList<int> stored;
    QStringList ids;
    QList<Unmatched_Row> unmatched;
    QList<Failure> failures;
    QStringList notes;
    int filed = 0;   // filed now; the others of stored were held already
};

bool Is_Address_Character(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-'
        || u == '.' || u == '_';
}

// Something before the "@" and a domain after it, no blanks.
bool Is_Valid_Address(const QString& address)
{
    const qsizetype at = address.lastIndexOf('@');
    if (at <= 0 || at == address.size() - 1)
        return false;
    for (const QChar c : address) {
        if (c.isSpace() || c == '<' || c == '>' || c == ',')
            return false;
    }
    return address.mid(at + 1).contains('.') || address.mid(at + 1) == "localhost";
}

QString Quoted_Subject(const QString& subject)
{
    return subject.isEmpty() ? QString("(no subject)") : "\"" + subject + "\"";
}

bool Any_Event_With_Id(qint64 contact, const QString& id)
{
    return !Open_Database()
                .Scalar("SELECT ID FROM Eventhistory WHERE ContactID = ? AND Event_Unique_ID = ? LIMIT 1",
                        {contact, id})
                .isNull();
}

[[noreturn]] void Attachment_Failed(const QString& sender, const Program_Error& e)
{
    throw Filing_Error(e.Description(), "Error on Downloading Attachment for " + sender + ". Attachment corrupt. "
                                            + e.Description());
}

// The subject texts that sort messages, in table order, read once a batch.
struct Subject_Searches {
    QStringList invalid_sender;
    QStringList lead;

    static Subject_Searches Read(Database& db)
    {
        Subject_Searches searches;
        for (const QSqlRecord& row :
             db.Select("SELECT Subject_Search_String FROM InvalidSearchStrings ORDER BY rowid"))
            searches.invalid_sender << Db_Text(row, "Subject_Search_String");
        for (const QSqlRecord& row :
             db.Select("SELECT Search_String_On_Subject_Line FROM EmailContactImports ORDER BY ID"))
            searches.lead << Db_Text(row, "Search_String_On_Subject_Line");
        return searches;
    }

    int Classify(const QString& subject) const
    {
        for (const QString& search : invalid_sender) {
            if (!search.isEmpty() && subject.contains(search, Qt::CaseSensitive))
                return 1;
        }
        for (const QString& search : lead) {
            if (!search.isEmpty() && subject.contains(search, Qt::CaseSensitive))
                return 2;
        }
        return 3;
    }
};

// Copies every attachment of the current message into the store, linked to
// its owner. The counter in front of a taken name runs across the message.
// The copies wait in the incoming folder until the batch is stored.
void Save_Mapi_Attachments(MAPIMessages& messages, qint64 Owner_ID, const QString& Link_Database,
                           const QString& sender, Message_Undo& undo, QStringList& notes)
{
    Database db = Open_Database();
    const QString folder = Attachments_Folder();
    if (!QDir().mkpath(folder))
        Attachment_Failed(sender, File_Error("Cannot make the folder " + folder + "."));
    int counter = 1;
    for (int i = 0; i < messages.AttachmentCount(); ++i) {
        QString name, target;
        bool truncated = false;
        try {
            messages.AttachmentIndex = i;
            name = Safe_Attachment_Name(messages.AttachmentName());
            const QString source = messages.AttachmentPathName();
            if (!QFileInfo(source).isFile())
                throw MAPI_Error("The attachment " + name + " is missing.");
            truncated = messages.AttachmentTruncated();
            target = folder + name;
            while (Attachment_Name_Taken(target))
                target = folder + QString::number(counter++) + name;
            // The copy is the intake's own: it moves rather than being copied again.
            Move_To_Incoming(source, target);
        } catch (const Program_Error& e) {
            // The store could not give the attachment, or its copy failed.
            Attachment_Failed(sender, e);
        }
        undo.files << target;
        db.Insert("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, "
                  "Attachment_Final_Name) VALUES (?, ?, ?, ?)",
                  {Owner_ID, Link_Database, target, name});
        if (truncated)
            notes << "The attachment " + name + " of the e-mail " + Quoted_Subject(messages.MsgSubject()) + " from "
                         + (sender.isEmpty() ? QString("an unknown sender") : sender)
                         + " is incomplete: the message ends inside it. It was saved as far as it goes.";
    }
}

// The sender of a message whose From line gives no address the program can use.
QString Sender_Note(MAPIMessages& messages, const QString& sender)
{
    if (Is_Valid_Address(sender))
        return QString();
    const QString header = messages.MsgOrigHeader();
    return "The e-mail " + Quoted_Subject(messages.MsgSubject()) + " has no valid sender address ("
        + (header.isNull() ? QString("it has no From line") : "From: " + header) + "); it was filed "
        + (sender.isEmpty() ? QString("without a sender.") : "with the sender " + sender + ".");
}

// Files the current message, which is not filed yet; false when a contact
// holds it already. Throws when it cannot be filed whole.
bool File_Current_Message(MAPIMessages& messages, int index, const Subject_Searches& searches,
                          Message_Undo& undo, QList<Unmatched_Row>& unmatched, QList<qint64>& new_contacts,
                          QStringList& notes)
{
    const QString id = messages.MsgID();
    const QDateTime received = messages.MsgDateReceived();
    // Everything is read before anything is written.
    const QString subject = messages.MsgSubject();
    const QString text = messages.MsgNoteText();
    const QString sender = messages.MsgOrigAddress();
    const QString sender_name = messages.MsgOrigDisplayName();
    const int attachments = messages.AttachmentCount();

    const int kind = searches.Classify(subject);
    if (kind == 2) {
        // Listed when the intake ends: each row added to a long list makes it
        // lay out all its rows again at the next paint.
        const Email_Lead_Result lead = Import_Contact_From_Email(subject, text, id, received, attachments, false);
        if (lead.New_Contact)
            new_contacts << lead.Contact_ID;
        if (lead.Event_ID == 0) {
            if (lead.Contact_ID != 0 && Any_Event_With_Id(lead.Contact_ID, id))
                return false;  // that contact holds this message already
            throw Filing_Error("The lead could not be filed.");
        }
        undo.rows << qMakePair(Main_List::Events, Event_List_Row(received, "Email Entry", subject, id,
                                                                 lead.Contact_ID, attachments > 0)
                                                      .key);
        undo.marked << lead.Contact_ID;
        if (attachments > 0)
            Save_Mapi_Attachments(messages, lead.Event_ID, "E", sender, undo, notes);
        return true;
    }

    const QString sender_note = Sender_Note(messages, sender);
    if (!sender_note.isEmpty())
        notes << sender_note;
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
        undo.marked << contact;
        if (attachments > 0)
            Save_Mapi_Attachments(messages, event, "E", sender, undo, notes);
        return true;
    }

    const qint64 row = Open_Database().Insert(
        "INSERT INTO NewEmails (Email_Message, Email_Subject, Email_From, Email_From_Name, Email_Date, "
        "Email_Received_Date, Email_Unique_ID, Email_Number_On_Server, Email_New, Has_Attachments) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {text, subject, sender, sender_name, Now(), received, id, index, true, attachments > 0});
    if (attachments > 0)
        Save_Mapi_Attachments(messages, row, "U", sender, undo, notes);
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

// Between two batches the window answers the user and paints its progress.
void Let_Window_Work()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// The ids among these that an event or an unmatched e-mail holds, in one look-up.
QSet<QString> Filed_Message_IDs(const QStringList& ids)
{
    QSet<QString> filed;
    if (ids.isEmpty())
        return filed;
    const QString list = QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(ids)).toJson(QJsonDocument::Compact));
    for (const QVariantList& row : Open_Database().Select_Values(
             "SELECT j.value FROM json_each(?) AS j "
             "WHERE EXISTS (SELECT 1 FROM Eventhistory WHERE Event_Unique_ID = j.value) "
             "OR EXISTS (SELECT 1 FROM NewEmails WHERE Email_Unique_ID = j.value)",
             {list}))
        filed.insert(row.at(0).toString());
    return filed;
}

// The indexes of the messages to file; those filed before go to Stored.
QList<int> New_Messages(MAPIMessages& messages, QList<int>& stored)
{
    QSet<QString>& known = Mail_Intake().Known_Filed;
    QList<int> unknown;
    QStringList unknown_ids;
    stored.reserve(stored.size() + messages.MsgCount());
    for (int i = 0; i < messages.MsgCount(); ++i) {
        messages.MsgIndex = i;
        const QString id = messages.MsgID();
        if (known.contains(id)) {
            stored << i;
        } else {
            unknown << i;
            unknown_ids << id;
        }
    }
    QList<int> todo;
    if (unknown.isEmpty())
        return todo;
    // A look-up a few thousand at a time, the window's events between them.
    constexpr int Chunk = 2000;
    QSet<QString> filed;
    for (qsizetype from = 0; from < unknown_ids.size(); from += Chunk) {
        Let_Window_Work();
        filed.unite(Filed_Message_IDs(unknown_ids.mid(from, Chunk)));
    }
    known.unite(filed);
    QSet<QString> taken;
    for (int k = 0; k < unknown.size(); ++k) {
        const QString& id = unknown_ids.at(k);
        // The same message twice in the store (in new/ and cur/) is filed once.
        if (filed.contains(id) || taken.contains(id)) {
            stored << unknown.at(k);
            continue;
        }
        taken.insert(id);
        todo << unknown.at(k);
    }
    return todo;
}

QString Progress_Text(int index, int count)
{
    return QString("%1/%2").arg(index).arg(count);
}

// Files one batch: as many read messages as a slice gives, in one
// transaction with a savepoint per message. Throws Database_Error when the
// batch cannot be stored; what it wrote outside the database is undone then.
void File_Batch(MAPIMessages& messages, const QList<int>& todo, int& next, Batch& batch)
{
    Main_Window_Lists& window = Main_Window();
    const int count = messages.MsgCount();
    Database db = Open_Database();
    try {
        Database_Transaction transaction(db);
        const Subject_Searches searches = Subject_Searches::Read(db);
        // Counted and read once a batch, not at every message.
        Stats_Hold stats;
        Lead_Filters_Hold filters;
        QElapsedTimer slice;
        slice.start();
        window.Set_Status_Panel(6, Progress_Text(todo.at(next), count));
        do {
            const int i = todo.at(next++);
            messages.MsgIndex = i;
            Message_Undo undo;
            QList<Unmatched_Row> rows;
            QList<qint64> new_contacts;
            QStringList notes;
            const auto counted = stats.Counts();
            try {
                Database_Transaction one(db);
                const bool filed = File_Current_Message(messages, i, searches, undo, rows, new_contacts, notes);
                one.Commit();
                if (filed)
                    ++batch.filed;
                batch.stored << i;
                batch.ids << messages.MsgID();
                batch.undo.Take(undo);
                batch.unmatched << rows;
                batch.new_contacts << new_contacts;
                batch.notes << notes;
            } catch (const std::exception& e) {
                undo.Revert();
                stats.Set_Counts(counted);
                const auto* filing = dynamic_cast<const Filing_Error*>(&e);
                batch.failures << Failure{Message_Key(messages), Error_Description(e),
                                          Describe(messages) + " - " + Error_Description(e),
                                          filing ? filing->Box : QString()};
            }
            messages.Release(i);
            // The next one is waited for while the slice lasts: a commit costs
            // more than the wait, and events wait for the commit anyway.
        } while (next < todo.size() && slice.elapsed() < Slice_Ms
                 && messages.Wait_Until_Read(todo.at(next), int(qMax<qint64>(0, Slice_Ms - slice.elapsed()))));
        if (!batch.unmatched.isEmpty())
            stats.Add("Added to Unmatched", int(batch.unmatched.size()));
        stats.Store();
        // The window is answered while the batch's commit syncs the file.
        transaction.Commit_Letting_Events();
    } catch (const Database_Error&) {
        batch.undo.Revert();
        throw;
    }
}

// Gives back to the system what the intake's reading took.
void Release_Free_Memory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace

bool Is_New_Email(const QString& Message_ID)
{
    Database db = Open_Database();
    if (!db.Scalar("SELECT ID FROM Eventhistory WHERE Event_Unique_ID = ? LIMIT 1", {Message_ID}).isNull())
        return false;
    return db.Scalar("SELECT ID FROM NewEmails WHERE Email_Unique_ID = ? LIMIT 1", {Message_ID}).isNull();
}

int Classify_Email_Subject(const QString& Subject)
{
    Database db = Open_Database();
    return Subject_Searches::Read(db).Classify(Subject);
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

Intake_Result Integrate_Mapi_Emails(MAPIMessages& messages)
{
    Main_Window_Lists& window = Main_Window();
    const int count = messages.MsgCount();
    bool read_any = false;
    Intake_Result result;
    int held = 0;   // found new, yet a contact held it by the time it was filed
    if (count >= 1) {
        window.Set_Status_Panel(5, "Integrating Emails");
        window.Set_Status_Panel(6, Progress_Text(0, count));
        QList<int> stored;                 // content in the database: may leave the store
        QList<qint64> new_contacts;
        QStringList failures, boxes, notes;
        QString batch_error;
        try {
            // Copies left waiting by an intake that was ended before its time.
            Finish_Incoming_Attachments();
            const QList<int> todo = New_Messages(messages, stored);
            read_any = !todo.isEmpty();
            result.New = int(todo.size());
            // Mail the program has not filed yet.
            if (read_any)
                window.Set_Status_Panel_Visible(7, true);
            messages.Read_Ahead(todo);
            // With the usual small cache a batch's changed pages spill into
            // the file before its commit, each spill a sync on this thread.
            Database db = Open_Database();
            const Page_Cache_Hold cache(db, Intake_Cache_Kib);
            const Journal_Kept_Hold journal(db);
            if (read_any)
                Let_Window_Work();
            int next = 0;
            while (next < todo.size()) {
                while (!messages.Wait_Until_Read(todo.at(next), 10))
                    Let_Window_Work();
                Batch batch;
                File_Batch(messages, todo, next, batch);
                // Stored: the copies take their names, the rows are shown, the failures said.
                for (const QString& file : batch.undo.files) {
                    try {
                        Move_From_Incoming(file);
                    } catch (const File_Error& e) {
                        failures << e.Description();
                    }
                }
                stored << batch.stored;
                result.Filed += batch.filed;
                held += int(batch.stored.size()) - batch.filed;
                new_contacts << batch.new_contacts;
                Mail_Intake().Known_Filed.unite(QSet<QString>(batch.ids.begin(), batch.ids.end()));
                if (GlobalVariables::Unmatched_List_Loaded) {
                    for (const Unmatched_Row& row : batch.unmatched)
                        Add_Unmatched_List_Item(row.name, row.subject, row.received, row.id, row.has_attachments);
                }
                for (const Failure& failure : batch.failures) {
                    if (!First_Report(failure.key, failure.description))
                        continue;
                    if (failure.box.isEmpty())
                        failures << failure.listed;
                    else
                        boxes << failure.box;
                }
                notes << batch.notes;
                for (const QString& box : std::as_const(boxes))
                    Message_Box(box, vbOKOnly);
                boxes.clear();
                Let_Window_Work();
            }
        } catch (const Database_Error& e) {
            batch_error = e.Description();
        }
        messages.Read_Ahead({});
        std::sort(stored.begin(), stored.end());
        try {
            // A copy that could not move is tried again; the empty waiting room goes.
            Finish_Incoming_Attachments();
        } catch (const Database_Error&) {
        }
        try {
            Add_Contact_List_Items(new_contacts);
        } catch (const Database_Error& e) {
            if (batch_error.isEmpty())
                batch_error = e.Description();
        }

        if (!batch_error.isEmpty())
            Message_Box("Error on Integrating Emails: " + batch_error
                            + "\r\n\r\nThe e-mails not filed stay in the mail store and are read again next time.",
                        vbOKOnly);
        if (!failures.isEmpty())
            Message_Box("These e-mails could not be filed; they stay in the mail store:\r\n\r\n"
                            + failures.join("\r\n"),
                        vbOKOnly);
        if (!notes.isEmpty())
            Message_Box("These e-mails were filed, but not all of them came whole:\r\n\r\n" + notes.join("\r\n"),
                        vbOKOnly);
        if (Current_Settings().Delete_Remote_Email) {
            QStringList not_deleted;
            QElapsedTimer slice;
            slice.start();
            // From the end, so the indexes of the others stay.
            for (int k = int(stored.size()) - 1; k >= 0; --k) {
                messages.MsgIndex = stored.at(k);
                try {
                    messages.Delete();
                } catch (const MAPI_Error& e) {
                    not_deleted << e.Description();
                }
                if (slice.elapsed() >= Slice_Ms) {
                    Let_Window_Work();
                    slice.restart();
                }
            }
            if (!not_deleted.isEmpty())
                Message_Box("Error on deleting e-mails from the mail store:\r\n" + not_deleted.join("\r\n"),
                            vbOKOnly);
        }
    }
    window.Set_Status_Panel(5, "");
    window.Set_Status_Panel(6, "");
    if (read_any)
        Release_Free_Memory();
    result.Left = result.New - result.Filed - held;
    // The sign stays while new mail waits unfiled in the store.
    window.Set_Status_Panel_Visible(7, result.Left > 0);
    return result;
}

QString Intake_Status_Text(const Intake_Result& Result)
{
    if (Result.Filed == 0 && Result.Left == 0)
        return "No new e-mail was found.";
    if (Result.Filed == 0)
        return Result.Left == 1
            ? QString("1 new e-mail was found, but it could not be filed; it stays in the mail store.")
            : QString("%1 new e-mails were found, but they could not be filed; they stay in the mail store.")
                  .arg(Result.Left);
    QString text = Result.Filed == 1 ? QString("1 new e-mail was filed.")
                                     : QString("%1 new e-mails were filed.").arg(Result.Filed);
    if (Result.Left == 1)
        text += " 1 could not be filed and stays in the mail store.";
    else if (Result.Left > 1)
        text += QString(" %1 could not be filed and stay in the mail store.").arg(Result.Left);
    return text;
}

void Delete_Stored_Mapi_Message(const QString& Message_ID)
{
    // Its row goes: should the message stay in the store, it is filed again.
    Mail_Intake().Known_Filed.remove(Message_ID);
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
