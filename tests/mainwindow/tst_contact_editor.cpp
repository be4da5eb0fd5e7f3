// The contact list and the contact editor: filling the list for a group,
// showing a contact, editing and saving it, the title and relationship lists,
// column sorting and leaving with pending edits.

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>

#include "Data_Access.h"
#include "Find_Control.h"
#include "GlobalVariables.h"
#include "Main_Window_Test_Support.h"
#include "Test_Support.h"
#include "frmContactSystem.h"
#include "dialogs/Lookup_Delete_Dialog.h"
#include "dialogs/frmDelete_Relationship.h"
#include "dialogs/frmDelete_Title.h"

namespace G = GlobalVariables;

namespace {

qint64 Insert_Contact(Database db, const QVariantMap& fields)
{
    QStringList names, marks;
    QVariantList values;
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it) {
        names << it.key();
        marks << "?";
        values << it.value();
    }
    return db.Insert("INSERT INTO Contacts (" + names.join(", ") + ") VALUES (" + marks.join(", ") + ")", values);
}

QVariant Stored(Database db, qint64 id, const QString& field)
{
    return db.Scalar("SELECT " + field + " FROM Contacts WHERE ID = ?", {id});
}


QTreeWidgetItem* Row_Of(frmContactSystem& w, qint64 id)
{
    return Control<List_View>(&w, "ListContacts")->Find_Key("key" + QString::number(id));
}

} // namespace

class tst_contact_editor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void empty_table_lists_nothing_and_says_so()
    {
        Started_Window s;
        frmContactSystem& w = s.Start();
        QCOMPARE(s.dialogs.Texts(), QStringList({"There are no contacts for this selection"}));
        QCOMPARE(Control<List_View>(&w, "ListContacts")->topLevelItemCount(), 0);
        QCOMPARE(Control<QLabel>(&w, "StatusBar1_Panel2")->text(), QString("0"));
        QVERIFY(Control<QLineEdit>(&w, "txtContact_ID")->text().isEmpty());
        QVERIFY(Control<QFrame>(&w, "frameWelcomeMessage")->isVisible());
        QVERIFY(!Control<QFrame>(&w, "frameContact_Top_Screen")->isVisible());

        // Typing with no contact shown, then leaving, stores nothing and blocks nothing.
        QTest::keyClicks(Control<QLineEdit>(&w, "txtCity"), "Paris");
        QVERIFY(w.Contact_On_Display->Modified());
        QVERIFY(w.Contact_On_Display->Save_Contact_Record());
        QVERIFY(!w.Contact_On_Display->Modified());
        QCOMPARE(s.dialogs.messages.size(), 1);
        QCOMPARE(s.Db().Scalar("SELECT COUNT(*) FROM Contacts").toInt(), 0);
        w.close();
        QVERIFY(!w.isVisible());
    }

    void group_values_are_bound_not_pasted()
    {
        Started_Window s;
        const qint64 tricky = Insert_Contact(s.Db(), {{"FirstName", "Pat"}, {"LastName", "O'Brien \"Jr\""}});
        Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Lee"}});
        frmContactSystem& w = s.Start();
        QCOMPARE(Control<List_View>(&w, "ListContacts")->topLevelItemCount(), 2);

        w.Contact_On_Display->Setup_The_Contacts_Tree({"WHERE Contacts.LastName = ?", {"O'Brien \"Jr\""}});
        QCOMPARE(Control<List_View>(&w, "ListContacts")->topLevelItemCount(), 1);
        QVERIFY(Row_Of(w, tricky));
        QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(tricky));

        // The empty group: message, "0", and the shown contact stays in the boxes.
        w.Contact_On_Display->Setup_The_Contacts_Tree({"WHERE Contacts.LastName = ?", {"x' OR '1'='1"}});
        QVERIFY(s.dialogs.Shown("There are no contacts for this selection"));
        QCOMPARE(Control<List_View>(&w, "ListContacts")->topLevelItemCount(), 0);
        QCOMPARE(Control<QLabel>(&w, "StatusBar1_Panel2")->text(), QString("0"));
        QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(tricky));

        // A group whose query fails, read on the list's own thread: said once, nothing listed.
        s.dialogs.messages.clear();
        w.Contact_On_Display->Setup_The_Contacts_Tree({"WHERE Contacts.No_Such_Column = ?", {1}});
        QCOMPARE(s.dialogs.messages.size(), 1);
        QVERIFY2(s.dialogs.messages.first().text.startsWith("Error on open temp record. msg: "),
                 qPrintable(s.dialogs.messages.first().text));
        QVERIFY(s.dialogs.messages.first().text.contains("No_Such_Column"));
        QCOMPARE(Control<List_View>(&w, "ListContacts")->topLevelItemCount(), 0);
        // The list is whole again with the next fill.
        w.Contact_On_Display->Setup_The_Contacts_Tree({});
        QCOMPARE(Control<List_View>(&w, "ListContacts")->topLevelItemCount(), 2);

        // Filled inside a transaction of the window's own: what it wrote is listed.
        {
            Database db = Open_Database();
            Database_Transaction transaction(db);
            const qint64 added = Insert_Contact(db, {{"FirstName", "Cy"}, {"LastName", "Dunn"}});
            w.Contact_On_Display->Setup_The_Contacts_Tree({});
            QCOMPARE(Control<List_View>(&w, "ListContacts")->topLevelItemCount(), 3);
            QVERIFY(Row_Of(w, added));
            transaction.Commit();
        }
    }

    void a_contact_joined_to_several_events_is_listed_once()
    {
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Lee"}});
        for (int i = 0; i < 3; ++i)
            s.Db().Execute("INSERT INTO Eventhistory (ContactID, Event_Type, Event_Unique_ID, EventRead) "
                           "VALUES (?, 'Email In', ?, 1)", {id, QString::number(100 + i)});
        frmContactSystem& w = s.Start();
        w.Contact_On_Display->Setup_The_Contacts_Tree({"INNER JOIN Eventhistory ON Eventhistory.ContactID = Contacts.ID "
                                   "WHERE Eventhistory.Event_Type = ?", {"Email In"}});
        QCOMPARE(Control<List_View>(&w, "ListContacts")->topLevelItemCount(), 1);
        QCOMPARE(Control<QLabel>(&w, "StatusBar1_Panel2")->text(), QString("3"));
        QCOMPARE(Control<List_View>(&w, "ListEvents")->topLevelItemCount(), 3);
    }

    void showing_a_contact_fills_every_box()
    {
        Started_Window s;
        const qint64 id = Insert_Contact(
            s.Db(), {{"FirstName", "Ann"}, {"MiddleInitial", "Q"}, {"LastName", "Abbot"},
                     {"Best_Time_To_Contact", "Mornings"}, {"Stop_Timeline_Action", 1},
                     {"Referred_By", "Bob"}, {"Email", "ann@example.com"}, {"Workphone", "111"},
                     {"Homephone", "222"}, {"Cellphone", "333"}, {"Notes", "Line one\nLine two"},
                     {"Product", "Sedan"}, {"Contact_Title", "Dr"}, {"Contact_Relationship", "Friend"},
                     {"Address", "1 Main St"}, {"City", "Springfield"}, {"State", "IL"},
                     {"Zipcode", "62701"}, {"Company", "Acme"}, {"B_Day", 9}, {"B_Month", 3},
                     {"B_Year", 1980}, {"Import_Source", "Manual Entry"},
                     {"Date_Product_Bought", "2025-07-04 00:00:00"},
                     {"Finished_Timeline_Execution", 1}, {"Pending_Events_To_Read", 1},
                     {"Contact_Received_Date", "2026-11-29 17:45:00"},
                     {"Workflow_Start_Date", "2026-11-30 08:05:09"}, {"Options", "Sunroof"},
                     {"New_Contact", 1}});
        const qint64 other = Insert_Contact(s.Db(), {{"FirstName", "Zed"}, {"LastName", "Zimmer"},
                                                     {"New_Contact", 1}});
        frmContactSystem& w = s.Start();

        const QList<QPair<const char*, QString>> expected = {
            {"txtContact_ID", QString::number(id)}, {"txtfirstname", "Ann"}, {"txtMiddle_Initials", "Q"},
            {"txtlastname", "Abbot"}, {"txtBest_Time_To_Contact", "Mornings"}, {"txtReferred_By", "Bob"},
            {"txtEmail", "ann@example.com"}, {"txtWorkphone", "111"}, {"txtHomephone", "222"},
            {"txtCellphone", "333"}, {"txtAddress", "1 Main St"}, {"txtCity", "Springfield"},
            {"txtState", "IL"}, {"txtZipcode", "62701"}, {"txtCompany", "Acme"}, {"txtB_Day", "9"},
            {"txtB_Month", "3"}, {"txtB_Year", "1980"}, {"txtSource", "Manual Entry"},
            {"txtBought_Month", "7"}, {"txtBoughtDay", "4"}, {"txtBought_Year", "2025"},
            {"txtPendingEvents", "True"}, {"txtContactReceivedDate", "11/29/26"},
            {"txtWorkflowBeginDate", "11/30/2026 08:05:09"}, {"txtOptions", "Sunroof"}};
        for (const auto& [box, text] : expected)
            QCOMPARE(Control<QLineEdit>(&w, box)->text(), text);
        QCOMPARE(Control<QPlainTextEdit>(&w, "txtNotes")->toPlainText(), QString("Line one\nLine two"));
        QCOMPARE(Control<QComboBox>(&w, "lstProduct")->currentText(), QString("Sedan"));
        QCOMPARE(Control<QComboBox>(&w, "Combo_Title")->currentText(), QString("Dr"));
        QCOMPARE(Control<QComboBox>(&w, "Combo_Relationship")->currentText(), QString("Friend"));
        QVERIFY(Control<QCheckBox>(&w, "chkTimeline_Enabled")->isChecked());
        QVERIFY(Control<QCheckBox>(&w, "chkWorkflowCompleted")->isChecked());
        QVERIFY(!w.Contact_On_Display->Modified());
        QVERIFY(Control<QFrame>(&w, "frameContact_Top_Screen")->isVisible());
        QCOMPARE(w.Current_Detail_Frame(), static_cast<QWidget*>(Control<QGroupBox>(&w, "frameContactDetails")));
        QVERIFY(Control<QGroupBox>(&w, "frameContactDetails")->isVisible());
        QVERIFY(!Control<QFrame>(&w, "frameWelcomeMessage")->isVisible());

        // Shown once, no longer new; the other contact is still new.
        QCOMPARE(Stored(s.Db(), id, "New_Contact").toInt(), 0);
        QCOMPARE(Stored(s.Db(), other, "New_Contact").toInt(), 1);
        QTreeWidgetItem* first = Row_Of(w, id);
        QCOMPARE(first->foreground(1).color(), QColor(255, 0, 0));
        QVERIFY(List_View::Is_Bold(first, 1));
        QCOMPARE(first->text(3), QString("ann@example.com"));

        // Another contact: the first row goes back to the ordinary colour, the
        // next one is red, and a null received date shows an empty box.
        Click_Row(Control<List_View>(&w, "ListContacts"), Row_Of(w, other));
        QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(other));
        QCOMPARE(first->data(1, Qt::ForegroundRole), QVariant());
        QCOMPARE(Row_Of(w, other)->foreground(2).color(), QColor(255, 0, 0));
        QVERIFY(Control<QLineEdit>(&w, "txtContactReceivedDate")->text().isEmpty());
        QVERIFY(Control<QLineEdit>(&w, "txtBought_Month")->text().isEmpty());
        QVERIFY(Control<QLineEdit>(&w, "txtWorkflowBeginDate")->text().isEmpty());
        QCOMPARE(Stored(s.Db(), other, "New_Contact").toInt(), 0);
    }

    void an_edit_is_stored_when_another_contact_is_chosen()
    {
        Started_Window s;
        const qint64 ann = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"},
                                                   {"Workflow_Start_Date", "2026-11-30 08:05:09"},
                                                   {"Date_Product_Bought", "2025-07-04 00:00:00"},
                                                   {"City", "Old"}});
        const qint64 bob = Insert_Contact(s.Db(), {{"FirstName", "Bob"}, {"LastName", "Baker"}});
        frmContactSystem& w = s.Start();
        QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(ann));

        Control<QLineEdit>(&w, "txtCity")->clear();
        QTest::keyClicks(Control<QLineEdit>(&w, "txtCity"), "Paris");
        Control<QLineEdit>(&w, "txtfirstname")->selectAll();
        QTest::keyClicks(Control<QLineEdit>(&w, "txtfirstname"), "Anne");
        Control<QLineEdit>(&w, "txtEmail")->selectAll();
        QTest::keyClicks(Control<QLineEdit>(&w, "txtEmail"), "anne@example.com");
        QVERIFY(w.Contact_On_Display->Modified());
        // The name and address follow the typing in the list at once, before any save.
        QCOMPARE(Row_Of(w, ann)->text(1), QString("Anne"));
        QCOMPARE(Row_Of(w, ann)->text(3), QString("anne@example.com"));
        QCOMPARE(Stored(s.Db(), ann, "City").toString(), QString("Old"));

        Click_Row(Control<List_View>(&w, "ListContacts"), Row_Of(w, bob));
        QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(bob));
        QCOMPARE(Stored(s.Db(), ann, "City").toString(), QString("Paris"));
        QCOMPARE(Stored(s.Db(), ann, "FirstName").toString(), QString("Anne"));
        // The dates in the boxes went back exactly as they were.
        QCOMPARE(Stored(s.Db(), ann, "Workflow_Start_Date").toString(), QString("2026-11-30 08:05:09"));
        QCOMPARE(Stored(s.Db(), ann, "Date_Product_Bought").toString(), QString("2025-07-04 00:00:00"));
        QVERIFY(s.dialogs.messages.isEmpty());

        // Showing and leaving without typing stores nothing.
        s.Db().Execute("UPDATE Contacts SET City = 'Elsewhere' WHERE ID = ?", {bob});
        Click_Row(Control<List_View>(&w, "ListContacts"), Row_Of(w, ann));
        QCOMPARE(Stored(s.Db(), bob, "City").toString(), QString("Elsewhere"));
    }

    void long_and_odd_field_values_survive_an_edit_of_another_field()
    {
        Started_Window s;
        const QString long_text = QString(40000, QChar('o')) + "end";
        const QString with_nul = QString("before") + QChar(0) + "after";
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"},
                                                  {"Options", long_text}, {"Address", with_nul},
                                                  {"Company", QString(10000, QChar('c'))},
                                                  {"Notes", "line one\r\nline two"}});
        frmContactSystem& w = s.Start();
        QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(id));
        QTest::keyClicks(Control<QLineEdit>(&w, "txtState"), "NY");
        QVERIFY(w.Contact_On_Display->Save_Contact_Record());
        QCOMPARE(Stored(s.Db(), id, "State").toString(), QString("NY"));
        QCOMPARE(Stored(s.Db(), id, "Options").toString(), long_text);
        QCOMPARE(Stored(s.Db(), id, "Address").toString(), with_nul);
        QCOMPARE(Stored(s.Db(), id, "Company").toString().size(), 10000);
        QVERIFY(Stored(s.Db(), id, "Notes").toString().contains("line two"));
    }

    void showing_the_same_contact_again_keeps_its_edit()
    {
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"}});
        frmContactSystem& w = s.Start();
        QTest::keyClicks(Control<QLineEdit>(&w, "txtState"), "NY");
        QCOMPARE(w.Contact_On_Display->Show_Current_Contact_Record(id), 1);
        QCOMPARE(Control<QLineEdit>(&w, "txtState")->text(), QString("NY"));
        QCOMPARE(Stored(s.Db(), id, "State").toString(), QString("NY"));
    }

    void a_click_on_a_contact_without_events_clears_its_pending_mark()
    {
        Started_Window s;
        const qint64 quiet = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"},
                                                     {"Pending_Events_To_Read", 1}});
        const qint64 busy = Insert_Contact(s.Db(), {{"FirstName", "Bob"}, {"LastName", "Baker"},
                                                    {"Pending_Events_To_Read", 1}});
        s.Db().Execute("INSERT INTO Eventhistory (ContactID, Event_Type, Event_Unique_ID, EventRead) "
                       "VALUES (?, 'Email In', '77', 0)", {busy});
        frmContactSystem& w = s.Start();
        QVERIFY(List_View::Is_Bold(Row_Of(w, quiet), 1));
        Click_Row(Control<List_View>(&w, "ListContacts"), Row_Of(w, busy));
        QCOMPARE(Control<List_View>(&w, "ListEvents")->topLevelItemCount(), 1);
        QVERIFY(List_View::Is_Bold(Control<List_View>(&w, "ListEvents")->topLevelItem(0), 1));
        QCOMPARE(Stored(s.Db(), busy, "Pending_Events_To_Read").toInt(), 1);
        QVERIFY(List_View::Is_Bold(Row_Of(w, busy), 1));

        Click_Row(Control<List_View>(&w, "ListContacts"), Row_Of(w, quiet));
        QCOMPARE(Stored(s.Db(), quiet, "Pending_Events_To_Read").toInt(), 0);
        QCOMPARE(Control<QLineEdit>(&w, "txtPendingEvents")->text(), QString("False"));
        QVERIFY(!List_View::Is_Bold(Row_Of(w, quiet), 1));
        QVERIFY(!List_View::Is_Bold(Row_Of(w, quiet), 2));
    }

    void opening_events_clears_the_pending_mark_with_the_last_unread_one()
    {
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"},
                                                  {"Pending_Events_To_Read", 1}});
        const qint64 older = s.Db().Insert(
            "INSERT INTO Eventhistory (ContactID, EventDate, Event_Type, EventSubject, EventMessage, "
            "Event_Unique_ID, EventRead) VALUES (?, '2026-12-01 09:00:00', 'Email In', 'First', 'Hello', '11', 0)",
            {id});
        s.Db().Execute("INSERT INTO Eventhistory (ContactID, EventDate, Event_Type, EventSubject, EventMessage, "
                       "Event_Unique_ID, EventRead) VALUES (?, '2026-12-02 10:30:00', 'Email In', 'Second', "
                       "'Again', '12', 0)",
                       {id});
        frmContactSystem& w = s.Start();
        QCOMPARE(Control<List_View>(&w, "ListEvents")->topLevelItemCount(), 2);
        QTreeWidgetItem* first = Control<List_View>(&w, "ListEvents")->Find_Key("evt11-:::-" + QString::number(id));
        QTreeWidgetItem* second = Control<List_View>(&w, "ListEvents")->Find_Key("evt12-:::-" + QString::number(id));
        QVERIFY(first && second && List_View::Is_Bold(first, 1) && List_View::Is_Bold(second, 3));

        // One of two unread events: the reader shows it, the contact stays marked.
        Click_Row(Control<List_View>(&w, "ListEvents"), first);
        QCOMPARE(w.Current_Detail_Frame(), static_cast<QWidget*>(Control<QGroupBox>(&w, "frameEventView")));
        QVERIFY(Control<QGroupBox>(&w, "frameEventView")->isVisible());
        QVERIFY(!Control<QGroupBox>(&w, "frameContactDetails")->isVisible());
        QCOMPARE(Control<QLineEdit>(&w, "txtFrameEvent_Date")->text(), QString("12/01/26 09:00:00"));
        QCOMPARE(Control<QLineEdit>(&w, "txtFrameEvent_Type")->text(), QString("Email In"));
        QCOMPARE(Control<QLineEdit>(&w, "txtFrameEvent_Subject")->text(), QString("First"));
        QCOMPARE(Control<QTextEdit>(&w, "txtFrameEvent_Message")->toPlainText(), QString("Hello"));
        QCOMPARE(Control<QLineEdit>(&w, "txtEventID")->text(), QString::number(older));
        QVERIFY(!List_View::Is_Bold(first, 1));
        QCOMPARE(s.Db().Scalar("SELECT EventRead FROM Eventhistory WHERE ID = ?", {older}).toInt(), 1);
        QVERIFY(List_View::Is_Bold(Row_Of(w, id), 1));
        QCOMPARE(Stored(s.Db(), id, "Pending_Events_To_Read").toInt(), 1);
        QVERIFY(!Control<QComboBox>(&w, "ListEventAttachments")->isVisible());

        // The last unread one clears it.
        Click_Row(Control<List_View>(&w, "ListEvents"), second);
        QVERIFY(!List_View::Is_Bold(Row_Of(w, id), 1) && !List_View::Is_Bold(Row_Of(w, id), 2));
        QCOMPARE(Stored(s.Db(), id, "Pending_Events_To_Read").toInt(), 0);
        QVERIFY(s.dialogs.messages.isEmpty());

        // An event gone meanwhile is said.
        s.Db().Execute("DELETE FROM Eventhistory WHERE ID = ?", {older});
        Click_Row(Control<List_View>(&w, "ListEvents"), first);
        QVERIFY(s.dialogs.Shown("Error in Display_Event_History. EOF Encountered!"));
    }

    void an_event_attachment_is_saved_where_the_user_says()
    {
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"}});
        const qint64 event = s.Db().Insert(
            "INSERT INTO Eventhistory (ContactID, EventDate, Event_Type, Event_Unique_ID, EventRead, "
            "Has_Attachments) VALUES (?, '2026-12-01 09:00:00', 'Email In', '21', 1, 1)",
            {id});
        const QString stored = s.folder.Path("Attachments/price list.pdf");
        QDir().mkpath(QFileInfo(stored).absolutePath());
        QFile file(stored);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the prices");
        file.close();
        s.Db().Execute("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, "
                       "Attachment_Final_Name) VALUES (?, 'E', ?, 'price list.pdf')",
                       {event, stored});
        frmContactSystem& w = s.Start();
        Click_Row(Control<List_View>(&w, "ListEvents"), Control<List_View>(&w, "ListEvents")->topLevelItem(0));
        QVERIFY(Control<QComboBox>(&w, "ListEventAttachments")->isVisible());
        QCOMPARE(Control<QComboBox>(&w, "ListEventAttachments")->currentText(), QString("price list.pdf"));

        // Cancelled: nothing written. Then saved over an older file of that name.
        const QString target = s.folder.Path("copy.pdf");
        s.dialogs.file_answers << "" << target;
        QTest::mouseDClick(Control<QComboBox>(&w, "ListEventAttachments"), Qt::LeftButton);
        QVERIFY(!QFileInfo::exists(target));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QAction* clip = Control<Key_Toolbar>(&w, "ToolEventAttachmentActions")->Button(QString());
        QAction* save = Control<Key_Toolbar>(&w, "ToolEventAttachmentActions")->Menu_Entry(clip, "Save");
        QVERIFY(save && save->isEnabled());
        save->trigger();
        QCOMPARE(s.dialogs.file_titles, QStringList({"Save Attachment", "Save Attachment"}));
        QFile copy(target);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("the prices"));
        QVERIFY(s.dialogs.messages.isEmpty());
    }

    void dates_written_back_data()
    {
        QTest::addColumn<QString>("workflow_box");
        QTest::addColumn<QStringList>("bought_boxes");  // month, day, year
        QTest::addColumn<QString>("workflow_stored");
        QTest::addColumn<QString>("bought_stored");
        QTest::addColumn<bool>("saved");
        QTest::newRow("new dates") << "01/02/2027 03:04:05" << QStringList{"12", "31", "2026"}
                                   << "2027-01-02 03:04:05" << "2026-12-31 00:00:00" << true;
        QTest::newRow("empty boxes keep the stored dates")
            << "" << QStringList{"", "", ""} << "2026-11-30 08:05:09" << "2025-07-04 00:00:00" << true;
        QTest::newRow("no purchase date from letters or a short year")
            << "11/30/2026 08:05:09" << QStringList{"x", "4", "25"} << "2026-11-30 08:05:09"
            << "2025-07-04 00:00:00" << true;
        QTest::newRow("day first is no date") << "11/30/2026 08:05:09" << QStringList{"31", "12", "2026"}
                                              << "2026-11-30 08:05:09" << "2025-07-04 00:00:00" << true;
        QTest::newRow("an unreadable workflow date is refused")
            << "30/11/26 8:05" << QStringList{"7", "4", "2025"} << "2026-11-30 08:05:09"
            << "2025-07-04 00:00:00" << false;
    }

    void dates_written_back()
    {
        QFETCH(QString, workflow_box);
        QFETCH(QStringList, bought_boxes);
        QFETCH(QString, workflow_stored);
        QFETCH(QString, bought_stored);
        QFETCH(bool, saved);
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"},
                                                  {"Workflow_Start_Date", "2026-11-30 08:05:09"},
                                                  {"Date_Product_Bought", "2025-07-04 00:00:00"}});
        const qint64 other = Insert_Contact(s.Db(), {{"FirstName", "Bob"}, {"LastName", "Baker"}});
        frmContactSystem& w = s.Start();
        Control<QLineEdit>(&w, "txtWorkflowBeginDate")->setText(workflow_box);
        Control<QLineEdit>(&w, "txtBought_Month")->setText(bought_boxes[0]);
        Control<QLineEdit>(&w, "txtBoughtDay")->setText(bought_boxes[1]);
        Control<QLineEdit>(&w, "txtBought_Year")->setText(bought_boxes[2]);
        QVERIFY(w.Contact_On_Display->Modified());
        Click_Row(Control<List_View>(&w, "ListContacts"), Row_Of(w, other));
        QCOMPARE(Stored(s.Db(), id, "Workflow_Start_Date").toString(), workflow_stored);
        QCOMPARE(Stored(s.Db(), id, "Date_Product_Bought").toString(), bought_stored);
        if (saved) {
            QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(other));
            QVERIFY(s.dialogs.messages.isEmpty());
        } else {
            // The edit stays on screen with its contact, still marked changed.
            QVERIFY(s.dialogs.Shown("The workflow start date"));
            QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(id));
            QCOMPARE(Control<QLineEdit>(&w, "txtWorkflowBeginDate")->text(), workflow_box);
            QVERIFY(w.Contact_On_Display->Modified());
            QCOMPARE(Control<List_View>(&w, "ListContacts")->currentItem(), Row_Of(w, id));
        }
    }

    void birthday_boxes_data()
    {
        QTest::addColumn<QStringList>("boxes");     // month, day, year
        QTest::addColumn<QString>("refused_box");   // empty: stored
        QTest::addColumn<QStringList>("stored");    // month, day, year; "null" for none
        QTest::newRow("a whole birthday") << QStringList{"12", "31", "1980"} << "" << QStringList{"12", "31", "1980"};
        QTest::newRow("first of January") << QStringList{"1", "1", "2001"} << "" << QStringList{"1", "1", "2001"};
        QTest::newRow("zeros leave parts out") << QStringList{"0", "0", "0"} << "" << QStringList{"0", "0", "0"};
        QTest::newRow("day and month without a year") << QStringList{"7", "4", "0"} << "" << QStringList{"7", "4", "0"};
        QTest::newRow("empty boxes") << QStringList{"", "", ""} << "" << QStringList{"null", "null", "null"};
        QTest::newRow("month 13") << QStringList{"13", "1", "1980"} << "txtB_Month" << QStringList{"3", "9", "1975"};
        QTest::newRow("day 32") << QStringList{"3", "32", "1980"} << "txtB_Day" << QStringList{"3", "9", "1975"};
        QTest::newRow("a two-digit year") << QStringList{"3", "9", "19"} << "txtB_Year" << QStringList{"3", "9", "1975"};
        QTest::newRow("a five-digit year") << QStringList{"3", "9", "19800"} << "txtB_Year"
                                           << QStringList{"3", "9", "1975"};
        QTest::newRow("a negative day") << QStringList{"3", "-9", "1980"} << "txtB_Day" << QStringList{"3", "9", "1975"};
        QTest::newRow("letters") << QStringList{"March", "9", "1980"} << "txtB_Month" << QStringList{"3", "9", "1975"};
    }

    void birthday_boxes()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, refused_box);
        QFETCH(QStringList, stored);
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"}, {"B_Month", 3},
                                                  {"B_Day", 9}, {"B_Year", 1975}});
        const qint64 other = Insert_Contact(s.Db(), {{"FirstName", "Bob"}, {"LastName", "Baker"}});
        frmContactSystem& w = s.Start();
        const QStringList names = {"txtB_Month", "txtB_Day", "txtB_Year"};
        for (int i = 0; i < 3; ++i)
            Control<QLineEdit>(&w, names[i].toLatin1())->setText(boxes[i]);
        Click_Row(Control<List_View>(&w, "ListContacts"), Row_Of(w, other));
        const QStringList columns = {"B_Month", "B_Day", "B_Year"};
        for (int i = 0; i < 3; ++i)
            {
            const QVariant value = Stored(s.Db(), id, columns[i]);
            QCOMPARE(value.isNull() ? QString("null") : value.toString(), stored[i]);
        }
        if (refused_box.isEmpty()) {
            QVERIFY(s.dialogs.messages.isEmpty());
            QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(other));
            return;
        }
        QCOMPARE(s.dialogs.Texts(), QStringList({"The birthday takes a month from 1 to 12, a day from 1 to 31 and a "
                                                 "year of four digits; 0 or an empty box leaves that part out."}));
        // The contact stays, with the refused text selected for retyping.
        QCOMPARE(Control<QLineEdit>(&w, "txtContact_ID")->text(), QString::number(id));
        auto* refused = Control<QLineEdit>(&w, refused_box.toLatin1());
        QCOMPARE(refused->selectedText(), refused->text());
        QVERIFY(w.Contact_On_Display->Modified());
    }

    void now_button_and_stop_workflow_are_saved()
    {
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"}});
        Insert_Contact(s.Db(), {{"FirstName", "Bob"}, {"LastName", "Baker"}});
        frmContactSystem& w = s.Start();
        s.clock.Set(QDateTime(QDate(2027, 3, 4), QTime(5, 6, 7)));
        Control<QPushButton>(&w, "Change_Workflow_Start_Date")->click();
        QCOMPARE(Control<QLineEdit>(&w, "txtWorkflowBeginDate")->text(), QString("03/04/2027 05:06:07"));
        QVERIFY(w.Contact_On_Display->Modified());
        Control<QCheckBox>(&w, "chkTimeline_Enabled")->click();
        w.Contact_On_Display->Setup_The_Contacts_Tree({});
        QCOMPARE(Stored(s.Db(), id, "Workflow_Start_Date").toString(), QString("2027-03-04 05:06:07"));
        QCOMPARE(Stored(s.Db(), id, "Stop_Timeline_Action").toInt(), 1);
    }

    void capitalise_names()
    {
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "jOHN"}, {"MiddleInitial", "q"},
                                                  {"LastName", "SMITH"}});
        frmContactSystem& w = s.Start();
        Control<QPushButton>(&w, "Capitalize_First_And_Last")->click();
        QCOMPARE(Control<QLineEdit>(&w, "txtfirstname")->text(), QString("John"));
        QCOMPARE(Control<QLineEdit>(&w, "txtMiddle_Initials")->text(), QString("Q"));
        QCOMPARE(Control<QLineEdit>(&w, "txtlastname")->text(), QString("Smith"));
        QVERIFY(w.Contact_On_Display->Modified());
        QCOMPARE(Row_Of(w, id)->text(1), QString("John"));
        QCOMPARE(Row_Of(w, id)->text(2), QString("Smith"));
    }

    void leaving_by_tab_exit_or_close_box_saves_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("tab") << "tab";
        QTest::newRow("exit") << "exit";
        QTest::newRow("close box") << "close";
    }

    void leaving_by_tab_exit_or_close_box_saves()
    {
        QFETCH(QString, way);
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"}});
        frmContactSystem& w = s.Start();
        QTest::keyClicks(Control<QPlainTextEdit>(&w, "txtNotes"), "Call back Friday");
        G::Message_Center_Running = true;
        if (way == "tab") {
            Control<QTabBar>(&w, "TabStrip1")->setCurrentIndex(1);
            QCOMPARE(w.Current_Tab_Number(), 2);
            QVERIFY(Control<QGroupBox>(&w, "frameToDo")->isVisible());
            QVERIFY(Control<QFrame>(&w, "frameContact_Top_Screen")->isVisible());
        } else if (way == "exit") {
            Control<QAction>(&w, "Exit_Main_Routine")->trigger();
            QVERIFY(!w.isVisible());
            QVERIFY(!G::Message_Center_Running);
        } else {
            w.close();
            QVERIFY(!w.isVisible());
            QVERIFY(!G::Message_Center_Running);
        }
        QCOMPARE(Stored(s.Db(), id, "Notes").toString(), QString("Call back Friday"));
        QVERIFY(!w.Contact_On_Display->Modified());
    }

    void an_edit_that_cannot_be_stored_keeps_the_window_open()
    {
        Started_Window s;
        Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"}});
        frmContactSystem& w = s.Start();
        Control<QLineEdit>(&w, "txtB_Month")->setText("March");
        G::Message_Center_Running = true;
        w.close();
        QVERIFY(w.isVisible());
        QVERIFY(s.dialogs.Shown("The birthday takes a month from 1 to 12"));
        // The program goes on, and so does its sender.
        QVERIFY(G::Message_Center_Running);
        Control<QAction>(&w, "Exit_Main_Routine")->trigger();
        QVERIFY(w.isVisible());
        QVERIFY(G::Message_Center_Running);
        Control<QLineEdit>(&w, "txtB_Month")->setText("3");
        w.close();
        QVERIFY(!w.isVisible());
        QVERIFY(!G::Message_Center_Running);
    }

    void tabs_switch_the_work_areas()
    {
        Started_Window s;
        Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"}});
        frmContactSystem& w = s.Start();
        const QSize size = w.size();
        const auto shown = [&w](const char* name) { return Control<QWidget>(&w, name)->isVisible(); };
        QVERIFY(!G::ToDo_List_Loaded);
        w.TabStrip1_Click(2);
        QVERIFY(G::ToDo_List_Loaded);
        QVERIFY(shown("FrameContacts") && shown("frameToDo"));
        QVERIFY(!shown("frameContactsCommands"));
        w.TabStrip1_Click(3);
        QVERIFY(G::Unmatched_List_Loaded);
        QVERIFY(shown("frameUnmatched") && !shown("FrameContacts"));
        w.TabStrip1_Click(4);
        QVERIFY(G::Outbox_List_Loaded);
        QVERIFY(shown("frameOutbox") && !shown("frameUnmatched"));
        w.TabStrip1_Click(1);
        QVERIFY(shown("FrameContacts") && shown("frameContactsCommands"));
        QVERIFY(!shown("frameOutbox") && !shown("frameToDo"));
        QCOMPARE(w.Current_Tab_Number(), 1);
        // Never two pages at once, so the window keeps its size.
        QCOMPARE(w.size(), size);
    }

    void column_sort_toggles()
    {
        Started_Window s;
        Insert_Contact(s.Db(), {{"FirstName", "Cy"}, {"LastName", "Baker"}});
        Insert_Contact(s.Db(), {{"FirstName", "Al"}, {"LastName", "Cole"}});
        Insert_Contact(s.Db(), {{"FirstName", "Bo"}, {"LastName", "Adams"}});
        frmContactSystem& w = s.Start();
        QCOMPARE(Column_Texts(Control<List_View>(&w, "ListContacts"), 2), QStringList({"Adams", "Baker", "Cole"}));

        Click_Header(Control<List_View>(&w, "ListContacts"), 1);   // a new column keeps the order in use: ascending
        QCOMPARE(Column_Texts(Control<List_View>(&w, "ListContacts"), 1), QStringList({"Al", "Bo", "Cy"}));
        Click_Header(Control<List_View>(&w, "ListContacts"), 1);
        QCOMPARE(Column_Texts(Control<List_View>(&w, "ListContacts"), 1), QStringList({"Cy", "Bo", "Al"}));
        Click_Header(Control<List_View>(&w, "ListContacts"), 1);
        QCOMPARE(Column_Texts(Control<List_View>(&w, "ListContacts"), 1), QStringList({"Al", "Bo", "Cy"}));
        Click_Header(Control<List_View>(&w, "ListContacts"), 1);
        Click_Header(Control<List_View>(&w, "ListContacts"), 2);   // descending carries over to the next column
        QCOMPARE(Column_Texts(Control<List_View>(&w, "ListContacts"), 2), QStringList({"Cole", "Baker", "Adams"}));

        // Rows added while sorted take their place.
        Control<Contacts_Page>(&w, "frameContactsCommands")->Add_Contact_List_Row(99, "Di", "Bell", "", "", "");
        QCOMPARE(Column_Texts(Control<List_View>(&w, "ListContacts"), 2),
                 QStringList({"Cole", "Bell", "Baker", "Adams"}));
    }

    void a_column_click_saves_the_pending_edit()
    {
        Started_Window s;
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"}});
        frmContactSystem& w = s.Start();
        QTest::keyClicks(Control<QLineEdit>(&w, "txtCompany"), "Acme");
        Click_Header(Control<List_View>(&w, "ListContacts"), 3);
        QCOMPARE(Stored(s.Db(), id, "Company").toString(), QString("Acme"));
    }

    void picking_a_product_changes_its_column_and_is_saved()
    {
        Started_Window s;
        s.Db().Execute("INSERT INTO Products (Product) VALUES ('Sedan'), ('Truck')");
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"},
                                                  {"Email", "ann@example.com"}, {"Product", "Sedan"}});
        const qint64 other = Insert_Contact(s.Db(), {{"FirstName", "Bob"}, {"LastName", "Baker"}});
        frmContactSystem& w = s.Start();
        const int truck = Control<QComboBox>(&w, "lstProduct")->findText("Truck");
        Control<QComboBox>(&w, "lstProduct")->setCurrentIndex(truck);
        Q_EMIT Control<QComboBox>(&w, "lstProduct")->activated(truck);
        QVERIFY(w.Contact_On_Display->Modified());
        QCOMPARE(Row_Of(w, id)->text(4), QString("Truck"));
        QCOMPARE(Row_Of(w, id)->text(3), QString("ann@example.com"));
        // Typing a title shows in its column too, without running a command.
        Control<QComboBox>(&w, "Combo_Title")->lineEdit()->selectAll();
        QTest::keyClicks(Control<QComboBox>(&w, "Combo_Title")->lineEdit(), "Dr");
        QCOMPARE(Row_Of(w, id)->text(6), QString("Dr"));
        QVERIFY(s.dialogs.input_prompts.isEmpty());
        Click_Row(Control<List_View>(&w, "ListContacts"), Row_Of(w, other));
        QCOMPARE(Stored(s.Db(), id, "Product").toString(), QString("Truck"));
        QCOMPARE(Stored(s.Db(), id, "Contact_Title").toString(), QString("Dr"));
    }

    void choice_lists_come_from_their_tables()
    {
        Started_Window s;
        s.Db().Execute("INSERT INTO Titles (Contact_Title) VALUES ('Mr'), (''), (NULL), ('Dr')");
        s.Db().Execute("INSERT INTO Products (Product) VALUES ('Truck'), ('Sedan')");
        Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"}});
        frmContactSystem& w = s.Start();
        QStringList titles, relationships, products;
        for (int i = 0; i < Control<QComboBox>(&w, "Combo_Title")->count(); ++i)
            titles << Control<QComboBox>(&w, "Combo_Title")->itemText(i);
        for (int i = 0; i < Control<QComboBox>(&w, "Combo_Relationship")->count(); ++i)
            relationships << Control<QComboBox>(&w, "Combo_Relationship")->itemText(i);
        for (int i = 0; i < Control<QComboBox>(&w, "lstProduct")->count(); ++i)
            products << Control<QComboBox>(&w, "lstProduct")->itemText(i);
        QCOMPARE(titles, QStringList({"Mr", "Dr", "* Add New Title", "* Delete Title"}));
        // An empty table still offers its commands, so a first value can be added.
        QCOMPARE(relationships, QStringList({"* Add New Relationship", "* Delete Relationship"}));
        QCOMPARE(products, QStringList({"Sedan", "Truck"}));
    }

    void add_title_and_relationship_data()
    {
        QTest::addColumn<bool>("relationship");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("rows_after");
        QTest::addColumn<QString>("box_after");
        QTest::addColumn<bool>("seeded");   // the tables hold Dr and Friend
        QTest::newRow("new title") << false << "Prof" << "" << 2 << "Prof" << true;
        QTest::newRow("title already there") << false << "Dr" << "That title already exists in the system!"
                                             << 1 << "Dr" << true;
        QTest::newRow("title in other letter case") << false << "dr"
                                                    << "That title already exists in the system!" << 1 << "Mrs" << true;
        QTest::newRow("title with a colon") << false << "Co:chair" << "" << 2 << "Co:chair" << true;
        QTest::newRow("title cancelled") << false << "" << "" << 1 << "Mrs" << true;
        QTest::newRow("new relationship") << true << "Cousin" << "" << 2 << "Cousin" << true;
        QTest::newRow("relationship already there")
            << true << "Friend" << "That relationship already exists in the system!" << 1 << "Friend" << true;
        QTest::newRow("relationship with a colon")
            << true << "Co:worker" << "The character : is not accepted in the name of a relationship." << 1
            << "Neighbour" << true;
        QTest::newRow("first title of an empty table") << false << "Prof" << "" << 1 << "Prof" << false;
        QTest::newRow("first relationship of an empty table") << true << "Cousin" << "" << 1 << "Cousin" << false;
    }

    void add_title_and_relationship()
    {
        QFETCH(bool, relationship);
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(int, rows_after);
        QFETCH(QString, box_after);
        QFETCH(bool, seeded);
        Started_Window s;
        if (seeded) {
            s.Db().Execute("INSERT INTO Titles (Contact_Title) VALUES ('Dr')");
            s.Db().Execute("INSERT INTO Relationships (Relation_Data) VALUES ('Friend')");
        }
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"},
                                                  {"Contact_Title", "Mrs"}, {"Contact_Relationship", "Neighbour"}});
        frmContactSystem& w = s.Start();
        QComboBox* box = Control<QComboBox>(&w, relationship ? "Combo_Relationship" : "Combo_Title");
        const QString command = relationship ? "* Add New Relationship" : "* Add New Title";
        if (!answer.isEmpty())
            s.dialogs.input_answers << answer;
        const int index = box->findText(command);
        QVERIFY(index >= 0);
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);

        if (relationship && answer.contains(':'))
            QVERIFY(s.dialogs.input_prompts.size() == 1);
        QCOMPARE(s.dialogs.input_prompts, QStringList({relationship ? "Enter the name of the Relationship to add:"
                                                                    : "Enter the name of the Title to add:"}));
        // Each box names what it adds.
        const QString title = relationship ? "New Relationship Addition" : "New Title Addition";
        QCOMPARE(s.dialogs.input_titles, QStringList({title}));
        if (message.isEmpty()) {
            QVERIFY(s.dialogs.messages.isEmpty());
        } else {
            QCOMPARE(s.dialogs.Texts(), QStringList({message}));
            QCOMPARE(s.dialogs.messages[0].title, title);
        }
        const QString table = relationship ? "Relationships" : "Titles";
        QCOMPARE(s.Db().Scalar("SELECT COUNT(*) FROM " + table).toInt(), rows_after);
        QCOMPARE(box->currentText(), box_after);
        QCOMPARE(Row_Of(w, id)->text(relationship ? 5 : 6), box_after);
        QVERIFY(w.Contact_On_Display->Modified());

        // The box's value is what the save stores.
        w.Contact_On_Display->Setup_The_Contacts_Tree({});
        QCOMPARE(Stored(s.Db(), id, relationship ? "Contact_Relationship" : "Contact_Title").toString(),
                 box_after);
    }

    void delete_title_and_relationship_data()
    {
        QTest::addColumn<bool>("relationship");
        QTest::addColumn<QString>("way_out");   // "OK" or "close"
        QTest::newRow("title, OK") << false << "OK";
        QTest::newRow("title, close box") << false << "close";
        QTest::newRow("relationship, OK") << true << "OK";
        QTest::newRow("relationship, close box") << true << "close";
    }

    void delete_title_and_relationship()
    {
        QFETCH(bool, relationship);
        QFETCH(QString, way_out);
        Started_Window s;
        const QString table = relationship ? "Relationships" : "Titles";
        const QString column = relationship ? "Relation_Data" : "Contact_Title";
        s.Db().Execute("INSERT INTO " + table + " (" + column + ") VALUES ('Keep'), ('Gone'), ('Gone'), ('')");
        const QString contact_column = relationship ? "Contact_Relationship" : "Contact_Title";
        const qint64 id = Insert_Contact(s.Db(), {{"FirstName", "Ann"}, {"LastName", "Abbot"},
                                                  {contact_column, "Gone"}});
        frmContactSystem& w = s.Start();
        QComboBox* box = Control<QComboBox>(&w, relationship ? "Combo_Relationship" : "Combo_Title");
        QStringList listed;
        bool modal = false;
        When_Modal_Shown([&](QWidget* shown) {
            auto* dialog = qobject_cast<Lookup_Delete_Dialog*>(shown);
            QVERIFY(dialog);
            modal = dialog->isModal();
            QVERIFY(relationship ? qobject_cast<frmDelete_Relationship*>(shown) != nullptr
                                 : qobject_cast<frmDelete_Title*>(shown) != nullptr);
            auto* list = Control<QListWidget>(dialog, relationship ? "lstRelationship" : "lstTitles");
            for (int i = 0; i < list->count(); ++i)
                listed << list->item(i)->text();
            list->setCurrentRow(1);
            QCOMPARE(Control<QPushButton>(dialog, "Delete_Title")->text(),
                     QString(relationship ? "Delete Relationship" : "Delete Title"));
            Control<QPushButton>(dialog, "Delete_Title")->click();
            // Both rows with that text go; only the selected entry leaves the list.
            QCOMPARE(list->count(), 2);
            if (way_out == "OK")
                Control<QPushButton>(dialog, "OK")->click();
            else
                dialog->close();
        });
        G::Delete_Dialog_Closed = false;
        const int index = box->findText(relationship ? "* Delete Relationship" : "* Delete Title");
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
        QVERIFY(modal);
        QVERIFY(G::Delete_Dialog_Closed);
        QCOMPARE(listed, QStringList({"Keep", "Gone", "Gone"}));
        QCOMPARE(s.dialogs.Texts(), QStringList({"Do you want to Delete Gone?"}));
        QCOMPARE(s.dialogs.messages[0].title, QString("Delete Title"));
        QCOMPARE(s.Db().Scalar("SELECT COUNT(*) FROM " + table + " WHERE " + column + " = 'Gone'").toInt(), 0);
        QStringList entries;
        for (int i = 0; i < box->count(); ++i)
            entries << box->itemText(i);
        QCOMPARE(entries.mid(0, 1), QStringList({"Keep"}));
        QCOMPARE(entries.size(), 3);
        // The contact keeps its value; the box shows it again.
        QCOMPARE(box->currentText(), QString("Gone"));
        QCOMPARE(Stored(s.Db(), id, contact_column).toString(), QString("Gone"));
    }

    void a_long_status_text_is_shown_whole_in_a_small_window()
    {
        Started_Window s;
        frmContactSystem& w = s.Start();
        w.resize(1024, 700);
        const QString text = "No incoming mail: There is no mail store at /home/someone/Maildir.";
        w.Set_Status_Panel(5, text);
        QLabel* panel = Control<QLabel>(&w, "StatusBar1_Panel5");
        QTRY_VERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(text),
                     qPrintable(QString::number(panel->width())));
        QCOMPARE(panel->toolTip(), text);
        QCOMPARE(w.width(), 1024);
    }

    void about_box_opens_and_closes()
    {
        Started_Window s;
        frmContactSystem& w = s.Start();
        QVERIFY(Control<QAction>(&w, "mnuAboutMirtelFurrowline")->isEnabled());
        Control<QAction>(&w, "mnuAboutMirtelFurrowline")->trigger();
        QWidget* about = w.findChild<QWidget*>("frmAbout_Furrowline");
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QString("About Brackenlead for Windows"));
        Control<QPushButton>(about, "ok_button")->click();
        QTRY_VERIFY(!w.findChild<QWidget*>("frmAbout_Furrowline"));
    }
};

QTEST_MAIN(tst_contact_editor)
#include "tst_contact_editor.moc"
