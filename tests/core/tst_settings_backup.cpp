#include <QtTest>

#include "Backup.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Settings.h"
#include "Test_Support.h"

namespace G = GlobalVariables;

namespace {

const QString Missing_Libraries = "Your system is missing Microsoft's Data Access Libraries.";

// The shipped table refuses null flags; a hand-edited or damaged database may not.
void Allow_Null_Flags(Database& db)
{
    db.Execute("CREATE TABLE Settings_Copy AS SELECT * FROM Settings");
    db.Execute("DROP TABLE Settings");
    db.Execute("ALTER TABLE Settings_Copy RENAME TO Settings");
}

QByteArray File_Bytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QVariant Counter(const QString& database)
{
    const QVariant value = Database(database).Scalar("SELECT Compression_Counter FROM Settings");
    Database::Close_All();
    return value;
}

} // namespace

class Settings_Backup_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void settings_are_copied()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute(
            "UPDATE Settings SET Backup_Dir = ?, Furrowline_Password = ?, Cc_Address = ?, "
            "Enabled_Cc_Redirection = 1, SMTP_Server = ?, DefaultEmailName = ?, "
            "DefaultEmailAddress = ?, DefaultContactName = ?, Automatically_Send_Emails = 1, "
            "AutoSend_Birthdate_Emails = 0, Confirm_Email_Deletes = 1, Delete_Remote_Email = 1, "
            "Check_For_Bad_Names = 1",
            {"/tmp/bk", "secret", "cc@example.com", "mail.example.com", "Sam Seller",
             "sam@example.com", "Friend"});
        QSignalSpy changed(&Settings_Changes(), &Settings_Notifier::Settings_Changed);
        QVERIFY(Load_Settings());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(Current_Settings().Backup_Dir, QString("/tmp/bk"));
        QCOMPARE(Current_Settings().Furrowline_Password, QString("secret"));
        QCOMPARE(Current_Settings().Cc_Address, QString("cc@example.com"));
        QVERIFY(Current_Settings().Enabled_Cc_Redirection);
        QCOMPARE(Current_Settings().SMTP_Server, QString("mail.example.com"));
        QCOMPARE(Current_Settings().DefaultEmailName, QString("Sam Seller"));
        QCOMPARE(Current_Settings().DefaultEmailAddress, QString("sam@example.com"));
        QCOMPARE(Current_Settings().DefaultContactName, QString("Friend"));
        QVERIFY(Current_Settings().Automatically_Send_Emails);
        QVERIFY(!Current_Settings().AutoSend_Birthdate_Emails);
        QVERIFY(Current_Settings().Confirm_Email_Deletes);
        QVERIFY(Current_Settings().Delete_Remote_Email);
        QVERIFY(Current_Settings().Check_For_Bad_Names);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void null_texts_load_empty_and_a_null_cc_address_keeps_the_old_copy()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        db.Execute("UPDATE Settings SET Cc_Address = ?, SMTP_Server = ?", {"first@example.com", "smtp"});
        QVERIFY(Load_Settings());
        QCOMPARE(Current_Settings().Cc_Address, QString("first@example.com"));

        db.Execute("UPDATE Settings SET Backup_Dir = NULL, Furrowline_Password = NULL, "
                   "Admin_Password = NULL, Cc_Address = NULL, SMTP_Server = NULL, "
                   "DefaultEmailName = NULL, DefaultEmailAddress = NULL, DefaultContactName = NULL");
        QVERIFY(Load_Settings());
        QCOMPARE(Current_Settings().Cc_Address, QString("first@example.com"));
        QCOMPARE(Current_Settings().SMTP_Server, QString(""));
        QVERIFY(!Current_Settings().SMTP_Server.isNull());
        QCOMPARE(Current_Settings().Backup_Dir, QString(""));
        QCOMPARE(Current_Settings().Furrowline_Password, QString(""));
        QCOMPARE(Current_Settings().DefaultContactName, QString(""));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void failed_loads_end_through_the_missing_libraries_message_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("null flag") << "null flag";
        QTest::newRow("no Settings table") << "no table";
        QTest::newRow("no settings row") << "no row";
        QTest::newRow("missing field") << "missing field";
        QTest::newRow("no database file") << "no file";
    }
    void failed_loads_end_through_the_missing_libraries_message()
    {
        QFETCH(QString, damage);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        {
            Database db = folder.Db();
            if (damage == "null flag") {
                Allow_Null_Flags(db);
                db.Execute("UPDATE Settings SET Delete_Remote_Email = NULL");
            } else if (damage == "no table") {
                db.Execute("DROP TABLE Settings");
            } else if (damage == "no row") {
                db.Execute("DELETE FROM Settings");
            } else if (damage == "missing field") {
                db.Execute("ALTER TABLE Settings DROP COLUMN Check_For_Bad_Names");
            }
        }
        Database::Close_All();
        if (damage == "no file")
            G::Database_Path = folder.Path("elsewhere.mdb");
        Update_Settings([](Program_Settings& s) { s.SMTP_Server = "before.example.com"; });
        QSignalSpy changed(&Settings_Changes(), &Settings_Notifier::Settings_Changed);
        QVERIFY(!Load_Settings());
        // A failed load changes no setting and tells nobody.
        QCOMPARE(Current_Settings().SMTP_Server, QString("before.example.com"));
        QCOMPARE(changed.size(), 0);
        QCOMPARE(dialogs.Texts(), QStringList{Missing_Libraries});
        QCOMPARE(dialogs.messages.first().style & 0x0F, int(vbOKOnly));
        QVERIFY(dialogs.messages.first().title.isEmpty());   // the program's title
    }

    void backup_goes_to_the_backup_folder_or_the_program_folder_data()
    {
        QTest::addColumn<QString>("backup_dir");   // "<made>": a folder that exists
        QTest::addColumn<bool>("in_backup_dir");
        QTest::newRow("existing folder") << "<made>" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("missing folder") << "/nonexistent/brackenlead-backups" << false;
    }
    void backup_goes_to_the_backup_folder_or_the_program_folder()
    {
        QFETCH(QString, backup_dir);
        QFETCH(bool, in_backup_dir);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15)));
        QTemporaryDir backups;
        Update_Settings([&](Program_Settings& s) { s.Backup_Dir = backup_dir == "<made>" ? backups.path() : backup_dir; });
        const QString target = in_backup_dir ? backups.path() + "/data2000.mdb"
                                             : folder.Path("databackup.mdb");
        // An older copy is overwritten.
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an old backup");
        old.close();

        folder.Db().Execute("INSERT INTO Contacts (FirstName) VALUES ('Kept')");
        Database::Close_All();
        const QByteArray before = File_Bytes(folder.Database_File());

        Backup_And_Compact_Database();

        QCOMPARE(File_Bytes(target), before);   // the database as it was before this start
        QVERIFY(in_backup_dir || !QFile::exists(backups.path() + "/data2000.mdb"));
        QVERIFY(!in_backup_dir || !QFile::exists(folder.Path("databackup.mdb")));
        Database db = folder.Db();
        QCOMPARE(Db_To_Date(db.Scalar("SELECT Backup_Date FROM Settings")), clock.Now());
        QCOMPARE(db.Scalar("SELECT Compression_Counter FROM Settings").toInt(), 1);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void every_sixth_start_compacts_data()
    {
        QTest::addColumn<QVariant>("counter");
        // A compaction file left behind by an earlier start: its content, none when empty.
        QTest::addColumn<QByteArray>("left_over");
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("compacts");
        QTest::newRow("new database") << QVariant() << QByteArray() << 1 << false;
        QTest::newRow("0 -> 1") << QVariant(0) << QByteArray() << 1 << false;
        QTest::newRow("4 -> 5") << QVariant(4) << QByteArray() << 5 << false;
        QTest::newRow("5 compacts") << QVariant(5) << QByteArray() << 0 << true;
        QTest::newRow("7 compacts") << QVariant(7) << QByteArray() << 0 << true;
        // A compaction killed on its way: the next start does it again.
        QTest::newRow("left over at 0") << QVariant(0) << QByteArray("left over") << 0 << true;
        QTest::newRow("left over at 3") << QVariant(3) << QByteArray("left over") << 0 << true;
        QTest::newRow("left over, due") << QVariant(5) << QByteArray("left over") << 0 << true;
        QTest::newRow("half a database left over") << QVariant(1) << QByteArray("SQLite format 3\0\x10\0", 18) << 0
                                                   << true;
    }
    void every_sixth_start_compacts()
    {
        QFETCH(QVariant, counter);
        QFETCH(QByteArray, left_over);
        QFETCH(int, stored);
        QFETCH(bool, compacts);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        {
            Database db = folder.Db();
            db.Execute("UPDATE Settings SET Compression_Counter = ?", {counter});
            db.Execute("INSERT INTO Contacts (FirstName, Email) VALUES ('Kept', 'kept@example.com')");
            // A large row deleted again leaves free pages only compaction gives back.
            db.Execute("INSERT INTO Contacts (FirstName, Notes) VALUES ('Gone', ?)",
                       {QString(2 * 1024 * 1024, QChar('x'))});
            db.Execute("DELETE FROM Contacts WHERE FirstName = 'Gone'");
        }
        Database::Close_All();
        if (!left_over.isEmpty()) {
            folder.Write_File("databck.mdb", left_over);
            folder.Write_File("databck.mdb-journal", "a journal of the old copy");
        }
        const qint64 size_before = QFileInfo(folder.Database_File()).size();

        Backup_And_Compact_Database();

        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("\n")));
        QCOMPARE(Counter(folder.Database_File()).toInt(), stored);
        const qint64 size_after = QFileInfo(folder.Database_File()).size();
        if (compacts)
            QVERIFY2(size_after < size_before / 4, qPrintable(QString::number(size_after)));
        else
            QVERIFY(size_after >= size_before);
        QVERIFY(!QFile::exists(folder.Path("databck.mdb")));
        QVERIFY(!QFile::exists(folder.Path("databck.mdb-journal")));
        Database db = folder.Db();
        QCOMPARE(db.Scalar("SELECT FirstName FROM Contacts WHERE Email = 'kept@example.com'").toString(),
                 QString("Kept"));
        QCOMPARE(db.Scalar("PRAGMA integrity_check").toString(), QString("ok"));
        QCOMPARE(Db_To_Date(db.Scalar("SELECT Backup_Date FROM Settings")), clock.Now());
        Database::Close_All();

        // Done, the count goes on from there.
        Backup_And_Compact_Database();
        QCOMPARE(Counter(folder.Database_File()).toInt(), stored < 5 ? stored + 1 : 0);
    }

    void six_starts_from_a_new_database_compact_once()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        QList<int> counters;
        for (int start = 1; start <= 7; ++start) {
            Backup_And_Compact_Database();
            counters << Counter(folder.Database_File()).toInt();
        }
        QCOMPARE(counters, (QList<int>{1, 2, 3, 4, 5, 0, 1}));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void a_failed_compaction_leaves_the_database_in_place()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("UPDATE Settings SET Compression_Counter = 5");
        folder.Db().Execute("INSERT INTO Contacts (FirstName) VALUES ('Kept')");
        Database::Close_All();
        // The compaction file cannot be cleared away: a folder with something in it.
        folder.Write_File("databck.mdb/inside.txt", "x");

        Backup_And_Compact_Database();

        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.startsWith("The database could not be compacted: "));
        QVERIFY(dialogs.messages.first().text.contains("left as it was"));
        Database db = folder.Db();
        QCOMPARE(db.Scalar("SELECT FirstName FROM Contacts").toString(), QString("Kept"));
        QCOMPARE(db.Scalar("SELECT Compression_Counter FROM Settings").toInt(), 0);
        QVERIFY(QFileInfo(folder.Path("databck.mdb")).isDir());
    }

    void a_backup_that_cannot_be_written_is_reported_and_the_start_goes_on()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        // databackup.mdb is a folder: the copy cannot replace it.
        folder.Write_File("databackup.mdb/inside.txt", "x");
        Backup_And_Compact_Database();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.startsWith("The database could not be backed up to "));
        QCOMPARE(Counter(folder.Database_File()).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(Settings_Backup_Test)
#include "tst_settings_backup.moc"
