#pragma once
// The contact group's commands: the group toolbar above the contact list
// (a new contact, the broadcast, erasing and deleting the group after the
// password, choosing the group, printing it) and the removal of the shown
// contact (the contact toolbar's Delete and Junk), which shares with the
// group delete the care that no removed contact stays on screen.

#include <QObject>
#include <QPointer>
#include <optional>

#include "pages/Contacts_Page.h"

class Contact_Head_Frame;
class Event_History_List;
class QWidget;
class Schedule_Frame;
class Shown_Contact;
class frmSelectTimedEvents;

struct Group_Action_Panes {
    Shown_Contact& shown;
    Contacts_Page& list;
    Contact_Head_Frame& head;
    Event_History_List& events;
    QWidget& details;
    Schedule_Frame& schedule;
    Where_Clause& clause;       // the current group
    QString& caption;           // its caption
};

// The address of the contact "NewContact" makes, until the user types another.
extern const char* const New_Contact_Placeholder_Email;

class Group_Actions : public QObject {
    Q_OBJECT
public:
    // The pickers' windows stand over window.
    Group_Actions(const Group_Action_Panes& panes, QWidget* window);

    void Toolbar1_ButtonClick(const QString& Key);
    void Toolbar1_ButtonMenuClick(const QString& Key);
    // The group becomes the current one (with its caption, when given) and is listed.
    void Choose_Group(const Where_Clause& Clause, const std::optional<QString>& Caption);

    void Delete_Current_Contact(qint64 ID);
    void Junk_Current_Contact(qint64 ID);

Q_SIGNALS:
    // A frame of the detail area is to be shown.
    void Frame_Wanted(QWidget* frame);
    // No contact is left to show.
    void Welcome_Wanted();

private:
    void New_Contact();
    void Schedule_Broadcast();
    bool Block_Delete_Confirmed(const QString& Question);
    void Erase_Group_History();
    void Delete_Group();
    void Print_Group(bool With_Events);
    void Remove_Current_Contact(qint64 ID, bool Junk);
    // The row of the removed contact goes; a neighbour is shown in its place.
    void Remove_Contact_Row(qint64 ID);
    void Show_Nothing();

    Group_Action_Panes panes_;
    QWidget* window_;
    QPointer<frmSelectTimedEvents> timed_;
};
