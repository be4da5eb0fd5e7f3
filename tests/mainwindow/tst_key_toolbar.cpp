// Toolbars whose buttons and drop-down entries report their keys.

#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "Key_Toolbar.h"

class tst_key_toolbar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buttons_and_menu_entries_report_their_keys()
    {
        Key_Toolbar toolbar("ToolTest");
        QAction* email = toolbar.Add_Button("Send_Email", "Email", "Send E-Mail", "SendEmail");
        toolbar.Add_Menu_Entry(email, "Send_Email", "Schedule and Email");
        toolbar.Add_Menu_Entry(email, "ToDo", "Schedule a todo");
        QAction* record = toolbar.Add_Button("", "eRecord", "Record", "WritePad");
        toolbar.Add_Menu_Entry(record, "Record_Call_In", "Record Incoming Phone Call");
        QSignalSpy buttons(&toolbar, &Key_Toolbar::Button_Click);
        QSignalSpy entries(&toolbar, &Key_Toolbar::Button_Menu_Click);

        email->trigger();
        toolbar.Menu_Entry(email, "ToDo")->trigger();
        toolbar.Menu_Entry(record, "Record_Call_In")->trigger();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons[0][0].toString(), QString("Send_Email"));
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0][0].toString(), QString("ToDo"));
        QCOMPARE(entries[1][0].toString(), QString("Record_Call_In"));
        QCOMPARE(toolbar.Button("Send_Email"), email);
        QVERIFY(!toolbar.Button("Nothing"));

        // A button with a key opens its menu from the arrow; one without a key from anywhere.
        auto* email_button = qobject_cast<QToolButton*>(toolbar.widgetForAction(email));
        auto* record_button = qobject_cast<QToolButton*>(toolbar.widgetForAction(record));
        QCOMPARE(email_button->popupMode(), QToolButton::MenuButtonPopup);
        QCOMPARE(record_button->popupMode(), QToolButton::InstantPopup);

        toolbar.Set_Buttons_Enabled(false);
        QVERIFY(!email->isEnabled());
        QVERIFY(!toolbar.Menu_Entry(email, "ToDo")->isEnabled());
    }
};

QTEST_MAIN(tst_key_toolbar)
#include "tst_key_toolbar.moc"
