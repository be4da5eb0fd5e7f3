#include "ToDo_Page.h"

#include <QVBoxLayout>

#include "List_View.h"

ToDo_Page::ToDo_Page(QWidget* parent)
    : QGroupBox("To Do's", parent)
{
    setObjectName("frameToDo");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    ListToDo = new List_View("ListToDo");
    layout->addWidget(ListToDo);
    ListToDo->Set_Columns({{"", 250}, {"First", 1000}, {"Last", 1000}, {"Event", 900},
                           {"Subject", 2000}, {"Date", 1500}});
    connect(ListToDo, &List_View::Column_Click, ListToDo, &List_View::Column_Sort);
}

void ToDo_Page::Fill_ToDo_List()
{
}
