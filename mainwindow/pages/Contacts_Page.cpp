#include "Contacts_Page.h"

#include <QColor>
#include <QCoreApplication>
#include <QToolButton>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "Key_Toolbar.h"
#include "List_Recordset.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Main_Window_Lists.h"
#include "Pending_Edits.h"

Contacts_Page::Contacts_Page(Pending_Edits& edits, QWidget* parent)
    : QGroupBox("Contacts Commands", parent)
    , edits_(edits)
{
    setObjectName("frameContactsCommands");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    Toolbar1 = new Key_Toolbar("Toolbar1");
    Toolbar1->Add_Button("NewContact", "New", "Create a new contact", "NewContact");
    QAction* groups = Toolbar1->Add_Button("Select", "Groups", "Select the group of contacts to list", "Group");
    Toolbar1->Add_Menu_Entry(groups, "SelectAll", "All Contacts");
    Toolbar1->Add_Menu_Entry(groups, "SelectNew", "New Contacts");
    Toolbar1->Add_Menu_Entry(groups, "SelectPending", "Contacts with Pending Events");
    Toolbar1->Add_Menu_Entry(groups, "SelectTimed", "Contacts by Timed Events...");
    Toolbar1->Add_Menu_Entry(groups, "SelectProduct", "Contacts by Product...");
    Toolbar1->Add_Menu_Entry(groups, "SelectRelationship", "Contacts by Relationship...");
    Toolbar1->Add_Button("APB", "APB", "Schedule a message for the whole group", "Time");
    QAction* print = Toolbar1->Add_Button("PrintGroup", "Print", "Print the group", "Print");
    Toolbar1->Add_Menu_Entry(print, "PrintDetails", "Print Contact Details");
    Toolbar1->Add_Menu_Entry(print, "PrintEvents", "Print Contacts with their Events");
    Toolbar1->Add_Separator();
    Toolbar1->Add_Button("EraseHistory", "Erase", "Erase the event history of the group", "Erase");
    Toolbar1->Add_Button("Delete", "Delete", "Delete every contact of the group", "DeleteCross");
    connect(Toolbar1, &Key_Toolbar::Button_Click, this, [this, groups, print](const QString& Key) {
        // The two menu buttons open their menus.
        if (Key == "Select" || Key == "PrintGroup") {
            if (auto* button = qobject_cast<QToolButton*>(Toolbar1->widgetForAction(Key == "Select" ? groups : print)))
                button->showMenu();
            return;
        }
        Q_EMIT Toolbar1_ButtonClick(Key);
    });
    connect(Toolbar1, &Key_Toolbar::Button_Menu_Click, this, &Contacts_Page::Toolbar1_ButtonMenuClick);
    layout->addWidget(Toolbar1);
    ListContacts = new List_View("ListContacts");
    layout->addWidget(ListContacts);

    ListContacts->Set_Columns({{"", 1}, {"First", 1000}, {"Last", 1000}, {"Email", 1000},
                               {"Product", 1500}, {"Relation", 1500}, {"Title", 1500}});
    // Narrower than the twips say, so the six columns fit beside the editor,
    // and the e-mail column wider: addresses are the longest texts.
    ListContacts->Set_Column_Widths({2, 80, 90, 160, 90, 80, 60});
    connect(ListContacts, &List_View::Item_Click, this, &Contacts_Page::ListContacts_ItemClick);
    connect(ListContacts, &List_View::Column_Click, this, [this](int column) {
        if (!edits_.Save_Contact_Edits())
            return;
        ListContacts->Column_Sort(column);
    });
}

qint64 Contacts_Page::Fill_Contact_List(const Where_Clause& clause)
{
    ListContacts->clear();
    current_key_.clear();
    // The rows are listed in slices, the window drawn between them. Every
    // contact is read from the names index alone, in its order (ties by
    // first name and ID).
    const QString sql =
        "SELECT Contacts.FirstName, Contacts.LastName, Contacts.Product, Contacts.Contact_Relationship, "
        "Contacts.Contact_Title, Contacts.Email, Contacts.MiddleInitial, Contacts.ID, "
        "Contacts.Pending_Events_To_Read, Contacts.New_Contact FROM Contacts "
        + clause.Text
        + (clause.Text.isEmpty() ? QString(" ORDER BY Contacts.LastName, Contacts.FirstName, Contacts.ID;")
                                 : QString(" ORDER BY Contacts.LastName;"));
    constexpr int Slice_Rows = 4000;
    // The columns by their place in the statement above.
    enum { First, Last, Product, Relationship, Title, Email, Middle, ID, Pending, New };
    const auto flag = [](const Row_Values& row, int column) {
        return !row.Is_Null(column) && row.Integer(column) != 0;
    };
    qint64 read = 0;
    // The first slice is listed at once; the rest together at the end, as
    // the list lays out all its rows again on every insertion. A sorted list
    // takes them all at the end: one sort, not a place sought for each row.
    const bool first_at_once = !ListContacts->Is_Sorted();
    List_View::Made_Rows rest;
    const bool ok = Read_List_Rows(
        sql, clause.Values, Slice_Rows,
        [&flag](const Row_Values& row) {
            return Contact_List_Row(row.Integer(ID), row.Text(First), row.Text(Last), row.Text(Product),
                                    row.Text(Relationship), row.Text(Title), flag(row, Pending),
                                    flag(row, New), row.Text(Email));
        },
        // A clause joining the events gives a contact once per event: the list takes it once.
        [&](QList<List_Row>& slice) {
            if (read == 0 && first_at_once)
                ListContacts->Add_Rows(slice);
            else
                ListContacts->Make_Rows(slice, rest);
            read += slice.size();
        });
    if (!ok) {
        ListContacts->clear();
        return 0;
    }
    ListContacts->Add_Made_Rows(rest);
    if (read == 0) {
        Message_Box("There are no contacts for this selection");
        Main_Window().Set_Status_Panel(2, "0");
        return 0;
    }
    Main_Window().Set_Status_Panel(2, QString::number(read));
    return List_View::Item_Key(ListContacts->Row_At(1)).mid(3).toLongLong();
}

void Contacts_Page::Add_Contact_List_Row(qint64 ID, const QString& First_Name, const QString& Last_Name,
                                         const QString& Email, const QString& Product,
                                         const QString& Relationship)
{
    List_Row row;
    row.key = Make_Contact_Key(ID);
    row.texts << First_Name << Last_Name << Email << Product << Relationship;
    if (QTreeWidgetItem* item = ListContacts->Add_Row(row))
        ListContacts->Select_Item(item);
}

void Contacts_Page::Mark_Current_Contact(qint64 ID)
{
    if (QTreeWidgetItem* shown_before = ListContacts->Find_Key(current_key_))
        for (int sub : {1, 2})
            shown_before->setData(sub, Qt::ForegroundRole, QVariant());
    QTreeWidgetItem* item = ListContacts->Find_Key(Make_Contact_Key(ID));
    current_key_ = item ? List_View::Item_Key(item) : QString();
    if (item)
        for (int sub : {1, 2})
            item->setForeground(sub, QColor(255, 0, 0));
}

void Contacts_Page::Select_Contact(qint64 ID)
{
    ListContacts->Select_Item(ListContacts->Find_Key(Make_Contact_Key(ID)));
}

void Contacts_Page::Set_Pending_Mark(qint64 ID, bool pending)
{
    if (QTreeWidgetItem* row = ListContacts->Find_Key(Make_Contact_Key(ID)))
        for (int sub : {1, 2})
            List_View::Set_Bold(row, sub, pending);
}

void Contacts_Page::Set_Contact_Column(const QString& ID, int sub_item, const QString& text)
{
    if (QTreeWidgetItem* item = ListContacts->Find_Key("key" + ID))
        item->setText(sub_item, text);
}

QList<qint64> Contacts_Page::Listed_Contact_IDs() const
{
    QList<qint64> IDs;
    for (int position = 1; position <= ListContacts->Row_Count(); ++position)
        IDs << ListContacts->Key_At(position).mid(3).toLongLong();
    return IDs;
}

void Contacts_Page::Show_Contact_Count()
{
    Main_Window().Set_Status_Panel(2, QString::number(ListContacts->Row_Count()));
}

void Contacts_Page::Set_Group_Commands_Enabled(bool enabled)
{
    Toolbar1->Set_Buttons_Enabled(enabled);
}

void Contacts_Page::ListContacts_ItemClick(QTreeWidgetItem* item)
{
    if (!item)
        return;
    if (!edits_.Save_Contact_Edits()) {
        // The edit stays on screen, and so does its contact.
        ListContacts->Select_Item(ListContacts->Find_Key(current_key_));
        return;
    }
    Q_EMIT Contact_Chosen(List_View::Item_Key(item).mid(3).toLongLong());
}
