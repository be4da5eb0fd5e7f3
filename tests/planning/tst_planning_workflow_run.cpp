// A workflow set up in the planning window, as a user does it, runs: the
// product added in the catalog, two steps given in the workflow tree, then the
// workflow run and the SMTP cycle against a real server.

#include <QtTest>

#include "MessageCenter.h"
#include "Planning_Test_Support.h"
#include "SMTP_Session.h"
#include "Settings.h"
#include "Smtp_Test_Server.h"
#include "Workflow_Run.h"
#include "pages/Product_Catalog_Model.h"

class tst_planning_workflow_run : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void steps_set_up_in_the_planning_window_reach_the_server();
};

void tst_planning_workflow_run::steps_set_up_in_the_planning_window_reach_the_server()
{
    Smtp_Test_Server server;
    QVERIFY(server.Started());
    Planning_Fixture f;
    SMTP_Session::Set_Port_Override(server.Port());
    Install_Smtp_Sender();
    f.db.Execute("UPDATE Settings SET SMTP_Server = '127.0.0.1', DefaultEmailAddress = 'owner@example.com', "
                 "DefaultEmailName = 'Owner', Automatically_Send_Emails = 1");
    QVERIFY(Load_Settings());
    const qint64 ann = f.db.Insert(
        "INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Ann', 'Lee', 'ann@example.com')");

    // The catalog: "Civic" typed in the new-product row.
    f.Open();
    QTabBar* products = f.Tabs("TabProducts");
    Click_Tab(f.Tabs("TabStrip1"), 1);
    QVERIFY(f.Tree("TreeWorkflow")->topLevelItemCount() == 0);
    Click_Tab(products, 1);
    QTableView* grid = f.Find<QTableView>("ProductGrid");
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, Product_Catalog_Model::Product));
    QTest::keyClicks(grid, "C");
    QTest::keyClicks(grid->focusWidget(), "ivic");
    QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(f.db.Scalar("SELECT Product FROM Products").toString(), QString("Civic"));

    // Its workflow: step 1 an e-mail at once, step 2 a call after 3 days.
    Click_Tab(products, 0);
    Planning_Tree* tree = f.Tree("TreeWorkflow");
    QVERIFY(Click_Node(tree, "PTBCivic"));
    QVERIFY(Click_Node(tree, "PTDCivic"));
    Type_Into(f.Line("txtFrameCreateTimeline_Subject"), "Hello [Firstname]");
    Type_Into(f.Find<QTextEdit>("txtFrameCreateTimeline_Message"), "Welcome to Civic.");
    QVERIFY(Click_Node(tree, "PTDCivic"));
    QComboBox* action = f.Find<QComboBox>("lstProductAction");
    action->setFocus();
    QTest::keyClick(action, Qt::Key_Down);
    QCOMPARE(action->currentText(), QString("Call Out"));
    Type_Into(f.Line("txtFrameCreateTimeline_Days"), "3");
    QCOMPARE(tree->currentItem()->text(0), QString("Event#: 2 Type: Call Out Days: 3 Hours: 0"));
    QVERIFY(Planning_Window()->close());
    QVERIFY(f.dialogs.messages.isEmpty());

    // The contact enters the workflow (what the contact editor stores).
    f.db.Execute("UPDATE Contacts SET Product = 'Civic', Workflow_Start_Date = ? WHERE ID = ?", {Now(), ann});
    Process_All_Contacts();
    QTRY_COMPARE_WITH_TIMEOUT(server.Messages().size(), 1, 20000);
    const Received_Mail mail = server.Messages().first();
    QCOMPARE(mail.from, QString("owner@example.com"));
    QCOMPARE(mail.to, QStringList({"ann@example.com"}));
    QVERIFY(mail.data.contains("Subject: Hello Ann\r\n"));
    QVERIFY(mail.data.contains("Welcome to Civic."));
    QTRY_COMPARE(f.db.Scalar("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {ann}).toInt(), 1);
    const QSqlRecord event = f.db.Select_First("SELECT * FROM Eventhistory WHERE ContactID = ?", {ann});
    QCOMPARE(event.value("Timeline_Step_Number").toInt(), 1);
    QCOMPARE(event.value("Event_Product").toString(), QString("Civic"));
    // Step 2 is not due yet: no call waits in the to-do list.
    QTRY_COMPARE(f.db.Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
    Stop_Message_Center();
    QTRY_VERIFY(!Message_Center());
    SMTP_Session::Set_Port_Override(0);
}

QTEST_MAIN(tst_planning_workflow_run)
#include "tst_planning_workflow_run.moc"
