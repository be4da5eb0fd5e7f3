#include <QElapsedTimer>
#include <QSet>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "Find_Control.h"
#include "Ftp_Server.h"

#include "Database.h"
#include "Lead_Sources.h"
#include "List_View.h"
#include "Shown_Contact.h"
#include "Test_Support.h"
#include "frmContactSystem.h"

class File_Import_Menu_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_menu_saves_the_edit_and_imports_leaving_the_list()
    {
        Test_Program_Folder folder;
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const qint64 id = db.Insert("INSERT INTO Contacts (FirstName, MiddleInitial, LastName, Email) "
                                    "VALUES ('Old', '', 'Lead', 'old@example.com')");
        Add_Contact_Source(db, "Site", {{"Path_For_File", folder.Write_File("leads.csv",
                                                                            "Ann,,Cole,ann@example.com\r\n"
                                                                            "Bob,,Doe,bob@example.com\r\n")},
                                        {"Automatically_Import", true}});
        frmContactSystem window;
        window.Contact_On_Display->Setup_The_Contacts_Tree(window.Contacts_Where_Clause);
        QCOMPARE(Control<List_View>(&window, "ListContacts")->Row_Count(), 1);
        window.Contact_On_Display->Show_Current_Contact_Record(id);
        Control<QLineEdit>(&window, "txtfirstname")->setText("Edited");
        QVERIFY(window.Contact_On_Display->Modified());

        QVERIFY(Control<QAction>(&window, "mnuAutomaticFileImport")->isEnabled());
        Control<QAction>(&window, "mnuAutomaticFileImport")->trigger();
        QCOMPARE(db.Scalar("SELECT FirstName FROM Contacts WHERE ID = ?", {id}).toString(), QString("Edited"));
        QCOMPARE(Contact_Count(db), 3);
        // The list keeps what it showed until the group is selected again.
        QCOMPARE(Control<List_View>(&window, "ListContacts")->Row_Count(), 1);
        QCOMPARE(Control<QLineEdit>(&window, "txtfirstname")->text(), QString("Edited"));
        window.Contact_On_Display->Setup_The_Contacts_Tree(window.Contacts_Where_Clause);
        QCOMPARE(Control<List_View>(&window, "ListContacts")->Row_Count(), 3);
        QCOMPARE(Control<QLabel>(&window, "StatusBar1_Panel3")->text(), QString("File Merge Finished"));
        QCOMPARE(Control<QLabel>(&window, "StatusBar1_Panel4")->text(), QString("2 Records Merged"));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.startsWith("All import sources have been integrated."));
    }

    void ten_thousand_ftp_leads_with_the_window_responsive()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        QByteArray content;
        for (int i = 0; i < 10000; ++i)
            content += i % 100 == 5 ? QByteArray("Dup,,Lead,dup@example.com\r\n")
                                    : QString("First%1,,Last%1,lead%1@example.com\r\n").arg(i).toUtf8();
        Ftp_Server server;
        QVERIFY(server.Started());
        server.Write_File("today.csv", content);
        Add_Contact_Source(db, "Big Site", {{"Type_Of_Source", "FTP"}, {"Domain_Name", server.Host()},
                                            {"Path_For_File", "today.csv"}, {"Username", "leads"},
                                            {"Password", "secret"}, {"Automatically_Import", true}});
        db.Execute("INSERT INTO Contacts (FirstName, LastName, Email, Pending_Events_To_Read) "
                   "VALUES ('Pending', 'Reader', 'pending@example.com', 1)");
        frmContactSystem window;
        // The group shown is the pending contacts, which the import leaves alone.
        window.Contacts_Where_Clause = {"WHERE ((Contacts.Pending_Events_To_Read) = ?)", {true}};
        window.Contact_On_Display->Setup_The_Contacts_Tree(window.Contacts_Where_Clause);
        window.show();
        QElapsedTimer since_tick;
        qint64 longest_gap = 0;
        QSet<QString> progress_seen;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] {
            longest_gap = qMax(longest_gap, since_tick.restart());
            bool number = false;
            Control<QLabel>(&window, "StatusBar1_Panel5")->text().toInt(&number);
            if (number)
                progress_seen << Control<QLabel>(&window, "StatusBar1_Panel5")->text();
        });
        since_tick.start();
        ticker.start(20);
        QElapsedTimer timer;
        timer.start();
        Control<QAction>(&window, "mnuAutomaticFileImport")->trigger();
        const qint64 elapsed = timer.elapsed();
        longest_gap = qMax(longest_gap, since_tick.elapsed());
        ticker.stop();
        qInfo("%lld ms, longest pause %lld ms, %lld progress values", elapsed, longest_gap,
              qint64(progress_seen.size()));
        QCOMPARE(Contact_Count(db), 9902);
        QCOMPARE(Control<QLabel>(&window, "StatusBar1_Panel4")->text(), QString("9901 Records Merged"));
        QCOMPARE(Control<List_View>(&window, "ListContacts")->Row_Count(), 1);
        QVERIFY2(elapsed < 20000, qPrintable(QString::number(elapsed)));
        QVERIFY2(longest_gap < 1500, qPrintable(QString::number(longest_gap)));
        QVERIFY2(progress_seen.size() >= 5, qPrintable(QString::number(progress_seen.size())));
    }

    void without_automatic_sources_the_menu_says_so()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        frmContactSystem window;
        Control<QAction>(&window, "mnuAutomaticFileImport")->trigger();
        QCOMPARE(dialogs.Texts(), QStringList{"There are no Import Sources set to automatic import."});
    }
};

QTEST_MAIN(File_Import_Menu_Test)
#include "tst_file_import_menu.moc"
