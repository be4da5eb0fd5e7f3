#include "Workflow_Run.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlRecord>
#include <limits>

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

// A step falls due this long after the start: its days, then its hours.
QDateTime Due_Moment(const QDateTime& now, const QVariant& days, const QVariant& hours)
{
    return now.addDays(-days.toLongLong()).addSecs(-3600 * hours.toLongLong());
}

// "yyyy-MM-dd hh:mm:ss" exactly: such texts order as their moments do.
bool Is_Stored_Date_Text(const QString& text)
{
    static const QString form = "dddd-dd-dd dd:dd:dd";
    if (text.size() != form.size())
        return false;
    for (qsizetype i = 0; i < form.size(); ++i) {
        const bool digit = text.at(i) >= u'0' && text.at(i) <= u'9';
        if (form.at(i) == u'd' ? !digit : text.at(i) != form.at(i))
            return false;
    }
    return true;
}

// Running contacts read by one statement; the window handles its events
// after each such slice.
constexpr int Contacts_Per_Slice = 2000;

// The latest start, as text to the minute, that can be due at this moment.
// Local times order as their texts do unless the clocks change between them:
// near a change, starts up to two hours later are looked at one by one.
QString Not_Due_After(const QDateTime& moment)
{
    constexpr qint64 margin = 2 * 3600;
    const bool clocks_change = moment.addSecs(-margin).offsetFromUtc() != moment.addSecs(margin).offsetFromUtc();
    return Db_Date_Text(clocks_change ? moment.addSecs(margin) : moment).left(16);
}

// A running contact of a catalog product: its start and the Events row of its
// next step (null when the product has no such step).
struct Running_Contact {
    qint64 id = 0;
    QVariant start;
    QVariant step;
};

// Every running contact of the catalog's products (or of one), by product as
// the catalog spells it, in ID order. Read by one statement per slice of the
// table, which gives each contact's next step (the highest recorded step plus
// one) and that step's row; the window handles its events between slices.
QHash<QString, QList<Running_Contact>> Running_Contacts(Database& db, const QVariant& only_product)
{
    const QString next_steps =
        "SELECT s.ID, s.Product, s.Workflow_Start_Date, (SELECT e.ID FROM Events e WHERE "
        "e.Product = s.Product AND e.EventID = s.Next_Step ORDER BY e.ID LIMIT 1) "
        "FROM (SELECT c.ID, p.Product, c.Workflow_Start_Date, coalesce((SELECT max(h.Timeline_Step_Number) "
        "FROM Eventhistory h WHERE h.ContactID = c.ID AND h.Event_Product = p.Product AND "
        "h.Timeline_Step_Number >= 0), 0) + 1 AS Next_Step "
        "FROM Contacts c CROSS JOIN Products p ON p.Product = c.Product "
        "WHERE c.Stop_Timeline_Action = 0 AND c.Finished_Timeline_Execution = 0 AND c.ID > ? "
        "AND (? IS NULL OR p.Product = ?) ORDER BY c.ID LIMIT ?) AS s ORDER BY s.ID";
    QHash<QString, QList<Running_Contact>> running;
    qint64 after = std::numeric_limits<qint64>::min();
    for (;;) {
        const QList<QVariantList> slice =
            db.Select_Values(next_steps, {after, only_product, only_product, Contacts_Per_Slice});
        if (slice.isEmpty())
            break;
        after = slice.last().at(0).toLongLong();
        for (const QVariantList& row : slice)
            running[row.at(1).toString()] << Running_Contact{row.at(0).toLongLong(), row.at(2), row.at(3)};
        QCoreApplication::processEvents();
    }
    return running;
}

// One product's running contacts: those without a next step are finished
// together; those whose start is not yet due by the text of the stored form
// cost nothing more; the rest go through the walk of one contact.
void Walk_Running_Contacts(const QString& Product, const QList<Running_Contact>& contacts)
{
    Database db = Open_Database();
    // Each step's timing by its row.
    QHash<qint64, std::pair<QVariant, QVariant>> timings;
    for (const QVariantList& row :
         db.Select_Values("SELECT ID, DaysAfterInitialContact, AdditionalHoursToAdd FROM Events WHERE Product = ?",
                          {Product}))
        timings.insert(row.at(0).toLongLong(), {row.at(1), row.at(2)});

    for (qsizetype from = 0; from < contacts.size(); from += Contacts_Per_Slice) {
        const qsizetype to = qMin<qsizetype>(from + Contacts_Per_Slice, contacts.size());
        QJsonArray to_finish;
        for (qsizetype i = from; i < to; ++i)
            if (contacts.at(i).step.isNull())
                to_finish.append(contacts.at(i).id);
        if (!to_finish.isEmpty())
            db.Execute("UPDATE Contacts SET Finished_Timeline_Execution = 1 WHERE ID IN (SELECT value FROM json_each(?))",
                       {QString::fromUtf8(QJsonDocument(to_finish).toJson(QJsonDocument::Compact))});

        // Each posting waits a second: the due moments move on after one.
        QDateTime now = Now();
        QHash<qint64, QString> not_due_after;
        for (qsizetype i = from; i < to; ++i) {
            const Running_Contact& running = contacts.at(i);
            if (running.step.isNull() || running.start.isNull())
                continue;
            const QString text = running.start.toString();
            if (Is_Stored_Date_Text(text)) {
                const qint64 step_id = running.step.toLongLong();
                auto bound = not_due_after.find(step_id);
                if (bound == not_due_after.end()) {
                    const auto& [days, hours] = timings.value(step_id);
                    bound = not_due_after.insert(step_id, Not_Due_After(Due_Moment(now, days, hours)));
                }
                if (QStringView(text).left(16) > QStringView(*bound))
                    continue;
            }
            const QSqlRecord contact =
                db.Select_First("SELECT * FROM Contacts WHERE ID = ? AND Stop_Timeline_Action = 0 AND "
                                "Finished_Timeline_Execution = 0 AND Product = ?",
                                {running.id, Product});
            if (!contact.isEmpty() && Process_Contact_Timeline(contact, Product)) {
                now = Now();
                not_due_after.clear();
            }
        }
        QCoreApplication::processEvents();
    }
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
        "SELECT * FROM Contacts WHERE B_Day = ? AND B_Month = ? AND NOT EXISTS "
        "(SELECT 1 FROM Eventhistory WHERE Eventhistory.ContactID = Contacts.ID AND "
        "Timeline_Step_Number = -1) ORDER BY ID",
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
    QHash<QString, QList<Running_Contact>> running;
    {
        Database db = Open_Database();
        for (const QVariantList& row : db.Select_Values("SELECT Product FROM Products ORDER BY Product"))
            if (!row.at(0).isNull())
                products << row.at(0).toString();
        running = Running_Contacts(db, QVariant());
    }
    for (const QString& product : products) {
        Show_Panels(product, QString(), QString());
        Walk_Running_Contacts(product, running.value(product));
    }
    Restore_Mouse_Pointer();
}

void Process_Product_Timeline(const QString& Product)
{
    QList<Running_Contact> contacts;
    {
        Database db = Open_Database();
        // One catalog product at most matches, perhaps in other letters.
        const QHash<QString, QList<Running_Contact>> running = Running_Contacts(db, Product);
        if (!running.isEmpty())
            contacts = running.begin().value();
    }
    Walk_Running_Contacts(Product, contacts);
}

bool Process_Contact_Timeline(const QSqlRecord& contact, const QString& Product)
{
    Database db = Open_Database();
    const qint64 id = contact.value("ID").toLongLong();
    const int next = Get_Last_Timeline_Step(id, Product) + 1;
    const QSqlRecord step = db.Select_First(
        "SELECT * FROM Events WHERE Product = ? AND EventID = ? ORDER BY ID", {Product, next});
    if (step.isEmpty()) {
        db.Execute("UPDATE Contacts SET Finished_Timeline_Execution = 1 WHERE ID = ?", {id});
        return false;
    }
    const QDateTime start = Db_To_Date(contact.value("Workflow_Start_Date"));
    if (!start.isValid())
        return false;
    const QDateTime moment =
        Due_Moment(Now(), step.value("DaysAfterInitialContact"), step.value("AdditionalHoursToAdd"));
    if (Whole_Minute(start) > Whole_Minute(moment))
        return false;
    if (Step_Not_In_Outbox(id, next, Product) != 1)
        return false;
    const QString action = Db_Text(step, "Event_Action");
    Send_To_Outbox(id, Db_Text(contact, "Email"), Recipient_Name(contact),
                   Merge_With_Contact(Db_Text(step, "Subject"), contact),
                   Merge_With_Contact(Db_Text(step, "Message"), contact), Db_Text(step, "SenderEmail"),
                   Db_Text(step, "SenderEmailName"), Product, next, action, Now(), 0);
    Main_Window().Set_Status_Panel(4, Db_Text(contact, "Email"));
    Main_Window().Set_Status_Panel(5, action);
    return true;
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
