#pragma once
// The to-do page's list side: the calls and to-dos in the outbox. Filled on
// the page's first visit; its entries and commands are still to come.

#include <QGroupBox>

class List_View;

class ToDo_Page : public QGroupBox {
    Q_OBJECT
public:
    explicit ToDo_Page(QWidget* parent = nullptr);
    List_View* List() const { return ListToDo; }
    void Fill_ToDo_List();

private:
    List_View* ListToDo = nullptr;
};
