#pragma once
// Acting on the shown contact: the contact action toolbar opens the composer,
// the schedule and the record frames, or prints; the to-do list opens its
// entries in the record frame; the event reader's reply opens the composer;
// and a frame done or cancelled brings the contact back. The frames know none
// of each other: their requests and results meet here.

#include <QDateTime>
#include <QObject>
#include <functional>

class Contact_Details_Frame;
class Contact_Head_Frame;
class Email_Composer_Frame;
class Event_History_List;
class Event_Reader_Frame;
class QWidget;
class Record_Call_Frame;
class Schedule_Frame;
class Shown_Contact;
class ToDo_Page;

struct Contact_Action_Panes {
    Shown_Contact& shown;
    Contact_Head_Frame& head;
    Contact_Details_Frame& details;
    Event_History_List& events;
    Event_Reader_Frame& reader;
    Email_Composer_Frame& composer;
    Schedule_Frame& schedule;
    Record_Call_Frame& record;
    ToDo_Page& todo;
};

class Contact_Actions : public QObject {
    Q_OBJECT
public:
    Contact_Actions(const Contact_Action_Panes& panes, QObject* parent);

    // Shows the to-do row's entry in the record frame beside its contact and
    // the contact's events.
    void Display_Calls(const QString& Key, const QString& Type);

Q_SIGNALS:
    // A frame of the detail area is to be shown.
    void Frame_Wanted(QWidget* frame);
    // No contact is left to show.
    void Welcome_Wanted();

private:
    // Runs the action for the shown contact once its edits are stored (none
    // shown, or an edit that cannot be stored: nothing); a database failure is
    // shown as the contact toolbar's.
    void On_Shown_Contact(const std::function<void(qint64 ID)>& Action);
    void Compose();
    void Schedule(const QString& Type);
    void Record(const QString& Type);
    void Print(bool With_Events);
    void Back_To_Contact(qint64 ID);
    void Reply(qint64 Contact_ID, const QString& Subject, const QString& Message);
    void ToDo_Entry_Recorded(qint64 Contact_ID, const QDateTime& Date_Sent_To_Outbox);

    Contact_Action_Panes panes_;
};
