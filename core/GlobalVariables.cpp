#include "GlobalVariables.h"

namespace GlobalVariables {

void Reset()
{
    Program_Folder.clear();
    Database_Path.clear();
    Backup_Dir.clear();
    Furrowline_Password.clear();
    Admin_Password.clear();
    Cc_Address.clear();
    Enabled_Cc_Redirection = false;
    SMTP_Server.clear();
    DefaultEmailName.clear();
    DefaultEmailAddress.clear();
    DefaultContactName.clear();
    Automatically_Send_Emails = false;
    AutoSend_Birthdate_Emails = false;
    Confirm_Email_Deletes = false;
    Auto_Check_Emails = false;
    Delete_Remote_Email = false;
    Check_For_Junk_Emails = false;
    Check_For_Bad_Names = false;
    Translate_Product_Aliases = false;
    Password_Dialog_Answered = false;
    Block_Delete_Permitted = false;
    Delete_Dialog_Closed = false;
    Message_Center_Running = false;
    Unmatched_List_Loaded = false;
    Outbox_List_Loaded = false;
    ToDo_List_Loaded = false;
}

} // namespace GlobalVariables
