#include "Contact_Reports.h"

#include <QHash>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Report_Document.h"
#include "Report_Preview.h"

namespace {

const char* const Events_Query =
    "SELECT Contacts.FirstName, Contacts.LastName, Contacts.Email, Eventhistory.* "
    "FROM Contacts INNER JOIN Eventhistory ON Contacts.ID = Eventhistory.ContactID ";

QString Printed_Line()
{
    return "Printed " + Now().toString("MM/dd/yyyy hh:mm");
}

QString Date_Text(const QSqlRecord& row, const char* field, const char* format = "MM/dd/yy hh:mm:ss")
{
    const QDateTime date = Db_To_Date(row.value(field));
    return date.isValid() ? date.toString(format) : QString();
}

QString Joined(const QStringList& parts, const QString& separator = " ")
{
    QStringList kept;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            kept << part.trimmed();
    return kept.join(separator);
}

QString Contact_Name(const QSqlRecord& row)
{
    return Joined({Db_Text(row, "FirstName"), Db_Text(row, "LastName")});
}

QString Day_Month_Year(const QSqlRecord& row, const char* day, const char* month, const char* year)
{
    return Joined({Db_Text(row, month), Db_Text(row, day), Db_Text(row, year)}, "/");
}

void Add_Event(Report_Document& report, const QSqlRecord& e)
{
    report.Add_Subheading(Joined({Date_Text(e, "EventDate"), Db_Text(e, "Event_Type")}, "  "));
    report.Add_Field("Subject", Db_Text(e, "EventSubject"));
    if (!Db_Text(e, "Sender").isEmpty())
        report.Add_Field("From", Db_Text(e, "Sender"));
    if (!Db_Text(e, "Event_Product").isEmpty())
        report.Add_Field("Product", Db_Text(e, "Event_Product"));
    if (!Db_Text(e, "EventMessage").isEmpty())
        report.Add_Text(Db_Text(e, "EventMessage"));
}

} // namespace

Report_Document Contact_Details_Report(const QList<QSqlRecord>& Contacts)
{
    Report_Document report("Contact Details", Printed_Line());
    QString group;
    bool first = true;
    for (const QSqlRecord& c : Contacts) {
        const auto t = [&c](const char* field) { return Db_Text(c, field); };
        if (!first)
            report.Start_New_Page();
        if (first || t("LastName") != group) {
            group = t("LastName");
            report.Add_Group_Heading(group.isEmpty() ? QString("(no last name)") : group);
        }
        first = false;
        report.Add_Subheading(Joined({t("FirstName"), t("MiddleInitial"), t("LastName")}));
        const QList<QPair<QString, QString>> fields = {
            {"Title", t("Contact_Title")},
            {"Relationship", t("Contact_Relationship")},
            {"Company", t("Company")},
            {"Address", t("Address")},
            {"City, State, Zip", Joined({Joined({t("City"), t("State")}, ", "), t("Zipcode")})},
            {"Email", t("Email")},
            {"Home Phone", t("Homephone")},
            {"Work Phone", t("Workphone")},
            {"Cell Phone", t("Cellphone")},
            {"Best Time To Contact", t("Best_Time_To_Contact")},
            {"Referred By", t("Referred_By")},
            {"Source", t("Import_Source")},
            {"Received", Date_Text(c, "Contact_Received_Date")},
            {"Workflow Start", Date_Text(c, "Workflow_Start_Date")},
            {"Birthday", Day_Month_Year(c, "B_Day", "B_Month", "B_Year")},
            {"Product", t("Product")},
            {"Vehicle", Joined({t("Year"), t("Make"), t("Model")})},
            {"Colors", Joined({t("Exterior_Color"), t("Interior_Color")}, " / ")},
            {"Engine", Joined({t("Size_Of_Engine"), t("Number_Of_Cylinders").isEmpty()
                                                       ? QString()
                                                       : t("Number_Of_Cylinders") + " cylinders"})},
            {"Transmission", t("Transmission")},
            {"Doors", t("Number_Of_Doors")},
            {"Options", t("Options")},
            {"Bought", Date_Text(c, "Date_Product_Bought", "MM/dd/yyyy")},
        };
        for (const auto& [label, value] : fields)
            report.Add_Field(label, value);
        if (!t("Notes").isEmpty()) {
            report.Add_Subheading("Notes");
            report.Add_Text(t("Notes"));
        }
    }
    return report;
}

Report_Document Event_Print_Report(const QList<QSqlRecord>& Events, const QString& Title)
{
    Report_Document report(Title, Printed_Line());
    QString contact;
    for (const QSqlRecord& e : Events) {
        const QString id = Db_Text(e, "ContactID");
        if (id != contact) {
            if (!contact.isEmpty())
                report.Start_New_Page();
            contact = id;
            const QString email = Db_Text(e, "Email");
            report.Add_Group_Heading(Contact_Name(e) + (email.isEmpty() ? QString() : " <" + email + ">"));
        }
        Add_Event(report, e);
    }
    return report;
}

Report_Document Contacts_With_Events_Report(const QList<QSqlRecord>& Contacts, const QList<QSqlRecord>& Events)
{
    Report_Document report("Contacts with Events", Printed_Line());
    QHash<QString, QList<const QSqlRecord*>> by_contact;
    for (const QSqlRecord& e : Events)
        by_contact[Db_Text(e, "ContactID")] << &e;
    bool first = true;
    for (const QSqlRecord& c : Contacts) {
        if (!first)
            report.Start_New_Page();
        first = false;
        const QString email = Db_Text(c, "Email");
        report.Add_Group_Heading(Contact_Name(c) + (email.isEmpty() ? QString() : " <" + email + ">"));
        const QList<const QSqlRecord*> events = by_contact.value(Db_Text(c, "ID"));
        if (events.isEmpty())
            report.Add_Text("No events.");
        for (const QSqlRecord* e : events)
            Add_Event(report, *e);
    }
    return report;
}

void Print_Contact_Details(qint64 Contact_ID)
{
    const Report_Document report = Contact_Details_Report(
        Open_Database().Select("SELECT * FROM Contacts WHERE ID = ? ORDER BY LastName", {Contact_ID}));
    Preview_Report(report.Title(), report.Html());
}

namespace {

bool Preview_Events(const QList<QSqlRecord>& Events, const QString& Title, const QString& None_Message)
{
    if (Events.isEmpty()) {
        Message_Box(None_Message);
        return false;
    }
    const Report_Document report = Event_Print_Report(Events, Title);
    Preview_Report(report.Title(), report.Html());
    return true;
}

} // namespace

bool Print_Contact_Events(qint64 Contact_ID)
{
    return Preview_Events(Open_Database().Select(QString(Events_Query) +
                                                     "WHERE Eventhistory.ContactID = ? "
                                                     "ORDER BY Eventhistory.EventDate DESC, Eventhistory.ID DESC",
                                                 {Contact_ID}),
                          "Event History", "This contact has no events to print.");
}

bool Print_Event(qint64 Event_ID)
{
    return Preview_Events(Open_Database().Select(QString(Events_Query) + "WHERE Eventhistory.ID = ?", {Event_ID}),
                          "Event", "There is no event to print.");
}
