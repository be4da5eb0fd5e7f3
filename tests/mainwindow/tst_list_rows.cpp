// Item keys and the list-row routines, through the main window's lists.

#include <QtTest>

#include "Find_Control.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Main_Window_Lists.h"
#include "Test_Support.h"
#include "frmContactSystem.h"

class tst_list_rows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void key_parts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("tail");
        QTest::newRow("one-part key") << "key42" << "" << "";
        QTest::newRow("two parts") << "unmabc-:::-2026-12-10 09:08:07" << "abc" << "2026-12-10 09:08:07";
        QTest::newRow("ends with the separator") << "outann@example.com-:::-" << "ann@example.com" << "";
        QTest::newRow("nothing before the separator") << "tdo-:::-tail" << "" << "tail";
        QTest::newRow("second value holds the separator") << "evt1-:::-2-:::-3" << "1" << "2-:::-3";
        QTest::newRow("separator inside the prefix is not sought") << "k-:::-x" << "" << "";
        QTest::newRow("empty") << "" << "" << "";
    }

    void key_parts()
    {
        QFETCH(QString, key);
        QFETCH(QString, id);
        QFETCH(QString, tail);
        QCOMPARE(Get_Key_ID(key), id);
        QCOMPARE(Get_Key_Tail(key), tail);
    }

    void key_dates_read_back_to_the_second()
    {
        const QDateTime received(QDate(2026, 1, 2), QTime(0, 0, 0));
        const QString key = Make_Unmatched_Key(received, "<id@host>");
        QCOMPARE(Get_Key_ID(key), QString("<id@host>"));
        QCOMPARE(Key_Date(Get_Key_Tail(key)), received);
        const QDateTime sent(QDate(1999, 12, 31), QTime(23, 59, 58));
        QCOMPARE(Key_Date(Get_Key_Tail(Make_ToDo_Key(7, sent))), sent);
        QCOMPARE(Get_Key_ID(Make_ToDo_Key(7, sent)), QString("7"));
    }

    void to_do_rows_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("has_icon");
        QTest::newRow("call") << "Call Out" << true;
        QTest::newRow("to do") << "To Do" << true;
        QTest::newRow("letter case differs") << "call out" << false;
        QTest::newRow("other type") << "Email Out" << false;
    }

    void to_do_rows()
    {
        QFETCH(QString, type);
        QFETCH(bool, has_icon);
        Test_Program_Folder folder;
        frmContactSystem window;
        const QDateTime sent(QDate(2026, 12, 10), QTime(9, 0, 1));
        const QDateTime due(QDate(2026, 12, 11), QTime(14, 30, 0));
        QVERIFY(Add_ToDo_List_Item(7, sent, "Ann", QVariant(), type, "Call her", due));
        // Two entries of one contact posted in the same second share their key.
        QVERIFY(!Add_ToDo_List_Item(7, sent, "Ann", "Lee", type, "Again", due));
        QCOMPARE(Control<List_View>(&window, "ListToDo")->topLevelItemCount(), 1);
        QTreeWidgetItem* row = Control<List_View>(&window, "ListToDo")->topLevelItem(0);
        QCOMPARE(row->text(0), QString());
        QCOMPARE(row->text(1), QString("Ann"));
        QCOMPARE(row->text(2), QString());
        QCOMPARE(row->text(3), type);
        QCOMPARE(row->text(5), QString("12/11/26 14:30:00"));
        QCOMPARE(!row->icon(0).isNull(), has_icon);
        QCOMPARE(List_View::Item_Key(row), Make_ToDo_Key(7, sent));
    }

    void removal_gives_the_position()
    {
        Test_Program_Folder folder;
        frmContactSystem window;
        const QDateTime received(QDate(2026, 12, 10), QTime(8, 0, 0));
        for (int i = 0; i < 3; ++i)
            QVERIFY(Add_Unmatched_List_Item("Sender", "Subject", received.addSecs(i), QString("id%1").arg(i), i == 1));
        QCOMPARE(Control<List_View>(&window, "ListUnmatched")->topLevelItem(1)->text(3),
                 QString("12/10/2026 08:00:01"));
        QVERIFY(!Control<List_View>(&window, "ListUnmatched")->topLevelItem(1)->icon(0).isNull());
        QVERIFY(Control<List_View>(&window, "ListUnmatched")->topLevelItem(0)->icon(0).isNull());
        QCOMPARE(Remove_Unmatched_List_Item(received.addSecs(1), "id1"), 2);
        QCOMPARE(Remove_Unmatched_List_Item(received.addSecs(1), "id1"), 0);
        QCOMPARE(Main_Window().List_Row_Count(Main_List::Unmatched), 2);
        Main_Window().Select_List_Row(Main_List::Unmatched, 9);
        List_View* unmatched = Control<List_View>(&window, "ListUnmatched");
        QCOMPARE(unmatched->currentItem(), unmatched->topLevelItem(1));
    }

    void contact_rows_marks()
    {
        Test_Program_Folder folder;
        frmContactSystem window;
        QVERIFY(Add_Contact_List_Item(5, "Ann", "Lee", QVariant(), QVariant(), "Dr", true, true, "ann@example.com"));
        QVERIFY(!Add_Contact_List_Item(5, "Ann", "Lee", "", "", "", false, false, ""));
        QTreeWidgetItem* row = Control<List_View>(&window, "ListContacts")->topLevelItem(0);
        QCOMPARE(List_View::Item_Key(row), QString("key5"));
        QCOMPARE(row->text(3), QString("ann@example.com"));
        QCOMPARE(row->text(6), QString("Dr"));
        QVERIFY(List_View::Is_Bold(row, 1) && List_View::Is_Bold(row, 2) && !List_View::Is_Bold(row, 3));
        QCOMPARE(row->foreground(1).color(), window.palette().color(QPalette::Highlight));
    }

    void no_window_no_rows()
    {
        QVERIFY(!Main_Window_Registered());
        QVERIFY(Add_Contact_List_Item(5, "Ann", "Lee", "", "", "", false, false, ""));
        QCOMPARE(Remove_ToDo_List_Item(5, QDateTime::currentDateTime()), 0);
    }
};

QTEST_MAIN(tst_list_rows)
#include "tst_list_rows.moc"
