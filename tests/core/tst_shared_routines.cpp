#include <QtTest>

#include <QSet>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Random.h"
#include "Shared_Routines.h"
#include "Test_Support.h"


class Shared_Routines_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stats_make_a_row_per_day_and_add_to_it()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock(QDateTime(QDate(2026, 12, 10), QTime(23, 59, 0)));
        Add_Stats("Messages Sent", 3);
        Add_Stats("Messages Sent", 2);
        Add_Stats("Added to Unmatched", 1);
        clock.Advance(120);   // past midnight
        Add_Stats("Messages Sent", 4);
        clock.Set(QDateTime(QDate(2027, 1, 5), QTime(8, 0, 0)));   // a new year
        Add_Stats("Messages Sent", 7);

        // The statistics viewer's order: by day, then count.
        const QList<QSqlRecord> rows = folder.Db().Select(
            "SELECT EventDate, Event, NumOfEvents FROM Stats ORDER BY EventDate, NumOfEvents");
        QStringList seen;
        for (const QSqlRecord& row : rows)
            seen << Db_To_Date(row.value("EventDate")).toString("MM/dd/yyyy") + " "
                        + Db_Text(row, "Event") + " " + row.value("NumOfEvents").toString();
        QCOMPARE(seen, (QStringList{"12/10/2026 Added to Unmatched 1", "12/10/2026 Messages Sent 5",
                                    "12/11/2026 Messages Sent 4", "01/05/2027 Messages Sent 7"}));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void a_stats_failure_is_shown()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("DROP TABLE Stats");
        Add_Stats("Messages Sent", 1);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.startsWith("Error on Add Stats: "));
        QVERIFY(dialogs.messages.first().text.contains("Stats"));
    }

    void the_junk_list_keeps_each_address_once()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const QString long_address = QString(240, QChar('j')) + "@example.com";   // 252 characters
        Add_To_Junk_Emails(QString("spam@example.com"));
        Add_To_Junk_Emails(QString("SPAM@Example.com"));
        Add_To_Junk_Emails(long_address);
        Add_To_Junk_Emails(long_address);
        Add_To_Junk_Emails(QVariant());
        Add_To_Junk_Emails(QString());
        Add_To_Junk_Emails(QString(""));

        const QList<QSqlRecord> rows = db.Select("SELECT Email FROM JunkEmails ORDER BY ID");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(Db_Text(rows[0], "Email"), QString("spam@example.com"));
        QCOMPARE(Db_Text(rows[1], "Email"), long_address.left(200));
        QVERIFY(dialogs.messages.isEmpty());

        db.Execute("DROP TABLE JunkEmails");
        Add_To_Junk_Emails(QString("x@example.com"));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.startsWith(
            "Error on Adding to Junk Emails: x@example.com At "));
    }

    void replace_all_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QVariant>("replacement");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both places") << "Hi [Firstname], yes [Firstname]." << "[Firstname]"
                                     << QVariant("Ann") << "Hi Ann, yes Ann.";
        QTest::newRow("replacement holds the token")
            << "[Firstname] and [Firstname]" << "[Firstname]" << QVariant("[Firstname][Firstname]")
            << "[Firstname][Firstname] and [Firstname][Firstname]";
        QTest::newRow("case differs") << "Dear [Firstname]" << "[firstname]" << QVariant("Ann")
                                      << "Dear [Firstname]";
        QTest::newRow("null replacement") << "Dear [Firstname]" << "[Firstname]" << QVariant()
                                          << "Dear [Firstname]";
        QTest::newRow("empty replacement") << "Dear [Firstname]!" << "[Firstname]" << QVariant("")
                                           << "Dear !";
        QTest::newRow("empty search") << "Dear Ann" << "" << QVariant("x") << "Dear Ann";
        QTest::newRow("line ends") << "a\r\nb\r\n" << "\r\n" << QVariant(" ") << "a b ";
        QTest::newRow("not found") << "abc" << "d" << QVariant("x") << "abc";
    }
    void replace_all()
    {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QVariant, replacement);
        QFETCH(QString, expected);
        QCOMPARE(Replace_All(text, search, replacement), expected);
    }

    void proper_case_data()
    {
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one letter") << QVariant("m") << "M";
        QTest::newRow("empty") << QVariant("") << "";
        QTest::newRow("null") << QVariant() << "";
        QTest::newRow("only the first letter") << QVariant("mARY ann") << "Mary ann";
        QTest::newRow("upper case") << QVariant("SMITH") << "Smith";
    }
    void proper_case()
    {
        QFETCH(QVariant, text);
        QFETCH(QString, expected);
        QCOMPARE(Proper_Case(text), expected);
    }

    void null_to_empty()
    {
        QCOMPARE(Null_To_Empty(QVariant()), QString(""));
        QVERIFY(!Null_To_Empty(QVariant()).isNull());
        QCOMPARE(Null_To_Empty(QVariant(QMetaType::fromType<QString>())), QString(""));
        QCOMPARE(Null_To_Empty(QVariant("x")), QString("x"));
        QCOMPARE(Null_To_Empty(QVariant(12)), QString("12"));
    }

    void find_list_index_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("first") << "Friend" << 0;
        QTest::newRow("first of two") << "Customer" << 1;
        QTest::newRow("case differs") << "friend" << -1;
        QTest::newRow("missing") << "Boss" << -1;
    }
    void find_list_index()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(Find_List_Index({"Friend", "Customer", "Customer"}, text), expected);
    }

    void unique_numbers_never_repeat()
    {
        // A frozen clock and a fixed seed: nothing of the time or the draws
        // keeps two numbers apart, only the routine itself.
        Test_Clock clock(QDateTime(QDate(2026, 12, 10), QTime(10, 0, 0)));
        Random_Seed(1);
        QSet<qint64> seen;
        for (int i = 0; i < 20000; ++i) {
            const qint64 number = Create_Unique_Number();
            QVERIFY(number > 0);
            QVERIFY2(!seen.contains(number), qPrintable(QString::number(number)));
            seen.insert(number);
        }
        // A later start, drawing the same sequence again, gives other numbers:
        // its clock has moved on.
        Random_Seed(1);
        clock.Advance(0.001);
        QVERIFY(!seen.contains(Create_Unique_Number()));
        // Second 0 of a minute is no special case.
        clock.Set(QDateTime(QDate(2026, 12, 10), QTime(10, 1, 0)));
        QVERIFY(Create_Unique_Number() > 1);
    }
};

QTEST_GUILESS_MAIN(Shared_Routines_Test)
#include "tst_shared_routines.moc"
