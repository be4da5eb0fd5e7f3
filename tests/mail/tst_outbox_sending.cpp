// The outbox sending steps both senders share: the due rows, the copy rule,
// filing a sent row in one transaction and the rows sent but not filed.

#include <QtTest>

#include "Event_History.h"
#include "GlobalVariables.h"
#include "Outbox_Posting.h"
#include "Outbox_Sending.h"
#include "Process_State.h"
#include "Recording_Main_Window.h"
#include "Settings.h"
#include "Test_Support.h"

namespace {

struct Outbox_Fixture {
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Recording_Main_Window window;
    Database db{folder.Db()};
    qint64 contact = db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Ann', 'ann@example.com')");

    qint64 Add(const QString& type, int due_minutes, const QString& subject = "Offer", qint64 to_contact = -1)
    {
        return db.Insert("INSERT INTO Outbox (Out_Contact_ID, Product_Name, Out_Event_Type, "
                         "Out_Timeline_Event_Number, ToEmail, ToEmailName, Subject, Message, FromEmail, "
                         "Date_To_Execute_Event, Date_Sent_To_Outbox) VALUES (?, 'Car', ?, 2, "
                         "'ann@example.com', 'Ann', ?, 'Body', 'sales@example.com', ?, ?)",
                         {to_contact < 0 ? contact : to_contact, type, subject,
                          clock.Now().addSecs(60 * due_minutes), clock.Now().addSecs(-3600)});
    }
    int Count(const QString& sql) { return db.Scalar(sql).toInt(); }
    Sent_Filing Filing(bool hand_over = false) { return Sent_Filing{clock.Now(), "sales@example.com", hand_over}; }
};

} // namespace

class Outbox_Sending_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_due_emails_are_the_email_types_due_before_the_bound()
    {
        Outbox_Fixture f;
        const qint64 email = f.Add("Email Out", -5);
        const qint64 quote = f.Add("Sent Quote", -1);
        f.Add("Email Out", 0);     // due exactly now: not yet
        f.Add("Email Out", 10);
        f.Add("Send Quote", -5);
        f.Add("Call Out", -5);
        f.Add("To Do", -5);
        QCOMPARE(Due_Outbox_Emails(f.clock.Now()), (QList<qint64>{email, quote}));
        QVERIFY(Is_Outbox_Email_Type("Email Out") && Is_Outbox_Email_Type("Sent Quote"));
        QVERIFY(!Is_Outbox_Email_Type("Send Quote") && !Is_Outbox_Email_Type("email out"));
        f.db.Execute("DELETE FROM Outbox WHERE ID = ?", {email});
        QVERIFY(Outbox_Row_Now(email).isEmpty());
        QCOMPARE(Outbox_Row_Now(quote).value("Subject").toString(), QString("Offer"));
    }

    void the_copy_goes_to_the_cc_address_unless_the_row_goes_there_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("cc");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("copy");
        QTest::newRow("on") << true << " boss@example.com " << "ann@example.com" << "boss@example.com";
        QTest::newRow("off") << false << "boss@example.com" << "ann@example.com" << "";
        QTest::newRow("no address") << true << "  " << "ann@example.com" << "";
        QTest::newRow("the row goes there") << true << "Boss@Example.com" << " boss@example.com" << "";
    }
    void the_copy_goes_to_the_cc_address_unless_the_row_goes_there()
    {
        QFETCH(bool, enabled);
        QFETCH(QString, cc);
        QFETCH(QString, to);
        QFETCH(QString, copy);
        Update_Settings([&](Program_Settings& s) {
            s.Enabled_Cc_Redirection = enabled;
            s.Cc_Address = cc;
        });
        QCOMPARE(Cc_Copy_Address(to), copy);
        Reset_Process_State();
    }

    void a_sent_row_is_filed_with_its_files_and_leaves_outbox_and_lists()
    {
        Outbox_Fixture f;
        GlobalVariables::Outbox_List_Loaded = true;
        f.window.shown_contact_id = QString::number(f.contact);
        const qint64 id = f.Add("Email Out", -5);
        const QString file = f.folder.Write_File("Attachments/a.txt", "a");
        f.db.Execute("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) "
                     "VALUES (?, ?, 'a.txt')",
                     {id, file});
        const QSqlRecord row = Outbox_Row_Now(id);
        f.window.Add_List_Row(Main_List::Outbox,
                              {Make_Outbox_Key("ann@example.com", Db_To_Date(row.value("Date_Sent_To_Outbox"))),
                               {}, {}, {}, {}});

        QVERIFY(File_Sent_Outbox_Row(row, f.Filing(true)));
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(Outbox_Row_Now(id).isEmpty());
        const QSqlRecord event = f.db.Select_First("SELECT * FROM Eventhistory");
        QCOMPARE(event.value("Sender").toString(), QString("sales@example.com"));
        QCOMPARE(event.value("Timeline_Step_Number").toInt(), 2);
        QCOMPARE(event.value("Has_Attachments").toInt(), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Attachments WHERE Link_Database = 'E'"), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox_Attachments"), 0);
        QCOMPARE(f.window.List_Row_Count(Main_List::Outbox), 0);
        QCOMPARE(f.window.List_Row_Count(Main_List::Events), 1);
        QCOMPARE(f.window.gone_outbox_entries, QList<qint64>{id});
    }

    void an_event_that_cannot_be_written_does_not_keep_the_row()
    {
        Outbox_Fixture f;
        const qint64 id = f.Add("Email Out", -5);
        f.db.Execute("CREATE TRIGGER no_events BEFORE INSERT ON Eventhistory "
                     "BEGIN SELECT RAISE(ABORT, 'history is locked'); END");
        QVERIFY(File_Sent_Outbox_Row(Outbox_Row_Now(id), f.Filing()));
        QVERIFY(Outbox_Row_Now(id).isEmpty());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages.first().text.contains("could not be written into the contact's history"));
        QVERIFY(f.dialogs.messages.first().text.contains("history is locked"));
    }

    void a_row_that_cannot_leave_the_outbox_is_filed_later_as_it_was_sent()
    {
        Outbox_Fixture f;
        GlobalVariables::Outbox_List_Loaded = true;
        f.window.shown_contact_id = QString::number(f.contact);
        const qint64 id = f.Add("Email Out", -5, "As sent");
        const qint64 other = f.Add("Email Out", -5, "Other");
        f.db.Execute("CREATE TRIGGER keep_outbox BEFORE DELETE ON Outbox "
                     "BEGIN SELECT RAISE(ABORT, 'outbox is locked'); END");
        QVERIFY(!File_Sent_Outbox_Row(Outbox_Row_Now(id), f.Filing()));
        // Nothing of it is filed, not even its row in the event list.
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory"), 0);
        QCOMPARE(f.window.List_Row_Count(Main_List::Events), 0);
        QVERIFY(f.window.gone_outbox_entries.isEmpty());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages.first().text.startsWith("The e-mail to ann@example.com was sent, but it could "
                                                           "not be filed"));
        QVERIFY(f.dialogs.messages.first().text.contains("outbox is locked"));
        // It is not due again, and while the database refuses, its filing waits.
        QCOMPARE(Due_Outbox_Emails(f.clock.Now()), QList<qint64>{other});
        QString failure;
        QVERIFY(!File_Unfiled_Outbox_Rows(&failure));
        QVERIFY(failure.startsWith("The e-mail to ann@example.com was sent, but it could not be filed"));
        QCOMPARE(f.dialogs.messages.size(), 1);

        // Edited meanwhile, it is still filed as it went out, once.
        f.db.Execute("DROP TRIGGER keep_outbox");
        f.db.Execute("UPDATE Outbox SET Subject = 'Edited' WHERE ID = ?", {id});
        QVERIFY(File_Unfiled_Outbox_Rows());
        QVERIFY(File_Unfiled_Outbox_Rows());
        QVERIFY(Outbox_Row_Now(id).isEmpty());
        QCOMPARE(f.db.Scalar("SELECT group_concat(EventSubject) FROM Eventhistory").toString(), QString("As sent"));
        QCOMPARE(f.window.gone_outbox_entries, QList<qint64>{id});
        QCOMPARE(Due_Outbox_Emails(f.clock.Now()), QList<qint64>{other});
    }

    void a_new_start_forgets_the_taken_outbox_and_the_rows_not_filed()
    {
        Outbox_Fixture f;
        const qint64 id = f.Add("Email Out", -5);
        f.db.Execute("CREATE TRIGGER keep_outbox BEFORE DELETE ON Outbox "
                     "BEGIN SELECT RAISE(ABORT, 'outbox is locked'); END");
        QVERIFY(!File_Sent_Outbox_Row(Outbox_Row_Now(id), f.Filing()));
        QVERIFY(Due_Outbox_Emails(f.clock.Now()).isEmpty());
        auto* taken = new Outbox_Sending_Guard(Outbox_Sender::Smtp);
        QVERIFY(Outbox_Sending() == Outbox_Sender::Smtp);

        const QString database = GlobalVariables::Database_Path;
        Reset_Process_State();
        QVERIFY(Outbox_Sending() == Outbox_Sender::None);
        GlobalVariables::Database_Path = database;
        QCOMPARE(Due_Outbox_Emails(f.clock.Now()), QList<qint64>{id});
        delete taken;
    }
};

QTEST_GUILESS_MAIN(Outbox_Sending_Test)
#include "tst_outbox_sending.moc"
