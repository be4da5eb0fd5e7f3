// The sending window follows the SMTP sender: shown while the sender starts,
// hidden while its cycle runs, its panels as the sender has them, and closed
// when the cycle ends.

#include <QLabel>
#include <QProgressBar>
#include <QtTest>

#include "GlobalVariables.h"
#include "MessageCenter.h"
#include "Recording_Main_Window.h"
#include "SMTP_Sender.h"
#include "SMTP_Session.h"
#include "Settings.h"
#include "Smtp_Test_Server.h"
#include "Test_Support.h"
#include "Workflow_Run.h"

class Message_Center_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_window_shows_the_start_follows_the_cycle_and_closes_with_it()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Test_Program_Folder folder;
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        Recording_Main_Window main_window;
        Update_Settings([](Program_Settings& s) {
            s.SMTP_Server = "127.0.0.1";
            s.DefaultEmailAddress = "owner@example.com";
            s.Automatically_Send_Emails = true;
        });
        SMTP_Session::Set_Port_Override(server.Port());
        Database db = folder.Db();
        const qint64 ann = db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Ann', 'ann@example.com')");
        db.Execute("INSERT INTO Outbox (Out_Contact_ID, Out_Event_Type, ToEmail, Subject, Message, FromEmail, "
                   "Date_To_Execute_Event, Date_Sent_To_Outbox) VALUES (?, 'Email Out', 'ann@example.com', "
                   "'One', 'Body', 'sales@example.com', ?, ?)",
                   {ann, clock.Now().addSecs(-60), clock.Now().addSecs(-120)});

        // The workflow run starts the sender through the window's starter.
        Install_Smtp_Sender();
        Process_All_Contacts();
        MessageCenter* window = Message_Center();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QString("Brackenlead Mailer"));
        QCOMPARE(window->Label1->text(), QString("Brackenlead for Windows Mailer"));
        QCOMPARE(window->ProgressBar1->maximum(), 99);
        QVERIFY(&window->Sender() == Running_Smtp_Sender());
        // A second start while it runs opens no second window.
        Load_Message_Center();
        QCOMPARE(Message_Center(), window);

        QTRY_VERIFY(!window->isVisible());
        QTRY_COMPARE(server.Messages().size(), 1);
        QTRY_COMPARE(window->Panel_Text(1), QString("Brackenlead is done"));
        QCOMPARE(window->Panel_Text(2), QString("All Messages Sent"));
        QVERIFY(window->ProgressBar1->isHidden());

        Stop_Message_Center();
        QTRY_VERIFY(!Message_Center());
        QVERIFY(!Running_Smtp_Sender());
        QVERIFY(!GlobalVariables::Message_Center_Running);
        QVERIFY(dialogs.messages.isEmpty());
        SMTP_Session::Set_Port_Override(0);
    }
};

QTEST_MAIN(Message_Center_Test)
#include "tst_message_center.moc"
