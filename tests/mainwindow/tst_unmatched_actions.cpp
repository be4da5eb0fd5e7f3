// The commands of the Unmatched page: convert, reply with its sending
// toolbar, print, the deletes and the junk, the whole-list commands and the
// sort, over a real Maildir.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSqlRecord>
#include <QTextEdit>
#include <QtTest>

#include "Dialogs.h"
#include "Find_Control.h"
#include "Key_Toolbar.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Main_Window_Test_Support.h"
#include "Mapi_Fetch.h"
#include "Report_Capture.h"
#include "Scripted_Spell_Check.h"
#include "Settings.h"
#include "Test_Maildir.h"
#include "Test_Support.h"
#include "frmContactSystem.h"
#include "pages/Unmatched_Page.h"

namespace {

QByteArray Mail(const QString& from, const QString& subject, const QString& body, bool attachment = false)
{
    QByteArray mail = (from.isEmpty() ? QString() : "From: " + from + "\n").toUtf8();
    mail += "To: sales@dealer.example\nSubject: " + subject.toUtf8() + "\nDate: Tue, 08 Dec 2026 09:15:00 +0000\n"
            "MIME-Version: 1.0\n";
    if (!attachment)
        return mail + "Content-Type: text/plain; charset=utf-8\n\n" + body.toUtf8() + "\n";
    return mail + "Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: text/plain\n\n" + body.toUtf8() +
           "\n--b\nContent-Disposition: attachment; filename=offer.txt\n\nOFFER\n--b--\n";
}

struct Actions_Fixture {
    Test_Program_Folder folder;
    Test_Maildir maildir;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    frmContactSystem window;
    Database db{folder.Db()};

    // Files what the store holds and opens the page.
    void Open_Page()
    {
        Control<QAction>(&window, "mnu_Get_Mapi_Mail")->trigger();
        window.TabStrip1_Click(3);
        dialogs.messages.clear();
    }
    Unmatched_Page* Page() { return Control<Unmatched_Page>(&window, "frameUnmatched"); }
    List_View* List() { return Control<List_View>(&window, "ListUnmatched"); }
    QLineEdit* Box(const char* name) { return Control<QLineEdit>(&window, name); }
    QTextEdit* Message() { return Control<QTextEdit>(&window, "UnmatchedMessage"); }
    Key_Toolbar* Sending() { return Control<Key_Toolbar>(&window, "ToolUnmatchedEmailing"); }
    void Show_Row_Of(const QString& sender)
    {
        for (int i = 1; i <= List()->Row_Count(); ++i)
            if (List()->Row_At(i)->text(1) == sender) {
                Click_Row(List(), List()->Row_At(i));
                return;
            }
        QFAIL(qPrintable("no row of " + sender));
    }
    void Action(const QString& key) { Click_Tool(&window, "ToolUnmatchedActions", key); }
    void Reply_Tool(const QString& key) { Click_Tool(&window, "ToolUnmatchedEmailing", key); }
    int Count(const QString& sql, const QVariantList& params = {}) { return db.Scalar(sql, params).toInt(); }
    QStringList Listed_Senders() { return Column_Texts(List(), 1); }
};

} // namespace

class tst_unmatched_actions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { MAPISession1().SignOff(); }

    void convert_files_both_emails_of_the_sender()
    {
        Actions_Fixture f;
        const QString first = f.maildir.Deliver_Content(Mail("\"Ann O'Hara\" <ann@example.com>", "Price", "How much?"));
        const QString second =
            f.maildir.Deliver_Content(Mail("Ann O'Hara <ANN@example.com>", "Offer", "See the offer.", true));
        f.maildir.Deliver("plain.eml");
        const QStringList store = f.maildir.Files();
        f.window.resize(1200, 800);
        f.window.show();
        f.Open_Page();
        QCOMPARE(f.Listed_Senders(), QStringList({"Ann O'Hara", "Ann O'Hara", "Jane Buyer"}));
        const QString file = f.db.Scalar("SELECT Attachment_Path_Name FROM Attachments").toString();
        QVERIFY(QFile::exists(file));

        f.Show_Row_Of("Ann O'Hara");
        f.Action("Convert");
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.Texts().join("\n")));
        const QSqlRecord contact = f.db.Select_First("SELECT * FROM Contacts");
        QCOMPARE(contact.value("FirstName").toString(), QString("Ann"));
        QCOMPARE(contact.value("LastName").toString(), QString("O'Hara"));
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), 1);
        const qint64 id = contact.value("ID").toLongLong();
        QVERIFY(Control<List_View>(&f.window, "ListContacts")->Find_Key(Make_Contact_Key(id)));

        const QList<QSqlRecord> events =
            f.db.Select("SELECT * FROM Eventhistory WHERE ContactID = ? AND Event_Type = 'Email Convert' ORDER BY "
                        "Event_Unique_ID",
                        {id});
        QCOMPARE(events.size(), 2);
        QStringList ids = {first, second};
        ids.sort();
        QCOMPARE(QStringList({events[0].value("Event_Unique_ID").toString(), events[1].value("Event_Unique_ID").toString()}),
                 ids);
        const qint64 with_file =
            f.db.Scalar("SELECT ID FROM Eventhistory WHERE Event_Unique_ID = ?", {second}).toLongLong();
        QCOMPARE(f.db.Scalar("SELECT Link_ID FROM Attachments WHERE Link_Database = 'E'").toLongLong(), with_file);
        QCOMPARE(f.db.Scalar("SELECT Attachment_Path_Name FROM Attachments").toString(), file);
        QVERIFY(QFile::exists(file));
        QCOMPARE(f.maildir.Files(), store);

        // Jane's e-mail moved up and is shown.
        QCOMPARE(f.Listed_Senders(), QStringList({"Jane Buyer"}));
        QCOMPARE(f.Box("UnmatchedName")->text(), QString("Jane Buyer"));
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails"), 1);
    }

    void convert_refuses_an_email_without_sender()
    {
        Actions_Fixture f;
        f.maildir.Deliver_Content(Mail("", "Anonymous", "Who am I?"));
        f.Open_Page();
        QCOMPARE(f.List()->Row_Count(), 1);
        QCOMPARE(f.Box("UnmatchedEmail")->text(), QString());
        f.Action("Convert");
        QCOMPARE(f.dialogs.Texts(), QStringList({"This e-mail has no sender address to make a contact of!"}));
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails"), 1);
        QCOMPARE(f.List()->Row_Count(), 1);

        // Neither is a reply to no address sent, nor the sender junked.
        f.Action("Reply");
        f.Reply_Tool("SendEmail");
        QVERIFY(f.dialogs.Shown("There is no address to send this reply to!"));
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox"), 0);
        QVERIFY(!f.Sending()->isHidden());
        f.Action("Junk");
        QVERIFY(f.dialogs.Shown("This e-mail has no sender address to junk!"));
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails"), 1);
    }

    void with_no_email_shown_each_command_only_says_so_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("message");
        QTest::newRow("Convert") << "Convert" << "There is no message to convert!";
        QTest::newRow("Reply") << "Reply" << "There is no message to reply!";
        QTest::newRow("Print") << "Print" << "There is no message to print!";
        QTest::newRow("Delete") << "Delete" << "There is no message to delete!";
        QTest::newRow("SDelete") << "SDelete" << "There are no messages to delete!";
        QTest::newRow("Junk") << "Junk" << "There is no message to junk!";
    }
    void with_no_email_shown_each_command_only_says_so()
    {
        QFETCH(QString, key);
        QFETCH(QString, message);
        Actions_Fixture f;
        Captured_Reports reports;
        f.Open_Page();
        if (key == "SDelete")
            Click_Tool_Menu(&f.window, "ToolUnmatchedActions", "Delete", key);
        else
            f.Action(key);
        QCOMPARE(f.dialogs.Texts(), QStringList({message}));
        QCOMPARE(f.dialogs.messages.first().title, QString());
        QVERIFY(reports.reports.isEmpty());
        // No reply was started: there is nothing to send.
        QVERIFY(f.Sending()->isHidden());
    }

    void a_reply_ends_when_another_email_is_shown()
    {
        Actions_Fixture f;
        f.maildir.Deliver_Content(Mail("Bob <bob@example.com>", "Two lines", "line one\r\nline two"));
        f.maildir.Deliver("plain.eml");
        f.window.resize(1200, 800);
        f.window.show();
        f.Open_Page();
        QVERIFY(f.Sending()->isHidden());
        f.Show_Row_Of("Bob");
        f.Action("Reply");
        QVERIFY(!f.Sending()->isHidden());
        QVERIFY(f.Page()->Replying());
        // The message's own last line break marks an empty last line too.
        QCOMPARE(f.Message()->toPlainText(), QString("\n> \n> > line one\n> line two\n> "));
        for (const char* name : {"UnmatchedName", "UnmatchedSubject", "UnmatchedDate"})
            QVERIFY2(!f.Box(name)->isReadOnly(), name);
        QVERIFY(!f.Message()->isReadOnly());
        QVERIFY(f.Box("UnmatchedEmail")->isReadOnly());
        QCOMPARE(f.Box("UnmatchedSubject")->text(), QString("Two lines"));

        f.Show_Row_Of("Jane Buyer");
        QVERIFY(f.Sending()->isHidden());
        QVERIFY(!f.Page()->Replying());
        QVERIFY(f.Message()->isReadOnly());
        QVERIFY(f.Box("UnmatchedSubject")->isReadOnly());
        QVERIFY(f.Message()->toPlainText().startsWith("Hello,"));
        // Its keys do nothing now.
        f.Reply_Tool("SendEmail");
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox"), 0);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void send_posts_the_reply_to_the_outbox_for_no_contact()
    {
        Actions_Fixture f;
        Update_Settings([](Program_Settings& s) {
            s.DefaultEmailAddress = "owner@example.com";
            s.DefaultEmailName = "Owner";
        });
        f.maildir.Deliver("plain.eml");
        f.Open_Page();
        f.Action("Reply");
        f.Box("UnmatchedSubject")->setText("Re: Question about the blue sedan");
        f.Message()->setPlainText("Yes, it is.\n" + f.Message()->toPlainText());
        const QString reply = f.Message()->toPlainText();
        f.Reply_Tool("SendEmail");
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.Texts().join("\n")));
        const QSqlRecord out = f.db.Select_First("SELECT * FROM Outbox");
        QCOMPARE(out.value("Out_Contact_ID").toLongLong(), 0);
        QCOMPARE(out.value("Out_Event_Type").toString(), QString("Email Out"));
        QCOMPARE(out.value("ToEmail").toString(), QString("jane@example.com"));
        QCOMPARE(out.value("ToEmailName").toString(), QString("Jane Buyer"));
        QCOMPARE(out.value("Subject").toString(), QString("Re: Question about the blue sedan"));
        QCOMPARE(out.value("Message").toString(), reply);
        QCOMPARE(out.value("FromEmail").toString(), QString("owner@example.com"));
        QCOMPARE(out.value("FromEmailName").toString(), QString("Owner"));
        QCOMPARE(Db_To_Date(out.value("Date_To_Execute_Event")), f.clock.Now().addSecs(-1));
        // The e-mail is shown again as it came, and stays.
        QVERIFY(f.Sending()->isHidden());
        QCOMPARE(f.Box("UnmatchedSubject")->text(), QString("Question about the blue sedan"));
        QVERIFY(f.Message()->toPlainText().startsWith("Hello,"));
        QVERIFY(f.Message()->isReadOnly());
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails"), 1);
        QCOMPARE(f.List()->Row_Count(), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory"), 0);
    }

    void a_failed_posting_keeps_the_reply()
    {
        Actions_Fixture f;
        f.maildir.Deliver("plain.eml");
        f.Open_Page();
        f.db.Execute("CREATE TRIGGER no_outbox BEFORE INSERT ON Outbox BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        f.Action("Reply");
        f.Message()->setPlainText("My answer");
        f.Reply_Tool("SendEmail");
        QVERIFY(f.dialogs.Shown("Error on Send to Outbox"));
        QVERIFY(!f.Sending()->isHidden());
        QCOMPARE(f.Message()->toPlainText(), QString("My answer"));
        QVERIFY(!f.Message()->isReadOnly());

        // Once the outbox takes it, it goes.
        f.db.Execute("DROP TRIGGER no_outbox");
        f.Reply_Tool("SendEmail");
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox WHERE Message = 'My answer'"), 1);
        QVERIFY(f.Sending()->isHidden());
    }

    void spell_and_cancel()
    {
        Actions_Fixture f;
        Scripted_Spell_Check speller;
        speller.changes.insert("teh", "the");
        f.maildir.Deliver("plain.eml");
        f.Open_Page();
        const QString text = f.Message()->toPlainText();
        f.Action("Reply");
        f.Message()->setPlainText("teh car");
        f.Box("UnmatchedSubject")->setText("changed");
        f.Reply_Tool("Spell");
        QCOMPARE(speller.checked_texts, QStringList({"teh car"}));
        QCOMPARE(f.Message()->toPlainText(), QString("the car"));

        f.Reply_Tool("Cancel");
        QCOMPARE(f.Message()->toPlainText(), text);
        QCOMPARE(f.Box("UnmatchedSubject")->text(), QString("Question about the blue sedan"));
        QVERIFY(f.Sending()->isHidden());
        QVERIFY(f.Message()->isReadOnly());
        QCOMPARE(f.List()->currentItem(), f.List()->Row_At(1));
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox"), 0);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void the_deletes_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("refusal");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("left");   // senders listed after
        QTest::newRow("Delete") << "Delete" << int(vbCancel) << "Do you want to delete the message?"
                                << QStringList({"Ann", "Jane Buyer"});
        QTest::newRow("SDelete") << "SDelete" << int(vbNo) << "Do you want to delete all the emails from this source?"
                                 << QStringList({"Jane Buyer"});
        QTest::newRow("Junk") << "Junk" << int(vbCancel) << "Do you want to Junk this e-mail?"
                              << QStringList({"Jane Buyer"});
        QTest::newRow("DeleteAll") << "DeleteAll" << int(vbCancel) << "Do you want to Delete all Unmatched e-mails?"
                                   << QStringList();
    }
    void the_deletes()
    {
        QFETCH(QString, command);
        QFETCH(int, refusal);
        QFETCH(QString, question);
        QFETCH(QStringList, left);
        Actions_Fixture f;
        Update_Settings([](Program_Settings& s) { s.Confirm_Email_Deletes = true; });
        const QString with_file = f.maildir.Deliver_Content(Mail("Ann <ann@example.com>", "One", "first", true));
        f.maildir.Deliver_Content(Mail("Ann <ann@example.com>", "Two", "second"));
        const QString jane = f.maildir.Deliver("plain.eml");
        f.Open_Page();
        QCOMPARE(f.Listed_Senders(), QStringList({"Ann", "Ann", "Jane Buyer"}));
        f.List()->Select_At(1);
        f.Page()->Show_Unmatched_Email(f.List()->Key_At(1));
        QCOMPARE(f.Box("UnmatchedSubject")->text(), QString("One"));
        const QString file = f.db.Scalar("SELECT Attachment_Path_Name FROM Attachments").toString();
        const auto run = [&] {
            if (command == "DeleteAll")
                Click_Tool(&f.window, "ToolUnmatchedAll", command);
            else if (command == "SDelete")
                Click_Tool_Menu(&f.window, "ToolUnmatchedActions", "Delete", command);
            else
                f.Action(command);
        };

        f.dialogs.answers << refusal;
        run();
        QCOMPARE(f.dialogs.Texts(), QStringList({question}));
        if (command == "DeleteAll")
            QCOMPARE(f.dialogs.messages.first().title, QString("Deleting all Unmatched Emails"));
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails"), 3);
        QCOMPARE(f.maildir.Files().size(), 3);
        QVERIFY(QFile::exists(file));

        f.dialogs.messages.clear();
        run();
        QCOMPARE(f.dialogs.Texts(), QStringList({question}));
        QCOMPARE(f.Listed_Senders(), left);
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails"), int(left.size()));
        QCOMPARE(f.maildir.Files().size(), int(left.size()));
        QVERIFY(f.maildir.Path_Of(with_file).isEmpty());
        QCOMPARE(f.maildir.Path_Of(jane).isEmpty(), left.isEmpty() || !left.contains("Jane Buyer"));
        QVERIFY(!QFile::exists(file));
        QCOMPARE(f.Count("SELECT count(*) FROM Attachments"), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM JunkEmails WHERE Email = 'ann@example.com'"), command == "Junk" ? 1 : 0);
        // The row that moved up is shown, or nothing when none is left.
        QCOMPARE(f.Box("UnmatchedName")->text(), left.isEmpty() ? QString() : left.first());
        QCOMPARE(f.Box("txtUnmatchedUniqueID")->text().isEmpty(), left.isEmpty());
        if (!left.isEmpty())
            QCOMPARE(f.List()->currentItem(), f.List()->Row_At(1));
    }

    void delete_without_confirmation_asks_nothing()
    {
        Actions_Fixture f;
        Update_Settings([](Program_Settings& s) { s.Confirm_Email_Deletes = false; });
        f.maildir.Deliver("plain.eml");
        f.Open_Page();
        Click_Tool_Menu(&f.window, "ToolUnmatchedActions", "Delete", "Delete");
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails"), 0);
        QVERIFY(f.maildir.Files().isEmpty());
        QCOMPARE(f.List()->Row_Count(), 0);
    }

    void print_one_and_print_all()
    {
        Actions_Fixture f;
        Captured_Reports reports;
        f.maildir.Deliver_Content(Mail("Ann <ann@example.com>", "Tags", "a < b\r\n</table><b>bold</b>"));
        f.maildir.Deliver("plain.eml");
        f.Open_Page();
        f.Action("Print");
        QCOMPARE(reports.reports.size(), 1);
        QCOMPARE(reports.reports[0].title, QString("Email Listing"));
        const QString one = reports.Last_Pdf_Text();
        QVERIFY2(one.contains("</table><b>bold</b>"), qPrintable(one));
        QVERIFY(one.contains("ann@example.com"));
        QVERIFY(!one.contains("Question about the blue sedan"));

        Click_Tool(&f.window, "ToolUnmatchedAll", "PrintAll");
        QCOMPARE(reports.reports.size(), 2);
        QCOMPARE(reports.reports[1].title, QString("Email Listing"));
        const QString all = reports.Last_Pdf_Text();
        QVERIFY(all.contains("Subject:"));
        QVERIFY(all.contains("Message:"));
        QVERIFY(all.indexOf("Tags") >= 0 && all.indexOf("Tags") < all.indexOf("Question about the blue sedan"));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void the_column_sort()
    {
        Actions_Fixture f;
        f.maildir.Deliver_Content(Mail("Carl <c@example.com>", "Apples", "x"));
        f.maildir.Deliver_Content(Mail("Ann <a@example.com>", "Cherries", "x"));
        f.maildir.Deliver_Content(Mail("Bea <b@example.com>", "Bananas", "x"));
        f.window.resize(1200, 800);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.Open_Page();
        QCOMPARE(f.Listed_Senders(), QStringList({"Ann", "Bea", "Carl"}));
        Click_Header(f.List(), 2);
        QCOMPARE(Column_Texts(f.List(), 2), QStringList({"Apples", "Bananas", "Cherries"}));
        Click_Header(f.List(), 2);
        QCOMPARE(Column_Texts(f.List(), 2), QStringList({"Cherries", "Bananas", "Apples"}));
        // Another column keeps the order last used.
        Click_Header(f.List(), 1);
        QCOMPARE(f.Listed_Senders(), QStringList({"Carl", "Bea", "Ann"}));
        // Rows that come later take their place.
        f.maildir.Deliver_Content(Mail("Bob <bob@example.com>", "Dates", "x"));
        f.window.TabStrip1_Click(3);
        QCOMPARE(f.Listed_Senders(), QStringList({"Carl", "Bob", "Bea", "Ann"}));
    }
};

QTEST_MAIN(tst_unmatched_actions)
#include "tst_unmatched_actions.moc"
