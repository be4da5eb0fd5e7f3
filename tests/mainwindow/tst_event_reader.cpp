// The event reader's commands: the reply in the composer with the quoted
// text, deleting the event or one of its files, and the printed reports of an
// event, of a contact's history and of a contact's details.

#include <QFileInfo>
#include <QSqlRecord>
#include <QtTest>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History_List.h"
#include "GlobalVariables.h"
#include "Main_Window_Test_Support.h"
#include "Reply_Quote.h"
#include "Report_Capture.h"

namespace {

struct Reader_Fixture : Window_With_Mail_Store {
    qint64 ann = 0;

    Reader_Fixture()
    {
        ann = s.Db().Insert("INSERT INTO Contacts (FirstName, LastName, Email, City, Notes) VALUES ('Ann', 'Lee', "
                            "'ann@example.com', 'Springfield', 'Prefers calls')");
        s.Db().Execute("UPDATE Settings SET DefaultContactName = 'Customer'");
    }
    qint64 Add_Event(const QString& unique, const QString& subject, const QString& message, int day,
                     bool read = true)
    {
        return s.Db().Insert(
            "INSERT INTO Eventhistory (ContactID, EventDate, Event_Type, EventSubject, EventMessage, EventRead, "
            "Event_Unique_ID, Email_ID_Date, Sender) VALUES (?, ?, 'Email In', ?, ?, ?, ?, ?, 'ann@example.com')",
            {ann, QDateTime(QDate(2026, 12, day), QTime(9, 0)), subject, message, read, unique,
             QDateTime(QDate(2026, 12, day), QTime(9, 0))});
    }
    QString Add_File(qint64 event, const QString& name, const QString& stored_as)
    {
        const QString path = s.folder.Write_File("Attachments/" + stored_as, "data");
        s.Db().Execute("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, "
                       "Attachment_Final_Name) VALUES (?, 'E', ?, ?)",
                       {event, path, name});
        s.Db().Execute("UPDATE Eventhistory SET Has_Attachments = 1 WHERE ID = ?", {event});
        return path;
    }
    List_View* Events() { return C<List_View>("ListEvents"); }
    void Read(int position) { Click_Row(Events(), Events()->Row_At(position)); }
    QString Reader_Subject() { return C<QLineEdit>("txtFrameEvent_Subject")->text(); }
};

} // namespace

class tst_event_reader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void the_reply_quote_marks_every_line()
    {
        const QStringList lines = Reply_Quote("Line one\r\nLine two").split("\r\n");
        QCOMPARE(lines, QStringList({"", "> ", "> > Line one", "> Line two"}));
        QCOMPARE(Reply_Quote(""), QString("\r\n> \r\n> > "));
    }

    void a_reply_opens_the_composer_quoted_and_addressed()
    {
        Reader_Fixture f;
        f.Add_Event("1", "Re: Hello", "Line one\r\nLine two", 1);
        f.s.Db().Execute("INSERT INTO emailformats (FormatID) VALUES ('Welcome')");
        f.Start();
        // Files of an earlier message do not go with the reply.
        Click_Tool(f.w, "ToolContactActions", "Send_Email");
        f.s.dialogs.file_answers << f.s.folder.Write_File("Documents/old.txt", "old");
        Click_Tool(f.w, "ToolEmailAttachmentActions", "Add");

        f.Read(1);
        Click_Tool(f.w, "ToolEventActions", "Reply");
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameEmailOutView"));
        QCOMPARE(f.C<QGroupBox>("frameEmailOutView")->title(), QString("Email Composer"));
        QCOMPARE(f.C<QLineEdit>("txtFrameEmailOutSubject")->text(), QString("Re: Re: Hello"));
        QCOMPARE(f.C<QTextEdit>("txtFrameEmailOutMessage")->toPlainText().split('\n'),
                 QStringList({"", "> ", "> > Line one", "> Line two"}));
        QCOMPARE(f.C<QLineEdit>("txtFrameEmailOutAddress")->text(), QString("ann@example.com"));
        QCOMPARE(f.C<QLineEdit>("txtFrameEmailOutName")->text(), QString("Ann Lee"));
        QCOMPARE(f.C<QLineEdit>("txtFrameEmailOutContactID")->text(), QString::number(f.ann));
        QCOMPARE(f.C<QComboBox>("ListEmailAttachments")->count(), 0);
        QVERIFY(f.C<QComboBox>("lstSendEmailTemplate")->findText("Welcome") >= 0);
        QVERIFY(f.C<QWidget>("lstSendEmailTemplate")->isVisible());

        // Without a first name the reply goes to the default name; it is sent like any e-mail.
        f.s.Db().Execute("UPDATE Contacts SET FirstName = '' WHERE ID = ?", {f.ann});
        f.Read(1);
        Click_Tool(f.w, "ToolEventActions", "Reply");
        QCOMPARE(f.C<QLineEdit>("txtFrameEmailOutName")->text(), QString("Customer"));
        Click_Tool(f.w, "ToolEmailComposer", "SendEmail");
        const QSqlRecord posted = f.s.Db().Select_First("SELECT * FROM Outbox");
        QCOMPARE(posted.value("Subject").toString(), QString("Re: Re: Hello"));
        QCOMPARE(posted.value("Out_Contact_ID").toLongLong(), f.ann);
        QVERIFY(f.s.dialogs.messages.isEmpty());
    }

    void deleting_an_event_shows_a_neighbour_data()
    {
        QTest::addColumn<int>("deleted");     // 1-based row, newest first
        QTest::addColumn<QString>("shown");   // the reader's subject afterwards
        QTest::newRow("the top row: the one below") << 1 << "Middle";
        QTest::newRow("a middle row: the one below") << 2 << "Oldest";
        QTest::newRow("the bottom row: the one above") << 3 << "Middle";
    }
    void deleting_an_event_shows_a_neighbour()
    {
        QFETCH(int, deleted);
        QFETCH(QString, shown);
        Reader_Fixture f;
        f.Add_Event("1", "Oldest", "o", 1, false);
        f.Add_Event("2", "Middle", "m", 2, false);
        const qint64 newest = f.Add_Event("3", "Newest", "n", 3, false);
        const QString file = f.Add_File(newest, "photo.jpg", "photo.jpg");
        f.Start();
        const QString key = f.Events()->Key_At(deleted);
        f.Read(deleted);

        f.s.dialogs.answers << vbNo;
        Click_Tool(f.w, "ToolEventActions", "Delete");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"Do you want to delete the selected event?"}));
        QCOMPARE(f.Events()->Row_Count(), 3);

        Click_Tool(f.w, "ToolEventActions", "Delete");
        QCOMPARE(f.Events()->Row_Count(), 2);
        QVERIFY(!f.Events()->Find_Key(key));
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Eventhistory").toInt(), 2);
        QCOMPARE(f.Reader_Subject(), shown);
        QCOMPARE(f.Events()->currentItem()->text(3), shown);
        // The neighbour shown is read now, in the list too.
        QVERIFY(!List_View::Is_Bold(f.Events()->currentItem(), 1));
        QCOMPARE(f.s.Db().Scalar("SELECT EventRead FROM Eventhistory WHERE EventSubject = ?", {shown}).toInt(), 1);
        QCOMPARE(QFileInfo::exists(file), deleted != 1);
    }

    void deleting_the_only_event_or_one_no_longer_listed_empties_the_reader()
    {
        Reader_Fixture f;
        const qint64 bob = f.s.Db().Insert("INSERT INTO Contacts (FirstName, LastName) VALUES ('Bob', 'Zed')");
        f.Add_Event("1", "Only one", "text", 1);
        f.s.Db().Execute("INSERT INTO Eventhistory (ContactID, Event_Type, EventSubject, Event_Unique_ID, EventRead) "
                         "VALUES (?, 'Email In', 'Bob 1', '1', 1), (?, 'Email In', 'Bob 2', '2', 1)",
                         {bob, bob});
        f.Start();
        f.Read(1);
        Click_Tool(f.w, "ToolEventActions", "Delete");
        QCOMPARE(f.Events()->Row_Count(), 0);
        QVERIFY(f.Reader_Subject().isEmpty());
        QVERIFY(f.C<QTextEdit>("txtFrameEvent_Message")->toPlainText().isEmpty());

        // The reader shows one of Ann's events while the list shows Bob's: the
        // rows of the list are not touched (the same unique ids stand there).
        f.Add_Event("2", "Ann again", "text", 2);
        f.w->Contact_On_Display->Show_Current_Contact_Record(f.ann);
        f.w->ListEvents->Show_Contact_Events(f.ann);
        f.Read(1);
        f.w->ListEvents->Show_Contact_Events(bob);
        Click_Tool(f.w, "ToolEventActions", "Delete");
        QCOMPARE(Column_Texts(f.Events(), 3), QStringList({"Bob 1", "Bob 2"}));
        QVERIFY(f.Reader_Subject().isEmpty());
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {f.ann}).toInt(), 0);
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {bob}).toInt(), 2);
    }

    void an_attachment_is_deleted_with_its_file()
    {
        Reader_Fixture f;
        const qint64 event = f.Add_Event("1", "Files", "text", 1);
        // Two files of one name: the one chosen goes.
        const QString first = f.Add_File(event, "scan.pdf", "scan.pdf");
        const QString second = f.Add_File(event, "scan.pdf", "0scan.pdf");
        f.Start();
        f.Read(1);
        auto* files = f.C<QComboBox>("ListEventAttachments");
        QCOMPARE(files->count(), 2);
        files->setCurrentIndex(1);
        Click_Tool_Menu(f.w, "ToolEventAttachmentActions", "", "Delete");
        QCOMPARE(files->count(), 1);
        QVERIFY(QFileInfo::exists(first));
        QVERIFY(!QFileInfo::exists(second));
        QCOMPARE(f.s.Db().Scalar("SELECT Attachment_Path_Name FROM Attachments").toString(), first);

        Click_Tool_Menu(f.w, "ToolEventAttachmentActions", "", "Delete");
        QCOMPARE(files->count(), 0);
        QVERIFY(!QFileInfo::exists(first));
        // The list stays in sight, empty; the event keeps its clip.
        QVERIFY(files->isVisible());
        QCOMPARE(f.s.Db().Scalar("SELECT Has_Attachments FROM Eventhistory").toInt(), 1);
        Click_Tool_Menu(f.w, "ToolEventAttachmentActions", "", "Delete");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"First select the attachment to remove."}));
    }

    void the_printed_event_and_history_hold_the_events_in_order()
    {
        Reader_Fixture f;
        Captured_Reports reports;
        f.Add_Event("1", "Asked for a brochure", "Please send <the> brochure.\r\nThanks", 1);
        f.Add_Event("2", "Booked a test drive", "Friday at 10", 5);
        f.Start();

        Click_Tool_Menu(f.w, "ToolContactActions", "Print", "PrintAll");
        QCOMPARE(reports.reports.size(), 1);
        const QString html = reports.Last_Html();
        QVERIFY(html.contains("Ann Lee &lt;ann@example.com&gt;"));
        QVERIFY(html.contains("Please send &lt;the&gt; brochure.<br>Thanks"));
        const int newer = html.indexOf("Booked a test drive");
        const int older = html.indexOf("Asked for a brochure");
        QVERIFY(newer > 0 && older > newer);
        QVERIFY(html.contains("12/05/26 09:00:00"));

        // The event reader prints its one event.
        f.Read(2);
        Click_Tool(f.w, "ToolEventActions", "Print");
        QCOMPARE(reports.reports.size(), 2);
        QCOMPARE(reports.reports.last().title, QString("Event"));
        QVERIFY(reports.Last_Html().contains("Asked for a brochure"));
        QVERIFY(!reports.Last_Html().contains("Booked a test drive"));

        // The details printout: the contact's fields, no events.
        Click_Tool(f.w, "ToolContactActions", "Print");
        QCOMPARE(reports.reports.last().title, QString("Contact Details"));
        QVERIFY(reports.Last_Html().contains("Springfield"));
        QVERIFY(reports.Last_Html().contains("Prefers calls"));
        QVERIFY(!reports.Last_Html().contains("Booked a test drive"));
        QVERIFY(f.s.dialogs.messages.isEmpty());

        // A contact without events has no history to print.
        f.s.Db().Execute("DELETE FROM Eventhistory");
        Click_Tool_Menu(f.w, "ToolContactActions", "Print", "PrintAll");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"This contact has no events to print."}));
        QCOMPARE(reports.reports.size(), 3);
    }
};

QTEST_MAIN(tst_event_reader)
#include "tst_event_reader.moc"
