// Lead e-mails from the mail store through an import filter of several rules.

#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>
#include <QtTest>

#include "GlobalVariables.h"
#include "Mapi_Fetch.h"
#include "Intake_Fixture.h"
#include "List_Rows.h"
#include "Recording_Main_Window.h"
#include "Test_Maildir.h"
#include "Test_Support.h"

namespace {

struct Rule {
    QString field, type;
    QVariant label, after, end;
};

void Add_Filter(Database& db, const QString& site, const QString& subject, const QList<Rule>& rules)
{
    const qint64 id = db.Insert(
        "INSERT INTO EmailContactImports (Name_Of_Site, Search_String_On_Subject_Line) VALUES (?, ?)",
        {site, subject});
    for (const Rule& rule : rules)
        db.Insert("INSERT INTO EmailImportFieldsInfo (Email_Import_ID, Event_Field, Import_Type, Label, "
                  "After_Label, End_Label) VALUES (?, ?, ?, ?, ?, ?)",
                  {id, rule.field, rule.type, rule.label, rule.after, rule.end});
}

void Add_AutoLeads(Database& db)
{
    const QString label = "Label Search";
    Add_Filter(db, "AutoLeads", "New AutoLeads Inquiry",
               {{"Name", label, "Name:", QVariant(), QVariant()},
                {"Mr/Mrs Name", label, "Contact:", QVariant(), QVariant()},
                {"Email", label, "Email:", QVariant(), QVariant()},
                {"Home Phone", label, "Phone:", QVariant(), QVariant()},
                {"City, State Zip", label, "Location:", QVariant(), QVariant()},
                {"Product", label, "Product:", QVariant(), QVariant()},
                {"Date Received", label, "Date:", QVariant(), QVariant()},
                {"Year Make Model", "Line Instance Search", "Vehicle of interest:", QVariant(), "1"}});
}

} // namespace

class tst_mail_leads : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_lead_becomes_a_contact_and_a_second_lead_only_an_event();
    void leads_without_an_address_each_get_their_own_contact();
};

void tst_mail_leads::a_lead_becomes_a_contact_and_a_second_lead_only_an_event()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    Add_AutoLeads(db);
    const QString first = maildir.Deliver("lead.eml");

    Mapi_Sign_On();
    Get_Mapi_Email();

    const QSqlRecord contact = db.Select_First("SELECT * FROM Contacts");
    QVERIFY(!contact.isEmpty());
    const qint64 id = contact.value("ID").toLongLong();
    const QMap<QString, QString> expected = {
        {"FirstName", "John"}, {"LastName", "Smith"}, {"Email", "john.smith@example.com"},
        {"Homephone", "555-0100"}, {"City", "Boston"}, {"State", "MA"}, {"Zipcode", "02134"},
        {"Product", "Sedan"}, {"Year", "2021"}, {"Make", "Toyota"}, {"Model", "Camry"},
        {"Import_Source", "AutoLeads"}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(contact.value(it.key()).toString(), it.value());
    QCOMPARE(contact.value("New_Contact").toInt(), 1);
    QCOMPARE(contact.value("Pending_Events_To_Read").toInt(), 1);
    // The lead's own date does not survive: received when imported.
    QCOMPARE(Db_To_Date(contact.value("Contact_Received_Date")), clock.Now());
    QCOMPARE(Db_To_Date(contact.value("Workflow_Start_Date")), clock.Now());

    const QSqlRecord event = db.Select_First("SELECT * FROM Eventhistory");
    QCOMPARE(event.value("ContactID").toLongLong(), id);
    QCOMPARE(event.value("Event_Type").toString(), QString("Email Entry"));
    QCOMPARE(event.value("Sender").toString(), QString("AutoLeads"));
    QCOMPARE(event.value("Event_Product").toString(), QString("Sedan"));
    QCOMPARE(event.value("EventSubject").toString(), QString("New AutoLeads Inquiry #1001"));
    QVERIFY(event.value("EventMessage").toString().contains("Name:   JOHN smith\r\nEmail:"));
    QCOMPARE(event.value("Event_Unique_ID").toString(), first);
    QCOMPARE(event.value("Has_Attachments").toInt(), 0);
    QCOMPARE(db.Scalar("SELECT count(*) FROM NewEmails").toInt(), 0);

    const List_Row* row = window.Row(Main_List::Contacts, Make_Contact_Key(id));
    QVERIFY(row);
    QCOMPARE(row->texts, QStringList({"John", "Smith", "john.smith@example.com", "Sedan", "", ""}));
    QCOMPARE(row->highlighted, QList<int>({1, 2}));

    // The same address again: only an event, with the file it carried, and
    // the contact's row shows its unread event at once.
    window.pending_marks.clear();
    const QString second = maildir.Deliver("lead_again.eml");
    Get_Mapi_Email();
    QCOMPARE(window.pending_marks.value(id), true);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts").toInt(), 1);
    QCOMPARE(db.Scalar("SELECT FirstName FROM Contacts").toString(), QString("John"));
    QCOMPARE(window.List_Row_Count(Main_List::Contacts), 1);
    const QSqlRecord again = db.Select_First("SELECT * FROM Eventhistory WHERE Event_Unique_ID = ?", {second});
    QCOMPARE(again.value("ContactID").toLongLong(), id);
    QCOMPARE(again.value("Event_Type").toString(), QString("Email Entry"));
    QCOMPARE(again.value("Event_Product").toString(), QString("Coupe"));
    QCOMPARE(again.value("Has_Attachments").toInt(), 1);
    const QSqlRecord file = db.Select_First("SELECT * FROM Attachments");
    QCOMPARE(file.value("Link_ID").toLongLong(), again.value("ID").toLongLong());
    QCOMPARE(file.value("Link_Database").toString(), QString("E"));
    QCOMPARE(file.value("Attachment_Final_Name").toString(), QString("trade-in.txt"));
    QVERIFY(QFileInfo(file.value("Attachment_Path_Name").toString()).isFile());

    // And nothing twice on the next start.
    Get_Mapi_Email();
    QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory").toInt(), 2);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts").toInt(), 1);
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_mail_leads::leads_without_an_address_each_get_their_own_contact()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    Add_AutoLeads(db);
    const QByteArray lead = "From: notify@autoleads.example\nSubject: New AutoLeads Inquiry\n\nName: Ann Lee\n";
    const QByteArray other = "From: notify@autoleads.example\nSubject: New AutoLeads Inquiry\n\nName: Bo Kim\n";
    const QString a = maildir.Deliver_Content(lead);
    const QString b = maildir.Deliver_Content(other);

    Mapi_Sign_On();
    Get_Mapi_Email();  // both within the same clock second

    const QList<QSqlRecord> contacts = db.Select("SELECT ID, FirstName, Email FROM Contacts ORDER BY ID");
    QCOMPARE(contacts.size(), 2);
    QCOMPARE(contacts.at(0).value("Email").toString(), contacts.at(1).value("Email").toString());
    QVERIFY(contacts.at(0).value("Email").toString().startsWith("NoEmail@"));
    QCOMPARE(db.Scalar("SELECT ContactID FROM Eventhistory WHERE Event_Unique_ID = ?", {a}).toLongLong(),
             contacts.at(0).value("ID").toLongLong());
    QCOMPARE(db.Scalar("SELECT ContactID FROM Eventhistory WHERE Event_Unique_ID = ?", {b}).toLongLong(),
             contacts.at(1).value("ID").toLongLong());
    QCOMPARE(contacts.at(1).value("FirstName").toString(), QString("Bo"));
}

QTEST_GUILESS_MAIN(tst_mail_leads)
#include "tst_mail_leads.moc"
