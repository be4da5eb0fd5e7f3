#include "frmContactSystem.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include "Clock.h"
#include "Data_Access.h"
#include "Dialog_Windows.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "List_Rows.h"
#include "Shared_Routines.h"
#include "frmAbout_Furrowline.h"
#include "frmHelpBrowser.h"

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
    layout->addWidget(Build_Contacts_Page(), 1);
    layout->addWidget(Build_Unmatched_Page(), 1);
    layout->addWidget(Build_Outbox_Page(), 1);
    setCentralWidget(central);

    Set_Up_Lists();

    Set_Up_Panes();
    ToolUnmatchedEmailing->hide();

    Connect_Contact_Editor();
    Connect_Handlers();
    Set_Later_Commands_Disabled();
    Set_Up_Outbox_Page();
    Set_Up_File_Import();
    Set_Up_Event_Reader();
    Set_Up_Unmatched_Page();

    Refresh_Layout_Sizes();
    // Large enough for the lists and the editor, never larger than the screen.
    const QSize room = screen() ? screen()->availableGeometry().size() : QSize(1280, 860);
    resize(qMin(1280, room.width() - 40), qMin(820, room.height() - 60));
    Contacts_Splitter->setSizes({520, 760});
    Detail_Splitter->setSizes({170, 430});
    Register_Main_Window(this);
}

frmContactSystem::~frmContactSystem()
{
    if (&Main_Window() == static_cast<Main_Window_Lists*>(this))
        Register_Main_Window(nullptr);
    Set_Dialog_Parent(nullptr);
}

QLabel* frmContactSystem::Status_Panel(int panel) const
{
    return panel >= 1 && panel <= StatusBar1.size() ? StatusBar1[panel - 1] : nullptr;
}

// ---- The list interface of the engine ---------------------------------------

List_View* frmContactSystem::List_Of(Main_List list) const
{
    switch (list) {
    case Main_List::Contacts: return ListContacts;
    case Main_List::Events: return ListEvents;
    case Main_List::ToDo: return ListToDo;
    case Main_List::Unmatched: return ListUnmatched;
    case Main_List::Outbox: return ListOutbox;
    }
    return nullptr;
}

bool frmContactSystem::Add_List_Row(Main_List list, const List_Row& row)
{
    return List_Of(list)->Add_Row(row) != nullptr;
}

int frmContactSystem::Remove_List_Row(Main_List list, const QString& key)
{
    List_View* view = List_Of(list);
    if (list == Main_List::Contacts && Current_Contact_Item && List_View::Item_Key(Current_Contact_Item) == key)
        Current_Contact_Item = nullptr;
    return view->Remove_Key(key);
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
    return txtContact_ID->text();
}

void frmContactSystem::Refresh_Contact_List()
{
    Setup_The_Contacts_Tree(Contacts_Where_Clause);
}

// ---- Detail area ----------------------------------------------------------------

void frmContactSystem::Set_Up_Panes()
{
    // The contact list beside the welcome text; every other pane hidden.
    for (QWidget* frame : std::initializer_list<QWidget*>{
             frameEventView, frameEmailOutView, frameContactDetails, frameContact_Top_Screen,
             frameRecordCall, frameSchedule, frameUnmatched, frameOutbox, frameToDo})
        frame->hide();
    Current_Detail_Frame = frameWelcomeMessage;
    frameWelcomeMessage->show();
    FrameContacts->show();
    frameContactsCommands->show();
}

void frmContactSystem::Show_Detail_Frame(QWidget* frame)
{
    if (Current_Detail_Frame && Current_Detail_Frame != frame)
        Current_Detail_Frame->hide();
    Current_Detail_Frame = frame;
    if (frame)
        frame->show();
}

void frmContactSystem::Show_Contact_Frame()
{
    frameContact_Top_Screen->show();
    frameWelcomeMessage->hide();
}

void frmContactSystem::Show_Welcome_Frame()
{
    frameContact_Top_Screen->hide();
    Show_Detail_Frame(frameWelcomeMessage);
}

// ---- Statements -------------------------------------------------------------------

QList<QSqlRecord> frmContactSystem::Open_List_Recordset(const QString& sql, const QVariantList& params,
                                                        bool* ok)
{
    try {
        Database db = Open_Database();
        QList<QSqlRecord> rows = db.Select(sql, params);
        if (ok)
            *ok = true;
        return rows;
    } catch (const Program_Error& e) {
        Message_Box("Error on open temp record. msg: " + e.Description() + "\r\n\r\nOn query: " + sql);
        if (ok)
            *ok = false;
        return {};
    }
}

// ---- Pending edits ----------------------------------------------------------------

bool frmContactSystem::Save_Pending_Edits()
{
    if (Contact_Changed && !Save_Contact_Record())
        return false;
    return !Outbox_Item_Changed || Save_Outbox_Email();
}

bool frmContactSystem::Save_Pending_Edits_Outbox_First()
{
    if (Outbox_Item_Changed && !Save_Outbox_Email())
        return false;
    return !Contact_Changed || Save_Contact_Record();
}

// ---- Tab strip ------------------------------------------------------------------------

void frmContactSystem::TabStrip1_Click(int New)
{
    // Asked first: hiding a page moves the keyboard on, onto the strip too.
    const bool strip_had_focus = TabStrip1->hasFocus();
    const auto back_to_current = [this] {
        TabStrip1->blockSignals(true);
        TabStrip1->setCurrentIndex(Current_Tab_Number - 1);
        TabStrip1->blockSignals(false);
    };
    try {
        if (!Save_Pending_Edits_Outbox_First()) {
            back_to_current();
            return;
        }
        Check_Unread_Mail();
        if (New == Current_Tab_Number)
            return;
        if (New < 1 || New > 4)
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
            if (!GlobalVariables::ToDo_List_Loaded) {
                Fill_ToDo_List();
                GlobalVariables::ToDo_List_Loaded = true;
            }
            break;
        case 3:
            if (!GlobalVariables::Unmatched_List_Loaded) {
                Fill_Unmatched_List();
                GlobalVariables::Unmatched_List_Loaded = true;
            }
            frameUnmatched->show();
            break;
        case 4:
            if (!GlobalVariables::Outbox_List_Loaded) {
                Fill_Outbox_List();
                GlobalVariables::Outbox_List_Loaded = true;
            }
            frameOutbox->show();
            break;
        }
        Current_Tab_Number = New;
        back_to_current();   // the strip shows the page in use, also when the program chose it
        // The keyboard goes to the page's list, unless it walks the strip itself.
        if (!strip_had_focus) {
            List_View* const lists[] = {ListContacts, ListToDo, ListUnmatched, ListOutbox};
            lists[New - 1]->setFocus();
        }
    } catch (...) {
        // A failure leaves the page as it was; the next click compares with it.
        back_to_current();
    }
}

// ---- Menus -------------------------------------------------------------------------------

void frmContactSystem::Exit_Main_Routine_Click()
{
    // An edit that cannot be stored keeps the program running, and with it
    // the sender; only a real end stops it.
    if (Contact_Changed && !Save_Contact_Record())
        return;
    if (Outbox_Item_Changed && !Save_Outbox_Email())
        return;
    GlobalVariables::Message_Center_Running = false;
    Unload_Message_Center();
    close();
}

void frmContactSystem::closeEvent(QCloseEvent* event)
{
    if (closing_done_) {
        event->accept();
        return;
    }
    // An edit that cannot be stored keeps the window open, so it is not lost.
    if ((Contact_Changed && !Save_Contact_Record()) || (Outbox_Item_Changed && !Save_Outbox_Email())) {
        event->ignore();
        return;
    }
    GlobalVariables::Message_Center_Running = false;
    Unload_Message_Center();
    closing_done_ = true;
    event->accept();
    if (End_Program_On_Close) {
        QApplication::closeAllWindows();
        QApplication::quit();
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

// ---- Lists ----------------------------------------------------------------------------------

void frmContactSystem::ListContacts_ItemClick(QTreeWidgetItem* item)
{
    if (!item)
        return;
    if (Contact_Changed && !Save_Contact_Record()) {
        // The edit stays on screen, and so does its contact.
        ListContacts->Select_Item(Current_Contact_Item);
        return;
    }
    const qint64 ID = List_View::Item_Key(item).mid(3).toLongLong();
    if (!Show_Current_Contact_Record(ID))
        return;
    Show_Contact_Events(ID);
    if (ListEvents->Row_Count() == 0 && txtPendingEvents->text() == "True") {
        try {
            Open_Database().Execute("UPDATE Contacts SET Pending_Events_To_Read = 0 WHERE ID = ?", {ID});
            txtPendingEvents->setText("False");
            for (int sub = 1; sub <= 3; ++sub)
                List_View::Set_Bold(item, sub, false);
        } catch (const Program_Error& e) {
            Message_Box("Error on ListContacts_ItemClick: " + e.Description());
        }
    }
}

void frmContactSystem::ListContacts_ColumnClick(int column)
{
    if (Contact_Changed && !Save_Contact_Record())
        return;
    ListContacts->Column_Sort(column);
}

void frmContactSystem::ListEvents_ColumnClick(int column)
{
    if (Contact_Changed && !Save_Contact_Record())
        return;
    ListEvents->Column_Sort(column);
}

void frmContactSystem::ListToDo_ColumnClick(int column)
{
    ListToDo->Column_Sort(column);
}

void frmContactSystem::ListOutbox_ColumnClick(int column)
{
    if (!Save_Pending_Edits_Outbox_First())
        return;
    ListOutbox->Column_Sort(column);
}

void frmContactSystem::Connect_Handlers()
{
    connect(TabStrip1, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            TabStrip1_Click(index + 1);
    });
    // Keyboard changes of the tab come without a click.
    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index + 1 != Current_Tab_Number)
            TabStrip1_Click(index + 1);
    });
    connect(Exit_Main_Routine, &QAction::triggered, this, &frmContactSystem::Exit_Main_Routine_Click);
    connect(mnuAboutMirtelFurrowline, &QAction::triggered, this,
            &frmContactSystem::mnuAboutMirtelFurrowline_Click);
    connect(mnuHelp_Browser, &QAction::triggered, this, &frmContactSystem::mnuHelp_Browser_Click);

    connect(ListContacts, &List_View::Item_Click, this, &frmContactSystem::ListContacts_ItemClick);
    connect(ListContacts, &List_View::Column_Click, this, &frmContactSystem::ListContacts_ColumnClick);
    connect(ListEvents, &List_View::Column_Click, this, &frmContactSystem::ListEvents_ColumnClick);
    connect(ListToDo, &List_View::Column_Click, this, &frmContactSystem::ListToDo_ColumnClick);
    connect(ListOutbox, &List_View::Column_Click, this, &frmContactSystem::ListOutbox_ColumnClick);
    connect(ListEvents, &List_View::Item_Click, this, [this](QTreeWidgetItem* item) {
        if (Contact_Changed && !Save_Contact_Record())
            return;
        Event_Row_Click(item);
    });
}
