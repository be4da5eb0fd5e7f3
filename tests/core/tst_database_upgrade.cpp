// A database of an older version is brought up to the schema when the program
// opens it: inventory rows get their key, every row and value kept.

#include <QtTest>

#include "Data_Access.h"
#include "Database_Upgrade.h"
#include "Inventory.h"
#include "Test_Support.h"

namespace {

// The inventory table as older versions made it: no key.
void Make_Old_Inventory(Database& db)
{
    db.Execute("DROP TABLE Inventory");
    db.Execute("CREATE TABLE Inventory (Product_ID INTEGER, Year TEXT COLLATE NOCASE, "
               "Make TEXT COLLATE NOCASE, VIN TEXT COLLATE NOCASE, "
               "Tow_Package INTEGER NOT NULL DEFAULT 0, \"4_Wheel_Drive\" INTEGER NOT NULL DEFAULT 0)");
    db.Execute("CREATE INDEX Inventory_Product ON Inventory (Product_ID)");
    const QVariantList rows[] = {
        {2, "2024", "Ford", "VIN-B", 0, 1},
        {1, "2023", "Jeep", "", 1, 1},
        {1, "2023", "Jeep", "", 1, 1},
    };
    for (const QVariantList& row : rows)
        db.Execute("INSERT INTO Inventory (Product_ID, Year, Make, VIN, Tow_Package, \"4_Wheel_Drive\") "
                   "VALUES (?, ?, ?, ?, ?, ?)",
                   row);
}

QStringList Inventory_Rows(Database& db)
{
    QStringList rows;
    for (const QSqlRecord& row : db.Select(
             "SELECT ID, Product_ID, Year, Make, VIN, Tow_Package, \"4_Wheel_Drive\", Air_Conditioning, "
             "Model FROM Inventory ORDER BY ID"))
        rows << QStringList{row.value(0).toString(), row.value(1).toString(), row.value(2).toString(),
                            row.value(3).toString(), row.value(4).toString(), row.value(5).toString(),
                            row.value(6).toString(), row.value(7).toString(),
                            row.value(8).isNull() ? "null" : row.value(8).toString()}
                    .join('|');
    return rows;
}

} // namespace

class tst_database_upgrade : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void inventory_gets_its_key_on_opening()
    {
        Test_Program_Folder folder;
        {
            Database db = folder.Db();
            Make_Old_Inventory(db);
        }
        Database db = Open_Database();
        const QStringList expected = {
            "1|2|2024|Ford|VIN-B|0|1|0|null",
            "2|1|2023|Jeep||1|1|0|null",
            "3|1|2023|Jeep||1|1|0|null",
        };
        QCOMPARE(Inventory_Rows(db), expected);
        // The new key counts on from the copied rows, and the index is back.
        QCOMPARE(db.Insert("INSERT INTO Inventory (Product_ID) VALUES (1)"), qint64(4));
        QCOMPARE(db.Scalar("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = "
                           "'Inventory_Product' AND tbl_name = 'Inventory'")
                     .toInt(),
                 1);
        QCOMPARE(db.Scalar("SELECT count(*) FROM sqlite_master WHERE name LIKE '%Before_Upgrade%'").toInt(), 0);

        // A second pass finds nothing to do.
        Upgrade_Database(db);
        QCOMPARE(Inventory_Rows(db).size(), 4);
    }

    void indexes_the_schema_gained_are_made_on_opening()
    {
        Test_Program_Folder folder;
        const QString index_count = "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?";
        {
            Database db = folder.Db();
            db.Execute("DROP INDEX Eventhistory_Step");
            db.Execute("DROP INDEX Contacts_Email");
            // The name index before it held the list's columns.
            db.Execute("DROP INDEX Contacts_List");
            db.Execute("CREATE INDEX Contacts_Name ON Contacts (LastName, FirstName)");
            // Rows a unique index of the schema does not allow: that one stays out.
            db.Execute("DROP INDEX Products_Product");
            db.Execute("INSERT INTO Products (Product) VALUES ('Van')");
            db.Execute("INSERT INTO Products (Product) VALUES ('VAN')");
        }
        Database db = Open_Database();
        QCOMPARE(db.Scalar(index_count, {QString("Eventhistory_Step")}).toInt(), 1);
        QCOMPARE(db.Scalar(index_count, {QString("Contacts_Email")}).toInt(), 1);
        QCOMPARE(db.Scalar(index_count, {QString("Products_Product")}).toInt(), 0);
        QCOMPARE(db.Scalar("SELECT count(*) FROM Products WHERE Product = 'van'").toInt(), 2);
        // The workflow's look-up reads the index alone.
        const QString plan = db.Select_Values("EXPLAIN QUERY PLAN SELECT max(Timeline_Step_Number) FROM Eventhistory "
                                              "WHERE ContactID = 1 AND Event_Product = 'Van' AND Timeline_Step_Number >= 0")
                                 .first()
                                 .last()
                                 .toString();
        QVERIFY2(plan.contains("COVERING INDEX Eventhistory_Step"), qPrintable(plan));
        // The contact list is read from the wider name index alone; the old one is gone.
        QCOMPARE(db.Scalar(index_count, {QString("Contacts_List")}).toInt(), 1);
        QCOMPARE(db.Scalar(index_count, {QString("Contacts_Name")}).toInt(), 0);
        const QString list_plan =
            db.Select_Values("EXPLAIN QUERY PLAN SELECT FirstName, LastName, Product, Contact_Relationship, "
                             "Contact_Title, Email, MiddleInitial, ID, Pending_Events_To_Read, New_Contact "
                             "FROM Contacts ORDER BY LastName, FirstName, ID")
                .first()
                .last()
                .toString();
        QVERIFY2(list_plan.contains("COVERING INDEX Contacts_List"), qPrintable(list_plan));
    }

    void failed_upgrade_keeps_the_old_table()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        Make_Old_Inventory(db);
        // A row the new table refuses (a null flag) stops the copy.
        db.Execute("CREATE TABLE Inventory_Loose AS SELECT * FROM Inventory");
        db.Execute("DROP TABLE Inventory");
        db.Execute("ALTER TABLE Inventory_Loose RENAME TO Inventory");
        db.Execute("INSERT INTO Inventory (Product_ID, Tow_Package) VALUES (3, NULL)");
        QVERIFY_THROWS_EXCEPTION(Database_Error, Upgrade_Database(db));
        QCOMPARE(db.Scalar("SELECT count(*) FROM Inventory").toInt(), 4);
        QCOMPARE(db.Scalar("SELECT count(*) FROM pragma_table_info('Inventory') WHERE name = 'ID'").toInt(), 0);
        QCOMPARE(db.Scalar("SELECT count(*) FROM sqlite_master WHERE name LIKE '%Before_Upgrade%'").toInt(), 0);
    }

    void product_has_inventory()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        const qint64 jeep = db.Insert("INSERT INTO Products (Product) VALUES ('Jeep')");
        db.Insert("INSERT INTO Products (Product) VALUES ('Ford')");
        db.Insert("INSERT INTO Inventory (Product_ID) VALUES (?)", {jeep});
        QVERIFY(Product_Has_Inventory("Jeep"));
        QVERIFY(Product_Has_Inventory("jeep"));   // product names compare without case
        QVERIFY(!Product_Has_Inventory("Ford"));
        QVERIFY(!Product_Has_Inventory("Nothing"));
    }
};

QTEST_MAIN(tst_database_upgrade)
#include "tst_database_upgrade.moc"
