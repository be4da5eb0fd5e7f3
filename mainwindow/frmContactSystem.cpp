#include "frmContactSystem.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

#include "Clock.h"
#include "Contact_Actions.h"
#include "Data_Access.h"
#include "Administration_Windows.h"
#include "Dialog_Windows.h"
#include "frmPlanning.h"
#include "frmProductCatalogQuote.h"
#include "Dialogs.h"
#include "Event_History_List.h"
#include "Group_Actions.h"
#include "GlobalVariables.h"
#include "Import_Source.h"
#include "List_Rows.h"
#include "List_View.h"
#include "Mapi_Fetch.h"
#include "MessageCenter.h"
#include "Named_Controls.h"
#include "Page_Stack.h"
#include "Shown_Contact.h"
#include "Start_Up_Steps.h"
#include "Window_Activation.h"
#include "Workflow_Run.h"
#include "dialogs/frmAbout_Furrowline.h"
#include "dialogs/frmHelpBrowser.h"
#include "frmMAPI_Get_Email.h"
#include "frames/Contact_Details_Frame.h"
#include "frames/Contact_Head_Frame.h"
#include "frames/Email_Composer_Frame.h"
#include "frames/Event_Reader_Frame.h"
#include "frames/Record_Call_Frame.h"
#include "frames/Schedule_Frame.h"
#include "frames/Welcome_Frame.h"
#include "pages/Outbox_Page.h"
#include "pages/ToDo_Page.h"
#include "pages/Unmatched_Page.h"

namespace G = GlobalVariables;

frmContactSystem::frmContactSystem(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName("frmContactSystem");
    setWindowTitle(Program_Title);
    Build_Menus();
    Build_Status_Bar();
    Build_Tab_Strip();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->setSpacing(0);
    layout->addWidget(TabStrip1);
    layout->addWidget(Build_Contacts_Area(), 1);
    frameUnmatched = new Unmatched_Page(*this);
    layout->addWidget(frameUnmatched, 1);
    frameOutbox = new Outbox_Page(*this);
    layout->addWidget(frameOutbox, 1);
    setCentralWidget(central);

    Contact_On_Display = new Shown_Contact(*frameContactsCommands, *frameContact_Top_Screen, *frameContactDetails,
                                           *ListEvents, *frameEventView, this);
    connect(Contact_On_Display, &Shown_Contact::Frame_Wanted, this, &frmContactSystem::Show_Detail_Frame);
    Actions_On_Contact = new Contact_Actions({*Contact_On_Display, *frameContact_Top_Screen, *frameContactDetails,
                                              *ListEvents, *frameEventView, *frameEmailOutView, *frameSchedule,
                                              *frameRecordCall, *frameToDo},
                                             this);
    connect(Actions_On_Contact, &Contact_Actions::Frame_Wanted, this, &frmContactSystem::Show_Detail_Frame);
    connect(Actions_On_Contact, &Contact_Actions::Welcome_Wanted, this, &frmContactSystem::Show_Welcome_Frame);
    Actions_On_Group = new Group_Actions({*Contact_On_Display, *frameContactsCommands, *frameContact_Top_Screen,
                                          *ListEvents, *frameContactDetails, *frameSchedule, Contacts_Where_Clause,
                                          Contacts_Filter_Caption},
                                         this);
    connect(Actions_On_Group, &Group_Actions::Frame_Wanted, this, &frmContactSystem::Show_Detail_Frame);
    connect(Actions_On_Group, &Group_Actions::Welcome_Wanted, this, &frmContactSystem::Show_Welcome_Frame);
    connect(frameContact_Top_Screen, &Contact_Head_Frame::Quote_Requested, this, &frmContactSystem::Open_Catalog_Quote);
    Set_Up_Panes();
    Install_Smtp_Sender();

    Refresh_Layout_Sizes();
    // Large enough for the lists and the editor, never larger than the screen.
    const QSize room = screen() ? screen()->availableGeometry().size() : QSize(1280, 860);
    resize(qMin(1280, room.width() - 40), qMin(820, room.height() - 60));
    Contacts_Splitter->setSizes({520, 760});
    Detail_Splitter->setSizes({170, 430});
    Register_Main_Window(this);
    Register_Planning_Main_Window(this);
}

frmContactSystem::~frmContactSystem()
{
    if (&Main_Window() == static_cast<Main_Window_Lists*>(this))
        Register_Main_Window(nullptr);
    if (&Planning_Main_Window() == static_cast<Main_Window_Planning*>(this))
        Register_Planning_Main_Window(nullptr);
    Set_Dialog_Parent(nullptr);
}

// ---- Start-up ------------------------------------------------------------------------

bool frmContactSystem::Start_Up()
{
    G::Password_Dialog_Answered = false;
    G::ToDo_List_Loaded = false;
    if (!Find_Database() || !Database_Usable() || !Settings_Loaded())
        return false;
    Prepare_Database();
    if (!Log_In())
        return false;

    frameContact_Top_Screen->Refresh_Product_Title_Relationship_Lists();

    Set_Up_Panes();
    current_tab_ = 1;
    TabStrip1->blockSignals(true);
    TabStrip1->setCurrentIndex(0);
    TabStrip1->blockSignals(false);
    G::ToDo_List_Loaded = false;
    G::Unmatched_List_Loaded = false;
    G::Outbox_List_Loaded = false;

    // The window comes up first, so that the list's messages stand over it.
    Refresh_Layout_Sizes();
    show();
    Keep_Window_Active(this);
    Set_Dialog_Parent(this);
    // Drawn before the list fill holds the thread, so the window is never blank.
    Draw_Window_Now(this);
    Contacts_Where_Clause = Where_Clause{};
    Contact_On_Display->Setup_The_Contacts_Tree(Contacts_Where_Clause);
    Time_Pause(1);
    Start_Up_Mail_Fetch();
    // The keyboard starts in the contact list: the arrows walk the contacts.
    frameContactsCommands->List()->setFocus();
    return true;
}

void frmContactSystem::Start_Up_Mail_Fetch()
{
    frmMAPI_Get_Email fetch(this);
    fetch.exec();
}

// ---- Building -----------------------------------------------------------------------

void frmContactSystem::Build_Menus()
{
    QMenuBar* bar = menuBar();
    const auto entry = [](QMenu* menu, const QString& text, const char* name) {
        return Named(menu->addAction(text), name);
    };
    mnuFile = Named(bar->addMenu("&File"), "mnuFile");
    Setup_Furrowline_Settings = entry(mnuFile, "General Brackenlead &Settings", "Setup_Furrowline_Settings");
    mnuFile->addSeparator();
    Exit_Main_Routine = entry(mnuFile, "E&xit", "Exit_Main_Routine");
    Exit_Main_Routine->setShortcut(QKeySequence::Quit);
    Exit_Main_Routine->setShortcutContext(Qt::ApplicationShortcut);

    mnuReports = Named(bar->addMenu("&Reports"), "mnuReports");
    mnuViewStats = entry(mnuReports, "Email &Stats", "mnuViewStats");
    mnuJunkEmails = entry(mnuReports, "&Junk E-mails Edit/View", "mnuJunkEmails");
    mnuJunkNames = entry(mnuReports, "Junk &Names Edit/View", "mnuJunkNames");
    mnuInventoryListing = entry(mnuReports, "&Inventory Listing", "mnuInventoryListing");

    mnuPlanning = Named(bar->addAction("&Planning"), "mnuPlanning");

    mnuActions = Named(bar->addMenu("&Actions"), "mnuActions");
    mnu_Get_Mapi_Mail = entry(mnuActions, "&Get eMail", "mnu_Get_Mapi_Mail");
    mnu_Get_Mapi_Mail->setShortcut(QKeySequence(Qt::Key_F5));
    mnuProcessWorkflows = entry(mnuActions, "&Process Workflows", "mnuProcessWorkflows");
    mnuAutomaticFileImport = entry(mnuActions, "Automatic File &Import", "mnuAutomaticFileImport");

    mnuHelp = Named(bar->addMenu("&Help"), "mnuHelp");
    mnuHelp_Browser = entry(mnuHelp, "Help &Browser", "mnuHelp_Browser");
    mnuHelp_Browser->setShortcut(QKeySequence::HelpContents);
    mnuAboutMirtelFurrowline = entry(mnuHelp, "&About Brackenlead for Windows", "mnuAboutMirtelFurrowline");

    connect(mnuPlanning, &QAction::triggered, this, [] { Show_Planning_Window(); });
    connect(Setup_Furrowline_Settings, &QAction::triggered, this, [this] { Show_Setup_Form(this); });
    connect(mnuViewStats, &QAction::triggered, this, [this] { Show_Stats_Viewer(this); });
    connect(mnuJunkEmails, &QAction::triggered, this, [this] { Show_Junk_Emails(this); });
    connect(mnuJunkNames, &QAction::triggered, this, [this] { Show_Junk_Names(this); });
    connect(mnuInventoryListing, &QAction::triggered, this, [this] { Show_Inventory_Listing(this); });
    // Exit closes the window: the close saves the pending edits and stops the sender.
    connect(Exit_Main_Routine, &QAction::triggered, this, &QWidget::close);
    connect(mnu_Get_Mapi_Mail, &QAction::triggered, this, &frmContactSystem::mnu_Get_Mapi_Mail_Click);
    connect(mnuProcessWorkflows, &QAction::triggered, this, &frmContactSystem::mnuProcessWorkflows_Click);
    connect(mnuAutomaticFileImport, &QAction::triggered, this, &frmContactSystem::mnuAutomaticFileImport_Click);
    connect(mnuHelp_Browser, &QAction::triggered, this, &frmContactSystem::mnuHelp_Browser_Click);
    connect(mnuAboutMirtelFurrowline, &QAction::triggered, this, &frmContactSystem::mnuAboutMirtelFurrowline_Click);
}

void frmContactSystem::Build_Status_Bar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(true);
    // Panel 1 the general text, 2 the list information, 3 to 6 progress, 7 the new-mail sign.
    // Small least widths: a panel with a long text takes the room the others
    // leave, and the window never grows for it.
    StatusBar1 = Add_Status_Panels(bar, {100, 60, 60, 60, 60, 60, 60}, 1);
    StatusBar1[6]->setText("New Mail");
    StatusBar1[6]->hide();
}

void frmContactSystem::Build_Tab_Strip()
{
    TabStrip1 = Named(new QTabBar, "TabStrip1");
    TabStrip1->setExpanding(false);
    TabStrip1->setDrawBase(true);
    struct Tab { const char* caption; const char* key; const char* tip; };
    const Tab tabs[] = {
        {"Contacts", "", "Contact Acquisition Managment"},
        {"To Do", "ToDo", "Calls and other issues to be done"},
        {"Unmatched", "", "Emails that have not been matched to a contact"},
        {"Outbox", "", "All the email on its way out"},
    };
    for (const Tab& tab : tabs) {
        const int index = TabStrip1->addTab(tab.caption);
        TabStrip1->setTabData(index, QString::fromLatin1(tab.key));
        TabStrip1->setTabToolTip(index, tab.tip);
    }
    connect(TabStrip1, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            TabStrip1_Click(index + 1);
    });
    // Keyboard changes of the tab come without a click.
    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index + 1 != current_tab_)
            TabStrip1_Click(index + 1);
    });
}

QWidget* frmContactSystem::Build_Contacts_Area()
{
    FrameContacts = Named(new QGroupBox("Contacts"), "FrameContacts");
    FrameContacts->setFlat(true);
    auto* page_layout = new QHBoxLayout(FrameContacts);
    page_layout->setContentsMargins(4, 4, 4, 4);
    Contacts_Splitter = Named(new QSplitter(Qt::Horizontal), "Contacts_Splitter");
    page_layout->addWidget(Contacts_Splitter);

    // The list side: the contacts page or the to-do page.
    auto* list_side = new QWidget;
    auto* list_layout = new QVBoxLayout(list_side);
    list_layout->setContentsMargins(0, 0, 0, 0);
    frameContactsCommands = new Contacts_Page(*this);
    list_layout->addWidget(frameContactsCommands);
    frameToDo = new ToDo_Page;
    list_layout->addWidget(frameToDo);
    Contacts_Splitter->addWidget(list_side);

    // The contact side: the contact head, its events and the detail area.
    auto* contact_side = new QWidget;
    auto* contact_layout = new QVBoxLayout(contact_side);
    contact_layout->setContentsMargins(0, 0, 0, 0);
    frameContact_Top_Screen = new Contact_Head_Frame;
    contact_layout->addWidget(frameContact_Top_Screen);
    Detail_Splitter = Named(new QSplitter(Qt::Vertical), "Detail_Splitter");
    ListEvents = new Event_History_List(*this);
    Detail_Splitter->addWidget(ListEvents);
    Detail_Area = new Page_Stack("Detail_Area");
    frameContactDetails = new Contact_Details_Frame;
    frameWelcomeMessage = new Welcome_Frame;
    frameEventView = new Event_Reader_Frame(*this);
    frameSchedule = new Schedule_Frame(*this);
    frameRecordCall = new Record_Call_Frame(*this);
    frameEmailOutView = new Email_Composer_Frame(*this);
    for (QWidget* frame : std::initializer_list<QWidget*>{frameContactDetails, frameWelcomeMessage, frameEventView,
                                                          frameSchedule, frameRecordCall, frameEmailOutView})
        Detail_Area->addWidget(frame);
    Detail_Splitter->addWidget(Detail_Area);
    Detail_Splitter->setStretchFactor(0, 1);
    Detail_Splitter->setStretchFactor(1, 3);
    contact_layout->addWidget(Detail_Splitter, 1);
    Contacts_Splitter->addWidget(contact_side);
    Contacts_Splitter->setStretchFactor(0, 2);
    Contacts_Splitter->setStretchFactor(1, 3);
    return FrameContacts;
}

void frmContactSystem::Set_Up_Panes()
{
    // The contact list beside the welcome text; every other page hidden.
    for (QWidget* pane :
         std::initializer_list<QWidget*>{frameContact_Top_Screen, frameUnmatched, frameOutbox, frameToDo})
        pane->hide();
    Show_Detail_Frame(frameWelcomeMessage);
    FrameContacts->show();
    frameContactsCommands->show();
}

void frmContactSystem::Refresh_Layout_Sizes()
{
    // Panes hidden before the window was first shown leave their old sizes in
    // the layouts' caches; let every layout ask again.
    for (QWidget* widget : findChildren<QWidget*>())
        widget->updateGeometry();
}

// ---- The list interface of the engine ---------------------------------------

List_View* frmContactSystem::List_Of(Main_List list) const
{
    switch (list) {
    case Main_List::Contacts: return frameContactsCommands->List();
    case Main_List::Events: return ListEvents;
    case Main_List::ToDo: return frameToDo->List();
    case Main_List::Unmatched: return frameUnmatched->List();
    case Main_List::Outbox: return frameOutbox->List();
    }
    return nullptr;
}

bool frmContactSystem::Add_List_Row(Main_List list, const List_Row& row)
{
    return List_Of(list)->Add_Row(row) != nullptr;
}

int frmContactSystem::Remove_List_Row(Main_List list, const QString& key)
{
    return List_Of(list)->Remove_Key(key);
}

void frmContactSystem::Select_List_Row(Main_List list, int position)
{
    List_Of(list)->Select_At(position);
}

int frmContactSystem::List_Row_Count(Main_List list) const
{
    return List_Of(list)->Row_Count();
}

QString frmContactSystem::List_Row_Key(Main_List list, int position) const
{
    return List_Of(list)->Key_At(position);
}

QLabel* frmContactSystem::Status_Panel(int panel) const
{
    return panel >= 1 && panel <= StatusBar1.size() ? StatusBar1[panel - 1] : nullptr;
}

void frmContactSystem::Set_Status_Panel(int panel, const QString& text)
{
    if (QLabel* label = Status_Panel(panel)) {
        label->setText(text);
        // Read in full where the panel is too narrow for it.
        label->setToolTip(text);
    }
}

void frmContactSystem::Set_Status_Panel_Visible(int panel, bool visible)
{
    if (QLabel* label = Status_Panel(panel))
        label->setVisible(visible);
}

QString frmContactSystem::Shown_Contact_ID() const
{
    return frameContact_Top_Screen->Contact_ID();
}

void frmContactSystem::Refresh_Contact_List()
{
    Contact_On_Display->Setup_The_Contacts_Tree(Contacts_Where_Clause);
}

void frmContactSystem::Outbox_Entry_Gone(qint64 Outbox_ID)
{
    frameOutbox->Outbox_Entry_Gone(Outbox_ID);
}

void frmContactSystem::Set_Contact_Pending_Mark(qint64 ContactID, bool Pending)
{
    frameContactsCommands->Set_Pending_Mark(ContactID, Pending);
    if (Shown_Contact_ID() == QString::number(ContactID))
        frameContact_Top_Screen->Set_Pending_Events(Pending);
}

// ---- Detail area -------------------------------------------------------------------

QWidget* frmContactSystem::Current_Detail_Frame() const
{
    return Detail_Area->currentWidget();
}

void frmContactSystem::Show_Detail_Frame(QWidget* frame)
{
    Detail_Area->setCurrentWidget(frame);
}

void frmContactSystem::Show_Welcome_Frame()
{
    frameContact_Top_Screen->hide();
    Show_Detail_Frame(frameWelcomeMessage);
}

// ---- Pending edits -------------------------------------------------------------------

bool frmContactSystem::Save_Contact_Edits()
{
    return Contact_On_Display->Save();
}

bool frmContactSystem::Save_Pending_Edits()
{
    return Save_Contact_Edits() && frameOutbox->Save();
}

bool frmContactSystem::Save_Pending_Edits_Outbox_First()
{
    return frameOutbox->Save() && Save_Contact_Edits();
}

// ---- Tab strip ------------------------------------------------------------------------

void frmContactSystem::TabStrip1_Click(int New)
{
    // Asked first: hiding a page moves the keyboard on, onto the strip too.
    const bool strip_had_focus = TabStrip1->hasFocus();
    const auto back_to_current = [this] {
        TabStrip1->blockSignals(true);
        TabStrip1->setCurrentIndex(current_tab_ - 1);
        TabStrip1->blockSignals(false);
    };
    try {
        if (!Save_Pending_Edits_Outbox_First()) {
            back_to_current();
            return;
        }
        Check_Unread_Mail();
        if (New == current_tab_ || New < 1 || New > 4)
            return;
        // Hide what the new page does not use before showing it: both shown at
        // once would make the window grow to hold them, and it would stay grown.
        if (New != 1 && New != 2)
            FrameContacts->hide();
        if (New != 1)
            frameContactsCommands->hide();
        if (New != 2)
            frameToDo->hide();
        if (New != 3)
            frameUnmatched->hide();
        if (New != 4)
            frameOutbox->hide();
        switch (New) {
        case 1:
            FrameContacts->show();
            frameContactsCommands->show();
            break;
        case 2:
            FrameContacts->show();
            frameToDo->show();
            if (!G::ToDo_List_Loaded) {
                // No entry is chosen yet: the events of none are shown.
                if (frameToDo->Fill_ToDo_List() > 0)
                    ListEvents->clear();
                G::ToDo_List_Loaded = true;
            }
            break;
        case 3:
            if (!G::Unmatched_List_Loaded) {
                frameUnmatched->Fill_Unmatched_List();
                G::Unmatched_List_Loaded = true;
            }
            frameUnmatched->show();
            break;
        case 4:
            if (!G::Outbox_List_Loaded) {
                frameOutbox->Fill_Outbox_List();
                G::Outbox_List_Loaded = true;
            }
            frameOutbox->show();
            break;
        }
        current_tab_ = New;
        back_to_current();   // the strip shows the page in use, also when the program chose it
        // The keyboard goes to the page's list, unless it walks the strip itself.
        if (!strip_had_focus) {
            List_View* const lists[] = {frameContactsCommands->List(), frameToDo->List(), frameUnmatched->List(),
                                        frameOutbox->List()};
            lists[New - 1]->setFocus();
        }
    } catch (...) {
        // A failure leaves the page as it was; the next click compares with it.
        back_to_current();
    }
}

// ---- Menus and closing --------------------------------------------------------------------

void frmContactSystem::closeEvent(QCloseEvent* event)
{
    if (closing_done_) {
        event->accept();
        return;
    }
    // An edit that cannot be stored keeps the window open, so it is not lost,
    // and with it the sender; only a real end stops it.
    if (!Save_Pending_Edits() || !Close_Planning_Window()) {
        event->ignore();
        return;
    }
    if (QWidget* quote = Product_Catalog_Quote_Window())
        quote->close();
    G::Message_Center_Running = false;
    Stop_Message_Center();
    closing_done_ = true;
    event->accept();
    if (End_Program_On_Close) {
        QApplication::closeAllWindows();
        QApplication::quit();
    }
}

void frmContactSystem::mnu_Get_Mapi_Mail_Click()
{
    if (!Save_Pending_Edits())
        return;
    Sign_On_And_Get_All_Mail();
}

void frmContactSystem::Check_Unread_Mail()
{
    // A store that cannot be read now is tried again on the next click.
    MDICheck_Email_And_Integrate_If_Needed();
    update();
}

void frmContactSystem::mnuProcessWorkflows_Click()
{
    if (!Save_Pending_Edits())
        return;
    try {
        Process_All_Contacts();
    } catch (const Program_Error& e) {
        for (int panel : {3, 4, 5})
            Set_Status_Panel(panel, QString());
        Message_Box("Error on Process Workflows: " + e.Description());
    }
}

void frmContactSystem::mnuAutomaticFileImport_Click()
{
    if (!Save_Pending_Edits())
        return;
    try {
        Automatic_File_Import();
    } catch (const Program_Error& e) {
        Message_Box("Error on Automatic File Import: " + e.Description());
    }
}

void frmContactSystem::mnuAboutMirtelFurrowline_Click()
{
    frmAbout_Furrowline::Show_Instance(this);
}

void frmContactSystem::mnuHelp_Browser_Click()
{
    frmHelpBrowser::Show_Instance(this, Help_Page_Url("index.htm"));
}

// ---- The planning window ----------------------------------------------------------

void frmContactSystem::Products_Changed()
{
    frameContact_Top_Screen->Redraw_Product_List();
}

void frmContactSystem::Product_Renamed(const QString& Old_Name, const QString& New_Name)
{
    frameContact_Top_Screen->Product_Renamed(Old_Name, New_Name);
    // The contact list shows the product in its fourth sub-item.
    List_View* contacts = List_Of(Main_List::Contacts);
    for (int position = 1; position <= contacts->Row_Count(); ++position) {
        QTreeWidgetItem* row = contacts->Row_At(position);
        if (row->text(4) == Old_Name)
            row->setText(4, New_Name);
    }
}

void frmContactSystem::Planning_Window_Closed()
{
    activateWindow();
}

// ---- The catalog quote ------------------------------------------------------------

void frmContactSystem::Open_Catalog_Quote()
{
    bool ok = false;
    const qint64 ID = frameContact_Top_Screen->Contact_ID().toLongLong(&ok);
    if (!ok || ID <= 0 || !Save_Contact_Edits())
        return;
    Show_Product_Catalog_Quote(ID);
}

bool frmContactSystem::Show_Quote_In_Composer(const Quote_Email& Quote)
{
    // A message being written is the user's: it is replaced only when they say so.
    if (Current_Detail_Frame() == frameEmailOutView && frameEmailOutView->Holds_Unsent_Email() &&
        Message_Box("The e-mail composer holds an e-mail that has not been sent. Replace it with the quote?",
                    vbYesNo | vbQuestion, "Product Catalog Quote") != vbYes)
        return false;
    if (!Save_Contact_Edits())
        return false;
    // The composer stands on the contact side.
    if (current_tab_ != 1 && current_tab_ != 2) {
        TabStrip1_Click(1);
        if (current_tab_ != 1)
            return false;
    }
    if (!Contact_On_Display->Show_Current_Contact_Record(Quote.Contact_ID))
        return false;
    ListEvents->Show_Contact_Events(Quote.Contact_ID);
    frameEmailOutView->Open_Quote(Quote);
    Show_Detail_Frame(frameEmailOutView);
    raise();
    activateWindow();
    frameEmailOutView->Start_Typing();
    return true;
}
