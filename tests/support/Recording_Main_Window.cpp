#include "Recording_Main_Window.h"

Recording_Main_Window::Recording_Main_Window()
{
    Register_Main_Window(this);
}

Recording_Main_Window::~Recording_Main_Window()
{
    Register_Main_Window(nullptr);
}

bool Recording_Main_Window::Add_List_Row(Main_List list, const List_Row& row)
{
    if (Row(list, row.key))
        return false;
    rows_[int(list)] << row;
    return true;
}

int Recording_Main_Window::Remove_List_Row(Main_List list, const QString& key)
{
    QList<List_Row>& rows = rows_[int(list)];
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).key == key) {
            rows.removeAt(i);
            return i + 1;
        }
    }
    return 0;
}

void Recording_Main_Window::Select_List_Row(Main_List, int position)
{
    selected = position;
}

int Recording_Main_Window::List_Row_Count(Main_List list) const
{
    return int(rows_.value(int(list)).size());
}

QString Recording_Main_Window::List_Row_Key(Main_List list, int position) const
{
    const QList<List_Row> rows = rows_.value(int(list));
    return position >= 1 && position <= rows.size() ? rows.at(position - 1).key : QString();
}

void Recording_Main_Window::Set_Status_Panel(int panel, const QString& text)
{
    panels[panel] = text;
    panel_history[panel] << text;
}

void Recording_Main_Window::Set_Status_Panel_Visible(int panel, bool visible)
{
    panel_visible[panel] = visible;
}

QString Recording_Main_Window::Shown_Contact_ID() const
{
    return shown_contact_id;
}

void Recording_Main_Window::Refresh_Contact_List()
{
}

QList<List_Row> Recording_Main_Window::Rows(Main_List list) const
{
    return rows_.value(int(list));
}

const List_Row* Recording_Main_Window::Row(Main_List list, const QString& key) const
{
    const auto it = rows_.constFind(int(list));
    if (it == rows_.constEnd())
        return nullptr;
    for (const List_Row& row : *it) {
        if (row.key == key)
            return &row;
    }
    return nullptr;
}
