// The e-mail lead-import engine: which filter takes a message, what its rules
// collect, and what is stored.

#include <QSqlRecord>
#include <QtTest>

#include "Email_Lead_Import.h"
#include "Field_Rules.h"
#include "Recording_Main_Window.h"
#include "Test_Support.h"

namespace {

qint64 Add_Filter(Database& db, const QString& site, const QVariant& subject)
{
    return db.Insert("INSERT INTO EmailContactImports (Name_Of_Site, Search_String_On_Subject_Line) VALUES (?, ?)",
                     {site, subject});
}

void Add_Rule(Database& db, qint64 filter, const QString& field, const QString& type, const QVariant& label,
              const QVariant& after = QVariant(), const QVariant& end = QVariant())
{
    db.Insert("INSERT INTO EmailImportFieldsInfo (Email_Import_ID, Event_Field, Import_Type, Label, After_Label, "
              "End_Label) VALUES (?, ?, ?, ?, ?, ?)",
              {filter, field, type, label, after, end});
}

} // namespace

class tst_email_lead_import : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rules_fill_the_contact_fields_data();
    void rules_fill_the_contact_fields();
    void the_first_filter_in_table_order_takes_the_message();
    void a_message_no_filter_names_still_becomes_a_contact();
    void a_known_address_gets_only_the_event();
    void later_rules_and_the_import_time_win();
    void the_values_are_listed_as_they_are_stored();
};

void tst_email_lead_import::rules_fill_the_contact_fields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");  // column=value

    const QString label = "Label Search";
    const QString line = "Line Instance Search";
    QTest::newRow("city, state zip") << "City, State Zip" << label << "Where:" << ""
                                     << "Where: Boston, MA 02134\r\nEmail: a@b.example"
                                     << QStringList({"City=Boston", "State=MA", "Zipcode=02134"});
    QTest::newRow("city, state") << "City, State" << label << "Where:" << "" << "Where: Boston, MA\r\n"
                                 << QStringList({"City=Boston", "State=MA"});
    QTest::newRow("state zip") << "State Zip" << label << "Where:" << "" << "Where: MA 02134"
                               << QStringList({"State=MA", "Zipcode=02134"});
    QTest::newRow("year make model") << "Year Make Model" << label << "Car:" << "" << "Car: 2019 Ford Focus"
                                     << QStringList({"Year=2019", "Make=Ford", "Model=Focus"});
    QTest::newRow("make model") << "Make Model" << label << "Car:" << "" << "Car: Ford Focus"
                                << QStringList({"Make=Ford", "Model=Focus"});
    QTest::newRow("name") << "Name" << label << "Name:" << "" << "Name:   john smith"
                          << QStringList({"FirstName=John", "LastName=Smith"});
    QTest::newRow("labelled field with end label") << "Home Phone" << label << "Phone:" << " "
                                                   << "Phone: 555-0101 (evenings)"
                                                   << QStringList({"Homephone=555-0101"});
    QTest::newRow("mr/mrs name by line") << "Mr/Mrs Name" << line << "Customer" << "1"
                                         << "Customer\r\n\r\nMr John Smith\r\n"
                                         << QStringList({"FirstName=John", "LastName=Smith"});
    QTest::newRow("year model by line") << "Year Model" << line << "Vehicle" << "2"
                                        << "Vehicle\r\n2019\r\n   \r\n2019 Grand Cherokee\r\n"
                                        << QStringList({"Year=2019", "Model=Grand Cherokee"});
    QTest::newRow("a field by line") << "Company" << line << "Employer" << "1" << "Employer\r\nACME Corp\r\n"
                                     << QStringList({"Company=ACME Corp"});
    QTest::newRow("unknown type skipped") << "Company" << "Word Search" << "Employer" << "1"
                                          << "Employer\r\nACME Corp\r\n" << QStringList({"Company="});
    QTest::newRow("label of no field skipped") << "Nickname" << label << "Nick:" << "" << "Nick: Jo"
                                               << QStringList({"FirstName="});
}

void tst_email_lead_import::rules_fill_the_contact_fields()
{
    QFETCH(QString, field);
    QFETCH(QString, type);
    QFETCH(QString, label);
    QFETCH(QString, end);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);

    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Database db = folder.Db();
    const qint64 filter = Add_Filter(db, "Site", "Lead:");
    Add_Rule(db, filter, field, type, label, QVariant(), end.isEmpty() ? QVariant() : QVariant(end));
    const QDateTime received(QDate(2026, 12, 9), QTime(7, 0, 0));
    const Email_Lead_Result result = Import_Contact_From_Email("Lead: new", text, "m-1", received);
    QVERIFY(result.New_Contact);
    const QSqlRecord contact = db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {result.Contact_ID});
    for (const QString& pair : expected) {
        const QString column = pair.section('=', 0, 0);
        QCOMPARE(contact.value(column).toString(), pair.section('=', 1));
    }
    QVERIFY(result.Event_ID > 0);
}

void tst_email_lead_import::the_first_filter_in_table_order_takes_the_message()
{
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Database db = folder.Db();
    Add_Filter(db, "Empty", "");
    Add_Filter(db, "Null", QVariant());
    const qint64 first = Add_Filter(db, "First", "Inquiry");
    Add_Filter(db, "Second", "Car Inquiry");
    Add_Rule(db, first, "Email", "Label Search", "Email:");
    QCOMPARE(Find_Import_Source_For_Subject("Car Inquiry from the web"), QString("First"));
    QCOMPARE(Find_Import_Source_For_Subject("car inquiry"), QString(""));  // case counts
    QCOMPARE(Find_Import_Source_For_Subject("anything"), QString(""));

    Import_Contact_From_Email("Car Inquiry", "Email: x@y.example", "m-2", Now());
    QCOMPARE(db.Scalar("SELECT Import_Source FROM Contacts").toString(), QString("First"));
    QCOMPARE(db.Scalar("SELECT Email FROM Contacts").toString(), QString("x@y.example"));
}

void tst_email_lead_import::a_message_no_filter_names_still_becomes_a_contact()
{
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Recording_Main_Window window;
    Database db = folder.Db();
    const QDateTime received(QDate(2026, 12, 9), QTime(7, 0, 0));
    const Email_Lead_Result result = Import_Contact_From_Email("no filter", "text as received\r\n", "m-3",
                                                               received, 2);
    const QSqlRecord contact = db.Select_First("SELECT * FROM Contacts");
    QCOMPARE(contact.value("FirstName").toString(), QString(""));
    QCOMPARE(contact.value("LastName").toString(), QString(""));
    QVERIFY(contact.value("Email").toString().startsWith("NoEmail@"));
    QCOMPARE(contact.value("Import_Source").toString(), QString(""));
    const QSqlRecord event = db.Select_First("SELECT * FROM Eventhistory WHERE ID = ?", {result.Event_ID});
    QCOMPARE(event.value("Sender").toString(), QString(""));
    QCOMPARE(event.value("EventMessage").toString(), QString("text as received\r\n"));
    QCOMPARE(Db_To_Date(event.value("Email_ID_Date")), received);
    QCOMPARE(event.value("Has_Attachments").toInt(), 1);
    QCOMPARE(window.List_Row_Count(Main_List::Contacts), 1);
}

void tst_email_lead_import::a_known_address_gets_only_the_event()
{
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Recording_Main_Window window;
    Database db = folder.Db();
    const qint64 known = db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Kim', 'Kim@Example.com')");
    const qint64 filter = Add_Filter(db, "Site", "Lead:");
    Add_Rule(db, filter, "Email", "Label Search", "Email:");
    Add_Rule(db, filter, "Name", "Label Search", "Name:");
    const Email_Lead_Result result =
        Import_Contact_From_Email("Lead: again", "Name: Other Person\r\nEmail: kim@example.com", "m-4", Now());
    QCOMPARE(result.Contact_ID, known);
    QVERIFY(!result.New_Contact);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts").toInt(), 1);
    QCOMPARE(db.Scalar("SELECT FirstName FROM Contacts").toString(), QString("Kim"));
    QCOMPARE(db.Scalar("SELECT ContactID FROM Eventhistory WHERE Event_Unique_ID = 'm-4'").toLongLong(), known);
    QCOMPARE(window.List_Row_Count(Main_List::Contacts), 0);
}

void tst_email_lead_import::later_rules_and_the_import_time_win()
{
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Recording_Main_Window window;
    Database db = folder.Db();
    const qint64 filter = Add_Filter(db, "Site", "Lead:");
    // Stored in this order, run by field name: "Mr/Mrs Name" before "Name".
    Add_Rule(db, filter, "Name", "Label Search", "Name:");
    Add_Rule(db, filter, "Mr/Mrs Name", "Line Instance Search", "Contact", QVariant(), "1");
    Add_Rule(db, filter, "Date Received", "Label Search", "Date:");
    Add_Rule(db, filter, "Email", "Label Search", "Email:");
    const QString text = "Contact\r\nMr Jack Brown\r\nName: john smith\r\nDate: 01/01/2020\r\n"
                         "Email: john@example.com\r\n";
    const Email_Lead_Result result = Import_Contact_From_Email("Lead: one", text, "m-5", Now());
    const QSqlRecord contact = db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {result.Contact_ID});
    QCOMPARE(contact.value("FirstName").toString(), QString("John"));
    QCOMPARE(contact.value("LastName").toString(), QString("Smith"));
    QCOMPARE(Db_To_Date(contact.value("Contact_Received_Date")), clock.Now());
    QCOMPARE(Db_To_Date(contact.value("Workflow_Start_Date")), clock.Now());
    QCOMPARE(contact.value("New_Contact").toInt(), 1);
    QCOMPARE(contact.value("Import_Source").toString(), QString("Site"));
    const QSqlRecord event = db.Select_First("SELECT * FROM Eventhistory WHERE ID = ?", {result.Event_ID});
    QCOMPARE(event.value("Event_Type").toString(), QString("Email Entry"));
    QCOMPARE(event.value("Sender").toString(), QString("Site"));
    QCOMPARE(event.value("EventSubject").toString(), QString("Lead: one"));
    QCOMPARE(event.value("EventMessage").toString(), text);
    QCOMPARE(db.Scalar("SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {result.Contact_ID}).toInt(), 1);
    QCOMPARE(window.List_Row_Count(Main_List::Contacts), 1);
}

void tst_email_lead_import::the_values_are_listed_as_they_are_stored()
{
    // In Event_Field order, as the import runs them.
    const QList<Email_Field_Rule> rules = {
        {"Date Received", "Label Search", "Date:", QVariant(), QVariant()},
        {"Fax", "Label Search", "Fax:", QVariant(), QVariant()},
        {"Mr/Mrs Name", "Line Instance Search", "Contact", QVariant(), "1"},
        {"Name", "Label Search", "Name:", QVariant(), QVariant()},
        {"Notes", "", "Notes:", QVariant(), QVariant()},
        {"Year Make", "Label Search", "Car:", QVariant(), QVariant()}};
    const QString text = "Contact\r\nMr JACK brown\r\nName: john DOE\r\nDate: 01/01/2020\r\nFax: 555\r\n"
                         "Notes: hi\r\nCar: 2019 Ford\r\n";
    QStringList listed;
    for (const Lead_Field_Value& value : Lead_Field_Values(rules, text))
        listed << value.Field_Name + "|" + value.Part_Name + "|" + value.Value;
    // The received date is the import's own, "Fax" names no column, a rule
    // without a search type finds nothing, and "Name" replaces the names
    // found before it, listed where it found them, in proper case.
    QCOMPARE(listed, QStringList({"FirstName|Firstname|John", "LastName|Lastname|Doe", "Year|Year|2019",
                                  "Make|Make|Ford"}));
}

QTEST_GUILESS_MAIN(tst_email_lead_import)
#include "tst_email_lead_import.moc"
