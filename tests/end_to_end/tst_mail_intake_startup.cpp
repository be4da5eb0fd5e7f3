// Mail dropped into the Maildir before start-up is, after start-up, in its
// contact's history, a new contact from a lead filter, or on the Unmatched
// tab, with its files; the next start files nothing twice.

#include <QDir>
#include <QListWidget>
#include <QSqlRecord>
#include <QtTest>

#include "Find_Control.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Mapi_Fetch.h"
#include "Test_Maildir.h"
#include "Test_Support.h"
#include "frmContactSystem.h"

class tst_mail_intake_startup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mail_before_start_up_is_filed_once()
    {
        Test_Program_Folder folder;
        Test_Maildir maildir;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        const QString old_folder = QDir::currentPath();
        QDir::setCurrent(folder.Folder());
        Database db = folder.Db();
        const qint64 frank =
            db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Frank', 'Fleet', 'frank@example.com')");
        const qint64 filter = db.Insert(
            "INSERT INTO EmailContactImports (Name_Of_Site, Search_String_On_Subject_Line) VALUES ('AutoLeads', "
            "'New AutoLeads Inquiry')");
        db.Insert("INSERT INTO EmailImportFieldsInfo (Email_Import_ID, Event_Field, Import_Type, Label) VALUES "
                  "(?, 'Name', 'Label Search', 'Name:'), (?, 'Email', 'Label Search', 'Email:')",
                  {filter, filter});
        const QString to_frank = maildir.Deliver("attachments.eml");
        const QString lead = maildir.Deliver("lead.eml");
        const QString stranger = maildir.Deliver("hostile_names.eml");

        for (int start = 1; start <= 2; ++start) {
            auto window = std::make_unique<frmContactSystem>();
            QVERIFY(window->Start_Up());
            QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("\n")));

            QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory").toInt(), 2);
            QCOMPARE(db.Scalar("SELECT ContactID FROM Eventhistory WHERE Event_Unique_ID = ?", {to_frank}).toLongLong(),
                     frank);
            QCOMPARE(db.Scalar("SELECT count(*) FROM Attachments WHERE Link_Database = 'E'").toInt(), 2);
            const QSqlRecord new_contact = db.Select_First(
                "SELECT Contacts.* FROM Contacts JOIN Eventhistory ON Eventhistory.ContactID = Contacts.ID "
                "WHERE Event_Unique_ID = ?",
                {lead});
            QCOMPARE(new_contact.value("Email").toString(), QString("john.smith@example.com"));
            QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts").toInt(), 2);
            const qint64 new_id = new_contact.value("ID").toLongLong();
            QVERIFY(Control<List_View>(window.get(), "ListContacts")->Find_Key(Make_Contact_Key(new_id)));
            QCOMPARE(Control<List_View>(window.get(), "ListContacts")->Row_Count(), 2);

            window->TabStrip1_Click(3);
            QCOMPARE(Control<List_View>(window.get(), "ListUnmatched")->Row_Count(), 1);
            QCOMPARE(Get_Key_ID(Control<List_View>(window.get(), "ListUnmatched")->Key_At(1)), stranger);
            QCOMPARE(Control<QListWidget>(window.get(), "ListUnmatchedAttachments")->count(), 4);
            QCOMPARE(db.Scalar("SELECT count(*) FROM NewEmails").toInt(), 1);
            window->close();
            window.reset();
            MAPISession1().SignOff();
        }
        QCOMPARE(maildir.Files().size(), 3);
        QDir::setCurrent(old_folder);
    }
};

QTEST_MAIN(tst_mail_intake_startup)
#include "tst_mail_intake_startup.moc"
