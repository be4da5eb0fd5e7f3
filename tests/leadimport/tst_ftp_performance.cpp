#include <QElapsedTimer>
#include <QSet>
#include <QtTest>

#include "Ftp_Server.h"
#include "Import_Source.h"
#include "Lead_Sources.h"
#include "Test_Support.h"

class Ftp_Performance_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ten_thousand_leads_by_ftp_in_a_few_seconds()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        window.keep_history = false;
        Database db = folder.Db();
        {
            // A database with history: the checks must find their rows by index.
            Database_Transaction fill(db);
            for (int i = 0; i < 20000; ++i)
                db.Execute("INSERT INTO Contacts (FirstName, MiddleInitial, LastName, Email) VALUES (?, '', ?, ?)",
                           {QString("Old%1").arg(i), QString("Known%1").arg(i), QString("old%1@example.com").arg(i)});
            for (int i = 0; i < 100; ++i)
                db.Execute("INSERT INTO JunkEmails (Email) VALUES (?)", {QString("junk%1@example.com").arg(i)});
            fill.Commit();
        }
        // 10,000 lines: 9,700 new leads, 200 already known (other case), 100 junk.
        QByteArray content;
        for (int i = 0; i < 10000; ++i) {
            if (i % 50 == 7)
                content += QString("OLD%1,,KNOWN%1,OLD%1@Example.com,Main St %1,Springfield,IL\r\n").arg(i).toUtf8();
            else if (i % 100 == 13)
                content += QString("Sam%1,,Spam,JUNK%2@example.com,x,y,z\r\n").arg(i).arg(i / 100).toUtf8();
            else
                content += QString("First%1,Q,Last%1,lead%1@example.com,%1 Oak Ave,Portland,OR\r\n").arg(i).toUtf8();
        }
        Ftp_Server server;
        QVERIFY(server.Started());
        server.Write_File("leads/today.csv", content);
        Add_Contact_Source(db, "Big Site", {{"Type_Of_Source", "FTP"}, {"Domain_Name", server.Host()},
                                            {"Path_For_File", "leads/today.csv"}, {"Username", "leads"},
                                            {"Password", "secret"}, {"Automatically_Import", true},
                                            {"Delete_Remote_File_When_Done", true}, {"Address_Position", 5},
                                            {"City_Position", 6}, {"State_Position", 7}});

        // The window's own timer keeps ticking and sees the progress panel move.
        QElapsedTimer since_tick;
        qint64 longest_gap = 0;
        QSet<QString> progress_seen;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] {
            longest_gap = qMax(longest_gap, since_tick.restart());
            bool number = false;
            window.panels.value(5).toInt(&number);
            if (number)
                progress_seen << window.panels.value(5);
        });
        since_tick.start();
        ticker.start(20);
        QElapsedTimer timer;
        timer.start();
        Automatic_File_Import();
        const qint64 elapsed = timer.elapsed();
        longest_gap = qMax(longest_gap, since_tick.elapsed());
        ticker.stop();
        qInfo("10,000 lines imported in %lld ms; longest pause of the window %lld ms; %lld progress values seen",
              elapsed, longest_gap, qint64(progress_seen.size()));

        QCOMPARE(dialogs.messages.size(), 1);   // only the closing message
        QVERIFY(dialogs.messages.first().text.startsWith("All import sources have been integrated."));
        QCOMPARE(Contact_Count(db), 20000 + 9700);
        QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts WHERE Import_Source = 'Big Site' AND New_Contact = 1 "
                           "AND City = 'Portland'")
                     .toInt(),
                 9700);
        QCOMPARE(window.panels.value(4), QString("9700 Records Merged"));
        QVERIFY(!server.Has_File("leads/today.csv"));
        QVERIFY2(elapsed < 20000, qPrintable(QString::number(elapsed)));
        QVERIFY2(longest_gap < 1000, qPrintable(QString::number(longest_gap)));
        QVERIFY2(progress_seen.size() >= 5, qPrintable(QString::number(progress_seen.size())));
        QCOMPARE(window.contact_list_refreshes, 0);
    }
};

QTEST_MAIN(Ftp_Performance_Test)
#include "tst_ftp_performance.moc"
