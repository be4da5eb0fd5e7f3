#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

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
        QTest::newRow("empty") << QString("");
        QTest::newRow("null text") << QString();
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
        // A text is stored as text, never as NULL, so an empty one is found by an empty one.
        QCOMPARE(db.Scalar("SELECT V IS NOT NULL FROM T WHERE ID = ?", {id}).toInt(), 1);
        QCOMPARE(db.Scalar("SELECT count(*) FROM T WHERE V = ?", {QString(value)}).toInt(), 1);
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

    void rows_read_straight_from_the_file_read_as_through_the_driver()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE T (ID INTEGER PRIMARY KEY, V)");
        const QVariantList values{QString("O'Brien"), QString::fromUtf8("Zoë Müller 😀"), QString(""), QString(),
                                  QVariant(), 42, qint64(1) << 40, 2.5, 1e20, true,
                                  QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7))};
        for (const QVariant& value : values)
            db.Execute("INSERT INTO T (V) VALUES (?)", {value});
        const QList<QVariantList> expected = db.Select_Values("SELECT V, ID FROM T ORDER BY ID");
        int read = 0;
        db.Read_Rows("SELECT V, ID FROM T ORDER BY ID", {}, [&](const Row_Values& row) {
            const QVariant& driver = expected.at(read).at(0);
            QCOMPARE(row.Is_Null(0), driver.isNull());
            QCOMPARE(row.Text(0), driver.toString());
            QCOMPARE(row.Text(0).isNull(), driver.isNull());
            QCOMPARE(row.Integer(1), expected.at(read).at(1).toLongLong());
            ++read;
        });
        QCOMPARE(read, values.size());
        // Values are bound as the other statements bind them.
        for (const QVariant& value : values) {
            int found = 0;
            db.Read_Rows("SELECT count(*) FROM T WHERE V = ?", {value},
                         [&](const Row_Values& row) { found = int(row.Integer(0)); });
            QCOMPARE(found, db.Scalar("SELECT count(*) FROM T WHERE V = ?", {value}).toInt());
        }
    }

    void reading_rows_refuses_changes_and_leaves_no_statement_open()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE T (V)");
        db.Execute("INSERT INTO T VALUES (1), (2), (3)");
        QVERIFY_THROWS_EXCEPTION(Database_Error, db.Read_Rows("DELETE FROM T", {}, [](const Row_Values&) {}));
        QCOMPARE(db.Scalar("SELECT count(*) FROM T").toInt(), 3);
        try {
            db.Read_Rows("SELECT * FROM No_Such_Table", {}, [](const Row_Values&) {});
            QFAIL("no error");
        } catch (const Database_Error& e) {
            QVERIFY2(e.Description().contains("No_Such_Table"), qPrintable(e.Description()));
        }
        // A reader that stops half way by an error: the statement is done
        // with, or the table could not be dropped.
        int handed = 0;
        QVERIFY_THROWS_EXCEPTION(Database_Error, db.Read_Rows("SELECT V FROM T", {}, [&](const Row_Values&) {
            if (++handed == 2)
                throw Database_Error("stopped");
        }));
        QCOMPARE(handed, 2);
        db.Execute("DROP TABLE T");
    }

    void a_thread_closes_its_own_connection_and_no_other()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE T (V)");
        const QStringList before = QSqlDatabase::connectionNames();
        QString failure;
        std::mutex mutex;
        std::condition_variable turn;
        int step = 0;
        const auto wait_for = [&](int wanted) {
            std::unique_lock lock(mutex);
            turn.wait(lock, [&] { return step >= wanted; });
        };
        const auto go_on = [&](int next) {
            {
                std::lock_guard lock(mutex);
                step = next;
            }
            turn.notify_all();
        };
        std::thread worker([&] {
            try {
                Database own(db.Path());
                own.Execute("INSERT INTO T VALUES (1)");
                if (QSqlDatabase::connectionNames().size() != before.size() + 1)
                    failure = "the thread has no connection of its own";
                go_on(1);
                // The window's thread closes its connections meanwhile: this one stays usable.
                wait_for(2);
                Database_Transaction transaction(own);
                own.Execute("INSERT INTO T VALUES (2)");
                transaction.Commit();
            } catch (const Database_Error& e) {
                failure = e.Description();
            }
            Database::Close_This_Thread();
        });
        wait_for(1);
        Database::Close_All();
        go_on(2);
        worker.join();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(QSqlDatabase::connectionNames().isEmpty());
        QCOMPARE(Database(db.Path()).Scalar("SELECT count(*) FROM T").toInt(), 2);
    }

    void a_larger_page_cache_is_given_back()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        const qint64 usual = db.Scalar("PRAGMA cache_size").toLongLong();
        {
            const Page_Cache_Hold cache(db, 32768);
            QCOMPARE(db.Scalar("PRAGMA cache_size").toLongLong(), qint64(-32768));
        }
        QCOMPARE(db.Scalar("PRAGMA cache_size").toLongLong(), usual);
    }

    void a_kept_journal_stays_between_commits_and_goes_at_the_end()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE T (V INTEGER)");
        const QString journal = db.Path() + "-journal";
        {
            const Journal_Kept_Hold kept(db);
            for (int v = 1; v <= 2; ++v) {
                Database_Transaction transaction(db);
                db.Execute("INSERT INTO T VALUES (?)", {v});
                transaction.Commit();
                QVERIFY(QFileInfo::exists(journal));
            }
            // The kept journal is no hot one: another connection reads what was committed.
            int seen = -1;
            std::thread other([&] {
                Database reader(db.Path());
                seen = reader.Scalar("SELECT count(*) FROM T").toInt();
                Database::Close_This_Thread();
            });
            other.join();
            QCOMPARE(seen, 2);
        }
        QVERIFY(!QFileInfo::exists(journal));
        QCOMPARE(db.Scalar("PRAGMA journal_mode").toString(), QString("delete"));
        Database::Close_All();
        QCOMPARE(folder.Db().Scalar("SELECT group_concat(V) FROM T").toString(), QString("1,2"));
    }

    void a_prepared_statement_follows_a_changed_schema()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        const QString all = "SELECT * FROM T ORDER BY 1";
        const QString add = "INSERT INTO T (V) VALUES (?)";
        db.Execute("CREATE TABLE T (V TEXT)");
        db.Insert(add, {QString("a")});
        db.Insert(add, {QString("b")});
        QCOMPARE(db.Select(all).first().count(), 1);
        // Read in part only: the statement must hold nothing that blocks a schema change.
        QCOMPARE(db.Select_First(all).value("V").toString(), QString("a"));

        db.Execute("ALTER TABLE T ADD COLUMN W TEXT DEFAULT 'w'");
        const QList<QSqlRecord> widened = db.Select(all);
        QCOMPARE(widened.size(), 2);
        QCOMPARE(widened.first().count(), 2);
        QCOMPARE(widened.first().value("W").toString(), QString("w"));
        QCOMPARE(db.Select_Values(all).last(), (QVariantList{QString("b"), QString("w")}));

        db.Execute("DROP TABLE T");
        db.Execute("CREATE TABLE T (N INTEGER, V TEXT, X TEXT)");
        db.Insert(add, {QString("c")});
        const QList<QSqlRecord> made_again = db.Select(all);
        QCOMPARE(made_again.size(), 1);
        QCOMPARE(made_again.first().count(), 3);
        QVERIFY(made_again.first().value("N").isNull());
        QCOMPARE(made_again.first().value("V").toString(), QString("c"));
        QCOMPARE(db.Select_Values(all).first().at(1).toString(), QString("c"));

        // Another connection widens the table: this one sees it on its next use.
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(folder.Database_File());
            QVERIFY(other.open());
            {
                QSqlQuery alter(other);
                QVERIFY(alter.exec("ALTER TABLE T ADD COLUMN Y TEXT DEFAULT 'y'"));
            }
            other.close();
        }
        QSqlDatabase::removeDatabase("other");
        Database again = folder.Db();
        const QList<QSqlRecord> seen = again.Select(all);
        QCOMPARE(seen.first().count(), 4);
        QCOMPARE(seen.first().value("Y").toString(), QString("y"));
    }

    void statements_of_a_closed_connection_are_not_used_again()
    {
        Test_Program_Folder folder;
        const QString count = "SELECT count(*) FROM T";
        {
            Database db = folder.Db();
            db.Execute("CREATE TABLE T (V INTEGER)");
            db.Execute("INSERT INTO T VALUES (1)");
            QCOMPARE(db.Scalar(count).toInt(), 1);
        }
        // The file is replaced while closed, as a compaction does.
        Database::Close_All();
        const QString other = folder.Path("other.mdb");
        QVERIFY(QFile::copy(folder.Database_File(), other));
        {
            Database db(other);
            db.Execute("INSERT INTO T VALUES (2)");
            db.Execute("INSERT INTO T VALUES (3)");
        }
        Database::Close_All();
        QVERIFY(QFile::remove(folder.Database_File()));
        QVERIFY(QFile::rename(other, folder.Database_File()));
        Database db = folder.Db();
        QCOMPARE(db.Scalar(count).toInt(), 3);
        db.Execute("INSERT INTO T VALUES (4)");
        QCOMPARE(db.Scalar(count).toInt(), 4);
    }

    void a_failing_statement_is_prepared_again_next_time_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QStringList>("repair");
        QTest::newRow("table missing when prepared")
            << QStringList{} << QString("INSERT INTO T (V) VALUES (1)")
            << QStringList{"CREATE TABLE T (V INTEGER)"};
        QTest::newRow("table dropped after it ran")
            << QStringList{"CREATE TABLE T (V INTEGER)", "INSERT INTO T (V) VALUES (1)", "DROP TABLE T"}
            << QString("INSERT INTO T (V) VALUES (1)")
            << QStringList{"CREATE TABLE T (V INTEGER)"};
        QTest::newRow("column dropped after it ran")
            << QStringList{"CREATE TABLE T (V INTEGER, W INTEGER)", "INSERT INTO T (V, W) VALUES (1, 1)",
                           "ALTER TABLE T DROP COLUMN W"}
            << QString("INSERT INTO T (V, W) VALUES (1, 1)")
            << QStringList{"ALTER TABLE T ADD COLUMN W INTEGER", "DELETE FROM T"};
        QTest::newRow("table dropped by another connection")
            << QStringList{"CREATE TABLE T (V INTEGER)", "INSERT INTO T (V) VALUES (1)", "other: DROP TABLE T"}
            << QString("INSERT INTO T (V) VALUES (1)")
            << QStringList{"other: CREATE TABLE T (V INTEGER)"};
        QTest::newRow("constraint broken")
            << QStringList{"CREATE TABLE T (V INTEGER UNIQUE)", "INSERT INTO T (V) VALUES (1)"}
            << QString("INSERT INTO T (V) VALUES (1)") << QStringList{"DELETE FROM T"};
    }
    void a_failing_statement_is_prepared_again_next_time()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, statement);
        QFETCH(QStringList, repair);
        Test_Program_Folder folder;
        Database db = folder.Db();
        const auto run = [&](const QString& sql) {
            if (!sql.startsWith("other: "))
                return db.Execute(sql);
            {
                QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
                other.setDatabaseName(folder.Database_File());
                if (other.open())
                    QSqlQuery(other).exec(sql.mid(7));
                other.close();
            }
            QSqlDatabase::removeDatabase("other");
            return 0;
        };
        for (const QString& sql : setup)
            run(sql);
        QVERIFY_THROWS_EXCEPTION(Database_Error, db.Execute(statement));
        QVERIFY_THROWS_EXCEPTION(Database_Error, db.Execute(statement));
        for (const QString& sql : repair)
            run(sql);
        QCOMPARE(db.Execute(statement), 1);
        QCOMPARE(db.Scalar("SELECT count(*) FROM T").toInt(), 1);
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

    void a_batch_the_database_rolled_back_takes_no_more_statements()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE T (V)");
        // The file may grow no further: the big row finds the disk full, and
        // SQLite then rolls back the whole batch, not only that statement.
        const int pages = db.Scalar("PRAGMA page_count").toInt();
        db.Scalar(QString("PRAGMA max_page_count = %1").arg(pages + 2));
        {
            Database_Transaction batch(db);
            db.Execute("INSERT INTO T VALUES (1)");
            {
                Database_Transaction one(db);
                bool failed = false;
                try {
                    db.Execute("INSERT INTO T VALUES (zeroblob(1000000))");
                } catch (const Database_Error&) {
                    failed = true;
                }
                QVERIFY(failed);
            }
            // What follows in the batch must not be stored on its own, outside it.
            bool refused = false;
            try {
                Database_Transaction next(db);
                db.Execute("INSERT INTO T VALUES (2)");
                next.Commit();
            } catch (const Database_Error&) {
                refused = true;
            }
            QVERIFY(refused);
            QVERIFY_THROWS_EXCEPTION(Database_Error, batch.Commit());
        }
        QCOMPARE(db.Scalar("SELECT count(*) FROM T").toInt(), 0);
        // The connection is usable again after the batch.
        {
            Database_Transaction again(db);
            db.Execute("INSERT INTO T VALUES (3)");
            again.Commit();
        }
        QCOMPARE(db.Scalar("SELECT group_concat(V) FROM T").toString(), QString("3"));
    }

    void a_commit_letting_events_keeps_the_batch_and_what_the_events_wrote_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("committed") << false;
        QTest::newRow("refused by a deferred check") << true;
    }
    void a_commit_letting_events_keeps_the_batch_and_what_the_events_wrote()
    {
        QFETCH(bool, refused);
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Execute("CREATE TABLE P (ID INTEGER PRIMARY KEY)");
        db.Execute("CREATE TABLE T (V INTEGER, P INTEGER REFERENCES P (ID) DEFERRABLE INITIALLY DEFERRED)");
        bool handled = false;
        QString seen;
        // Waiting before the commit began, so handled before its end is.
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                handled = true;
                Database during = folder.Db();
                QVERIFY(!during.In_Transaction());
                seen = during.Scalar("SELECT group_concat(V) FROM T").toString();
                // A user's save meanwhile is stored, whatever became of the batch.
                Database_Transaction save(during);
                during.Execute("INSERT INTO T (V) VALUES (2)");
                save.Commit();
            },
            Qt::QueuedConnection);
        {
            Database_Transaction batch(db);
            // A row naming no P: the deferred check refuses it at the commit.
            db.Execute("INSERT INTO T (V, P) VALUES (1, ?)", {refused ? QVariant(7) : QVariant()});
            if (refused)
                QVERIFY_THROWS_EXCEPTION(Database_Error, batch.Commit_Letting_Events());
            else
                batch.Commit_Letting_Events();
        }
        QVERIFY(handled);
        QCOMPARE(seen, refused ? QString() : QString("1"));
        QCOMPARE(db.Scalar("SELECT group_concat(V) FROM T").toString(), refused ? QString("2") : QString("1,2"));
        QVERIFY(!db.In_Transaction());
        // Nothing is left open: the next batch commits as usual.
        {
            Database_Transaction next(db);
            db.Execute("INSERT INTO T (V) VALUES (3)");
            next.Commit();
        }
        QCOMPARE(db.Scalar("SELECT count(*) FROM T").toInt(), refused ? 2 : 3);
    }

    void a_new_database_holds_every_table_and_the_shipped_rows()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        const QStringList tables{"Contacts", "Eventhistory", "Outbox", "Outbox_Attachments",
                                 "Attachments", "NewEmails", "JunkEmails", "JunkNames",
                                 "Relationships", "Titles", "Stats", "Settings", "Products",
                                 "Events", "emailformats", "ContactSources", "InvalidSearchStrings",
                                 "EmailContactImports", "EmailImportFieldsInfo", "QuotesTemplates",
                                 "Inventory"};
        for (const QString& table : tables)
            QVERIFY2(db.Scalar("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?",
                               {table}).toInt() == 1, qPrintable(table));

        // Exactly one settings row: flags off, nothing counted yet, the
        // placeholders the sender recognises as not set.
        QCOMPARE(db.Scalar("SELECT count(*) FROM Settings").toInt(), 1);
        const QSqlRecord settings = db.Select_First("SELECT * FROM Settings");
        for (const char* flag : {"Enabled_Cc_Redirection", "Automatically_Send_Emails",
                                 "AutoSend_Birthdate_Emails", "Confirm_Email_Deletes",
                                 "Auto_Check_Emails", "Delete_Remote_Email", "Check_For_Junk_Emails",
                                 "Check_For_Bad_Names", "Translate_Product_Aliases"}) {
            QVERIFY2(!settings.value(flag).isNull(), flag);
            QCOMPARE(settings.value(flag).toInt(), 0);
        }
        QVERIFY(settings.value("Compression_Counter").isNull());
        QVERIFY(settings.value("Backup_Date").isNull());
        QCOMPARE(Db_Text(settings, "SMTP_Server"), QString("NetSMTPServer"));
        QVERIFY(Db_Text(settings, "Cc_Address").isEmpty());
        QVERIFY(Db_Text(settings, "Furrowline_Password").isEmpty());

        const QSqlRecord birthday =
            db.Select_First("SELECT * FROM emailformats WHERE FormatID = 'Birthday'");
        QVERIFY(!birthday.isEmpty());
        QVERIFY(Db_Text(birthday, "EmailSubject").contains("[Firstname]"));
        QVERIFY(Db_Text(birthday, "EmailMessage").contains("\r\n"));
        QCOMPARE(db.Scalar("SELECT count(*) FROM emailformats").toInt(), 1);

        const QSqlRecord quote =
            db.Select_First("SELECT * FROM QuotesTemplates WHERE Quote_Type = 'Product'");
        QVERIFY(!quote.isEmpty());
        for (const char* field : {"Subject", "Intro_Message", "Message_Delimiter", "Disclaimer"})
            QVERIFY2(!Db_Text(quote, field).isEmpty(), field);
        QVERIFY(Db_Text(quote, "Quote_Template").contains("[Catalog_Product]"));
        QVERIFY(Db_Text(quote, "Quote_Template").contains("[Price]"));
    }

    void keys_are_never_given_out_twice_data()
    {
        QTest::addColumn<QString>("insert");
        QTest::addColumn<QString>("table");
        QTest::newRow("Contacts") << "INSERT INTO Contacts (FirstName) VALUES ('x')" << "Contacts";
        QTest::newRow("Eventhistory") << "INSERT INTO Eventhistory (ContactID) VALUES (1)" << "Eventhistory";
        QTest::newRow("Outbox") << "INSERT INTO Outbox (Out_Contact_ID) VALUES (1)" << "Outbox";
        QTest::newRow("Outbox_Attachments") << "INSERT INTO Outbox_Attachments (Outbox_ID) VALUES (1)"
                                            << "Outbox_Attachments";
        QTest::newRow("NewEmails") << "INSERT INTO NewEmails (Email_Subject) VALUES ('x')" << "NewEmails";
        QTest::newRow("JunkEmails") << "INSERT INTO JunkEmails (Email) VALUES ('x')" << "JunkEmails";
        QTest::newRow("JunkNames") << "INSERT INTO JunkNames (Name) VALUES ('x')" << "JunkNames";
        QTest::newRow("EmailContactImports") << "INSERT INTO EmailContactImports (Name_Of_Site) VALUES ('x')"
                                             << "EmailContactImports";
        QTest::newRow("EmailImportFieldsInfo")
            << "INSERT INTO EmailImportFieldsInfo (Email_Import_ID) VALUES (1)" << "EmailImportFieldsInfo";
    }
    void keys_are_never_given_out_twice()
    {
        QFETCH(QString, insert);
        QFETCH(QString, table);
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Insert(insert);
        const qint64 last = db.Insert(insert);
        db.Execute("DELETE FROM " + table + " WHERE ID = ?", {last});
        QVERIFY(db.Insert(insert) > last);   // the deleted row's id stays used
    }

    void text_compares_without_regard_to_case_and_look_ups_use_their_index_data()
    {
        QTest::addColumn<QString>("insert");
        QTest::addColumn<QString>("look_up");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("index");
        QTest::newRow("contact by address") << "INSERT INTO Contacts (Email) VALUES (?)"
                                            << "SELECT ID FROM Contacts WHERE Email = ?"
                                            << "Ann@Example.com" << "Contacts_Email";
        QTest::newRow("junk address") << "INSERT INTO JunkEmails (Email) VALUES (?)"
                                      << "SELECT ID FROM JunkEmails WHERE Email = ?"
                                      << "Spam@Example.com" << "JunkEmails_Email";
        QTest::newRow("template name") << "INSERT INTO emailformats (FormatID) VALUES (?)"
                                       << "SELECT ID FROM emailformats WHERE FormatID = ?"
                                       << "Follow Up" << "emailformats_FormatID";
        QTest::newRow("import source") << "INSERT INTO ContactSources (Name_Of_Site) VALUES (?)"
                                       << "SELECT ID FROM ContactSources WHERE Name_Of_Site = ?"
                                       << "Lead Site" << "ContactSources_Name";
        QTest::newRow("product") << "INSERT INTO Products (Product) VALUES (?)"
                                 << "SELECT ID FROM Products WHERE Product = ?" << "Truck"
                                 << "Products_Product";
    }
    void text_compares_without_regard_to_case_and_look_ups_use_their_index()
    {
        QFETCH(QString, insert);
        QFETCH(QString, look_up);
        QFETCH(QString, value);
        QFETCH(QString, index);
        Test_Program_Folder folder;
        Database db = folder.Db();
        const qint64 id = db.Insert(insert, {value});
        QCOMPARE(db.Scalar(look_up, {value.toUpper()}).toLongLong(), id);
        QCOMPARE(db.Scalar(look_up, {value.toLower()}).toLongLong(), id);
        QString plan;
        for (const QSqlRecord& row : db.Select("EXPLAIN QUERY PLAN " + look_up, {value}))
            plan += row.value("detail").toString() + "\n";
        QVERIFY2(plan.contains(index), qPrintable(plan));
    }

    void message_ids_compare_exactly_and_use_their_index()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Insert("INSERT INTO Eventhistory (ContactID, Event_Unique_ID) VALUES (1, ?)", {"<AbC@x>"});
        db.Insert("INSERT INTO NewEmails (Email_Unique_ID) VALUES (?)", {"<AbC@x>"});
        for (const QString table : {"Eventhistory", "NewEmails"}) {
            const QString column = table == "NewEmails" ? "Email_Unique_ID" : "Event_Unique_ID";
            const QString sql = "SELECT count(*) FROM " + table + " WHERE " + column + " = ?";
            QCOMPARE(db.Scalar(sql, {"<AbC@x>"}).toInt(), 1);
            QCOMPARE(db.Scalar(sql, {"<abc@x>"}).toInt(), 0);
            QString plan;
            for (const QSqlRecord& row : db.Select("EXPLAIN QUERY PLAN " + sql, {"<AbC@x>"}))
                plan += row.value("detail").toString();
            QVERIFY2(plan.contains("INDEX"), qPrintable(plan));
        }
    }

    void new_rows_get_the_defaults_and_flags_are_never_null()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        const qint64 contact = db.Insert("INSERT INTO Contacts (FirstName) VALUES ('Ann')");
        const QSqlRecord row = db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {contact});
        for (const char* flag : {"New_Contact", "Pending_Events_To_Read", "Stop_Timeline_Action",
                                 "Finished_Timeline_Execution"}) {
            QVERIFY2(!row.value(flag).isNull(), flag);
            QCOMPARE(row.value(flag).toInt(), 0);
        }
        QVERIFY_THROWS_EXCEPTION(Database_Error,
                                 db.Execute("UPDATE Contacts SET New_Contact = ? WHERE ID = ?",
                                            {QVariant(), contact}));

        const QSqlRecord source = db.Select_First(
            "SELECT * FROM ContactSources WHERE ID = ?",
            {db.Insert("INSERT INTO ContactSources (Name_Of_Site) VALUES ('Site')")});
        QCOMPARE(Db_Text(source, "Type_Of_Source"), QString("Local File"));
        QCOMPARE(Db_Text(source, "Field_Delimiter"), QString("Comma"));
        QCOMPARE(Db_Text(source, "From_System"), QString("MS-Windows"));
        QCOMPARE(source.value("Automatically_Import").toInt(), 0);
        QCOMPARE(source.value("Delete_Remote_File_When_Done").toInt(), 0);
        QCOMPARE(source.value("Firstname_Position").toInt(), 1);
        QCOMPARE(source.value("MiddleInitial_Position").toInt(), 2);
        QCOMPARE(source.value("Lastname_Position").toInt(), 3);
        QCOMPARE(source.value("Email_Position").toInt(), 4);
        QCOMPARE(source.value("Referred_By_Position").toInt(), 0);
        QCOMPARE(source.value("Size_Of_Engine_Position").toInt(), 0);

        const QSqlRecord filter = db.Select_First(
            "SELECT * FROM EmailContactImports WHERE ID = ?",
            {db.Insert("INSERT INTO EmailContactImports (Name_Of_Site) VALUES ('Site')")});
        QCOMPARE(filter.value("Search_String_On_Subject_Line").toString(), QString(""));
        QVERIFY(!filter.value("Search_String_On_Subject_Line").isNull());
        QVERIFY(filter.value("Test_Pattern").isNull());
    }

    void a_product_with_workflow_steps_can_be_neither_renamed_nor_deleted()
    {
        Test_Program_Folder folder;
        Database db = folder.Db();
        db.Insert("INSERT INTO Products (Product) VALUES ('Truck')");
        db.Insert("INSERT INTO Products (Product) VALUES ('Van')");
        db.Insert("INSERT INTO Events (Product, EventID) VALUES ('Truck', 1)");
        QVERIFY_THROWS_EXCEPTION(Database_Error,
                                 db.Execute("UPDATE Products SET Product = 'Lorry' WHERE Product = 'Truck'"));
        QVERIFY_THROWS_EXCEPTION(Database_Error,
                                 db.Execute("DELETE FROM Products WHERE Product = 'Truck'"));
        QCOMPARE(db.Execute("UPDATE Products SET Product = 'Minivan' WHERE Product = 'Van'"), 1);
        QCOMPARE(db.Execute("DELETE FROM Products WHERE Product = 'Minivan'"), 1);
        QCOMPARE(db.Scalar("SELECT count(*) FROM Products WHERE Product = 'Truck'").toInt(), 1);
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

    void a_real_wait_ends_soon_after_its_condition_holds()
    {
        // Nothing wakes this wait: the condition turns true on a timer.
        bool done = false;
        QTimer::singleShot(50, [&] { done = true; });
        QElapsedTimer real;
        real.start();
        QVERIFY(Wait_Until([&] { return done; }, 10));
        QVERIFY2(real.elapsed() < 600, qPrintable(QString::number(real.elapsed())));
    }

    void work_run_letting_events_runs_aside_and_hands_back_its_failure()
    {
        // The work ends only once an event of this thread was handled.
        std::atomic<bool> handled{false};
        QTimer::singleShot(0, [&] { handled = true; });
        std::thread::id ran_on;
        Run_Letting_Events([&] {
            ran_on = std::this_thread::get_id();
            QElapsedTimer waited;
            waited.start();
            while (!handled && waited.elapsed() < 10000)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        QVERIFY(handled);
        QVERIFY(ran_on != std::this_thread::get_id());
        QVERIFY_THROWS_EXCEPTION(Database_Error,
                                 Run_Letting_Events([] { throw Database_Error("disk gone"); }));
        // Off the application's thread the work runs where it is asked for.
        std::thread::id asked_on, done_on;
        std::thread other([&] {
            asked_on = std::this_thread::get_id();
            Run_Letting_Events([&] { done_on = std::this_thread::get_id(); });
        });
        other.join();
        QVERIFY(done_on == asked_on);
    }
};

QTEST_MAIN(Database_Test)
#include "tst_database.moc"
