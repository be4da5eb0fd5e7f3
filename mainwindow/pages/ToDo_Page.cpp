#include "ToDo_Page.h"

#include <QSqlRecord>
#include <QVBoxLayout>

#include "Data_Access.h"
#include "Dialogs.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Outbox_Removal.h"

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
    // The due date in full: it is what the list is ordered by.
    ListToDo->Set_Column_Widths({26, 80, 90, 70, 150, 130});
    connect(ListToDo, &List_View::Column_Click, ListToDo, &List_View::Column_Sort);
    connect(ListToDo, &List_View::Item_Click, this, &ToDo_Page::ListToDo_ItemClick);
}

int ToDo_Page::Fill_ToDo_List()
{
    // Entries whose contact is gone are left out with it.
    const QList<QSqlRecord> rows = Open_Database().Select(
        "SELECT Outbox.Out_Event_Type, Outbox.Date_Sent_To_Outbox, Outbox.Out_Contact_ID, Contacts.FirstName, "
        "Contacts.LastName, Outbox.Date_To_Execute_Event, Outbox.Subject "
        "FROM Outbox INNER JOIN Contacts ON Outbox.Out_Contact_ID = Contacts.ID "
        "WHERE Outbox.Out_Event_Type IN ('Call Out', 'To Do') "
        "ORDER BY Outbox.Date_To_Execute_Event, Outbox.ID");
    int added = 0;
    for (const QSqlRecord& row : rows)
        if (Add_ToDo_List_Item(row.value("Out_Contact_ID").toLongLong(), Db_To_Date(row.value("Date_Sent_To_Outbox")),
                               row.value("FirstName"), row.value("LastName"), row.value("Out_Event_Type"),
                               row.value("Subject"), Db_To_Date(row.value("Date_To_Execute_Event"))))
            ++added;
    return added;
}

void ToDo_Page::ListToDo_ItemClick(QTreeWidgetItem* item)
{
    if (item)
        Q_EMIT Entry_Chosen(List_View::Item_Key(item), item->text(3));
}

void ToDo_Page::Select_ToDo_Item_At(int& Position)
{
    const int rows = ListToDo->Row_Count();
    if (rows == 0) {
        Q_EMIT List_Emptied();
        return;
    }
    if (Position >= rows)
        Position = rows;
    if (Position < 1)
        Position = 1;
    QTreeWidgetItem* row = ListToDo->Row_At(Position);
    Q_EMIT Entry_Chosen(List_View::Item_Key(row), row->text(3));
    ListToDo->Select_Item(row);
}

void ToDo_Page::Complete_ToDo_Entry(qint64 Contact_ID, const QDateTime& Date_Sent_To_Outbox)
{
    const QString key = Make_ToDo_Key(Contact_ID, Date_Sent_To_Outbox);
    int position = ListToDo->Position_Of(ListToDo->Find_Key(key));
    Delete_Outbox_Entries_Posted(Contact_ID, Date_Sent_To_Outbox);
    // Gone from the list even where the removal left it (the list not marked filled).
    ListToDo->Remove_Key(key);
    // The next entry comes up in the done one's place, so none stays on show.
    Select_ToDo_Item_At(position);
}

int Delete_Contact_Outbox_Emails(qint64 ID)
{
    if (Open_Database().Select_First("SELECT ID FROM Outbox WHERE Out_Contact_ID = ? LIMIT 1", {ID}).isEmpty())
        return 0;
    if (Message_Box("This contact has e-mail(s) in the outbox. Do you want to delete these as well?", vbYesNo)
        != vbYes)
        return 0;
    return Delete_Contact_Outbox_Entries(ID);
}
