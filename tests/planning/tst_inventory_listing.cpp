// The inventory listing: records of a product added, paged, edited and
// deleted one by one, also when two are alike in every field.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "Settings.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Test_Support.h"
#include "frmInventoryListing.h"

namespace G = GlobalVariables;

namespace {

QLineEdit* Box(QWidget& window, const QString& field)
{
    auto* box = window.findChild<QLineEdit*>("txt" + field);
    if (!box)
        qFatal("no box %s", qPrintable(field));
    return box;
}

QCheckBox* Check(QWidget& window, const QString& field)
{
    auto* box = window.findChild<QCheckBox*>("chk" + field);
    if (!box)
        qFatal("no check box %s", qPrintable(field));
    return box;
}

void Type_Into(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

QString Position(const frmInventoryListing& window)
{
    return window.StatusBar1_Panel1->text() + " / " + window.StatusBar1_Panel2->text();
}

// ID, product and the fields the tests type, each record a line.
QStringList Stored(const Test_Program_Folder& folder)
{
    QStringList rows;
    for (const QSqlRecord& row : folder.Db().Select(
             "SELECT ID, Product_ID, Year, Make, Color_Exterior, Tow_Package, \"4_Wheel_Drive\" "
             "FROM Inventory ORDER BY ID")) {
        QStringList cells;
        for (int i = 0; i < row.count(); ++i)
            cells << row.value(i).toString();
        rows << cells.join('|');
    }
    return rows;
}

struct Two_Products {
    Test_Program_Folder folder;
    Scripted_Dialogs dialogs;
    qint64 jeep = 0;
    qint64 ford = 0;
    Two_Products()
    {
        // Listed by name: Ford first.
        jeep = folder.Db().Insert("INSERT INTO Products (Product) VALUES ('Jeep')");
        ford = folder.Db().Insert("INSERT INTO Products (Product) VALUES ('Ford')");
    }
};

} // namespace

class tst_inventory_listing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void no_products()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        frmInventoryListing window;
        window.show();
        QCOMPARE(window.windowTitle(), QString("Inventory Listing"));
        QCOMPARE(Position(window), QString("0 / No records"));
        for (QWidget* button : {static_cast<QWidget*>(window.Add_Item), static_cast<QWidget*>(window.Delete_Item),
                                static_cast<QWidget*>(window.Next), static_cast<QWidget*>(window.Previous)})
            QVERIFY(!button->isEnabled());
        window.Add_Item_Click();
        window.Delete_Item_Click();
        window.Next_Click();
        QVERIFY(Stored(folder).isEmpty());
        QVERIFY(!Box(window, "VIN")->isEnabled());
        QVERIFY(dialogs.messages.isEmpty());
    }

    // Two new records typed alike are two records: each edited and deleted by itself.
    void identical_records_one_by_one()
    {
        Two_Products fixture;
        const QString ford = QString::number(fixture.ford);
        frmInventoryListing window;
        window.show();
        // Active, so its PgUp and PgDown shortcuts page.
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.lstProducts->currentText(), QString("Ford"));
        QCOMPARE(Position(window), QString("0 / No records"));
        QVERIFY(window.Add_Item->isEnabled());

        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(window.Add_Item, Qt::LeftButton);
            QCOMPARE(window.focusWidget(), Box(window, "Year"));
            QTest::keyClicks(Box(window, "Year"), "2023");
            QTest::keyClicks(Box(window, "Make"), "Ford");
            Check(window, "4_Wheel_Drive")->click();
        }
        QCOMPARE(Position(window), QString("2 / 2"));
        QCOMPARE(Stored(fixture.folder), (QStringList{"1|" + ford + "|2023|Ford||0|1", "2|" + ford + "||||0|0"}));

        // Paging saves the shown record; Next on the last one stays.
        QTest::mouseClick(window.Next, Qt::LeftButton);
        QCOMPARE(Position(window), QString("2 / 2"));
        QCOMPARE(window.Shown_Record_ID(), qint64(2));
        QTest::mouseClick(window.Previous, Qt::LeftButton);
        QCOMPARE(Position(window), QString("2 / 1"));
        QTest::mouseClick(window.Previous, Qt::LeftButton);
        QCOMPARE(Position(window), QString("2 / 1"));
        QCOMPARE(Stored(fixture.folder), (QStringList{"1|" + ford + "|2023|Ford||0|1", "2|" + ford + "|2023|Ford||0|1"}));

        // The first of the two alike is edited; the second keeps its values.
        QCOMPARE(Box(window, "Make")->text(), QString("Ford"));
        Type_Into(Box(window, "Color_Exterior"), "Red");
        Check(window, "Tow_Package")->click();
        // A button's shortcut clicks it a moment later.
        QTest::keyClick(Box(window, "Color_Exterior"), Qt::Key_PageDown);
        QTRY_COMPARE(Position(window), QString("2 / 2"));
        QCOMPARE(Box(window, "Color_Exterior")->text(), QString(""));
        QCOMPARE(Stored(fixture.folder), (QStringList{"1|" + ford + "|2023|Ford|Red|1|1", "2|" + ford + "|2023|Ford||0|1"}));

        // Back to two alike, then the first one deleted: the other is shown.
        QTest::keyClick(Box(window, "Color_Exterior"), Qt::Key_PageUp);
        QTRY_COMPARE(Position(window), QString("2 / 1"));
        Type_Into(Box(window, "Color_Exterior"), "");
        Check(window, "Tow_Package")->click();
        window.Save_Shown_Record();
        QCOMPARE(Stored(fixture.folder)[0].section('|', 1), Stored(fixture.folder)[1].section('|', 1));
        QTest::mouseClick(window.Delete_Item, Qt::LeftButton);
        QVERIFY(fixture.dialogs.messages.isEmpty());   // deletes are not confirmed
        QCOMPARE(Stored(fixture.folder), QStringList{"2|" + ford + "|2023|Ford||0|1"});
        QCOMPARE(Position(window), QString("1 / 1"));
        QCOMPARE(window.Shown_Record_ID(), qint64(2));

        QTest::mouseClick(window.Delete_Item, Qt::LeftButton);
        QVERIFY(Stored(fixture.folder).isEmpty());
        QCOMPARE(Position(window), QString("0 / No records"));
        QVERIFY(!window.Delete_Item->isEnabled());
        QVERIFY(!Box(window, "Year")->isEnabled());
    }

    void deleting_moves_to_the_previous_record()
    {
        Two_Products fixture;
        for (const char* year : {"2001", "2002", "2003"})
            fixture.folder.Db().Execute("INSERT INTO Inventory (Product_ID, Year) VALUES (?, ?)",
                                        {fixture.ford, year});
        frmInventoryListing window;
        window.show();
        QCOMPARE(Position(window), QString("3 / 1"));
        window.Next_Click();
        window.Next_Click();
        window.Delete_Item_Click();
        QCOMPARE(Position(window), QString("2 / 2"));
        QCOMPARE(Box(window, "Year")->text(), QString("2002"));
        window.Previous_Click();
        window.Delete_Item_Click();
        QCOMPARE(Position(window), QString("1 / 1"));
        QCOMPARE(Box(window, "Year")->text(), QString("2002"));
    }

    void delete_confirmation_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("Yes") << int(vbYes) << true;
        QTest::newRow("No") << int(vbNo) << false;
    }

    void delete_confirmation()
    {
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        Two_Products fixture;
        Update_Settings([](Program_Settings& s) { s.Confirm_Email_Deletes = true; });
        fixture.folder.Db().Execute("INSERT INTO Inventory (Product_ID, VIN) VALUES (?, 'V1')", {fixture.ford});
        frmInventoryListing window;
        fixture.dialogs.answers = {answer};
        window.Delete_Item_Click();
        QCOMPARE(fixture.dialogs.messages.size(), 1);
        QCOMPARE(fixture.dialogs.messages[0].text, QString("Do you want to delete this product?"));
        QCOMPARE(fixture.dialogs.messages[0].title, QString("Delete Confirmation"));
        QCOMPARE(fixture.dialogs.messages[0].style & 0x0F, int(vbYesNo));
        QCOMPARE(Stored(fixture.folder).isEmpty(), deleted);
        QCOMPARE(Position(window), QString(deleted ? "0 / No records" : "1 / 1"));
    }

    // Each product shows its own records; changing the product, Close and the
    // close box all keep the shown record's edits.
    void edits_kept_on_product_change_and_close()
    {
        Two_Products fixture;
        Database db = fixture.folder.Db();
        db.Execute("INSERT INTO Inventory (Product_ID, Make) VALUES (?, 'Ford A')", {fixture.ford});
        db.Execute("INSERT INTO Inventory (Product_ID, Make) VALUES (?, 'Jeep A')", {fixture.jeep});
        db.Execute("INSERT INTO Inventory (Product_ID, Make) VALUES (?, 'Jeep B')", {fixture.jeep});
        const auto make_of = [&](int id) {
            return db.Scalar("SELECT Make FROM Inventory WHERE ID = ?", {id}).toString();
        };
        {
            frmInventoryListing window;
            window.show();
            QCOMPARE(Box(window, "Make")->text(), QString("Ford A"));
            Type_Into(Box(window, "Make"), "Ford A1");
            window.lstProducts->setFocus();
            QTest::keyClick(window.lstProducts, Qt::Key_Down);   // to "Jeep"
            QCOMPARE(window.lstProducts->currentText(), QString("Jeep"));
            QCOMPARE(make_of(1), QString("Ford A1"));
            QCOMPARE(Position(window), QString("2 / 1"));
            QCOMPARE(Box(window, "Make")->text(), QString("Jeep A"));
            window.Next_Click();
            Type_Into(Box(window, "Make"), "Jeep B1");
            QTest::mouseClick(window.Close_Inventory, Qt::LeftButton);
            QVERIFY(!window.isVisible());
            QCOMPARE(make_of(3), QString("Jeep B1"));
        }
        {
            frmInventoryListing window;
            window.show();
            Type_Into(Box(window, "Make"), "Ford A2");
            window.close();
            QCOMPARE(make_of(1), QString("Ford A2"));
        }
        QVERIFY(fixture.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(tst_inventory_listing)
#include "tst_inventory_listing.moc"
