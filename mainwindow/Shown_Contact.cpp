#include "Shown_Contact.h"

#include <QSqlRecord>

#include "Contact_Record.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History_List.h"
#include "List_Rows.h"
#include "frames/Contact_Details_Frame.h"
#include "frames/Contact_Head_Frame.h"
#include "frames/Event_Reader_Frame.h"
#include "pages/Contacts_Page.h"

Shown_Contact::Shown_Contact(Contacts_Page& list, Contact_Head_Frame& head, Contact_Details_Frame& details,
                             Event_History_List& events, Event_Reader_Frame& reader, QObject* parent)
    : QObject(parent)
    , list_(list)
    , head_(head)
    , details_(details)
    , events_(events)
    , reader_(reader)
{
    connect(&list_, &Contacts_Page::Contact_Chosen, this, &Shown_Contact::ListContacts_ItemClick);
    connect(&events_, &Event_History_List::Event_Chosen, this, &Shown_Contact::ListEvents_ItemClick);
    connect(&reader_, &Event_Reader_Frame::Event_Read, &events_, &Event_History_List::Mark_Event_Read);
    connect(&reader_, &Event_Reader_Frame::Event_Deleted, this, &Shown_Contact::Event_Deleted);
    connect(&head_, &Contact_Head_Frame::List_Column_Edited, this, [this](int sub_item, const QString& text) {
        list_.Set_Contact_Column(head_.Contact_ID(), sub_item, text);
    });
    connect(&head_, &Contact_Head_Frame::Details_Requested, this, [this] { Q_EMIT Frame_Wanted(&details_); });
}

void Shown_Contact::Setup_The_Contacts_Tree(const Where_Clause& clause)
{
    // The refill shows another contact: the shown one's edits go first.
    if (!Save())
        return;
    events_.clear();
    const qint64 first = list_.Fill_Contact_List(clause);
    if (first) {
        Show_Current_Contact_Record(first);
        events_.Show_Contact_Events(first);
        list_.Select_Contact(first);
    }
}

int Shown_Contact::Show_Current_Contact_Record(qint64 ID)
{
    // Every way to a contact comes through here, and the boxes are about to be
    // refilled from the database: the shown contact's edits go first.
    if (!Save())
        return 0;
    try {
        list_.Mark_Current_Contact(ID);
        Database db = Open_Database();
        const QSqlRecord record = db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {ID});
        if (record.isEmpty())
            return 0;
        if (Contact_Flag(record, "Pending_Events_To_Read"))
            list_.Set_Pending_Mark(ID, true);
        // A contact stops being new the first time it is shown.
        if (Contact_Flag(record, "New_Contact"))
            db.Execute("UPDATE Contacts SET New_Contact = 0 WHERE ID = ?", {ID});
        Show_Contact_Fields(record);
        head_.show();
        Q_EMIT Frame_Wanted(&details_);
        Set_Modified(false);
        return 1;
    } catch (const Program_Error& e) {
        Message_Box("Error on Show_Current_Record: " + e.Description());
        return 0;
    }
}

int Shown_Contact::Load_And_Show_Contact(qint64 ID)
{
    if (!Save())
        return 0;
    const QSqlRecord record = Open_Database().Select_First("SELECT * FROM Contacts WHERE ID = ?", {ID});
    if (record.isEmpty())
        return 0;
    Show_Contact_Fields(record);
    head_.show();
    Set_Modified(false);
    return 1;
}

void Shown_Contact::Show_Contact_Fields(const QSqlRecord& contact)
{
    head_.Show_Contact(contact);
    details_.Show_Contact(contact);
}

bool Shown_Contact::Modified() const
{
    return head_.Modified() || details_.Modified();
}

void Shown_Contact::Set_Modified(bool modified)
{
    head_.Set_Modified(modified);
    details_.Set_Modified(modified);
}

bool Shown_Contact::Save_Contact_Record()
{
    bool id_ok = false;
    const qint64 ID = head_.Contact_ID().toLongLong(&id_ok);
    if (!id_ok) {
        // No contact on display: there is nothing to store the boxes into.
        Set_Modified(false);
        return true;
    }
    Contact_Changes changes;
    head_.Read_Changes(changes);
    if (!details_.Read_Changes(changes))
        return false;
    try {
        Update_Contact(ID, changes);
    } catch (const Program_Error& e) {
        Message_Box("Error on Save_Contact_Record: " + e.Description());
        return false;
    }
    Set_Modified(false);
    return true;
}

void Shown_Contact::ListContacts_ItemClick(qint64 ID)
{
    if (!Show_Current_Contact_Record(ID))
        return;
    events_.Show_Contact_Events(ID);
    if (events_.Row_Count() == 0 && head_.Pending_Events()) {
        try {
            Open_Database().Execute("UPDATE Contacts SET Pending_Events_To_Read = 0 WHERE ID = ?", {ID});
            head_.Set_Pending_Events(false);
            list_.Set_Pending_Mark(ID, false);
        } catch (const Program_Error& e) {
            Message_Box("Error on ListContacts_ItemClick: " + e.Description());
        }
    }
}

void Shown_Contact::ListEvents_ItemClick(const QString& Key)
{
    const QString contact = Get_Key_Tail(Key);
    reader_.Show_Event(Key);
    Q_EMIT Frame_Wanted(&reader_);

    // The contact keeps its pending mark while one of its events is unread.
    if (events_.Has_Unread_Event())
        return;
    list_.Set_Pending_Mark(contact.toLongLong(), false);
    try {
        Open_Database().Execute("UPDATE Contacts SET Pending_Events_To_Read = 0 WHERE ID = ?",
                                {contact.toLongLong()});
        if (head_.Contact_ID() == contact)
            head_.Set_Pending_Events(false);
    } catch (const Program_Error& e) {
        Message_Box("Error on ListEvents_ItemClick: " + e.Description());
    }
}

void Shown_Contact::Event_Deleted(const QString& Key)
{
    QTreeWidgetItem* row = events_.Find_Key(Key);
    // Not listed (the list was filled again meanwhile): no other row is touched.
    if (!row) {
        reader_.Clear_Event();
        return;
    }
    const int position = events_.Position_Of(row);
    const int rows = events_.Row_Count();
    if (rows == 1) {
        reader_.Clear_Event();
    } else {
        // The row below, or above when it was the last.
        const QString next = events_.Key_At(position == rows ? position - 1 : position + 1);
        reader_.Show_Event(next);
        events_.Select_Item(events_.Find_Key(next));
    }
    events_.Remove_Key(Key);
}
