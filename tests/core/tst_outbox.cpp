#include <QtTest>

#include "Database.h"
#include "GlobalVariables.h"
#include "Outbox_Posting.h"
#include "Recording_Main_Window.h"
#include "Test_Support.h"

class Outbox_Test : public QObject {
    Q_OBJECT

    qint64 Post(const QString& type, const QDateTime& due, int lead_time = 0,
                const QStringList& files = {}, const QString& to = "ann@example.com",
                const QString& name = "Ann Lee")
    {
        const bool stored = Send_To_Outbox(7, to, name, "Subject", "Message", "me@example.com", "Me",
                                           "Car", 2, type, due, lead_time, files);
        return stored ? Last_Posted_Outbox_ID() : 0;
    }

private Q_SLOTS:
    void posting_stores_the_row_and_lists_it_once_loaded_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("outbox_loaded");
        QTest::addColumn<bool>("todo_loaded");
        QTest::addColumn<int>("due_days");
        QTest::addColumn<int>("outbox_rows");
        QTest::addColumn<int>("todo_rows");
        QTest::newRow("e-mail, outbox never shown") << "Email Out" << false << true << 0 << 0 << 0;
        QTest::newRow("e-mail, outbox shown") << "Email Out" << true << false << 0 << 1 << 0;
        QTest::newRow("quote due beyond its lead time") << "Send Quote" << true << true << 10 << 0 << 0;
        QTest::newRow("quote within its lead time, list never shown")
            << "Send Quote" << false << false << 2 << 1 << 0;
        QTest::newRow("call, to-do list shown") << "Call Out" << true << true << 0 << 0 << 1;
        QTest::newRow("to-do, to-do list never shown") << "To Do" << true << false << 0 << 0 << 0;
        QTest::newRow("other type, no row") << "Custom" << true << true << 0 << 0 << 0;
    }
    void posting_stores_the_row_and_lists_it_once_loaded()
    {
        QFETCH(QString, type);
        QFETCH(bool, outbox_loaded);
        QFETCH(bool, todo_loaded);
        QFETCH(int, due_days);
        QFETCH(int, outbox_rows);
        QFETCH(int, todo_rows);
        Test_Program_Folder folder;
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        Recording_Main_Window window;
        GlobalVariables::Outbox_List_Loaded = outbox_loaded;
        GlobalVariables::ToDo_List_Loaded = todo_loaded;

        const QDateTime posted = clock.Now();
        const qint64 id = Post(type, posted.addDays(due_days), 3);
        QVERIFY(id > 0);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(clock.paused_seconds, 1.0);

        const QSqlRecord row = folder.Db().Select_First("SELECT * FROM Outbox WHERE ID = ?", {id});
        QCOMPARE(row.value("Out_Contact_ID").toLongLong(), 7);
        QCOMPARE(row.value("Out_Event_Type").toString(), type);
        QCOMPARE(row.value("Out_Timeline_Event_Number").toInt(), 2);
        QCOMPARE(row.value("Product_Name").toString(), QString("Car"));
        QCOMPARE(row.value("FromEmailName").toString(), QString("Me"));
        QCOMPARE(row.value("Lead_Time").toInt(), 3);
        QCOMPARE(Db_To_Date(row.value("Date_Sent_To_Outbox")), posted);
        QCOMPARE(Db_To_Date(row.value("Date_To_Execute_Event")), posted.addDays(due_days));

        QCOMPARE(window.Rows(Main_List::Outbox).size(), outbox_rows);
        QCOMPARE(window.Rows(Main_List::ToDo).size(), todo_rows);
        if (outbox_rows) {
            const List_Row r = window.Rows(Main_List::Outbox).first();
            QCOMPARE(r.key, Make_Outbox_Key("ann@example.com", posted));
            QCOMPARE(r.texts, QStringList({"Ann Lee", "ann@example.com", "Subject"}));
            QCOMPARE(r.icon, QString("Remove"));
        }
        if (todo_rows) {
            const List_Row r = window.Rows(Main_List::ToDo).first();
            QCOMPARE(r.key, QString("tdo7-:::-") + Db_Date_Text(posted));
            QCOMPARE(r.texts.mid(0, 3), QStringList({"Ann", "Lee", type}));
            QCOMPARE(r.icon, QString("Phone"));
        }
    }

    void a_to_do_name_splits_into_first_word_and_rest()
    {
        Test_Program_Folder folder;
        Test_Clock clock;
        Recording_Main_Window window;
        GlobalVariables::ToDo_List_Loaded = true;
        Post("To Do", clock.Now(), 0, {}, "m@example.com", "Mary Ann Smith");
        Post("To Do", clock.Now(), 0, {}, "p@example.com", "Prince");
        const QList<List_Row>& rows = window.Rows(Main_List::ToDo);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].texts.mid(0, 2), QStringList({"Mary", "Ann Smith"}));
        QCOMPARE(rows[0].icon, QString("WritePad"));
        QCOMPARE(rows[1].texts.mid(0, 2), QStringList({"Prince", ""}));
    }

    void two_postings_in_a_row_differ_in_their_posting_moment()
    {
        Test_Program_Folder folder;
        Test_Clock clock;
        const qint64 first = Post("Email Out", clock.Now());
        const qint64 second = Post("Email Out", clock.Now());
        QVERIFY(first > 0 && second > first);
        Database db = folder.Db();
        const QDateTime a = Db_To_Date(db.Scalar("SELECT Date_Sent_To_Outbox FROM Outbox WHERE ID = ?", {first}));
        const QDateTime b = Db_To_Date(db.Scalar("SELECT Date_Sent_To_Outbox FROM Outbox WHERE ID = ?", {second}));
        QVERIFY(a.secsTo(b) >= 1);
    }

    void attachments_are_copied_in_order_and_a_bad_one_is_skipped()
    {
        Test_Program_Folder folder;
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        Recording_Main_Window window;
        GlobalVariables::Outbox_List_Loaded = true;
        const QString one = folder.Write_File("src/one.txt", "1");
        const QString missing = folder.Path("src/missing.txt");
        const QString three = folder.Write_File("src/three.pdf", "3");

        const qint64 id = Post("Email Out", clock.Now(), 0, {one, missing, three});
        QVERIFY(id > 0);
        // The store reports the file it could not copy; the posting goes on.
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.contains("missing.txt"));
        const QList<QSqlRecord> rows = folder.Db().Select(
            "SELECT Attachment_Path, Attachment_Name FROM Outbox_Attachments WHERE Outbox_ID = ? ORDER BY ID", {id});
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].value("Attachment_Name").toString(), QString("one.txt"));
        QCOMPARE(rows[1].value("Attachment_Name").toString(), QString("three.pdf"));
        QVERIFY(QFile::exists(rows[0].value("Attachment_Path").toString()));
        QVERIFY(rows[0].value("Attachment_Path").toString().startsWith(folder.Path("Attachments/")));
        // Completed: list row with the clip, and the one-second wait.
        QCOMPARE(window.Rows(Main_List::Outbox).size(), 1);
        QCOMPARE(window.Rows(Main_List::Outbox).first().icon, QString("Clip"));
        QCOMPARE(clock.paused_seconds, 1.0);
    }

    void a_failed_posting_is_reported_and_stores_nothing()
    {
        Test_Program_Folder folder;
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("DROP TABLE Outbox");
        QVERIFY(!Send_To_Outbox(7, "ann@example.com", "Ann", "S", "M", "me@x.com", "Me", "Car", 1,
                                "Email Out", clock.Now(), 0));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.startsWith(
            "Error on Send to Outbox. Email: ann@example.com Error: "));
        QCOMPARE(clock.paused_seconds, 0.0);
    }

    void values_are_stored_as_given_even_with_quotes()
    {
        Test_Program_Folder folder;
        Test_Clock clock;
        const qint64 id = Send_To_Outbox(1, "", "O\"Brien", "It's \"here\"", "M", "me@x.com", "Me",
                                         "Car \"X\"", 1, "Email Out", clock.Now(), 0)
                              ? Last_Posted_Outbox_ID() : 0;
        QVERIFY(id > 0);
        const QSqlRecord row = folder.Db().Select_First("SELECT * FROM Outbox WHERE ID = ?", {id});
        QCOMPARE(row.value("ToEmail").toString(), QString(""));
        QCOMPARE(row.value("Subject").toString(), QString("It's \"here\""));
        QCOMPARE(row.value("Product_Name").toString(), QString("Car \"X\""));
    }
};

QTEST_GUILESS_MAIN(Outbox_Test)
#include "tst_outbox.moc"
