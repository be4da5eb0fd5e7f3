// Sending the outbox through the mail client: msmtp as sendmail, delivering
// to an aiosmtpd server on 127.0.0.1.

#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>
#include <QTimer>
#include <QTemporaryDir>
#include <QtTest>

#include "GlobalVariables.h"
#include "Intake_Fixture.h"
#include "MAPI.h"
#include "Mapi_Fetch.h"
#include "Mapi_Send.h"
#include "Msmtp_Sendmail.h"
#include "Outbox_Posting.h"
#include "Outbox_Sending.h"
#include "Smtp_Test_Server.h"
#include "Settings.h"

namespace {

struct Parsed_Mail {
    QString subject, to, text;
    QStringList attachment_names;
    QList<QByteArray> attachment_data;
};

// Reads what the server received back through the mail-store reader.
QList<Parsed_Mail> Parse(const QList<Received_Mail>& mails)
{
    QList<Parsed_Mail> parsed;
    Test_Maildir store;
    for (const Received_Mail& mail : mails)
        store.Deliver_Content(mail.data);
    MAPISession session;
    session.SignOn();
    MAPIMessages messages;
    messages.Set_Session(&session);
    messages.Fetch();
    for (int i = 0; i < messages.MsgCount(); ++i) {
        messages.MsgIndex = i;
        Parsed_Mail one{messages.MsgSubject(), mails.at(i).to.join(","), messages.MsgNoteText(), {}, {}};
        for (int a = 0; a < messages.AttachmentCount(); ++a) {
            messages.AttachmentIndex = a;
            one.attachment_names << messages.AttachmentName();
            QFile file(messages.AttachmentPathName());
            file.open(QIODevice::ReadOnly);
            one.attachment_data << file.readAll();
        }
        parsed << one;
    }
    return parsed;
}

qint64 Add_Outbox(Database& db, qint64 contact, const QString& type, const QString& to, const QString& subject,
                  const QDateTime& due, const QDateTime& posted)
{
    return db.Insert("INSERT INTO Outbox (Out_Contact_ID, Product_Name, Out_Event_Type, Out_Timeline_Event_Number, "
                     "ToEmail, ToEmailName, Subject, Message, FromEmail, FromEmailName, Date_To_Execute_Event, "
                     "Date_Sent_To_Outbox, Lead_Time) VALUES (?, 'Sedan', ?, 3, ?, 'Name', ?, ?, 'me@x', 'Me', ?, ?, 0)",
                     {contact, type, to, subject, "Text of " + subject + "\r\nsecond line", due, posted});
}

} // namespace

class tst_mapi_send : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        server_ = std::make_unique<Smtp_Test_Server>();
        QVERIFY(server_->Started());
        sendmail_ = std::make_unique<Msmtp_Sendmail>(server_->Port());
    }
    void cleanup()
    {
        sendmail_.reset();
        server_.reset();
        MAPISession1().SignOff();
    }

    void every_due_email_goes_out_with_its_files_and_is_filed();
    void a_failure_on_a_later_row_never_sends_an_earlier_one_twice();
    void a_sent_row_that_cannot_be_filed_is_not_sent_again();
    void a_row_deleted_or_edited_meanwhile_goes_as_it_stands();
    void the_cc_copy_carries_the_same_subject_and_files();
    void nothing_due_sends_nothing_and_counts_nothing_data();
    void nothing_due_sends_nothing_and_counts_nothing();
    void not_during_an_smtp_batch();

private:
    std::unique_ptr<Smtp_Test_Server> server_;
    std::unique_ptr<Msmtp_Sendmail> sendmail_;
};

void tst_mapi_send::every_due_email_goes_out_with_its_files_and_is_filed()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const qint64 jane = db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Jane', 'jane@example.com')");
    const qint64 bob = db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Bob', 'bob@example.org')");
    const QDateTime past = clock.Now().addDays(-1);
    const QDateTime posted = clock.Now().addDays(-2);
    const qint64 with_files = Add_Outbox(db, jane, "Email Out", "jane@example.com", "Offer", past, posted);
    const QString first = folder.Write_File("Attachments/price list.pdf", QByteArray("%PDF \x00\x01 list", 12));
    const QString second = folder.Write_File("Attachments/notes.txt", "notes");
    db.Insert("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) VALUES (?, ?, ?), (?, ?, ?)",
              {with_files, first, "price list.pdf", with_files, second, "notes.txt"});
    Add_Outbox(db, bob, "Sent Quote", "bob@example.org", "Your quote", past, posted.addSecs(1));
    const qint64 nobody = Add_Outbox(db, 0, "Email Out", "walkin@example.net", "No contact", past, posted.addSecs(2));
    const QString kept = folder.Write_File("Attachments/kept.txt", "kept");
    db.Insert("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) VALUES (?, ?, 'kept.txt')",
              {nobody, kept});
    const qint64 call = Add_Outbox(db, jane, "Call Out", "jane@example.com", "Call her", past, posted.addSecs(3));
    const qint64 later = Add_Outbox(db, jane, "Email Out", "jane@example.com", "Later", clock.Now().addDays(1),
                                    posted.addSecs(4));
    GlobalVariables::Outbox_List_Loaded = true;
    window.Add_List_Row(Main_List::Outbox, {Make_Outbox_Key("jane@example.com", posted), {}, {}, {}, {}});
    window.Add_List_Row(Main_List::Outbox, {Make_Outbox_Key("jane@example.com", posted.addSecs(4)), {}, {}, {}, {}});

    const QDateTime start = clock.Now();
    Send_All_Mapi_Messages();
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("\n")));

    const QList<Parsed_Mail> mails = Parse(server_->Messages());
    QCOMPARE(mails.size(), 3);
    QCOMPARE(mails.at(0).to, QString("jane@example.com"));
    QCOMPARE(mails.at(0).subject, QString("Offer"));
    QCOMPARE(mails.at(0).text, QString("Text of Offer\r\nsecond line"));
    QCOMPARE(mails.at(0).attachment_names, QStringList({"price list.pdf", "notes.txt"}));
    QCOMPARE(mails.at(0).attachment_data.at(0), QByteArray("%PDF \x00\x01 list", 12));
    QCOMPARE(mails.at(1).to, QString("bob@example.org"));
    QVERIFY(mails.at(1).attachment_names.isEmpty());
    QCOMPARE(mails.at(2).to, QString("walkin@example.net"));
    QCOMPARE(mails.at(2).attachment_names, QStringList({"kept.txt"}));

    const QSqlRecord event = db.Select_First("SELECT * FROM Eventhistory WHERE ContactID = ?", {jane});
    QCOMPARE(event.value("Event_Type").toString(), QString("Email Out"));
    QCOMPARE(event.value("Event_Product").toString(), QString("Sedan"));
    QCOMPARE(event.value("Timeline_Step_Number").toInt(), 3);
    QCOMPARE(event.value("Sender").toString(), QString(""));
    QCOMPARE(event.value("EventRead").toInt(), 1);
    QCOMPARE(event.value("Has_Attachments").toInt(), 1);
    // Every event of one run carries the moment the run started.
    QCOMPARE(Db_To_Date(event.value("EventDate")), start);
    QCOMPARE(Db_To_Date(event.value("Email_ID_Date")), start);
    QCOMPARE(db.Scalar("SELECT count(DISTINCT EventDate) FROM Eventhistory").toInt(), 1);
    const QList<QSqlRecord> files =
        db.Select("SELECT * FROM Attachments WHERE Link_ID = ? AND Link_Database = 'E' ORDER BY rowid",
                  {event.value("ID")});
    QCOMPARE(files.size(), 2);
    QCOMPARE(files.at(0).value("Attachment_Path_Name").toString(), first);
    QCOMPARE(files.at(1).value("Attachment_Final_Name").toString(), QString("notes.txt"));
    QVERIFY(QFileInfo::exists(first));
    QCOMPARE(db.Scalar("SELECT Event_Type FROM Eventhistory WHERE ContactID = ?", {bob}).toString(),
             QString("Sent Quote"));
    QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory").toInt(), 2);

    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 2);
    QVERIFY(!db.Select_First("SELECT ID FROM Outbox WHERE ID = ?", {call}).isEmpty());
    QVERIFY(!db.Select_First("SELECT ID FROM Outbox WHERE ID = ?", {later}).isEmpty());
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox_Attachments WHERE Outbox_ID = ?", {with_files}).toInt(), 0);
    // Without a contact there is no event to take the file.
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox_Attachments WHERE Outbox_ID = ?", {nobody}).toInt(), 1);
    QCOMPARE(db.Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Messages Sent'").toInt(), 3);
    QCOMPARE(window.List_Row_Count(Main_List::Outbox), 1);
    QCOMPARE(window.List_Row_Key(Main_List::Outbox, 1), Make_Outbox_Key("jane@example.com", posted.addSecs(4)));
    QVERIFY(Outbox_Sending() == Outbox_Sender::None);
}

void tst_mapi_send::a_failure_on_a_later_row_never_sends_an_earlier_one_twice()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const qint64 jane = db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Jane', 'jane@example.com')");
    const QDateTime past = clock.Now().addDays(-1);
    Add_Outbox(db, jane, "Email Out", "jane@example.com", "First", past, past);
    const qint64 refused = Add_Outbox(db, jane, "Email Out", "refuse@example.com", "Second", past, past.addSecs(1));
    Add_Outbox(db, jane, "Email Out", "jane@example.com", "Third", past, past.addSecs(2));

    Send_All_Mapi_Messages();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.Shown("Error on Send All Messages: "));
    QCOMPARE(server_->Messages().size(), 1);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 2);
    QCOMPARE(db.Scalar("SELECT EventSubject FROM Eventhistory").toString(), QString("First"));
    QCOMPARE(db.Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Messages Sent'").toInt(), 1);

    db.Execute("UPDATE Outbox SET ToEmail = 'jane@example.com' WHERE ID = ?", {refused});
    clock.Advance(5);
    Send_All_Mapi_Messages();
    const QList<Parsed_Mail> mails = Parse(server_->Messages());
    QStringList subjects;
    for (const Parsed_Mail& mail : mails)
        subjects << mail.subject;
    QCOMPARE(subjects, QStringList({"First", "Second", "Third"}));
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory").toInt(), 3);
    QCOMPARE(db.Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Messages Sent'").toInt(), 3);
}

void tst_mapi_send::a_sent_row_that_cannot_be_filed_is_not_sent_again()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const qint64 jane = db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Jane', 'jane@example.com')");
    const QDateTime past = clock.Now().addDays(-1);
    const qint64 first = Add_Outbox(db, jane, "Email Out", "jane@example.com", "First", past, past);
    Add_Outbox(db, jane, "Email Out", "jane@example.com", "Second", past, past.addSecs(1));
    db.Execute("CREATE TRIGGER outbox_stuck BEFORE DELETE ON Outbox "
               "BEGIN SELECT RAISE(ABORT, 'database is locked'); END");

    // The first goes out and stays in the outbox; the run stops there.
    Send_All_Mapi_Messages();
    QCOMPARE(server_->Messages().size(), 1);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.Shown("The e-mail to jane@example.com was sent, but it could not be filed"));
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 2);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory").toInt(), 0);

    // Still stuck: the sent one is not handed to the mail program again.
    clock.Advance(5);
    Send_All_Mapi_Messages();
    QCOMPARE(server_->Messages().size(), 1);

    // Once the database takes it, the sent one is filed without going out again.
    db.Execute("DROP TRIGGER outbox_stuck");
    clock.Advance(5);
    Send_All_Mapi_Messages();
    QStringList subjects;
    for (const Parsed_Mail& mail : Parse(server_->Messages()))
        subjects << mail.subject;
    QCOMPARE(subjects, QStringList({"First", "Second"}));
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory").toInt(), 2);
    QVERIFY(db.Select_First("SELECT ID FROM Outbox WHERE ID = ?", {first}).isEmpty());
    QCOMPARE(db.Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Messages Sent'").toInt(), 2);
}

void tst_mapi_send::a_row_deleted_or_edited_meanwhile_goes_as_it_stands()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const qint64 jane = db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Jane', 'jane@example.com')");
    const QDateTime past = clock.Now().addDays(-1);
    Add_Outbox(db, jane, "Email Out", "jane@example.com", "First", past, past);
    const qint64 deleted = Add_Outbox(db, jane, "Email Out", "jane@example.com", "Deleted", past, past.addSecs(1));
    const qint64 edited = Add_Outbox(db, jane, "Email Out", "jane@example.com", "Edited", past, past.addSecs(2));
    // While the mail program takes the first one, the user deletes one entry and edits another.
    QTimer::singleShot(0, [&] {
        db.Execute("DELETE FROM Outbox WHERE ID = ?", {deleted});
        db.Execute("UPDATE Outbox SET Message = 'New body' WHERE ID = ?", {edited});
    });
    Send_All_Mapi_Messages();
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("\n")));
    const QList<Parsed_Mail> mails = Parse(server_->Messages());
    QCOMPARE(mails.size(), 2);
    QCOMPARE(mails.at(0).subject, QString("First"));
    QCOMPARE(mails.at(1).subject, QString("Edited"));
    QCOMPARE(mails.at(1).text.trimmed(), QString("New body"));
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory").toInt(), 2);
}

void tst_mapi_send::the_cc_copy_carries_the_same_subject_and_files()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const qint64 jane = db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Jane', 'jane@example.com')");
    const qint64 row = Add_Outbox(db, jane, "Email Out", "jane@example.com", "Offer", clock.Now().addSecs(-60),
                                  clock.Now().addSecs(-120));
    const QString file = folder.Write_File("Attachments/a.txt", "attached");
    db.Insert("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) VALUES (?, ?, 'a.txt')",
              {row, file});
    Update_Settings([](Program_Settings& s) {
        s.Enabled_Cc_Redirection = true;
        s.Cc_Address = "boss@dealer.example";
    });

    Send_All_Mapi_Messages();
    QVERIFY(dialogs.messages.isEmpty());
    const QList<Parsed_Mail> mails = Parse(server_->Messages());
    QCOMPARE(mails.size(), 2);
    QCOMPARE(mails.at(1).to, QString("boss@dealer.example"));
    QCOMPARE(mails.at(1).subject, mails.at(0).subject);
    QCOMPARE(mails.at(1).attachment_data, QList<QByteArray>({"attached"}));
    QCOMPARE(mails.at(0).attachment_data, QList<QByteArray>({"attached"}));
    QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory").toInt(), 1);
    QCOMPARE(db.Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Messages Sent'").toInt(), 1);
}

void tst_mapi_send::nothing_due_sends_nothing_and_counts_nothing_data()
{
    QTest::addColumn<bool>("entry_later");   // an e-mail in the outbox, due tomorrow
    QTest::addColumn<bool>("store");         // a mail store to send through
    QTest::newRow("empty outbox, no mail store") << false << false;
    QTest::newRow("empty outbox") << false << true;
    QTest::newRow("nothing due, no mail store") << true << false;
    QTest::newRow("nothing due") << true << true;
}

void tst_mapi_send::nothing_due_sends_nothing_and_counts_nothing()
{
    QFETCH(bool, entry_later);
    QFETCH(bool, store);
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    QTemporaryDir elsewhere;
    if (!store)
        qputenv("MAILDIR", QFile::encodeName(elsewhere.filePath("missing")));
    if (entry_later)
        Add_Outbox(db, 0, "Email Out", "jane@example.com", "Later", clock.Now().addDays(1), clock.Now());
    Send_All_Mapi_Messages();
    if (!store)
        qputenv("MAILDIR", QFile::encodeName(maildir.Folder()));
    // Said before the store is looked for, whether there is one or not.
    QCOMPARE(dialogs.Texts(), QStringList({"There is nothing to send: the outbox holds no e-mail that is due."}));
    QCOMPARE(MAPISession1().SessionID(), 0);
    QCOMPARE(server_->Messages().size(), 0);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), entry_later ? 1 : 0);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Stats WHERE Event = 'Messages Sent'").toInt(), 0);
    QVERIFY(Outbox_Sending() == Outbox_Sender::None);
}

void tst_mapi_send::not_during_an_smtp_batch()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    Add_Outbox(db, 0, "Email Out", "jane@example.com", "Due", clock.Now().addSecs(-60), clock.Now());
    // In the middle of an SMTP batch: nothing goes.
    GlobalVariables::Message_Center_Running = true;
    {
        Outbox_Sending_Guard smtp_batch(Outbox_Sender::Smtp);
        Send_All_Mapi_Messages();
    }
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(server_->Messages().size(), 0);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 1);

    // Between its batches the mail client may send, and the outbox is taken meanwhile.
    bool taken = false;
    QTimer::singleShot(0, [&] { taken = Outbox_Sending() == Outbox_Sender::Mail_Client; });
    Send_All_Mapi_Messages();
    GlobalVariables::Message_Center_Running = false;
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(server_->Messages().size(), 1);
    QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
    QVERIFY(taken);
    QVERIFY(Outbox_Sending() == Outbox_Sender::None);
}

QTEST_GUILESS_MAIN(tst_mapi_send)
#include "tst_mapi_send.moc"
