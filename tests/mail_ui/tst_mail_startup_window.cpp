// The start-up fetch window files the mail once and closes itself.

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "Mapi_Fetch.h"
#include "Recording_Main_Window.h"
#include "Test_Maildir.h"
#include "Test_Support.h"
#include "frmMAPI_Get_Email.h"

class tst_mail_startup_window : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void waits_fetches_once_and_closes()
    {
        Test_Program_Folder folder;
        Test_Maildir maildir;
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        maildir.Deliver("plain.eml");
        maildir.Deliver("alternative.eml");
        frmMAPI_Get_Email window;
        QCOMPARE(window.windowTitle(), QString("Integrating E-mail"));
        QCOMPARE(window.Label1->text(), QString("Wait While Integrating E-Mails"));
        // Activated again while it waits: still one fetch.
        QTimer::singleShot(0, &window, [&] { window.Form_Activate(); });
        const int result = window.exec();
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(window.Fetch_Done());
        QVERIFY(clock.paused_seconds >= 2);
        Database db = folder.Db();
        QCOMPARE(db.Scalar("SELECT count(*) FROM NewEmails").toInt(), 2);
        QVERIFY(MAPISession1().SessionID() != 0);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void an_unreadable_store_is_reported_and_the_window_closes()
    {
        Test_Program_Folder folder;
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        Recording_Main_Window main_window;
        QTemporaryDir dir;
        qputenv("MAILDIR", QFile::encodeName(dir.filePath("none")));
        frmMAPI_Get_Email window;
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        // Said on the status bar, not in a box at every start.
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(main_window.panels.value(5).startsWith("No incoming mail: There is no mail store at "));
        qunsetenv("MAILDIR");
    }
};

QTEST_MAIN(tst_mail_startup_window)
#include "tst_mail_startup_window.moc"
