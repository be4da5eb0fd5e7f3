#pragma once
// The configuration: the one Settings row, loaded into one struct. Nothing
// reads the row except Load_Settings (and its two writers, the backup step and
// the settings dialog); every other part reads the loaded copy, whose fields
// keep the names of the row's fields. A load swaps the whole copy in at once
// and says so through the notifier.

#include <QObject>
#include <QString>
#include <functional>

struct Program_Settings {
    QString Backup_Dir;
    QString Furrowline_Password;
    QString Admin_Password;
    QString Cc_Address;
    bool Enabled_Cc_Redirection = false;
    QString SMTP_Server;
    QString DefaultEmailName;
    QString DefaultEmailAddress;
    QString DefaultContactName;
    bool Automatically_Send_Emails = false;
    bool AutoSend_Birthdate_Emails = false;
    bool Confirm_Email_Deletes = false;
    bool Auto_Check_Emails = false;
    bool Delete_Remote_Email = false;
    bool Check_For_Junk_Emails = false;
    bool Check_For_Bad_Names = false;
    bool Translate_Product_Aliases = false;
};

// The settings loaded last; all empty or off until the first load.
const Program_Settings& Current_Settings();

// Swaps the given settings in whole and signals Settings_Changed.
void Replace_Settings(const Program_Settings& Settings);
// Replaces the settings by a copy of the current ones changed by Change.
void Update_Settings(const std::function<void(Program_Settings& Settings)>& Change);

// Tells who shows or uses a setting that the settings have been replaced.
class Settings_Notifier : public QObject {
    Q_OBJECT

Q_SIGNALS:
    void Settings_Changed();
};
Settings_Notifier& Settings_Changes();

// Reads the row and swaps in the new settings (a null Cc_Address keeps the
// address loaded before). On any failure (no database, no table or field, a
// null flag) the settings stay as they were, "Your system is missing
// Microsoft's Data Access Libraries." is shown and false returned; the
// start-up then shows the help page and ends the program.
bool Load_Settings();
