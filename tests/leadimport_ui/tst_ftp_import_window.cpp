// The download window over an FTP download: it shows what is fetched and a
// moving bar while the download waits, closing it gives the download up, and
// it is gone once the download has ended.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QtTest>

#include "FTP_Download.h"
#include "Ftp_Server.h"
#include "Import_Source.h"
#include "Inet.h"
#include "Lead_Sources.h"
#include "Test_Support.h"
#include "frmFTPImport.h"

namespace {

QVariantMap Ftp_Source(const Ftp_Server& server, const QString& remote)
{
    return {{"Type_Of_Source", "FTP"}, {"Domain_Name", server.Host()}, {"Path_For_File", remote},
            {"Username", "leads"}, {"Password", "secret"}, {"Delete_Remote_File_When_Done", false}};
}

frmFTPImport* Shown_Download_Window()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<frmFTPImport*>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

} // namespace

class Ftp_Import_Window_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The test folder starts the process afresh: each test installs the window after it.
    void init() { Inet::Set_Time_Limits(30, 60); }

    void a_finished_download_leaves_no_window()
    {
        Test_Program_Folder folder;
        Install_Download_Window();
        Scripted_Dialogs dialogs;
        Ftp_Server server;
        QVERIFY(server.Started());
        server.Write_File("leads.csv", "Ann,,Cole,ann@example.com\r\n");
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site", Ftp_Source(server, "leads.csv"));
        bool shown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] { shown = shown || Shown_Download_Window(); });
        watch.start(0);
        Import_From_Source("FTP Site");
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("; ")));
        QCOMPARE(Contact_Count(db), 1);
        QVERIFY(shown);
        QVERIFY(!Shown_Download_Window());
    }

    void the_window_shows_the_file_and_a_moving_bar_while_the_download_waits()
    {
        Test_Program_Folder folder;
        Install_Download_Window();
        Scripted_Dialogs dialogs;
        Inet::Set_Time_Limits(2, 2);
        Ftp_Server server("leads", "secret", Ftp_Server::Mode::Stall_Retr);
        QVERIFY(server.Started());
        server.Write_File("leads.csv", "Ann,,Cole,ann@example.com\r\n");
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site", Ftp_Source(server, "leads.csv"));
        QString header;
        int progress = 0;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (frmFTPImport* window = Shown_Download_Window()) {
                header = window->windowTitle() + "|" + window->lblFTPImport_Header->text();
                progress = qMax(progress, window->ProgressBar1->value());
            }
        });
        watch.start(50);
        Import_From_Source("FTP Site");
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(header, QString("Contact Source FTP Import|FTP: Downloading File \nleads.csv"));
        QVERIFY(progress >= 1);
        QVERIFY(!Shown_Download_Window());
    }

    void the_progress_bar_runs_from_1_to_99()
    {
        FTP_Download download;
        frmFTPImport window(download);
        QCOMPARE(window.windowTitle(), QString("Contact Source FTP Import"));
        QCOMPARE(window.ProgressBar1->minimum(), 0);
        QCOMPARE(window.ProgressBar1->maximum(), 100);
        QVERIFY(window.Inet1 == download.Inet1);
        window.show();
        QVERIFY(window.ProgressBar1->isVisible());
        window.ProgressBar1->setValue(98);
        window.Step_Progress();
        QCOMPARE(window.ProgressBar1->value(), 99);
        Q_EMIT download.Progress_Step();
        QCOMPARE(window.ProgressBar1->value(), 1);
    }

    void closing_the_window_gives_up_the_download()
    {
        Test_Program_Folder folder;
        Install_Download_Window();
        Scripted_Dialogs dialogs;
        Ftp_Server server("leads", "secret", Ftp_Server::Mode::Silent);
        QVERIFY(server.Started());
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site", Ftp_Source(server, "leads.csv"));
        QTimer::singleShot(300, [] {
            if (frmFTPImport* window = Shown_Download_Window())
                window->close();
        });
        QElapsedTimer timer;
        timer.start();
        Import_From_Source("FTP Site");
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.first().text.contains("cancelled"), qPrintable(dialogs.messages.first().text));
        QCOMPARE(Contact_Count(db), 0);
    }
};

QTEST_MAIN(Ftp_Import_Window_Test)
#include "tst_ftp_import_window.moc"
