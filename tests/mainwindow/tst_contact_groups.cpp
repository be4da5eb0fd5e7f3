// The contact group's commands: choosing the group through the menu and the
// pickers, a new contact, the block-delete password, erasing and deleting the
// group, removing and junking the shown contact, the group's printouts.

#include <QCalendarWidget>
#include <QFileInfo>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>

#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Group_Actions.h"
#include "List_Rows.h"
#include "Mail_Integration.h"
#include "Main_Window_Lists.h"
#include "Main_Window_Test_Support.h"
#include "Password.h"
#include "Report_Capture.h"
#include "Settings.h"
#include "dialogs/frmSelectTimedEvents.h"

namespace {

struct Group_Fixture : Window_With_Mail_Store {
    qint64 ann = 0;   // Car, Friend
    qint64 bob = 0;   // Van "XL", Client "A", unread events
    qint64 cid = 0;   // no product, empty relationship, new
    qint64 dee = 0;   // empty product, no relationship

    Group_Fixture()
    {
        Database db = s.Db();
        const auto contact = [&db](const char* first, const char* last, const char* email, const QVariant& product,
                                   const QVariant& relationship, int is_new, int pending) {
            return db.Insert("INSERT INTO Contacts (FirstName, LastName, Email, Product, Contact_Relationship, "
                             "New_Contact, Pending_Events_To_Read) VALUES (?, ?, ?, ?, ?, ?, ?)",
                             {QString(first), QString(last), QString(email), product, relationship, is_new, pending});
        };
        ann = contact("Ann", "Abbot", "ann@example.com", QString("Car"), QString("Friend"), 0, 0);
        bob = contact("Bob", "Brown", "bob@example.com", QString("Van \"XL\""), QString("Client \"A\""), 0, 1);
        cid = contact("Cid", "Cole", "cid@example.com", QVariant(), QString(""), 1, 0);
        dee = contact("Dee", "Dunn", "", QString(""), QVariant(), 0, 0);
        for (const char* product : {"Car", "Van \"XL\"", "Boat"})
            db.Execute("INSERT INTO Products (Product) VALUES (?)", {QString(product)});
        for (const char* relation : {"Friend", "Client \"A\""})
            db.Execute("INSERT INTO Relationships (Relation_Data) VALUES (?)", {QString(relation)});
        Register_Mail_Store_Deleter();
    }

    qint64 Add_Event(qint64 contact, const QString& type, const QDateTime& date, const QString& unique_id = {},
                     const QString& subject = "Hello")
    {
        return s.Db().Insert("INSERT INTO Eventhistory (ContactID, EventDate, Event_Type, EventSubject, "
                             "Event_Unique_ID, Email_ID_Date) VALUES (?, ?, ?, ?, ?, ?)",
                             {contact, date, type, subject, unique_id.isEmpty() ? QString::number(date.toSecsSinceEpoch()) + type : unique_id, date});
    }
    QString Add_Event_File(qint64 event, const QString& name)
    {
        const QString path = s.folder.Write_File("Attachments/" + name, "data");
        s.Db().Execute("UPDATE Eventhistory SET Has_Attachments = 1 WHERE ID = ?", {event});
        s.Db().Insert("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, Attachment_Final_Name) "
                      "VALUES (?, 'E', ?, ?)",
                      {event, path, name});
        return path;
    }
    qint64 Add_Outbox(qint64 contact, const QString& type, int minutes)
    {
        return s.Db().Insert("INSERT INTO Outbox (Out_Contact_ID, Out_Event_Type, ToEmail, Subject, "
                             "Date_To_Execute_Event, Date_Sent_To_Outbox) VALUES (?, ?, 'x@example.com', 'S', ?, ?)",
                             {contact, type, s.clock.Now().addSecs(3600), s.clock.Now().addSecs(-60 * minutes)});
    }
    QString Add_Outbox_File(qint64 outbox, const QString& name)
    {
        const QString path = s.folder.Write_File("Attachments/" + name, "data");
        s.Db().Insert("INSERT INTO Outbox_Attachments (Outbox_ID, Attachment_Path, Attachment_Name) VALUES (?, ?, ?)",
                      {outbox, path, name});
        return path;
    }
    void Set_Password(const QString& password)
    {
        Save_Log_In_Password(password);
        Load_Settings();
    }
    List_View* Contacts() { return C<List_View>("ListContacts"); }
    List_View* Events() { return C<List_View>("ListEvents"); }
    QStringList Listed() { return Column_Texts(Contacts(), 2); }
    int Count(const QString& sql, const QVariantList& values = {}) { return s.Db().Scalar(sql, values).toInt(); }
    QString Shown_ID() { return C<QLineEdit>("txtContact_ID")->text(); }
    bool Welcome_Shown() { return w->Current_Detail_Frame() == Frame(w, "frameWelcomeMessage"); }
    void Group(const QString& where, const QVariantList& values = {})
    {
        w->Actions_On_Group->Choose_Group({where, values}, std::nullopt);
    }
    void Show(qint64 contact) { Click_Row(Contacts(), Contacts()->Find_Key(Make_Contact_Key(contact))); }
};

// Answers the modal picker: chooses the row showing the text (by a click, or
// by a double-click that also selects), then Select.
void Pick_Row(const char* list_name, const QString& text, bool double_click = false)
{
    When_Modal_Shown([list_name, text, double_click](QWidget* dialog) {
        auto* list = Control<List_View>(dialog, list_name);
        QTreeWidgetItem* row = nullptr;
        for (int i = 1; i <= list->Row_Count(); ++i)
            if (list->Row_At(i)->text(1) == text)
                row = list->Row_At(i);
        if (!row)
            qFatal("no row %s", qPrintable(text));
        Click_Row(list, row);
        if (double_click) {
            const QRect rect = list->visualItemRect(row);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        } else {
            Click_Tool(dialog, "Toolbar1", "Select");
        }
    });
}

// Answers the block-delete dialog: each typed password in turn with OK, then
// Cancel, the close box, or nothing more (the last password was right).
void Answer_Block_Delete(const QStringList& passwords, const QString& then, std::function<void()> meanwhile = {})
{
    When_Modal_Shown([passwords, then, meanwhile](QWidget* dialog) {
        QCOMPARE(dialog->objectName(), QString("frmBlockDelete"));
        QCOMPARE(dialog->windowTitle(), QString("Block Delete Authentication"));
        if (meanwhile)
            meanwhile();
        for (const QString& password : passwords) {
            Control<QLineEdit>(dialog, "txtPassword")->setText(password);
            QTest::mouseClick(Control<QPushButton>(dialog, "OK"), Qt::LeftButton);
        }
        if (then == "Cancel")
            QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
        else if (then == "close")
            dialog->close();
    });
}

} // namespace

class tst_contact_groups : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void the_group_toolbar_is_usable()
    {
        Group_Fixture f;
        f.Start();
        auto* bar = f.C<Key_Toolbar>("Toolbar1");
        for (const char* key : {"NewContact", "Select", "APB", "PrintGroup", "EraseHistory", "Delete"})
            QVERIFY2(bar->Button(key)->isEnabled(), key);
        auto* head = f.C<Key_Toolbar>("ToolContactActions");
        QVERIFY(head->Button("Delete")->isEnabled());
        QVERIFY(head->Button("Junk")->isEnabled());
    }

    void a_group_lists_its_contacts_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("caption");
        const QStringList all = {"Abbot", "Brown", "Cole", "Dunn"};
        QTest::newRow("all") << "menu" << "SelectAll" << all << "";
        QTest::newRow("new") << "menu" << "SelectNew" << QStringList{"Cole"} << "";
        QTest::newRow("pending") << "menu" << "SelectPending" << QStringList{"Brown"} << "";
        QTest::newRow("product") << "SelectProduct" << "Car" << QStringList{"Abbot"} << "Car";
        QTest::newRow("product with a double quote") << "SelectProduct" << "Van \"XL\"" << QStringList{"Brown"}
                                                     << "Van \"XL\"";
        QTest::newRow("empty product, double-click") << "SelectProduct!" << "Empty Product Field"
                                                     << QStringList{"Cole", "Dunn"} << "Empty Products";
        QTest::newRow("relationship with a double quote") << "SelectRelationship" << "Client \"A\""
                                                          << QStringList{"Brown"} << "Client \"A\"";
        QTest::newRow("empty relationship") << "SelectRelationship" << "Empty Relationship Field"
                                            << QStringList{"Cole", "Dunn"} << "Empty Relationships";
        // Ann 5 March 00:00, Bob 4 March 23:59:59, Cid 8 and 10 March, Dee an e-mail out on 6 March.
        QTest::newRow("timed, one day from its midnight") << "SelectTimed" << "03/05/2026|03/05/2026|Email In"
                                                          << QStringList{"Abbot"} << "";
        QTest::newRow("timed, the day before's last second") << "SelectTimed" << "03/04/2026|03/04/2026|Email In"
                                                             << QStringList{"Brown"} << "";
        QTest::newRow("timed, dates swapped, two events once") << "SelectTimed" << "03/10/2026|03/08/2026|Email In"
                                                               << QStringList{"Cole"} << "";
        QTest::newRow("timed, the type counts") << "SelectTimed" << "03/01/2026|03/31/2026|Email Out"
                                                << QStringList{"Dunn"} << "";
    }
    void a_group_lists_its_contacts()
    {
        QFETCH(QString, how);
        QFETCH(QString, choice);
        QFETCH(QStringList, listed);
        QFETCH(QString, caption);
        Group_Fixture f;
        f.Add_Event(f.ann, "Email In", QDateTime(QDate(2026, 3, 5), QTime(0, 0)));
        f.Add_Event(f.bob, "Email In", QDateTime(QDate(2026, 3, 4), QTime(23, 59, 59)));
        f.Add_Event(f.cid, "Email In", QDateTime(QDate(2026, 3, 8), QTime(12, 0)));
        f.Add_Event(f.cid, "Email In", QDateTime(QDate(2026, 3, 10), QTime(23, 59, 59)));
        f.Add_Event(f.dee, "Email Out", QDateTime(QDate(2026, 3, 6), QTime(9, 0)));
        f.Start();
        f.w->Contacts_Filter_Caption = "before";
        if (how == "menu") {
            Click_Tool_Menu(f.w, "Toolbar1", "Select", choice);
        } else if (how == "SelectTimed") {
            Click_Tool_Menu(f.w, "Toolbar1", "Select", "SelectTimed");
            auto* picker = Control<frmSelectTimedEvents>(f.w, "frmSelectTimedEvents");
            QVERIFY(!picker->isModal());
            const QStringList parts = choice.split('|');
            picker->txtFromDate->setText(parts[0]);
            picker->txtToDate->setText(parts[1]);
            picker->Combo_Event_Type->setCurrentText(parts[2]);
            QTest::mouseClick(picker->Select_Events, Qt::LeftButton);
            QTRY_VERIFY(f.w->findChildren<frmSelectTimedEvents*>().isEmpty());
            caption = "before";   // the timed picker leaves the caption alone
        } else {
            const bool double_click = how.endsWith('!');
            const QString key = double_click ? how.chopped(1) : how;
            Pick_Row(key == "SelectProduct" ? "ListProduct" : "ListRelationships", choice, double_click);
            Click_Tool_Menu(f.w, "Toolbar1", "Select", key);
        }
        QCOMPARE(f.Listed(), listed);
        QCOMPARE(f.C<QLabel>("StatusBar1_Panel2")->text(), QString::number(listed.size()));
        if (how != "menu")
            QCOMPARE(f.w->Contacts_Filter_Caption, caption);
        QVERIFY(f.s.dialogs.messages.isEmpty());
        // Later refills keep the group (a new contact is no longer new once shown).
        if (choice != "SelectNew") {
            f.w->Refresh_Contact_List();
            QCOMPARE(f.Listed(), listed);
        }
    }

    void a_picker_without_a_choice_leaves_the_group()
    {
        Group_Fixture f;
        f.Start();
        Click_Tool_Menu(f.w, "Toolbar1", "Select", "SelectPending");
        When_Modal_Shown([](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Select Contact Group by Product"));
            QStringList values = Column_Texts(Control<List_View>(dialog, "ListProduct"), 1);
            QCOMPARE(values, QStringList({"Boat", "Car", "Empty Product Field", "Van \"XL\""}));
            Click_Tool(dialog, "Toolbar1", "Select");
        });
        Click_Tool_Menu(f.w, "Toolbar1", "Select", "SelectProduct");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"You must first select an item from the list!"}));
        QCOMPARE(f.Listed(), QStringList({"Brown"}));
    }

    void the_timed_picker_reports_a_date_that_is_none()
    {
        Group_Fixture f;
        f.Start();
        Click_Tool_Menu(f.w, "Toolbar1", "Select", "SelectNew");
        Click_Tool_Menu(f.w, "Toolbar1", "Select", "SelectTimed");
        auto* picker = Control<frmSelectTimedEvents>(f.w, "frmSelectTimedEvents");
        QCOMPARE(picker->txtFromDate->text(), f.s.clock.Now().date().toString("MM/dd/yyyy"));
        picker->txtFromDate->setText("13/45/2026");
        QTest::mouseClick(picker->Select_Events, Qt::LeftButton);
        QCOMPARE(f.s.dialogs.messages.size(), 1);
        QVERIFY(f.s.dialogs.messages[0].text.startsWith("Error on Select Events: "));
        QCOMPARE(f.Listed(), QStringList({"Cole"}));
    }

    void new_contact_is_made_once_and_found_by_its_key()
    {
        Group_Fixture f;
        // A listed contact whose name looks like the placeholder's.
        f.s.Db().Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('**Firstname', 'Aaron', 'a@x.com')");
        f.Start();
        Click_Tool(f.w, "Toolbar1", "NewContact");
        Click_Tool(f.w, "Toolbar1", "NewContact");
        const QList<QSqlRecord> made =
            f.s.Db().Select("SELECT * FROM Contacts WHERE Email = ?", {QString(New_Contact_Placeholder_Email)});
        QCOMPARE(made.size(), 1);
        const qint64 ID = made[0].value("ID").toLongLong();
        QCOMPARE(made[0].value("FirstName").toString(), QString("**Firstname"));
        QCOMPARE(made[0].value("Import_Source").toString(), QString("Manual Entry"));
        QCOMPARE(Db_To_Date(made[0].value("Contact_Received_Date")), f.s.clock.Now());
        QCOMPARE(f.Shown_ID(), QString::number(ID));
        QCOMPARE(List_View::Item_Key(f.Contacts()->currentItem()), Make_Contact_Key(ID));
        QCOMPARE(f.Contacts()->Row_Count(), 6);
        QCOMPARE(f.C<QLabel>("StatusBar1_Panel2")->text(), QString("6"));
        QVERIFY(f.C<QLineEdit>("txtfirstname")->hasFocus() || !f.w->isActiveWindow());

        // Named and given an address, it is stored when left.
        f.C<QLineEdit>("txtfirstname")->setText("Nina");
        f.C<QLineEdit>("txtlastname")->setText("North");
        f.C<QLineEdit>("txtEmail")->setText("nina@example.com");
        Click_Row(f.Contacts(), f.Contacts()->Find_Key(Make_Contact_Key(f.ann)));
        const QSqlRecord nina = f.s.Db().Select_First("SELECT * FROM Contacts WHERE ID = ?", {ID});
        QCOMPARE(nina.value("FirstName").toString(), QString("Nina"));
        QCOMPARE(nina.value("Email").toString(), QString("nina@example.com"));
        // Its address changed, the next press makes another.
        Click_Tool(f.w, "Toolbar1", "NewContact");
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), 7);
    }

    void block_delete_asks_the_password_data()
    {
        QTest::addColumn<QStringList>("passwords");
        QTest::addColumn<QString>("then");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<int>("refusals");
        QTest::newRow("right") << QStringList{"Secret"} << "" << true << 0;
        QTest::newRow("wrong, then right") << QStringList{"nope", "Secret"} << "" << true << 1;
        QTest::newRow("other letter case, then Cancel") << QStringList{"secret"} << "Cancel" << false << 1;
        QTest::newRow("Cancel") << QStringList{} << "Cancel" << false << 0;
        QTest::newRow("close box") << QStringList{"Secre"} << "close" << false << 1;
    }
    void block_delete_asks_the_password()
    {
        QFETCH(QStringList, passwords);
        QFETCH(QString, then);
        QFETCH(bool, deleted);
        QFETCH(int, refusals);
        for (const bool erase : {false, true}) {
            Group_Fixture f;
            f.Add_Event(f.ann, "Email In", f.s.clock.Now());
            f.Start();
            f.Set_Password("Secret");
            f.Group("WHERE Contacts.Product = ?", {QString("Car")});
            Answer_Block_Delete(passwords, then);
            Click_Tool(f.w, "Toolbar1", erase ? "EraseHistory" : "Delete");
            QCOMPARE(f.s.dialogs.messages[0].text, erase ? QString("Do you want to remove all the events from the current group?")
                                                         : QString("Confirm DELETE of current group!"));
            QCOMPARE(f.s.dialogs.messages[0].title, QString("Confirm Delete of Contact Block"));
            QCOMPARE(f.s.dialogs.Texts().count("The entered password is invalid."), refusals);
            QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory"), deleted ? 0 : 1);
            QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), deleted && !erase ? 3 : 4);
            QVERIFY(!QApplication::activeModalWidget());
        }
    }

    void a_no_to_the_question_asks_no_password()
    {
        Group_Fixture f;
        f.Start();
        f.s.dialogs.answers << vbNo;
        Click_Tool(f.w, "Toolbar1", "Delete");
        QCOMPARE(f.s.dialogs.messages.size(), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), 4);
    }

    void the_group_acted_on_is_the_one_listed_at_the_confirmation()
    {
        Group_Fixture f;
        f.Start();
        f.Group("WHERE Contacts.Product = ?", {QString("Car")});
        qint64 late = 0;
        // A lead of the group comes in while the password is asked.
        Answer_Block_Delete({""}, "", [&f, &late] {
            late = f.s.Db().Insert("INSERT INTO Contacts (FirstName, LastName, Product) VALUES ('Lee', 'Late', 'Car')");
            Add_Contact_List_Item(late, QString("Lee"), QString("Late"), QString("Car"), QVariant(), QVariant(), false,
                                  true, QVariant());
        });
        Click_Tool(f.w, "Toolbar1", "Delete");
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE Product = 'Car'"), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), 3);
    }

    void erase_removes_the_groups_events_files_and_messages()
    {
        Group_Fixture f;
        const QString ann_message = f.maildir.Deliver("plain.eml");
        const QString bob_message = f.maildir.Deliver("attachments.eml");
        const qint64 ann_event = f.Add_Event(f.ann, "Email In", f.s.clock.Now().addDays(-1), ann_message);
        const QString ann_file = f.Add_Event_File(ann_event, "a.pdf");
        f.Add_Event(f.ann, "Outgoing Call", f.s.clock.Now().addDays(-2));
        const qint64 bob_event = f.Add_Event(f.bob, "Email In", f.s.clock.Now().addDays(-1), bob_message);
        const QString bob_file = f.Add_Event_File(bob_event, "b.pdf");
        f.s.Db().Execute("UPDATE Contacts SET Pending_Events_To_Read = 1 WHERE ID = ?", {f.ann});
        f.Start();
        f.Group("WHERE Contacts.Product = ?", {QString("Car")});
        QCOMPARE(f.Events()->Row_Count(), 2);
        Click_Row(f.Events(), f.Events()->Row_At(1));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameEventView"));
        Answer_Block_Delete({""}, "");
        Click_Tool(f.w, "Toolbar1", "EraseHistory");
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {f.ann}), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM Attachments WHERE Link_ID = ?", {ann_event}), 0);
        QVERIFY(!QFileInfo::exists(ann_file));
        QVERIFY(f.maildir.Path_Of(ann_message).isEmpty());
        QCOMPARE(f.Count("SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {f.ann}), 0);
        // The contacts stay, and so does everything of the other group.
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), 4);
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {f.bob}), 1);
        QVERIFY(QFileInfo::exists(bob_file));
        QVERIFY(!f.maildir.Path_Of(bob_message).isEmpty());
        QCOMPARE(f.Events()->Row_Count(), 0);
        QCOMPARE(f.Listed(), QStringList({"Abbot"}));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
    }

    void delete_removes_the_group_with_its_events_and_outbox()
    {
        Group_Fixture f;
        f.s.Db().Execute("UPDATE Contacts SET Product = 'Car' WHERE ID = ?", {f.cid});
        const QString ann_message = f.maildir.Deliver("plain.eml");
        const qint64 ann_event = f.Add_Event(f.ann, "Email In", f.s.clock.Now().addDays(-1), ann_message);
        const QString event_file = f.Add_Event_File(ann_event, "a.pdf");
        const qint64 mail = f.Add_Outbox(f.ann, "Email Out", 5);
        const QString outbox_file = f.Add_Outbox_File(mail, "offer.pdf");
        f.Add_Outbox(f.cid, "Call Out", 6);
        const qint64 bob_mail = f.Add_Outbox(f.bob, "Email Out", 7);
        const QString bob_file = f.Add_Outbox_File(bob_mail, "bob.pdf");
        f.Add_Event(f.bob, "Email In", f.s.clock.Now());
        f.Start();
        f.w->TabStrip1_Click(2);
        QCOMPARE(f.C<List_View>("ListToDo")->Row_Count(), 1);
        f.w->TabStrip1_Click(4);
        QCOMPARE(f.C<List_View>("ListOutbox")->Row_Count(), 2);
        f.w->TabStrip1_Click(1);
        f.Group("WHERE Contacts.Product = ?", {QString("Car")});
        QCOMPARE(f.Listed(), QStringList({"Abbot", "Cole"}));
        Answer_Block_Delete({""}, "");
        Click_Tool(f.w, "Toolbar1", "Delete");

        for (const qint64 gone : {f.ann, f.cid}) {
            QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE ID = ?", {gone}), 0);
            QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {gone}), 0);
            QCOMPARE(f.Count("SELECT count(*) FROM Outbox WHERE Out_Contact_ID = ?", {gone}), 0);
        }
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox_Attachments WHERE Outbox_ID = ?", {mail}), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM Attachments"), 0);
        QVERIFY(!QFileInfo::exists(event_file));
        QVERIFY(!QFileInfo::exists(outbox_file));
        QVERIFY(f.maildir.Path_Of(ann_message).isEmpty());
        // The other product's contact keeps everything.
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts"), 2);
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox WHERE Out_Contact_ID = ?", {f.bob}), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {f.bob}), 1);
        QVERIFY(QFileInfo::exists(bob_file));
        // Nothing deleted stays on screen.
        QCOMPARE(f.Contacts()->Row_Count(), 0);
        QCOMPARE(f.Events()->Row_Count(), 0);
        QVERIFY(f.Welcome_Shown());
        QVERIFY(!Frame(f.w, "frameContact_Top_Screen")->isVisibleTo(f.w));
        QCOMPARE(f.C<List_View>("ListToDo")->Row_Count(), 0);
        QCOMPARE(f.C<List_View>("ListOutbox")->Row_Count(), 1);
        QCOMPARE(f.C<QLabel>("StatusBar1_Panel2")->text(), QString("0"));
    }

    void a_failed_delete_keeps_the_whole_contact_and_says_so()
    {
        Group_Fixture f;
        f.Add_Event(f.bob, "Email In", f.s.clock.Now());
        f.Add_Outbox(f.bob, "Email Out", 3);
        f.Start();
        f.s.Db().Execute("CREATE TRIGGER refuse BEFORE DELETE ON Outbox WHEN OLD.Out_Contact_ID = " +
                         QString::number(f.bob) + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
        // The group delete goes from the last row up: Dunn and Cole go, Brown fails.
        Answer_Block_Delete({""}, "");
        Click_Tool(f.w, "Toolbar1", "Delete");
        QVERIFY(f.s.dialogs.Texts().last().startsWith("Error on Group Actions: "));
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE ID = ?", {f.bob}), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {f.bob}), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE ID IN (?, ?)", {f.cid, f.dee}), 0);
        QCOMPARE(f.Listed(), QStringList({"Abbot", "Brown"}));
        QVERIFY(f.Welcome_Shown());

        // The shown contact's delete: reported, nothing of it removed, still shown.
        f.s.dialogs.messages.clear();
        Click_Row(f.Contacts(), f.Contacts()->Find_Key(Make_Contact_Key(f.bob)));
        Click_Tool(f.w, "ToolContactActions", "Delete");
        QVERIFY(f.s.dialogs.Texts().last().startsWith("Error on Delete Contact: "));
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {f.bob}), 1);
        QCOMPARE(f.Listed(), QStringList({"Abbot", "Brown"}));
        QCOMPARE(f.Shown_ID(), QString::number(f.bob));
    }

    void removing_the_shown_contact_shows_a_neighbour_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("then_shown");   // empty: the welcome frame
        QTest::addColumn<QStringList>("left");
        QTest::newRow("delete a middle row") << "Delete" << "" << "Brown" << "Cole"
                                             << QStringList{"Abbot", "Cole", "Dunn"};
        QTest::newRow("delete the first row") << "Delete" << "" << "Abbot" << "Brown"
                                              << QStringList{"Brown", "Cole", "Dunn"};
        QTest::newRow("delete the last row") << "Delete" << "" << "Dunn" << "Cole"
                                             << QStringList{"Abbot", "Brown", "Cole"};
        QTest::newRow("delete the only row") << "Delete" << "Car" << "Abbot" << "" << QStringList{};
        QTest::newRow("junk a middle row") << "Junk" << "" << "Brown" << "Cole"
                                           << QStringList{"Abbot", "Cole", "Dunn"};
        QTest::newRow("junk the last row") << "Junk" << "" << "Dunn" << "Cole"
                                           << QStringList{"Abbot", "Brown", "Cole"};
    }
    void removing_the_shown_contact_shows_a_neighbour()
    {
        QFETCH(QString, command);
        QFETCH(QString, group);
        QFETCH(QString, shown);
        QFETCH(QString, then_shown);
        QFETCH(QStringList, left);
        Group_Fixture f;
        f.Start();
        if (!group.isEmpty())
            f.Group("WHERE Contacts.Product = ?", {group});
        const QHash<QString, qint64> ids = {{"Abbot", f.ann}, {"Brown", f.bob}, {"Cole", f.cid}, {"Dunn", f.dee}};
        f.Show(ids[shown]);
        Click_Tool(f.w, "ToolContactActions", command);
        QCOMPARE(f.Listed(), left);
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE ID = ?", {ids[shown]}), 0);
        QCOMPARE(f.C<QLabel>("StatusBar1_Panel2")->text(), QString::number(left.size()));
        if (then_shown.isEmpty()) {
            QVERIFY(f.Welcome_Shown());
            QCOMPARE(f.Events()->Row_Count(), 0);
        } else {
            QCOMPARE(f.Shown_ID(), QString::number(ids[then_shown]));
            QCOMPARE(List_View::Item_Key(f.Contacts()->currentItem()), Make_Contact_Key(ids[then_shown]));
        }
    }

    void delete_and_junk_take_the_outbox_entries_and_say_so_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("title");
        QTest::newRow("delete") << "Delete"
                                << "Confirm DELETE of Contact Bob Brown\n\nIts 2 entries in the outbox are deleted too."
                                << "Confirm Delete";
        QTest::newRow("junk") << "Junk" << "Confirm adding record to Junk: \n\nIts 2 entries in the outbox are deleted too."
                              << "Confirm Junk";
    }
    void delete_and_junk_take_the_outbox_entries_and_say_so()
    {
        QFETCH(QString, command);
        QFETCH(QString, question);
        QFETCH(QString, title);
        Group_Fixture f;
        const qint64 mail = f.Add_Outbox(f.bob, "Email Out", 3);
        const QString file = f.Add_Outbox_File(mail, "offer.pdf");
        f.Add_Outbox(f.bob, "To Do", 4);
        f.s.Db().Insert("INSERT INTO JunkEmails (Email) VALUES ('bob@example.com')");
        f.Start();
        f.w->TabStrip1_Click(2);
        f.w->TabStrip1_Click(1);
        f.Show(f.bob);
        Click_Tool(f.w, "ToolContactActions", command);
        QCOMPARE(f.s.dialogs.messages.size(), 1);
        QCOMPARE(f.s.dialogs.messages[0].text, question);
        QCOMPARE(f.s.dialogs.messages[0].title, title);
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox"), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox_Attachments"), 0);
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(f.C<List_View>("ListToDo")->Row_Count(), 0);
        // Already junk: no second row.
        QCOMPARE(f.Count("SELECT count(*) FROM JunkEmails WHERE Email = 'bob@example.com'"), 1);
    }

    void junk_puts_the_address_on_the_junk_list_and_no_is_no()
    {
        Group_Fixture f;
        f.Start();
        f.Show(f.ann);
        f.s.dialogs.answers << vbNo;
        Click_Tool(f.w, "ToolContactActions", "Junk");
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE ID = ?", {f.ann}), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM JunkEmails"), 0);
        QCOMPARE(f.s.dialogs.messages[0].text, QString("Confirm adding record to Junk: "));
        Click_Tool(f.w, "ToolContactActions", "Junk");
        QCOMPARE(f.Count("SELECT count(*) FROM JunkEmails WHERE Email = 'ann@example.com'"), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE ID = ?", {f.ann}), 0);
    }

    void removing_a_contact_shown_from_the_to_do_list_leaves_the_other_rows()
    {
        Group_Fixture f;
        f.Add_Outbox(f.bob, "Call Out", 3);
        f.Start();
        // Bob is not in the listed group.
        f.Group("WHERE Contacts.Product = ?", {QString("Car")});
        f.w->TabStrip1_Click(2);
        Click_Row(f.C<List_View>("ListToDo"), f.C<List_View>("ListToDo")->Row_At(1));
        QCOMPARE(f.Shown_ID(), QString::number(f.bob));
        Click_Tool(f.w, "ToolContactActions", "Delete");
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE ID = ?", {f.bob}), 0);
        QCOMPARE(f.Listed(), QStringList({"Abbot"}));
        QCOMPARE(f.C<List_View>("ListToDo")->Row_Count(), 0);
        QVERIFY(f.Welcome_Shown());
    }

    void the_broadcast_button_opens_the_schedule_frame_for_the_group()
    {
        Group_Fixture f;
        f.Start();
        f.Show(f.bob);
        Click_Tool(f.w, "Toolbar1", "APB");
        auto* frame = f.C<QGroupBox>("frameSchedule");
        QCOMPARE(f.w->Current_Detail_Frame(), frame);
        QCOMPARE(frame->title(), QString("Schedule APB for the Selected Group"));
        QCOMPARE(f.C<QLineEdit>("txtFrameSchedule_Type")->text(), QString("APB"));
        QVERIFY(f.C<QWidget>("lstScheduleTemplates")->isVisibleTo(f.w));
        QVERIFY(!Frame(f.w, "frameContact_Top_Screen")->isVisibleTo(f.w));
        QCOMPARE(f.C<QLineEdit>("txtFrameSchedule_Hour")->text(), f.s.clock.Now().toString("hh"));
        Click_Tool(f.w, "ToolSchedule", "Cancel");
        QCOMPARE(f.Shown_ID(), QString::number(f.bob));
        QVERIFY(Frame(f.w, "frameContact_Top_Screen")->isVisibleTo(f.w));
    }

    void the_group_prints_its_contacts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("in_order");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("details") << "PrintDetails" << QStringList{"Contact Details", "Abbot", "Dunn"}
                                 << QStringList{"Brown", "Cole"};
        QTest::newRow("events") << "PrintEvents"
                                << QStringList{"Contacts with Events", "Ann Abbot &lt;ann@example.com&gt;",
                                               "Second call", "First call", "Dee Dunn", "No events."}
                                << QStringList{"Brown", "Bob's call"};
    }
    void the_group_prints_its_contacts()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, in_order);
        QFETCH(QStringList, absent);
        Group_Fixture f;
        f.s.Db().Execute("UPDATE Contacts SET Product = 'Car' WHERE ID = ?", {f.dee});
        f.Add_Event(f.ann, "Outgoing Call", f.s.clock.Now().addDays(-2), "u1", "First call");
        f.Add_Event(f.ann, "Outgoing Call", f.s.clock.Now().addDays(-1), "u2", "Second call");
        f.Add_Event(f.bob, "Outgoing Call", f.s.clock.Now().addDays(-1), "u3", "Bob's call");
        Captured_Reports reports;
        f.Start();
        f.Group("WHERE Contacts.Product = ?", {QString("Car")});
        Click_Tool_Menu(f.w, "Toolbar1", "PrintGroup", key);
        QCOMPARE(reports.reports.size(), 1);
        const QString html = reports.Last_Html();
        qsizetype at = 0;
        for (const QString& text : in_order) {
            const qsizetype found = html.indexOf(text, at);
            QVERIFY2(found >= 0, qPrintable(text));
            at = found + text.size();
        }
        for (const QString& text : absent)
            QVERIFY2(!html.contains(text), qPrintable(text));
    }
};

QTEST_MAIN(tst_contact_groups)
#include "tst_contact_groups.moc"
