#include "Group_Actions.h"

#include <QSqlRecord>
#include <QTreeWidgetItem>

#include "All_Points_Broadcast.h"
#include "Clock.h"
#include "Contact_Removal.h"
#include "Contact_Reports.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Event_History.h"
#include "Event_History_List.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Main_Window_Lists.h"
#include "Report_Document.h"
#include "Report_Preview.h"
#include "Shared_Routines.h"
#include "Shown_Contact.h"
#include "dialogs/frmBlockDelete.h"
#include "dialogs/frmSelectProduct.h"
#include "dialogs/frmSelectRelationship.h"
#include "dialogs/frmSelectTimedEvents.h"
#include "frames/Contact_Head_Frame.h"
#include "frames/Schedule_Frame.h"

const char* const New_Contact_Placeholder_Email = "new.contact@placeholder.invalid";

namespace {

const char* const Block_Title = "Confirm Delete of Contact Block";

QString Outbox_Note(int entries)
{
    if (entries == 0)
        return QString();
    return entries == 1 ? QString("\n\nIts entry in the outbox is deleted too.")
                        : QString("\n\nIts %1 entries in the outbox are deleted too.").arg(entries);
}

} // namespace

Group_Actions::Group_Actions(const Group_Action_Panes& panes, QWidget* window)
    : QObject(window)
    , panes_(panes)
    , window_(window)
{
    connect(&panes_.list, &Contacts_Page::Toolbar1_ButtonClick, this, &Group_Actions::Toolbar1_ButtonClick);
    connect(&panes_.list, &Contacts_Page::Toolbar1_ButtonMenuClick, this, &Group_Actions::Toolbar1_ButtonMenuClick);
    connect(&panes_.head, &Contact_Head_Frame::Delete_Requested, this,
            [this] { Delete_Current_Contact(panes_.head.Contact_ID().toLongLong()); });
    connect(&panes_.head, &Contact_Head_Frame::Junk_Requested, this,
            [this] { Junk_Current_Contact(panes_.head.Contact_ID().toLongLong()); });
    connect(&panes_.schedule, &Schedule_Frame::Broadcast_Wanted, this,
            [this](const QString& Subject, const QString& Message, const QDateTime& Due,
                   const QStringList& Attachments, bool* Posted) {
                *Posted = All_Points_Broadcast(panes_.list, window_, Subject, Message, Due, Attachments);
            });
}

// ---- The group toolbar -----------------------------------------------------------------

void Group_Actions::Toolbar1_ButtonClick(const QString& Key)
{
    // The group stays as it is while a broadcast to it runs.
    if (Broadcast_Running() || !panes_.shown.Save())
        return;
    try {
        if (Key == "NewContact")
            New_Contact();
        else if (Key == "APB")
            Schedule_Broadcast();
        else if (Key == "EraseHistory")
            Erase_Group_History();
        else if (Key == "Delete")
            Delete_Group();
    } catch (const Program_Error& e) {
        Message_Box("Error on Group Actions: " + e.Description());
    }
}

void Group_Actions::Toolbar1_ButtonMenuClick(const QString& Key)
{
    if (Broadcast_Running() || !panes_.shown.Save())
        return;
    const auto chosen = [this](const Where_Clause& Clause, const std::optional<QString>& Caption) {
        Choose_Group(Clause, Caption);
    };
    try {
        if (Key == "SelectAll") {
            Choose_Group({}, std::nullopt);
        } else if (Key == "SelectNew") {
            Choose_Group({"WHERE ((Contacts.New_Contact) = 1)", {}}, std::nullopt);
        } else if (Key == "SelectPending") {
            Main_Window().Set_Status_Panel_Visible(7, false);
            Choose_Group({"WHERE ((Contacts.Pending_Events_To_Read) = 1)", {}}, std::nullopt);
        } else if (Key == "SelectTimed") {
            if (!timed_)
                timed_ = new frmSelectTimedEvents(window_, chosen);
            timed_->show();
            timed_->raise();
            timed_->activateWindow();
        } else if (Key == "SelectProduct") {
            frmSelectProduct picker(window_, chosen);
            picker.exec();
        } else if (Key == "SelectRelationship") {
            frmSelectRelationship picker(window_, chosen);
            picker.exec();
        } else if (Key == "PrintDetails") {
            Print_Group(false);
        } else if (Key == "PrintEvents") {
            Print_Group(true);
        }
    } catch (const Program_Error& e) {
        Message_Box("Error on Group_Actions_Menu: " + e.Description());
    }
}

void Group_Actions::Choose_Group(const Where_Clause& Clause, const std::optional<QString>& Caption)
{
    if (!panes_.shown.Save())
        return;
    panes_.clause = Clause;
    if (Caption)
        panes_.caption = *Caption;
    panes_.shown.Setup_The_Contacts_Tree(panes_.clause);
    if (panes_.list.List()->Row_Count() == 0)
        Show_Nothing();
}

void Group_Actions::New_Contact()
{
    // Found by its address: while it keeps the placeholder address no second one is made.
    qint64 ID = Find_Contact_By_Email(New_Contact_Placeholder_Email);
    List_View* list = panes_.list.List();
    if (ID == 0) {
        const QDateTime now = Now();
        ID = Open_Database().Insert(
            "INSERT INTO Contacts (FirstName, LastName, Email, Contact_Received_Date, Workflow_Start_Date, "
            "Import_Source) VALUES (?, ?, ?, ?, ?, ?)",
            {QString("**Firstname"), QString("Lastname"), QString(New_Contact_Placeholder_Email), now, now,
             QString("Manual Entry")});
    }
    if (!list->Find_Key(Make_Contact_Key(ID))) {
        const QSqlRecord contact = Open_Database().Select_First("SELECT * FROM Contacts WHERE ID = ?", {ID});
        panes_.list.Add_Contact_List_Row(ID, Db_Text(contact, "FirstName"), Db_Text(contact, "LastName"),
                                         Db_Text(contact, "Email"), Db_Text(contact, "Product"),
                                         Db_Text(contact, "Contact_Relationship"));
        panes_.list.Show_Contact_Count();
    }
    if (QTreeWidgetItem* row = list->Find_Key(Make_Contact_Key(ID))) {
        list->Select_Item(row);
        list->scrollToItem(row);
    }
    if (!panes_.shown.Show_Current_Contact_Record(ID))
        return;
    panes_.events.Show_Contact_Events(ID);
    panes_.head.Start_Typing();
}

void Group_Actions::Schedule_Broadcast()
{
    panes_.schedule.Open_For_Group(panes_.head.Contact_ID().toLongLong());
    panes_.head.hide();
    Q_EMIT Frame_Wanted(&panes_.schedule);
    panes_.schedule.Start_Typing();
}

bool Group_Actions::Block_Delete_Confirmed(const QString& Question)
{
    if (Message_Box(Question, vbYesNo, Block_Title) != vbYes)
        return false;
    return Ask_Block_Delete_Password(window_);
}

void Group_Actions::Erase_Group_History()
{
    if (!Block_Delete_Confirmed("Do you want to remove all the events from the current group?"))
        return;
    // The contacts listed when the user confirmed.
    const QList<qint64> IDs = panes_.list.Listed_Contact_IDs();
    const QString shown = panes_.head.Contact_ID();
    const auto done = [&] {
        panes_.events.clear();
        // An erased event may be open in the reader.
        if (!shown.isEmpty() && panes_.head.isVisible())
            Q_EMIT Frame_Wanted(&panes_.details);
    };
    try {
        for (auto ID = IDs.crbegin(); ID != IDs.crend(); ++ID) {
            Erase_Contact_History(*ID);
            panes_.list.Set_Pending_Mark(*ID, false);
            if (QString::number(*ID) == shown)
                panes_.head.Set_Pending_Events(false);
        }
    } catch (...) {
        done();
        throw;
    }
    done();
}

void Group_Actions::Delete_Group()
{
    if (!Block_Delete_Confirmed("Confirm DELETE of current group!"))
        return;
    const QList<qint64> IDs = panes_.list.Listed_Contact_IDs();
    // Whatever was deleted before a failure is off the screen too.
    const auto done = [this] {
        Show_Nothing();
        panes_.list.Show_Contact_Count();
    };
    try {
        for (auto ID = IDs.crbegin(); ID != IDs.crend(); ++ID) {
            Delete_Contact_Records(*ID);
            panes_.list.List()->Remove_Key(Make_Contact_Key(*ID));
        }
    } catch (...) {
        done();
        throw;
    }
    done();
}

void Group_Actions::Print_Group(bool With_Events)
{
    Database db = Open_Database();
    const Where_Clause& group = panes_.clause;
    const QList<QSqlRecord> contacts =
        db.Select("SELECT * FROM Contacts " + group.Text +
                      (With_Events ? " ORDER BY Contacts.FirstName, Contacts.LastName, Contacts.Email, Contacts.ID"
                                   : " ORDER BY Contacts.LastName, Contacts.FirstName, Contacts.ID"),
                  group.Values);
    if (contacts.isEmpty()) {
        Message_Box("There are no contacts for this selection");
        return;
    }
    if (!With_Events) {
        const Report_Document report = Contact_Details_Report(contacts);
        Preview_Report(report.Title(), report.Html());
        return;
    }
    const QList<QSqlRecord> events =
        db.Select("SELECT Eventhistory.* FROM Eventhistory WHERE Eventhistory.ContactID IN "
                  "(SELECT Contacts.ID FROM Contacts " + group.Text + ") "
                  "ORDER BY Eventhistory.ContactID, Eventhistory.EventDate DESC, Eventhistory.ID DESC",
                  group.Values);
    const Report_Document report = Contacts_With_Events_Report(contacts, events);
    Preview_Report(report.Title(), report.Html());
}

void Group_Actions::Show_Nothing()
{
    panes_.events.clear();
    Q_EMIT Welcome_Wanted();
}

// ---- The shown contact's removal ---------------------------------------------------------

void Group_Actions::Delete_Current_Contact(qint64 ID)
{
    Remove_Current_Contact(ID, false);
}

void Group_Actions::Junk_Current_Contact(qint64 ID)
{
    Remove_Current_Contact(ID, true);
}

void Group_Actions::Remove_Current_Contact(qint64 ID, bool Junk)
{
    if (ID <= 0 || !panes_.shown.Save())
        return;
    const QString what = Junk ? "Error on Junk Contact: " : "Error on Delete Contact: ";
    try {
        // Its outbox entries go with it: nothing is sent later to a contact that is gone.
        const QString note = Outbox_Note(Contact_Outbox_Entry_Count(ID));
        const bool yes = Junk ? Message_Box("Confirm adding record to Junk: " + note, vbYesNo, "Confirm Junk") == vbYes
                              : Message_Box("Confirm DELETE of Contact " + panes_.head.Shown_Name() + note, vbYesNo,
                                            "Confirm Delete") == vbYes;
        if (!yes)
            return;
        Delete_Contact_Records(ID, Junk ? panes_.head.Shown_Email() : QString());
    } catch (const Database_Error& e) {
        // Nothing of the contact was removed: it stays on screen.
        Message_Box(what + e.Description());
        return;
    } catch (const Program_Error& e) {
        Message_Box(what + e.Description());
    }
    Remove_Contact_Row(ID);
}

void Group_Actions::Remove_Contact_Row(qint64 ID)
{
    List_View* list = panes_.list.List();
    const QString key = Make_Contact_Key(ID);
    const int p = list->Position_Of(list->Find_Key(key));
    const int n = list->Row_Count();
    // Not listed (shown from the to-do list): no other row is touched.
    if (p == 0 || n == 1) {
        list->Remove_Key(key);
        panes_.list.Show_Contact_Count();
        Show_Nothing();
        return;
    }
    const qint64 neighbour = list->Key_At(p == n ? p - 1 : p + 1).mid(3).toLongLong();
    list->Remove_Key(key);
    panes_.list.Show_Contact_Count();
    panes_.shown.Show_Current_Contact_Record(neighbour);
    panes_.events.Show_Contact_Events(neighbour);
    panes_.list.Select_Contact(neighbour);
}
