// What the main window shows of new mail: the bold row of a contact that got
// an e-mail, the "New Mail" sign while mail waits unfiled, what Get eMail
// says on the status bar, and what is wrong with a mail store.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QtTest>

#include "List_Rows.h"
#include "Main_Window_Test_Support.h"
#include "Mapi_Fetch.h"

namespace {

QLabel* Panel(frmContactSystem& window, int panel)
{
    return Control<QLabel>(&window, qPrintable(QString("StatusBar1_Panel%1").arg(panel)));
}

bool Row_Bold(frmContactSystem& window, qint64 contact)
{
    QTreeWidgetItem* row = Control<List_View>(&window, "ListContacts")->Find_Key(Make_Contact_Key(contact));
    if (!row)
        qFatal("no row of contact %lld", contact);
    return List_View::Is_Bold(row, 1) && List_View::Is_Bold(row, 2);
}

} // namespace

class tst_new_mail : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { MAPISession1().SignOff(); }

    void the_row_of_a_contact_with_new_mail_turns_bold_at_once_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("start-up") << "start-up";
        QTest::newRow("Get eMail") << "Get eMail";
        QTest::newRow("tab click") << "tab click";
        QTest::newRow("tab click on another page") << "other tab";
    }
    void the_row_of_a_contact_with_new_mail_turns_bold_at_once()
    {
        QFETCH(QString, way);
        Window_With_Mail_Store m;
        Database db = m.s.Db();
        const qint64 alice =
            db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Alice', 'Able', 'alice@example.com')");
        const qint64 frank =
            db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Frank', 'Fleet', 'frank@example.com')");
        if (way == "start-up")
            m.maildir.Deliver("attachments.eml");
        frmContactSystem& w = m.Start();
        if (way == "other tab")
            w.TabStrip1_Click(4);
        if (way != "start-up") {
            QVERIFY(!Row_Bold(w, frank));
            m.maildir.Deliver("attachments.eml");
        }
        if (way == "Get eMail")
            m.C<QAction>("mnu_Get_Mapi_Mail")->trigger();
        else if (way == "tab click")
            w.TabStrip1_Click(1);
        else if (way == "other tab")
            w.TabStrip1_Click(3);
        QVERIFY2(m.s.dialogs.messages.isEmpty(), qPrintable(m.s.dialogs.Texts().join("\n")));
        QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {frank}).toInt(), 1);
        // Without a click on the row.
        QVERIFY(Row_Bold(w, frank));
        QVERIFY(!Row_Bold(w, alice));

        // Opening its one unread event takes the mark away again.
        w.TabStrip1_Click(1);
        Click_Row(m.C<List_View>("ListContacts"),
                  m.C<List_View>("ListContacts")->Find_Key(Make_Contact_Key(frank)));
        QCOMPARE(w.Shown_Contact_ID(), QString::number(frank));
        QCOMPARE(m.C<QLineEdit>("txtPendingEvents")->text(), QString("True"));
        Click_Row(m.C<List_View>("ListEvents"), m.C<List_View>("ListEvents")->Row_At(1));
        QVERIFY(!Row_Bold(w, frank));
        QCOMPARE(db.Scalar("SELECT Pending_Events_To_Read FROM Contacts WHERE ID = ?", {frank}).toInt(), 0);
    }

    void the_shown_contact_gets_its_mark_and_its_bold_event()
    {
        Window_With_Mail_Store m;
        Database db = m.s.Db();
        const qint64 frank =
            db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Frank', 'Fleet', 'frank@example.com')");
        frmContactSystem& w = m.Start();
        QCOMPARE(w.Shown_Contact_ID(), QString::number(frank));
        QCOMPARE(m.C<QLineEdit>("txtPendingEvents")->text(), QString("False"));
        m.maildir.Deliver("attachments.eml");
        m.C<QAction>("mnu_Get_Mapi_Mail")->trigger();
        QVERIFY(Row_Bold(w, frank));
        QCOMPARE(m.C<QLineEdit>("txtPendingEvents")->text(), QString("True"));
        QCOMPARE(m.C<List_View>("ListEvents")->Row_Count(), 1);
        QVERIFY(List_View::Is_Bold(m.C<List_View>("ListEvents")->Row_At(1), 1));
    }

    void get_email_says_what_it_did_and_the_sign_means_mail_not_yet_filed()
    {
        Window_With_Mail_Store m;
        frmContactSystem& w = m.Start();
        QAction* get = m.C<QAction>("mnu_Get_Mapi_Mail");
        QLabel* sign = Panel(w, 7);
        QCOMPARE(sign->text(), QString("New Mail"));

        get->trigger();
        QCOMPARE(Panel(w, 1)->text(), QString("No new e-mail was found."));
        QVERIFY(sign->isHidden());

        m.maildir.Deliver("plain.eml");
        m.maildir.Deliver("base64.eml");
        get->trigger();
        QCOMPARE(Panel(w, 1)->text(), QString("2 new e-mails were filed."));
        QVERIFY(sign->isHidden());

        // The tab click files unread mail; filed, it is no longer new.
        m.maildir.Deliver("alternative.eml");
        w.TabStrip1_Click(3);
        QCOMPARE(m.C<List_View>("ListUnmatched")->Row_Count(), 3);
        QVERIFY(sign->isHidden());
        w.TabStrip1_Click(1);
        QVERIFY(sign->isHidden());

        // Mail that cannot be filed stays new until it is.
        const QString attachments = m.s.folder.Path("Attachments");
        QDir(attachments).removeRecursively();
        m.s.folder.Write_File("Attachments", "not a folder");
        m.maildir.Deliver("hostile_names.eml");
        get->trigger();
        QCOMPARE(Panel(w, 1)->text(),
                 QString("1 new e-mail was found, but it could not be filed; it stays in the mail store."));
        QVERIFY(!sign->isHidden());
        w.TabStrip1_Click(1);
        QVERIFY(!sign->isHidden());
        QFile::remove(attachments);
        w.TabStrip1_Click(1);
        QVERIFY(sign->isHidden());
        QCOMPARE(m.C<List_View>("ListUnmatched")->Row_Count(), 4);
        get->trigger();
        QCOMPARE(Panel(w, 1)->text(), QString("No new e-mail was found."));
    }

    void the_mail_store_messages_say_what_is_wrong_data()
    {
        QTest::addColumn<bool>("eml_files_only");
        QTest::addColumn<QString>("said");
        QTest::newRow("missing") << false << "There is no mail store at %1: the folder does not exist.";
        QTest::newRow("not a Maildir") << true
                                       << "The folder %1 is not a Maildir: it has no cur/ and no new/ folder.";
    }
    void the_mail_store_messages_say_what_is_wrong()
    {
        QFETCH(bool, eml_files_only);
        QFETCH(QString, said);
        Started_Window s;
        QTemporaryDir dir;
        const QString store = dir.filePath("Mail");
        if (eml_files_only) {
            QDir().mkpath(store);
            QFile file(store + "/offer.eml");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(Maildir_Fixture("plain.eml"));
        }
        const QByteArray old = qgetenv("MAILDIR");
        qputenv("MAILDIR", QFile::encodeName(store));
        const QString text = said.arg(store) + " $MAILDIR chooses the mail store (else ~/Maildir).";

        frmContactSystem& w = s.Start();
        // At start-up on the status bar, with no box of its own.
        QVERIFY2(!s.dialogs.Texts().join("\n").contains("mail store"), qPrintable(s.dialogs.Texts().join("\n")));
        s.dialogs.messages.clear();
        QCOMPARE(Panel(w, 5)->text(), "No incoming mail: " + text);
        QCOMPARE(Panel(w, 5)->toolTip(), "No incoming mail: " + text);

        Control<QAction>(&w, "mnu_Get_Mapi_Mail")->trigger();
        QCOMPARE(s.dialogs.Texts(), QStringList({"Error on Get eMail: " + text}));
        qputenv("MAILDIR", old);
    }
};

QTEST_MAIN(tst_new_mail)
#include "tst_new_mail.moc"
