// Working the main window by keyboard: the tab order of the contact editor,
// arrow keys in the lists, the captions' Alt letters, where focus lands and
// the delete dialogs' button.

#include <QDir>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QMenuBar>
#include <QtTest>

#include "Data_Access.h"
#include "Find_Control.h"
#include "GlobalVariables.h"
#include "Main_Window_Test_Support.h"
#include "Test_Support.h"
#include "frmContactSystem.h"
#include "dialogs/frmDelete_Title.h"

class tst_keyboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void start_up_gives_the_keyboard_to_the_contact_list()
    {
        Started_Window s;
        s.Db().Execute("INSERT INTO Contacts (FirstName, LastName) VALUES ('Ann', 'Abbot')");
        frmContactSystem& w = s.Start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Control<List_View>(&w, "ListContacts")));
    }

    void a_closed_dialog_gives_the_keyboard_back()
    {
        Started_Window s;
        s.Db().Execute("INSERT INTO Contacts (FirstName, LastName) VALUES ('Ann', 'Abbot')");
        frmContactSystem& w = s.Start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Control<QLineEdit>(&w, "txtCity")->setFocus();
        QDialog dialog(&w);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // As when no window manager hands the focus back: nothing is active.
        dialog.hide();
        QApplication::setActiveWindow(nullptr);
        QTRY_VERIFY(w.isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Control<QLineEdit>(&w, "txtCity")));
    }

    // Tab walks the editor row by row, as the boxes stand.
    void tab_order_follows_the_layout()
    {
        Started_Window s;
        s.Db().Execute("INSERT INTO Contacts (FirstName, LastName) VALUES ('Ann', 'Abbot')");
        frmContactSystem& w = s.Start();
        const auto named = [&w](const char* name) { return Control<QWidget>(&w, name); };
        const QList<QWidget*> expected = {
            named("txtfirstname"), named("txtMiddle_Initials"), named("txtlastname"),
            named("Capitalize_First_And_Last"), named("txtContact_ID"), named("txtEmail"), named("lstProduct"),
            named("txtContactReceivedDate"), named("txtHomephone"), named("Combo_Title"),
            named("Show_Product_Details"), named("txtWorkphone"), named("Combo_Relationship"), named("txtCellphone"),
            named("txtBest_Time_To_Contact"), named("txtReferred_By"), named("ListEvents"), named("txtAddress"),
            named("txtCity"), named("txtState"), named("txtZipcode"), named("txtCompany"), named("txtB_Month"),
            named("txtB_Day"), named("txtB_Year"), named("txtBought_Month"), named("txtBoughtDay"),
            named("txtBought_Year"), named("txtOptions"), named("txtSource"), named("txtWorkflowBeginDate"),
            named("Change_Workflow_Start_Date"), named("chkTimeline_Enabled"), named("chkWorkflowCompleted"),
            named("txtNotes"), named("TabStrip1"), named("ListContacts")};
        QList<QWidget*> chain;
        QWidget* const first = named("txtfirstname");
        QWidget* at = first;
        do {
            // An editable combo box's own line edit is part of the box.
            QWidget* owner = qobject_cast<QComboBox*>(at->parentWidget()) ? at->parentWidget() : at;
            if (at->isVisible() && at->isEnabled() && (at->focusPolicy() & Qt::TabFocus)
                && (chain.isEmpty() || chain.last() != owner))
                chain << owner;
            at = at->nextInFocusChain();
        } while (at != first);
        QStringList names, wanted;
        for (QWidget* widget : chain)
            names << widget->objectName();
        for (QWidget* widget : expected)
            wanted << widget->objectName();
        QCOMPARE(names, wanted);
    }

    void alt_letters_of_the_captions_data()
    {
        QTest::addColumn<char>("letter");
        QTest::addColumn<QString>("box");
        QTest::newRow("name") << 'n' << "txtfirstname";
        QTest::newRow("email") << 'e' << "txtEmail";
        QTest::newRow("product") << 'u' << "lstProduct";
        QTest::newRow("home") << 'o' << "txtHomephone";
        QTest::newRow("title") << 't' << "Combo_Title";
        QTest::newRow("work") << 'w' << "txtWorkphone";
        QTest::newRow("relation") << 'l' << "Combo_Relationship";
        QTest::newRow("cell") << 'c' << "txtCellphone";
        QTest::newRow("best time") << 'b' << "txtBest_Time_To_Contact";
        QTest::newRow("referred by") << 'y' << "txtReferred_By";
        QTest::newRow("address") << 'd' << "txtAddress";
        QTest::newRow("city") << 'i' << "txtCity";
        QTest::newRow("zip") << 'z' << "txtZipcode";
        QTest::newRow("company") << 'm' << "txtCompany";
        QTest::newRow("notes") << 's' << "txtNotes";
    }

    void alt_letters_of_the_captions()
    {
        QFETCH(char, letter);
        QFETCH(QString, box);
        Started_Window s;
        s.Db().Execute("INSERT INTO Contacts (FirstName, LastName) VALUES ('Ann', 'Abbot')");
        frmContactSystem& w = s.Start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(Qt::Key_A + (letter - 'a')), Qt::AltModifier);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        if (qobject_cast<QComboBox*>(focus->parentWidget()))
            focus = focus->parentWidget();
        QCOMPARE(focus->objectName(), box);

        // Each letter belongs to one caption of the window and to no menu.
        int owners = 0;
        const QString mnemonic = QString('&') + QChar(letter);
        for (QLabel* label : w.findChildren<QLabel*>())
            if (label->isVisible() && label->text().contains(mnemonic, Qt::CaseInsensitive))
                ++owners;
        for (QAction* menu : w.menuBar()->actions())
            if (menu->text().contains(mnemonic, Qt::CaseInsensitive))
                ++owners;
        QCOMPARE(owners, 1);
    }

    void a_page_opened_by_mouse_puts_the_keyboard_in_its_list()
    {
        Started_Window s;
        s.Db().Execute("INSERT INTO Contacts (FirstName, LastName) VALUES ('Ann', 'Abbot')");
        frmContactSystem& w = s.Start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Control<QLineEdit>(&w, "txtCity")->setFocus();
        QTabBar* tabs = Control<QTabBar>(&w, "TabStrip1");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
        QCOMPARE(w.Current_Tab_Number(), 4);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Control<List_View>(&w, "ListOutbox")));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Control<List_View>(&w, "ListContacts")));

        // Arrows on the strip walk the pages and leave the keyboard there.
        tabs->setFocus();
        QTest::keyClick(tabs, Qt::Key_Right);
        QCOMPARE(w.Current_Tab_Number(), 2);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Control<QTabBar>(&w, "TabStrip1")));
    }

    void a_box_that_cannot_be_stored_gets_the_keyboard_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("birthday day") << "txtB_Day" << "4th";
        QTest::newRow("birthday year") << "txtB_Year" << "MCM";
        QTest::newRow("workflow start") << "txtWorkflowBeginDate" << "soon";
    }

    void a_box_that_cannot_be_stored_gets_the_keyboard()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        Started_Window s;
        s.Db().Execute("INSERT INTO Contacts (FirstName, LastName) VALUES ('Ann', 'Abbot')");
        s.Db().Execute("INSERT INTO Contacts (FirstName, LastName) VALUES ('Bob', 'Baker')");
        frmContactSystem& w = s.Start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* edit = Control<QLineEdit>(&w, qPrintable(box));
        edit->setText(text);
        Control<List_View>(&w, "ListContacts")->setFocus();
        QTest::keyClick(Control<List_View>(&w, "ListContacts"), Qt::Key_Down);
        QCOMPARE(s.dialogs.messages.size(), 1);
        QCOMPARE(Control<QLineEdit>(&w, "txtfirstname")->text(), QString("Ann"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));
        QCOMPARE(edit->selectedText(), text);
    }

    void the_delete_button_is_disabled_when_nothing_is_left()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("INSERT INTO Titles (Contact_Title) VALUES ('Dr')");
        frmDelete_Title dialog;
        auto* button = Control<QPushButton>(&dialog, "Delete_Title");
        QVERIFY(button->isEnabled());
        button->click();
        QCOMPARE(dialogs.Texts(), QStringList({"Do you want to Delete Dr?"}));
        QCOMPARE(Control<QListWidget>(&dialog, "lstTitles")->count(), 0);
        QVERIFY(!button->isEnabled());
        frmDelete_Title again;
        QVERIFY(!Control<QPushButton>(&again, "Delete_Title")->isEnabled());
    }

    void arrow_keys_show_the_next_contact_and_save_the_edit()
    {
        Started_Window s;
        s.Db().Execute("INSERT INTO Contacts (FirstName, LastName, City) VALUES ('Ann', 'Abbot', 'Old')");
        s.Db().Execute("INSERT INTO Contacts (FirstName, LastName) VALUES ('Bob', 'Baker')");
        frmContactSystem& w = s.Start();
        QCOMPARE(Control<QLineEdit>(&w, "txtfirstname")->text(), QString("Ann"));
        Control<QLineEdit>(&w, "txtCity")->selectAll();
        QTest::keyClicks(Control<QLineEdit>(&w, "txtCity"), "Paris");
        Control<List_View>(&w, "ListContacts")->setFocus();
        QTest::keyClick(Control<List_View>(&w, "ListContacts"), Qt::Key_Down);
        QCOMPARE(Control<QLineEdit>(&w, "txtfirstname")->text(), QString("Bob"));
        QCOMPARE(s.Db().Scalar("SELECT City FROM Contacts WHERE FirstName = 'Ann'").toString(), QString("Paris"));
        QTest::keyClick(Control<List_View>(&w, "ListContacts"), Qt::Key_Up);
        QCOMPARE(Control<QLineEdit>(&w, "txtfirstname")->text(), QString("Ann"));
        QCOMPARE(Control<QLineEdit>(&w, "txtCity")->text(), QString("Paris"));
    }
};

QTEST_MAIN(tst_keyboard)
#include "tst_keyboard.moc"
