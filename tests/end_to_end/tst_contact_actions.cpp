// Acting on a contact as a user does, with the mouse on the toolbars and tabs:
// an e-mail composed from a template, spell-checked and sent through the mail
// client (msmtp to a real SMTP server), a to-do scheduled and completed from
// the To Do tab, and the contact's history printed to a PDF.

#include <QFileInfo>
#include <QSqlRecord>
#include <QToolButton>
#include <QtTest>

#include "../mainwindow/Main_Window_Test_Support.h"
#include "Data_Access.h"
#include "Msmtp_Sendmail.h"
#include "Report_Capture.h"
#include "Scripted_Spell_Check.h"
#include "Smtp_Test_Server.h"

namespace {

struct User_Fixture : Window_With_Mail_Store {
    qint64 ann = 0;

    User_Fixture()
    {
        ann = s.Db().Insert("INSERT INTO Contacts (FirstName, LastName, Email, Product, Year, Make, Model) "
                            "VALUES ('Ann', 'Lee', 'ann@example.com', 'Car', '98', 'Ford', 'Focus')");
        s.Db().Execute("UPDATE Settings SET DefaultEmailAddress = 'sales@dealer.example', DefaultEmailName = 'Sales'");
    }
    void Click_Button(const char* toolbar, const QString& key) { Click_Button_On_Screen(w, toolbar, key); }
    void Click_Tab(int number) { Click_Tab_On_Screen(w, number); }
};

} // namespace

class tst_contact_actions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void an_e_mail_from_a_template_is_spell_checked_sent_and_filed()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Msmtp_Sendmail sendmail(server.Port());
        User_Fixture f;
        Scripted_Spell_Check speller;
        speller.changes = {{"recieve", "receive"}};
        f.s.Db().Execute("INSERT INTO emailformats (FormatID, EmailSubject, EmailMessage) VALUES ('Visit', "
                         "'Your [Year] [Make] [Model]', 'Dear [Firstname],\r\nyou will recieve the keys on Friday.')");
        f.Start();

        f.Click_Button("ToolContactActions", "Send_Email");
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameEmailOutView"));
        Choose(f.C<QComboBox>("lstSendEmailTemplate"), "Visit");
        f.Click_Button("ToolEmailComposer", "Spell");
        QCOMPARE(f.C<QTextEdit>("txtFrameEmailOutMessage")->toPlainText(),
                 QString("Dear Ann,\nyou will receive the keys on Friday."));
        f.Click_Button("ToolEmailComposer", "SendEmail");
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));

        f.Click_Tab(4);
        QCOMPARE(f.C<List_View>("ListOutbox")->Row_Count(), 1);
        f.Click_Button("ToolOutboxAll", "MapiSend");
        QTRY_COMPARE(server.Messages().size(), 1);
        const Received_Mail mail = server.Messages().first();
        QCOMPARE(mail.to, QStringList({"ann@example.com"}));
        QVERIFY(mail.data.contains("Subject: Your 98 Ford Focus"));
        QVERIFY(mail.data.contains("you will receive the keys on Friday."));

        const QList<QSqlRecord> history = f.s.Db().Select("SELECT * FROM Eventhistory WHERE ContactID = ?", {f.ann});
        QCOMPARE(history.size(), 1);
        QCOMPARE(history[0].value("Event_Type").toString(), QString("Email Out"));
        QCOMPARE(history[0].value("EventSubject").toString(), QString("Your 98 Ford Focus"));
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
        QCOMPARE(f.C<List_View>("ListOutbox")->Row_Count(), 0);
        QVERIFY(f.s.dialogs.messages.isEmpty());
    }

    void a_scheduled_to_do_is_completed_from_the_to_do_tab()
    {
        User_Fixture f;
        f.Start();
        Click_Tool_Menu(f.w, "ToolContactActions", "Schedule", "To Do");
        QTest::keyClicks(f.C<QLineEdit>("txtFrameSchedule_Subject"), "Bring the papers");
        QTest::keyClicks(f.C<QPlainTextEdit>("txtFrameSchedule_Message"), "Registration and insurance");
        f.C<QLineEdit>("txtFrameSchedule_Hour")->selectAll();
        QTest::keyClicks(f.C<QLineEdit>("txtFrameSchedule_Hour"), "15");
        f.Click_Button("ToolSchedule", "Schedule");
        const QSqlRecord entry = f.s.Db().Select_First("SELECT * FROM Outbox");
        QCOMPARE(entry.value("Out_Event_Type").toString(), QString("To Do"));
        QCOMPARE(entry.value("Subject").toString(), QString("Bring the papers"));
        // A file the entry carries (a workflow's to-do may have one) leaves with it.
        const QString file = f.s.folder.Write_File("Attachments/papers.pdf", "PDF");
        f.s.Db().Insert("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) "
                        "VALUES (?, ?, 'papers.pdf')",
                        {entry.value("ID"), file});

        f.Click_Tab(2);
        List_View* todo = f.C<List_View>("ListToDo");
        QCOMPARE(todo->Row_Count(), 1);
        Click_Row(todo, todo->Row_At(1));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameRecordCall"));
        QCOMPARE(f.C<QLabel>("lblRecordCall_MainHeader")->text(), QString("To Do"));
        f.Click_Button("ToolRecord", "Record");

        const QList<QSqlRecord> history = f.s.Db().Select("SELECT * FROM Eventhistory WHERE ContactID = ?", {f.ann});
        QCOMPARE(history.size(), 1);
        QCOMPARE(history[0].value("Event_Type").toString(), QString("To Do"));
        QCOMPARE(history[0].value("EventSubject").toString(), QString("Bring the papers"));
        QCOMPARE(history[0].value("EventMessage").toString(), QString("Registration and insurance"));
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox_Attachments").toInt(), 0);
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(todo->Row_Count(), 0);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
        QCOMPARE(f.C<List_View>("ListEvents")->Row_Count(), 1);
        QVERIFY(f.s.dialogs.messages.isEmpty());
    }

    void the_printed_history_holds_the_event_subjects()
    {
        User_Fixture f;
        Captured_Reports reports;
        for (const auto& [day, subject] : {std::pair{2, "Asked about financing"}, std::pair{4, "Test drive booked"}})
            f.s.Db().Execute("INSERT INTO Eventhistory (ContactID, EventDate, Event_Type, EventSubject, EventMessage, "
                             "EventRead, Event_Unique_ID) VALUES (?, ?, 'Outgoing Call', ?, 'Notes of the call', 1, ?)",
                             {f.ann, QDateTime(QDate(2026, 12, day), QTime(11, 0)), QString(subject),
                              QString::number(day)});
        f.Start();
        Click_Tool_Menu(f.w, "ToolContactActions", "Print", "PrintAll");
        QCOMPARE(reports.reports.size(), 1);
        const QString text = reports.Last_Pdf_Text();
        QVERIFY2(text.contains("Asked about financing") && text.contains("Test drive booked"), qPrintable(text));
        QVERIFY(text.contains("Ann Lee"));
        QVERIFY(text.indexOf("Test drive booked") < text.indexOf("Asked about financing"));
    }
};

QTEST_MAIN(tst_contact_actions)
#include "tst_contact_actions.moc"
