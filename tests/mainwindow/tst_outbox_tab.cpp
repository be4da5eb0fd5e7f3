#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>
#include <QtTest>

#include "Settings.h"
#include "Database.h"
#include "Dialogs.h"
#include "Find_Control.h"
#include "GlobalVariables.h"
#include "Key_Toolbar.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Outbox_List_Rows.h"
#include "Outbox_Posting.h"
#include "Test_Maildir.h"
#include "Test_Support.h"
#include "frmContactSystem.h"
#include "pages/Outbox_Page.h"

namespace {

struct Outbox_Tab_Fixture {
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    frmContactSystem window;

    Outbox_Page* Page() { return Control<Outbox_Page>(&window, "frameOutbox"); }
    List_View* List() { return Control<List_View>(&window, "ListOutbox"); }

    qint64 Add_Row(const QString& to, const QDateTime& sent, int due_minutes, const QString& type = "Email Out",
                   const QString& subject = "Subject")
    {
        return folder.Db().Insert(
            "INSERT INTO Outbox (Out_Contact_ID, Product_Name, Out_Event_Type, Out_Timeline_Event_Number, "
            "ToEmail, ToEmailName, Subject, Message, FromEmail, FromEmailName, Date_To_Execute_Event, "
            "Date_Sent_To_Outbox, Lead_Time) VALUES (1, 'Car', ?, 1, ?, 'Name of ' || ?, ?, 'Body', "
            "'me@example.com', 'Me', ?, ?, 0)",
            {type, to, to, subject, clock.Now().addSecs(60 * due_minutes), sent});
    }
    void Fill()
    {
        Page()->Fill_Outbox_List();
        GlobalVariables::Outbox_List_Loaded = true;
    }
    bool Exists(qint64 id)
    {
        return !folder.Db().Select_First("SELECT ID FROM Outbox WHERE ID = ?", {id}).isEmpty();
    }
    QStringList Listed_Addresses()
    {
        QStringList addresses;
        for (int i = 1; i <= List()->Row_Count(); ++i)
            addresses << Get_Key_ID(List()->Key_At(i));
        return addresses;
    }
};

} // namespace

class Outbox_Tab_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_first_visit_fills_the_list_and_shows_the_earliest_due()
    {
        Test_Maildir mail_store;   // a tab click also looks for new mail: there is none
        Outbox_Tab_Fixture f;
        const QDateTime sent = f.clock.Now().addSecs(-600);
        f.Add_Row("late@example.com", sent, 30);
        const qint64 early = f.Add_Row("early@example.com", sent.addSecs(1), -30);
        f.Add_Row("call@example.com", sent.addSecs(2), -60, "Call Out");
        f.window.TabStrip1_Click(4);
        QVERIFY(GlobalVariables::Outbox_List_Loaded);
        QCOMPARE(f.Listed_Addresses(), QStringList({"early@example.com", "late@example.com"}));
        QCOMPARE(Control<QLineEdit>(&f.window, "txtFrameOutbox_ID")->text(), QString::number(early));
        QCOMPARE(Control<QLineEdit>(&f.window, "txtFrameOutbox_Email")->text(), QString("early@example.com"));
        QCOMPARE(Control<QTextEdit>(&f.window, "txtFrameOutbox_Message")->toPlainText(), QString("Body"));
        QVERIFY(!f.Page()->Modified());
        // A second visit adds nothing.
        f.window.TabStrip1_Click(1);
        f.window.TabStrip1_Click(4);
        QCOMPARE(f.List()->Row_Count(), 2);
    }

    void an_edited_entry_is_saved_when_another_is_chosen()
    {
        Outbox_Tab_Fixture f;
        const QDateTime sent = f.clock.Now().addSecs(-600);
        const qint64 a = f.Add_Row("ann@example.com", sent, -30);
        f.Add_Row("bob@example.com", sent.addSecs(1), -20);
        const QString users_file = f.folder.Write_File("Documents/brochure.pdf", "PDF");
        f.Fill();

        Control<QLineEdit>(&f.window, "txtFrameOutbox_Name")->setText("Ann Lee");
        Control<QLineEdit>(&f.window, "txtFrameOutbox_Subject")->setText("New subject");
        Control<QTextEdit>(&f.window, "txtFrameOutbox_Message")->setPlainText("New body");
        Control<QLineEdit>(&f.window, "txtFrameOutbox_Product")->setText("Van");
        Control<QLineEdit>(&f.window, "txtFrameOutbox_Email")->setText("changed@example.com");
        f.dialogs.file_answers << users_file;
        f.Page()->ToolOutboxAttachmentActions_ButtonMenuClick("Add");
        QVERIFY(f.Page()->Modified());
        QCOMPARE(f.dialogs.file_titles, QStringList({"Open Attachment"}));

        f.Page()->ListOutbox_ItemClick(f.List()->Row_At(2));
        QVERIFY(f.dialogs.messages.isEmpty());
        const QSqlRecord row = f.folder.Db().Select_First("SELECT * FROM Outbox WHERE ID = ?", {a});
        QCOMPARE(row.value("ToEmailName").toString(), QString("Ann Lee"));
        QCOMPARE(row.value("Subject").toString(), QString("New subject"));
        QCOMPARE(row.value("Message").toString(), QString("New body"));
        QCOMPARE(row.value("Product_Name").toString(), QString("Van"));
        QCOMPARE(row.value("ToEmail").toString(), QString("ann@example.com"));   // not stored
        // The entry keeps a copy of the user's file in the store.
        const QList<QSqlRecord> files = f.folder.Db().Select(
            "SELECT * FROM Outbox_Attachments WHERE Outbox_ID = ?", {a});
        QCOMPARE(files.size(), 1);
        QCOMPARE(files[0].value("Attachment_Name").toString(), QString("brochure.pdf"));
        QCOMPARE(files[0].value("Attachment_Path").toString(), f.folder.Path("Attachments/brochure.pdf"));
        QCOMPARE(Control<QLineEdit>(&f.window, "txtFrameOutbox_Email")->text(), QString("bob@example.com"));

        // Back on the entry, its file is listed; removing it and saving empties the rows.
        f.Page()->ListOutbox_ItemClick(f.List()->Row_At(1));
        QCOMPARE(Control<QComboBox>(&f.window, "List_Outbox_Attachments")->count(), 1);
        f.Page()->ToolOutboxAttachmentActions_ButtonMenuClick("Remove");
        QCOMPARE(Control<QComboBox>(&f.window, "List_Outbox_Attachments")->count(), 0);
        f.Page()->Save_Outbox_Email();
        QCOMPARE(f.folder.Db().Scalar("SELECT count(*) FROM Outbox_Attachments").toInt(), 0);

        // Deleting the entry never touches the user's own file.
        f.Page()->ToolOutbox_ButtonClick("Delete");
        QVERIFY(QFile::exists(users_file));
    }

    void an_edit_that_cannot_be_stored_stays_in_the_editor()
    {
        Test_Maildir mail_store;
        Outbox_Tab_Fixture f;
        const QDateTime sent = f.clock.Now().addSecs(-600);
        const qint64 a = f.Add_Row("ann@example.com", sent, -30);
        f.Add_Row("bob@example.com", sent.addSecs(1), -20);
        f.Fill();
        f.window.TabStrip1_Click(4);
        f.folder.Db().Execute("CREATE TRIGGER no_updates BEFORE UPDATE ON Outbox "
                              "BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
        Control<QTextEdit>(&f.window, "txtFrameOutbox_Message")->setPlainText("Edited body");

        // Neither another entry nor another page replaces the edit.
        f.Page()->ListOutbox_ItemClick(f.List()->Row_At(2));
        QVERIFY(f.dialogs.Shown("Error on Save Outbox Email: disk is full"));
        QCOMPARE(Control<QLineEdit>(&f.window, "txtFrameOutbox_ID")->text(), QString::number(a));
        QCOMPARE(Control<QTextEdit>(&f.window, "txtFrameOutbox_Message")->toPlainText(), QString("Edited body"));
        QVERIFY(f.Page()->Modified());
        QCOMPARE(f.List()->currentItem(), f.List()->Row_At(1));
        f.window.TabStrip1_Click(1);
        QCOMPARE(f.window.Current_Tab_Number(), 4);
        QVERIFY(!f.window.Save_Pending_Edits());
        QCOMPARE(Control<QTextEdit>(&f.window, "txtFrameOutbox_Message")->toPlainText(), QString("Edited body"));

        // Once the database takes it again, the edit is stored on the next move.
        f.folder.Db().Execute("DROP TRIGGER no_updates");
        f.Page()->ListOutbox_ItemClick(f.List()->Row_At(2));
        QCOMPARE(f.folder.Db().Scalar("SELECT Message FROM Outbox WHERE ID = ?", {a}).toString(),
                 QString("Edited body"));
        QCOMPARE(Control<QLineEdit>(&f.window, "txtFrameOutbox_Email")->text(), QString("bob@example.com"));
    }

    void delete_removes_the_shown_entry_only_and_shows_the_next()
    {
        Outbox_Tab_Fixture f;
        const QDateTime sent = f.clock.Now().addSecs(-600);
        const qint64 a = f.Add_Row("ann@example.com", sent, -30);
        // Same address, same second: not listed twice, and not deleted with the other.
        const qint64 twin = f.Add_Row("ann@example.com", sent, -25);
        const qint64 b = f.Add_Row("bob@example.com", sent.addSecs(1), -20);
        const qint64 c = f.Add_Row("cy@example.com", sent.addSecs(2), -10);
        f.folder.Db().Execute("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) "
                              "VALUES (?, ?, 'x.txt')",
                              {b, f.folder.Write_File("Attachments/x.txt", "x")});
        f.Fill();
        QCOMPARE(f.Listed_Addresses(), QStringList({"ann@example.com", "bob@example.com", "cy@example.com"}));

        f.Page()->ToolOutbox_ButtonClick("Delete");
        QVERIFY(!f.Exists(a));
        QVERIFY(f.Exists(twin));
        QCOMPARE(f.Listed_Addresses(), QStringList({"bob@example.com", "cy@example.com"}));
        QCOMPARE(Control<QLineEdit>(&f.window, "txtFrameOutbox_ID")->text(), QString::number(b));

        // With confirmation on, Cancel keeps it; OK deletes it and its files.
        Update_Settings([](Program_Settings& s) { s.Confirm_Email_Deletes = true; });
        f.dialogs.answers << vbCancel;
        f.Page()->ToolOutbox_ButtonClick("Delete");
        QVERIFY(f.Exists(b));
        QCOMPARE(f.dialogs.messages.last().text, QString("Delete this outgoing e-mail?"));
        f.dialogs.answers << vbOK;
        f.Page()->ToolOutbox_ButtonClick("Delete");
        QVERIFY(!f.Exists(b));
        QVERIFY(!QFile::exists(f.folder.Path("Attachments/x.txt")));
        QCOMPARE(f.folder.Db().Scalar("SELECT count(*) FROM Outbox_Attachments").toInt(), 0);
        QCOMPARE(Control<QLineEdit>(&f.window, "txtFrameOutbox_ID")->text(), QString::number(c));

        // The last one: the editor empties, the date-sent field keeps its text.
        f.dialogs.answers << vbOK;
        f.Page()->ToolOutbox_ButtonClick("Delete");
        QVERIFY(!f.Exists(c));
        QCOMPARE(f.List()->Row_Count(), 0);
        QVERIFY(Control<QLineEdit>(&f.window, "txtFrameOutbox_ID")->text().isEmpty());
        QVERIFY(Control<QLineEdit>(&f.window, "txtFrameOutbox_Email")->text().isEmpty());
        QVERIFY(!Control<QLineEdit>(&f.window, "txtFrameOutboxDateSent")->text().isEmpty());
        QVERIFY(!f.Page()->Modified());
        // Nothing shown: delete does nothing.
        const int asked = f.dialogs.messages.size();
        f.Page()->ToolOutbox_ButtonClick("Delete");
        QCOMPARE(f.dialogs.messages.size(), asked);
    }

    void delete_all_removes_the_listed_e_mails_only()
    {
        Outbox_Tab_Fixture f;
        const QDateTime sent = f.clock.Now().addSecs(-600);
        f.Add_Row("ann@example.com", sent, -30);
        f.Add_Row("bob@example.com", sent.addSecs(1), -20);
        const qint64 call = f.Add_Row("call@example.com", sent.addSecs(2), -10, "To Do");
        f.Fill();
        f.dialogs.answers << vbNo;
        f.Page()->ToolOutboxAll_ButtonClick("DeleteAll");
        QCOMPARE(f.List()->Row_Count(), 2);
        f.Page()->ToolOutboxAll_ButtonClick("DeleteAll");
        QCOMPARE(f.dialogs.messages.last().text, QString("Do you want to remove all the messages on the Outbox?"));
        QCOMPARE(f.List()->Row_Count(), 0);
        QCOMPARE(f.folder.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), 1);
        QVERIFY(f.Exists(call));
        QVERIFY(Control<QLineEdit>(&f.window, "txtFrameOutbox_ID")->text().isEmpty());
    }

    void with_no_entry_shown_the_editor_and_its_commands_are_disabled()
    {
        Outbox_Tab_Fixture f;
        const auto editor_enabled = [&f] {
            QList<bool> enabled;
            for (const char* name : {"txtFrameOutbox_Name", "txtFrameOutbox_Email", "txtFrameOutbox_Subject",
                                     "txtFrameOutbox_Product", "txtFrameOutbox_Date_Due", "txtFrameOutbox_Message",
                                     "List_Outbox_Attachments"})
                enabled << Control<QWidget>(&f.window, name)->isEnabled();
            return enabled;
        };
        const QList<bool> all_off(7, false), all_on(7, true);
        QAction* remove = Control<Key_Toolbar>(&f.window, "ToolOutbox")->Button("Delete");
        QAction* remove_all = Control<Key_Toolbar>(&f.window, "ToolOutboxAll")->Button("DeleteAll");
        f.Fill();
        QCOMPARE(editor_enabled(), all_off);
        QVERIFY(!remove->isEnabled());
        QVERIFY(!remove_all->isEnabled());
        // Typing goes nowhere.
        QTest::keyClicks(Control<QLineEdit>(&f.window, "txtFrameOutbox_Subject"), "typed");
        QVERIFY(Control<QLineEdit>(&f.window, "txtFrameOutbox_Subject")->text().isEmpty());

        // A posted entry is listed: the whole list can go, the editor still shows none.
        const QDateTime sent = f.clock.Now().addSecs(-600);
        const qint64 a = f.Add_Row("ann@example.com", sent, -30);
        QVERIFY(Add_Outbox_List_Item(a, "Ann", "ann@example.com", sent, "Subject"));
        QCOMPARE(editor_enabled(), all_off);
        QVERIFY(!remove->isEnabled());
        QVERIFY(remove_all->isEnabled());

        f.Page()->ListOutbox_ItemClick(f.List()->Row_At(1));
        QCOMPARE(editor_enabled(), all_on);
        QVERIFY(remove->isEnabled());

        // Its deletion leaves nothing to act on.
        f.Page()->ToolOutbox_ButtonClick("Delete");
        QCOMPARE(f.List()->Row_Count(), 0);
        QCOMPARE(editor_enabled(), all_off);
        QVERIFY(!remove->isEnabled());
        QVERIFY(!remove_all->isEnabled());

        f.Add_Row("bob@example.com", sent.addSecs(1), -20);
        f.Page()->Fill_Outbox_List();
        QCOMPARE(editor_enabled(), all_on);
        f.Page()->ToolOutboxAll_ButtonClick("DeleteAll");
        QCOMPARE(editor_enabled(), all_off);
        QVERIFY(!remove->isEnabled());
        QVERIFY(!remove_all->isEnabled());
    }

    void an_entry_sent_meanwhile_leaves_the_editor()
    {
        Outbox_Tab_Fixture f;
        const qint64 a = f.Add_Row("ann@example.com", f.clock.Now().addSecs(-600), -30);
        f.Fill();
        Control<QLineEdit>(&f.window, "txtFrameOutbox_Subject")->setText("Edited");
        QVERIFY(f.Page()->Modified());
        Main_Window().Outbox_Entry_Gone(a + 1);
        QCOMPARE(Control<QLineEdit>(&f.window, "txtFrameOutbox_ID")->text(), QString::number(a));
        Main_Window().Outbox_Entry_Gone(a);
        QVERIFY(Control<QLineEdit>(&f.window, "txtFrameOutbox_ID")->text().isEmpty());
        QVERIFY(!f.Page()->Modified());

        // Saving an entry that has gone says so instead of failing quietly.
        f.Page()->ListOutbox_ItemClick(f.List()->Row_At(1));
        f.folder.Db().Execute("DELETE FROM Outbox WHERE ID = ?", {a});
        Control<QLineEdit>(&f.window, "txtFrameOutbox_Subject")->setText("Edited again");
        f.Page()->Save_Outbox_Email();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.startsWith("This e-mail is no longer in the outbox"));
    }

    void process_workflows_posts_and_lists_the_due_steps()
    {
        Outbox_Tab_Fixture f;
        Database db = f.folder.Db();
        db.Execute("INSERT INTO Products (Product) VALUES ('Car')");
        db.Execute("INSERT INTO Events (Product, EventID, Event_Action, Subject, Message, SenderEmail) "
                   "VALUES ('Car', 1, 'Email Out', 'Hi [Firstname]', 'Text', 'me@example.com')");
        db.Execute("INSERT INTO Contacts (FirstName, LastName, Email, Product, Workflow_Start_Date) "
                   "VALUES ('Ann', 'Lee', 'ann@example.com', 'Car', ?)",
                   {f.clock.Now().addDays(-1)});
        f.Fill();
        QVERIFY(Control<QAction>(&f.window, "mnuProcessWorkflows")->isEnabled());
        Control<QAction>(&f.window, "mnuProcessWorkflows")->trigger();
        QCOMPARE(f.Listed_Addresses(), QStringList({"ann@example.com"}));
        QCOMPARE(f.List()->Row_At(1)->text(3), QString("Hi Ann"));
        QCOMPARE(f.dialogs.Texts(),
                 QStringList({"All Prospects Have Been Processed. Revise them using the respective viewers."}));
    }
};

QTEST_MAIN(Outbox_Tab_Test)
#include "tst_outbox_tab.moc"
