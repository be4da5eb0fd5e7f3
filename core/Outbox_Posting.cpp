#include "Outbox_Posting.h"

#include "Attachment_Store.h"
#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Field_Rules.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Process_State.h"

namespace {

struct Posting_State {
    qint64 last_posted_id = 0;
    void Reset() { last_posted_id = 0; }
};

qint64& Last_Posted_ID()
{
    return Owned_State<Posting_State>().last_posted_id;
}

QDateTime To_The_Second(const QDateTime& value)
{
    QDateTime whole = value;
    whole.setTime(QTime(value.time().hour(), value.time().minute(), value.time().second()));
    return whole;
}

bool Has_Attachments(Database& db, qint64 outbox_id)
{
    return !db.Select_First("SELECT ID FROM Outbox_Attachments WHERE Outbox_ID = ?", {outbox_id})
                .isEmpty();
}

} // namespace

QString Make_Outbox_Key(const QString& ToEmail, const QDateTime& Date_Sent_To_Outbox)
{
    return "out" + ToEmail + Key_Separator + Key_Date_Text(Date_Sent_To_Outbox);
}

List_Row Outbox_List_Row(qint64 Outbox_ID, const QString& ToEmailName, const QString& ToEmail,
                         const QDateTime& Date_Sent_To_Outbox, const QString& Subject)
{
    Database db = Open_Database();
    List_Row row;
    row.key = Make_Outbox_Key(ToEmail, Date_Sent_To_Outbox);
    row.texts = QStringList{ToEmailName, ToEmail, Subject};
    row.icon = Has_Attachments(db, Outbox_ID) ? "Clip" : "Remove";
    return row;
}

qint64 Last_Posted_Outbox_ID()
{
    return Last_Posted_ID();
}

bool Send_To_Outbox(qint64 Contact_ID, const QString& ToEmail, const QString& ToEmailName,
                    const QString& Subject, const QString& Message, const QString& FromEmail,
                    const QString& FromEmailName, const QString& Product_Name, int Step_Number,
                    const QString& Event_Type, const QDateTime& Due_Date, int Lead_Time,
                    const QStringList& Attachments)
{
    bool stored = false;
    try {
        Database db = Open_Database();
        const QDateTime sent = To_The_Second(Now());
        // The new row's ID comes from the insert itself: finding it again by
        // contact, address and second could pick another row of that second.
        const qint64 id = db.Insert(
            "INSERT INTO Outbox (Out_Contact_ID, ToEmail, ToEmailName, Subject, Message, FromEmail, "
            "FromEmailName, Product_Name, Out_Timeline_Event_Number, Out_Event_Type, "
            "Date_To_Execute_Event, Date_Sent_To_Outbox, Lead_Time) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {Contact_ID, ToEmail, ToEmailName, Subject, Message, FromEmail, FromEmailName,
             Product_Name, Step_Number, Event_Type, Due_Date, sent, Lead_Time});
        stored = true;
        Last_Posted_ID() = id;

        // A file that cannot be copied is reported by the store; the others still go in.
        for (const QString& path : Attachments)
            Copy_File_To_Outbox_Attachments(id, path);

        if (Event_Type == "Email Out") {
            if (GlobalVariables::Outbox_List_Loaded)
                Main_Window().Add_List_Row(Main_List::Outbox,
                                           Outbox_List_Row(id, ToEmailName, ToEmail, sent, Subject));
        } else if (Event_Type == "Send Quote") {
            if (Due_Date.addDays(-Lead_Time) < Now())
                Main_Window().Add_List_Row(Main_List::Outbox,
                                           Outbox_List_Row(id, ToEmailName, ToEmail, sent, Subject));
        } else if (Event_Type == "Call Out" || Event_Type == "To Do") {
            if (GlobalVariables::ToDo_List_Loaded) {
                QString name = ToEmailName;
                const QString first = Get_First_Word(name);
                const QString last = Get_After_First_Word(name);
                Add_ToDo_List_Item(Contact_ID, sent, first, last, Event_Type, Subject, Due_Date);
            }
        }
    } catch (const std::exception& e) {
        Message_Box("Error on Send to Outbox. Email: " + ToEmail + " Error: " + Error_Description(e));
        return stored;
    }
    Time_Pause(1);
    return true;
}
