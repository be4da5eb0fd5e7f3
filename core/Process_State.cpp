#include "Process_State.h"

#include <vector>

#include "GlobalVariables.h"

namespace {

std::vector<void (*)()>& Resets()
{
    static std::vector<void (*)()> resets;
    return resets;
}

void Reset_Global_Variables()
{
    namespace G = GlobalVariables;
    G::Program_Folder.clear();
    G::Database_Path.clear();
    G::Password_Dialog_Answered = false;
    G::Block_Delete_Permitted = false;
    G::Delete_Dialog_Closed = false;
    G::Message_Center_Running = false;
    G::Unmatched_List_Loaded = false;
    G::Outbox_List_Loaded = false;
    G::ToDo_List_Loaded = false;
}

} // namespace

bool Register_State_Reset(void (*reset)())
{
    Resets().push_back(reset);
    return true;
}

void Reset_Process_State()
{
    Reset_Global_Variables();
    // By index: a reset may make an object of its own at first use.
    for (size_t i = 0; i < Resets().size(); ++i)
        Resets()[i]();
}
