#include <QtTest>

#include "Clock.h"
#include "Database.h"
#include "Test_Support.h"

class Database_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void values_are_bound_as_they_stand_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("double quote") << QString("O\"Brien");
        QTest::newRow("single quote") << QString("O'Brien");
        QTest::newRow("message id") << QString("<1733.2@mail.example.com>");
        QTest::newRow("sql text") << QString("x'); DROP TABLE Settings; --");
        QTest::newRow("non-ascii") << QString::fromUtf8("Zoë Müller");
    }
    void values_are_bound_as_they_stand()
    {
        QFETCH(QString, value);
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, V TEXT COLLATE NOCASE)");
        const qint64 id = db.Insert("INSERT INTO T (V) VALUES (?)", {value});
        QVERIFY(id > 0);
        QCOMPARE(db.Scalar("SELECT ID FROM T WHERE V = ?", {value}).toLongLong(), id);
        QCOMPARE(db.Scalar("SELECT V FROM T WHERE ID = ?", {id}).toString(), value);
        QVERIFY(!db.Scalar("SELECT count(*) FROM Settings").isNull());
    }

    void dates_flags_and_nulls_are_stored_in_the_fixed_form()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE T (D TEXT, F INTEGER, N TEXT)");
        const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7, 890));
        db.Execute("INSERT INTO T (D, F, N) VALUES (?, ?, ?)", {when, true, QVariant()});
        const QSqlRecord row = db.Select_First("SELECT D, F, N FROM T");
        QCOMPARE(row.value("D").toString(), QString("2026-03-04 05:06:07"));
        QCOMPARE(row.value("F").toInt(), 1);
        QVERIFY(row.value("N").isNull());
        QCOMPARE(Db_To_Date(row.value("D")), QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
        // A date compared with a stored one matches to the second.
        QCOMPARE(db.Scalar("SELECT count(*) FROM T WHERE D = ?", {when}).toInt(), 1);
        QVERIFY(!Db_To_Date(QVariant()).isValid());
        QCOMPARE(Db_Text(row, "N"), QString(""));
    }

    void failures_carry_the_database_description()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        try {
            db.Select("SELECT * FROM No_Such_Table");
            QFAIL("no error");
        } catch (const Database_Error& e) {
            QVERIFY2(e.Description().contains("No_Such_Table"), qPrintable(e.Description()));
        }
    }

    void a_missing_file_or_a_file_that_is_no_database_is_refused()
    {
        Test_Program_Folder folder;
        QVERIFY_THROWS_EXCEPTION(Database_Error, Database(folder.Path("missing.mdb")));
        QVERIFY(!QFile::exists(folder.Path("missing.mdb")));
        const QString junk = folder.Write_File("junk.mdb", QByteArray(4096, 'x'));
        QVERIFY_THROWS_EXCEPTION(Database_Error, Database{junk});
    }

    void a_transaction_left_without_commit_is_rolled_back()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE T (V INTEGER)");
        {
            Database_Transaction t(db);
            db.Execute("INSERT INTO T VALUES (1)");
        }
        {
            Database_Transaction t(db);
            db.Execute("INSERT INTO T VALUES (2)");
            t.Commit();
        }
        QCOMPARE(db.Scalar("SELECT group_concat(V) FROM T").toString(), QString("2"));
    }

    void an_inner_transaction_is_part_of_the_outer_one()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE T (V INTEGER)");
        {
            Database_Transaction outer(db);
            db.Execute("INSERT INTO T VALUES (1)");
            {
                Database_Transaction kept(db);
                db.Execute("INSERT INTO T VALUES (2)");
                kept.Commit();
            }
            {
                Database other = folder.Db();   // the same connection, so the same transaction
                Database_Transaction dropped(other);
                other.Execute("INSERT INTO T VALUES (3)");
            }
            outer.Commit();
        }
        QCOMPARE(db.Scalar("SELECT group_concat(V) FROM T").toString(), QString("1,2"));
        {
            Database_Transaction outer(db);
            Database_Transaction inner(db);
            db.Execute("INSERT INTO T VALUES (4)");
            inner.Commit();
        }
        QCOMPARE(db.Scalar("SELECT count(*) FROM T").toInt(), 2);
    }

    void pauses_and_waits_follow_the_installed_clock()
    {
        Test_Clock clock;
        const QDateTime start = Now();
        Time_Pause(5);
        QCOMPARE(start.secsTo(Now()), 5);
        QElapsedTimer real;
        real.start();
        QVERIFY(!Wait_Until([] { return false; }, 120));
        QVERIFY(start.secsTo(Now()) >= 125);
        QVERIFY(real.elapsed() < 20000);
        int calls = 0;
        QVERIFY(Wait_Until([&] { return ++calls >= 3; }, 120));
    }
};

QTEST_MAIN(Database_Test)
#include "tst_database.moc"
