// Taking entries out of the outbox unsent: the rows with their attachment
// rows and stored files, and their rows in the filled lists; nothing of other
// entries.

#include <QFileInfo>
#include <QtTest>

#include "Data_Access.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Outbox_Posting.h"
#include "Outbox_Removal.h"
#include "Recording_Main_Window.h"
#include "Test_Support.h"

namespace {

struct Removal_Fixture {
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Recording_Main_Window window;
    Database db{folder.Db()};
    QDateTime sent = clock.Now().addSecs(-600);

    qint64 Add(qint64 contact, const QString& type, const QDateTime& posted, const QString& to = "ann@example.com")
    {
        const qint64 id = db.Insert(
            "INSERT INTO Outbox (Out_Contact_ID, Out_Event_Type, ToEmail, ToEmailName, Subject, "
            "Date_To_Execute_Event, Date_Sent_To_Outbox) VALUES (?, ?, ?, 'Ann Lee', 'S', ?, ?)",
            {contact, type, to, posted, posted});
        if (type == "Email Out")
            window.Add_List_Row(Main_List::Outbox, Outbox_List_Row(id, "Ann Lee", to, posted, "S"));
        else
            Add_ToDo_List_Item(contact, posted, "Ann", "Lee", type, "S", posted);
        return id;
    }
    QString Attach(qint64 outbox_id, const QString& name)
    {
        const QString path = folder.Folder() + "Attachments/" + name;
        if (!QFileInfo::exists(path))
            folder.Write_File("Attachments/" + name, "data");
        db.Insert("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) VALUES (?, ?, ?)",
                  {outbox_id, path, name});
        return path;
    }
    int Count(const char* table) { return db.Scalar(QString("SELECT count(*) FROM ") + table).toInt(); }
};

} // namespace

class tst_outbox_removal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void one_posting_goes_with_its_files_and_list_row()
    {
        Removal_Fixture f;
        GlobalVariables::ToDo_List_Loaded = true;
        const qint64 done = f.Add(7, "To Do", f.sent);
        const qint64 later = f.Add(7, "To Do", f.sent.addSecs(1));
        const qint64 other = f.Add(8, "Call Out", f.sent);
        const QString done_file = f.Attach(done, "plan.pdf");
        const QString later_file = f.Attach(later, "later.pdf");
        // A stored copy that another entry points at too stays for it.
        f.Attach(done, "shared.pdf");
        const QString shared = f.Attach(other, "shared.pdf");

        QCOMPARE(Delete_Outbox_Entries_Posted(7, f.sent), 1);
        QCOMPARE(f.db.Scalar("SELECT group_concat(ID) FROM Outbox ORDER BY ID").toString(),
                 QString("%1,%2").arg(later).arg(other));
        QCOMPARE(f.Count("Outbox_Attachments"), 2);
        QVERIFY(!QFileInfo::exists(done_file));
        QVERIFY(QFileInfo::exists(later_file));
        QVERIFY(QFileInfo::exists(shared));
        QVERIFY(!f.window.Row(Main_List::ToDo, Make_ToDo_Key(7, f.sent)));
        QCOMPARE(f.window.Rows(Main_List::ToDo).size(), 2);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void a_contacts_entries_leave_the_lists_that_are_filled_data()
    {
        QTest::addColumn<bool>("outbox_loaded");
        QTest::addColumn<bool>("todo_loaded");
        QTest::newRow("both lists filled") << true << true;
        QTest::newRow("neither list filled") << false << false;
    }
    void a_contacts_entries_leave_the_lists_that_are_filled()
    {
        QFETCH(bool, outbox_loaded);
        QFETCH(bool, todo_loaded);
        Removal_Fixture f;
        f.Add(7, "Email Out", f.sent);
        f.Add(7, "Call Out", f.sent.addSecs(1));
        f.Add(8, "Email Out", f.sent, "bob@example.com");
        GlobalVariables::Outbox_List_Loaded = outbox_loaded;
        GlobalVariables::ToDo_List_Loaded = todo_loaded;

        QCOMPARE(Delete_Contact_Outbox_Entries(7), 2);
        QCOMPARE(f.Count("Outbox"), 1);
        QCOMPARE(f.window.Rows(Main_List::Outbox).size(), outbox_loaded ? 1 : 2);
        QCOMPARE(f.window.Rows(Main_List::ToDo).size(), todo_loaded ? 0 : 1);
        QCOMPARE(Delete_Contact_Outbox_Entries(7), 0);
    }
};

QTEST_MAIN(tst_outbox_removal)
#include "tst_outbox_removal.moc"
