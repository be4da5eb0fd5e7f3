#pragma once
// What the planning and administration windows ask of the main window: to
// follow catalog changes in its product lists, to take the keyboard back when
// the planning window closes, and to take a catalog quote into its composer.
// The main window implements this and registers itself at start-up; with none
// registered nothing happens.

#include <QString>

// A quote e-mail for one contact, ready for the composer.
struct Quote_Email {
    qint64 Contact_ID = 0;
    QString Name;          // the addressee
    QString Address;
    QString Subject;
    QString Message;       // lines ended by CR LF
    QString Products;      // the products in quote order, each after ", "
};

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
    // Shows the quote's contact (its pending edits stored first) with the
    // quote in the composer, ready to be sent, and comes to the front. False
    // when nothing was shown: an edit could not be stored, or the user kept
    // an e-mail being written in the composer.
    virtual bool Show_Quote_In_Composer(const Quote_Email& Quote)
    {
        (void)Quote;
        return false;
    }
};

// The registered main window, or a stand-in that does nothing.
Main_Window_Planning& Planning_Main_Window();
void Register_Planning_Main_Window(Main_Window_Planning* window);
