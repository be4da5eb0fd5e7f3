#pragma once
// The contact on display, across the panes that show it: its row in the
// contact list, its head and details, its events and the event reader. It
// carries what one of these panes asks of another; the panes know none of
// each other.

#include <QObject>

class Contact_Details_Frame;
class Contact_Head_Frame;
class Contacts_Page;
class Event_History_List;
class Event_Reader_Frame;
class QSqlRecord;
struct Where_Clause;

class Shown_Contact : public QObject {
    Q_OBJECT
public:
    Shown_Contact(Contacts_Page& list, Contact_Head_Frame& head, Contact_Details_Frame& details,
                  Event_History_List& events, Event_Reader_Frame& reader, QObject* parent);

    void Setup_The_Contacts_Tree(const Where_Clause& clause);
    int Show_Current_Contact_Record(qint64 ID);
    int Load_And_Show_Contact(qint64 ID);
    bool Modified() const;
    bool Save_Contact_Record();
    // Saves the contact when it has pending edits.
    bool Save() { return !Modified() || Save_Contact_Record(); }

Q_SIGNALS:
    // A frame of the detail area is to be shown.
    void Frame_Wanted(QWidget* frame);

private:
    void ListContacts_ItemClick(qint64 ID);
    void ListEvents_ItemClick(const QString& Key);
    // The reader deleted its event: a neighbour of its row takes its place.
    void Event_Deleted(const QString& Key);
    void Show_Contact_Fields(const QSqlRecord& contact);
    void Set_Modified(bool modified);

    Contacts_Page& list_;
    Contact_Head_Frame& head_;
    Contact_Details_Frame& details_;
    Event_History_List& events_;
    Event_Reader_Frame& reader_;
};
