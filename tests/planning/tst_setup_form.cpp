// The settings dialog: every page's fields round trip through the settings
// row and into the settings in use, only changed fields are written, the
// password change, and the invalid search strings.

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Password.h"
#include "Settings.h"
#include "Test_Support.h"
#include "frmSetupForm.h"

namespace G = GlobalVariables;

namespace {

const QString Password_Changed = "The new password has been successfully entered.";

struct Text_Setting {
    const char* field;
    const char* typed;   // keys typed into the empty box
    const char* stored;  // what the row holds then
};

const Text_Setting Texts[] = {
    {"Owner_Firstname", "Anna", "Anna"},
    {"Owner_Lastname", "O'Hara \"AJ\"", "O'Hara \"AJ\""},
    {"Owner_Address", "1 Main St", "1 Main St"},
    {"Owner_City", "Springfield", "Springfield"},
    {"Owner_State", "IL", "IL"},
    {"Owner_Zip", "62701", "62701"},
    {"Owner_Phone", "5551234567", "(555)123-4567"},
    {"SMTP_Server", "127.0.0.1", "127.0.0.1"},
    {"DefaultEmailName", "Anna Sales", "Anna Sales"},
    {"DefaultEmailAddress", "anna@example.com", "anna@example.com"},
    {"DefaultContactName", "Customer", "Customer"},
    {"Cc_Address", "copy@example.com", "copy@example.com"},
    {"Email_Check_Time", "15", "15"},
    {"Backup_Dir", "/tmp/backups", "/tmp/backups"},
};

const char* const Flags[] = {
    "Automatically_Send_Emails", "AutoSend_Birthdate_Emails", "Confirm_Email_Deletes",
    "Delete_Remote_Email", "Enabled_Cc_Redirection", "Auto_Check_Emails",
    "Check_For_Junk_Emails", "Check_For_Bad_Names",
};

// The settings in use that follow each field the dialog shows.
QVariant Copy_Of(const QString& field)
{
    const QHash<QString, QVariant> copies = {
        {"SMTP_Server", Current_Settings().SMTP_Server},
        {"DefaultEmailName", Current_Settings().DefaultEmailName},
        {"DefaultEmailAddress", Current_Settings().DefaultEmailAddress},
        {"DefaultContactName", Current_Settings().DefaultContactName},
        {"Cc_Address", Current_Settings().Cc_Address},
        {"Backup_Dir", Current_Settings().Backup_Dir},
        {"Automatically_Send_Emails", Current_Settings().Automatically_Send_Emails},
        {"AutoSend_Birthdate_Emails", Current_Settings().AutoSend_Birthdate_Emails},
        {"Confirm_Email_Deletes", Current_Settings().Confirm_Email_Deletes},
        {"Delete_Remote_Email", Current_Settings().Delete_Remote_Email},
        {"Enabled_Cc_Redirection", Current_Settings().Enabled_Cc_Redirection},
        {"Auto_Check_Emails", Current_Settings().Auto_Check_Emails},
        {"Check_For_Junk_Emails", Current_Settings().Check_For_Junk_Emails},
        {"Check_For_Bad_Names", Current_Settings().Check_For_Bad_Names},
    };
    return copies.value(field);
}

QLineEdit* Box(QWidget& dialog, const QString& field)
{
    auto* box = dialog.findChild<QLineEdit*>("txt" + field);
    if (!box)
        qFatal("no box for %s", qPrintable(field));
    return box;
}

QCheckBox* Check(QWidget& dialog, const QString& field)
{
    auto* box = dialog.findChild<QCheckBox*>("chk" + field);
    if (!box)
        qFatal("no check box for %s", qPrintable(field));
    return box;
}

QWidget* Page_Of(QWidget* control)
{
    auto* tabs = control->window()->findChild<QTabWidget*>("TabStrip1");
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(control))
            return tabs->widget(i);
    return nullptr;
}

// Shows the control's page, as the user's tab click does.
void Show_Page_Of(QWidget* control)
{
    auto* tabs = control->window()->findChild<QTabWidget*>("TabStrip1");
    tabs->setCurrentWidget(Page_Of(control));
    QVERIFY(control->isVisible());
}

void Type_Into(QLineEdit* box, const QString& keys)
{
    Show_Page_Of(box);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, keys);
}

void Close_Dialog(frmSetupForm& dialog, const QString& way)
{
    if (way == "Close")
        QTest::mouseClick(dialog.CloseSettings, Qt::LeftButton);
    else if (way == "Escape")
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        dialog.close();
    QVERIFY(!dialog.isVisible());
}

QSqlRecord Settings_Row(const Test_Program_Folder& folder)
{
    return folder.Db().Select_First("SELECT * FROM Settings");
}

QStringList Search_Strings(const Test_Program_Folder& folder)
{
    QStringList texts;
    for (const QSqlRecord& row :
         folder.Db().Select("SELECT Subject_Search_String FROM InvalidSearchStrings ORDER BY rowid"))
        texts << row.value(0).toString();
    return texts;
}

QStringList List_Texts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class tst_setup_form : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opens_on_user_settings()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        frmSetupForm dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Brackenlead for Windows Settings "));
        QCOMPARE(dialog.TabStrip1->count(), 6);
        QCOMPARE(dialog.TabStrip1->currentWidget(), dialog.frameUser_Settings);
        QCOMPARE(dialog.TabStrip1->tabText(1), QString("E-Mail "));
        QCOMPARE(dialog.TabStrip1->tabToolTip(5), QString("Invalid E-Mail Search Strings"));
        QCOMPARE(dialog.focusWidget(), Box(dialog, "Owner_Firstname"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void every_page_round_trips_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Close") << "Close";
        QTest::newRow("close box") << "close box";
        QTest::newRow("Escape") << "Escape";
    }

    // What is typed on every page reaches the row and, at once, the settings
    // in use; the next opening shows it; clearing it all goes back the same way.
    void every_page_round_trips()
    {
        QFETCH(QString, way);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        QVERIFY(Load_Settings());
        {
            frmSetupForm dialog;
            dialog.show();
            for (const Text_Setting& text : Texts)
                Type_Into(Box(dialog, text.field), text.typed);
            for (const char* flag : Flags) {
                Show_Page_Of(Check(dialog, flag));
                QTest::mouseClick(Check(dialog, flag), Qt::LeftButton, {},
                                  QPoint(8, Check(dialog, flag)->height() / 2));
            }
            Close_Dialog(dialog, way);
        }
        QSqlRecord row = Settings_Row(folder);
        for (const Text_Setting& text : Texts) {
            QCOMPARE(row.value(text.field).toString(), QString(text.stored));
            if (Copy_Of(text.field).isValid())
                QCOMPARE(Copy_Of(text.field).toString(), QString(text.stored));
        }
        for (const char* flag : Flags) {
            QCOMPARE(row.value(flag).toInt(), 1);
            QCOMPARE(Copy_Of(flag).toBool(), true);
        }

        {
            frmSetupForm dialog;
            dialog.show();
            for (const Text_Setting& text : Texts) {
                QCOMPARE(Box(dialog, text.field)->text(), QString(text.stored));
                Type_Into(Box(dialog, text.field), "");
            }
            for (const char* flag : Flags) {
                QVERIFY(Check(dialog, flag)->isChecked());
                Show_Page_Of(Check(dialog, flag));
                QTest::keyClick(Check(dialog, flag), Qt::Key_Space);
            }
            Close_Dialog(dialog, way);
        }
        row = Settings_Row(folder);
        for (const Text_Setting& text : Texts) {
            QCOMPARE(row.value(text.field).toString(), QString(""));
            if (Copy_Of(text.field).isValid())
                QCOMPARE(Copy_Of(text.field).toString(), QString(""));
        }
        for (const char* flag : Flags) {
            QCOMPARE(row.value(flag).toInt(), 0);
            QCOMPARE(Copy_Of(flag).toBool(), false);
        }
        QVERIFY(dialogs.messages.isEmpty());
    }

    // Columns the dialog does not show, and shown fields the user left alone,
    // keep what was written while it was open: the password's Apply, the backup.
    void closing_writes_only_changed_fields()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("UPDATE Settings SET Admin_Password = 'admin', Translate_Product_Aliases = 1, "
                            "Backup_Date = '2026-12-01 08:00:00', Compression_Counter = 4, "
                            "Owner_City = 'Old Town'");
        QVERIFY(Load_Settings());
        frmSetupForm dialog;
        dialog.show();
        Type_Into(Box(dialog, "SMTP_Server"), "mail.example.com");
        Show_Page_Of(dialog.txtNewPassword);
        QTest::keyClicks(dialog.txtNewPassword, "Fresh1");
        QTest::keyClicks(dialog.txtRetype_Password, "Fresh1");
        QTest::mouseClick(dialog.Apply_Changes, Qt::LeftButton);
        QCOMPARE(dialogs.Texts(), QStringList{"The new password has been successfully entered."});
        // Another writer while the dialog is open.
        folder.Db().Execute("UPDATE Settings SET Owner_City = 'New Town', Compression_Counter = 5");
        Close_Dialog(dialog, "Close");

        const QSqlRecord row = Settings_Row(folder);
        QCOMPARE(row.value("SMTP_Server").toString(), QString("mail.example.com"));
        QCOMPARE(Current_Settings().SMTP_Server, QString("mail.example.com"));
        QVERIFY(Password_Matches("Fresh1", row.value("Furrowline_Password").toString()));
        QCOMPARE(Current_Settings().Furrowline_Password, row.value("Furrowline_Password").toString());
        QCOMPARE(row.value("Owner_City").toString(), QString("New Town"));
        QCOMPARE(row.value("Admin_Password").toString(), QString("admin"));
        QCOMPARE(row.value("Translate_Product_Aliases").toInt(), 1);
        QCOMPARE(row.value("Backup_Date").toString(), QString("2026-12-01 08:00:00"));
        QCOMPARE(row.value("Compression_Counter").toInt(), 5);
    }

    // A stored value the phone mask cannot show is kept unless the user edits it.
    void unedited_phone_keeps_its_stored_text()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("UPDATE Settings SET Owner_Phone = '+44 20 7946 0958'");
        frmSetupForm dialog;
        dialog.show();
        Type_Into(Box(dialog, "Owner_City"), "Leeds");
        Close_Dialog(dialog, "Close");
        QCOMPARE(Settings_Row(folder).value("Owner_Phone").toString(), QString("+44 20 7946 0958"));
    }

    void failed_save_reverts_and_closes()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        QVERIFY(Load_Settings());
        frmSetupForm dialog;
        dialog.show();
        Type_Into(Box(dialog, "SMTP_Server"), "mail.example.com");
        folder.Db().Execute("CREATE TRIGGER refuse BEFORE UPDATE ON Settings "
                            "BEGIN SELECT RAISE(ABORT, 'read only'); END");
        Close_Dialog(dialog, "Close");
        QCOMPARE(dialogs.Texts(),
                 QStringList{"Error Updating Settings. Reverting back to old settings."});
        QCOMPARE(Settings_Row(folder).value("SMTP_Server").toString(), QString("NetSMTPServer"));
        QCOMPARE(Current_Settings().SMTP_Server, QString("NetSMTPServer"));
    }

    void password_change_data()
    {
        QTest::addColumn<QString>("stored");      // the password set before
        QTest::addColumn<bool>("in_clear");       // kept in clear by an older database
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("retyped");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("password_after");

        const QString done = Password_Changed;
        const QString retype = "The new password does not match the retyped password";
        const QString wrong = "The current password does not match the password currently being used.";
        QTest::newRow("right current") << "Old1" << false << "Old1" << "New1" << "New1" << done << "New1";
        QTest::newRow("wrong current") << "Old1" << false << "Old2" << "New1" << "New1" << wrong << "Old1";
        QTest::newRow("current in other case") << "Old1" << false << "old1" << "New1" << "New1" << wrong << "Old1";
        QTest::newRow("retype differs in case") << "Old1" << false << "Old1" << "New1" << "new1" << retype << "Old1";
        QTest::newRow("retype checked first") << "Old1" << false << "Old2" << "New1" << "New2" << retype << "Old1";
        QTest::newRow("none set, empty current") << "" << false << "" << "First" << "First" << done << "First";
        QTest::newRow("one set, empty current") << "Old1" << false << "" << "New1" << "New1" << wrong << "Old1";
        QTest::newRow("empty new removes log-in") << "Old1" << false << "Old1" << "" << "" << done << "";
        QTest::newRow("kept in clear") << "Old1" << true << "Old1" << "New1" << "New1" << done << "New1";
    }

    void password_change()
    {
        QFETCH(QString, stored);
        QFETCH(bool, in_clear);
        QFETCH(QString, current);
        QFETCH(QString, fresh);
        QFETCH(QString, retyped);
        QFETCH(QString, message);
        QFETCH(QString, password_after);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("UPDATE Settings SET Furrowline_Password = ?",
                            {in_clear ? stored : Password_Hash(stored)});
        QVERIFY(Load_Settings());
        const QString before = Current_Settings().Furrowline_Password;

        frmSetupForm dialog;
        dialog.show();
        Show_Page_Of(dialog.txtCurrent_Password);
        QCOMPARE(dialog.txtNewPassword->echoMode(), QLineEdit::Password);
        QTest::keyClicks(dialog.txtCurrent_Password, current);
        QTest::keyClicks(dialog.txtNewPassword, fresh);
        QTest::keyClicks(dialog.txtRetype_Password, retyped);
        QTest::keyClick(dialog.Apply_Changes, Qt::Key_Space);
        QCOMPARE(dialogs.Texts(), QStringList{message});
        // The boxes keep their text.
        QCOMPARE(dialog.txtNewPassword->text(), fresh);

        const QString after = Settings_Row(folder).value("Furrowline_Password").toString();
        QCOMPARE(Current_Settings().Furrowline_Password, after);
        QVERIFY(Password_Matches(password_after, after));
        if (message != Password_Changed) {
            QCOMPARE(after, before);
        } else {
            QVERIFY(Password_Is_Hashed(after));
            QVERIFY(password_after.isEmpty() ? after.isEmpty() : !after.contains(password_after));
        }
        Close_Dialog(dialog, "close box");
        QCOMPARE(Settings_Row(folder).value("Furrowline_Password").toString(), after);
    }

    // Strings are added as typed (a second copy too); an empty or blank
    // answer adds nothing; Delete takes the selected row only.
    void invalid_search_strings()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("INSERT INTO InvalidSearchStrings (Subject_Search_String) VALUES ('on behalf of')");
        frmSetupForm dialog;
        dialog.show();
        Show_Page_Of(dialog.lstEmail_Search_Strings);
        QCOMPARE(dialog.lstEmail_Search_Strings->currentRow(), 0);

        dialogs.input_answers = {"On Behalf Of", "", "   ", "Fwd: \"lead\""};
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(dialog.Add_Search_String, Qt::LeftButton);
        QCOMPARE(dialogs.input_prompts.count("Enter the search string:"), 4);
        const QStringList all = {"on behalf of", "On Behalf Of", "Fwd: \"lead\""};
        QCOMPARE(Search_Strings(folder), all);
        QCOMPARE(List_Texts(dialog.lstEmail_Search_Strings), all);

        // The second entry compares equal to the first without regard to case.
        dialog.lstEmail_Search_Strings->setCurrentRow(1);
        dialogs.answers = {vbCancel};
        QTest::mouseClick(dialog.Delete_Search, Qt::LeftButton);
        QCOMPARE(Search_Strings(folder), all);
        dialogs.answers = {vbOK};
        QTest::mouseClick(dialog.Delete_Search, Qt::LeftButton);
        QCOMPARE(dialogs.messages.last().text, QString("Do you want to Delete On Behalf Of?"));
        QCOMPARE(dialogs.messages.last().title, QString("Delete Search String"));
        QCOMPARE(dialogs.messages.last().style & 0x0F, int(vbOKCancel));
        const QStringList left = {"on behalf of", "Fwd: \"lead\""};
        QCOMPARE(Search_Strings(folder), left);
        QCOMPARE(List_Texts(dialog.lstEmail_Search_Strings), left);
        QCOMPARE(dialog.lstEmail_Search_Strings->currentRow(), 0);

        dialog.lstEmail_Search_Strings->setCurrentRow(1);
        QTest::mouseClick(dialog.Delete_Search, Qt::LeftButton);
        QTest::mouseClick(dialog.Delete_Search, Qt::LeftButton);
        QCOMPARE(Search_Strings(folder), QStringList{});
        QVERIFY(!dialog.Delete_Search->isEnabled());
    }
};

QTEST_MAIN(tst_setup_form)
#include "tst_setup_form.moc"
