// The unmatched e-mails as the Unmatched page acts on them: filing a sender's
// e-mails under a contact, the deletes and the junk, and their listing.

#include <QDir>
#include <QFile>
#include <QtTest>

#include "Attachment_Store.h"
#include "Data_Access.h"
#include "List_Rows.h"
#include "Recording_Main_Window.h"
#include "Report_Document.h"
#include "Report_Preview.h"
#include "Shared_Routines.h"
#include "Test_Support.h"
#include "Unmatched_Emails.h"

namespace {

const QDateTime First_Received(QDate(2026, 12, 9), QTime(8, 15, 0));
const QDateTime Second_Received(QDate(2026, 12, 9), QTime(9, 30, 5));
const QDateTime Other_Received(QDate(2026, 12, 9), QTime(11, 0, 0));

// A quote and an apostrophe in the address, message ids of any form.
const QString Sender = "o'neil.\"jr\"@example.com";
const QString First_ID = "1765.M1P2.host";
const QString Second_ID = "<it's \"odd\"; id@example.com>";
const QString Other_ID = "1765.M9P9.host";

struct Unmatched_Fixture {
    Test_Program_Folder folder;
    Scripted_Dialogs dialogs;
    Test_Clock clock;
    Recording_Main_Window window;
    Database db{folder.Db()};
    QStringList deleted_messages;
    qint64 first = 0, second = 0, other = 0;
    QString file_path;   // the second e-mail's attached file

    Unmatched_Fixture(const QString& sender_name = "Jane Q Buyer")
    {
        Set_Mapi_Message_Deleter([this](const QString& id) { deleted_messages << id; });
        first = Add_Email(sender_name, Sender, "First question", "Is it blue?", First_Received, First_ID);
        other = Add_Email("Spam King", "king@spam.example", "Buy now", "<b>now</b>", Other_Received, Other_ID);
        second = Add_Email(sender_name, Sender, "Second question", "And red?", Second_Received, Second_ID, true);
        QDir().mkpath(Attachments_Folder());
        file_path = folder.Write_File("Attachments/offer.pdf", "PDF-1");
        db.Insert("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, Attachment_Final_Name) "
                  "VALUES (?, 'U', ?, 'offer.pdf')",
                  {second, file_path});
    }
    ~Unmatched_Fixture() { Set_Mapi_Message_Deleter({}); }

    qint64 Add_Email(const QString& name, const QString& from, const QString& subject, const QString& message,
                     const QDateTime& received, const QString& unique_id, bool attachments = false)
    {
        const qint64 id = db.Insert(
            "INSERT INTO NewEmails (Email_From_Name, Email_From, Email_Subject, Email_Message, Email_Date, "
            "Email_Received_Date, Email_Unique_ID, Has_Attachments) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
            {name, from, subject, message, received.addSecs(-60), received, unique_id, attachments});
        Add_Unmatched_List_Item(name, subject, received, unique_id, attachments);
        return id;
    }
    int Count(const QString& sql, const QVariantList& params = {}) { return db.Scalar(sql, params).toInt(); }
    QStringList Listed_Keys()
    {
        QStringList keys;
        for (const List_Row& row : window.Rows(Main_List::Unmatched))
            keys << row.key;
        return keys;
    }
};

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class tst_unmatched_emails : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void convert_files_every_email_of_the_sender_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QVariant>("first_name");
        QTest::addColumn<QString>("last_name");
        QTest::newRow("two words and more") << "Jane Q Buyer" << false << QVariant("Jane") << "Q Buyer";
        QTest::newRow("one word") << "Cher" << false << QVariant() << "Cher";
        QTest::newRow("already a contact") << "Jane Q Buyer" << true << QVariant("Ann") << "Known";
    }
    void convert_files_every_email_of_the_sender()
    {
        QFETCH(QString, name);
        QFETCH(bool, existing);
        QFETCH(QVariant, first_name);
        QFETCH(QString, last_name);
        Unmatched_Fixture f(name);
        qint64 known = 0;
        if (existing)
            known = f.db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Ann', 'Known', ?)",
                                {Sender.toUpper()});

        const Unmatched_Conversion done = Convert_Unmatched_Email_To_Contact(Second_ID, Second_Received);
        QCOMPARE(done.Result, Unmatched_Conversion::Outcome::Converted);
        QCOMPARE(done.Filed, 2);
        QCOMPARE(done.Not_Filed, 0);
        QCOMPARE(done.Contact_Created, !existing);
        if (existing)
            QCOMPARE(done.Contact_ID, known);
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), 1);
        const QSqlRecord contact = f.db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {done.Contact_ID});
        QCOMPARE(contact.value("FirstName").isNull(), first_name.isNull());
        QCOMPARE(Db_Text(contact, "FirstName"), first_name.toString());
        QCOMPARE(Db_Text(contact, "LastName"), last_name);
        QCOMPARE(contact.value("Pending_Events_To_Read").toInt(), 1);
        if (!existing) {
            QCOMPARE(Db_Text(contact, "Email"), Sender);
            QCOMPARE(contact.value("New_Contact").toInt(), 1);
            // Received and workflow start: the shown e-mail's received date.
            QCOMPARE(Db_To_Date(contact.value("Contact_Received_Date")), Second_Received);
            QCOMPARE(Db_To_Date(contact.value("Workflow_Start_Date")), Second_Received);
            const List_Row* row = f.window.Row(Main_List::Contacts, Make_Contact_Key(done.Contact_ID));
            QVERIFY(row);
            QCOMPARE(row->texts.mid(0, 3), QStringList({first_name.toString(), last_name, Sender}));
            QCOMPARE(row->bold, QList<int>({1, 2}));
        } else {
            QVERIFY(f.window.Rows(Main_List::Contacts).isEmpty());
        }

        const QList<QSqlRecord> events =
            f.db.Select("SELECT * FROM Eventhistory WHERE ContactID = ? ORDER BY ID", {done.Contact_ID});
        QCOMPARE(events.size(), 2);
        QCOMPARE(Db_Text(events[0], "Event_Unique_ID"), First_ID);
        QCOMPARE(Db_Text(events[1], "Event_Unique_ID"), Second_ID);
        for (const QSqlRecord& event : events) {
            QCOMPARE(Db_Text(event, "Event_Type"), QString("Email Convert"));
            QCOMPARE(Db_Text(event, "Sender"), Sender);
            QCOMPARE(event.value("EventRead").toInt(), 0);
            QCOMPARE(Db_To_Date(event.value("EventDate")), f.clock.Now());
        }
        QCOMPARE(Db_Text(events[0], "EventSubject"), QString("First question"));
        QCOMPARE(Db_Text(events[1], "EventMessage"), QString("And red?"));
        QCOMPARE(Db_To_Date(events[0].value("Email_ID_Date")), First_Received);
        QCOMPARE(Db_To_Date(events[1].value("Email_ID_Date")), Second_Received);
        QCOMPARE(events[0].value("Has_Attachments").toInt(), 0);
        QCOMPARE(events[1].value("Has_Attachments").toInt(), 1);

        // The file changes owner and stays where it was.
        const QSqlRecord file = f.db.Select_First("SELECT * FROM Attachments");
        QCOMPARE(file.value("Link_ID").toLongLong(), events[1].value("ID").toLongLong());
        QCOMPARE(Db_Text(file, "Link_Database"), QString("E"));
        QCOMPARE(Db_Text(file, "Attachment_Path_Name"), f.file_path);
        QCOMPARE(Read(f.file_path), QByteArray("PDF-1"));

        // Only the other sender's e-mail stays; the mail store is not touched.
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails"), 1);
        QCOMPARE(f.Count("SELECT ID FROM NewEmails"), int(f.other));
        QCOMPARE(f.Listed_Keys(), QStringList({Make_Unmatched_Key(Other_Received, Other_ID)}));
        QCOMPARE(done.Position, 2);
        QVERIFY(f.deleted_messages.isEmpty());
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.Texts().join("\n")));
    }

    void an_attachment_of_an_event_with_the_same_id_keeps_its_owner()
    {
        Unmatched_Fixture f;
        const QString event_file = f.folder.Write_File("Attachments/event.txt", "E");
        f.db.Insert("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, Attachment_Final_Name) "
                    "VALUES (?, 'E', ?, 'event.txt')",
                    {f.second, event_file});
        QCOMPARE(Convert_Unmatched_Email_To_Contact(First_ID, First_Received).Filed, 2);
        QCOMPARE(f.Count("SELECT count(*) FROM Attachments WHERE Link_ID = ? AND Link_Database = 'E' "
                         "AND Attachment_Final_Name = 'event.txt'",
                         {f.second}),
                 1);
    }

    void convert_refuses_an_email_without_sender_address()
    {
        Unmatched_Fixture f;
        const qint64 nameless = f.Add_Email("Nobody", "", "No address", "text", Other_Received.addSecs(5), "nf.1");
        const Unmatched_Conversion done = Convert_Unmatched_Email_To_Contact("nf.1", Other_Received.addSecs(5));
        QCOMPARE(done.Result, Unmatched_Conversion::Outcome::No_Sender_Address);
        QCOMPARE(done.Filed, 0);
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory"), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails WHERE ID = ?", {nameless}), 1);
        QCOMPARE(f.Listed_Keys().size(), 4);

        QCOMPARE(Convert_Unmatched_Email_To_Contact("gone", Other_Received).Result,
                 Unmatched_Conversion::Outcome::No_Such_Email);
    }

    void an_email_that_could_not_be_filed_stays_unmatched_with_its_files()
    {
        Unmatched_Fixture f;
        // Relinking the file fails: the second e-mail's event goes with it.
        f.db.Execute("CREATE TRIGGER refuse_relink BEFORE UPDATE ON Attachments "
                     "BEGIN SELECT RAISE(ABORT, 'the disk is gone'); END");
        const Unmatched_Conversion done = Convert_Unmatched_Email_To_Contact(First_ID, First_Received);
        QCOMPARE(done.Result, Unmatched_Conversion::Outcome::Converted);
        QCOMPARE(done.Filed, 1);
        QCOMPARE(done.Not_Filed, 1);
        QVERIFY2(done.Failure.contains("the disk is gone"), qPrintable(done.Failure));
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory"), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE Event_Unique_ID = ?", {First_ID}), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails WHERE ID = ?", {f.second}), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Attachments WHERE Link_ID = ? AND Link_Database = 'U'", {f.second}),
                 1);
        QCOMPARE(Read(f.file_path), QByteArray("PDF-1"));
        QVERIFY(f.Listed_Keys().contains(Make_Unmatched_Key(Second_Received, Second_ID)));
        QVERIFY(!f.Listed_Keys().contains(Make_Unmatched_Key(First_Received, First_ID)));

        // An e-mail the contact's history holds already is not deleted either.
        f.db.Execute("DROP TRIGGER refuse_relink");
        const Unmatched_Conversion again = Convert_Unmatched_Email_To_Contact(Second_ID, Second_Received);
        QCOMPARE(again.Filed, 1);
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails WHERE Email_From = ?", {Sender}), 0);
        f.Add_Email("Jane Q Buyer", Sender, "First question", "Is it blue?", First_Received, First_ID);
        const Unmatched_Conversion twice = Convert_Unmatched_Email_To_Contact(First_ID, First_Received);
        QCOMPARE(twice.Filed, 0);
        QCOMPARE(twice.Not_Filed, 1);
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails WHERE Email_From = ?", {Sender}), 1);
    }

    void the_deletes_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QStringList>("left_ids");
        QTest::addColumn<QStringList>("deleted_messages");
        QTest::addColumn<int>("position");
        QTest::newRow("one e-mail") << "one" << QStringList({First_ID, Other_ID}) << QStringList({Second_ID}) << 3;
        QTest::newRow("from the sender") << "sender" << QStringList({Other_ID}) << QStringList({First_ID, Second_ID})
                                         << 2;
        QTest::newRow("junk") << "junk" << QStringList({Other_ID}) << QStringList({First_ID, Second_ID}) << 2;
        QTest::newRow("all") << "all" << QStringList() << QStringList({First_ID, Other_ID, Second_ID}) << 1;
    }
    void the_deletes()
    {
        QFETCH(QString, which);
        QFETCH(QStringList, left_ids);
        QFETCH(QStringList, deleted_messages);
        QFETCH(int, position);
        Unmatched_Fixture f;
        int removed = 0;
        if (which == "one")
            removed = Delete_Unmatched_Email(Second_ID, Second_Received);
        else if (which == "sender")
            removed = Delete_Unmatched_Emails_From(Sender);
        else if (which == "junk")
            removed = Junk_Unmatched_Emails_From(Sender);
        else
            removed = Delete_All_Unmatched_Emails();
        QCOMPARE(removed, position);
        QStringList left;
        for (const QSqlRecord& row : f.db.Select("SELECT Email_Unique_ID FROM NewEmails ORDER BY ID"))
            left << row.value(0).toString();
        QCOMPARE(left, left_ids);
        QCOMPARE(f.deleted_messages, deleted_messages);
        QCOMPARE(f.Listed_Keys().size(), left_ids.size());
        // The attached file goes with its e-mail.
        QVERIFY(!QFile::exists(f.file_path));
        QCOMPARE(f.Count("SELECT count(*) FROM Attachments"), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM JunkEmails WHERE Email = ?", {Sender}), which == "junk" ? 1 : 0);
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.Texts().join("\n")));
    }

    void deleting_from_no_address_takes_only_those_without_one()
    {
        Unmatched_Fixture f;
        f.Add_Email("Nobody", "", "No address", "text", Other_Received.addSecs(5), "nf.1");
        f.db.Insert("INSERT INTO NewEmails (Email_From_Name, Email_Unique_ID, Email_Received_Date) VALUES "
                    "('Null', 'nf.2', ?)",
                    {Other_Received});
        Delete_Unmatched_Emails_From(QString());
        QCOMPARE(f.Count("SELECT count(*) FROM NewEmails"), 3);
        QCOMPARE(f.deleted_messages, QStringList({"nf.1", "nf.2"}));
    }

    void the_listing_of_two_emails_prints_their_texts_as_text()
    {
        Unmatched_Fixture f;
        f.db.Execute("UPDATE NewEmails SET Email_Message = ? WHERE ID = ?",
                     {"a < b & c\r\n</table><h1>not a heading</h1>", f.first});
        QList<QPair<QString, QString>> previews;
        Set_Report_Preview_Handler(
            [&previews](const QString& title, const QString& html) { previews.append({title, html}); });
        QVERIFY(Print_Unmatched_Email(First_ID, First_Received));
        QVERIFY(!Print_Unmatched_Email("gone", First_Received));
        Print_All_Unmatched_Emails();
        Set_Report_Preview_Handler({});
        QCOMPARE(previews.size(), 2);
        QCOMPARE(previews[0].first, QString("Email Listing"));
        QCOMPARE(previews[1].first, QString("Email Listing"));

        const QString one = previews[0].second;
        QVERIFY(one.contains("<title>Email Listing</title>"));
        QVERIFY(one.contains(Report_Html_Text(Sender)));
        QVERIFY(one.contains("12/09/2026 08:14:00"));   // its Email_Date
        QVERIFY(one.contains("<hr"));
        QVERIFY(one.contains("a &lt; b &amp; c<br>&lt;/table&gt;&lt;h1&gt;not a heading&lt;/h1&gt;"));
        QVERIFY(!one.contains("<h1>not"));
        QCOMPARE(one.count("</table>"), one.count("<table"));
        QVERIFY(!one.contains("Second question"));

        // Every e-mail, in table order.
        const QString all = previews[1].second;
        const qsizetype first = all.indexOf("First question");
        const qsizetype other = all.indexOf("Buy now");
        const qsizetype second = all.indexOf("Second question");
        QVERIFY(first >= 0 && first < other && other < second);
        QVERIFY(all.contains("&lt;b&gt;now&lt;/b&gt;"));
        QCOMPARE(all.count("<hr"), 3);
    }
};

QTEST_GUILESS_MAIN(tst_unmatched_emails)
#include "tst_unmatched_emails.moc"
