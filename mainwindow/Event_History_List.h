#pragma once
// The shown contact's event history under the contact head, newest first,
// unread events in bold. Choosing an event asks for it in the event reader.

#include "List_View.h"

class Pending_Edits;

class Event_History_List : public List_View {
    Q_OBJECT
public:
    explicit Event_History_List(Pending_Edits& edits, QWidget* parent = nullptr);

    void Show_Contact_Events(qint64 ID);
    // The event is read: its row is no longer bold.
    void Mark_Event_Read(const QString& Key);
    bool Has_Unread_Event() const;

Q_SIGNALS:
    // The user chose the event with this key (the contact's edits are stored).
    void Event_Chosen(const QString& Key);

private:
    Pending_Edits& edits_;
};
