#include "Contact_Actions.h"

#include <functional>

#include "Contact_Reports.h"
#include "Database.h"
#include "Dialogs.h"
#include "Event_History_List.h"
#include "List_Rows.h"
#include "Shown_Contact.h"
#include "frames/Contact_Details_Frame.h"
#include "frames/Contact_Head_Frame.h"
#include "frames/Email_Composer_Frame.h"
#include "frames/Event_Reader_Frame.h"
#include "frames/Record_Call_Frame.h"
#include "frames/Schedule_Frame.h"
#include "pages/ToDo_Page.h"

Contact_Actions::Contact_Actions(const Contact_Action_Panes& panes, QObject* parent)
    : QObject(parent)
    , panes_(panes)
{
    Contact_Head_Frame* head = &panes_.head;
    connect(head, &Contact_Head_Frame::Compose_Requested, this, &Contact_Actions::Compose);
    connect(head, &Contact_Head_Frame::Schedule_Requested, this, &Contact_Actions::Schedule);
    connect(head, &Contact_Head_Frame::Record_Requested, this, &Contact_Actions::Record);
    connect(head, &Contact_Head_Frame::Print_Requested, this, &Contact_Actions::Print);

    connect(&panes_.composer, &Email_Composer_Frame::Closed, this, &Contact_Actions::Back_To_Contact);
    connect(&panes_.schedule, &Schedule_Frame::Closed, this, &Contact_Actions::Back_To_Contact);
    connect(&panes_.record, &Record_Call_Frame::Cancelled, this, &Contact_Actions::Back_To_Contact);
    connect(&panes_.record, &Record_Call_Frame::Recorded, this, [this] { Q_EMIT Frame_Wanted(&panes_.details); });
    // Its row comes as a new event's does: it is read, though.
    connect(&panes_.record, &Record_Call_Frame::Event_Recorded, &panes_.events, &Event_History_List::Mark_Event_Read);
    connect(&panes_.record, &Record_Call_Frame::ToDo_Entry_Recorded, this, &Contact_Actions::ToDo_Entry_Recorded);
    connect(&panes_.todo, &ToDo_Page::Entry_Chosen, this, &Contact_Actions::Display_Calls);
    connect(&panes_.todo, &ToDo_Page::List_Emptied, this, [this] { Q_EMIT Frame_Wanted(&panes_.details); });
    connect(&panes_.reader, &Event_Reader_Frame::Reply_Wanted, this, &Contact_Actions::Reply);
}

void Contact_Actions::On_Shown_Contact(const std::function<void(qint64 ID)>& Action)
{
    bool ok = false;
    const qint64 ID = panes_.head.Contact_ID().toLongLong(&ok);
    if (!ok || ID <= 0 || !panes_.shown.Save())
        return;
    try {
        Action(ID);
    } catch (const Program_Error& e) {
        Message_Box("Error on Tool_Contact_Action: " + e.Description());
    }
}

void Contact_Actions::Compose()
{
    On_Shown_Contact([this](qint64 ID) {
        if (panes_.composer.Compose_Email_To_Contact(ID)) {
            Q_EMIT Frame_Wanted(&panes_.composer);
            panes_.composer.Start_Typing();
        }
    });
}

void Contact_Actions::Schedule(const QString& Type)
{
    On_Shown_Contact([this, &Type](qint64 ID) {
        panes_.schedule.Open_For_Contact(ID, Type);
        Q_EMIT Frame_Wanted(&panes_.schedule);
        panes_.schedule.Start_Typing();
    });
}

void Contact_Actions::Record(const QString& Type)
{
    On_Shown_Contact([this, &Type](qint64 ID) {
        if (Type == "Outgoing Call")
            panes_.record.Setup_Record_Outgoing_Call(ID);
        else if (Type == "Incoming Call")
            panes_.record.Setup_Record_Incoming_Call(ID);
        else
            panes_.record.Setup_Custom_Event(ID);
        Q_EMIT Frame_Wanted(&panes_.record);
        panes_.record.Start_Typing();
    });
}

void Contact_Actions::Print(bool With_Events)
{
    On_Shown_Contact([With_Events](qint64 ID) {
        if (With_Events)
            Print_Contact_Events(ID);
        else
            Print_Contact_Details(ID);
    });
}

void Contact_Actions::Back_To_Contact(qint64 ID)
{
    if (ID == 0) {
        Q_EMIT Welcome_Wanted();
        return;
    }
    panes_.shown.Show_Current_Contact_Record(ID);
}

void Contact_Actions::Reply(qint64 Contact_ID, const QString& Subject, const QString& Message)
{
    try {
        panes_.composer.Open_Reply(Contact_ID, Subject, Message);
        Q_EMIT Frame_Wanted(&panes_.composer);
        panes_.composer.Start_Typing();
    } catch (const Program_Error& e) {
        Message_Box("Error on Tool Event Actions: " + e.Description());
    }
}

void Contact_Actions::Display_Calls(const QString& Key, const QString& Type)
{
    // Showing the entry's contact leaves the contact on show.
    if (!panes_.shown.Save())
        return;
    try {
        const qint64 ID = Get_Key_ID(Key).toLongLong();
        if (!panes_.shown.Load_And_Show_Contact(ID)) {
            Message_Box("The contact related to this Todo no longer exists!");
            return;
        }
        if (!panes_.record.Show_ToDo_Entry(Key, Type)) {
            Message_Box("This call or to-do is no longer in the outbox.");
            return;
        }
        Q_EMIT Frame_Wanted(&panes_.record);
        panes_.events.Show_Contact_Events(ID);
    } catch (const Program_Error& e) {
        Message_Box("Error on Display_Calls: " + e.Description());
    }
}

void Contact_Actions::ToDo_Entry_Recorded(qint64 Contact_ID, const QDateTime& Date_Sent_To_Outbox)
{
    try {
        panes_.todo.Complete_ToDo_Entry(Contact_ID, Date_Sent_To_Outbox);
    } catch (const Program_Error& e) {
        Message_Box("Error on Tool Record: " + e.Description());
    }
}
