// The unmatched page of the main window and its ways into the mail client:
// Get eMail, the check on every tab click, the list and display, the
// attachment menu and the outbox's send-all command.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>
#include <QtTest>

#include "Find_Control.h"
#include "GlobalVariables.h"
#include "Key_Toolbar.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Mapi_Fetch.h"
#include "Test_Maildir.h"
#include "Test_Support.h"
#include "frmContactSystem.h"
#include "pages/Unmatched_Page.h"

namespace {

struct Page_Fixture {
    Test_Program_Folder folder;
    Test_Maildir maildir;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    frmContactSystem window;
    Database db{folder.Db()};

    Unmatched_Page* Page() { return Control<Unmatched_Page>(&window, "frameUnmatched"); }
    List_View* List() { return Control<List_View>(&window, "ListUnmatched"); }

    QStringList Listed_Senders()
    {
        QStringList senders;
        for (int i = 1; i <= List()->Row_Count(); ++i)
            senders << List()->Row_At(i)->text(1);
        return senders;
    }
    QStringList Attachment_Entries()
    {
        QStringList names;
        for (int i = 0; i < Control<QListWidget>(&window, "ListUnmatchedAttachments")->count(); ++i)
            names << Control<QListWidget>(&window, "ListUnmatchedAttachments")->item(i)->text();
        return names;
    }
    QLabel* Attachments_Caption()
    {
        for (QLabel* label : window.findChildren<QLabel*>())
            if (label->buddy() == Control<QListWidget>(&window, "ListUnmatchedAttachments"))
                return label;
        return nullptr;
    }
    void Show_Row_Of(const QString& sender)
    {
        for (int i = 1; i <= List()->Row_Count(); ++i) {
            if (List()->Row_At(i)->text(1) == sender)
                Page()->ListUnmatched_ItemClick(List()->Row_At(i));
        }
    }
};

} // namespace

class tst_mail_unmatched_page : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { MAPISession1().SignOff(); }

    void get_email_fills_the_page_on_its_first_visit()
    {
        Page_Fixture f;
        f.maildir.Deliver("plain.eml");
        f.maildir.Deliver("hostile_names.eml");
        QVERIFY(Control<QAction>(&f.window, "mnu_Get_Mapi_Mail")->isEnabled());
        Control<QAction>(&f.window, "mnu_Get_Mapi_Mail")->trigger();
        const qint64 first_session = MAPISession1().SessionID();
        QVERIFY(first_session != 0);
        QCOMPARE(f.db.Scalar("SELECT count(*) FROM NewEmails").toInt(), 2);
        // Get eMail again signs off and on before it fetches.
        Control<QAction>(&f.window, "mnu_Get_Mapi_Mail")->trigger();
        QVERIFY(MAPISession1().SessionID() != first_session);
        QCOMPARE(f.db.Scalar("SELECT count(*) FROM NewEmails").toInt(), 2);

        f.window.resize(1280, 820);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.window.TabStrip1_Click(3);
        QCOMPARE(f.Listed_Senders(), QStringList({"Gina", "Jane Buyer"}));
        // Every column is in sight, "Received" too.
        QApplication::processEvents();
        int columns = 0;
        for (int i = 0; i < f.List()->columnCount(); ++i)
            columns += f.List()->columnWidth(i);
        QVERIFY2(f.List()->viewport()->width() >= columns,
                 qPrintable(QString("%1 < %2").arg(f.List()->viewport()->width()).arg(columns)));
        QCOMPARE(f.List()->Row_At(1)->text(2), QString("Odd names"));
        QVERIFY(!f.List()->Row_At(1)->icon(0).isNull());
        QVERIFY(f.List()->Row_At(2)->icon(0).isNull());
        // The first row is shown, with its files.
        QCOMPARE(Control<QLineEdit>(&f.window, "UnmatchedName")->text(), QString("Gina"));
        QCOMPARE(Control<QLineEdit>(&f.window, "UnmatchedEmail")->text(), QString("gina@example.com"));
        QCOMPARE(Control<QLineEdit>(&f.window, "UnmatchedSubject")->text(), QString("Odd names"));
        QCOMPARE(Control<QTextEdit>(&f.window, "UnmatchedMessage")->toPlainText(), QString("Attached."));
        QVERIFY(Control<QTextEdit>(&f.window, "UnmatchedMessage")->isReadOnly());
        QCOMPARE(f.Attachment_Entries(), QStringList({"escape.txt", "win.ini", "badname.txt", "attachment"}));
        QVERIFY(!Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->isHidden());
        QVERIFY(f.Attachments_Caption() && !f.Attachments_Caption()->isHidden());

        f.Show_Row_Of("Jane Buyer");
        QCOMPARE(Control<QLineEdit>(&f.window, "UnmatchedSubject")->text(), QString("Question about the blue sedan"));
        const QString message = Control<QTextEdit>(&f.window, "UnmatchedMessage")->toPlainText();
        QVERIFY(message.startsWith("Hello,\n\nis the blue sedan"));
        QVERIFY(Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->isHidden());
        QVERIFY(Control<Key_Toolbar>(&f.window, "ToolManageEmaiAttachment")->isHidden());
        QVERIFY(f.Attachments_Caption()->isHidden());
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void every_tab_click_files_new_unread_mail_into_the_shown_list()
    {
        Page_Fixture f;
        f.maildir.Deliver("plain.eml");
        Control<QAction>(&f.window, "mnu_Get_Mapi_Mail")->trigger();
        f.window.TabStrip1_Click(3);
        QCOMPARE(f.List()->Row_Count(), 1);

        f.maildir.Deliver("base64.eml");
        f.window.TabStrip1_Click(3);   // the tab already shown still checks
        QCOMPARE(f.List()->Row_Count(), 2);
        // Filed at once: no new mail waits.
        QVERIFY(Control<QLabel>(&f.window, "StatusBar1_Panel7")->isHidden());
        QCOMPARE(f.db.Scalar("SELECT count(*) FROM NewEmails").toInt(), 2);
        f.window.TabStrip1_Click(1);
        QCOMPARE(f.db.Scalar("SELECT count(*) FROM NewEmails").toInt(), 2);
        QCOMPARE(f.List()->Row_Count(), 2);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void attachments_are_saved_where_the_user_says()
    {
        Page_Fixture f;
        f.maildir.Deliver("attachments.eml");
        Control<QAction>(&f.window, "mnu_Get_Mapi_Mail")->trigger();
        f.window.TabStrip1_Click(3);
        QCOMPARE(f.Attachment_Entries().size(), 2);

        const QString target = f.folder.Path("saved/offer.pdf");
        QDir().mkpath(f.folder.Path("saved"));
        f.folder.Write_File("saved/offer.pdf", "old content");
        f.dialogs.file_answers << target;
        Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->setCurrentRow(0);
        f.Page()->ToolManageEmaiAttachment_ButtonMenuClick("Save");
        QCOMPARE(f.dialogs.file_titles, QStringList({"Save Attachment"}));
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("PDF-CONTENT-1"));

        // Cancelled: nothing happens, nothing is said.
        f.Page()->ToolManageEmaiAttachment_ButtonMenuClick("Save");
        QVERIFY(f.dialogs.messages.isEmpty());

        // A folder that cannot take the file is said so.
        f.dialogs.file_answers << f.folder.Path("no such folder/offer.pdf");
        f.Page()->ToolManageEmaiAttachment_ButtonMenuClick("Save");
        QVERIFY(f.dialogs.Shown("Error on Save Attachment: "));

        Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->setCurrentRow(-1);
        f.Page()->ToolManageEmaiAttachment_ButtonMenuClick("Save");
        QVERIFY(f.dialogs.Shown("There is either no attachment to save or no attachment has been selected!"));
        f.Page()->ToolManageEmaiAttachment_ButtonMenuClick("Delete");
        QVERIFY(f.dialogs.Shown("First select the attachment to remove."));
    }

    void files_of_one_name_are_saved_and_deleted_each_as_listed()
    {
        Page_Fixture f;
        f.maildir.Deliver_Content("From: a@example.com\nSubject: twins\nMIME-Version: 1.0\n"
                                  "Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: text/plain\n\nhi\n"
                                  "--b\nContent-Disposition: attachment; filename=same.txt\n\none\n"
                                  "--b\nContent-Disposition: attachment; filename=same.txt\n\ntwo\n"
                                  "--b\nContent-Disposition: attachment; filename=same.txt\n\nthree\n--b--\n");
        Control<QAction>(&f.window, "mnu_Get_Mapi_Mail")->trigger();
        f.window.TabStrip1_Click(3);
        QCOMPARE(f.Attachment_Entries(), QStringList({"same.txt", "same.txt", "same.txt"}));
        const auto saved_content = [&f](int row) {
            const QString target = f.folder.Path(QString("saved%1.txt").arg(row));
            f.dialogs.file_answers << target;
            Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->setCurrentRow(row);
            f.Page()->ToolManageEmaiAttachment_ButtonMenuClick("Save");
            QFile saved(target);
            return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray("(not saved)");
        };
        QCOMPARE(saved_content(1), QByteArray("two"));
        QCOMPARE(saved_content(2), QByteArray("three"));

        // Deleting the middle one leaves the first and the last.
        Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->setCurrentRow(1);
        f.Page()->ToolManageEmaiAttachment_ButtonMenuClick("Delete");
        QCOMPARE(f.Attachment_Entries().size(), 2);
        QCOMPARE(saved_content(0), QByteArray("one"));
        QCOMPARE(saved_content(1), QByteArray("three"));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void deleting_the_last_attachment_clears_the_mark()
    {
        Page_Fixture f;
        f.maildir.Deliver("attachments.eml");
        Control<QAction>(&f.window, "mnu_Get_Mapi_Mail")->trigger();
        f.window.TabStrip1_Click(3);
        const qint64 id = Control<QLineEdit>(&f.window, "txtUnmatched_ID")->text().toLongLong();
        const QStringList paths = [&] {
            QStringList list;
            for (const QSqlRecord& row : f.db.Select("SELECT Attachment_Path_Name FROM Attachments"))
                list << row.value(0).toString();
            return list;
        }();
        QCOMPARE(paths.size(), 2);

        Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->setCurrentRow(0);
        f.Page()->ToolManageEmaiAttachment_ButtonMenuClick("Delete");
        QCOMPARE(f.Attachment_Entries(), QStringList({QString::fromUtf8("Angebot für  Frank.txt")}));
        QVERIFY(!QFile::exists(paths.at(0)));
        QCOMPARE(f.db.Scalar("SELECT Has_Attachments FROM NewEmails WHERE ID = ?", {id}).toInt(), 1);
        QVERIFY(!f.List()->Row_At(1)->icon(0).isNull());

        Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->setCurrentRow(0);
        f.Page()->ToolManageEmaiAttachment_ButtonMenuClick("Delete");
        QVERIFY(f.Attachment_Entries().isEmpty());
        QVERIFY(!QFile::exists(paths.at(1)));
        QCOMPARE(f.db.Scalar("SELECT Has_Attachments FROM NewEmails WHERE ID = ?", {id}).toInt(), 0);
        QCOMPARE(f.db.Scalar("SELECT count(*) FROM Attachments").toInt(), 0);
        QVERIFY(f.List()->Row_At(1)->icon(0).isNull());
    }

    void reselection_after_a_removal()
    {
        Page_Fixture f;
        f.maildir.Deliver("plain.eml");
        f.maildir.Deliver("hostile_names.eml");
        Control<QAction>(&f.window, "mnu_Get_Mapi_Mail")->trigger();
        f.window.TabStrip1_Click(3);
        QCOMPARE(f.List()->Row_Count(), 2);
        int position = f.List()->Remove_Key(f.List()->Key_At(2));
        QCOMPARE(position, 2);
        f.Page()->Select_Unmatched_Item_At(position);
        QCOMPARE(position, 1);
        QCOMPARE(Control<QLineEdit>(&f.window, "UnmatchedName")->text(), f.List()->Row_At(1)->text(1));
        QCOMPARE(Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->count(), 4);
        position = f.List()->Remove_Key(f.List()->Key_At(1));
        f.Page()->Select_Unmatched_Item_At(position);
        QCOMPARE(Control<QLineEdit>(&f.window, "UnmatchedName")->text(), QString());
        QCOMPARE(Control<QTextEdit>(&f.window, "UnmatchedMessage")->toPlainText(), QString());
        QCOMPARE(Control<QLineEdit>(&f.window, "txtUnmatchedUniqueID")->text(), QString());
        // The files of the e-mail that went are no longer offered.
        QCOMPARE(Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->count(), 0);
        QVERIFY(Control<QListWidget>(&f.window, "ListUnmatchedAttachments")->isHidden());
        QVERIFY(Control<Key_Toolbar>(&f.window, "ToolManageEmaiAttachment")->isHidden());
        QCOMPARE(Control<QLineEdit>(&f.window, "txtUnmatched_ID")->text(), QString());

        // A row whose e-mail has gone from the database.
        f.Page()->Show_Unmatched_Email("unmgone-:::-2026-12-01 10:00:00");
        QVERIFY(f.dialogs.Shown("Error on accessing unmatched emails!"));
    }

    void send_all_goes_through_the_mail_client()
    {
        Page_Fixture f;
        QTemporaryDir dir;
        const QString script = dir.filePath("sendmail.sh");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\ncat >> \"$0.out\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("SENDMAIL", QFile::encodeName(script));
        const qint64 jane = f.db.Insert("INSERT INTO Contacts (FirstName, Email) VALUES ('Jane', 'jane@example.com')");
        f.db.Insert("INSERT INTO Outbox (Out_Contact_ID, Out_Event_Type, ToEmail, ToEmailName, Subject, Message, "
                    "Date_To_Execute_Event, Date_Sent_To_Outbox) VALUES (?, 'Email Out', 'jane@example.com', 'Jane', "
                    "'Hello Jane', 'Body', ?, ?)",
                    {jane, f.clock.Now().addSecs(-60), f.clock.Now().addSecs(-120)});
        f.window.TabStrip1_Click(4);
        QCOMPARE(Control<List_View>(&f.window, "ListOutbox")->Row_Count(), 1);
        QAction* send_all = Control<Key_Toolbar>(&f.window, "ToolOutboxAll")->Button("MapiSend");
        QVERIFY(send_all && send_all->isEnabled());
        send_all->trigger();
        qunsetenv("SENDMAIL");
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.Texts().join("\n")));
        QCOMPARE(Control<List_View>(&f.window, "ListOutbox")->Row_Count(), 0);
        QCOMPARE(Control<QLineEdit>(&f.window, "txtFrameOutbox_Email")->text(), QString());
        QCOMPARE(f.db.Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
        QCOMPARE(f.db.Scalar("SELECT EventSubject FROM Eventhistory WHERE ContactID = ?", {jane}).toString(),
                 QString("Hello Jane"));
        QFile out(script + ".out");
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.readAll().contains("Subject: Hello Jane"));
    }
};

QTEST_MAIN(tst_mail_unmatched_page)
#include "tst_mail_unmatched_page.moc"
