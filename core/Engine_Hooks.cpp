#include "Engine_Hooks.h"

#include "Main_Window_Lists.h"
#include "Process_State.h"
#include "Shared_Routines.h"
#include "Workflow_Run.h"

namespace {

class No_Window : public Main_Window_Lists {
public:
    bool Add_List_Row(Main_List, const List_Row&) override { return true; }
    int Remove_List_Row(Main_List, const QString&) override { return 0; }
    void Select_List_Row(Main_List, int) override {}
    int List_Row_Count(Main_List) const override { return 0; }
    QString List_Row_Key(Main_List, int) const override { return {}; }
    void Set_Status_Panel(int, const QString&) override {}
    void Set_Status_Panel_Visible(int, bool) override {}
    QString Shown_Contact_ID() const override { return {}; }
    void Refresh_Contact_List() override {}
};

struct Engine_Hooks {
    // Held while the window lives (it registers and unregisters itself).
    Main_Window_Lists* main_window = nullptr;
    std::function<void()> smtp_sender_starter;
    std::function<void(const QString&)> mail_store_deleter;
    std::function<void()> mouse_pointer_restorer;
    std::function<void(const QString&)> work_note_shower;

    void Reset()
    {
        work_note_shower = {};
        smtp_sender_starter = {};
        mail_store_deleter = {};
        mouse_pointer_restorer = {};
    }
};

Engine_Hooks& Hooks()
{
    return Owned_State<Engine_Hooks>();
}

} // namespace

Main_Window_Lists& Main_Window()
{
    static No_Window no_window;
    return Hooks().main_window ? *Hooks().main_window : no_window;
}

void Register_Main_Window(Main_Window_Lists* window)
{
    Hooks().main_window = window;
}

bool Main_Window_Registered()
{
    return Hooks().main_window != nullptr;
}

void Set_Smtp_Sender_Starter(std::function<void()> starter)
{
    Hooks().smtp_sender_starter = std::move(starter);
}

bool Start_Smtp_Sender_Hook()
{
    // A copy: the starter may replace the hook while it runs.
    const std::function<void()> starter = Hooks().smtp_sender_starter;
    if (!starter)
        return false;
    starter();
    return true;
}

void Delete_Mapi_Message(const QString& Message_ID)
{
    const std::function<void(const QString&)> deleter = Hooks().mail_store_deleter;
    if (deleter)
        deleter(Message_ID);
}

void Set_Mapi_Message_Deleter(std::function<void(const QString& Message_ID)> deleter)
{
    Hooks().mail_store_deleter = std::move(deleter);
}

void Restore_Mouse_Pointer()
{
    const std::function<void()> restorer = Hooks().mouse_pointer_restorer;
    if (restorer)
        restorer();
}

void Set_Mouse_Pointer_Restorer(std::function<void()> restorer)
{
    Hooks().mouse_pointer_restorer = std::move(restorer);
}

void Show_Work_Note(const QString& text)
{
    const std::function<void(const QString&)> shower = Hooks().work_note_shower;
    if (shower)
        shower(text);
}

void Set_Work_Note_Shower(std::function<void(const QString& text)> shower)
{
    Hooks().work_note_shower = std::move(shower);
}
