#include <QtTest>

#include "Merge.h"
#include "Test_Support.h"

// The contact fields of the merge, by name; a missing name is null.
using Fields = QVariantMap;

static QString Merge_Contact(const QString& text, const Fields& f)
{
    return Merge_Contact_Fields(text, f.value("FirstName"), f.value("LastName"), f.value("Address"),
                                f.value("City"), f.value("State"), f.value("Zipcode"),
                                f.value("Company"), f.value("Product"), f.value("Referrer"),
                                f.value("Homephone"), f.value("Workphone"), f.value("Cellphone"),
                                f.value("Received_Date"), f.value("Email"), f.value("Notes"));
}

class Merge_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void contact_merge_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QString>("expected");

        const Fields ann{{"FirstName", "Ann"}, {"LastName", "Lee"}};
        QTest::newRow("names, comma kept") << "Dear [Firstname] [Lastname]," << ann << "Dear Ann Lee,";
        QTest::newRow("token twice") << "[Firstname]/[Firstname]" << ann << "Ann/Ann";
        QTest::newRow("other capitals are no token")
            << "[FirstName] [firstname] [Firstname]" << ann << "[FirstName] [firstname] Ann";
        QTest::newRow("null keeps the token") << "At [Address]." << Fields{{"Address", QVariant()}}
                                              << "At [Address].";
        QTest::newRow("empty removes the token") << "At [Address]." << Fields{{"Address", QString("")}}
                                                 << "At .";
        QTest::newRow("earlier value holding a later token is filled")
            << "[Firstname]" << Fields{{"FirstName", "[City]"}, {"City", "Leeds"}} << "Leeds";
        QTest::newRow("later value holding an earlier token stays")
            << "[City]" << Fields{{"FirstName", "Ann"}, {"City", "[Firstname]"}} << "[Firstname]";
        QTest::newRow("referrer is the source passed")
            << "via [Referrer]" << Fields{{"Referrer", "AutoWeb"}} << "via AutoWeb";
        QTest::newRow("no tokens") << "Plain text, [Unknown] too." << ann << "Plain text, [Unknown] too.";
        QTest::newRow("number as plain text") << "[Zip]" << Fields{{"Zipcode", 12345}} << "12345";
        QTest::newRow("today short") << "[Today-Short]" << Fields{} << "12/9/26";
        QTest::newRow("today long") << "[Today-Long]" << Fields{} << "Wednesday, December 09, 2026";
        QTest::newRow("date at midnight without time")
            << "[Received_Date]" << Fields{{"Received_Date", QDateTime(QDate(2026, 3, 4), QTime(0, 0))}}
            << General_Date_Text(QDateTime(QDate(2026, 3, 4), QTime(0, 0)));
    }
    void contact_merge()
    {
        QFETCH(QString, text);
        QFETCH(Fields, fields);
        QFETCH(QString, expected);
        Test_Clock clock(QDateTime(QDate(2026, 12, 9), QTime(15, 30)));
        QCOMPARE(Merge_Contact(text, fields), expected);
    }

    void general_date_text_shows_the_time_unless_midnight()
    {
        const QString midnight = General_Date_Text(QDateTime(QDate(2026, 3, 4), QTime(0, 0)));
        const QString afternoon = General_Date_Text(QDateTime(QDate(2026, 3, 4), QTime(14, 5, 9)));
        QVERIFY(!midnight.isEmpty());
        QVERIFY(afternoon.startsWith(midnight + " "));
        QVERIFY2(afternoon.contains("14:05:09") || afternoon.contains("2:05:09"), qPrintable(afternoon));
    }

    void catalog_merge_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("price");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << "[Price]" << QVariant(0.0) << "$0.00";
        QTest::newRow("grouped, two decimals") << "[Price]" << QVariant(1200000.5) << "$1,200,000.50";
        QTest::newRow("thousands") << "[Price]" << QVariant(1234.5) << "$1,234.50";
        QTest::newRow("numeric text") << "[Price]" << QVariant(QString("99.9")) << "$99.90";
        QTest::newRow("not a number unchanged") << "[Price]" << QVariant(QString("call us")) << "call us";
        QTest::newRow("null keeps the token") << "[Price]" << QVariant() << "[Price]";
        QTest::newRow("all tokens")
            << "[Catalog_Product] [Part_Number] [Description] [Price]" << QVariant(5) << "Van P-7 Big $5.00";
    }
    void catalog_merge()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, price);
        QFETCH(QString, expected);
        QCOMPARE(Merge_Catalog_Fields(text, "Van", "P-7", "Big", price), expected);
    }

    void vehicle_merge_replaces_in_its_own_order()
    {
        // The model is replaced before the transmission, so a model naming
        // "[Transmission]" is filled, while the transmission naming "[Model]" is not.
        const QString text = "[Product] [Year] [Make] [Model] [Number_Of_Cylinders] [Size_Of_Engine] "
                             "[Price] [Transmission] [VIN] [Number_Of_Doors] [Color_Exterior] "
                             "[Color_Interior] [Options] [Catalog_Product]";
        const QString merged = Merge_Vehicle_Fields(text, "Car", 2024, "Ford", "[Transmission]", 6,
                                                    19999.5, "[Model]", "3.5L", "VIN1", 4, "Red",
                                                    "Black", QVariant());
        QCOMPARE(merged, QString("Car 2024 Ford [Model] 6 3.5L 19999.5 [Model] VIN1 4 Red Black "
                                 "[Options] [Catalog_Product]"));
    }

    void product_and_price_go_to_the_first_merge()
    {
        const QString after_vehicle = Merge_Vehicle_Fields("[Product] [Price]", "Truck", {}, {}, {}, {},
                                                           15000, {}, {}, {}, {}, {}, {}, {});
        QCOMPARE(Merge_Catalog_Fields(after_vehicle, "Van", {}, {}, 1.0), QString("Truck 15000"));
    }
};

QTEST_GUILESS_MAIN(Merge_Test)
#include "tst_merge.moc"
