#pragma once
// The main window: the menus, the tab strip over its four pages, the status
// bar, start-up and shutdown, and the detail area that shows one frame at a
// time. The pages and frames are classes of their own, held under their names;
// what one asks of another goes through the window (the edits to store before
// a command leaves them), through the shown contact (Shown_Contact), or, for
// the commands that act on it (compose, schedule, record, print, the to-do
// entries), through Contact_Actions.

#include <QList>
#include <QMainWindow>

#include "Main_Window_Lists.h"
#include "Main_Window_Planning.h"
#include "Pending_Edits.h"
#include "pages/Contacts_Page.h"

class Contact_Actions;
class Contact_Details_Frame;
class Contact_Head_Frame;
class Email_Composer_Frame;
class Event_History_List;
class Group_Actions;
class Event_Reader_Frame;
class Outbox_Page;
class Page_Stack;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QSplitter;
class QTabBar;
class Record_Call_Frame;
class Schedule_Frame;
class Shown_Contact;
class ToDo_Page;
class Unmatched_Page;
class Welcome_Frame;

class frmContactSystem : public QMainWindow, public Main_Window_Lists, public Main_Window_Planning,
                         public Pending_Edits {
    Q_OBJECT
public:
    explicit frmContactSystem(QWidget* parent = nullptr);
    ~frmContactSystem() override;

    // The start-up sequence: finds the database, loads the settings, backs up,
    // asks for the log-in password, sets up the lists and shows the window.
    // False when the program must end (the messages are shown already).
    bool Start_Up();
    // Ends the program when the window closes (the program itself; tests leave it off).
    bool End_Program_On_Close = false;

    // ---- Menus, tab strip, status bar ---------------------------------------
    QMenu* mnuFile = nullptr;
    QAction* Setup_Furrowline_Settings = nullptr;   // "General Brackenlead Settings"
    QAction* Exit_Main_Routine = nullptr;           // "Exit"
    QMenu* mnuReports = nullptr;
    QAction* mnuViewStats = nullptr;                // "Email Stats"
    QAction* mnuJunkEmails = nullptr;               // "Junk E-mails Edit/View"
    QAction* mnuJunkNames = nullptr;                // "Junk Names Edit/View"
    QAction* mnuInventoryListing = nullptr;         // "Inventory Listing"
    QAction* mnuPlanning = nullptr;                 // "Planning" (menu bar entry)
    QMenu* mnuActions = nullptr;
    QAction* mnu_Get_Mapi_Mail = nullptr;           // "Get eMail"
    QAction* mnuProcessWorkflows = nullptr;         // "Process Workflows"
    QAction* mnuAutomaticFileImport = nullptr;      // "Automatic File Import"
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelp_Browser = nullptr;             // "Help Browser"
    QAction* mnuAboutMirtelFurrowline = nullptr;    // "About Brackenlead for Windows"
    QTabBar* TabStrip1 = nullptr;                   // tabs 1..4 at indexes 0..3
    QList<QLabel*> StatusBar1;                      // panels 1..7 at indexes 0..6

    // ---- Pages ----------------------------------------------------------------
    // The contacts and to-do pages share the contact side: the contact head,
    // its events and the detail area.
    QGroupBox* FrameContacts = nullptr;
    Contacts_Page* frameContactsCommands = nullptr;
    ToDo_Page* frameToDo = nullptr;
    Unmatched_Page* frameUnmatched = nullptr;
    Outbox_Page* frameOutbox = nullptr;
    Contact_Head_Frame* frameContact_Top_Screen = nullptr;
    Event_History_List* ListEvents = nullptr;

    // ---- Detail area ----------------------------------------------------------
    // Each frame is made in Build_Contacts_Area and added to the stack there;
    // what opens it fills it through its own procedures, then shows it here.
    Contact_Details_Frame* frameContactDetails = nullptr;
    Welcome_Frame* frameWelcomeMessage = nullptr;
    Event_Reader_Frame* frameEventView = nullptr;
    Email_Composer_Frame* frameEmailOutView = nullptr;
    Schedule_Frame* frameSchedule = nullptr;
    Record_Call_Frame* frameRecordCall = nullptr;
    // The frame shown in the detail area.
    QWidget* Current_Detail_Frame() const;
    // Puts the frame in the detail area in place of the one shown.
    void Show_Detail_Frame(QWidget* frame);
    // No contact to show: the welcome text alone, without the contact head.
    void Show_Welcome_Frame();

    // ---- The contact on display ---------------------------------------------------
    Where_Clause Contacts_Where_Clause;              // the current group
    QString Contacts_Filter_Caption;
    // Showing, editing and saving it: Setup_The_Contacts_Tree, Show_Current_Contact_Record, ...
    Shown_Contact* Contact_On_Display = nullptr;
    // Composing, scheduling, recording and printing for it; the to-do entries.
    Contact_Actions* Actions_On_Contact = nullptr;
    // The group toolbar's commands; removing the shown contact.
    Group_Actions* Actions_On_Group = nullptr;

    // Pending_Edits
    bool Save_Contact_Edits() override;
    bool Save_Pending_Edits() override;
    bool Save_Pending_Edits_Outbox_First() override;

    // Main_Window_Lists
    bool Add_List_Row(Main_List list, const List_Row& row) override;
    int Remove_List_Row(Main_List list, const QString& key) override;
    void Select_List_Row(Main_List list, int position) override;
    int List_Row_Count(Main_List list) const override;
    QString List_Row_Key(Main_List list, int position) const override;
    void Set_Status_Panel(int panel, const QString& text) override;
    void Set_Status_Panel_Visible(int panel, bool visible) override;
    QString Shown_Contact_ID() const override;
    void Refresh_Contact_List() override;
    void Outbox_Entry_Gone(qint64 Outbox_ID) override;
    void Set_Contact_Pending_Mark(qint64 ContactID, bool Pending) override;

    // Main_Window_Planning
    void Products_Changed() override;
    void Product_Renamed(const QString& Old_Name, const QString& New_Name) override;
    void Planning_Window_Closed() override;
    bool Show_Quote_In_Composer(const Quote_Email& Quote) override;

    // ---- Handlers --------------------------------------------------------------
    // Stores the pending edits, then shows the page of tab New (1-based),
    // filling its list on the first visit.
    void TabStrip1_Click(int New);
    int Current_Tab_Number() const { return current_tab_; }
    void mnu_Get_Mapi_Mail_Click();
    void mnuProcessWorkflows_Click();
    void mnuAutomaticFileImport_Click();
    void mnuHelp_Browser_Click();
    void mnuAboutMirtelFurrowline_Click();
    // The contact toolbar's "Quote": the quote window for the shown contact.
    void Open_Catalog_Quote();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build_Menus();
    void Build_Status_Bar();
    void Build_Tab_Strip();
    QWidget* Build_Contacts_Area();
    void Set_Up_Panes();
    void Refresh_Layout_Sizes();
    List_View* List_Of(Main_List list) const;
    QLabel* Status_Panel(int panel) const;

    void Check_Unread_Mail();
    void Start_Up_Mail_Fetch();

    QSplitter* Contacts_Splitter = nullptr;         // list side | contact side
    QSplitter* Detail_Splitter = nullptr;           // event list / detail area
    Page_Stack* Detail_Area = nullptr;              // the detail frames
    int current_tab_ = 1;
    bool closing_done_ = false;
};
