// Mail from two unknown senders waits on the Unmatched tab after start-up:
// the user makes a contact of the first, whose e-mail is then in the
// contact's history, and answers the second, whose reply reaches the server.

#include <QtTest>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QToolButton>

#include "Find_Control.h"
#include "Key_Toolbar.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Mapi_Fetch.h"
#include "MessageCenter.h"
#include "SMTP_Session.h"
#include "Smtp_Test_Server.h"
#include "Test_Maildir.h"
#include "Test_Support.h"
#include "frmContactSystem.h"

namespace {

// The tab's 1-based position, as the tab strip counts.
void Click_Tab(frmContactSystem& w, int position)
{
    auto* tabs = Control<QTabBar>(&w, "TabStrip1");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(position - 1).center());
}

void Click_Button(frmContactSystem& w, const char* toolbar, const QString& key)
{
    auto* bar = Control<Key_Toolbar>(&w, toolbar);
    QWidget* button = bar->widgetForAction(bar->Button(key));
    QVERIFY(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
}

void Click_Row(QTreeWidget* list, QTreeWidgetItem* item)
{
    list->scrollToItem(item);
    const QRect rect = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(list->viewport()->width() / 3, rect.center().y()));
}

QTreeWidgetItem* Row_Of(List_View* list, int column, const QString& text)
{
    for (int i = 1; i <= list->Row_Count(); ++i)
        if (list->Row_At(i)->text(column) == text)
            return list->Row_At(i);
    return nullptr;
}

} // namespace

class tst_unmatched_to_contact : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void convert_one_sender_and_answer_another()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Test_Program_Folder folder;
        Test_Maildir maildir;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        const QString old_folder = QDir::currentPath();
        QDir::setCurrent(folder.Folder());
        SMTP_Session::Set_Port_Override(server.Port());
        Database db = folder.Db();
        db.Execute("UPDATE Settings SET SMTP_Server = '127.0.0.1', DefaultEmailAddress = 'owner@example.com', "
                   "DefaultEmailName = 'Owner', Automatically_Send_Emails = 1");
        const QString jane = maildir.Deliver("plain.eml");
        maildir.Deliver("quoted_printable.eml");

        {
            frmContactSystem window;
            QVERIFY(window.Start_Up());
            window.resize(1400, 1000);
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QCOMPARE(dialogs.Texts(), QStringList({"There are no contacts for this selection"}));
            dialogs.messages.clear();
            QCOMPARE(Control<List_View>(&window, "ListContacts")->Row_Count(), 0);

            Click_Tab(window, 3);
            auto* unmatched = Control<List_View>(&window, "ListUnmatched");
            QTRY_COMPARE(unmatched->Row_Count(), 2);
            QTreeWidgetItem* jane_row = Row_Of(unmatched, 1, "Jane Buyer");
            QVERIFY(jane_row);
            Click_Row(unmatched, jane_row);
            QCOMPARE(Control<QLineEdit>(&window, "UnmatchedEmail")->text(), QString("jane@example.com"));
            Click_Button(window, "ToolUnmatchedActions", "Convert");
            QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("\n")));
            QCOMPARE(unmatched->Row_Count(), 1);
            QCOMPARE(Control<QLineEdit>(&window, "UnmatchedName")->text(), QString("Bob Miller"));

            // The new contact is listed; its history holds the e-mail.
            Click_Tab(window, 1);
            auto* contacts = Control<List_View>(&window, "ListContacts");
            const qint64 id = db.Scalar("SELECT ID FROM Contacts WHERE Email = 'jane@example.com'").toLongLong();
            QVERIFY(id > 0);
            QTreeWidgetItem* contact_row = contacts->Find_Key(Make_Contact_Key(id));
            QVERIFY(contact_row);
            QCOMPARE(contact_row->text(2), QString("Buyer"));
            Click_Row(contacts, contact_row);
            auto* events = Control<List_View>(&window, "ListEvents");
            QCOMPARE(events->Row_Count(), 1);
            QCOMPARE(events->Row_At(1)->text(2), QString("Email Convert"));
            QCOMPARE(events->Row_At(1)->text(3), QString("Question about the blue sedan"));
            QCOMPARE(Get_Key_ID(events->Key_At(1)), jane);

            // The other sender is answered from the keyboard.
            Click_Tab(window, 3);
            unmatched->setFocus();
            QTest::keyClick(unmatched, Qt::Key_R, Qt::ControlModifier);
            auto* message = Control<QTextEdit>(&window, "UnmatchedMessage");
            QVERIFY(!message->isReadOnly());
            QVERIFY(!Control<Key_Toolbar>(&window, "ToolUnmatchedEmailing")->isHidden());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(message));
            QTest::keyClicks(message, "We take the trade-in.");
            QTest::keyClick(message, Qt::Key_Return, Qt::ControlModifier);
            QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("\n")));
            QVERIFY(Control<Key_Toolbar>(&window, "ToolUnmatchedEmailing")->isHidden());
            QCOMPARE(db.Scalar("SELECT count(*) FROM Outbox WHERE Out_Contact_ID = 0").toInt(), 1);

            // The sending cycle takes it out, and writes no event.
            Control<QAction>(&window, "mnuProcessWorkflows")->trigger();
            QTRY_COMPARE_WITH_TIMEOUT(server.Messages().size(), 1, 20000);
            QTRY_COMPARE(db.Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
            const Received_Mail mail = server.Messages().first();
            QCOMPARE(mail.to, QStringList({"bob@example.org"}));
            QCOMPARE(mail.from, QString("owner@example.com"));
            QVERIFY2(mail.data.contains("We take the trade-in."), mail.data.constData());
            QVERIFY(mail.data.contains("> "));
            QCOMPARE(db.Scalar("SELECT count(*) FROM Eventhistory").toInt(), 1);
            QCOMPARE(db.Scalar("SELECT count(*) FROM NewEmails").toInt(), 1);
            Stop_Message_Center();
            QTRY_VERIFY(!Message_Center());
            window.close();
        }
        MAPISession1().SignOff();
        SMTP_Session::Set_Port_Override(0);
        QCOMPARE(maildir.Files().size(), 2);
        QDir::setCurrent(old_folder);
    }
};

QTEST_MAIN(tst_unmatched_to_contact)
#include "tst_unmatched_to_contact.moc"
