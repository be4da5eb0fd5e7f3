#include "Settings.h"

#include <QSqlRecord>
#include <stdexcept>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Process_State.h"
#include "Shared_Routines.h"

namespace {

QVariant Field(const QSqlRecord& row, const char* name)
{
    const int index = row.indexOf(name);
    if (index < 0)
        throw std::runtime_error(std::string("missing field ") + name);
    return row.value(index);
}

QString Text_Field(const QSqlRecord& row, const char* name)
{
    return Null_To_Empty(Field(row, name));
}

// A flag that holds null cannot be read as True or False: the load fails.
bool Flag_Field(const QSqlRecord& row, const char* name)
{
    const QVariant value = Field(row, name);
    if (Is_Null(value))
        throw std::runtime_error(std::string("null flag ") + name);
    return value.toLongLong() != 0;
}

struct Loaded_Settings {
    Program_Settings settings;
    // A new start has no settings loaded; nobody is told.
    void Reset() { settings = Program_Settings(); }
};

Program_Settings& Loaded()
{
    return Owned_State<Loaded_Settings>().settings;
}

} // namespace

const Program_Settings& Current_Settings()
{
    return Loaded();
}

void Replace_Settings(const Program_Settings& Settings)
{
    Loaded() = Settings;
    Q_EMIT Settings_Changes().Settings_Changed();
}

void Update_Settings(const std::function<void(Program_Settings& Settings)>& Change)
{
    Program_Settings changed = Loaded();
    Change(changed);
    Replace_Settings(changed);
}

Settings_Notifier& Settings_Changes()
{
    static Settings_Notifier notifier;
    return notifier;
}

bool Load_Settings()
{
    try {
        Database db = Open_Database();
        const QSqlRecord row = db.Select_First("SELECT * FROM Settings ORDER BY rowid LIMIT 1");
        if (row.isEmpty())
            throw std::runtime_error("no settings row");

        // Read whole before it is swapped in, so a failed load changes nothing.
        Program_Settings s;
        s.Backup_Dir = Text_Field(row, "Backup_Dir");
        s.Furrowline_Password = Text_Field(row, "Furrowline_Password");
        s.Admin_Password = Text_Field(row, "Admin_Password");
        // A null address keeps the address of the previous load.
        const QVariant cc_address = Field(row, "Cc_Address");
        s.Cc_Address = Is_Null(cc_address) ? Current_Settings().Cc_Address : cc_address.toString();
        s.Enabled_Cc_Redirection = Flag_Field(row, "Enabled_Cc_Redirection");
        s.SMTP_Server = Text_Field(row, "SMTP_Server");
        s.DefaultEmailName = Text_Field(row, "DefaultEmailName");
        s.DefaultEmailAddress = Text_Field(row, "DefaultEmailAddress");
        s.DefaultContactName = Text_Field(row, "DefaultContactName");
        s.Automatically_Send_Emails = Flag_Field(row, "Automatically_Send_Emails");
        s.AutoSend_Birthdate_Emails = Flag_Field(row, "AutoSend_Birthdate_Emails");
        s.Confirm_Email_Deletes = Flag_Field(row, "Confirm_Email_Deletes");
        s.Auto_Check_Emails = Flag_Field(row, "Auto_Check_Emails");
        s.Delete_Remote_Email = Flag_Field(row, "Delete_Remote_Email");
        s.Check_For_Junk_Emails = Flag_Field(row, "Check_For_Junk_Emails");
        s.Check_For_Bad_Names = Flag_Field(row, "Check_For_Bad_Names");
        s.Translate_Product_Aliases = Flag_Field(row, "Translate_Product_Aliases");
        Replace_Settings(s);
        return true;
    } catch (const std::exception&) {
        Message_Box("Your system is missing Microsoft's Data Access Libraries.", vbOKOnly);
        return false;
    }
}
