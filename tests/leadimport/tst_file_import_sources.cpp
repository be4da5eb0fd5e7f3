#include <QtTest>

#include "File_Import.h"
#include "Ftp_Server.h"
#include "Import_Source.h"
#include "Inet.h"
#include "Lead_Sources.h"
#include "Test_Support.h"

namespace {

const QString Closing_Message = "All import sources have been integrated. \r\nRequery your current contact group "
                                "to get an updated listing";

} // namespace

class File_Import_Sources_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_local_source_is_merged_and_deleted_as_it_says_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("delete_flag");
        QTest::addColumn<int>("contacts");
        QTest::addColumn<bool>("file_kept");
        QTest::addColumn<bool>("read_only");
        const QByteArray two = "Ann,,Cole,ann@example.com\r\nBob,,Doe,bob@example.com\r\n";
        const QByteArray forty_one = "Ann,,Cole,ann@example.com\r\n" + QByteArray(40, ',') + "\r\n";
        QTest::newRow("kept without the flag") << two << false << 3 << true << false;
        QTest::newRow("deleted with the flag") << two << true << 3 << false << false;
        QTest::newRow("deleted when every line was discarded")
            << QByteArray("Old,,Lead,old@example.com\r\n") << true << 1 << false << false;
        QTest::newRow("kept after an aborted merge") << forty_one << true << 2 << true << false;
        QTest::newRow("a read-only file is not deleted by force") << two << true << 3 << true << true;
    }
    void a_local_source_is_merged_and_deleted_as_it_says()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, delete_flag);
        QFETCH(int, contacts);
        QFETCH(bool, file_kept);
        QFETCH(bool, read_only);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Database db = folder.Db();
        db.Execute("INSERT INTO Contacts (FirstName, MiddleInitial, LastName, Email) "
                   "VALUES ('Old', '', 'Lead', 'old@example.com')");
        const QString path = folder.Write_File("leads in/today's leads.csv", content);
        Add_Contact_Source(db, "Site", {{"Type_Of_Source", "Local File"}, {"Path_For_File", path},
                                        {"Delete_Remote_File_When_Done", delete_flag}});
        if (read_only)
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);

        Import_From_Source("Site");
        QCOMPARE(Contact_Count(db), contacts);
        QCOMPARE(QFile::exists(path), file_kept);
        if (read_only)
            QCOMPARE(dialogs.Texts(), QStringList{"The file " + path + " could not be deleted."});
        // The contact list is left alone: the user re-selects the group.
        QCOMPARE(window.contact_list_refreshes, 0);
    }

    void a_missing_local_file_is_reported_and_changes_nothing()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Database db = folder.Db();
        const QString path = folder.Path("missing.csv");
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}, {"Delete_Remote_File_When_Done", true}});
        Import_From_Source("Site");
        QCOMPARE(dialogs.Texts(), QStringList{"File: " + path + " does not exits."});
        QCOMPARE(Contact_Count(db), 0);
        QVERIFY(window.history.isEmpty());
    }

    void other_types_and_unknown_names_do_nothing()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Database db = folder.Db();
        const QString path = folder.Write_File("leads.csv", "Ann,,Cole,ann@example.com\r\n");
        Add_Contact_Source(db, "Site", {{"Type_Of_Source", "local file"}, {"Path_For_File", path}});
        Import_From_Source("Site");
        Import_From_Source("No Such Site");
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(Contact_Count(db), 0);
        QVERIFY(QFile::exists(path));
    }

    void a_tab_file_from_a_unix_system()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        Add_Contact_Source(db, "Tabs", {{"Path_For_File", Fixture_Path("leadfiles/tab_unix.txt")},
                                        {"Field_Delimiter", "Tab"}, {"From_System", "Linux"}});
        Import_From_Source("Tabs");
        QCOMPARE(Contact_Keys(db), (QStringList{"Ann|B|Cole|ann@example.com", "Bob||Doe|bob@example.com"}));
        QVERIFY(QFile::exists(Fixture_Path("leadfiles/tab_unix.txt")));
    }

    void an_import_is_not_started_over_a_running_one()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        QByteArray first, second;
        for (int i = 0; i < 3 * Merge_Batch_Size; ++i) {
            first += QString("A%1,,B%1,a%1@example.com\r\n").arg(i).toUtf8();
            second += QString("C%1,,D%1,c%1@example.com\r\n").arg(i).toUtf8();
        }
        Add_Contact_Source(db, "First", {{"Path_For_File", folder.Write_File("first.csv", first)}});
        Add_Contact_Source(db, "Second", {{"Path_For_File", folder.Write_File("second.csv", second)}});
        // The user picks Import Now again while the first import hands out events.
        QTimer::singleShot(0, [] { Import_From_Source("Second"); });
        Import_From_Source("First");
        QCOMPARE(dialogs.Texts(), QStringList{"A file import is already running. Please wait until it has finished."});
        QCOMPARE(Contact_Count(db), 3 * Merge_Batch_Size);
        QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts WHERE Import_Source = 'First' AND FirstName LIKE 'A%'")
                     .toInt(),
                 3 * Merge_Batch_Size);
        Import_From_Source("Second");
        QCOMPARE(Contact_Count(db), 6 * Merge_Batch_Size);
    }

    void an_automatic_import_is_not_started_over_a_running_one()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        QByteArray first;
        for (int i = 0; i < 3 * Merge_Batch_Size; ++i)
            first += QString("A%1,,B%1,a%1@example.com\r\n").arg(i).toUtf8();
        Add_Contact_Source(db, "First", {{"Path_For_File", folder.Write_File("first.csv", first)},
                                         {"Automatically_Import", true}});
        Add_Contact_Source(db, "Second", {{"Path_For_File", folder.Write_File("second.csv", "C,,D,c@x\r\n")},
                                          {"Automatically_Import", true}});
        // Ctrl+I again while the first run hands out events: said once, not called done.
        QTimer::singleShot(0, [] { Automatic_File_Import(); });
        Automatic_File_Import();
        QCOMPARE(dialogs.Texts(), (QStringList{"A file import is already running. Please wait until it has finished.",
                                               Closing_Message}));
        QCOMPARE(Contact_Count(db), 3 * Merge_Batch_Size + 1);
    }

    void automatic_import_without_sources_says_so()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        Add_Contact_Source(db, "Manual", {{"Path_For_File", folder.Write_File("m.csv", "A,,B,c@d\r\n")},
                                          {"Automatically_Import", false}});
        Automatic_File_Import();
        QCOMPARE(dialogs.Texts(), QStringList{"There are no Import Sources set to automatic import."});
        QCOMPARE(Contact_Count(db), 0);
    }

    void automatic_import_goes_on_after_a_failing_source_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing local file") << "missing" << "does not exits.";
        QTest::newRow("refusing FTP server") << "ftp" << "Could not connect";
        QTest::newRow("failing database write") << "write" << "Error in Merge: ";
    }
    void automatic_import_goes_on_after_a_failing_source()
    {
        QFETCH(QString, failure);
        QFETCH(QString, message);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Inet::Set_Time_Limits(2, 2);
        Database db = folder.Db();
        const QString bad_path = failure == "missing" ? folder.Path("missing.csv")
                                                      : folder.Write_File("bad.csv", "Bad,,Lead,bad@x\r\n");
        QVariantMap bad{{"Path_For_File", bad_path}, {"Automatically_Import", true},
                        {"Delete_Remote_File_When_Done", true}};
        if (failure == "ftp") {
            bad.insert({{"Type_Of_Source", "FTP"}, {"Domain_Name", QString("127.0.0.1:%1").arg(Closed_Port())},
                        {"Path_For_File", "bad.csv"}, {"Username", "u"}, {"Password", "p"}});
        }
        if (failure == "write")
            db.Execute("CREATE TRIGGER No_Bad BEFORE INSERT ON Contacts WHEN NEW.Import_Source = 'Bad Site' "
                       "BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
        Add_Contact_Source(db, "Bad Site", bad);
        Add_Contact_Source(db, "Manual", {{"Path_For_File", folder.Write_File("m.csv", "Man,,Ual,man@x\r\n")}});
        const QString good = folder.Write_File("good.csv", "Ann,,Cole,ann@x\r\nBob,,Doe,bob@x\r\n");
        Add_Contact_Source(db, "Good Site", {{"Path_For_File", good}, {"Automatically_Import", true}});

        Automatic_File_Import();
        QCOMPARE(Contact_Keys(db), (QStringList{"Ann||Cole|ann@x", "Bob||Doe|bob@x"}));
        QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts WHERE Import_Source = 'Good Site'").toInt(), 2);
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY2(dialogs.messages.at(0).text.contains(message), qPrintable(dialogs.messages.at(0).text));
        QCOMPARE(dialogs.messages.at(1).text, Closing_Message);
        if (failure != "missing" && failure != "ftp")
            QVERIFY(QFile::exists(bad_path));   // nothing merged: the lead file stays
        QCOMPARE(window.contact_list_refreshes, 0);
    }
};

QTEST_MAIN(File_Import_Sources_Test)
#include "tst_file_import_sources.moc"
