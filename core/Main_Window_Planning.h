#pragma once
// What the planning window asks of the main window: to follow catalog changes
// in its product lists and to take the keyboard back when the planning window
// closes. The main window implements this and registers itself at start-up;
// with none registered nothing happens.

#include <QString>

class Main_Window_Planning {
public:
    virtual ~Main_Window_Planning() = default;

    // A product was added to, renamed in or deleted from the catalog: the
    // product lists are read again.
    virtual void Products_Changed() {}
    // A product was renamed; its contacts, outbox rows and events already
    // carry the new name in the database, so a contact on display (with
    // pending edits) takes the new name too instead of writing the old one back.
    virtual void Product_Renamed(const QString& Old_Name, const QString& New_Name)
    {
        (void)Old_Name;
        (void)New_Name;
    }
    // The planning window has closed.
    virtual void Planning_Window_Closed() {}
};

// The registered main window, or a stand-in that does nothing.
Main_Window_Planning& Planning_Main_Window();
void Register_Planning_Main_Window(Main_Window_Planning* window);
