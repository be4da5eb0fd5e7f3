#include <QtTest>

#include <QApplication>
#include <QLabel>

#include "List_View.h"

#include "Database.h"
#include "Find_Control.h"
#include "GlobalVariables.h"
#include "MessageCenter.h"
#include "SMTP_Session.h"
#include "Settings.h"
#include "Smtp_Test_Server.h"
#include "Test_Support.h"
#include "Workflow_Run.h"
#include "frmContactSystem.h"
#include "pages/Outbox_Page.h"

// From a fresh database to a delivered workflow e-mail and back again.
class Workflow_Smtp_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workflow_steps_reach_the_server_and_the_history()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Test_Program_Folder folder;
        const QDateTime start(QDate(2026, 12, 10), QTime(9, 0, 0));
        Test_Clock clock(start.addSecs(60));
        Scripted_Dialogs dialogs;
        SMTP_Session::Set_Port_Override(server.Port());

        Database db = folder.Db();
        db.Execute("UPDATE Settings SET SMTP_Server = '127.0.0.1', DefaultEmailAddress = 'owner@example.com', "
                   "DefaultEmailName = 'Owner', Automatically_Send_Emails = 1");
        db.Execute("INSERT INTO Products (Product) VALUES ('Car')");
        db.Execute("INSERT INTO Events (Product, EventID, Event_Action, DaysAfterInitialContact, "
                   "AdditionalHoursToAdd, Subject, Message, SenderEmail, SenderEmailName) VALUES "
                   "('Car', 1, 'Email Out', 0, 0, 'Welcome [Firstname]', 'Dear [Firstname],\r\n.\r\nBye', "
                   "'sales@example.com', 'Sales'), "
                   "('Car', 2, 'Email Out', 2, 0, 'Still interested, [Firstname]?', 'Step two', "
                   "'sales@example.com', 'Sales')");
        const qint64 ann = db.Insert(
            "INSERT INTO Contacts (FirstName, LastName, Email, Product, Workflow_Start_Date) "
            "VALUES ('Ann', 'Lee', 'ann@example.com', 'Car', ?)",
            {start});
        QVERIFY(Load_Settings());
        frmContactSystem window;
        Control<Outbox_Page>(&window, "frameOutbox")->Fill_Outbox_List();
        GlobalVariables::Outbox_List_Loaded = true;

        // Process Workflows: step 1 is posted and listed, and the sender starts,
        // without holding the menu's handler.
        Control<QAction>(&window, "mnuProcessWorkflows")->trigger();
        QVERIFY(GlobalVariables::Message_Center_Running);
        QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 1);
        QCOMPARE(Control<List_View>(&window, "ListOutbox")->Row_Count(), 1);

        QTRY_COMPARE_WITH_TIMEOUT(server.Messages().size(), 1, 20000);
        QTRY_COMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
        QCOMPARE(Control<List_View>(&window, "ListOutbox")->Row_Count(), 0);
        const Received_Mail mail = server.Messages().first();
        QCOMPARE(mail.from, QString("sales@example.com"));
        QCOMPARE(mail.to, QStringList({"ann@example.com"}));
        QVERIFY(mail.data.contains("Subject: Welcome Ann\r\n"));
        QVERIFY(mail.data.endsWith("\r\n\r\nDear Ann,\r\n.\r\nBye\r\n"));
        QList<QSqlRecord> history = db.Select("SELECT * FROM Eventhistory WHERE ContactID = ? ORDER BY ID", {ann});
        QCOMPARE(history.size(), 1);
        QCOMPARE(history[0].value("Timeline_Step_Number").toInt(), 1);
        QCOMPARE(history[0].value("Event_Type").toString(), QString("Email Out"));
        QCOMPARE(history[0].value("EventSubject").toString(), QString("Welcome Ann"));

        Stop_Message_Center();
        QTRY_VERIFY(!Message_Center());
        QVERIFY(dialogs.messages.isEmpty());

        // Next run, a day later: step 2 is not due yet.
        clock.Set(start.addDays(1));
        Update_Settings([](Program_Settings& s) { s.Automatically_Send_Emails = false; });
        Control<QAction>(&window, "mnuProcessWorkflows")->trigger();
        QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 0);

        // Two days after the start it is, and it goes the same way.
        clock.Set(start.addDays(2).addSecs(30));
        Update_Settings([](Program_Settings& s) { s.Automatically_Send_Emails = true; });
        Control<QAction>(&window, "mnuProcessWorkflows")->trigger();
        const QSqlRecord posted = db.Select_First("SELECT * FROM Outbox");
        QCOMPARE(posted.value("Out_Timeline_Event_Number").toInt(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(server.Messages().size(), 2, 20000);
        QTRY_COMPARE(db.Scalar("SELECT count(*) FROM Eventhistory WHERE Timeline_Step_Number = 2").toInt(), 1);
        QVERIFY(server.Messages()[1].data.contains("Subject: Still interested, Ann?\r\n"));
        Stop_Message_Center();
        QTRY_VERIFY(!Message_Center());
        QCOMPARE(dialogs.Texts(),
                 QStringList({"All Prospects Have Been Processed. Revise them using the respective viewers."}));
        QCOMPARE(db.Scalar("SELECT sum(NumOfEvents) FROM Stats WHERE Event = 'Messages Sent'").toInt(), 2);
        SMTP_Session::Set_Port_Override(0);
    }
};

QTEST_MAIN(Workflow_Smtp_Test)
#include "tst_workflow_smtp.moc"
