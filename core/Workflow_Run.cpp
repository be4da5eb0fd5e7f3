#include "Workflow_Run.h"

#include <QSqlRecord>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Engine_Hooks.h"
#include "GlobalVariables.h"
#include "Main_Window_Lists.h"
#include "Merge.h"
#include "Outbox_Posting.h"
#include "Settings.h"

namespace {

void Show_Panels(const QString& panel3, const QString& panel4, const QString& panel5)
{
    Main_Window().Set_Status_Panel(3, panel3);
    Main_Window().Set_Status_Panel(4, panel4);
    Main_Window().Set_Status_Panel(5, panel5);
}

// Dates are stored as text; the merge shows them in the general date form.
QVariant Date_Field(const QSqlRecord& contact, const QString& field)
{
    const QVariant value = contact.value(field);
    if (value.isNull())
        return QVariant();
    const QDateTime date = Db_To_Date(value);
    return date.isValid() ? QVariant(date) : value;
}

QString Merge_With_Contact(const QString& text, const QSqlRecord& c)
{
    return Merge_Contact_Fields(text, c.value("FirstName"), c.value("LastName"), c.value("Address"),
                                c.value("City"), c.value("State"), c.value("Zipcode"),
                                c.value("Company"), c.value("Product"), c.value("Import_Source"),
                                c.value("Homephone"), c.value("Workphone"), c.value("Cellphone"),
                                Date_Field(c, "Contact_Received_Date"), c.value("Email"),
                                c.value("Notes"));
}

QString Recipient_Name(const QSqlRecord& contact)
{
    const QString first = Db_Text(contact, "FirstName");
    if (first.isEmpty())
        return Current_Settings().DefaultContactName;
    return first + " " + Db_Text(contact, "LastName");
}

QDateTime Whole_Minute(const QDateTime& value)
{
    QDateTime cut = value;
    cut.setTime(QTime(value.time().hour(), value.time().minute()));
    return cut;
}

} // namespace

void Process_All_Contacts()
{
    {
        Database db = Open_Database();
        if (db.Select_First("SELECT ID FROM Contacts").isEmpty()) {
            Message_Box("There are no contacts to process.", vbOKOnly, "No contacts to process");
            return;
        }
    }
    if (Current_Settings().AutoSend_Birthdate_Emails)
        Process_Birthdays();
    Process_All_Products();
    if (Current_Settings().Automatically_Send_Emails) {
        if (!GlobalVariables::Message_Center_Running)
            Start_Smtp_Sender_Hook();
    } else {
        Message_Box("All Prospects Have Been Processed. Revise them using the respective viewers.");
    }
    Show_Panels(QString(), QString(), QString());
}

void Process_Birthdays()
{
    Show_Panels("Processing Birthdays", QString(), QString());
    Database db = Open_Database();
    const QSqlRecord format =
        db.Select_First("SELECT EmailSubject, EmailMessage FROM emailformats WHERE FormatID = ?",
                        {QString("Birthday")});
    // Without a birthday template there is nothing to send.
    if (format.isEmpty())
        return;
    const QString subject = Db_Text(format, "EmailSubject");
    const QString message = Db_Text(format, "EmailMessage");

    const QDate today = Now().date();
    const QList<QSqlRecord> contacts = db.Select(
        "SELECT * FROM Contacts WHERE B_Day = ? AND B_Month = ? AND ID NOT IN "
        "(SELECT ContactID FROM Eventhistory WHERE Timeline_Step_Number = -1 "
        "AND ContactID IS NOT NULL) ORDER BY ID",
        {today.day(), today.month()});
    int posted = 0;
    for (const QSqlRecord& contact : contacts) {
        Send_To_Outbox(contact.value("ID").toLongLong(), Db_Text(contact, "Email"),
                       Recipient_Name(contact), Merge_With_Contact(subject, contact),
                       Merge_With_Contact(message, contact), Current_Settings().DefaultEmailAddress,
                       Current_Settings().DefaultEmailName, Db_Text(contact, "Product"), -1,
                       "Email Out", Now(), 0);
        ++posted;
        Main_Window().Set_Status_Panel(4, QString::number(posted));
        Main_Window().Set_Status_Panel(5, Db_Text(contact, "Email"));
    }
}

void Process_All_Products()
{
    Show_Panels(QString(), QString(), QString());
    QStringList products;
    {
        Database db = Open_Database();
        for (const QSqlRecord& row : db.Select("SELECT Product FROM Products ORDER BY Product"))
            if (!row.value("Product").isNull())
                products << row.value("Product").toString();
    }
    for (const QString& product : products) {
        Show_Panels(product, QString(), QString());
        Process_Product_Timeline(product);
    }
    Restore_Mouse_Pointer();
}

void Process_Product_Timeline(const QString& Product)
{
    Database db = Open_Database();
    const QList<QSqlRecord> contacts =
        db.Select("SELECT * FROM Contacts WHERE Stop_Timeline_Action = 0 AND "
                  "Finished_Timeline_Execution = 0 AND Product = ? ORDER BY ID",
                  {Product});
    for (const QSqlRecord& contact : contacts) {
        const qint64 id = contact.value("ID").toLongLong();
        const int next = Get_Last_Timeline_Step(id, Product) + 1;
        const QSqlRecord step = db.Select_First(
            "SELECT * FROM Events WHERE Product = ? AND EventID = ? ORDER BY ID", {Product, next});
        if (step.isEmpty()) {
            db.Execute("UPDATE Contacts SET Finished_Timeline_Execution = 1 WHERE ID = ?", {id});
            continue;
        }
        const QDateTime start = Db_To_Date(contact.value("Workflow_Start_Date"));
        if (!start.isValid())
            continue;
        const QDateTime moment = Now()
                                     .addDays(-step.value("DaysAfterInitialContact").toLongLong())
                                     .addSecs(-3600 * step.value("AdditionalHoursToAdd").toLongLong());
        if (Whole_Minute(start) > Whole_Minute(moment))
            continue;
        if (Step_Not_In_Outbox(id, next, Product) != 1)
            continue;
        const QString action = Db_Text(step, "Event_Action");
        Send_To_Outbox(id, Db_Text(contact, "Email"), Recipient_Name(contact),
                       Merge_With_Contact(Db_Text(step, "Subject"), contact),
                       Merge_With_Contact(Db_Text(step, "Message"), contact),
                       Db_Text(step, "SenderEmail"), Db_Text(step, "SenderEmailName"), Product, next,
                       action, Now(), 0);
        Main_Window().Set_Status_Panel(4, Db_Text(contact, "Email"));
        Main_Window().Set_Status_Panel(5, action);
    }
}

int Get_Last_Timeline_Step(qint64 Contact_ID, const QString& Product)
{
    Database db = Open_Database();
    const QVariant last = db.Scalar(
        "SELECT Max(Timeline_Step_Number) FROM Eventhistory WHERE ContactID = ? AND "
        "Event_Product = ? AND Timeline_Step_Number >= 0",
        {Contact_ID, Product});
    return last.isNull() ? 0 : last.toInt();
}

int Step_Not_In_Outbox(qint64 Contact_ID, int Step, const QString& Product)
{
    Database db = Open_Database();
    const QSqlRecord row = db.Select_First(
        "SELECT ID FROM Outbox WHERE Out_Contact_ID = ? AND Out_Timeline_Event_Number = ? AND "
        "Product_Name = ?",
        {Contact_ID, Step, Product});
    return row.isEmpty() ? 1 : 0;
}
