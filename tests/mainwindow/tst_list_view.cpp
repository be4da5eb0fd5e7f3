#include <QElapsedTimer>
#include <QHeaderView>
#include <QtTest>

#include "Key_Toolbar.h"
#include "List_View.h"

namespace {
List_Row Row(const QString& key, const QString& text)
{
    List_Row row;
    row.key = key;
    row.texts << text;
    return row;
}
} // namespace

class List_View_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keys_follow_rows_however_they_leave()
    {
        List_View list("ListContacts");
        list.Set_Columns({{"", 10}, {"First", 1000}});
        QVERIFY(list.Add_Row(Row("key1", "Ann")));
        QVERIFY(list.Add_Row(Row("key2", "Bob")));
        QVERIFY(!list.Add_Row(Row("key1", "Again")));
        QCOMPARE(list.Remove_Key("key1"), 1);
        QCOMPARE(list.Remove_Key("key1"), 0);
        QVERIFY(list.Add_Row(Row("key1", "Ann")));
        delete list.takeTopLevelItem(0);   // key2, taken by hand
        QVERIFY(!list.Find_Key("key2"));
        list.clear();
        QVERIFY(!list.Find_Key("key1"));
        QVERIFY(list.Add_Row(Row("key1", "Ann")));
        QCOMPARE(list.Row_Count(), 1);
    }

    void rows_added_to_a_sorted_list_take_their_place()
    {
        List_View list("ListContacts");
        list.Set_Columns({{"", 10}, {"First", 1000}});
        for (const char* name : {"Dan", "Ann", "Cid"})
            list.Add_Row(Row(QString("key") + name, name));
        list.Column_Sort(1);
        list.Add_Row(Row("keyBob", "Bob"));
        list.Add_Row(Row("keyEve", "Eve"));
        list.Add_Row(Row("keyAb", "Ab"));
        QStringList order;
        for (int i = 1; i <= list.Row_Count(); ++i)
            order << list.Row_At(i)->text(1);
        QCOMPARE(order, (QStringList{"Ab", "Ann", "Bob", "Cid", "Dan", "Eve"}));
        list.Column_Sort(1);   // descending now
        list.Add_Row(Row("keyCa", "Ca"));
        QCOMPARE(list.Row_At(4)->text(1), QString("Ca"));
    }

    void many_rows_at_once_as_one_by_one_data()
    {
        QTest::addColumn<QStringList>("before");   // "key:text" rows listed first
        QTest::addColumn<int>("sorts");            // clicks on column 1 before the rows come
        QTest::addColumn<QStringList>("added");
        const QStringList added{"k1:Lee", "k2:Ann", "k3:Lee", "k2:Again", "k4:Cid", "k5:Ann", "k0:Bob"};
        QTest::newRow("empty list") << QStringList{} << 0 << added;
        QTest::newRow("sorted, empty") << QStringList{} << 1 << added;
        QTest::newRow("sorted descending, empty") << QStringList{} << 2 << added;
        QTest::newRow("rows listed before") << QStringList{"k0:Zed", "k9:Bea"} << 0 << added;
        QTest::newRow("sorted, rows listed before") << QStringList{"k0:Zed", "k9:Bea", "k8:Lee"} << 1 << added;
        QTest::newRow("more rows listed before than added")
            << QStringList{"k0:Zed", "k9:Bea", "k8:Lee", "k7:Ann", "k6:Moe", "k5:Kim", "k1:Old", "k10:Al"} << 0
            << added;
    }

    void many_rows_at_once_as_one_by_one()
    {
        QFETCH(QStringList, before);
        QFETCH(int, sorts);
        QFETCH(QStringList, added);
        const auto row = [](const QString& spec, int i) {
            List_Row r = Row(spec.section(':', 0, 0), spec.section(':', 1));
            r.texts << QString::number(i);
            if (i % 2)
                r.bold = {1, 2};
            if (i % 3 == 0)
                r.highlighted = {1};
            if (i == 4)
                r.icon = "Clip";
            return r;
        };
        List_View one_by_one("ListContacts");
        List_View at_once("ListContacts");
        QList<List_Row> rows;
        for (int i = 0; i < added.size(); ++i)
            rows << row(added[i], i);
        for (List_View* list : {&one_by_one, &at_once}) {
            list->Set_Columns({{"", 10}, {"First", 1000}, {"No", 500}});
            for (const QString& spec : before)
                list->Add_Row(Row(spec.section(':', 0, 0), spec.section(':', 1)));
            for (int i = 0; i < sorts; ++i)
                list->Column_Sort(1);
        }
        int added_one_by_one = 0;
        for (const List_Row& r : rows)
            added_one_by_one += one_by_one.Add_Row(r) ? 1 : 0;
        QCOMPARE(at_once.Add_Rows(rows), added_one_by_one);
        const auto shown = [](const List_View& list) {
            QStringList lines;
            for (int i = 1; i <= list.Row_Count(); ++i) {
                const QTreeWidgetItem* item = list.Row_At(i);
                lines << QString("%1 %2 %3 bold:%4%5 colour:%6 icon:%7")
                             .arg(list.Key_At(i), item->text(1), item->text(2))
                             .arg(List_View::Is_Bold(item, 1))
                             .arg(List_View::Is_Bold(item, 2))
                             .arg(item->foreground(1).color().name())
                             .arg(!item->icon(0).isNull());
                if (list.Find_Key(list.Key_At(i)) != item)
                    lines << "key not found";
            }
            return lines;
        };
        QCOMPARE(shown(at_once), shown(one_by_one));
        QSet<QString> keys;
        for (const QString& spec : before + added)
            keys << spec.section(':', 0, 0);
        QCOMPARE(at_once.Row_Count(), int(keys.size()));
        QCOMPARE(at_once.Find_Key("k2")->text(1), QString("Ann"));
        // Bold is a real mark, not the default look.
        QVERIFY(List_View::Is_Bold(at_once.Find_Key("k2"), 1));
        QVERIFY(!List_View::Is_Bold(at_once.Find_Key("k3"), 1));
    }

    void a_list_of_many_thousand_rows_fills_quickly()
    {
        List_View list("ListContacts");
        list.Set_Columns({{"", 10}, {"First", 1000}});
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 20000; ++i)
            list.Add_Row(Row("key" + QString::number(i), "Name " + QString::number(i)));
        for (int i = 0; i < 20000; i += 2)
            list.Remove_Key("key" + QString::number(i));
        // A look-up that walks the list makes this take minutes, not seconds.
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(list.Row_Count(), 10000);
        QCOMPARE(list.Key_At(1), QString("key1"));
    }

    void a_row_marked_in_sight_is_drawn_again()
    {
        List_View list("ListContacts");
        list.Set_Columns({{"", 10}, {"First", 1000}});
        QList<List_Row> rows;
        for (int i = 0; i < 3000; ++i)
            rows << Row("key" + QString::number(i), "Name " + QString::number(i));
        list.Add_Rows(rows);
        list.resize(300, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTreeWidgetItem* shown = list.Find_Key("key2000");
        list.scrollToItem(shown, QAbstractItemView::PositionAtCenter);
        QTest::qWait(50);
        struct Paints : QObject {
            int count = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint)
                    ++count;
                return false;
            }
        } paints;
        list.viewport()->installEventFilter(&paints);
        // Out of sight: marked, nothing drawn.
        List_View::Set_Bold(list.Find_Key("key10"), 1, true);
        QTest::qWait(50);
        QCOMPARE(paints.count, 0);
        QVERIFY(List_View::Is_Bold(list.Find_Key("key10"), 1));
        // In sight: drawn again with its mark.
        List_View::Set_Bold(shown, 1, true);
        QTRY_VERIFY(paints.count > 0);
        QVERIFY(List_View::Is_Bold(shown, 1));
    }

    void columns_stay_in_sight_in_a_narrow_list_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("roomy") << 900;
        QTest::newRow("narrow") << 330;
        QTest::newRow("too narrow for the headers") << 120;
    }

    void columns_stay_in_sight_in_a_narrow_list()
    {
        QFETCH(int, width);
        List_View list("ListUnmatched");
        list.Set_Columns({{"", 200}, {"From", 1500}, {"Subject", 3000}, {"Received", 1500}});
        list.resize(width, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const int room = list.viewport()->width();
        QHeaderView* header = list.header();
        const int right = header->sectionPosition(3) + header->sectionSize(3);
        const QFontMetrics metrics(header->font());
        for (int i = 1; i < 4; ++i)
            QVERIFY2(header->sectionSize(i) >= metrics.horizontalAdvance(list.headerItem()->text(i)),
                     qPrintable(QString("column %1: %2").arg(i).arg(header->sectionSize(i))));
        if (width >= 330) {
            QVERIFY2(right <= room, qPrintable(QString("%1 > %2").arg(right).arg(room)));
            // Each keeps its share: Subject stays the widest.
            QVERIFY(header->sectionSize(2) > header->sectionSize(1));
        }

        // Widened again, the columns get their own widths back.
        list.resize(1200, 200);
        QTRY_COMPARE(header->sectionSize(1), 150);
        QCOMPARE(header->sectionSize(2), 300);
    }

    void widths_the_user_drags_are_the_users()
    {
        QWidget window;
        auto* list = new List_View("ListOutbox", &window);
        list->Set_Columns({{"", 200}, {"Name", 1500}, {"Address", 1500}, {"Subject", 3000}});
        auto* other = new QWidget(&window);
        other->setGeometry(720, 0, 50, 50);
        list->setGeometry(0, 0, 700, 200);
        window.resize(800, 220);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QHeaderView* header = list->header();
        QCOMPARE(header->sectionSize(1), 150);

        // A list resized while the mouse is down elsewhere (a tab being clicked)
        // still fits its columns.
        QTest::mousePress(other, Qt::LeftButton);
        list->resize(330, 200);
        QTRY_VERIFY(header->sectionSize(1) < 150);
        QTest::mouseRelease(other, Qt::LeftButton);

        // A border dragged on the header keeps the user's width.
        list->resize(700, 200);
        QTRY_COMPARE(header->sectionSize(1), 150);
        const int border = header->sectionPosition(2) - 1;
        const int y = header->height() / 2;
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(border, y));
        QTest::mouseMove(header->viewport(), QPoint(border + 40, y));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(border + 40, y));
        const int dragged = header->sectionSize(1);
        QVERIFY(dragged > 150);
        list->resize(330, 200);
        QTest::qWait(50);
        QCOMPARE(header->sectionSize(1), dragged);
    }

    void a_narrow_toolbar_drops_its_captions()
    {
        Key_Toolbar bar("ToolContactActions");
        for (const char* caption : {"Email", "eRecord", "Quote", "Schedule", "Print", "Delete", "Junk"})
            bar.Add_Button(caption, caption, caption, "Print");
        bar.resize(900, 40);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QTRY_COMPARE(bar.toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        bar.resize(200, 40);
        QTRY_COMPARE(bar.toolButtonStyle(), Qt::ToolButtonIconOnly);
        bar.resize(900, 40);
        QTRY_COMPARE(bar.toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    }
};

QTEST_MAIN(List_View_Test)
#include "tst_list_view.moc"
