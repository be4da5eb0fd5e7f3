#include <QtTest>

#include "Attachment_Store.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History.h"
#include "GlobalVariables.h"
#include "Recording_Main_Window.h"
#include "Shared_Routines.h"
#include "Test_Support.h"

namespace {

const QDateTime Received(QDate(2026, 12, 10), QTime(10, 5, 7));

qint64 Add_Contact(Database& db, const QString& email = QString())
{
    return db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Ann', ?)", {email});
}

qint64 Add_Event(qint64 contact, const QString& unique_id, int attachments = 0, bool pending = false,
                 const QString& type = "Email In")
{
    return Add_Event_History(contact, Received, "Truck", type, 2, "ann@example.com", "Quote please",
                             "Hello", false, Received, unique_id, pending, attachments);
}

int Count(Database& db, const QString& sql, const QVariantList& params = {})
{
    return db.Scalar(sql, params).toInt();
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class Event_History_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void an_event_is_stored_counted_and_listed_for_the_shown_contact()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        Recording_Main_Window window;
        Database db = folder.Db();
        const qint64 contact = Add_Contact(db);
        window.shown_contact_id = QString::number(contact);

        const qint64 id = Add_Event(contact, "<1733.2@mail.example.com>", 2, true);
        QVERIFY(id > 0);
        const QSqlRecord row = db.Select_First("SELECT * FROM Eventhistory WHERE ID = ?", {id});
        QCOMPARE(row.value("ContactID").toLongLong(), contact);
        QCOMPARE(Db_To_Date(row.value("EventDate")), Received);
        QCOMPARE(Db_Text(row, "Event_Product"), QString("Truck"));
        QCOMPARE(Db_Text(row, "Event_Type"), QString("Email In"));
        QCOMPARE(row.value("Timeline_Step_Number").toInt(), 2);
        QCOMPARE(Db_Text(row, "Event_Unique_ID"), QString("<1733.2@mail.example.com>"));
        QCOMPARE(row.value("Has_Attachments").toInt(), 1);
        QCOMPARE(row.value("EventRead").toInt(), 0);
        QCOMPARE(Count(db, "SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {contact}), 1);
        QCOMPARE(Count(db, "SELECT NumOfEvents FROM Stats WHERE Event = 'Event History: Email In'"), 1);

        QCOMPARE(window.Rows(Main_List::Events).size(), 1);
        const List_Row listed = window.Rows(Main_List::Events).first();
        QCOMPARE(listed.key, "evt<1733.2@mail.example.com>-:::-" + QString::number(contact));
        QCOMPARE(listed.texts, (QStringList{"12/10/26 10:05:07", "Email In", "Quote please"}));
        QCOMPARE(listed.bold, (QList<int>{1, 2, 3}));
        QCOMPARE(listed.icon, QString("Clip"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void the_contact_row_is_marked_at_once_when_asked_data()
    {
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("shown");
        QTest::newRow("marked, not on display") << true << false;
        QTest::newRow("marked, on display") << true << true;
        QTest::newRow("read event") << false << false;
    }
    void the_contact_row_is_marked_at_once_when_asked()
    {
        QFETCH(bool, pending);
        QFETCH(bool, shown);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        Recording_Main_Window window;
        Database db = folder.Db();
        const qint64 other = Add_Contact(db);
        const qint64 contact = Add_Contact(db);
        if (shown)
            window.shown_contact_id = QString::number(contact);

        QVERIFY(Add_Event(contact, "m1", 0, pending) > 0);
        QCOMPARE(window.pending_marks.contains(contact), pending);
        QCOMPARE(window.pending_marks.value(contact, false), pending);
        QVERIFY(!window.pending_marks.contains(other));
        QCOMPARE(Count(db, "SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {contact}), pending ? 1 : 0);
        // A duplicate adds nothing and marks nothing.
        window.pending_marks.clear();
        QCOMPARE(Add_Event(contact, "m1", 0, true), 0);
        QVERIFY(window.pending_marks.isEmpty());
    }

    void the_list_row_shows_no_clip_and_an_empty_date_when_there_is_none()
    {
        const List_Row row = Event_List_Row(QDateTime(), "Custom Event", "Note", "77", 5, false);
        QCOMPARE(row.key, QString("evt77-:::-5"));
        QCOMPARE(row.texts, (QStringList{"", "Custom Event", "Note"}));
        QVERIFY(row.icon.isEmpty());
    }

    void a_second_event_of_the_same_id_is_dropped_silently()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Main_Window window;
        Database db = folder.Db();
        const qint64 contact = Add_Contact(db);
        const qint64 other = Add_Contact(db);
        window.shown_contact_id = QString::number(contact);

        QVERIFY(Add_Event(contact, "42") > 0);
        QCOMPARE(Add_Event(contact, "42"), qint64(0));
        // The same id belongs to another contact, or differs in case: a new event.
        QVERIFY(Add_Event(other, "42") > 0);
        QVERIFY(Add_Event(contact, "<AbC@example.com>") > 0);
        QVERIFY(Add_Event(contact, "<abc@example.com>") > 0);

        QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {contact}), 3);
        QCOMPARE(Count(db, "SELECT NumOfEvents FROM Stats WHERE Event = 'Event History: Email In'"), 4);
        QCOMPARE(window.Rows(Main_List::Events).size(), 3);   // none for the contact not on display
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(Count(db, "SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {contact}), 0);
    }

    void an_event_of_a_missing_contact_is_refused_with_its_message_data()
    {
        QTest::addColumn<bool>("zero");
        QTest::addColumn<QString>("message");
        QTest::newRow("contact 0") << true
                                   << "Cannot add event for this customer. The contact no longer exists!";
        QTest::newRow("deleted contact") << false
                                         << "Event history was not added to non-existent contact #: ";
    }
    void an_event_of_a_missing_contact_is_refused_with_its_message()
    {
        QFETCH(bool, zero);
        QFETCH(QString, message);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        qint64 contact = 0;
        if (!zero) {
            contact = Add_Contact(db);
            db.Execute("DELETE FROM Contacts WHERE ID = ?", {contact});
            message += QString::number(contact);
        }
        QCOMPARE(Add_Event(contact, "7"), qint64(0));
        QCOMPARE(dialogs.Texts(), QStringList{message});
        QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 0);
        QCOMPARE(Count(db, "SELECT count(*) FROM Stats"), 0);
    }

    void look_ups_find_the_row_or_give_0_after_their_tries()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        Database db = folder.Db();
        const qint64 contact = Add_Contact(db);
        const qint64 event = Add_Event(contact, "<m1@example.com>");
        const qint64 unmatched = db.Insert(
            "INSERT INTO NewEmails (Email_Unique_ID, Email_Received_Date) VALUES (?, ?)",
            {"<m2@example.com>", Received});
        const qint64 outbox = db.Insert(
            "INSERT INTO Outbox (Out_Contact_ID, ToEmail, Date_Sent_To_Outbox) VALUES (?, ?, ?)",
            {contact, "ann@example.com", Received});

        QCOMPARE(Find_Event_History(contact, "<m1@example.com>", Received), event);
        QCOMPARE(Find_New_Email("<m2@example.com>", Received), unmatched);
        QCOMPARE(Find_Outbox_Email(contact, "ANN@example.com", Received), outbox);
        QCOMPARE(clock.paused_seconds, 0.0);

        // A recorded call carries no mail date: found by its missing date.
        const qint64 call = Add_Event_History(contact, Received, "Truck", "Outgoing Call", 0, "",
                                              "Called", "", true, QDateTime(), "991", false, 0);
        QCOMPARE(Find_Event_History(contact, "991", QDateTime()), call);
        QCOMPARE(Find_Event_History(contact, "991", Received, 1), qint64(0));
        QCOMPARE(clock.paused_seconds, 0.0);

        QCOMPARE(Find_Event_History(contact, "<M1@example.com>", Received), qint64(0));
        QCOMPARE(clock.paused_seconds, 4.0);   // five tries, one second apart
        QCOMPARE(Find_New_Email("<m2@example.com>", Received.addSecs(1), 1), qint64(0));
        QCOMPARE(Find_Outbox_Email(contact, "ann@example.com", Received.addSecs(-1), 3), qint64(0));
        QCOMPARE(clock.paused_seconds, 6.0);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void message_ids_of_any_form_are_stored_and_found_as_they_are_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("angle brackets") << "<CAF=3d+x.y@mail.example.com>";
        QTest::newRow("double quotes") << "<\"quoted\".part@example.com>";
        QTest::newRow("single quote") << "<o'brien.1@example.com>";
        QTest::newRow("maildir name") << "1733830000.M123P456Q7.host.example";
        QTest::newRow("unicode") << QString::fromUtf8("<zoë.müller@exämple.com>");
        QTest::newRow("wildcards") << "<a%b_c*?@example.com>";
        QTest::newRow("leading zeros") << "0042";
        QTest::newRow("number") << "1733830000123456789";
        QTest::newRow("blanks and backslash") << "a b\\c; --";
        QTest::newRow("long") << QString(300, QChar('m')) + "@example.com";
    }
    void message_ids_of_any_form_are_stored_and_found_as_they_are()
    {
        QFETCH(QString, id);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        Recording_Main_Window window;
        Database db = folder.Db();
        QStringList deleted_messages;
        Set_Mapi_Message_Deleter([&](const QString& message) { deleted_messages << message; });
        const qint64 contact = Add_Contact(db);
        window.shown_contact_id = QString::number(contact);

        const qint64 event = Add_Event(contact, id);
        QVERIFY(event > 0);
        QCOMPARE(Db_Text(db.Select_First("SELECT Event_Unique_ID FROM Eventhistory WHERE ID = ?", {event}),
                         "Event_Unique_ID"),
                 id);
        QCOMPARE(Add_Event(contact, id), qint64(0));   // the duplicate guard
        QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 1);
        QCOMPARE(window.Rows(Main_List::Events).size(), 1);
        QCOMPARE(window.Rows(Main_List::Events).first().key,
                 "evt" + id + "-:::-" + QString::number(contact));
        QCOMPARE(Find_Event_History(contact, id, Received), event);

        const qint64 unmatched = db.Insert(
            "INSERT INTO NewEmails (Email_Unique_ID, Email_Received_Date) VALUES (?, ?)", {id, Received});
        QCOMPARE(Find_New_Email(id, Received), unmatched);
        QCOMPARE(clock.paused_seconds, 0.0);

        // An id that differs in one character is another message.
        const QString other = id.left(id.size() - 1);
        QCOMPARE(Find_Event_History(contact, other, Received, 1), qint64(0));
        QCOMPARE(Find_New_Email(other, Received, 1), qint64(0));
        QVERIFY(Add_Event(contact, other) > 0);

        Delete_Event_History(event);
        QCOMPARE(deleted_messages, QStringList{id});
        QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory WHERE ID = ?", {event}), 0);
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("\n")));
        Set_Mapi_Message_Deleter({});
    }

    void values_holding_double_quotes_pass_every_store_routine()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        Database db = folder.Db();
        const QString address = "o\"neil\"@example.com";
        const qint64 contact = Add_Contact(db, address);
        QCOMPARE(Find_Contact_By_Email(address), contact);
        QCOMPARE(Find_Contact_By_Email("oneil@example.com"), qint64(0));

        const QString subject = "Re: \"Quote\" for \"Ann\"";
        const qint64 event = Add_Event_History(contact, Received, "Truck \"XL\"", "Email In", 1,
                                               "\"Ann\" <" + address + ">", subject, "She said \"yes\"",
                                               false, Received, "7", false, 0);
        QVERIFY(event > 0);
        const QSqlRecord row = db.Select_First("SELECT * FROM Eventhistory WHERE ID = ?", {event});
        QCOMPARE(Db_Text(row, "EventSubject"), subject);
        QCOMPARE(Db_Text(row, "Event_Product"), QString("Truck \"XL\""));
        QCOMPARE(Db_Text(row, "EventMessage"), QString("She said \"yes\""));

        const qint64 outbox = db.Insert(
            "INSERT INTO Outbox (Out_Contact_ID, ToEmail, Date_Sent_To_Outbox) VALUES (?, ?, ?)",
            {contact, address, Received});
        QCOMPARE(Find_Outbox_Email(contact, address, Received), outbox);

        Add_Stats("Event History: \"Odd\" type", 2);
        QCOMPARE(Count(db, "SELECT NumOfEvents FROM Stats WHERE Event = ?", {"Event History: \"Odd\" type"}), 2);
        Add_To_Junk_Emails(address);
        Add_To_Junk_Emails(address);
        QCOMPARE(Count(db, "SELECT count(*) FROM JunkEmails WHERE Email = ?", {address}), 1);

        const QString file = folder.Write_File("in/say \"hi\".txt", "hi");
        QVERIFY(Copy_File_To_Event_Attachments(event, file));
        QVERIFY(QFile::exists(Attachments_Folder() + "say \"hi\".txt"));
        Delete_One_Attachment(event, "E", "say \"hi\".txt");
        QVERIFY(!QFile::exists(Attachments_Folder() + "say \"hi\".txt"));
        QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 0);
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("\n")));
    }

    void a_failed_look_up_shows_the_query_and_gives_0()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        folder.Db().Execute("DROP TABLE NewEmails");
        QCOMPARE(Find_New_Email("<m@example.com>", Received), qint64(0));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.startsWith("Error on open temp record. msg: "));
        QVERIFY(dialogs.messages.first().text.contains("\r\n\r\nOn query: SELECT"));
    }

    void a_contact_is_found_by_its_address_only_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("found");   // first name of the contact found, empty for none
        QTest::newRow("same address") << "a_b@example.com" << "Under";
        QTest::newRow("other case") << "A_B@Example.COM" << "Under";
        QTest::newRow("underscore is no wildcard") << "axb@example.com" << "";
        QTest::newRow("percent is no wildcard") << "%@example.com" << "";
        QTest::newRow("part of an address") << "b@example.com" << "";
        QTest::newRow("empty address") << "" << "";
    }
    void a_contact_is_found_by_its_address_only()
    {
        QFETCH(QString, search);
        QFETCH(QString, found);
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("INSERT INTO Contacts (FirstName, Email) VALUES ('Blank', '')");
        db.Execute("INSERT INTO Contacts (FirstName, Email) VALUES ('Under', 'a_b@example.com')");
        db.Execute("INSERT INTO Contacts (FirstName, Email) VALUES ('Second', 'a_b@example.com')");
        const qint64 id = Find_Contact_By_Email(search);
        if (found.isEmpty())
            QCOMPARE(id, qint64(0));
        else
            QCOMPARE(db.Scalar("SELECT FirstName FROM Contacts WHERE ID = ?", {id}).toString(), found);
    }

    void deleting_an_event_removes_its_files_and_its_stored_message()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        QStringList deleted_messages;
        Set_Mapi_Message_Deleter([&](const QString& id) { deleted_messages << id; });

        const qint64 contact = Add_Contact(db);
        const qint64 kept_contact = Add_Contact(db);
        const qint64 event = Add_Event(contact, "<gone@example.com>", 2);
        const qint64 second = Add_Event(contact, "<second@example.com>");
        const qint64 kept = Add_Event(kept_contact, "<kept@example.com>", 1);
        const QString a = folder.Write_File("in/a.txt", "a");
        const QString b = folder.Write_File("in/b.txt", "b");
        QVERIFY(Copy_File_To_Event_Attachments(event, a));
        QVERIFY(Copy_File_To_Event_Attachments(event, b));
        QVERIFY(Copy_File_To_Event_Attachments(kept, a));
        const QString stored_b = Attachments_Folder() + "b.txt";
        QVERIFY(QFile::setPermissions(stored_b, QFileDevice::ReadOwner));   // read-only

        Delete_Event_History(event);
        QVERIFY(!QFile::exists(Attachments_Folder() + "a.txt"));
        QVERIFY(!QFile::exists(stored_b));
        QVERIFY(QFile::exists(Attachments_Folder() + "0a.txt"));
        QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory WHERE ID = ?", {event}), 0);
        QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 1);
        QCOMPARE(deleted_messages, QStringList{"<gone@example.com>"});

        Delete_Contact_Event_History(contact);
        QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {contact}), 0);
        QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory WHERE ID = ?", {kept}), 1);
        QCOMPARE(deleted_messages, (QStringList{"<gone@example.com>", "<second@example.com>"}));
        Q_UNUSED(second);

        // With no mail transport registered an event is deleted all the same.
        Set_Mapi_Message_Deleter({});
        Delete_Event_History(kept);
        QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 0);
        QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 0);
        Delete_Event_History(kept);   // no such row: nothing happens
        QVERIFY(dialogs.messages.isEmpty());
    }

    void outbox_attachments_are_copied_and_deleted_with_their_files()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const QString source = folder.Write_File("in/quote.pdf", "%PDF");
        QVERIFY(Copy_File_To_Outbox_Attachments(9, source));
        QVERIFY(Copy_File_To_Outbox_Attachments(9, source));
        QVERIFY(Copy_File_To_Outbox_Attachments(10, source));
        const QList<QSqlRecord> rows =
            db.Select("SELECT Attachment_Path, Attachment_Name FROM Outbox_Attachments "
                      "WHERE Outbox_ID = 9 ORDER BY ID");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(Db_Text(rows[0], "Attachment_Path"), Attachments_Folder() + "quote.pdf");
        QCOMPARE(Db_Text(rows[1], "Attachment_Path"), Attachments_Folder() + "0quote.pdf");
        QCOMPARE(Db_Text(rows[1], "Attachment_Name"), QString("quote.pdf"));
        QCOMPARE(Read(Attachments_Folder() + "0quote.pdf"), QByteArray("%PDF"));

        Delete_Outbox_Attachments(9);
        QVERIFY(!QFile::exists(Attachments_Folder() + "quote.pdf"));
        QVERIFY(!QFile::exists(Attachments_Folder() + "0quote.pdf"));
        QVERIFY(QFile::exists(Attachments_Folder() + "1quote.pdf"));
        QCOMPARE(Count(db, "SELECT count(*) FROM Outbox_Attachments"), 1);
        QVERIFY(QFile::exists(source));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void copies_take_the_first_free_name()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const QString first = folder.Write_File("one/a.txt", "first");
        const QString second = folder.Write_File("two/a.txt", "second");
        const QString third = folder.Write_File("three/a.txt", "third");
        QVERIFY(Copy_File_To_Event_Attachments(1, first));
        QVERIFY(Copy_File_To_Event_Attachments(1, second));
        QVERIFY(Copy_File_To_Event_Attachments(2, third));
        const QString store = Attachments_Folder();
        QCOMPARE(Read(store + "a.txt"), QByteArray("first"));
        QCOMPARE(Read(store + "0a.txt"), QByteArray("second"));
        QCOMPARE(Read(store + "1a.txt"), QByteArray("third"));
        const QList<QSqlRecord> rows = db.Select(
            "SELECT Link_ID, Link_Database, Attachment_Path_Name, Attachment_Final_Name "
            "FROM Attachments ORDER BY rowid");
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[2].value("Link_ID").toLongLong(), qint64(2));
        QCOMPARE(Db_Text(rows[2], "Link_Database"), QString("E"));
        QCOMPARE(Db_Text(rows[2], "Attachment_Path_Name"), store + "1a.txt");
        for (const QSqlRecord& row : rows)
            QCOMPARE(Db_Text(row, "Attachment_Final_Name"), QString("a.txt"));

        // A gap left by a deleted copy is taken first.
        QVERIFY(QFile::remove(store + "0a.txt"));
        QCOMPARE(Attachment_Free_Name(first), store + "0a.txt");
        QCOMPARE(Attachment_Free_Name(folder.Path("one/b.txt")), store + "b.txt");
        QVERIFY(dialogs.messages.isEmpty());
    }

    void a_copy_that_fails_is_reported_and_recorded_nowhere_data()
    {
        QTest::addColumn<bool>("outbox");
        QTest::addColumn<bool>("source_missing");
        QTest::addColumn<QString>("message");
        QTest::newRow("event, no source") << false << true << "Error on Add Attachment. msg: ";
        QTest::newRow("outbox, no source") << true << true << "Error on Add Outbox Attachment. msg: ";
        QTest::newRow("event, no table") << false << false << "Error on Add Attachment. msg: ";
        QTest::newRow("outbox, no table") << true << false << "Error on Add Outbox Attachment. msg: ";
    }
    void a_copy_that_fails_is_reported_and_recorded_nowhere()
    {
        QFETCH(bool, outbox);
        QFETCH(bool, source_missing);
        QFETCH(QString, message);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        const QString source = source_missing ? folder.Path("in/none.txt")
                                              : folder.Write_File("in/none.txt", "x");
        if (!source_missing)
            folder.Db().Execute(outbox ? "DROP TABLE Outbox_Attachments" : "DROP TABLE Attachments");
        QVERIFY(!(outbox ? Copy_File_To_Outbox_Attachments(3, source)
                         : Copy_File_To_Event_Attachments(3, source)));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.first().text.startsWith(message), qPrintable(dialogs.Texts().first()));
        QVERIFY(dialogs.messages.first().text.size() > message.size());
        QVERIFY(QDir(Attachments_Folder()).entryList(QDir::Files).isEmpty());
    }

    void deleting_one_attachment_takes_the_first_row_of_that_name()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const QString source = folder.Write_File("in/a.txt", "a");
        QVERIFY(Copy_File_To_Event_Attachments(4, source));
        QVERIFY(Copy_File_To_Event_Attachments(4, source));
        db.Execute("UPDATE Attachments SET Link_Database = 'U'");

        Delete_One_Attachment(4, "U", "a.txt");
        QVERIFY(!QFile::exists(Attachments_Folder() + "a.txt"));
        QVERIFY(QFile::exists(Attachments_Folder() + "0a.txt"));
        QCOMPARE(Db_Text(db.Select_First("SELECT Attachment_Path_Name FROM Attachments"),
                         "Attachment_Path_Name"),
                 Attachments_Folder() + "0a.txt");
        QVERIFY(dialogs.messages.isEmpty());

        Delete_One_Attachment(4, "E", "a.txt");
        QCOMPARE(dialogs.Texts(), QStringList{"Could not find Attachment: a.txt"});
        QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 1);

        // A row whose file is already gone goes without a message.
        QVERIFY(QFile::remove(Attachments_Folder() + "0a.txt"));
        Delete_One_Attachment(4, "U", "a.txt");
        QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 0);
        QCOMPARE(dialogs.messages.size(), 1);
    }

    void a_file_that_cannot_be_deleted_is_a_file_error_and_keeps_its_row()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        // A folder where the stored file should be cannot be deleted as a file.
        const QString stuck = QFileInfo(folder.Write_File("Attachments/stuck.txt/inside", "x")).absolutePath();
        db.Execute("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, Attachment_Final_Name) "
                   "VALUES (9, 'U', ?, 'stuck.txt')",
                   {stuck});
        QVERIFY_THROWS_EXCEPTION(File_Error, Delete_One_Attachment(9, "U", "stuck.txt"));
        bool database_error = false;
        QString description;
        try {
            Delete_All_Attachments(9, "U");
        } catch (const Database_Error&) {
            database_error = true;
        } catch (const Program_Error& e) {
            description = e.Description();
        }
        QVERIFY(!database_error);
        QVERIFY2(description.startsWith("Could not delete " + stuck), qPrintable(description));
        QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 1);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void deleting_all_attachments_of_an_owner()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const QString a = folder.Write_File("in/a.txt", "a");
        const QString b = folder.Write_File("in/b.txt", "b");
        QVERIFY(Copy_File_To_Event_Attachments(6, a));
        QVERIFY(Copy_File_To_Event_Attachments(6, b));
        QVERIFY(Copy_File_To_Event_Attachments(7, a));
        db.Execute("UPDATE Attachments SET Link_Database = 'U' WHERE Link_ID = 6");

        Delete_All_Attachments(8, "U");   // no rows: nothing changes
        Delete_All_Attachments(6, "E");   // another kind of owner
        QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 3);

        Delete_All_Attachments(6, "U");
        QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 1);
        QVERIFY(!QFile::exists(Attachments_Folder() + "a.txt"));
        QVERIFY(!QFile::exists(Attachments_Folder() + "b.txt"));
        QVERIFY(QFile::exists(Attachments_Folder() + "0a.txt"));
        QVERIFY(dialogs.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(Event_History_Test)
#include "tst_event_history.moc"
