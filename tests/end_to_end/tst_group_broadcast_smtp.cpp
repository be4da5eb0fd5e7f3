// A broadcast to a product group as a user makes it, with the mouse and the
// keyboard: the group picked, "Hello [Firstname]" with a file scheduled for
// it, the outbox sent to a real SMTP server (through the mail client's msmtp,
// or by the program's own SMTP cycle), then the group deleted after the password.

#include <QFileInfo>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>

#include "../mainwindow/Main_Window_Test_Support.h"
#include "Data_Access.h"
#include "GlobalVariables.h"
#include "MessageCenter.h"
#include "Msmtp_Sendmail.h"
#include "Password.h"
#include "SMTP_Session.h"
#include "Settings.h"
#include "Smtp_Test_Server.h"

namespace {

struct Broadcast_User : Window_With_Mail_Store {
    qint64 ann = 0, bob = 0, cid = 0, eve = 0;

    Broadcast_User()
    {
        Database db = s.Db();
        db.Execute("UPDATE Settings SET DefaultEmailAddress = 'sales@dealer.example', DefaultEmailName = 'Sales'");
        for (const char* product : {"Car", "Boat"})
            db.Execute("INSERT INTO Products (Product) VALUES (?)", {QString(product)});
        const auto contact = [&db](const char* first, const char* last, const char* email, const char* product) {
            return db.Insert("INSERT INTO Contacts (FirstName, LastName, Email, Product) VALUES (?, ?, ?, ?)",
                             {QString(first), QString(last), QString(email), QString(product)});
        };
        ann = contact("Ann", "Abbot", "ann@example.com", "Car");
        bob = contact("Bob", "O'Brien", "bob@example.com", "Car");
        cid = contact("Cid", "Cole", "", "Car");
        eve = contact("Eve", "Evans", "eve@example.com", "Boat");
        db.Execute("INSERT INTO Eventhistory (ContactID, EventDate, Event_Type, EventSubject, Event_Unique_ID) "
                   "VALUES (?, '2026-12-01 10:00:00', 'Outgoing Call', 'Boat talk', 'e1')",
                   {eve});
    }
    void Click_Button(const char* toolbar, const QString& key) { Click_Button_On_Screen(w, toolbar, key); }
    void Click_Tab(int number) { Click_Tab_On_Screen(w, number); }
    void Broadcast(const QString& subject, const QString& message, const QString& hour, const QString& file = {})
    {
        Click_Button("Toolbar1", "APB");
        QCOMPARE(w->Current_Detail_Frame(), Frame(w, "frameSchedule"));
        QTest::keyClicks(C<QLineEdit>("txtFrameSchedule_Subject"), subject);
        auto* box = C<QPlainTextEdit>("txtFrameSchedule_Message");
        const QStringList lines = message.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, lines[i]);
        }
        C<QLineEdit>("txtFrameSchedule_Hour")->selectAll();
        QTest::keyClicks(C<QLineEdit>("txtFrameSchedule_Hour"), hour);
        if (!file.isEmpty()) {
            s.dialogs.file_answers << file;
            Click_Button("ToolScheduleAttachment", "Add");
        }
        Click_Button("ToolSchedule", "Schedule");
    }
    int Count(const QString& sql, const QVariantList& values = {}) { return s.Db().Scalar(sql, values).toInt(); }
};

} // namespace

class tst_group_broadcast_smtp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void a_product_group_gets_its_e_mails_and_is_then_deleted_data()
    {
        QTest::addColumn<bool>("smtp_cycle");
        QTest::newRow("Send All through the mail client") << false;
        QTest::newRow("the SMTP cycle") << true;
    }
    void a_product_group_gets_its_e_mails_and_is_then_deleted()
    {
        QFETCH(bool, smtp_cycle);
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Msmtp_Sendmail sendmail(server.Port());
        Broadcast_User f;
        // After the program folder: a fresh one resets the process's state.
        SMTP_Session::Set_Port_Override(server.Port());
        const auto no_override = qScopeGuard([] { SMTP_Session::Set_Port_Override(0); });
        f.s.Db().Execute("UPDATE Settings SET SMTP_Server = '127.0.0.1', Automatically_Send_Emails = ?", {int(smtp_cycle)});
        const QString brochure = f.s.folder.Write_File("files/brochure.txt", "Our new models");
        f.Start();

        // The Car group, from the product picker.
        When_Modal_Shown([](QWidget* picker) {
            auto* list = Control<List_View>(picker, "ListProduct");
            for (int i = 1; i <= list->Row_Count(); ++i)
                if (list->Row_At(i)->text(1) == "Car")
                    Click_Row(list, list->Row_At(i));
            Click_Tool(picker, "Toolbar1", "Select");
        });
        Click_Tool_Menu(f.w, "Toolbar1", "Select", "SelectProduct");
        QCOMPARE(Column_Texts(f.C<List_View>("ListContacts"), 2), QStringList({"Abbot", "Cole", "O'Brien"}));

        f.Broadcast("Hello [Firstname]", "Dear [Firstname] [Lastname],\nsee the file.", "9", brochure);
        QCOMPARE(f.s.dialogs.Texts(),
                 QStringList({"Do you want to send an all points Broadcast to the current Group?",
                              "The APB has been processed for the current Contacts. Revise them and send them! "
                              "Turn them to Gold!"}));
        const QList<QSqlRecord> rows = f.s.Db().Select("SELECT * FROM Outbox ORDER BY ToEmail");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].value("Subject").toString(), QString("Hello Ann"));
        QCOMPARE(rows[1].value("Subject").toString(), QString("Hello Bob"));
        QCOMPARE(rows[1].value("Message").toString(), QString("Dear Bob O'Brien,\nsee the file."));
        for (const QSqlRecord& row : rows)
            QCOMPARE(f.Count("SELECT count(*) FROM Outbox_Attachments WHERE Outbox_ID = ?", {row.value("ID")}), 1);

        // One message per contact reaches the server.
        f.s.dialogs.messages.clear();
        f.Click_Tab(4);
        QCOMPARE(f.C<List_View>("ListOutbox")->Row_Count(), 2);
        if (smtp_cycle) {
            // The workflow run starts the sender, which takes the due rows.
            f.C<QAction>("mnuProcessWorkflows")->trigger();
            QVERIFY(GlobalVariables::Message_Center_Running);
            QTRY_COMPARE_WITH_TIMEOUT(server.Messages().size(), 2, 20000);
            QTRY_COMPARE(f.Count("SELECT count(*) FROM Outbox"), 0);
            Stop_Message_Center();
            QTRY_VERIFY(!Message_Center());
        } else {
            f.Click_Button("ToolOutboxAll", "MapiSend");
            QTRY_COMPARE(server.Messages().size(), 2);
            QTRY_COMPARE(f.Count("SELECT count(*) FROM Outbox"), 0);
        }
        QCOMPARE(f.C<List_View>("ListOutbox")->Row_Count(), 0);
        QStringList recipients;
        for (const Received_Mail& mail : server.Messages()) {
            recipients << mail.to;
            const QString first = mail.to.first().startsWith("ann") ? "Ann" : "Bob";
            QVERIFY(mail.data.contains("Subject: Hello " + first.toUtf8()));
            // The SMTP cycle sends the text alone; the mail client takes the file too.
            QCOMPARE(mail.data.contains("brochure.txt"), !smtp_cycle);
        }
        recipients.sort();
        QCOMPARE(recipients, QStringList({"ann@example.com", "bob@example.com"}));
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE Event_Type = 'Email Out'"), 2);

        // A follow-up waits in the outbox when the group is deleted; the frame
        // still holds the file chosen before.
        f.Click_Tab(1);
        f.Broadcast("Still interested, [Firstname]?", "Call us.", "10");
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox"), 2);
        const QStringList copies = [&] {
            QStringList paths;
            for (const QSqlRecord& row : f.s.Db().Select("SELECT Attachment_Path FROM Outbox_Attachments WHERE "
                                                         "Outbox_ID IN (SELECT ID FROM Outbox)"))
                paths << row.value(0).toString();
            return paths;
        }();
        QCOMPARE(copies.size(), 2);

        Save_Log_In_Password("Secret");
        Load_Settings();
        f.s.dialogs.messages.clear();
        When_Modal_Shown([](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QString("frmBlockDelete"));
            QTest::keyClicks(Control<QLineEdit>(dialog, "txtPassword"), "Secret");
            QTest::mouseClick(Control<QPushButton>(dialog, "OK"), Qt::LeftButton);
        });
        // On a small screen the button may stand in the toolbar's overflow menu.
        Click_Tool(f.w, "Toolbar1", "Delete");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"Confirm DELETE of current group!"}));

        QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE Product = 'Car'"), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE ContactID IN (?, ?, ?)", {f.ann, f.bob, f.cid}), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox"), 0);
        QCOMPARE(f.Count("SELECT count(*) FROM Outbox_Attachments WHERE Attachment_Path IN (?, ?)",
                         {copies.value(0), copies.value(1)}),
                 0);
        for (const QString& copy : copies)
            QVERIFY2(!QFileInfo::exists(copy), qPrintable(copy));
        QVERIFY(QFileInfo::exists(brochure));
        // The other product's contact and its history stay.
        QCOMPARE(f.Count("SELECT count(*) FROM Contacts WHERE ID = ?", {f.eve}), 1);
        QCOMPARE(f.Count("SELECT count(*) FROM Eventhistory WHERE ContactID = ?", {f.eve}), 1);
        QCOMPARE(f.C<List_View>("ListContacts")->Row_Count(), 0);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameWelcomeMessage"));
        QCOMPARE(server.Messages().size(), 2);
    }
};

QTEST_MAIN(tst_group_broadcast_smtp)
#include "tst_group_broadcast_smtp.moc"
