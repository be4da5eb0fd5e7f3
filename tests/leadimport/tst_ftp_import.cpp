#include <QDir>
#include <QElapsedTimer>
#include <QtTest>

#include "FTP_Download.h"
#include "File_Import.h"
#include "Ftp_Server.h"
#include "Import_Source.h"
#include "Inet.h"
#include "Lead_Sources.h"
#include "Random.h"
#include "Test_Support.h"

namespace {

const QByteArray Two_Leads = "Ann,,Cole,ann@example.com\r\nBob,,Doe,bob@example.com\r\n";

QStringList Data_Files(const Test_Program_Folder& folder)
{
    return QDir(folder.Path("data")).entryList(QDir::Files);
}

QVariantMap Ftp_Source(const Ftp_Server& server, const QString& remote, bool delete_remote = false)
{
    return {{"Type_Of_Source", "FTP"}, {"Domain_Name", server.Host()}, {"Path_For_File", remote},
            {"Username", "leads"}, {"Password", "secret"}, {"Delete_Remote_File_When_Done", delete_remote}};
}

} // namespace

class Ftp_Import_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Inet::Set_Time_Limits(30, 60); }

    void a_download_is_merged_and_its_copy_deleted_data()
    {
        QTest::addColumn<bool>("delete_remote");
        QTest::newRow("remote file kept") << false;
        QTest::newRow("remote file deleted") << true;
    }
    void a_download_is_merged_and_its_copy_deleted()
    {
        QFETCH(bool, delete_remote);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Ftp_Server server;
        QVERIFY(server.Started());
        server.Write_File("out/leads.csv", Two_Leads);
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site", Ftp_Source(server, "out/leads.csv", delete_remote));
        QVERIFY(!QFileInfo::exists(folder.Path("data")));

        Import_From_Source("FTP Site");
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("; ")));
        QCOMPARE(Contact_Keys(db), (QStringList{"Ann||Cole|ann@example.com", "Bob||Doe|bob@example.com"}));
        QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts WHERE Import_Source = 'FTP Site'").toInt(), 2);
        // The data folder was made for the copy, and the copy is gone after the merge.
        QVERIFY(QFileInfo(folder.Path("data")).isDir());
        QCOMPARE(Data_Files(folder), QStringList{});
        QCOMPARE(server.Has_File("out/leads.csv"), !delete_remote);
        QVERIFY(window.Was_Shown(3, "Importing FTP Site"));
        QCOMPARE(window.contact_list_refreshes, 0);
    }

    void blanks_and_special_characters_reach_the_server()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        const QString user = "lead user";
        const QString password = QString::fromUtf8("p@ss w:rd/%#?ü");
        Ftp_Server server(user, password);
        QVERIFY(server.Started());
        server.Write_File("new leads/a b&c #1%20.csv", Two_Leads);
        Database db = folder.Db();
        QVariantMap source = Ftp_Source(server, "/new leads/a b&c #1%20.csv", true);
        source.insert({{"Username", user}, {"Password", password}});
        Add_Contact_Source(db, "Odd Site", source);
        Import_From_Source("Odd Site");
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("; ")));
        QCOMPARE(Contact_Count(db), 2);
        QVERIFY(!server.Has_File("new leads/a b&c #1%20.csv"));
    }

    void transfer_failures_merge_and_delete_nothing_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("text");
        QTest::newRow("wrong password") << "wrong" << "leads.csv" << "refused the user name or password";
        QTest::newRow("missing remote file") << "secret" << "none.csv" << "not found on the FTP server";
    }
    void transfer_failures_merge_and_delete_nothing()
    {
        QFETCH(QString, password);
        QFETCH(QString, remote);
        QFETCH(QString, text);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Ftp_Server server;
        QVERIFY(server.Started());
        server.Write_File("leads.csv", Two_Leads);
        Database db = folder.Db();
        QVariantMap source = Ftp_Source(server, remote, true);
        source.insert("Password", password);
        Add_Contact_Source(db, "FTP Site", source);
        Import_From_Source("FTP Site");
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().title, QString("File transfer failed"));
        QVERIFY2(dialogs.messages.first().text.contains(text), qPrintable(dialogs.messages.first().text));
        QCOMPARE(Contact_Count(db), 0);
        QVERIFY(server.Has_File("leads.csv"));
        QCOMPARE(Data_Files(folder), QStringList{});
    }

    void a_server_that_stops_answering_ends_the_wait_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("accepts and says nothing") << int(Ftp_Server::Mode::Silent);
        QTest::newRow("stops answering at the download") << int(Ftp_Server::Mode::Stall_Retr);
    }
    void a_server_that_stops_answering_ends_the_wait()
    {
        QFETCH(int, mode);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Inet::Set_Time_Limits(2, 2);
        Ftp_Server server("leads", "secret", Ftp_Server::Mode(mode));
        QVERIFY(server.Started());
        server.Write_File("leads.csv", Two_Leads);
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site", Ftp_Source(server, "leads.csv"));

        // While it waits the download says what it fetches and keeps stepping the bar.
        QString header;
        int steps = 0;
        int finished = 0;
        Set_Download_Window([&](FTP_Download& download) {
            header = download.Header;
            connect(&download, &FTP_Download::Progress_Step, [&] { ++steps; });
            connect(&download, &FTP_Download::Finished, [&] { ++finished; });
        });
        QElapsedTimer timer;
        timer.start();
        Import_From_Source("FTP Site");
        QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().title, QString("File transfer failed"));
        QVERIFY2(dialogs.messages.first().text.contains("did not answer in time"),
                 qPrintable(dialogs.messages.first().text));
        QCOMPARE(header, QString("FTP: Downloading File \nleads.csv"));
        QVERIFY(steps >= 1);
        QCOMPARE(finished, 1);
        QCOMPARE(Contact_Count(db), 0);
        QCOMPARE(Data_Files(folder), QStringList{});
    }

    void a_null_parameter_is_reported()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site", {{"Type_Of_Source", "FTP"}, {"Domain_Name", "127.0.0.1"},
                                            {"Path_For_File", "leads.csv"}, {"Username", QVariant()},
                                            {"Password", ""}});
        Import_From_Source("FTP Site");
        QCOMPARE(dialogs.Texts(), QStringList{"Remote FTP Site has missing parameters"});
    }

    void an_unusable_address_is_an_ftp_error()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site", {{"Type_Of_Source", "FTP"}, {"Domain_Name", "user@host/dir"},
                                            {"Path_For_File", "leads.csv"}, {"Username", ""}, {"Password", ""}});
        Import_From_Source("FTP Site");
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.first().text.startsWith("Error on FTP: "), qPrintable(dialogs.messages.first().text));
    }

    void an_aborted_merge_keeps_the_copy_but_not_the_remote_file()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Ftp_Server server;
        QVERIFY(server.Started());
        server.Write_File("leads.csv", "Ann,,Cole,ann@example.com\r\n" + QByteArray(40, ',') + "\r\n");
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site", Ftp_Source(server, "leads.csv", true));
        Import_From_Source("FTP Site");
        QCOMPARE(Contact_Count(db), 1);
        QVERIFY(!server.Has_File("leads.csv"));
        const QStringList copies = Data_Files(folder);
        QCOMPARE(copies.size(), 1);
        QVERIFY(QRegularExpression("^ldata(1\\d{3}|2000)\\.txt$").match(copies.first()).hasMatch());
        // The only copy left is named, so the user can take the leads in.
        QCOMPARE(dialogs.Texts(), (QStringList{"Error in Merge. Max number of fields reached. Change Merge Field "
                                               "Settings to match input file.",
                                               "The downloaded leads of FTP Site are kept in "
                                                   + folder.Path("data/" + copies.first()) + "."}));
    }

    void the_download_name_is_drawn_until_free_and_the_draw_ends()
    {
        Test_Program_Folder folder;
        const QString data = folder.Path("data/");
        QDir().mkpath(data);
        Random_Seed(11);
        const QString first = Draw_Download_File_Name(data);
        QVERIFY(QRegularExpression("/data/ldata(1\\d{3}|2000)\\.txt$").match(first).hasMatch());
        folder.Write_File("data/" + QFileInfo(first).fileName(), "taken");
        Random_Seed(11);
        const QString second = Draw_Download_File_Name(data);
        QVERIFY(!second.isEmpty());
        QVERIFY(second != first);
        QVERIFY(!QFileInfo::exists(second));

        // Every name but one taken: the draw still finds it, and with none left it gives up.
        for (int n = 1000; n <= 2000; ++n)
            if (n != 1500)
                folder.Write_File(QString("data/ldata%1.txt").arg(n), "taken");
        QCOMPARE(Draw_Download_File_Name(data), data + "ldata1500.txt");
        folder.Write_File("data/ldata1500.txt", "taken");
        QCOMPARE(Draw_Download_File_Name(data), QString());

        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site", {{"Type_Of_Source", "FTP"}, {"Domain_Name", "127.0.0.1"},
                                            {"Path_For_File", "leads.csv"}, {"Username", ""}, {"Password", ""}});
        Import_From_Source("FTP Site");
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.startsWith("There is no free name for the download file"));
    }
};

QTEST_GUILESS_MAIN(Ftp_Import_Test)
#include "tst_ftp_import.moc"
