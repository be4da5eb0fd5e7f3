#include "Event_History_List.h"

#include <QSqlRecord>

#include "Contact_Record.h"
#include "Database.h"
#include "List_Recordset.h"
#include "List_Rows.h"
#include "Pending_Edits.h"
#include "Shared_Routines.h"

Event_History_List::Event_History_List(Pending_Edits& edits, QWidget* parent)
    : List_View("ListEvents", parent)
    , edits_(edits)
{
    Set_Columns({{"", 200}, {"Date", 1500}, {"Event", 1500}, {"Subject", 1500}});
    connect(this, &List_View::Item_Click, this, [this](QTreeWidgetItem* item) {
        if (!edits_.Save_Contact_Edits())
            return;
        if (item)
            Q_EMIT Event_Chosen(Item_Key(item));
    });
    connect(this, &List_View::Column_Click, this, [this](int column) {
        if (!edits_.Save_Contact_Edits())
            return;
        Column_Sort(column);
    });
}

void Event_History_List::Show_Contact_Events(qint64 ID)
{
    clear();
    const QList<QSqlRecord> rows =
        Open_List_Recordset("SELECT * FROM Eventhistory WHERE ContactID = ? ORDER BY EventDate DESC", {ID});
    for (const QSqlRecord& row : rows) {
        List_Row line;
        line.key = "evt" + Null_To_Empty(row.value("Event_Unique_ID")) + Key_Separator
                   + QString::number(row.value("ContactID").toLongLong());
        const QDateTime date = Db_To_Date(row.value("EventDate"));
        line.texts << (date.isValid() ? date.toString("MM/dd/yy HH:mm:ss") : QString())
                   << Null_To_Empty(row.value("Event_Type")) << Null_To_Empty(row.value("EventSubject"));
        if (Contact_Flag(row, "Has_Attachments"))
            line.icon = "Clip";
        if (!Is_Null(row.value("EventRead")) && row.value("EventRead").toLongLong() == 0)
            line.bold = {1, 2, 3};
        Add_Row(line);
    }
}

void Event_History_List::Mark_Event_Read(const QString& Key)
{
    if (QTreeWidgetItem* row = Find_Key(Key))
        for (int sub : {1, 2, 3})
            Set_Bold(row, sub, false);
}

bool Event_History_List::Has_Unread_Event() const
{
    for (int position = 1; position <= Row_Count(); ++position)
        if (Is_Bold(Row_At(position), 1))
            return true;
    return false;
}
