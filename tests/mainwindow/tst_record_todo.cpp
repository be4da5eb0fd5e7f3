// The record frame and the to-do page: recording calls and custom events
// with their files, the to-do list's fill, choosing and completing its
// entries, and deleting a contact's outbox entries.

#include <QFileInfo>
#include <QSqlRecord>
#include <QtTest>

#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Main_Window_Test_Support.h"
#include "pages/ToDo_Page.h"

namespace G = GlobalVariables;

namespace {

struct Record_Fixture : Window_With_Mail_Store {
    qint64 ann = 0;
    qint64 bob = 0;
    QDateTime base = s.clock.Now();   // the entries are posted and due relative to it

    Record_Fixture()
    {
        ann = s.Db().Insert("INSERT INTO Contacts (FirstName, LastName, Email, Product) "
                            "VALUES ('Ann', 'Abbot', 'ann@example.com', 'Car')");
        bob = s.Db().Insert("INSERT INTO Contacts (FirstName, LastName, Email, Product) "
                            "VALUES ('Bob', 'Brown', 'bob@example.com', 'Van')");
    }
    List_View* ToDo() { return C<List_View>("ListToDo"); }
    List_View* Events() { return C<List_View>("ListEvents"); }

    // An outbox entry posted some minutes before the base moment, due some hours after it.
    qint64 Add_Entry(qint64 contact, const QString& type, const QString& subject, int sent_minutes_ago,
                     int due_hours, int step = 0)
    {
        const QDateTime now = base;
        return s.Db().Insert(
            "INSERT INTO Outbox (Out_Contact_ID, Product_Name, Out_Event_Type, Out_Timeline_Event_Number, ToEmail, "
            "ToEmailName, Subject, Message, FromEmail, FromEmailName, Date_To_Execute_Event, Date_Sent_To_Outbox, "
            "Lead_Time) VALUES (?, 'Car', ?, ?, 'x@example.com', 'X', ?, ?, 'me@x', 'Me', ?, ?, 0)",
            {contact, type, step, subject, "About " + subject, now.addSecs(3600 * due_hours),
             now.addSecs(-60 * sent_minutes_ago)});
    }
    QString Add_Entry_File(qint64 outbox_id, const QString& name)
    {
        const QString path = s.folder.Write_File("Attachments/" + name, "data");
        s.Db().Insert("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) VALUES (?, ?, ?)",
                      {outbox_id, path, name});
        return path;
    }
    void Open_ToDo_Tab() { w->TabStrip1_Click(2); }
    QStringList Listed_Subjects() { return Column_Texts(ToDo(), 4); }
    QList<QSqlRecord> History(qint64 contact)
    {
        return s.Db().Select("SELECT * FROM Eventhistory WHERE ContactID = ? ORDER BY ID", {contact});
    }
};

} // namespace

class tst_record_todo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recording_adds_a_read_event_and_returns_to_the_details_data()
    {
        QTest::addColumn<QString>("menu_key");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("custom");
        QTest::newRow("outgoing call") << "Record_Call_Out" << "Outgoing Call" << "Record Outgoing Call" << false;
        QTest::newRow("incoming call") << "Record_Call_In" << "Incoming Call" << "Record Incoming Call" << false;
        QTest::newRow("custom event") << "Custom_Event" << "Custom Event" << "Create Custom Event" << true;
    }
    void recording_adds_a_read_event_and_returns_to_the_details()
    {
        QFETCH(QString, menu_key);
        QFETCH(QString, type);
        QFETCH(QString, header);
        QFETCH(bool, custom);
        Record_Fixture f;
        f.Start();
        Click_Tool_Menu(f.w, "ToolContactActions", "", menu_key);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameRecordCall"));
        QCOMPARE(f.C<QLabel>("lblRecordCall_MainHeader")->text(), header);
        for (const char* control : {"txtRecord_Custom_Event", "Combo_Record_Custom_Attachments", "lblCustomEventLabel"})
            QCOMPARE(f.C<QWidget>(control)->isVisibleTo(f.w), custom);
        QVERIFY(!f.C<QWidget>("txtFrameRecordCall_Date_to_Be_Executed")->isVisibleTo(f.w));

        QStringList files;
        if (custom) {
            files << f.s.folder.Write_File("Documents/one.txt", "1") << f.s.folder.Write_File("Documents/two.txt", "2")
                  << f.s.folder.Write_File("Documents/three.txt", "3");
            f.s.dialogs.file_answers = files;
            for (int i = 0; i < 3; ++i)
                Click_Tool(f.w, "ToolCustomCreateAttachment", "Add");
        }
        f.C<QLineEdit>("txtFrameRecordCall_Subject")->setText("Called back");
        f.C<QPlainTextEdit>("txtFrameRecordCall_Message")->setPlainText("Wants a test drive\non Friday");
        Click_Tool(f.w, "ToolRecord", "Record");

        const QList<QSqlRecord> history = f.History(f.ann);
        QCOMPARE(history.size(), 1);
        const QSqlRecord& e = history[0];
        QCOMPARE(e.value("Event_Type").toString(), type);
        QCOMPARE(e.value("EventSubject").toString(), QString("Called back"));
        QCOMPARE(e.value("EventMessage").toString(), QString("Wants a test drive\non Friday"));
        QCOMPARE(e.value("Event_Product").toString(), QString("Car"));
        QCOMPARE(e.value("Timeline_Step_Number").toInt(), 0);
        QCOMPARE(e.value("Sender").toString(), QString(""));
        QCOMPARE(e.value("EventRead").toInt(), 1);
        QCOMPARE(e.value("EventDate").toString(), e.value("Email_ID_Date").toString());
        QCOMPARE(Db_To_Date(e.value("EventDate")), f.s.clock.Now());
        QCOMPARE(e.value("Has_Attachments").toInt(), custom ? 1 : 0);
        QCOMPARE(f.s.Db().Scalar("SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {f.ann}).toInt(), 0);
        QVERIFY(f.s.dialogs.messages.isEmpty());
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));

        // Its list row comes at once, with the clip when it has files.
        QCOMPARE(f.Events()->Row_Count(), 1);
        QCOMPARE(f.Events()->Row_At(1)->text(2), type);
        QCOMPARE(f.Events()->Row_At(1)->icon(0).isNull(), !custom);
        QVERIFY(!List_View::Is_Bold(f.Events()->Row_At(1), 1));

        const QList<QSqlRecord> stored = f.s.Db().Select(
            "SELECT Attachment_Final_Name, Attachment_Path_Name FROM Attachments WHERE Link_ID = ? AND "
            "Link_Database = 'E' ORDER BY rowid",
            {e.value("ID")});
        QStringList names;
        for (const QSqlRecord& row : stored) {
            names << row.value(0).toString();
            QVERIFY(QFileInfo::exists(row.value(1).toString()));
        }
        QCOMPARE(names, custom ? QStringList({"one.txt", "two.txt", "three.txt"}) : QStringList());
        QCOMPARE(f.C<QComboBox>("Combo_Record_Custom_Attachments")->count(), 0);
    }

    void a_custom_events_name_leads_its_subject_and_its_files_stay_its_own()
    {
        Record_Fixture f;
        f.Start();
        Click_Tool_Menu(f.w, "ToolContactActions", "", "Custom_Event");
        f.C<QLineEdit>("txtRecord_Custom_Event")->setText("Test drive");
        f.C<QLineEdit>("txtFrameRecordCall_Subject")->setText("Focus, red");
        f.s.dialogs.file_answers << f.s.folder.Write_File("Documents/licence.jpg", "JPG");
        Click_Tool(f.w, "ToolCustomCreateAttachment", "Add");
        // Left without Record or Cancel: a call recorded next takes none of its files.
        Click_Tool_Menu(f.w, "ToolContactActions", "", "Record_Call_Out");
        f.C<QLineEdit>("txtFrameRecordCall_Subject")->setText("Quick call");
        Click_Tool(f.w, "ToolRecord", "Record");
        QCOMPARE(f.History(f.ann).size(), 1);
        QCOMPARE(f.History(f.ann)[0].value("Has_Attachments").toInt(), 0);
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Attachments").toInt(), 0);

        Click_Tool_Menu(f.w, "ToolContactActions", "", "Custom_Event");
        QVERIFY(f.C<QLineEdit>("txtRecord_Custom_Event")->text().isEmpty());
        f.C<QLineEdit>("txtRecord_Custom_Event")->setText("Test drive");
        f.C<QLineEdit>("txtFrameRecordCall_Subject")->setText("Focus, red");
        Click_Tool(f.w, "ToolRecord", "Record");
        QCOMPARE(f.History(f.ann).last().value("EventSubject").toString(), QString("Test drive - Focus, red"));
        QCOMPARE(f.History(f.ann).last().value("Event_Type").toString(), QString("Custom Event"));
    }

    void an_event_for_a_contact_gone_stores_no_files_and_keeps_the_frame()
    {
        Record_Fixture f;
        f.Start();
        Click_Tool_Menu(f.w, "ToolContactActions", "", "Custom_Event");
        f.s.dialogs.file_answers << f.s.folder.Write_File("Documents/a.txt", "a");
        Click_Tool(f.w, "ToolCustomCreateAttachment", "Add");
        f.s.Db().Execute("DELETE FROM Contacts WHERE ID = ?", {f.ann});
        Click_Tool(f.w, "ToolRecord", "Record");
        QCOMPARE(f.s.dialogs.Texts(),
                 QStringList({"Event history was not added to non-existent contact #: " + QString::number(f.ann)}));
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Attachments").toInt(), 0);
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Eventhistory").toInt(), 0);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameRecordCall"));
        QCOMPARE(f.C<QComboBox>("Combo_Record_Custom_Attachments")->count(), 1);
    }

    void a_to_do_whose_contact_is_gone_stays_in_the_outbox()
    {
        Record_Fixture f;
        const qint64 entry = f.Add_Entry(f.bob, "Call Out", "Call Bob", 10, 1);
        const QString file = f.Add_Entry_File(entry, "offer.pdf");
        f.Start();
        f.Open_ToDo_Tab();
        Click_Row(f.ToDo(), f.ToDo()->Row_At(1));
        f.s.Db().Execute("DELETE FROM Contacts WHERE ID = ?", {f.bob});
        Click_Tool(f.w, "ToolRecord", "Record");
        QCOMPARE(f.s.dialogs.Texts(),
                 QStringList({"Event history was not added to non-existent contact #: " + QString::number(f.bob)}));
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), 1);
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(f.ToDo()->Row_Count(), 1);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameRecordCall"));
    }

    void cancel_empties_the_frame_and_shows_the_contact()
    {
        Record_Fixture f;
        f.Start();
        Click_Tool_Menu(f.w, "ToolContactActions", "", "Custom_Event");
        f.C<QLineEdit>("txtFrameRecordCall_Subject")->setText("Never mind");
        f.C<QLineEdit>("txtRecord_Custom_Event")->setText("Name");
        f.s.dialogs.file_answers << f.s.folder.Write_File("Documents/a.txt", "a");
        Click_Tool(f.w, "ToolCustomCreateAttachment", "Add");
        Click_Tool(f.w, "ToolRecord", "Cancel");
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
        QVERIFY(f.C<QLineEdit>("txtFrameRecordCall_Subject")->text().isEmpty());
        QVERIFY(f.C<QLineEdit>("txtRecord_Custom_Event")->text().isEmpty());
        QCOMPARE(f.C<QComboBox>("Combo_Record_Custom_Attachments")->count(), 0);
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Eventhistory").toInt(), 0);
    }

    void the_first_visit_fills_the_to_do_list_by_due_date()
    {
        Record_Fixture f;
        f.s.Db().Execute("INSERT INTO Eventhistory (ContactID, Event_Type, Event_Unique_ID, EventRead) "
                         "VALUES (?, 'Email In', '5', 1)", {f.ann});
        f.Add_Entry(f.ann, "To Do", "Later", 10, 5);
        f.Add_Entry(f.bob, "Call Out", "Sooner", 9, 1);
        f.Add_Entry(f.bob, "Email Out", "Not a to-do", 8, 0);
        f.Add_Entry(999, "To Do", "Contact gone", 7, 0);
        f.Start();
        QCOMPARE(f.Events()->Row_Count(), 1);
        f.Open_ToDo_Tab();
        QVERIFY(G::ToDo_List_Loaded);
        QCOMPARE(f.Listed_Subjects(), QStringList({"Sooner", "Later"}));
        const QTreeWidgetItem* first = f.ToDo()->Row_At(1);
        QCOMPARE(first->text(1), QString("Bob"));
        QCOMPARE(first->text(2), QString("Brown"));
        QCOMPARE(first->text(3), QString("Call Out"));
        QCOMPARE(first->text(5), f.base.addSecs(3600).toString("MM/dd/yy HH:mm:ss"));
        QVERIFY(!first->icon(0).isNull());
        // No entry is chosen yet: no contact's events are shown.
        QCOMPARE(f.Events()->Row_Count(), 0);
        // The contact side stays; a second visit does not fill again.
        QVERIFY(f.C<QWidget>("frameContact_Top_Screen")->isVisible());
        f.w->TabStrip1_Click(1);
        f.Open_ToDo_Tab();
        QCOMPARE(f.ToDo()->Row_Count(), 2);
    }

    void choosing_an_entry_shows_it_beside_its_contact()
    {
        Record_Fixture f;
        f.Add_Entry(f.ann, "To Do", "Send the brochure", 10, 1, 3);
        f.Add_Entry(f.bob, "Call Out", "Call about the van", 9, 2, 4);
        f.s.Db().Execute("INSERT INTO Eventhistory (ContactID, Event_Type, Event_Unique_ID, EventRead) "
                         "VALUES (?, 'Email In', '7', 1)", {f.bob});
        f.Start();
        f.Open_ToDo_Tab();
        Click_Row(f.ToDo(), f.ToDo()->Row_At(2));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameRecordCall"));
        QCOMPARE(f.C<QLineEdit>("txtContact_ID")->text(), QString::number(f.bob));
        QCOMPARE(f.C<QLabel>("lblRecordCall_MainHeader")->text(), QString("Record Outgoing Call"));
        QCOMPARE(f.C<QLineEdit>("txtFrameRecordCall_Type")->text(), QString("Outgoing Call"));
        QCOMPARE(f.C<QLineEdit>("txtFrameRecordCall_Subject")->text(), QString("Call about the van"));
        QCOMPARE(f.C<QPlainTextEdit>("txtFrameRecordCall_Message")->toPlainText(), QString("About Call about the van"));
        QCOMPARE(f.C<QLineEdit>("txtFrameRecordCall_Timeline")->text(), QString("4"));
        QVERIFY(f.C<QWidget>("txtFrameRecordCall_Date_to_Be_Executed")->isVisible());
        QCOMPARE(f.C<QLineEdit>("txtFrameRecordCall_Date_to_Be_Executed")->text(),
                 f.base.addSecs(7200).toString("MM/dd/yy HH:mm:ss"));
        QVERIFY(!f.C<QWidget>("txtRecord_Custom_Event")->isVisible());
        QCOMPARE(f.Events()->Row_Count(), 1);

        Click_Row(f.ToDo(), f.ToDo()->Row_At(1));
        QCOMPARE(f.C<QLabel>("lblRecordCall_MainHeader")->text(), QString("To Do"));
        QCOMPARE(f.C<QLineEdit>("txtFrameRecordCall_Type")->text(), QString("To Do"));
        QCOMPARE(f.Events()->Row_Count(), 0);

        // An entry whose contact has gone meanwhile is said and not shown.
        f.s.Db().Execute("DELETE FROM Contacts WHERE ID = ?", {f.bob});
        Click_Row(f.ToDo(), f.ToDo()->Row_At(2));
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"The contact related to this Todo no longer exists!"}));
        QCOMPARE(f.C<QLineEdit>("txtFrameRecordCall_Subject")->text(), QString("Send the brochure"));
    }

    void recording_an_entry_completes_it_and_shows_the_next_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("shown_next");   // empty: the contact details
        QTest::addColumn<int>("entries");
        QTest::newRow("first of three: the one below") << 1 << "Second" << 3;
        QTest::newRow("last of three: the one above") << 3 << "Second" << 3;
        QTest::newRow("the only one: the details") << 1 << "" << 1;
    }
    void recording_an_entry_completes_it_and_shows_the_next()
    {
        QFETCH(int, chosen);
        QFETCH(QString, shown_next);
        QFETCH(int, entries);
        Record_Fixture f;
        const QStringList subjects = {"First", "Second", "Third"};
        QList<qint64> ids;
        for (int i = 0; i < entries; ++i)
            ids << f.Add_Entry(i == 1 ? f.bob : f.ann, i == 0 ? "Call Out" : "To Do", subjects[i], 10 - i, i + 1, 5);
        const QString file = f.Add_Entry_File(ids[chosen - 1], "brochure.pdf");
        f.Start();
        f.Open_ToDo_Tab();
        Click_Row(f.ToDo(), f.ToDo()->Row_At(chosen));
        const qint64 contact = f.C<QLineEdit>("txtContact_ID")->text().toLongLong();
        Click_Tool(f.w, "ToolRecord", "Record");

        const QList<QSqlRecord> history = f.History(contact);
        QCOMPARE(history.size(), 1);
        // A done call is an outgoing call; a to-do keeps its type; both keep the step.
        QCOMPARE(history[0].value("Event_Type").toString(), QString(chosen == 1 ? "Outgoing Call" : "To Do"));
        QCOMPARE(history[0].value("Timeline_Step_Number").toInt(), 5);
        QCOMPARE(history[0].value("EventSubject").toString(), subjects[chosen - 1]);
        QVERIFY(f.s.Db().Select_First("SELECT ID FROM Outbox WHERE ID = ?", {ids[chosen - 1]}).isEmpty());
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), entries - 1);
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox_Attachments").toInt(), 0);
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(!f.Listed_Subjects().contains(subjects[chosen - 1]));
        if (shown_next.isEmpty()) {
            QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
        } else {
            QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameRecordCall"));
            QCOMPARE(f.C<QLineEdit>("txtFrameRecordCall_Subject")->text(), shown_next);
            QCOMPARE(f.ToDo()->currentItem()->text(4), shown_next);
            QCOMPARE(f.C<QLineEdit>("txtContact_ID")->text(), QString::number(f.bob));
        }
        QVERIFY(f.s.dialogs.messages.isEmpty());
    }

    void deleting_a_contacts_outbox_entries_asks_first()
    {
        Record_Fixture f;
        const qint64 mail = f.Add_Entry(f.ann, "Email Out", "Mail", 10, 0);
        f.Add_Entry(f.ann, "To Do", "Todo", 9, 1);
        f.Add_Entry(f.bob, "Call Out", "Bob's call", 8, 1);
        const QString file = f.Add_Entry_File(mail, "quote.pdf");
        f.Start();
        f.Open_ToDo_Tab();
        f.w->TabStrip1_Click(4);
        QCOMPARE(f.C<List_View>("ListOutbox")->Row_Count(), 1);

        f.s.dialogs.answers << vbNo;
        QCOMPARE(Delete_Contact_Outbox_Emails(f.ann), 0);
        QCOMPARE(f.s.dialogs.Texts(),
                 QStringList({"This contact has e-mail(s) in the outbox. Do you want to delete these as well?"}));
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), 3);

        QCOMPARE(Delete_Contact_Outbox_Emails(f.ann), 2);
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), 1);
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox_Attachments").toInt(), 0);
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(f.C<List_View>("ListOutbox")->Row_Count(), 0);
        QCOMPARE(f.Listed_Subjects(), QStringList({"Bob's call"}));
        // The outbox editor forgets the entry it showed.
        QVERIFY(f.C<QLineEdit>("txtFrameOutbox_ID")->text().isEmpty());

        // Nothing left in the outbox: no question.
        f.s.dialogs.messages.clear();
        QCOMPARE(Delete_Contact_Outbox_Emails(f.ann), 0);
        QVERIFY(f.s.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(tst_record_todo)
#include "tst_record_todo.moc"
