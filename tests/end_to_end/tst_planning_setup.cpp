// What a new user sets up before the automation runs, done through the main
// window's menus as the user does it: the settings, a product's workflow in
// the planning window run against a real SMTP server and counted in the
// statistics; an e-mail import filter tried on a sample lead and then met by a
// lead in the mail store; a lead file on an FTP server imported now and by the
// automatic import.

#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "../mainwindow/Main_Window_Test_Support.h"
#include "../planning/Planning_Test_Support.h"
#include "Ftp_Server.h"
#include "Inet.h"
#include "MessageCenter.h"
#include "Report_Capture.h"
#include "SMTP_Session.h"
#include "Smtp_Test_Server.h"
#include "frmSetupForm.h"
#include "pages/Product_Catalog_Model.h"

namespace {

const QString Sep = "-:::-";

QWidget* Shown_Window(const QString& name)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    return nullptr;
}

// The planning window opened by its menu entry.
frmPlanning* Open_Planning(frmContactSystem* w)
{
    Control<QAction>(w, "mnuPlanning")->trigger();
    frmPlanning* window = Planning_Window();
    if (!window || !QTest::qWaitForWindowExposed(window))
        qWarning("the planning window was not shown");
    return window;
}

template <class T> T* In_Planning(const char* name)
{
    return Control<T>(Planning_Window(), name);
}

// Replaces a settings box's text on its page, as typed.
void Type_Setting(QWidget* dialog, const char* name, const QString& text)
{
    auto* box = Control<QLineEdit>(dialog, name);
    auto* tabs = Control<QTabWidget>(dialog, "TabStrip1");
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(box))
            tabs->setCurrentIndex(i);
    Type_Into(box, text);
}

QStringList Grid_Rows(const QTableView* grid)
{
    QStringList rows;
    for (int r = 0; r < grid->model()->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            cells << grid->model()->index(r, c).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

// The text of a message file's body, lines LF, as the user pastes it.
QString Body_Of(const QByteArray& message)
{
    QByteArray text = message;
    text.replace("\r\n", "\n");
    return QString::fromUtf8(text.mid(text.indexOf("\n\n") + 2));
}

struct Planning_User : Window_With_Mail_Store {
    ~Planning_User() { delete Planning_Window(); }
};

} // namespace

class tst_planning_setup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Inet::Set_Time_Limits(30, 60); }
    void settings_and_a_workflow_reach_the_server_and_the_statistics();
    void a_lead_email_gets_the_values_the_tester_showed();
    void an_ftp_source_imported_now_and_by_the_menu();
};

void tst_planning_setup::settings_and_a_workflow_reach_the_server_and_the_statistics()
{
    Smtp_Test_Server server;
    QVERIFY(server.Started());
    Planning_User f;
    Captured_Reports reports;
    SMTP_Session::Set_Port_Override(server.Port());
    const qint64 ann =
        f.s.Db().Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Ann', 'Lee', 'ann@example.com')");
    f.Start();
    // Every entry of the menu bar can be chosen.
    const std::function<void(const QList<QAction*>&)> all_enabled = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->isSeparator())
                continue;
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
            if (action->menu())
                all_enabled(action->menu()->actions());
        }
    };
    all_enabled(f.w->menuBar()->actions());

    // File > settings: the server, the sender and automatic sending; Close.
    bool closed = false;
    When_Modal_Shown([&](QWidget* dialog) {
        Type_Setting(dialog, "txtSMTP_Server", "127.0.0.1");
        Type_Setting(dialog, "txtDefaultEmailAddress", "owner@example.com");
        Type_Setting(dialog, "txtDefaultEmailName", "Owner");
        QCheckBox* automatic = Control<QCheckBox>(dialog, "chkAutomatically_Send_Emails");
        QVERIFY(!automatic->isChecked());
        automatic->setFocus();
        QTest::keyClick(automatic, Qt::Key_Space);
        QTest::mouseClick(Control<QPushButton>(dialog, "CloseSettings"), Qt::LeftButton);
        closed = !dialog->isVisible();
    });
    Control<QAction>(f.w, "Setup_Furrowline_Settings")->trigger();
    QVERIFY(closed);

    // Planning: "Civic" typed in the catalog's new-product row.
    Open_Planning(f.w);
    QTabBar* products = In_Planning<QTabBar>("TabProducts");
    Click_Tab(In_Planning<QTabBar>("TabStrip1"), 1);
    QCOMPARE(In_Planning<Planning_Tree>("TreeWorkflow")->topLevelItemCount(), 0);
    Click_Tab(products, 1);
    QTableView* grid = In_Planning<QTableView>("ProductGrid");
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, Product_Catalog_Model::Product));
    QTest::keyClicks(grid, "C");
    QTest::keyClicks(grid->focusWidget(), "ivic");
    QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(f.s.Db().Scalar("SELECT Product FROM Products").toString(), QString("Civic"));

    // Its workflow: step 1 an e-mail at once, step 2 a call after 3 days.
    Click_Tab(products, 0);
    Planning_Tree* tree = In_Planning<Planning_Tree>("TreeWorkflow");
    QVERIFY(Click_Node(tree, "PTBCivic"));
    QVERIFY(Click_Node(tree, "PTDCivic"));
    Type_Into(In_Planning<QLineEdit>("txtFrameCreateTimeline_Subject"), "Hello [Firstname]");
    Type_Into(In_Planning<QTextEdit>("txtFrameCreateTimeline_Message"), "Welcome to Civic.");
    QVERIFY(Click_Node(tree, "PTDCivic"));
    QComboBox* action = In_Planning<QComboBox>("lstProductAction");
    action->setFocus();
    QTest::keyClick(action, Qt::Key_Down);
    QCOMPARE(action->currentText(), QString("Call Out"));
    Type_Into(In_Planning<QLineEdit>("txtFrameCreateTimeline_Days"), "3");
    QCOMPARE(tree->currentItem()->text(0), QString("Event#: 2 Type: Call Out Days: 3 Hours: 0"));
    QVERIFY(Planning_Window()->close());
    QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Events WHERE Product = 'Civic'").toInt(), 2);

    // The contact enters the workflow in the contact editor: the new product, started now.
    QCOMPARE(Control<QLineEdit>(f.w, "txtContact_ID")->text(), QString::number(ann));
    Choose(f.C<QComboBox>("lstProduct"), "Civic");
    QTest::mouseClick(f.C<QPushButton>("Change_Workflow_Start_Date"), Qt::LeftButton);

    // Actions > Process Workflows: the settings of the Close are in use.
    f.C<QAction>("mnuProcessWorkflows")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(server.Messages().size(), 1, 20000);
    const Received_Mail mail = server.Messages().first();
    QCOMPARE(mail.from, QString("owner@example.com"));
    QCOMPARE(mail.to, QStringList({"ann@example.com"}));
    QVERIFY(mail.data.contains("Subject: Hello Ann\r\n"));
    QVERIFY(mail.data.contains("Welcome to Civic."));
    QTRY_COMPARE(f.s.Db().Scalar("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {ann}).toInt(), 1);
    const QSqlRecord event = f.s.Db().Select_First("SELECT * FROM Eventhistory WHERE ContactID = ?", {ann});
    QCOMPARE(event.value("Timeline_Step_Number").toInt(), 1);
    QCOMPARE(event.value("Event_Product").toString(), QString("Civic"));
    QTRY_COMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
    Stop_Message_Center();
    QTRY_VERIFY(!Message_Center());
    SMTP_Session::Set_Port_Override(0);
    // Step 2 is not due yet: the To Do tab holds nothing.
    f.w->TabStrip1_Click(2);
    QCOMPARE(f.C<List_View>("ListToDo")->Row_Count(), 0);

    // Reports > Email Stats: the day's counter, and its printed listing.
    f.C<QAction>("mnuViewStats")->trigger();
    QWidget* stats = Shown_Window("StatsViewer");
    QVERIFY(stats);
    const QString day = Now().date().toString("MM/dd/yyyy");
    QVERIFY2(Grid_Rows(Control<QTableView>(stats, "DataGrid1")).contains(day + "|Messages Sent|1"),
             qPrintable(Grid_Rows(Control<QTableView>(stats, "DataGrid1")).join('\n')));
    QTest::mouseClick(Control<QPushButton>(stats, "CreateReport"), Qt::LeftButton);
    QCOMPARE(reports.reports.size(), 1);
    QCOMPARE(reports.reports[0].title, QString("Brackenlead for Windows Activity Listing"));
    QTemporaryDir pdf_folder;
    const QString pdf = pdf_folder.filePath("stats.pdf");
    Print_Report_To_Pdf(reports.Last_Html(), pdf);
    QFile pdf_file(pdf);
    QVERIFY(pdf_file.open(QIODevice::ReadOnly));
    QVERIFY(pdf_file.size() > 1000);
    QVERIFY(pdf_file.read(5) == "%PDF-");
    const QString printed = Pdf_Text(pdf);
    QVERIFY2(printed.contains("Brackenlead for Windows Activity Listing"), qPrintable(printed));
    QVERIFY2(printed.contains(day) && printed.contains("Messages Sent"), qPrintable(printed));
    stats->close();
    // Sent at once: no message about viewers to revise.
    QVERIFY2(f.s.dialogs.messages.isEmpty(), qPrintable(f.s.dialogs.Texts().join('\n')));
}

void tst_planning_setup::a_lead_email_gets_the_values_the_tester_showed()
{
    Planning_User f;
    f.Start();
    Open_Planning(f.w);
    Click_Tab(In_Planning<QTabBar>("TabStrip1"), 2);
    Planning_Tree* tree = In_Planning<Planning_Tree>("TreeEmailFilters");
    QVERIFY(Click_Node(tree, "IEM"));
    f.s.dialogs.input_answers << "AutoLeads";
    QVERIFY(Click_Node(tree, "ISN"));
    const QString id = f.s.Db().Scalar("SELECT ID FROM EmailContactImports").toString();

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
        QComboBox* types = In_Planning<QComboBox>("lstFrameImportEmail_Search_Type");
        types->setCurrentIndex(types->findText(rule.type));
        Type_Into(In_Planning<QLineEdit>("txtFrameImportEmail_Label"), rule.label);
        Type_Into(In_Planning<QLineEdit>("txtFrameImportEmail_End_Label"), rule.end);
    }
    Type_Into(In_Planning<QLineEdit>("txtFrameImportEmail_Subject_Line"), "New AutoLeads Inquiry");
    In_Planning<QPlainTextEdit>("txtFrameImportEmail_Test_Pattern")->setPlainText(Body_Of(Maildir_Fixture("lead.eml")));
    QTest::mouseClick(In_Planning<QPushButton>("Test_Import_Email_Rules"), Qt::LeftButton);
    const QStringList report =
        In_Planning<QPlainTextEdit>("txtFrameImportEmail_Result")->toPlainText().split('\n', Qt::SkipEmptyParts).mid(2);
    // "Name" comes after "Mr/Mrs Name" and wins; the import sets the date itself.
    QCOMPARE(report, QStringList({"City = Boston", "State = MA", "Zip = 02134", "Company = 2021 Toyota Camry",
                                  "Email = john.smith@example.com", "Home Phone = 555-0100", "Firstname = John",
                                  "Lastname = Smith", "Product = Sedan"}));
    QVERIFY(Planning_Window()->close());

    // The lead arrives; Actions > Get eMail.
    const QString message_id = f.maildir.Deliver("lead.eml");
    f.C<QAction>("mnu_Get_Mapi_Mail")->trigger();
    const QList<QSqlRecord> contacts = f.s.Db().Select("SELECT * FROM Contacts");
    QCOMPARE(contacts.size(), 1);
    const QMap<QString, QString> columns = {{"City", "City"},           {"State", "State"},
                                            {"Zip", "Zipcode"},         {"Company", "Company"},
                                            {"Email", "Email"},         {"Home Phone", "Homephone"},
                                            {"Firstname", "FirstName"}, {"Lastname", "LastName"},
                                            {"Product", "Product"}};
    for (const QString& line : report) {
        const QString part = line.section(" = ", 0, 0);
        QVERIFY2(columns.contains(part), qPrintable(part));
        QCOMPARE(contacts.first().value(columns.value(part)).toString(), line.section(" = ", 1));
    }
    QCOMPARE(contacts.first().value("Import_Source").toString(), QString("AutoLeads"));
    const QSqlRecord event = f.s.Db().Select_First("SELECT * FROM Eventhistory");
    QCOMPARE(event.value("Event_Type").toString(), QString("Email Entry"));
    QCOMPARE(event.value("Event_Unique_ID").toString(), message_id);
    QCOMPARE(event.value("ContactID").toLongLong(), contacts.first().value("ID").toLongLong());
    // The main window lists the new contact.
    QCOMPARE(f.C<List_View>("ListContacts")->Row_Count(), 1);
    QVERIFY2(f.s.dialogs.messages.isEmpty(), qPrintable(f.s.dialogs.Texts().join('\n')));
}

void tst_planning_setup::an_ftp_source_imported_now_and_by_the_menu()
{
    Ftp_Server server;
    QVERIFY(server.Started());
    server.Write_File("leads.csv", "Ann,,Cole,ann@example.com\r\nBob,,Doe,bob@example.com\r\n");
    Planning_User f;
    f.Start();
    Open_Planning(f.w);
    Click_Tab(In_Planning<QTabBar>("TabStrip1"), 2);
    Click_Tab(In_Planning<QTabBar>("TabImportFilters"), 1);
    Planning_Tree* tree = In_Planning<Planning_Tree>("TreeImportSources");
    f.s.dialogs.input_answers << "Lead Server";
    QTest::mouseClick(In_Planning<QPushButton>("Add_Import_Source"), Qt::LeftButton);
    QVERIFY(Click_Node(tree, "IFSLead Server"));
    QComboBox* type = In_Planning<QComboBox>("lstType_Of_Source");
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down);
    QCOMPARE(type->currentText(), QString("FTP"));
    Type_Into(In_Planning<QLineEdit>("txtFileImport_Domain_Name"), server.Host());
    Type_Into(In_Planning<QLineEdit>("txtFileImport_Username"), "leads");
    Type_Into(In_Planning<QLineEdit>("txtFileImport_Password"), "secret");
    Type_Into(In_Planning<QLineEdit>("txtFileImport_Path_For_File"), "leads.csv");
    QCheckBox* automatic = In_Planning<QCheckBox>("chkAutoImport");
    automatic->setFocus();
    QTest::keyClick(automatic, Qt::Key_Space);

    // "*** Import Now" stores the edits first, then imports.
    QVERIFY(Click_Node(tree, "IFPLead Server"));
    const auto keys = [&] {
        QStringList found;
        for (const QSqlRecord& row : f.s.Db().Select("SELECT * FROM Contacts ORDER BY FirstName"))
            found << QStringList({row.value("FirstName").toString(), row.value("LastName").toString(),
                                  row.value("Email").toString()})
                         .join('|');
        return found;
    };
    QCOMPARE(keys(), QStringList({"Ann|Cole|ann@example.com", "Bob|Doe|bob@example.com"}));
    QVERIFY(server.Has_File("leads.csv"));
    QVERIFY(f.s.dialogs.messages.isEmpty());
    QVERIFY(Planning_Window()->close());

    // Actions > Automatic File Import: the same file again, no second copy.
    f.C<QAction>("mnuAutomaticFileImport")->trigger();
    QCOMPARE(keys(), QStringList({"Ann|Cole|ann@example.com", "Bob|Doe|bob@example.com"}));
    QCOMPARE(f.s.dialogs.Texts(), QStringList({"All import sources have been integrated. \r\nRequery your current "
                                               "contact group to get an updated listing"}));
}

QTEST_MAIN(tst_planning_setup)
#include "tst_planning_setup.moc"
