#include "GlobalVariables.h"

#include "Settings.h"

namespace GlobalVariables {

void Reset()
{
    Program_Folder.clear();
    Database_Path.clear();
    Reset_Settings();
    Password_Dialog_Answered = false;
    Block_Delete_Permitted = false;
    Delete_Dialog_Closed = false;
    Message_Center_Running = false;
    Unmatched_List_Loaded = false;
    Outbox_List_Loaded = false;
    ToDo_List_Loaded = false;
}

} // namespace GlobalVariables
