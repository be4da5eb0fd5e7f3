#pragma once
// What the engine may touch of the main window: its lists, its status bar and
// the contact it shows. The main window implements this and registers itself
// at start-up; with none registered (no window, as in engine tests) nothing is
// shown and every call is harmless.

#include <QList>
#include <QString>
#include <QStringList>

enum class Main_List { Contacts, Events, ToDo, Unmatched, Outbox };

// One row of a report-view list: the first column carries only the icon, the
// values stand in the columns after it (texts[0] is sub-item 1).
struct List_Row {
    QString key;              // the item key
    QStringList texts;        // sub-items 1..n
    QString icon;             // icon key of the window's image list, empty for none
    QList<int> bold;          // 1-based sub-items shown bold
    QList<int> highlighted;   // 1-based sub-items in the highlight colour
};

class Main_Window_Lists {
public:
    virtual ~Main_Window_Lists() = default;

    // Adds a row at the end (or at its sorted place while the list is sorted).
    // A key the list already holds is refused: returns false, adds nothing.
    virtual bool Add_List_Row(Main_List list, const List_Row& row) = 0;
    // Removes the row with the key; returns its 1-based position, 0 when none.
    virtual int Remove_List_Row(Main_List list, const QString& key) = 0;
    // Selects the row at a 1-based position (clamped to the list); 0 rows: nothing.
    virtual void Select_List_Row(Main_List list, int position) = 0;
    virtual int List_Row_Count(Main_List list) const = 0;
    virtual QString List_Row_Key(Main_List list, int position) const = 0;

    // Status bar panels, 1-based.
    virtual void Set_Status_Panel(int panel, const QString& text) = 0;
    virtual void Set_Status_Panel_Visible(int panel, bool visible) = 0;

    // The text of the contact-id box of the contact on display (empty: none).
    virtual QString Shown_Contact_ID() const = 0;

    // Refills the contact list for the current group.
    virtual void Refresh_Contact_List() = 0;

    // The outbox row with this ID has left the outbox (sent): the outbox
    // entry editor forgets it when it shows it, so nothing saves it back.
    virtual void Outbox_Entry_Gone(qint64 Outbox_ID) { (void)Outbox_ID; }

    // The contact's events wait to be read (or no longer do): its row shows
    // the mark at once, whatever added the event.
    virtual void Set_Contact_Pending_Mark(qint64 ContactID, bool Pending)
    {
        (void)ContactID;
        (void)Pending;
    }
};

// The registered main window, or a stand-in that shows nothing.
Main_Window_Lists& Main_Window();
void Register_Main_Window(Main_Window_Lists* window);
bool Main_Window_Registered();
