#include "Outbox_Sending.h"

#include <QMap>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History.h"
#include "GlobalVariables.h"
#include "Main_Window_Lists.h"
#include "Outbox_List_Rows.h"
#include "Process_State.h"
#include "Settings.h"
#include "Shared_Routines.h"

namespace {

const QString Email_Out = "Email Out";
const QString Sent_Quote = "Sent Quote";

struct Unfiled_Row {
    QSqlRecord row;   // as it went out
    Sent_Filing how;
};

struct Outbox_Sending_State {
    Outbox_Sender taken_by = Outbox_Sender::None;
    // Rows sent whose filing failed.
    Outbox_Row_Memory<QMap<qint64, Unfiled_Row>> unfiled;

    void Reset()
    {
        taken_by = Outbox_Sender::None;
        unfiled.Clear();
    }
};

Outbox_Sending_State& State()
{
    return Owned_State<Outbox_Sending_State>();
}

QMap<qint64, Unfiled_Row>& Unfiled()
{
    return State().unfiled.Of_Current_Database();
}

QString Not_Filed_Text(const QString& to, const QString& error)
{
    return "The e-mail to " + to + " was sent, but it could not be filed and it could not be taken out "
           "of the outbox. It will not be sent again; its filing is tried at the next send. Error: "
           + error;
}

// Files the row; false with the failure's text when nothing could be filed.
bool File_Row(const QSqlRecord& row, const Sent_Filing& how, QString* failure)
{
    const qint64 id = row.value("ID").toLongLong();
    const QString to = Db_Text(row, "ToEmail");
    const qint64 contact = row.value("Out_Contact_ID").toLongLong();
    QString event_error;
    QString event_row;   // the event's list row, shown when its contact is on display
    try {
        Database db = Open_Database();
        Database_Transaction filing(db);
        if (contact > 0) {
            try {
                Database_Transaction event(db);
                const int files = how.Hand_Over_Files
                    ? db.Scalar("SELECT count(*) FROM Outbox_Attachments WHERE Outbox_ID = ?", {id}).toInt()
                    : 0;
                const QString unique_id = QString::number(Create_Unique_Number());
                const QString type = Db_Text(row, "Out_Event_Type");
                const QString subject = Db_Text(row, "Subject");
                const qint64 event_id = Add_Event_History(
                    contact, how.Event_Date, Db_Text(row, "Product_Name"), type,
                    row.value("Out_Timeline_Event_Number").toInt(), how.Sender, subject, Db_Text(row, "Message"),
                    true, how.Event_Date, unique_id, false, files);
                if (event_id > 0) {
                    event_row = Event_List_Row(how.Event_Date, type, subject, unique_id, contact, files > 0).key;
                    if (files > 0)
                        Move_Outbox_Attachments_To_Event(id, event_id);
                }
                event.Commit();
            } catch (const Database_Error& e) {
                event_error = e.Description();
                if (!event_row.isEmpty())
                    Main_Window().Remove_List_Row(Main_List::Events, event_row);
                event_row.clear();
            }
        }
        db.Execute("DELETE FROM Outbox WHERE ID = ?", {id});
        filing.Commit();
    } catch (const Database_Error& e) {
        if (!event_row.isEmpty())
            Main_Window().Remove_List_Row(Main_List::Events, event_row);
        Unfiled().insert(id, Unfiled_Row{row, how});
        *failure = Not_Filed_Text(to, e.Description());
        return false;
    }
    Unfiled().remove(id);
    // The message went out: it left the outbox, with or without its event.
    if (!event_error.isEmpty())
        Message_Box("The e-mail to " + to + " was sent, but it could not be written into the contact's "
                    "history. Error: " + event_error);
    Main_Window().Outbox_Entry_Gone(id);
    if (GlobalVariables::Outbox_List_Loaded)
        Remove_Outbox_List_Item(to, Db_To_Date(row.value("Date_Sent_To_Outbox")));
    return true;
}

} // namespace

bool Is_Outbox_Email_Type(const QString& Event_Type)
{
    return Event_Type == Email_Out || Event_Type == Sent_Quote;
}

Outbox_Sender Outbox_Sending()
{
    return State().taken_by;
}

Outbox_Sending_Guard::Outbox_Sending_Guard(Outbox_Sender Sender)
    : previous_(State().taken_by)
{
    State().taken_by = Sender;
}

Outbox_Sending_Guard::~Outbox_Sending_Guard()
{
    State().taken_by = previous_;
}

QList<qint64> Due_Outbox_Emails(const QDateTime& Bound)
{
    const QMap<qint64, Unfiled_Row>& unfiled = Unfiled();
    QList<qint64> due;
    for (const QSqlRecord& row :
         Open_Database().Select("SELECT ID FROM Outbox WHERE Out_Event_Type IN (?, ?) "
                                "AND Date_To_Execute_Event < ? ORDER BY ID",
                                {Email_Out, Sent_Quote, Bound})) {
        const qint64 id = row.value(0).toLongLong();
        if (!unfiled.contains(id))   // sent already
            due << id;
    }
    return due;
}

QSqlRecord Outbox_Row_Now(qint64 Outbox_ID)
{
    return Open_Database().Select_First("SELECT * FROM Outbox WHERE ID = ?", {Outbox_ID});
}

QString Cc_Copy_Address(const QString& ToEmail)
{
    const Program_Settings& settings = Current_Settings();
    const QString cc = settings.Cc_Address.trimmed();
    if (!settings.Enabled_Cc_Redirection || cc.isEmpty()
        || cc.compare(ToEmail.trimmed(), Qt::CaseInsensitive) == 0)
        return QString();
    return cc;
}

bool File_Sent_Outbox_Row(const QSqlRecord& Row, const Sent_Filing& How)
{
    QString failure;
    if (File_Row(Row, How, &failure))
        return true;
    Message_Box(failure, vbOKOnly);
    return false;
}

bool File_Unfiled_Outbox_Rows(QString* Failure)
{
    bool all_filed = true;
    // Each was reported when it failed; one that still cannot be filed holds back none of the others.
    for (const Unfiled_Row& unfiled : QMap<qint64, Unfiled_Row>(Unfiled())) {
        QString failure;
        if (!File_Row(unfiled.row, unfiled.how, &failure) && all_filed) {
            all_filed = false;
            if (Failure)
                *Failure = failure;
        }
    }
    return all_filed;
}

void Count_Sent_Messages(int Sent)
{
    if (Sent > 0)
        Add_Stats("Messages Sent", Sent);
}
