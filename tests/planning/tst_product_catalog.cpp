// The product catalog grid: new products, renames that carry the name to the
// rows that use it, and the refusals of the catalog's key.

#include <QHeaderView>
#include <QtTest>

#include "Main_Window_Planning.h"
#include "Planning_Test_Support.h"
#include "pages/Product_Catalog_Model.h"

namespace {

const QString Rename_With_Steps =
    "There is a Workflow Series of events tied to this product name.\r\n"
    "To Change the name, you must first remove all the events and then change.\r\n"
    "Press Esc to cancel the change.";
const QString Delete_With_Steps = "You must remove this product's Workflow Procedures in order to delete it.";
const QString Delete_With_Inventory =
    "This product has vehicles in the inventory. Delete them in the Inventory Listing before you delete the product.";

struct Recording_Planning_Main_Window : Main_Window_Planning {
    Recording_Planning_Main_Window() { Register_Planning_Main_Window(this); }
    ~Recording_Planning_Main_Window() override { Register_Planning_Main_Window(nullptr); }
    void Products_Changed() override { ++changes; }
    void Product_Renamed(const QString& old_name, const QString& new_name) override
    {
        renames << old_name + ">" + new_name;
    }
    void Planning_Window_Closed() override { ++closed; }
    int changes = 0;
    int closed = 0;
    QStringList renames;
};

// The fixture's catalog: Accord with two steps, Civic used by a contact,
// an outbox row and an event, Fit used by nothing.
void Add_Catalog(Database& db)
{
    db.Execute("INSERT INTO Products (Product, Price) VALUES ('Accord', 27990), ('Civic', 21500), ('Fit', NULL)");
    db.Execute("INSERT INTO Events (Product, EventID) VALUES ('Accord', 1), ('Accord', 2)");
    const qint64 contact =
        db.Insert("INSERT INTO Contacts (FirstName, Email, Product) VALUES ('Ann', 'ann@example.com', 'Civic')");
    db.Execute("INSERT INTO Outbox (Out_Contact_ID, Product_Name, Out_Event_Type) VALUES (?, 'Civic', 'Email Out')",
               {contact});
    db.Execute("INSERT INTO Eventhistory (ContactID, Event_Product, Event_Type, Timeline_Step_Number, "
               "Event_Unique_ID) VALUES (?, 'Civic', 'Email Out', 1, '77')",
               {contact});
}

QTableView* Open_Catalog(Planning_Fixture& f)
{
    f.Open();
    Click_Tab(f.Tabs("TabStrip1"), 1);
    Click_Tab(f.Tabs("TabProducts"), 1);
    return f.Find<QTableView>("ProductGrid");
}

// Types into the current cell as the user does: the first key opens its editor.
void Type_In_Cell(QTableView* grid, const QString& text)
{
    grid->setFocus();
    QTest::keyClicks(grid, text.left(1));
    QTest::keyClicks(grid->focusWidget(), text.mid(1));
    QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
}

QStringList Product_Names(Database& db)
{
    QStringList names;
    for (const QSqlRecord& row : db.Select("SELECT Product FROM Products ORDER BY ID"))
        names << row.value(0).toString();
    return names;
}

QStringList Grid_Names(QTableView* grid)
{
    QStringList names;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        names << grid->model()->index(row, Product_Catalog_Model::Product).data().toString();
    return names;
}

} // namespace

class tst_product_catalog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_grid_shows_the_catalog_in_name_order();
    void renaming_data();
    void renaming();
    void deleting_data();
    void deleting();
    void a_refused_name_stays_in_its_cell_until_escape();
    void catalog_fields_are_checked();
    void a_rename_that_fails_part_way_changes_nothing();
};

void tst_product_catalog::the_grid_shows_the_catalog_in_name_order()
{
    Planning_Fixture f;
    Recording_Planning_Main_Window main_window;
    Add_Catalog(f.db);
    QTableView* grid = Open_Catalog(f);
    QVERIFY(grid->isColumnHidden(Product_Catalog_Model::ID));
    QCOMPARE(Grid_Names(grid), QStringList({"Accord", "Civic", "Fit", ""}));
    QCOMPARE(grid->model()->index(0, Product_Catalog_Model::Price).data().toString(), QString("27990.00"));
    QCOMPARE(grid->model()->headerData(3, Qt::Vertical).toString(), QString("*"));

    // A name typed in the new-product row adds the product at once.
    grid->setCurrentIndex(grid->model()->index(3, Product_Catalog_Model::Product));
    Type_In_Cell(grid, "Beetle");
    QTRY_COMPARE(Product_Names(f.db), QStringList({"Accord", "Civic", "Fit", "Beetle"}));
    QCOMPARE(Grid_Names(grid), QStringList({"Accord", "Civic", "Fit", "Beetle", ""}));
    QCOMPARE(main_window.changes, 1);
    // Its other fields follow, stored as typed.
    QVERIFY(grid->model()->setData(grid->model()->index(3, Product_Catalog_Model::Description), "Classic"));
    QCOMPARE(f.db.Scalar("SELECT Description FROM Products WHERE Product = 'Beetle'").toString(),
             QString("Classic"));

    // Shown again: in name order.
    Click_Tab(f.Tabs("TabProducts"), 0);
    Click_Tab(f.Tabs("TabProducts"), 1);
    QCOMPARE(Grid_Names(grid), QStringList({"Accord", "Beetle", "Civic", "Fit", ""}));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_product_catalog::renaming_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");      // empty: renamed
    QTest::addColumn<QStringList>("products");

    QTest::newRow("used by a contact, an outbox row and an event")
        << 1 << "Civic LX" << QString() << QStringList({"Accord", "Civic LX", "Fit"});
    QTest::newRow("letter case only") << 1 << "CIVIC" << QString() << QStringList({"Accord", "CIVIC", "Fit"});
    QTest::newRow("with workflow steps") << 0 << "Prelude" << Rename_With_Steps
                                         << QStringList({"Accord", "Civic", "Fit"});
    QTest::newRow("empty") << 2 << "" << "Enter a name for the product." << QStringList({"Accord", "Civic", "Fit"});
    QTest::newRow("blanks") << 2 << "   " << "Enter a name for the product."
                            << QStringList({"Accord", "Civic", "Fit"});
    QTest::newRow("another product's name") << 2 << "civic" << "There is already a product named civic."
                                            << QStringList({"Accord", "Civic", "Fit"});
    QTest::newRow("a quote in the name") << 2 << "Fit \"Sport\"" << QString()
                                         << QStringList({"Accord", "Civic", "Fit \"Sport\""});
    QTest::newRow("an apostrophe, used by a contact") << 1 << "Civic O'Hara's" << QString()
                                                      << QStringList({"Accord", "Civic O'Hara's", "Fit"});
}

void tst_product_catalog::renaming()
{
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QStringList, products);
    Planning_Fixture f;
    Recording_Planning_Main_Window main_window;
    Add_Catalog(f.db);
    QTableView* grid = Open_Catalog(f);
    QAbstractItemModel* model = grid->model();
    const QString old_name = model->index(row, Product_Catalog_Model::Product).data().toString();

    QCOMPARE(model->setData(model->index(row, Product_Catalog_Model::Product), name), message.isEmpty());
    QCOMPARE(static_cast<Product_Catalog_Model*>(model)->Refusal(), message);
    QCOMPARE(Product_Names(f.db), products);
    QCOMPARE(model->index(row, Product_Catalog_Model::Product).data().toString(),
             message.isEmpty() ? name : old_name);
    if (!message.isEmpty()) {
        QCOMPARE(main_window.changes, 0);
        QCOMPARE(f.db.Scalar("SELECT Product FROM Contacts").toString(), QString("Civic"));
        return;
    }
    QCOMPARE(main_window.renames, QStringList({old_name + ">" + name}));
    QCOMPARE(main_window.changes, 1);
    // What used the old name uses the new one: the contact stays in its workflow.
    if (old_name == "Civic") {
        QCOMPARE(f.db.Scalar("SELECT Product FROM Contacts").toString(), name);
        QCOMPARE(f.db.Scalar("SELECT Product_Name FROM Outbox").toString(), name);
        QCOMPARE(f.db.Scalar("SELECT Event_Product FROM Eventhistory").toString(), name);
    }
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_product_catalog::deleting_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("products");
    QTest::addColumn<bool>("vehicle");

    const QString question = "Are you sure you want to delete this Product?";
    QTest::newRow("unused") << 2 << int(vbOK) << QStringList({question}) << QStringList({"Accord", "Civic"}) << false;
    QTest::newRow("cancelled") << 2 << int(vbCancel) << QStringList({question})
                               << QStringList({"Accord", "Civic", "Fit"}) << false;
    QTest::newRow("with workflow steps") << 0 << int(vbOK) << QStringList({question, Delete_With_Steps})
                                         << QStringList({"Accord", "Civic", "Fit"}) << false;
    const QString contacts = question + "\r\n\r\n1 contact still has Civic as product: they keep it, "
                                        "but no workflow runs for them any more.";
    QTest::newRow("named by a contact") << 1 << int(vbOK) << QStringList({contacts})
                                        << QStringList({"Accord", "Fit"}) << false;
    QTest::newRow("named by a contact, cancelled") << 1 << int(vbCancel) << QStringList({contacts})
                                                   << QStringList({"Accord", "Civic", "Fit"}) << false;
    // A vehicle in stock keeps its product; the grid keeps its row.
    QTest::newRow("with inventory") << 2 << int(vbOK) << QStringList({question, Delete_With_Inventory})
                                    << QStringList({"Accord", "Civic", "Fit"}) << true;
}

void tst_product_catalog::deleting()
{
    QFETCH(int, row);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, products);
    QFETCH(bool, vehicle);
    Planning_Fixture f;
    Add_Catalog(f.db);
    if (vehicle)
        f.db.Execute("INSERT INTO Inventory (Product_ID, Make) SELECT ID, 'Honda' FROM Products WHERE Product = 'Fit'");
    QTableView* grid = Open_Catalog(f);
    f.dialogs.answers << answer;
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, Product_Catalog_Model::Part_Number));
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(f.dialogs.Texts(), messages);
    QCOMPARE(f.dialogs.messages.first().title, QString("Delete Product"));
    QCOMPARE(f.dialogs.messages.first().style & 0x0F, int(vbOKCancel));
    QCOMPARE(Product_Names(f.db), products);
    QCOMPARE(grid->model()->rowCount(), int(products.size()) + 1);
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM Inventory").toInt(), vehicle ? 1 : 0);
    // The contact keeps its product text.
    QCOMPARE(f.db.Scalar("SELECT Product FROM Contacts").toString(), QString("Civic"));
}

void tst_product_catalog::a_refused_name_stays_in_its_cell_until_escape()
{
    Planning_Fixture f;
    Add_Catalog(f.db);
    QTableView* grid = Open_Catalog(f);
    grid->setCurrentIndex(grid->model()->index(0, Product_Catalog_Model::Product));
    Type_In_Cell(grid, "Prelude");
    QTRY_COMPARE(f.dialogs.Texts(), QStringList({Rename_With_Steps}));
    QTRY_VERIFY(qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex())));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    QCOMPARE(editor->text(), QString("Prelude"));
    QCOMPARE(grid->currentIndex().row(), 0);

    // A tab click tries it again and stays on the page.
    Click_Tab(f.Tabs("TabProducts"), 0);
    QCOMPARE(f.dialogs.Texts(), QStringList({Rename_With_Steps, Rename_With_Steps}));
    QVERIFY(f.Find<QWidget>("frameProductCatalog")->isVisible());
    QTRY_VERIFY(grid->indexWidget(grid->currentIndex()));
    editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    QCOMPARE(editor->text(), QString("Prelude"));

    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Escape);
    QTRY_VERIFY(!grid->indexWidget(grid->currentIndex()));
    QCOMPARE(grid->model()->index(0, Product_Catalog_Model::Product).data().toString(), QString("Accord"));
    QCOMPARE(Product_Names(f.db), QStringList({"Accord", "Civic", "Fit"}));
    Click_Tab(f.Tabs("TabProducts"), 0);
    QVERIFY(f.Find<QWidget>("frameProductWorkflow")->isVisible());
    QCOMPARE(f.dialogs.messages.size(), 2);
}

void tst_product_catalog::catalog_fields_are_checked()
{
    Planning_Fixture f;
    Add_Catalog(f.db);
    QTableView* grid = Open_Catalog(f);
    auto* model = static_cast<Product_Catalog_Model*>(grid->model());
    const auto set = [&](int column, const QString& text) { return model->setData(model->index(2, column), text); };
    QVERIFY(set(Product_Catalog_Model::Price, "$1,250.5"));
    QCOMPARE(f.db.Scalar("SELECT Price FROM Products WHERE Product = 'Fit'").toDouble(), 1250.5);
    QVERIFY(!set(Product_Catalog_Model::Price, "cheap"));
    QVERIFY(set(Product_Catalog_Model::Price, ""));
    QVERIFY(f.db.Scalar("SELECT Price FROM Products WHERE Product = 'Fit'").isNull());
    QVERIFY(set(Product_Catalog_Model::Selected, "yes"));
    QCOMPARE(f.db.Scalar("SELECT Selected FROM Products WHERE Product = 'Fit'").toString(), QString("Yes"));
    QVERIFY(!set(Product_Catalog_Model::Selected, "maybe"));
    QVERIFY(set(Product_Catalog_Model::Order, "3"));
    QVERIFY(!set(Product_Catalog_Model::Order, "-1"));
    QCOMPARE(f.db.Scalar("SELECT \"Order\" FROM Products WHERE Product = 'Fit'").toInt(), 3);
    QVERIFY(set(Product_Catalog_Model::Part_Number, ""));
    QCOMPARE(f.db.Scalar("SELECT Part_Number FROM Products WHERE Product = 'Fit'").toString(), QString(""));
    // Only a name opens a new product.
    QVERIFY(!(model->flags(model->index(3, Product_Catalog_Model::Price)) & Qt::ItemIsEditable));
    QVERIFY(!model->setData(model->index(3, Product_Catalog_Model::Product), "  "));
    QCOMPARE(model->rowCount(), 4);
}

void tst_product_catalog::a_rename_that_fails_part_way_changes_nothing()
{
    Planning_Fixture f;
    Recording_Planning_Main_Window main_window;
    Add_Catalog(f.db);
    QTableView* grid = Open_Catalog(f);
    // The history is renamed last; when it cannot be, neither is anything else.
    f.db.Execute("CREATE TRIGGER keep_history BEFORE UPDATE ON Eventhistory "
                 "BEGIN SELECT RAISE(ABORT, 'locked'); END");
    auto* model = static_cast<Product_Catalog_Model*>(grid->model());
    QVERIFY(!model->setData(model->index(1, Product_Catalog_Model::Product), "Civic LX"));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages.first().text.startsWith("Error on Rename Product"));
    QCOMPARE(Product_Names(f.db), QStringList({"Accord", "Civic", "Fit"}));
    QCOMPARE(f.db.Scalar("SELECT Product FROM Contacts").toString(), QString("Civic"));
    QCOMPARE(f.db.Scalar("SELECT Product_Name FROM Outbox").toString(), QString("Civic"));
    QCOMPARE(model->index(1, Product_Catalog_Model::Product).data().toString(), QString("Civic"));
    QCOMPARE(main_window.changes, 0);
}

QTEST_MAIN(tst_product_catalog)
#include "tst_product_catalog.moc"
