// The contact on display, across the panes that show it: its row in the
// contact list, its head and details, its events and the event reader.

#include "frmContactSystem.h"

#include "Contact_Record.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History_List.h"
#include "List_Rows.h"
#include "frames/Contact_Details_Frame.h"
#include "frames/Contact_Head_Frame.h"
#include "frames/Event_Reader_Frame.h"

void frmContactSystem::Setup_The_Contacts_Tree(const Where_Clause& clause)
{
    // The refill shows another contact: the shown one's edits go first.
    if (!Save_Contact_Edits())
        return;
    ListEvents->clear();
    const qint64 first = frameContactsCommands->Fill_Contact_List(clause);
    if (first) {
        Show_Current_Contact_Record(first);
        Show_Contact_Events(first);
        frameContactsCommands->Select_Contact(first);
    }
}

int frmContactSystem::Show_Current_Contact_Record(qint64 ID)
{
    // Every way to a contact comes through here, and the boxes are about to be
    // refilled from the database: the shown contact's edits go first.
    if (!Save_Contact_Edits())
        return 0;
    try {
        frameContactsCommands->Mark_Current_Contact(ID);
        Database db = Open_Database();
        const QSqlRecord record = db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {ID});
        if (record.isEmpty())
            return 0;
        if (Contact_Flag(record, "Pending_Events_To_Read"))
            frameContactsCommands->Set_Pending_Mark(ID, true);
        // A contact stops being new the first time it is shown.
        if (Contact_Flag(record, "New_Contact"))
            db.Execute("UPDATE Contacts SET New_Contact = 0 WHERE ID = ?", {ID});
        Show_Contact_Fields(record);
        frameContact_Top_Screen->show();
        Show_Detail_Frame(frameContactDetails);
        Set_Contact_Modified(false);
        return 1;
    } catch (const Database_Error& e) {
        Message_Box("Error on Show_Current_Record: " + e.Description());
        return 0;
    }
}

int frmContactSystem::Load_And_Show_Contact(qint64 ID)
{
    if (!Save_Contact_Edits())
        return 0;
    const QSqlRecord record = Open_Database().Select_First("SELECT * FROM Contacts WHERE ID = ?", {ID});
    if (record.isEmpty())
        return 0;
    Show_Contact_Fields(record);
    frameContact_Top_Screen->show();
    Set_Contact_Modified(false);
    return 1;
}

void frmContactSystem::Show_Contact_Fields(const QSqlRecord& contact)
{
    frameContact_Top_Screen->Show_Contact(contact);
    frameContactDetails->Show_Contact(contact);
}

void frmContactSystem::Show_Contact_Events(qint64 ID)
{
    ListEvents->Show_Contact_Events(ID);
}

bool frmContactSystem::Contact_Modified() const
{
    return frameContact_Top_Screen->Modified() || frameContactDetails->Modified();
}

void frmContactSystem::Set_Contact_Modified(bool modified)
{
    frameContact_Top_Screen->Set_Modified(modified);
    frameContactDetails->Set_Modified(modified);
}

bool frmContactSystem::Save_Contact_Record()
{
    bool id_ok = false;
    const qint64 ID = frameContact_Top_Screen->Contact_ID().toLongLong(&id_ok);
    if (!id_ok) {
        // No contact on display: there is nothing to store the boxes into.
        Set_Contact_Modified(false);
        return true;
    }
    Contact_Changes changes;
    frameContact_Top_Screen->Read_Changes(changes);
    if (!frameContactDetails->Read_Changes(changes))
        return false;
    try {
        Update_Contact(ID, changes);
    } catch (const Database_Error& e) {
        Message_Box("Error on Save_Contact_Record: " + e.Description());
        return false;
    }
    Set_Contact_Modified(false);
    return true;
}

void frmContactSystem::ListContacts_ItemClick(qint64 ID)
{
    if (!Show_Current_Contact_Record(ID))
        return;
    Show_Contact_Events(ID);
    if (ListEvents->Row_Count() == 0 && frameContact_Top_Screen->Pending_Events()) {
        try {
            Open_Database().Execute("UPDATE Contacts SET Pending_Events_To_Read = 0 WHERE ID = ?", {ID});
            frameContact_Top_Screen->Set_Pending_Events(false);
            frameContactsCommands->Set_Pending_Mark(ID, false);
        } catch (const Database_Error& e) {
            Message_Box("Error on ListContacts_ItemClick: " + e.Description());
        }
    }
}

void frmContactSystem::ListEvents_ItemClick(const QString& Key)
{
    const QString contact = Get_Key_Tail(Key);
    frameEventView->Show_Event(Key);
    Show_Detail_Frame(frameEventView);

    // The contact keeps its pending mark while one of its events is unread.
    if (ListEvents->Has_Unread_Event())
        return;
    frameContactsCommands->Set_Pending_Mark(contact.toLongLong(), false);
    try {
        Open_Database().Execute("UPDATE Contacts SET Pending_Events_To_Read = 0 WHERE ID = ?",
                                {contact.toLongLong()});
        if (frameContact_Top_Screen->Contact_ID() == contact)
            frameContact_Top_Screen->Set_Pending_Events(false);
    } catch (const Database_Error& e) {
        Message_Box("Error on ListEvents_ItemClick: " + e.Description());
    }
}
