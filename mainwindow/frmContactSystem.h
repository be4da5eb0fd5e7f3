#pragma once
// The main window: the contact list and editor with the event history, the
// to-do, unmatched e-mail and outbox pages, their toolbars and the menus.
//
// Every control is a public member of its own name, so that the code of each
// page (in its own .cpp file) connects and drives the controls it owns.

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QSqlRecord>
#include <QTabBar>
#include <QTextEdit>
#include <QVariantList>

#include "Key_Toolbar.h"
#include "List_View.h"
#include "Main_Window_Lists.h"

// A contact group: the text put between "FROM Contacts " and the ordering,
// with '?' where a user value stands, and those values in order. The empty
// text is the group of all contacts.
struct Where_Clause {
    QString Text;
    QVariantList Values;
};

class frmContactSystem : public QMainWindow, public Main_Window_Lists {
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

    // ---- Menus ------------------------------------------------------------
    QMenu* mnuFile = nullptr;
    QAction* Setup_Furrowline_Settings = nullptr;   // "General Brackenlead Settings"
    QAction* Exit_Main_Routine = nullptr;           // "Exit"
    QMenu* mnuReports = nullptr;
    QAction* mnuViewStats = nullptr;                // "Email Stats"
    QAction* mnuJunkEmails = nullptr;               // "Junk E-mails Edit/View"
    QAction* mnuPlanning = nullptr;                 // "Planning" (menu bar entry)
    QMenu* mnuActions = nullptr;
    QAction* mnu_Get_Mapi_Mail = nullptr;           // "Get eMail"
    QAction* mnuProcessWorkflows = nullptr;         // "Process Workflows"
    QAction* mnuAutomaticFileImport = nullptr;      // "Automatic File Import"
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelp_Browser = nullptr;             // "Help Browser"
    QAction* mnuAboutMirtelFurrowline = nullptr;    // "About Brackenlead for Windows"

    // ---- Tab strip and status bar -------------------------------------------
    QTabBar* TabStrip1 = nullptr;                   // tabs 1..4 at indexes 0..3
    QList<QLabel*> StatusBar1;                      // panels 1..7 at indexes 0..6
    QLabel* Status_Panel(int panel) const;          // 1-based

    // ---- Contacts page -------------------------------------------------------
    QGroupBox* FrameContacts = nullptr;
    QSplitter* Contacts_Splitter = nullptr;         // list side | contact side
    QSplitter* Detail_Splitter = nullptr;           // event list / detail area
    QWidget* Detail_Area = nullptr;                 // holds the detail frames

    QGroupBox* frameContactsCommands = nullptr;
    Key_Toolbar* Toolbar1 = nullptr;
    List_View* ListContacts = nullptr;

    QGroupBox* frameToDo = nullptr;
    List_View* ListToDo = nullptr;

    QFrame* frameContact_Top_Screen = nullptr;
    QLineEdit* txtContact_ID = nullptr;
    QLineEdit* txtfirstname = nullptr;
    QLineEdit* txtMiddle_Initials = nullptr;
    QLineEdit* txtlastname = nullptr;
    QPushButton* Capitalize_First_And_Last = nullptr;   // "C"
    QLineEdit* txtEmail = nullptr;
    QLineEdit* txtHomephone = nullptr;
    QLineEdit* txtWorkphone = nullptr;
    QLineEdit* txtCellphone = nullptr;
    QLineEdit* txtBest_Time_To_Contact = nullptr;
    QLineEdit* txtReferred_By = nullptr;
    QComboBox* lstProduct = nullptr;
    QComboBox* Combo_Title = nullptr;
    QComboBox* Combo_Relationship = nullptr;
    QLineEdit* txtContactReceivedDate = nullptr;
    QLineEdit* txtPendingEvents = nullptr;           // hidden
    QPushButton* Show_Product_Details = nullptr;     // "Details"
    Key_Toolbar* ToolContactActions = nullptr;

    List_View* ListEvents = nullptr;

    QGroupBox* frameContactDetails = nullptr;        // "Contact Details"
    QLineEdit* txtAddress = nullptr;
    QLineEdit* txtCity = nullptr;
    QLineEdit* txtState = nullptr;
    QLineEdit* txtZipcode = nullptr;
    QLineEdit* txtCompany = nullptr;
    QLineEdit* txtB_Month = nullptr;
    QLineEdit* txtB_Day = nullptr;
    QLineEdit* txtB_Year = nullptr;
    QLineEdit* txtBought_Month = nullptr;
    QLineEdit* txtBoughtDay = nullptr;
    QLineEdit* txtBought_Year = nullptr;
    QLineEdit* txtSource = nullptr;
    QLineEdit* txtOptions = nullptr;
    QPlainTextEdit* txtNotes = nullptr;
    QLineEdit* txtWorkflowBeginDate = nullptr;
    QPushButton* Change_Workflow_Start_Date = nullptr;   // "Now"
    QCheckBox* chkTimeline_Enabled = nullptr;            // "Stop Workflow"
    QCheckBox* chkWorkflowCompleted = nullptr;           // "Workflow Completed?"

    QFrame* frameWelcomeMessage = nullptr;

    QGroupBox* frameEventView = nullptr;             // "Event Reader"
    QLineEdit* txtFrameEvent_Date = nullptr;
    QLineEdit* txtFrameEvent_Type = nullptr;
    QLineEdit* txtFrameEvent_Subject = nullptr;
    QTextEdit* txtFrameEvent_Message = nullptr;
    QComboBox* ListEventAttachments = nullptr;
    Key_Toolbar* ToolEventAttachmentActions = nullptr;
    Key_Toolbar* ToolEventActions = nullptr;
    QLineEdit* txtEventID = nullptr;                 // hidden
    QLineEdit* txtEventContactID = nullptr;          // hidden
    QLineEdit* txtEventUnique_ID = nullptr;          // hidden

    QGroupBox* frameSchedule = nullptr;              // "Schedule"
    QCalendarWidget* Calendar2 = nullptr;
    QLabel* lblSchedule_Time = nullptr;
    QLineEdit* txtFrameSchedule_Hour = nullptr;
    QSpinBox* UpDown4 = nullptr;
    QLineEdit* txtFrameSchedule_Minutes = nullptr;
    QSpinBox* UpDown3 = nullptr;
    QLineEdit* txtFrameSchedule_Lead = nullptr;
    QSpinBox* UpDown_Lead = nullptr;
    QLabel* Label_Use_Template = nullptr;
    QComboBox* lstScheduleTemplates = nullptr;
    QLineEdit* txtFrameSchedule_Subject = nullptr;
    QPlainTextEdit* txtFrameSchedule_Message = nullptr;
    QComboBox* ListScheduleAttachments = nullptr;
    Key_Toolbar* ToolScheduleAttachment = nullptr;
    QLineEdit* txtFrameSchedule_ContactID = nullptr; // hidden
    QLineEdit* txtFrameSchedule_Type = nullptr;      // hidden
    Key_Toolbar* ToolSchedule = nullptr;

    QFrame* frameRecordCall = nullptr;
    QLabel* lblRecordCall_MainHeader = nullptr;
    QLineEdit* txtFrameRecordCall_Subject = nullptr;
    QPlainTextEdit* txtFrameRecordCall_Message = nullptr;
    QLabel* lblCustomEventLabel = nullptr;           // "Custom Event"
    QLineEdit* txtRecord_Custom_Event = nullptr;
    QComboBox* Combo_Record_Custom_Attachments = nullptr;
    Key_Toolbar* ToolCustomCreateAttachment = nullptr;
    QLabel* lblDueDate = nullptr;                    // "Due Date"
    QLineEdit* txtFrameRecordCall_Date_to_Be_Executed = nullptr;
    QLineEdit* txtFrameRecordCall_ContactID = nullptr;   // hidden
    QLineEdit* txtFrameRecordCall_Type = nullptr;        // hidden
    QLineEdit* txtFrameRecordCall_Timeline = nullptr;    // hidden
    QLineEdit* txtFrameRecordCall_Date_Sent = nullptr;   // hidden
    Key_Toolbar* ToolRecord = nullptr;

    QGroupBox* frameEmailOutView = nullptr;          // "Email Composer"
    QLineEdit* txtFrameEmailOutName = nullptr;
    QLineEdit* txtFrameEmailOutAddress = nullptr;
    QLineEdit* txtFrameEmailOutSubject = nullptr;
    QTextEdit* txtFrameEmailOutMessage = nullptr;
    QLabel* lblSendEmail = nullptr;                  // "Template"
    QComboBox* lstSendEmailTemplate = nullptr;
    QComboBox* ListEmailAttachments = nullptr;
    QLineEdit* txtFrameEmailOutContactID = nullptr;  // hidden
    QLineEdit* txtFrameEmailOutViewProduct = nullptr;    // hidden
    QLineEdit* txtFrameEmailOutViewType = nullptr;   // hidden
    Key_Toolbar* ToolEmailComposer = nullptr;
    Key_Toolbar* ToolEmailAttachmentActions = nullptr;

    // ---- Unmatched page --------------------------------------------------------
    QGroupBox* frameUnmatched = nullptr;             // "Unmatched"
    List_View* ListUnmatched = nullptr;
    Key_Toolbar* ToolUnmatchedActions = nullptr;
    Key_Toolbar* ToolUnmatchedAll = nullptr;
    Key_Toolbar* ToolUnmatchedEmailing = nullptr;
    QGroupBox* frameUnmatchedDisplay = nullptr;
    QLineEdit* UnmatchedName = nullptr;
    QLineEdit* UnmatchedEmail = nullptr;
    QLineEdit* UnmatchedDate = nullptr;
    QLineEdit* UnmatchedSubject = nullptr;
    QTextEdit* UnmatchedMessage = nullptr;
    QListWidget* ListUnmatchedAttachments = nullptr;
    Key_Toolbar* ToolManageEmaiAttachment = nullptr;
    QLineEdit* txtUnmatchedUniqueID = nullptr;       // hidden
    QLineEdit* txtUnmatchedUniqueDate = nullptr;     // hidden
    QLineEdit* txtUnmatched_ID = nullptr;            // hidden

    // ---- Outbox page -------------------------------------------------------------
    QGroupBox* frameOutbox = nullptr;                // "Outbox"
    List_View* ListOutbox = nullptr;
    Key_Toolbar* ToolOutbox = nullptr;
    Key_Toolbar* ToolOutboxAll = nullptr;
    QLabel* lblOutboxFields = nullptr;
    QLineEdit* txtFrameOutbox_Name = nullptr;
    QLineEdit* txtFrameOutbox_Email = nullptr;
    QLineEdit* txtFrameOutbox_Subject = nullptr;
    QTextEdit* txtFrameOutbox_Message = nullptr;
    QLineEdit* txtFrameOutbox_Product = nullptr;
    QLineEdit* txtFrameOutbox_Date_Due = nullptr;
    QComboBox* List_Outbox_Attachments = nullptr;
    Key_Toolbar* ToolOutboxAttachmentActions = nullptr;
    QLineEdit* txtFrameOutbox_ID = nullptr;          // hidden
    QLineEdit* txtFrameOutboxDateSent = nullptr;     // hidden

    // ---- Window state --------------------------------------------------------
    Where_Clause Contacts_Where_Clause;              // the current group
    QString Contacts_Filter_Caption;
    QWidget* Current_Detail_Frame = nullptr;         // the frame shown in the detail area
    int Current_Tab_Number = 1;
    QTreeWidgetItem* Current_Contact_Item = nullptr; // the shown contact's row
    // Pending edits. Every command that leaves a record saves it first while set.
    bool Contact_Changed = false;
    bool Outbox_Item_Changed = false;
    bool Email_Out_Changed = false;

    // ---- Procedures ----------------------------------------------------------
    // Hides the frame in the detail area, makes frame the current one and shows it.
    void Show_Detail_Frame(QWidget* frame);
    void Show_Contact_Frame();
    void Show_Welcome_Frame();

    // Saves the contact when it has pending edits, then the outbox item; false
    // when a save failed (the message is shown; the edits stay in the boxes).
    bool Save_Pending_Edits();
    bool Save_Pending_Edits_Outbox_First();

    void Setup_The_Contacts_Tree(const Where_Clause& clause);
    int Show_Current_Contact_Record(qint64 ID);
    int Load_And_Show_Contact(qint64 ID);
    void Show_Contact_Fields(const QSqlRecord& contact);
    // Writes the editor back to the shown contact; nothing when none is shown.
    // False when it could not be written (message shown, flag stays set).
    bool Save_Contact_Record();
    void Show_Contact_Events(qint64 ID);
    void Add_Contact_List_Row(qint64 ID, const QString& First_Name, const QString& Last_Name,
                              const QString& Email, const QString& Product,
                              const QString& Relationship);

    void Refresh_Product_Title_Relationship_Lists();
    void Redraw_Product_List();
    void Fill_Title_Combo();
    void Fill_Relationship_Combo();
    void Add_New_Title();
    void Add_New_Relationship();

    // A query through the window's general statement runner: a failure shows
    // "Error on open temp record. msg: ..." and gives no rows (*ok false).
    QList<QSqlRecord> Open_List_Recordset(const QString& sql, const QVariantList& params = {},
                                          bool* ok = nullptr);

    List_View* List_Of(Main_List list) const;

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

    // ---- Handlers ------------------------------------------------------------
    void TabStrip1_Click(int New);
    void ListContacts_ItemClick(QTreeWidgetItem* item);
    void ListContacts_ColumnClick(int column);
    void ListEvents_ColumnClick(int column);
    void ListToDo_ColumnClick(int column);
    void ListOutbox_ColumnClick(int column);
    void Exit_Main_Routine_Click();
    void mnuAboutMirtelFurrowline_Click();
    void mnuHelp_Browser_Click();
    void Capitalize_First_And_Last_Click();
    void Change_Workflow_Start_Date_Click();
    void Show_Product_Details_Click();
    void Combo_Relationship_Change();
    void Combo_Title_Change();
    void Combo_Title_Click();
    void lstProduct_Change();

    // ---- Hooks of the other pages (frmContactSystem_Tabs.cpp until they land) --
    void Fill_ToDo_List();
    void Fill_Unmatched_List();
    void Fill_Outbox_List();
    // Writes the edited outbox item and clears its flag; false (after the
    // message) when it could not be stored, the edits then stay in the editor.
    bool Save_Outbox_Email();
    void Check_Unread_Mail();          // the mail poll of every tab click
    void Start_Up_Mail_Fetch();        // the first mail fetch, once the window is shown
    void Unload_Message_Center();      // stops the SMTP sending window
    void Event_Row_Click(QTreeWidgetItem* item);   // a click on an event row

    // Event reader (frmContactSystem_Events.cpp).
    QWidget* ListEventAttachments_Caption = nullptr;
    void Set_Up_Event_Reader();
    // Shows the event of a row key in the reader, marks it read, lists its attachments.
    void Display_Event_History(const QString& Key);
    void ListEventAttachments_DblClick();
    void Save_Event_Attachment();

    // ---- Members of the other pages' code ----------------------------------------
    // (Add members here, each page in its own block.)

    // Unmatched page and the mail client (frmContactSystem_Unmatched.cpp).
    void Set_Up_Unmatched_Page();
    void Show_Unmatched_Email(const QString& Key);
    // Shows the row at the 1-based position (the last one when past the end),
    // or empties the display when the list is empty; the position follows.
    void Select_Unmatched_Item_At(int& Position);
    void Clear_Unmatched_Display();
    void ListUnmatched_ItemClick(QTreeWidgetItem* item);
    void ToolManageEmaiAttachment_ButtonMenuClick(const QString& Key);
    void mnu_Get_Mapi_Mail_Click();
    void Send_Outbox_Through_Mail_Client();

    // Outbox page (frmContactSystem_Outbox.cpp).
    QString Outbox_Shown_Key;          // list key of the entry in the editor
    void Set_Up_Outbox_Page();
    void Display_Outgoing_Email(const QString& Key);
    // Shows the row at the 1-based position (the last one when past the end),
    // or empties the editor when the list is empty; the position follows.
    void Select_Outbox_Item_At(int& Position);
    void Clear_Outbox_Editor();
    void ListOutbox_ItemClick(QTreeWidgetItem* item);
    void ToolOutbox_ButtonClick(const QString& Key);
    void ToolOutboxAll_ButtonClick(const QString& Key);
    void ToolOutboxAttachmentActions_ButtonMenuClick(const QString& Key);
    void mnuProcessWorkflows_Click();
    void Outbox_Entry_Gone(qint64 Outbox_ID) override;

    // Automatic file import (frmContactSystem_FileImport.cpp).
    void Set_Up_File_Import();
    void mnuAutomaticFileImport_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build_Menus();
    void Build_Status_Bar();
    void Build_Tab_Strip();
    QWidget* Build_Contacts_Page();
    QWidget* Build_Contact_Top_Screen();
    QWidget* Build_Contact_Details();
    QWidget* Build_Welcome_Message();
    QWidget* Build_Event_View();
    QWidget* Build_Schedule();
    QWidget* Build_Record_Call();
    QWidget* Build_Email_Out_View();
    QWidget* Build_Unmatched_Page();
    QWidget* Build_Outbox_Page();
    void Set_Up_Lists();
    void Set_Up_Panes();
    void Refresh_Layout_Sizes();
    void Connect_Contact_Editor();
    void Connect_Handlers();
    void Set_Later_Commands_Disabled();
    void Set_List_Name_Column(int sub_item, const QString& text);
    void Mark_Current_Contact_Row(QTreeWidgetItem* item);
    bool Find_Database();
    bool Log_In();

    bool closing_done_ = false;
    // The title and relationship the box held before a command entry was chosen.
    QString title_before_command_;
    QString relationship_before_command_;
};

// How the workflow start date stands in its box, and is read back from it.
inline constexpr const char* Workflow_Date_Format = "MM/dd/yyyy HH:mm:ss";
