// Incoming mail from a real Maildir filed into the database: events of the
// contacts, unmatched e-mails, attachments, duplicates and deletion.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Mail_Integration.h"
#include "Mapi_Fetch.h"
#include "Process_State.h"
#include "Intake_Fixture.h"
#include "List_Rows.h"
#include "Recording_Main_Window.h"
#include "Shared_Routines.h"
#include "Test_Maildir.h"
#include "Test_Support.h"
#include "Settings.h"

namespace {

qint64 Add_Contact(Database& db, const QString& first, const QString& email)
{
    return db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES (?, 'Tester', ?)", {first, email});
}

int Count(Database& db, const QString& sql, const QVariantList& params = {})
{
    return db.Scalar(sql, params).toInt();
}

QByteArray Read_All(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray Message(const QString& from, const QString& subject, const QString& body)
{
    return QString("From: %1\nTo: sales@dealer.example\nSubject: %2\nDate: Thu, 10 Dec 2026 09:00:00 +0000\n"
                   "MIME-Version: 1.0\nContent-Type: text/plain; charset=utf-8\n\n%3\n")
        .arg(from, subject, body)
        .toUtf8();
}

QDateTime Received(const Test_Maildir& maildir, const QString& unique)
{
    QDateTime when = QFileInfo(maildir.Path_Of(unique)).lastModified();
    when.setTime(QTime(when.time().hour(), when.time().minute(), when.time().second()));
    return when;
}

} // namespace

class tst_mail_integration : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matched_mail_becomes_an_email_in_event_with_its_attachments();
    void unmatched_mail_becomes_a_new_emails_row();
    void a_second_fetch_files_nothing_twice();
    void an_invalid_sender_subject_finds_the_contact_in_the_text();
    void delete_remote_email_data();
    void delete_remote_email();
    void a_message_the_store_cannot_give_does_not_stop_the_others();
    void a_message_whose_attachments_cannot_be_stored_stays_whole_in_the_store();
    void a_full_disk_files_nothing_and_keeps_every_file();
    void a_check_during_an_intake_starts_no_second_one();
    void a_store_that_cannot_be_read_is_reported_and_the_program_goes_on();
    void get_email_says_what_it_filed_data();
    void get_email_says_what_it_filed();
    void deleting_a_stored_message_by_id();
    void two_files_of_one_name_take_numbers_in_turn();
    void the_unread_check_sees_what_changed_in_the_store();
    void a_message_is_filed_once_whatever_its_file_time_or_the_zone();
    void a_truncated_attachment_and_a_sender_without_address_are_said();
    void copies_left_waiting_by_a_killed_intake_are_finished_or_dropped();
    void addresses_in_a_text_data();
    void addresses_in_a_text();
};

void tst_mail_integration::matched_mail_becomes_an_email_in_event_with_its_attachments()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const qint64 frank = Add_Contact(db, "Frank", "FRANK@Example.com");
    const QString unique = maildir.Deliver("attachments.eml");
    // A stored file of the same name: the copy gets a number in front.
    folder.Write_File("Attachments/" + QString::fromUtf8("Präsentation Q4.pdf"), "older");

    Mapi_Sign_On();
    Get_Mapi_Email();

    const QSqlRecord event = db.Select_First("SELECT * FROM Eventhistory");
    QVERIFY(!event.isEmpty());
    QCOMPARE(event.value("ContactID").toLongLong(), frank);
    QCOMPARE(event.value("Event_Type").toString(), QString("Email In"));
    QCOMPARE(event.value("Sender").toString(), QString("frank@example.com"));
    QCOMPARE(event.value("EventSubject").toString(), QString("Documents for the order"));
    QCOMPARE(event.value("EventMessage").toString(), QString("Here are the documents."));
    QCOMPARE(event.value("Event_Unique_ID").toString(), unique);
    QCOMPARE(Db_To_Date(event.value("Email_ID_Date")), Received(maildir, unique));
    QCOMPARE(event.value("EventRead").toInt(), 0);
    QCOMPARE(event.value("Has_Attachments").toInt(), 1);
    QCOMPARE(Count(db, "SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {frank}), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 0);

    const QList<QSqlRecord> files = db.Select("SELECT * FROM Attachments ORDER BY rowid");
    QCOMPARE(files.size(), 2);
    const QString store = folder.Path("Attachments/");
    QCOMPARE(files.at(0).value("Link_ID").toLongLong(), event.value("ID").toLongLong());
    QCOMPARE(files.at(0).value("Link_Database").toString(), QString("E"));
    QCOMPARE(files.at(0).value("Attachment_Final_Name").toString(), QString::fromUtf8("Präsentation Q4.pdf"));
    QCOMPARE(files.at(0).value("Attachment_Path_Name").toString(), store + QString::fromUtf8("1Präsentation Q4.pdf"));
    QCOMPARE(Read_All(files.at(0).value("Attachment_Path_Name").toString()), QByteArray("PDF-CONTENT-1"));
    QCOMPARE(files.at(1).value("Attachment_Path_Name").toString(), store + QString::fromUtf8("Angebot für  Frank.txt"));
    QCOMPARE(Read_All(files.at(1).value("Attachment_Path_Name").toString()), QByteArray("offer text\n"));

    QVERIFY(window.panel_history.value(5).contains("Integrating Emails"));
    QCOMPARE(window.panel_history.value(6).first(), QString("0/1"));
    QCOMPARE(window.panels.value(5), QString());
    QCOMPARE(window.panels.value(6), QString());
    // The store is the user's: without Delete_Remote_Email it stays as it was.
    QCOMPARE(maildir.Files().size(), 1);
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_mail_integration::unmatched_mail_becomes_a_new_emails_row()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    // A contact without an address must not take mail that has no sender.
    Add_Contact(db, "Nobody", "");
    const QString plain = maildir.Deliver("plain.eml");
    const QString hostile = maildir.Deliver("hostile_names.eml");
    const QString broken = maildir.Deliver("malformed.eml");
    const QString no_sender = maildir.Deliver_Content("Subject: who sent this?\n\nno From header\n");
    GlobalVariables::Unmatched_List_Loaded = true;

    Mapi_Sign_On();
    Get_Mapi_Email();

    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 0);
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 4);
    const QSqlRecord row = db.Select_First("SELECT * FROM NewEmails WHERE Email_Unique_ID = ?", {plain});
    QCOMPARE(row.value("Email_From").toString(), QString("jane@example.com"));
    QCOMPARE(row.value("Email_From_Name").toString(), QString("Jane Buyer"));
    QCOMPARE(row.value("Email_Subject").toString(), QString("Question about the blue sedan"));
    QVERIFY(row.value("Email_Message").toString().startsWith("Hello,\r\n\r\nis the blue sedan"));
    QCOMPARE(Db_To_Date(row.value("Email_Received_Date")), Received(maildir, plain));
    QCOMPARE(Db_To_Date(row.value("Email_Date")), clock.Now());
    QCOMPARE(row.value("Email_New").toInt(), 1);
    QCOMPARE(row.value("Has_Attachments").toInt(), 0);
    QCOMPARE(row.value("Email_Number_On_Server").toInt(), 0);
    QCOMPARE(Count(db, "SELECT Email_From = '' FROM NewEmails WHERE Email_Unique_ID = ?", {no_sender}), 1);
    QCOMPARE(db.Scalar("SELECT Email_Message FROM NewEmails WHERE Email_Unique_ID = ?", {broken}).toString(),
             QString("This body has no boundary lines at all.\r\nAnd the header block above is damaged.\r\n"));

    // Every file is linked to its own row, by the id the insert gave.
    const qint64 hostile_id = db.Scalar("SELECT ID FROM NewEmails WHERE Email_Unique_ID = ?", {hostile}).toLongLong();
    QCOMPARE(Count(db, "SELECT Has_Attachments FROM NewEmails WHERE ID = ?", {hostile_id}), 1);
    const QList<QSqlRecord> files = db.Select("SELECT * FROM Attachments ORDER BY rowid");
    QCOMPARE(files.size(), 4);
    QStringList names;
    for (const QSqlRecord& file : files) {
        QCOMPARE(file.value("Link_ID").toLongLong(), hostile_id);
        QCOMPARE(file.value("Link_Database").toString(), QString("U"));
        const QFileInfo copy(file.value("Attachment_Path_Name").toString());
        QCOMPARE(copy.absolutePath() + "/", folder.Path("Attachments/"));
        QVERIFY(copy.isFile());
        names << file.value("Attachment_Final_Name").toString();
    }
    QCOMPARE(names, QStringList({"escape.txt", "win.ini", "badname.txt", "attachment"}));
    QVERIFY(!QFileInfo::exists(folder.Path("escape.txt")));

    QCOMPARE(db.Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Added to Unmatched'").toInt(), 4);
    const List_Row* shown = window.Row(Main_List::Unmatched, Make_Unmatched_Key(Received(maildir, hostile), hostile));
    QVERIFY(shown);
    QCOMPARE(shown->icon, QString("Clip"));
    QCOMPARE(shown->texts.value(0), QString("Gina"));
    QCOMPARE(window.List_Row_Count(Main_List::Unmatched), 4);
}

void tst_mail_integration::a_second_fetch_files_nothing_twice()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    Add_Contact(db, "Frank", "frank@example.com");
    maildir.Deliver("attachments.eml");
    maildir.Deliver("plain.eml", QDateTime(), true, "S");
    const QString unread = maildir.Deliver("base64.eml");
    GlobalVariables::Unmatched_List_Loaded = true;

    Mapi_Sign_On();
    Get_Mapi_Email();
    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 2);
    QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 2);

    Get_Mapi_Email();
    QVERIFY(MDICheck_Email_And_Integrate_If_Needed());
    QVERIFY(MDICheck_Email_And_Integrate_If_Needed());
    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 2);
    QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 2);
    QCOMPARE(QDir(folder.Path("Attachments")).entryList(QDir::Files).size(), 2);
    QCOMPARE(window.List_Row_Count(Main_List::Unmatched), 2);
    QCOMPARE(db.Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Added to Unmatched'").toInt(), 2);
    // Unread mail was there, but all of it filed before: no sign.
    QCOMPARE(window.panel_visible.value(7, true), false);

    // With no unread mail the check integrates nothing, and the sign stays off.
    window.panel_visible[7] = true;
    QFile::rename(maildir.Path_Of(unread), maildir.Folder() + "/cur/" + unread + ":2,S");
    const QString frank = db.Scalar("SELECT Event_Unique_ID FROM Eventhistory").toString();
    QFile::rename(maildir.Path_Of(frank), maildir.Folder() + "/cur/" + frank + ":2,RS");
    window.panel_history.clear();
    QVERIFY(MDICheck_Email_And_Integrate_If_Needed());
    QCOMPARE(window.panel_visible.value(7, true), false);
    QVERIFY(!window.panel_history.value(5).contains("Integrating Emails"));
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_mail_integration::an_invalid_sender_subject_finds_the_contact_in_the_text()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const qint64 jane = Add_Contact(db, "Jane", "jane@example.com");
    const qint64 first = Add_Contact(db, "First", "first@example.com");
    db.Execute("INSERT INTO InvalidSearchStrings (Subject_Search_String) VALUES (NULL), (''), ('Web inquiry')");
    db.Execute("INSERT INTO EmailContactImports (Name_Of_Site, Search_String_On_Subject_Line) VALUES ('Leads', 'New Lead')");

    // Another address first, then the contact's: the contact's wins.
    const QString found = maildir.Deliver_Content(Message(
        "webmaster@site.example", "Web inquiry #42",
        "Sent by the form for stranger@nowhere.example.\nReply to jane@example.com please."));
    // An address at the very start of the text; the subject also holds a filter's text.
    const QString at_start = maildir.Deliver_Content(
        Message("webmaster@site.example", "New Lead - Web inquiry", "first@example.com wrote in."));
    const QString nobody = maildir.Deliver_Content(
        Message("webmaster@site.example", "Web inquiry #43", "No address here @ all, only a@ and @b."));
    // The sender of this one is a contact, but its subject says it is not the contact.
    const QString sender_is_contact = maildir.Deliver_Content(
        Message("jane@example.com", "Web inquiry #44", "Nothing to go by."));

    Mapi_Sign_On();
    Get_Mapi_Email();

    const QSqlRecord to_jane = db.Select_First("SELECT * FROM Eventhistory WHERE Event_Unique_ID = ?", {found});
    QCOMPARE(to_jane.value("ContactID").toLongLong(), jane);
    QCOMPARE(to_jane.value("Sender").toString(), QString("webmaster@site.example"));
    QCOMPARE(to_jane.value("Event_Type").toString(), QString("Email In"));
    QCOMPARE(db.Scalar("SELECT ContactID FROM Eventhistory WHERE Event_Unique_ID = ?", {at_start}).toLongLong(), first);
    QCOMPARE(Count(db, "SELECT count(*) FROM Contacts"), 2);  // no lead was made
    QCOMPARE(db.Scalar("SELECT Email_From FROM NewEmails WHERE Email_Unique_ID = ?", {nobody}).toString(),
             QString("webmaster@site.example"));
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails WHERE Email_Unique_ID = ?", {sender_is_contact}), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 2);
}

void tst_mail_integration::delete_remote_email_data()
{
    QTest::addColumn<bool>("delete_remote");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

void tst_mail_integration::delete_remote_email()
{
    QFETCH(bool, delete_remote);
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    Add_Contact(db, "Frank", "frank@example.com");
    db.Execute("INSERT INTO EmailContactImports (Name_Of_Site, Search_String_On_Subject_Line) VALUES ('Leads', 'New Lead')");
    maildir.Deliver("plain.eml");
    Mapi_Sign_On();
    Get_Mapi_Email();  // filed before: a duplicate next time

    maildir.Deliver("attachments.eml");
    maildir.Deliver_Content(Message("form@leads.example", "New Lead arrived", "Email: lead@example.com"));
    maildir.Deliver("html_only.eml", QDateTime(), true, "S");
    Update_Settings([&](Program_Settings& s) { s.Delete_Remote_Email = delete_remote; });
    Get_Mapi_Email();

    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 2);  // Frank's and the lead's
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 2);
    QCOMPARE(maildir.Files().size(), delete_remote ? 0 : 4);
    QCOMPARE(MAPIMessages1().MsgCount(), delete_remote ? 0 : 4);
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_mail_integration::a_message_the_store_cannot_give_does_not_stop_the_others()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const QString first = maildir.Deliver("plain.eml");
    const QString vanishing = maildir.Deliver("base64.eml");
    const QString last = maildir.Deliver("alternative.eml");
    Update_Settings([&](Program_Settings& s) { s.Delete_Remote_Email = true; });

    Mapi_Sign_On();
    // A set of the test's own: the intake files the set it is handed.
    MAPIMessages messages;
    messages.Set_Session(&MAPISession1());
    messages.FetchUnreadOnly = false;
    messages.Fetch();
    // Taken away by the mail client between the fetch and the reading.
    QVERIFY(QFile::remove(maildir.Path_Of(vanishing)));
    Integrate_Mapi_Emails(messages);
    QCOMPARE(MAPIMessages1().MsgCount(), 0);

    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails WHERE Email_Unique_ID IN (?, ?)", {first, last}), 2);
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 2);
    QCOMPARE(maildir.Files().size(), 0);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.at(0).text.contains(vanishing));
}

void tst_mail_integration::a_message_whose_attachments_cannot_be_stored_stays_whole_in_the_store()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const qint64 frank = Add_Contact(db, "Frank", "frank@example.com");
    window.shown_contact_id = QString::number(frank);
    maildir.Deliver("plain.eml");
    const QString with_files = maildir.Deliver("attachments.eml");
    const QString unmatched_with_files = maildir.Deliver("hostile_names.eml");
    Update_Settings([&](Program_Settings& s) { s.Delete_Remote_Email = true; });
    GlobalVariables::Unmatched_List_Loaded = true;
    // The store cannot take files: where the folder should be lies a file.
    QDir(folder.Path("Attachments")).removeRecursively();
    folder.Write_File("Attachments", "not a folder");

    Mapi_Sign_On();
    Get_Mapi_Email();

    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 0);
    QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 0);
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 1);  // the plain one
    QCOMPARE(Count(db, "SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {frank}), 0);
    QCOMPARE(db.Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Added to Unmatched'").toInt(), 1);
    QCOMPARE(window.List_Row_Count(Main_List::Events), 0);
    QCOMPARE(window.List_Row_Count(Main_List::Unmatched), 1);
    QCOMPARE(maildir.Files().size(), 2);
    QVERIFY(!maildir.Path_Of(with_files).isEmpty());
    QVERIFY(!maildir.Path_Of(unmatched_with_files).isEmpty());
    // The row's unread mark went with the event; the new-mail sign stays for the two left.
    QCOMPARE(window.pending_marks.value(frank, true), false);
    QCOMPARE(window.panel_visible.value(7), true);
    QVERIFY(dialogs.Shown("Error on Downloading Attachment for frank@example.com. Attachment corrupt. "));
    QVERIFY(dialogs.Shown("Error on Downloading Attachment for gina@example.com. Attachment corrupt. "));
    // Failing again the same way on the next check, they are not said again.
    const int said = int(dialogs.messages.size());
    Get_Mapi_Email();
    QCOMPARE(int(dialogs.messages.size()), said);
    QCOMPARE(maildir.Files().size(), 2);
    // A new start of the program says them once more.
    const QString program_folder = GlobalVariables::Program_Folder;
    const QString database = GlobalVariables::Database_Path;
    Reset_Process_State();
    GlobalVariables::Program_Folder = program_folder;
    GlobalVariables::Database_Path = database;
    GlobalVariables::Unmatched_List_Loaded = true;
    Update_Settings([](Program_Settings& s) { s.Delete_Remote_Email = true; });
    Mapi_Sign_On();
    Get_Mapi_Email();
    QCOMPARE(int(dialogs.messages.size()), said + 2);
    QVERIFY(dialogs.messages.at(said).text.startsWith("Error on Downloading Attachment for "));
    QVERIFY(dialogs.messages.at(said + 1).text.startsWith("Error on Downloading Attachment for "));

    // Once the store can take them, the next fetch files both whole.
    QFile::remove(folder.Path("Attachments"));
    Get_Mapi_Email();
    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 6);
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 2);
    QCOMPARE(window.List_Row_Count(Main_List::Events), 1);
    QCOMPARE(maildir.Files().size(), 0);
    QCOMPARE(window.pending_marks.value(frank), true);
    QCOMPARE(window.panel_visible.value(7, true), false);
}

void tst_mail_integration::a_full_disk_files_nothing_and_keeps_every_file()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const qint64 frank = Add_Contact(db, "Frank", "frank@example.com");
    // Too big for what is left of the disk: the database rolls back the whole
    // batch, the first, and the intake stops there.
    maildir.Deliver_Content(Message("nobody@example.com", "Huge", QString(2 * 1024 * 1024, QChar('x'))));
    maildir.Deliver("plain.eml");
    const QString with_files = maildir.Deliver("attachments.eml");   // Frank's, with two files
    Update_Settings([&](Program_Settings& s) { s.Delete_Remote_Email = true; });
    const int pages = db.Scalar("PRAGMA page_count").toInt();
    db.Scalar(QString("PRAGMA max_page_count = %1").arg(pages + 40));

    Mapi_Sign_On();
    Get_Mapi_Email();

    QVERIFY(dialogs.Shown("Error on Integrating Emails: "));
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 0);
    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {frank}), 0);
    QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 0);
    QCOMPARE(QDir(folder.Path("Attachments")).entryList(QDir::Files).size(), 0);
    QCOMPARE(maildir.Files().size(), 3);

    // With room again, the next fetch files all three whole.
    db.Scalar("PRAGMA max_page_count = 1073741823");
    Get_Mapi_Email();
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 2);
    QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 2);
    for (const QSqlRecord& row : db.Select("SELECT Attachment_Path_Name FROM Attachments"))
        QVERIFY(QFileInfo::exists(row.value(0).toString()));
    QCOMPARE(maildir.Files().size(), 0);
    QVERIFY(maildir.Path_Of(with_files).isEmpty());
}

void tst_mail_integration::a_check_during_an_intake_starts_no_second_one()
{
    Test_Program_Folder folder;
    Test_Maildir maildir;
    Test_Clock clock;
    Recording_Main_Window window;
    Database db = folder.Db();
    maildir.Deliver("hostile_names.eml");
    maildir.Deliver("plain.eml");
    folder.Write_File("Attachments/escape.txt", "taken");
    QDir(folder.Path("Attachments")).removeRecursively();
    folder.Write_File("Attachments", "not a folder");
    int nested = 0;
    // The attachment error's box waits for the user; a tab click comes meanwhile.
    Set_Message_Box_Handler([&](const QString&, int, const QString&) {
        ++nested;
        MDICheck_Email_And_Integrate_If_Needed();
        Sign_On_And_Get_All_Mail();
        return int(vbOK);
    });
    Mapi_Sign_On();
    Get_Mapi_Email();
    Set_Message_Box_Handler({});
    QVERIFY(nested >= 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 1);
    QVERIFY(!Mail_Intake_Running());
}

void tst_mail_integration::a_store_that_cannot_be_read_is_reported_and_the_program_goes_on()
{
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    QTemporaryDir dir;
    qputenv("MAILDIR", QFile::encodeName(dir.filePath("missing")));
    QVERIFY(!Sign_On_And_Get_All_Mail());
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.Shown("Error on Get eMail: There is no mail store at "));
    QCOMPARE(MAPISession1().SessionID(), 0);
    // The tab click's check stays silent.
    QVERIFY(!MDICheck_Email_And_Integrate_If_Needed());
    QCOMPARE(dialogs.messages.size(), 1);
    qunsetenv("MAILDIR");

    Test_Maildir maildir;
    maildir.Deliver("plain.eml");
    QVERIFY(Sign_On_And_Get_All_Mail());
    Database db = folder.Db();
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 1);
}

void tst_mail_integration::get_email_says_what_it_filed_data()
{
    QTest::addColumn<QStringList>("before");    // filed by an earlier Get eMail
    QTest::addColumn<QStringList>("delivered");
    QTest::addColumn<bool>("no_attachments_folder");
    QTest::addColumn<QString>("said");
    QTest::newRow("empty store") << QStringList() << QStringList() << false << "No new e-mail was found.";
    QTest::newRow("all filed before") << QStringList({"plain.eml", "base64.eml"}) << QStringList() << false
                                      << "No new e-mail was found.";
    QTest::newRow("one") << QStringList({"plain.eml"}) << QStringList({"base64.eml"}) << false
                         << "1 new e-mail was filed.";
    QTest::newRow("three") << QStringList() << QStringList({"plain.eml", "base64.eml", "alternative.eml"}) << false
                           << "3 new e-mails were filed.";
    QTest::newRow("one left") << QStringList() << QStringList({"plain.eml", "attachments.eml"}) << true
                              << "1 new e-mail was filed. 1 could not be filed and stays in the mail store.";
    QTest::newRow("none filed") << QStringList() << QStringList({"attachments.eml", "hostile_names.eml"}) << true
                                << "2 new e-mails were found, but they could not be filed; they stay in the mail store.";
}

void tst_mail_integration::get_email_says_what_it_filed()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, delivered);
    QFETCH(bool, no_attachments_folder);
    QFETCH(QString, said);
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    Add_Contact(db, "Frank", "frank@example.com");
    for (const QString& fixture : before)
        maildir.Deliver(fixture);
    QVERIFY(Sign_On_And_Get_All_Mail());
    QCOMPARE(window.panels.value(1), QString(before.isEmpty() ? "No new e-mail was found."
                                                              : before.size() == 1 ? "1 new e-mail was filed."
                                                                                   : "2 new e-mails were filed."));
    for (const QString& fixture : delivered)
        maildir.Deliver(fixture);
    if (no_attachments_folder) {
        QDir(folder.Path("Attachments")).removeRecursively();
        folder.Write_File("Attachments", "not a folder");
    }
    window.panels.remove(1);
    QVERIFY(Sign_On_And_Get_All_Mail());
    QCOMPARE(window.panels.value(1), said);
    // The sign stands for the mail left unfiled.
    QCOMPARE(window.panel_visible.value(7), said.contains("could not be filed"));

    // The fetch of the start-up says nothing there: its window has its own.
    window.panels.remove(1);
    QVERIFY(Sign_On_And_Get_All_Mail(false));
    QVERIFY(!window.panels.contains(1));
}

void tst_mail_integration::deleting_a_stored_message_by_id()
{
    Test_Program_Folder folder;
    Test_Maildir maildir;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    const QString first = maildir.Deliver("plain.eml");
    const QString second = maildir.Deliver("base64.eml", QDateTime(), true, "S");
    MAPISession1().SignOff();
    Delete_Mapi_Message(first);  // no session: the store is not reached
    QCOMPARE(maildir.Files().size(), 2);
    Mapi_Sign_On();
    Delete_Mapi_Message("no such id");
    Delete_Mapi_Message(second);
    QCOMPARE(maildir.Files().size(), 1);
    QVERIFY(!maildir.Path_Of(first).isEmpty());
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_mail_integration::two_files_of_one_name_take_numbers_in_turn()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    folder.Write_File("Attachments/same.txt", "there before");
    maildir.Deliver_Content("From: a@example.com\nSubject: twins\nMIME-Version: 1.0\n"
                            "Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: text/plain\n\nhi\n"
                            "--b\nContent-Disposition: attachment; filename=same.txt\n\none\n"
                            "--b\nContent-Disposition: attachment; filename=same.txt\n\ntwo\n--b--\n");
    Mapi_Sign_On();
    Get_Mapi_Email();
    QStringList stored;
    for (const QSqlRecord& row : db.Select("SELECT * FROM Attachments ORDER BY rowid")) {
        stored << QFileInfo(row.value("Attachment_Path_Name").toString()).fileName();
        QCOMPARE(row.value("Attachment_Final_Name").toString(), QString("same.txt"));
    }
    QCOMPARE(stored, QStringList({"1same.txt", "2same.txt"}));
    QCOMPARE(Read_All(folder.Path("Attachments/2same.txt")), QByteArray("two"));
    QCOMPARE(Read_All(folder.Path("Attachments/same.txt")), QByteArray("there before"));
}

namespace {

// The store's folders last changed an hour ago: their listing is trusted
// and kept until they change again.
void Age_Folders(const Test_Maildir& maildir)
{
    for (const char* sub : {"/new", "/cur"}) {
        const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
        const timespec times[2] = {{old.toSecsSinceEpoch(), 0}, {old.toSecsSinceEpoch(), 0}};
        QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(maildir.Folder() + sub).constData(), times, 0), 0);
    }
}

QString Seen_Name(const QString& unique)
{
    return "/cur/" + unique + ":2,S";
}

} // namespace

void tst_mail_integration::the_unread_check_sees_what_changed_in_the_store()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    const QString first = maildir.Deliver("plain.eml", QDateTime(), true, "S");
    const QString moving = maildir.Deliver("base64.eml");
    Mapi_Sign_On();
    Get_Mapi_Email();
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 2);
    const auto check = [&] {
        window.panel_visible.clear();
        QVERIFY(MDICheck_Email_And_Integrate_If_Needed());
    };
    const auto unread = [] {
        QStringList ids;
        for (int i = 0; i < MAPIMessages1().MsgCount(); ++i) {
            MAPIMessages1().MsgIndex = i;
            ids << MAPIMessages1().MsgID();
        }
        return ids;
    };

    // Moved from new/ to cur/, still unread: found where it went, and readable there.
    Age_Folders(maildir);
    check();
    QCOMPARE(unread(), QStringList{moving});
    QVERIFY(QFile::rename(maildir.Path_Of(moving), maildir.Folder() + "/cur/" + moving + ":2,"));
    check();
    QCOMPARE(unread(), QStringList{moving});
    MAPIMessages1().MsgIndex = 0;
    QCOMPARE(MAPIMessages1().MsgSubject(), QString("Financing"));
    // Unread, but filed before: it is no new mail.
    QCOMPARE(window.panel_visible.value(7, true), false);

    // Marked read by the mail client: no unread mail.
    Age_Folders(maildir);
    check();
    QVERIFY(QFile::rename(maildir.Path_Of(moving), maildir.Folder() + Seen_Name(moving)));
    check();
    QCOMPARE(unread(), QStringList{});
    QCOMPARE(window.panel_visible.value(7, true), false);

    // Marked unread again: the flags changed, so it is unread mail again.
    Age_Folders(maildir);
    check();
    QVERIFY(QFile::rename(maildir.Path_Of(first), maildir.Folder() + "/cur/" + first + ":2,F"));
    check();
    QCOMPARE(unread(), QStringList{first});
    QCOMPARE(window.panel_visible.value(7, true), false);

    // One that arrived is found and filed.
    Age_Folders(maildir);
    check();
    const QString arrived = maildir.Deliver("alternative.eml", QDateTime::currentDateTime());
    check();
    QCOMPARE(unread(), (QStringList{first, arrived}));
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails WHERE Email_Unique_ID = ?", {arrived}), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 3);
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_mail_integration::a_message_is_filed_once_whatever_its_file_time_or_the_zone()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    Add_Contact(db, "Frank", "frank@example.com");
    const QString unmatched = maildir.Deliver("plain.eml");
    const QString with_files = maildir.Deliver("attachments.eml");
    Mapi_Sign_On();
    Get_Mapi_Email();
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 2);

    // A restored store gives its files new times; a laptop travels to another zone.
    for (const QString& unique : {unmatched, with_files}) {
        QFile file(maildir.Path_Of(unique));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5)), QFileDevice::FileModificationTime));
    }
    Get_Mapi_Email();
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "America/New_York");
    tzset();
    Get_Mapi_Email();
    qputenv("TZ", zone);
    tzset();

    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails"), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM Eventhistory"), 1);
    QCOMPARE(Count(db, "SELECT count(*) FROM Attachments"), 2);
    QCOMPARE(QDir(folder.Path("Attachments")).entryList(QDir::Files).size(), 2);
    QCOMPARE(db.Scalar("SELECT NumOfEvents FROM Stats WHERE Event = 'Added to Unmatched'").toInt(), 1);
    QVERIFY(Is_New_Email("not filed"));
    QVERIFY(!Is_New_Email(unmatched));
    QVERIFY(!Is_New_Email(with_files));
}

void tst_mail_integration::a_truncated_attachment_and_a_sender_without_address_are_said()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    Add_Contact(db, "Frank", "frank@example.com");
    // The message ends inside its second attachment.
    maildir.Deliver_Content("From: Frank <frank@example.com>\nSubject: Photos\nMIME-Version: 1.0\n"
                            "Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: text/plain\n\nSee both.\n"
                            "--b\nContent-Type: text/plain; name=whole.txt\nContent-Disposition: attachment; "
                            "filename=whole.txt\n\nall of it\n"
                            "--b\nContent-Type: image/jpeg\nContent-Disposition: attachment; filename=car.jpg\n"
                            "Content-Transfer-Encoding: base64\n\nSGVsbG8gV29ybGQh\nSGVs");
    const QString nameless = maildir.Deliver_Content("From: Sales Team\nSubject: Our offer\n\nbuy now\n");
    const QString empty = maildir.Deliver_Content("From: <>\nSubject: Bounce\n\nreturned\n");
    const QString fine = maildir.Deliver("plain.eml");
    Mapi_Sign_On();
    Get_Mapi_Email();

    const QSqlRecord event = db.Select_First("SELECT * FROM Eventhistory");
    QCOMPARE(event.value("EventSubject").toString(), QString("Photos"));
    const QList<QSqlRecord> files = db.Select("SELECT * FROM Attachments ORDER BY rowid");
    QCOMPARE(files.size(), 2);
    QCOMPARE(Read_All(files.at(0).value("Attachment_Path_Name").toString()), QByteArray("all of it"));
    QCOMPARE(Read_All(files.at(1).value("Attachment_Path_Name").toString()), QByteArray("Hello World!Hel"));
    QCOMPARE(db.Scalar("SELECT Email_From FROM NewEmails WHERE Email_Unique_ID = ?", {empty}).toString(), QString(""));
    QCOMPARE(Count(db, "SELECT count(*) FROM NewEmails WHERE Email_Unique_ID IN (?, ?, ?)", {nameless, empty, fine}),
             3);

    QCOMPARE(dialogs.messages.size(), 1);
    const QString said = dialogs.messages.first().text;
    QVERIFY2(said.contains("The attachment car.jpg of the e-mail \"Photos\" from frank@example.com is incomplete"),
             qPrintable(said));
    QVERIFY(!said.contains("whole.txt"));
    QVERIFY2(said.contains("The e-mail \"Our offer\" has no valid sender address (From: Sales Team)"), qPrintable(said));
    QVERIFY2(said.contains("The e-mail \"Bounce\" has no valid sender address (From: <>); it was filed without a sender."),
             qPrintable(said));
    QVERIFY(!said.contains("Question about the blue sedan"));
    // Said once: the next fetch files nothing and says nothing.
    Get_Mapi_Email();
    QCOMPARE(dialogs.messages.size(), 1);
}

void tst_mail_integration::copies_left_waiting_by_a_killed_intake_are_finished_or_dropped()
{
    Intake_Fixture f;
    auto& [folder, maildir, clock, dialogs, window, db] = f;
    // Left by an intake killed after its batch was stored (the row is there)
    // and by one killed before (no row).
    const QString stored = folder.Path("Attachments/offer.pdf");
    db.Execute("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, Attachment_Final_Name) "
               "VALUES (1, 'U', ?, 'offer.pdf')",
               {stored});
    folder.Write_File("Attachments/.incoming/offer.pdf", "stored");
    folder.Write_File("Attachments/.incoming/lost.pdf", "never stored");
    maildir.Deliver("plain.eml");
    Mapi_Sign_On();
    Get_Mapi_Email();
    QCOMPARE(Read_All(stored), QByteArray("stored"));
    QVERIFY(!QFileInfo::exists(folder.Path("Attachments/lost.pdf")));
    QVERIFY(!QFileInfo::exists(folder.Path("Attachments/.incoming")));
    QCOMPARE(QDir(folder.Path("Attachments")).entryList(QDir::Files), QStringList{"offer.pdf"});
}

void tst_mail_integration::addresses_in_a_text_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("address");
    QTest::newRow("start of text") << "jane@example.com wrote" << 5 << "jane@example.com";
    QTest::newRow("end of text") << "mail to: a.b-c_d@x.example" << 17 << "a.b-c_d@x.example";
    QTest::newRow("brackets") << "<bob@example.org>" << 5 << "bob@example.org";
    QTest::newRow("alone") << "a @ b" << 3 << "@";
}

void tst_mail_integration::addresses_in_a_text()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, address);
    QCOMPARE(Extract_Email_Address(text, position), address);
}

QTEST_GUILESS_MAIN(tst_mail_integration)
#include "tst_mail_integration.moc"
