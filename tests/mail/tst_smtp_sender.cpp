#include <QtTest>

#include <QSet>
#include <QTimer>

#include "Database.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Outbox_List_Rows.h"
#include "Outbox_Posting.h"
#include "Recording_Main_Window.h"
#include "SMTP_Sender.h"
#include "SMTP_Session.h"
#include "Smtp_Test_Server.h"
#include "Test_Support.h"
#include "Settings.h"

namespace {

struct Sending_Fixture {
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Recording_Main_Window window;
    qint64 contact = 0;

    explicit Sending_Fixture(int port)
    {
        Update_Settings([](Program_Settings& s) {
            s.SMTP_Server = "127.0.0.1";
            s.DefaultEmailAddress = "owner@example.com";
            s.Automatically_Send_Emails = true;
        });
        // As while the sending cycle runs (cleared by the program's exit).
        GlobalVariables::Message_Center_Running = true;
        SMTP_Session::Set_Port_Override(port);
        Database db = folder.Db();
        db.Execute("INSERT INTO Products (Product) VALUES ('Car')");
        contact = db.Insert("INSERT INTO Contacts (FirstName, Email, Product) VALUES ('Ann', 'ann@example.com', 'Car')");
    }
    ~Sending_Fixture() { SMTP_Session::Set_Port_Override(0); }

    qint64 Add_Row(const QString& to, const QString& subject, int minutes_due = -1,
                   const QString& type = "Email Out", qint64 contact_id = -1)
    {
        const QDateTime sent = clock.Now().addSecs(-3600 + 60 * Rows());
        return folder.Db().Insert(
            "INSERT INTO Outbox (Out_Contact_ID, Product_Name, Out_Event_Type, Out_Timeline_Event_Number, "
            "ToEmail, ToEmailName, Subject, Message, FromEmail, FromEmailName, Date_To_Execute_Event, "
            "Date_Sent_To_Outbox, Lead_Time) VALUES (?, 'Car', ?, 3, ?, 'Name', ?, 'Body', "
            "'sales@example.com', 'Sales', ?, ?, 0)",
            {contact_id < 0 ? contact : contact_id, type, to, subject,
             clock.Now().addSecs(60 * minutes_due), sent});
    }
    int Rows() { return folder.Db().Scalar("SELECT count(*) FROM Outbox").toInt(); }
    bool Row_Exists(qint64 id) { return !folder.Db().Select_First("SELECT ID FROM Outbox WHERE ID = ?", {id}).isEmpty(); }
    QList<QSqlRecord> History() { return folder.Db().Select("SELECT * FROM Eventhistory ORDER BY ID"); }
    int Sent_Counter()
    {
        return folder.Db().Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Messages Sent'").toInt();
    }
};

} // namespace

class Smtp_Sender_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void outbox_list_rows_and_the_attachment_hand_over()
    {
        Sending_Fixture f(Unused_Port());
        const QDateTime sent(QDate(2026, 12, 1), QTime(9, 30, 15));
        const qint64 with_files = f.Add_Row("ann@example.com", "Files");
        const qint64 without = f.Add_Row("bob@example.com", "None");
        Database db = f.folder.Db();
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            db.Execute("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) "
                       "VALUES (?, ?, ?)",
                       {with_files, f.folder.Path(QString("Attachments/") + name), QString(name)});

        QVERIFY(Add_Outbox_List_Item(with_files, "Ann", "ann@example.com", sent, "Files"));
        QVERIFY(Add_Outbox_List_Item(without, "Bob", "bob@example.com", sent, "None"));
        QVERIFY(!Add_Outbox_List_Item(without, "Bob", "bob@example.com", sent, "None"));
        const QList<List_Row>& rows = f.window.Rows(Main_List::Outbox);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].icon, QString("Clip"));
        QCOMPARE(rows[1].icon, QString("Remove"));
        QCOMPARE(rows[1].texts, QStringList({"Bob", "bob@example.com", "None"}));
        QCOMPARE(rows[1].key, Make_Outbox_Key("bob@example.com", sent));

        // Removing gives the position; a row that is not listed is no error.
        QCOMPARE(Remove_Outbox_List_Item("bob@example.com", sent), 2);
        QCOMPARE(Remove_Outbox_List_Item("bob@example.com", sent), 0);
        QCOMPARE(Remove_Outbox_List_Item("nobody@example.com", sent), 0);

        QCOMPARE(Move_Outbox_Attachments_To_Event(without, 42), 0);
        QCOMPARE(Move_Outbox_Attachments_To_Event(with_files, 42), 3);
        const QList<QSqlRecord> moved = db.Select(
            "SELECT * FROM Attachments WHERE Link_ID = 42 AND Link_Database = 'E' ORDER BY rowid");
        QCOMPARE(moved.size(), 3);
        QCOMPARE(moved[0].value("Attachment_Final_Name").toString(), QString("a.txt"));
        QCOMPARE(moved[2].value("Attachment_Path_Name").toString(), f.folder.Path("Attachments/c.txt"));
        QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox_Attachments").toInt(), 0);
    }

    void a_batch_sends_files_and_removes_the_due_rows()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        GlobalVariables::Outbox_List_Loaded = true;
        const qint64 a = f.Add_Row("ann@example.com", "One");
        const qint64 quote = f.Add_Row("bob@example.com", "Quote", -1, "Sent Quote");
        const qint64 later = f.Add_Row("cy@example.com", "Later", 60);
        const qint64 now_due = f.Add_Row("cy@example.com", "Exactly now", 0);
        const qint64 call = f.Add_Row("di@example.com", "Call", -1, "Call Out");
        const qint64 no_contact = f.Add_Row("ed@example.com", "Broadcast", -1, "Email Out", 0);
        const QSqlRecord first = f.folder.Db().Select_First("SELECT * FROM Outbox WHERE ID = ?", {a});
        f.window.Add_List_Row(Main_List::Outbox, List_Row{Make_Outbox_Key("ann@example.com",
                                                                          Db_To_Date(first.value("Date_Sent_To_Outbox"))),
                                                          {}, {}, {}, {}});

        SMTP_Sender sender;
        sender.Send_All_Messages();

        QCOMPARE(sender.Sent_In_Last_Batch(), 3);
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(!f.Row_Exists(a) && !f.Row_Exists(quote) && !f.Row_Exists(no_contact));
        QVERIFY(f.Row_Exists(later) && f.Row_Exists(now_due) && f.Row_Exists(call));
        QCOMPARE(f.window.Rows(Main_List::Outbox).size(), 0);

        const QList<QSqlRecord> history = f.History();
        QCOMPARE(history.size(), 2);
        QCOMPARE(history[0].value("ContactID").toLongLong(), f.contact);
        QCOMPARE(history[0].value("Event_Type").toString(), QString("Email Out"));
        QCOMPARE(history[0].value("Timeline_Step_Number").toInt(), 3);
        QCOMPARE(history[0].value("Sender").toString(), QString("sales@example.com"));
        QCOMPARE(history[0].value("EventSubject").toString(), QString("One"));
        QCOMPARE(history[0].value("EventRead").toInt(), 1);
        QCOMPARE(history[1].value("Event_Type").toString(), QString("Sent Quote"));
        QCOMPARE(f.Sent_Counter(), 3);

        QTRY_COMPARE(server.Messages().size(), 3);
        QCOMPARE(server.Messages()[0].to, QStringList({"ann@example.com"}));
        QCOMPARE(sender.Panel_Text(1), QString("Brackenlead is done"));
        QCOMPARE(sender.Panel_Text(2), QString("All Messages Sent"));
        QCOMPARE(sender.Session.Last_SMTP_Verb, QString("QUIT"));
    }

    void an_empty_outbox_shows_its_texts_only()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        SMTP_Sender sender;
        sender.Send_All_Messages();
        QCOMPARE(sender.Panel_Text(1), QString("Brackenlead is done"));
        QCOMPARE(sender.Panel_Text(2), QString("All Messages Sent"));
        QVERIFY(sender.Session.Last_SMTP_Verb.isEmpty());
        QCOMPARE(f.clock.paused_seconds, 3.0);
        QVERIFY(f.folder.Db().Select("SELECT * FROM Stats").isEmpty());
    }

    void missing_settings_stop_the_batch_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no server") << "" << "owner@example.com" << "There is no valid SMTP server to send e-mail to.";
        QTest::newRow("shipped server") << "NetSMTPServer" << "owner@example.com"
                                        << "The SMTP Server settings have not been set. Go to setting and set the SMTP.";
        QTest::newRow("shipped sender") << "127.0.0.1" << QString(Placeholder_Default_Email_Address)
                                        << "The default e-mail address has not been set. Go to settings, set it, and run this option again.";
    }
    void missing_settings_stop_the_batch()
    {
        QFETCH(QString, server);
        QFETCH(QString, sender);
        QFETCH(QString, shown);
        Sending_Fixture f(Unused_Port());
        Update_Settings([&](Program_Settings& s) {
            s.SMTP_Server = server;
            s.DefaultEmailAddress = sender;
        });
        const qint64 a = f.Add_Row("ann@example.com", "One");
        SMTP_Sender smtp;
        smtp.Send_All_Messages();
        QCOMPARE(f.dialogs.Texts(), QStringList({shown}));
        QVERIFY(f.Row_Exists(a));
    }

    void a_refused_message_does_not_hold_back_the_others()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        const qint64 refused = f.Add_Row("refuse@example.com", "Refused");
        const qint64 fine = f.Add_Row("ann@example.com", "Fine");
        SMTP_Sender sender;
        sender.Send_All_Messages();
        QVERIFY(f.Row_Exists(refused));
        QVERIFY(!f.Row_Exists(fine));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].title, QString("Error From Server"));
        // It rests for the next cycles, then it is tried again, alone.
        sender.Send_All_Messages();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(sender.Panel_Text(1), QString("Brackenlead is done"));
        f.clock.Advance(121);
        sender.Send_All_Messages();
        QCOMPARE(f.dialogs.messages.size(), 2);
        QVERIFY(f.Row_Exists(refused));
        QTRY_COMPARE(server.Messages().size(), 1);
        QCOMPARE(f.History().size(), 1);
    }

    void a_row_deleted_or_edited_during_the_batch_goes_as_it_stands()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        f.Add_Row("ann@example.com", "First");
        const qint64 deleted = f.Add_Row("ann@example.com", "Deleted meanwhile");
        const qint64 edited = f.Add_Row("ann@example.com", "Edited meanwhile");
        // While the first one goes out, the user deletes one entry and edits another.
        QTimer::singleShot(0, [&] {
            f.folder.Db().Execute("DELETE FROM Outbox WHERE ID = ?", {deleted});
            f.folder.Db().Execute("UPDATE Outbox SET Message = 'New body' WHERE ID = ?", {edited});
        });
        SMTP_Sender sender;
        sender.Send_All_Messages();
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.Texts().join("\n")));
        QTRY_COMPARE(server.Messages().size(), 2);
        QVERIFY(server.Messages().at(0).data.contains("Subject: First\r\n"));
        QVERIFY(server.Messages().at(1).data.contains("Subject: Edited meanwhile\r\n"));
        QVERIFY(server.Messages().at(1).data.contains("\r\nNew body\r\n"));
        QCOMPARE(f.Rows(), 0);
        QCOMPARE(f.History().size(), 2);
        QCOMPARE(f.History().at(1).value("EventMessage").toString(), QString("New body"));
    }

    void a_connection_closed_in_the_data_keeps_the_row_for_a_retry()
    {
        Smtp_Test_Server server(Smtp_Test_Server::Mode::Hang_Up_In_Data);
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        const qint64 a = f.Add_Row("ann@example.com", "One");
        const qint64 b = f.Add_Row("bob@example.com", "Two");
        SMTP_Sender sender;
        sender.Send_All_Messages();
        QVERIFY(f.Row_Exists(a));
        QVERIFY(f.Row_Exists(b));
        QVERIFY(f.History().isEmpty());
        QCOMPARE(f.Sent_Counter(), 0);
        // The data went out, so the server may have it: the row rests and goes again later.
        QCOMPARE(f.dialogs.Texts(), QStringList({"Send SMTP E-mail failed. The server took the e-mail to "
                                                 "ann@example.com but did not confirm it (The server closed the "
                                                 "connection.). It stays in the outbox and goes again later as the "
                                                 "same message (try 1 of 3)."}));
    }

    // A server that misbehaves costs one message for the batch and takes no
    // row for sent.
    void a_misbehaving_server_keeps_every_row_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("kept");   // messages whose data the server received
        using M = Smtp_Test_Server::Mode;
        QTest::newRow("DATA answered 250") << int(M::Data_Answered_250)
            << "The server's reply to DATA was not the 354 due: 250 OK" << 0;
        QTest::newRow("an extra reply after HELO") << int(M::Extra_Reply_After_Helo)
            << "The server sent a reply nobody asked for: 250 one more" << 0;
        QTest::newRow("421 greeting") << int(M::Greeting_421) << "4.3.2 Service not available, closing channel" << 0;
        QTest::newRow("421 to MAIL FROM") << int(M::Mail_421) << "4.7.0 Try again later, closing channel" << 0;
        QTest::newRow("an endless reply line") << int(M::Endless_Line)
            << "The server sent a reply line longer than 4096 bytes." << 0;
        QTest::newRow("no reply to the final dot") << int(M::No_Reply_To_Dot)
            << "Send SMTP E-mail failed. The server took the e-mail to ann@example.com but did not confirm it (no "
               "reply came in time). It stays in the outbox and goes again later as the same message (try 1 of 3)."
            << 1;
    }
    void a_misbehaving_server_keeps_every_row()
    {
        QFETCH(int, mode);
        QFETCH(QString, shown);
        QFETCH(int, kept);
        Smtp_Test_Server server{Smtp_Test_Server::Mode(mode)};
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        const QList<qint64> rows = {f.Add_Row("ann@example.com", "One"), f.Add_Row("bob@example.com", "Two"),
                                    f.Add_Row("cy@example.com", "Three")};
        SMTP_Sender sender;
        sender.Send_All_Messages();
        QCOMPARE(f.dialogs.Texts(), QStringList({shown}));
        for (const qint64 id : rows)
            QVERIFY(f.Row_Exists(id));
        QVERIFY(f.History().isEmpty());
        QCOMPARE(f.Sent_Counter(), 0);
        QCOMPARE(server.Messages().size(), kept);
        // The next batch tries again, and again costs one message.
        f.clock.Advance(121);
        sender.Send_All_Messages();
        QCOMPARE(f.dialogs.messages.size(), 2);
        for (const qint64 id : rows)
            QVERIFY(f.Row_Exists(id));
        QVERIFY(f.History().isEmpty());
    }

    // The server takes the data but never confirms it: the row goes again a
    // bounded number of times, always as the same message, each time said.
    void an_unconfirmed_message_is_tried_a_few_times_with_one_message_id()
    {
        Smtp_Test_Server server(Smtp_Test_Server::Mode::Close_After_Dot);
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        const qint64 a = f.Add_Row("ann@example.com", "One");
        SMTP_Sender sender;
        for (int batch = 1; batch <= 5; ++batch) {
            sender.Send_All_Messages();
            f.clock.Advance(121);
        }
        QTRY_COMPARE(server.Messages().size(), 3);
        QTest::qWait(100);
        QCOMPARE(server.Messages().size(), 3);
        QVERIFY(f.Row_Exists(a));
        QVERIFY(f.History().isEmpty());
        QCOMPARE(f.Sent_Counter(), 0);
        const QStringList texts = f.dialogs.Texts();
        QCOMPARE(texts.size(), 3);
        QVERIFY(texts[0].endsWith("(try 1 of 3)."));
        QVERIFY(texts[1].endsWith("(try 2 of 3)."));
        QCOMPARE(texts[2], QString("The e-mail to ann@example.com was handed to the server 3 times and never "
                                   "confirmed (The server closed the connection.); it may have arrived. It stays "
                                   "in the outbox and is not sent again until the program starts again."));
        QSet<QByteArray> ids;
        for (const Received_Mail& mail : server.Messages()) {
            const QByteArray data = mail.data;
            const int at = data.indexOf("\r\nMessage-Id: <");
            QVERIFY(at >= 0);
            ids << data.mid(at + 2, data.indexOf("\r\n", at + 2) - at - 2);
        }
        QCOMPARE(ids.size(), 1);
        QVERIFY2(ids.begin()->endsWith("@example.com>"), ids.begin()->constData());

        // Another row is not held back by the one that is held; a copy of the
        // program started afresh sends the held one as that same message.
        const qint64 b = f.Add_Row("bob@example.com", "Two");
        Smtp_Test_Server good;
        SMTP_Session::Set_Port_Override(good.Port());
        sender.Send_All_Messages();
        QVERIFY(!f.Row_Exists(b));
        QVERIFY(f.Row_Exists(a));
        QTRY_COMPARE(good.Messages().size(), 1);
        QCOMPARE(good.Messages()[0].to, QStringList({"bob@example.com"}));
    }

    // Exit with a message in hand on a server that hangs: a few seconds, then
    // the connection closes and the row stays for the next run.
    void exit_gives_a_hanging_message_a_few_seconds_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("no reply at all") << int(Smtp_Test_Server::Mode::Silent);
        QTest::newRow("no reply to the final dot") << int(Smtp_Test_Server::Mode::No_Reply_To_Dot);
    }
    void exit_gives_a_hanging_message_a_few_seconds()
    {
        QFETCH(int, mode);
        Smtp_Test_Server server{Smtp_Test_Server::Mode(mode)};
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        const qint64 a = f.Add_Row("ann@example.com", "One");
        GlobalVariables::Message_Center_Running = false;
        Start_Smtp_Sender();
        // Exit is chosen once the message is under way.
        QDateTime exit_at;
        QDateTime exit_done;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            SMTP_Sender* sender = Running_Smtp_Sender();
            if (exit_at.isValid() || !sender || !sender->Session.Busy() || !sender->Session.Socket_Connected)
                return;
            exit_at = f.clock.Now();
            Stop_Smtp_Sender();
            exit_done = f.clock.Now();
        });
        watch.start(0);
        QTRY_VERIFY(exit_done.isValid());
        QTRY_VERIFY(!Running_Smtp_Sender());
        watch.stop();
        const qint64 waited = exit_at.secsTo(exit_done);
        QVERIFY2(waited >= 5 && waited <= 15, qPrintable(QString::number(waited)));
        QVERIFY(f.Row_Exists(a));
        QVERIFY(f.History().isEmpty());
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.Texts().join("\n")));
    }

    void a_timeout_ends_the_batch_and_keeps_the_rows()
    {
        Smtp_Test_Server server(Smtp_Test_Server::Mode::Silent);
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        const qint64 a = f.Add_Row("ann@example.com", "One");
        const qint64 b = f.Add_Row("bob@example.com", "Two");
        SMTP_Sender sender;
        const QDateTime start = f.clock.Now();
        sender.Send_All_Messages();
        QVERIFY(start.secsTo(f.clock.Now()) >= 120);
        QCOMPARE(f.dialogs.Texts(), QStringList({"Send SMTP E-mail failed. Connection Timed Out!"}));
        QVERIFY(f.Row_Exists(a) && f.Row_Exists(b));
        QVERIFY(f.History().isEmpty());
        QVERIFY(sender.Panel_Text(1).startsWith("Total # of Messages: 2"));
        QVERIFY(!sender.Session.Busy());
    }

    void an_unreachable_server_ends_the_batch_at_once()
    {
        Sending_Fixture f(Unused_Port());
        const qint64 a = f.Add_Row("ann@example.com", "One");
        f.Add_Row("bob@example.com", "Two");
        SMTP_Sender sender;
        const QDateTime start = f.clock.Now();
        sender.Send_All_Messages();
        QVERIFY(start.secsTo(f.clock.Now()) < 60);
        QCOMPARE(f.dialogs.Texts(), QStringList({"Problem with Connection"}));
        QVERIFY(f.Row_Exists(a));
    }

    void an_unreachable_server_is_tried_again_after_a_rest()
    {
        Sending_Fixture f(Unused_Port());
        GlobalVariables::Message_Center_Running = false;
        f.Add_Row("ann@example.com", "One");
        // When, on the clock, each connection problem was reported.
        QList<QDateTime> problems;
        Set_Message_Box_Handler([&](const QString& text, int, const QString&) {
            if (text == "Problem with Connection")
                problems << f.clock.Now();
            return int(vbOK);
        });
        Start_Smtp_Sender();
        QTRY_VERIFY(problems.size() >= 3);
        Stop_Smtp_Sender();
        QTRY_VERIFY(!Running_Smtp_Sender());
        for (int i = 1; i < problems.size(); ++i) {
            const qint64 rest = problems[i - 1].secsTo(problems[i]);
            QVERIFY2(rest >= 120 && rest < 140, qPrintable(QString::number(rest)));
        }
    }

    void exit_during_a_pause_ends_the_cycle_at_once()
    {
        Sending_Fixture f(Unused_Port());
        GlobalVariables::Message_Center_Running = false;
        Start_Smtp_Sender();
        // Exit is chosen while the cycle pauses after a batch.
        double paused_at_exit = -1;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (paused_at_exit < 0 && Running_Smtp_Sender()
                && Running_Smtp_Sender()->Panel_Text(1) == "Brackenlead is done") {
                paused_at_exit = f.clock.paused_seconds;
                Stop_Smtp_Sender();
            }
        });
        watch.start(0);
        QTRY_VERIFY(paused_at_exit >= 0);
        QTRY_VERIFY(!Running_Smtp_Sender());
        watch.stop();
        QVERIFY2(f.clock.paused_seconds - paused_at_exit <= 0.5,
                 qPrintable(QString::number(f.clock.paused_seconds - paused_at_exit)));
    }

    void cc_redirection_sends_a_copy_and_queues_one_that_fails()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        Update_Settings([](Program_Settings& s) {
            s.Enabled_Cc_Redirection = true;
            s.Cc_Address = "boss@example.com";
        });
        f.Add_Row("ann@example.com", "One");
        f.Add_Row("bob@example.com", "Two");
        SMTP_Sender sender;
        sender.Send_All_Messages();
        QCOMPARE(sender.Sent_In_Last_Batch(), 2);
        QTRY_COMPARE(server.Messages().size(), 4);
        QCOMPARE(server.Messages()[1].to, QStringList({"boss@example.com"}));
        QVERIFY(server.Messages()[1].data.contains("Subject: Cc:One\r\n"));
        QVERIFY(server.Messages()[1].data.contains("To: \"boss@example.com\" <boss@example.com>\r\n"));
        QCOMPARE(f.History().size(), 2);   // copies are not filed
        QCOMPARE(f.Rows(), 0);

        // A copy the server refuses goes back into the outbox, as a type the senders take.
        Update_Settings([&](Program_Settings& s) { s.Cc_Address = "refuse-boss@example.com"; });
        f.Add_Row("cy@example.com", "Three");
        sender.Send_All_Messages();
        QVERIFY(f.dialogs.Shown("Send SMTP CC E-mail failed. Connection Timed Out! Adding CC to Outbox"));
        const QList<QSqlRecord> rows = f.folder.Db().Select("SELECT * FROM Outbox");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value("Out_Event_Type").toString(), QString("Email Out"));
        QCOMPARE(rows[0].value("Out_Contact_ID").toLongLong(), 0);
        QCOMPARE(rows[0].value("ToEmail").toString(), QString("refuse-boss@example.com"));
        QCOMPARE(rows[0].value("Subject").toString(), QString("Cc:Three"));
        QCOMPARE(f.History().size(), 3);

        // The queued copy is tried as a row of its own, with no copy of itself.
        const int shown = f.dialogs.messages.size();
        f.clock.Advance(10);
        sender.Send_All_Messages();
        QCOMPARE(f.Rows(), 1);
        QCOMPARE(f.dialogs.messages.size(), shown + 1);
        QCOMPARE(f.dialogs.messages.last().title, QString("Error From Server"));
    }

    void a_sent_row_whose_event_fails_still_leaves_the_outbox()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        const qint64 a = f.Add_Row("ann@example.com", "One");
        f.folder.Db().Execute("CREATE TRIGGER no_events BEFORE INSERT ON Eventhistory "
                              "BEGIN SELECT RAISE(ABORT, 'history is locked'); END");
        SMTP_Sender sender;
        sender.Send_All_Messages();
        QVERIFY(!f.Row_Exists(a));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.contains("was sent, but it could not be written into the contact's history"));
        QVERIFY(f.dialogs.messages[0].text.contains("history is locked"));
        sender.Send_All_Messages();
        QTRY_COMPARE(server.Messages().size(), 1);
        QTest::qWait(200);
        QCOMPARE(server.Messages().size(), 1);
    }

    void a_sent_row_that_cannot_be_removed_is_not_sent_again()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        const qint64 a = f.Add_Row("ann@example.com", "One");
        f.folder.Db().Execute(QString("CREATE TRIGGER keep_outbox BEFORE DELETE ON Outbox WHEN OLD.ID = %1 "
                                      "BEGIN SELECT RAISE(ABORT, 'outbox is locked'); END").arg(a));
        SMTP_Sender sender;
        sender.Send_All_Messages();
        // Filing and removal are one: the event waits with the row.
        QVERIFY(f.Row_Exists(a));
        QCOMPARE(f.History().size(), 0);
        QCOMPARE(f.Sent_Counter(), 1);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.contains("could not be taken out of the outbox"));
        QVERIFY(f.dialogs.messages[0].text.contains("will not be sent again"));

        // The row still cannot go: it is neither sent again nor said again,
        // and the sending goes on with the others.
        const qint64 b = f.Add_Row("bob@example.com", "Two");
        sender.Send_All_Messages();
        QTRY_COMPARE(server.Messages().size(), 2);
        QCOMPARE(server.Messages()[1].to, QStringList({"bob@example.com"}));
        QVERIFY(!f.Row_Exists(b));
        QCOMPARE(f.History().size(), 1);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(GlobalVariables::Message_Center_Running);
        // Once the outbox takes deletes again the row goes, filed once.
        f.folder.Db().Execute("DROP TRIGGER keep_outbox");
        sender.Send_All_Messages();
        QVERIFY(!f.Row_Exists(a));
        QCOMPARE(server.Messages().size(), 2);
        QCOMPARE(f.History().size(), 2);
        QCOMPARE(f.folder.Db().Scalar("SELECT count(*) FROM Eventhistory WHERE EventSubject = 'One'").toInt(), 1);
        QCOMPARE(f.Sent_Counter(), 2);
        QCOMPARE(f.dialogs.messages.size(), 1);
    }

    void the_cycle_runs_on_the_event_loop_and_exit_stops_it_between_messages()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Sending_Fixture f(server.Port());
        const qint64 a = f.Add_Row("ann@example.com", "One");
        const qint64 b = f.Add_Row("bob@example.com", "Two");
        GlobalVariables::Message_Center_Running = false;
        Update_Settings([](Program_Settings& s) {
            s.Enabled_Cc_Redirection = true;
            s.Cc_Address = "boss@example.com";
        });

        // Exit is chosen while the first message is under way.
        bool asked = false;
        QMetaObject::Connection hook;
        Start_Smtp_Sender();
        QVERIFY(GlobalVariables::Message_Center_Running);
        QVERIFY(Running_Smtp_Sender() && Running_Smtp_Sender()->Showing());
        hook = connect(&Running_Smtp_Sender()->Session.dsSocket1, &dsSocket::Connect, this, [&] {
            if (asked)
                return;
            asked = true;
            Stop_Smtp_Sender();
        });
        QTRY_VERIFY(asked);
        // The message in hand was finished and filed; the second was never started.
        QVERIFY(!f.Row_Exists(a));
        QVERIFY(f.Row_Exists(b));
        QCOMPARE(f.History().size(), 1);
        QTRY_VERIFY(!Running_Smtp_Sender());
        QCOMPARE(server.Messages().size(), 1);
        QVERIFY(!GlobalVariables::Message_Center_Running);
        // Its copy was not sent any more: it waits in the outbox.
        QCOMPARE(f.folder.Db().Scalar("SELECT count(*) FROM Outbox WHERE ToEmail = 'boss@example.com' "
                                      "AND Subject = 'Cc:One' AND Out_Event_Type = 'Email Out'").toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(Smtp_Sender_Test)
#include "tst_smtp_sender.moc"
