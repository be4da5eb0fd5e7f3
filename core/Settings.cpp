#include "Settings.h"

#include <QSqlRecord>
#include <stdexcept>

#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
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

} // namespace

bool Load_Settings()
{
    namespace G = GlobalVariables;
    try {
        Database db = Open_Database();
        const QSqlRecord row = db.Select_First("SELECT * FROM Settings ORDER BY rowid LIMIT 1");
        if (row.isEmpty())
            throw std::runtime_error("no settings row");

        // Read everything first, so a failed load changes no copy.
        const QString backup_dir = Text_Field(row, "Backup_Dir");
        const QString furrowline_password = Text_Field(row, "Furrowline_Password");
        const QString admin_password = Text_Field(row, "Admin_Password");
        const QVariant cc_address = Field(row, "Cc_Address");
        const bool enabled_cc_redirection = Flag_Field(row, "Enabled_Cc_Redirection");
        const QString smtp_server = Text_Field(row, "SMTP_Server");
        const QString default_email_name = Text_Field(row, "DefaultEmailName");
        const QString default_email_address = Text_Field(row, "DefaultEmailAddress");
        const QString default_contact_name = Text_Field(row, "DefaultContactName");
        const bool automatically_send_emails = Flag_Field(row, "Automatically_Send_Emails");
        const bool autosend_birthdate_emails = Flag_Field(row, "AutoSend_Birthdate_Emails");
        const bool confirm_email_deletes = Flag_Field(row, "Confirm_Email_Deletes");
        const bool auto_check_emails = Flag_Field(row, "Auto_Check_Emails");
        const bool delete_remote_email = Flag_Field(row, "Delete_Remote_Email");
        const bool check_for_junk_emails = Flag_Field(row, "Check_For_Junk_Emails");
        const bool check_for_bad_names = Flag_Field(row, "Check_For_Bad_Names");
        const bool translate_product_aliases = Flag_Field(row, "Translate_Product_Aliases");

        G::Backup_Dir = backup_dir;
        G::Furrowline_Password = furrowline_password;
        G::Admin_Password = admin_password;
        // A null address keeps the copy of the previous load.
        if (!Is_Null(cc_address))
            G::Cc_Address = cc_address.toString();
        G::Enabled_Cc_Redirection = enabled_cc_redirection;
        G::SMTP_Server = smtp_server;
        G::DefaultEmailName = default_email_name;
        G::DefaultEmailAddress = default_email_address;
        G::DefaultContactName = default_contact_name;
        G::Automatically_Send_Emails = automatically_send_emails;
        G::AutoSend_Birthdate_Emails = autosend_birthdate_emails;
        G::Confirm_Email_Deletes = confirm_email_deletes;
        G::Auto_Check_Emails = auto_check_emails;
        G::Delete_Remote_Email = delete_remote_email;
        G::Check_For_Junk_Emails = check_for_junk_emails;
        G::Check_For_Bad_Names = check_for_bad_names;
        G::Translate_Product_Aliases = translate_product_aliases;
        return true;
    } catch (const std::exception&) {
        Message_Box("Your system is missing Microsoft's Data Access Libraries.", vbOKOnly);
        return false;
    }
}
