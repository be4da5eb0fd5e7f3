#include "Main_Window_Lists.h"

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

No_Window no_window;
Main_Window_Lists* registered = nullptr;

} // namespace

Main_Window_Lists& Main_Window()
{
    return registered ? *registered : no_window;
}

void Register_Main_Window(Main_Window_Lists* window)
{
    registered = window;
}

bool Main_Window_Registered()
{
    return registered != nullptr;
}
