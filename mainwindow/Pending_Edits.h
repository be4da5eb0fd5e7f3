#pragma once
// What a pane asks of the main window before a command of its own leaves the
// record on screen: that the pending edits, its own or another pane's, are
// stored first. Each answers false when an edit could not be stored (its
// message is shown, the edit stays on screen); the command then does nothing.

class Pending_Edits {
public:
    virtual ~Pending_Edits() = default;
    // The shown contact's edits.
    virtual bool Save_Contact_Edits() = 0;
    // The contact's, then the outbox entry's.
    virtual bool Save_Pending_Edits() = 0;
    // The outbox entry's, then the contact's.
    virtual bool Save_Pending_Edits_Outbox_First() = 0;
};
