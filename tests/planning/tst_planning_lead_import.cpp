// Lead import set up in the planning window, as a user does it: an e-mail
// import filter tried on a sample lead, then a lead e-mail of that site
// arriving in the mail store; and a lead file on an FTP server imported now
// and then by the automatic import.

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QtTest>

#include "Ftp_Server.h"
#include "Import_Source.h"
#include "Inet.h"
#include "Lead_Sources.h"
#include "Mapi_Fetch.h"
#include "Planning_Test_Support.h"
#include "Test_Maildir.h"

namespace {

const QString Sep = "-:::-";


// The text of a message file's body, lines LF, as the user pastes it.
QString Body_Of(const QByteArray& message)
{
    QByteArray text = message;
    text.replace("\r\n", "\n");
    return QString::fromUtf8(text.mid(text.indexOf("\n\n") + 2));
}

} // namespace

class tst_planning_lead_import : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Inet::Set_Time_Limits(30, 60); }
    void a_lead_email_gets_the_values_the_tester_showed();
    void an_ftp_source_imported_now_and_automatically();
};

void tst_planning_lead_import::a_lead_email_gets_the_values_the_tester_showed()
{
    Planning_Fixture f;
    Test_Maildir maildir;
    Recording_Window main_window;
    f.Open();
    Click_Tab(f.Tabs("TabStrip1"), 2);
    Planning_Tree* tree = f.Tree("TreeEmailFilters");
    QVERIFY(Click_Node(tree, "IEM"));
    f.dialogs.input_answers << "AutoLeads";
    QVERIFY(Click_Node(tree, "ISN"));
    const QString id = f.db.Scalar("SELECT ID FROM EmailContactImports").toString();

    struct Rule {
        QString field, type, label, end;
    };
    const QList<Rule> rules = {{"Mr/Mrs Name", "Label Search", "Contact:", ""},
                               {"Name", "Label Search", "Name:", ""},
                               {"Email", "Label Search", "Email:", ""},
                               {"Home Phone", "Label Search", "Phone:", ""},
                               {"City, State Zip", "Label Search", "Location:", ""},
                               {"Product", "Label Search", "Product:", ""},
                               {"Date Received", "Label Search", "Date:", ""},
                               {"Company", "Line Instance Search", "Vehicle of interest:", "1"}};
    Open_Node(tree, "ISC" + id);
    Open_Node(tree, "ISG" + id);
    for (const Rule& rule : rules) {
        Open_Node(tree, "ISK" + id + Sep + rule.field);
        QVERIFY(Click_Node(tree, "ISR" + id + Sep + rule.field));
        QComboBox* types = f.Find<QComboBox>("lstFrameImportEmail_Search_Type");
        types->setCurrentIndex(types->findText(rule.type));
        Type_Into(f.Line("txtFrameImportEmail_Label"), rule.label);
        Type_Into(f.Line("txtFrameImportEmail_End_Label"), rule.end);
    }
    Type_Into(f.Line("txtFrameImportEmail_Subject_Line"), "New AutoLeads Inquiry");
    f.Find<QPlainTextEdit>("txtFrameImportEmail_Test_Pattern")->setPlainText(Body_Of(Maildir_Fixture("lead.eml")));
    QTest::mouseClick(f.Find<QPushButton>("Test_Import_Email_Rules"), Qt::LeftButton);
    const QStringList report =
        f.Find<QPlainTextEdit>("txtFrameImportEmail_Result")->toPlainText().split('\n', Qt::SkipEmptyParts).mid(2);
    // "Name" comes after "Mr/Mrs Name" and wins; the import sets the date itself.
    QCOMPARE(report, QStringList({"City = Boston", "State = MA", "Zip = 02134", "Company = 2021 Toyota Camry",
                                  "Email = john.smith@example.com", "Home Phone = 555-0100", "Firstname = John",
                                  "Lastname = Smith", "Product = Sedan"}));
    QVERIFY(Planning_Window()->close());

    // The lead arrives (Get eMail: sign-on, fetch and integrate).
    const QString message_id = maildir.Deliver("lead.eml");
    Mapi_Sign_On();
    Get_Mapi_Email();
    const QList<QSqlRecord> contacts = Contact_Rows(f.db);
    QCOMPARE(contacts.size(), 1);
    const QMap<QString, QString> columns = {{"City", "City"},       {"State", "State"},
                                            {"Zip", "Zipcode"},     {"Company", "Company"},
                                            {"Email", "Email"},     {"Home Phone", "Homephone"},
                                            {"Firstname", "FirstName"}, {"Lastname", "LastName"},
                                            {"Product", "Product"}};
    for (const QString& line : report) {
        const QString part = line.section(" = ", 0, 0);
        QVERIFY2(columns.contains(part), qPrintable(part));
        QCOMPARE(contacts.first().value(columns.value(part)).toString(), line.section(" = ", 1));
    }
    QCOMPARE(contacts.first().value("Import_Source").toString(), QString("AutoLeads"));
    const QSqlRecord event = f.db.Select_First("SELECT * FROM Eventhistory");
    QCOMPARE(event.value("Event_Type").toString(), QString("Email Entry"));
    QCOMPARE(event.value("Event_Unique_ID").toString(), message_id);
    QCOMPARE(event.value("ContactID").toLongLong(), contacts.first().value("ID").toLongLong());
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_planning_lead_import::an_ftp_source_imported_now_and_automatically()
{
    Ftp_Server server;
    QVERIFY(server.Started());
    server.Write_File("leads.csv", "Ann,,Cole,ann@example.com\r\nBob,,Doe,bob@example.com\r\n");
    Planning_Fixture f;
    Recording_Window main_window;
    f.Open();
    Click_Tab(f.Tabs("TabStrip1"), 2);
    Click_Tab(f.Tabs("TabImportFilters"), 1);
    Planning_Tree* tree = f.Tree("TreeImportSources");
    f.dialogs.input_answers << "Lead Server";
    QTest::mouseClick(f.Find<QPushButton>("Add_Import_Source"), Qt::LeftButton);
    QVERIFY(Click_Node(tree, "IFSLead Server"));
    QComboBox* type = f.Find<QComboBox>("lstType_Of_Source");
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down);
    QCOMPARE(type->currentText(), QString("FTP"));
    Type_Into(f.Line("txtFileImport_Domain_Name"), server.Host());
    Type_Into(f.Line("txtFileImport_Username"), "leads");
    Type_Into(f.Line("txtFileImport_Password"), "secret");
    Type_Into(f.Line("txtFileImport_Path_For_File"), "leads.csv");
    QCheckBox* automatic = f.Find<QCheckBox>("chkAutoImport");
    automatic->setFocus();
    QTest::keyClick(automatic, Qt::Key_Space);

    QVERIFY(Click_Node(tree, "IFPLead Server"));
    QCOMPARE(Contact_Keys(f.db), QStringList({"Ann||Cole|ann@example.com", "Bob||Doe|bob@example.com"}));
    QVERIFY(server.Has_File("leads.csv"));
    QVERIFY(f.dialogs.messages.isEmpty());

    // Actions > Automatic File Import: the same file again, no second copy.
    Automatic_File_Import();
    QCOMPARE(Contact_Count(f.db), 2);
    QCOMPARE(f.dialogs.Texts(), QStringList({"All import sources have been integrated. \r\nRequery your current "
                                             "contact group to get an updated listing"}));
}

QTEST_MAIN(tst_planning_lead_import)
#include "tst_planning_lead_import.moc"
