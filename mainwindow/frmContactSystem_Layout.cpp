// The window's controls and their arrangement.

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "frmContactSystem.h"

namespace {

template <typename T>
T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* Box(const char* name, QWidget* parent = nullptr)
{
    return Named(new QLineEdit(parent), name);
}

// A box the code keeps values in but the user never sees.
QLineEdit* Hidden_Box(const char* name, QWidget* parent)
{
    QLineEdit* box = Box(name, parent);
    box->hide();
    return box;
}

QComboBox* Combo(const char* name, bool editable)
{
    auto* combo = Named(new QComboBox, name);
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(6);
    return combo;
}

QLabel* Caption(const QString& text, QWidget* buddy = nullptr)
{
    auto* label = new QLabel(text);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QSpinBox* Up_Down(const char* name, int minimum, int maximum, QLineEdit* buddy)
{
    auto* up_down = Named(new QSpinBox, name);
    up_down->setRange(minimum, maximum);
    up_down->setSingleStep(1);
    // Only the arrows show: the number stands in the box beside them.
    up_down->setFixedWidth(up_down->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    up_down->setFrame(false);
    if (QLineEdit* number = up_down->findChild<QLineEdit*>())
        number->setStyleSheet("color: transparent; background: transparent; selection-color: transparent;");
    // The arrows step the number in the box beside them.
    QObject::connect(up_down, &QSpinBox::valueChanged, buddy, [buddy](int value) {
        buddy->setText(QString::number(value).rightJustified(2, '0'));
    });
    return up_down;
}

} // namespace

void frmContactSystem::Build_Menus()
{
    QMenuBar* bar = menuBar();
    mnuFile = Named(bar->addMenu("&File"), "mnuFile");
    Setup_Furrowline_Settings = mnuFile->addAction("General Brackenlead &Settings");
    Setup_Furrowline_Settings->setObjectName("Setup_Furrowline_Settings");
    mnuFile->addSeparator();
    Exit_Main_Routine = mnuFile->addAction("E&xit");
    Exit_Main_Routine->setObjectName("Exit_Main_Routine");
    Exit_Main_Routine->setShortcut(QKeySequence::Quit);
    Exit_Main_Routine->setShortcutContext(Qt::ApplicationShortcut);

    mnuReports = Named(bar->addMenu("&Reports"), "mnuReports");
    mnuViewStats = mnuReports->addAction("Email &Stats");
    mnuViewStats->setObjectName("mnuViewStats");
    mnuJunkEmails = mnuReports->addAction("&Junk E-mails Edit/View");
    mnuJunkEmails->setObjectName("mnuJunkEmails");

    mnuPlanning = bar->addAction("&Planning");
    mnuPlanning->setObjectName("mnuPlanning");

    mnuActions = Named(bar->addMenu("&Actions"), "mnuActions");
    mnu_Get_Mapi_Mail = mnuActions->addAction("&Get eMail");
    mnu_Get_Mapi_Mail->setObjectName("mnu_Get_Mapi_Mail");
    mnu_Get_Mapi_Mail->setShortcut(QKeySequence(Qt::Key_F5));
    mnuProcessWorkflows = mnuActions->addAction("&Process Workflows");
    mnuProcessWorkflows->setObjectName("mnuProcessWorkflows");
    mnuAutomaticFileImport = mnuActions->addAction("Automatic File &Import");
    mnuAutomaticFileImport->setObjectName("mnuAutomaticFileImport");

    mnuHelp = Named(bar->addMenu("&Help"), "mnuHelp");
    mnuHelp_Browser = mnuHelp->addAction("Help &Browser");
    mnuHelp_Browser->setObjectName("mnuHelp_Browser");
    mnuHelp_Browser->setShortcut(QKeySequence::HelpContents);
    mnuAboutMirtelFurrowline = mnuHelp->addAction("&About Brackenlead for Windows");
    mnuAboutMirtelFurrowline->setObjectName("mnuAboutMirtelFurrowline");
}

void frmContactSystem::Build_Status_Bar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(true);
    // Panel 1 the general text, 2 the list information, 3 to 6 progress, 7 the new-mail sign.
    // Small least widths: a panel with a long text takes the room the others
    // leave, and the window never grows for it.
    const int widths[7] = {100, 60, 60, 60, 60, 60, 60};
    for (int i = 0; i < 7; ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QString("StatusBar1_Panel%1").arg(i + 1));
        panel->setMinimumWidth(widths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        StatusBar1 << panel;
        bar->addWidget(panel, i == 0 ? 1 : 0);
    }
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
}

QWidget* frmContactSystem::Build_Contacts_Page()
{
    FrameContacts = Named(new QGroupBox("Contacts"), "FrameContacts");
    FrameContacts->setFlat(true);
    auto* page_layout = new QHBoxLayout(FrameContacts);
    page_layout->setContentsMargins(4, 4, 4, 4);

    Contacts_Splitter = Named(new QSplitter(Qt::Horizontal), "Contacts_Splitter");
    page_layout->addWidget(Contacts_Splitter);

    // The list side: the contact list with its group toolbar, or the to-do list.
    auto* list_side = new QWidget;
    auto* list_layout = new QVBoxLayout(list_side);
    list_layout->setContentsMargins(0, 0, 0, 0);

    frameContactsCommands = Named(new QGroupBox("Contacts Commands"), "frameContactsCommands");
    auto* commands_layout = new QVBoxLayout(frameContactsCommands);
    commands_layout->setContentsMargins(4, 4, 4, 4);
    Toolbar1 = new Key_Toolbar("Toolbar1");
    QAction* new_contact = Toolbar1->Add_Button("NewContact", "New", "Create a new contact", "NewContact");
    Q_UNUSED(new_contact);
    QAction* groups = Toolbar1->Add_Button("Select", "Groups", "Select the group of contacts to list", "Group");
    Toolbar1->Add_Menu_Entry(groups, "SelectAll", "All Contacts");
    Toolbar1->Add_Menu_Entry(groups, "SelectNew", "New Contacts");
    Toolbar1->Add_Menu_Entry(groups, "SelectPending", "Contacts with Pending Events");
    Toolbar1->Add_Menu_Entry(groups, "SelectTimed", "Contacts by Timed Events...");
    Toolbar1->Add_Menu_Entry(groups, "SelectProduct", "Contacts by Product...");
    Toolbar1->Add_Menu_Entry(groups, "SelectRelationship", "Contacts by Relationship...");
    Toolbar1->Add_Button("APB", "APB", "Schedule a message for the whole group", "Time");
    QAction* print = Toolbar1->Add_Button("PrintGroup", "Print", "Print the group", "Print");
    Toolbar1->Add_Menu_Entry(print, "PrintDetails", "Print Contact Details");
    Toolbar1->Add_Menu_Entry(print, "PrintEvents", "Print Contacts with their Events");
    Toolbar1->Add_Separator();
    Toolbar1->Add_Button("EraseHistory", "Erase", "Erase the event history of the group", "Erase");
    Toolbar1->Add_Button("Delete", "Delete", "Delete every contact of the group", "DeleteCross");
    commands_layout->addWidget(Toolbar1);
    ListContacts = new List_View("ListContacts");
    commands_layout->addWidget(ListContacts);
    list_layout->addWidget(frameContactsCommands);

    frameToDo = Named(new QGroupBox("To Do's"), "frameToDo");
    auto* todo_layout = new QVBoxLayout(frameToDo);
    todo_layout->setContentsMargins(4, 4, 4, 4);
    ListToDo = new List_View("ListToDo");
    todo_layout->addWidget(ListToDo);
    list_layout->addWidget(frameToDo);
    Contacts_Splitter->addWidget(list_side);

    // The contact side: the contact head, its events and the detail area.
    auto* contact_side = new QWidget;
    auto* contact_layout = new QVBoxLayout(contact_side);
    contact_layout->setContentsMargins(0, 0, 0, 0);
    contact_layout->addWidget(Build_Contact_Top_Screen());

    Detail_Splitter = Named(new QSplitter(Qt::Vertical), "Detail_Splitter");
    ListEvents = new List_View("ListEvents");
    Detail_Splitter->addWidget(ListEvents);
    Detail_Area = Named(new QWidget, "Detail_Area");
    auto* detail_layout = new QVBoxLayout(Detail_Area);
    detail_layout->setContentsMargins(0, 0, 0, 0);
    detail_layout->addWidget(Build_Contact_Details());
    detail_layout->addWidget(Build_Welcome_Message());
    detail_layout->addWidget(Build_Event_View());
    detail_layout->addWidget(Build_Schedule());
    detail_layout->addWidget(Build_Record_Call());
    detail_layout->addWidget(Build_Email_Out_View());
    Detail_Splitter->addWidget(Detail_Area);
    Detail_Splitter->setStretchFactor(0, 1);
    Detail_Splitter->setStretchFactor(1, 3);
    contact_layout->addWidget(Detail_Splitter, 1);
    Contacts_Splitter->addWidget(contact_side);
    Contacts_Splitter->setStretchFactor(0, 2);
    Contacts_Splitter->setStretchFactor(1, 3);
    return FrameContacts;
}

QWidget* frmContactSystem::Build_Contact_Top_Screen()
{
    frameContact_Top_Screen = Named(new QFrame, "frameContact_Top_Screen");
    frameContact_Top_Screen->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(frameContact_Top_Screen);
    layout->setContentsMargins(6, 6, 6, 2);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    txtfirstname = Box("txtfirstname");
    txtMiddle_Initials = Box("txtMiddle_Initials");
    txtMiddle_Initials->setMaximumWidth(40);
    txtlastname = Box("txtlastname");
    Capitalize_First_And_Last = Named(new QPushButton("C"), "Capitalize_First_And_Last");
    Capitalize_First_And_Last->setToolTip("Capitalise the names");
    Capitalize_First_And_Last->setFixedWidth(28);
    txtEmail = Box("txtEmail");
    txtEmail->setMinimumWidth(txtEmail->fontMetrics().horizontalAdvance("someone@example") + 16);
    txtHomephone = Box("txtHomephone");
    txtWorkphone = Box("txtWorkphone");
    txtCellphone = Box("txtCellphone");
    txtBest_Time_To_Contact = Box("txtBest_Time_To_Contact");
    txtReferred_By = Box("txtReferred_By");
    lstProduct = Combo("lstProduct", true);
    Combo_Title = Combo("Combo_Title", true);
    Combo_Relationship = Combo("Combo_Relationship", true);
    txtContactReceivedDate = Box("txtContactReceivedDate");
    txtContactReceivedDate->setReadOnly(true);
    // A short date: the room it does not need goes to the name and e-mail boxes.
    txtContactReceivedDate->setMaximumWidth(txtContactReceivedDate->fontMetrics().horizontalAdvance("00/00/00") + 24);
    txtContact_ID = Box("txtContact_ID");
    txtContact_ID->setReadOnly(true);
    txtContact_ID->setMaximumWidth(70);
    txtPendingEvents = Hidden_Box("txtPendingEvents", frameContact_Top_Screen);
    Show_Product_Details = Named(new QPushButton("Details"), "Show_Product_Details");
    Show_Product_Details->setToolTip("Show the contact's details");

    auto* names = new QHBoxLayout;
    names->addWidget(txtfirstname, 3);
    names->addWidget(txtMiddle_Initials, 0);
    names->addWidget(txtlastname, 3);
    names->addWidget(Capitalize_First_And_Last);
    grid->addWidget(Caption("&Name:", txtfirstname), 0, 0);
    grid->addLayout(names, 0, 1, 1, 3);
    grid->addWidget(Caption("ID:", txtContact_ID), 0, 4);
    grid->addWidget(txtContact_ID, 0, 5);

    grid->addWidget(Caption("&Email:", txtEmail), 1, 0);
    grid->addWidget(txtEmail, 1, 1);
    grid->addWidget(Caption("Prod&uct:", lstProduct), 1, 2);
    grid->addWidget(lstProduct, 1, 3);
    grid->addWidget(Caption("Received:", txtContactReceivedDate), 1, 4);
    grid->addWidget(txtContactReceivedDate, 1, 5);

    grid->addWidget(Caption("H&ome:", txtHomephone), 2, 0);
    grid->addWidget(txtHomephone, 2, 1);
    grid->addWidget(Caption("&Title:", Combo_Title), 2, 2);
    grid->addWidget(Combo_Title, 2, 3);
    grid->addWidget(Show_Product_Details, 2, 4, 1, 2);

    grid->addWidget(Caption("&Work:", txtWorkphone), 3, 0);
    grid->addWidget(txtWorkphone, 3, 1);
    grid->addWidget(Caption("Re&lation:", Combo_Relationship), 3, 2);
    grid->addWidget(Combo_Relationship, 3, 3);

    grid->addWidget(Caption("&Cell:", txtCellphone), 4, 0);
    grid->addWidget(txtCellphone, 4, 1);
    grid->addWidget(Caption("&Best Time:", txtBest_Time_To_Contact), 4, 2);
    grid->addWidget(txtBest_Time_To_Contact, 4, 3);

    grid->addWidget(Caption("Referred B&y:", txtReferred_By), 5, 0);
    grid->addWidget(txtReferred_By, 5, 1, 1, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    layout->addLayout(grid);

    ToolContactActions = new Key_Toolbar("ToolContactActions");
    QAction* email = ToolContactActions->Add_Button("Send_Email", "Email", "Send E-Mail", "SendEmail");
    ToolContactActions->Add_Menu_Entry(email, "Send_Email", "Schedule and Email");
    ToolContactActions->Add_Menu_Entry(email, "ToDo", "Schedule a todo");
    ToolContactActions->Add_Menu_Entry(email, "Call", "Schedule an outgoing call");
    QAction* record = ToolContactActions->Add_Button("", "eRecord", "Record Calls and Create Custom Events", "WritePad");
    ToolContactActions->Add_Menu_Entry(record, "Record_Call_In", "Record Incoming Phone Call");
    ToolContactActions->Add_Menu_Entry(record, "Record_Call_Out", "Record Outgoing Phone Call");
    ToolContactActions->Add_Menu_Entry(record, "Custom_Event", "Record Custom Event");
    ToolContactActions->Add_Button("Quote", "Quote", "Create Quote", "Quote");
    QAction* schedule = ToolContactActions->Add_Button("Schedule", "Schedule", "Schedule E-mail, Calls, To Do's", "Time");
    ToolContactActions->Add_Menu_Entry(schedule, "Email", "Schedule Email");
    ToolContactActions->Add_Menu_Entry(schedule, "To Do", "Schedule ToDo");
    ToolContactActions->Add_Menu_Entry(schedule, "Call Out", "Schedule Call");
    QAction* print = ToolContactActions->Add_Button("Print", "Print", "Print contact delails", "Print");
    ToolContactActions->Add_Menu_Entry(print, "PrintDetails", "Print this Contact Details");
    ToolContactActions->Add_Menu_Entry(print, "PrintAll", "Print Contact and all events");
    ToolContactActions->Add_Separator();
    ToolContactActions->Add_Separator();
    ToolContactActions->Add_Button("Delete", "Delete", "Delete contact and history ", "DeleteCross");
    ToolContactActions->Add_Button("Junk", "Junk", "Junk Contact and History", "StopSign");
    layout->addWidget(ToolContactActions);
    return frameContact_Top_Screen;
}

QWidget* frmContactSystem::Build_Contact_Details()
{
    frameContactDetails = Named(new QGroupBox("Contact Details"), "frameContactDetails");
    auto* grid = new QGridLayout(frameContactDetails);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    txtAddress = Box("txtAddress");
    txtCity = Box("txtCity");
    txtState = Box("txtState");
    txtState->setMaximumWidth(60);
    txtZipcode = Box("txtZipcode");
    txtZipcode->setMaximumWidth(90);
    txtCompany = Box("txtCompany");
    txtB_Month = Box("txtB_Month");
    txtB_Day = Box("txtB_Day");
    txtB_Year = Box("txtB_Year");
    txtBought_Month = Box("txtBought_Month");
    txtBoughtDay = Box("txtBoughtDay");
    txtBought_Year = Box("txtBought_Year");
    // Sized to their numbers, so the pane fits beside the list in a small window.
    const int digit = txtB_Month->fontMetrics().horizontalAdvance("0");
    for (QLineEdit* box : {txtB_Month, txtB_Day, txtBought_Month, txtBoughtDay})
        box->setMaximumWidth(2 * digit + 16);
    for (QLineEdit* box : {txtB_Year, txtBought_Year})
        box->setMaximumWidth(4 * digit + 16);
    txtSource = Box("txtSource");
    txtOptions = Box("txtOptions");
    txtNotes = Named(new QPlainTextEdit, "txtNotes");
    txtNotes->setTabChangesFocus(true);
    txtWorkflowBeginDate = Box("txtWorkflowBeginDate");
    txtWorkflowBeginDate->setPlaceholderText("mm/dd/yyyy hh:mm:ss");
    // Room for the whole date and time.
    txtWorkflowBeginDate->setMinimumWidth(txtWorkflowBeginDate->fontMetrics().horizontalAdvance("00/00/0000 00:00:00") + 16);
    Change_Workflow_Start_Date = Named(new QPushButton("Now"), "Change_Workflow_Start_Date");
    Change_Workflow_Start_Date->setToolTip("Change the workflow starting date to Now");
    Change_Workflow_Start_Date->setMaximumWidth(Change_Workflow_Start_Date->fontMetrics().horizontalAdvance("Now") + 28);
    chkTimeline_Enabled = Named(new QCheckBox("Stop Workflow"), "chkTimeline_Enabled");
    chkWorkflowCompleted = Named(new QCheckBox("Workflow Completed?"), "chkWorkflowCompleted");

    grid->addWidget(Caption("A&ddress:", txtAddress), 0, 0);
    grid->addWidget(txtAddress, 0, 1, 1, 3);
    grid->addWidget(Caption("C&ity:", txtCity), 1, 0);
    auto* city = new QHBoxLayout;
    city->addWidget(txtCity, 1);
    city->addWidget(Caption("State:", txtState));
    city->addWidget(txtState);
    city->addWidget(Caption("&Zip:", txtZipcode));
    city->addWidget(txtZipcode);
    grid->addLayout(city, 1, 1, 1, 3);
    grid->addWidget(Caption("Co&mpany:", txtCompany), 2, 0);
    grid->addWidget(txtCompany, 2, 1, 1, 3);

    auto* birthday = new QHBoxLayout;
    birthday->addWidget(txtB_Month);
    birthday->addWidget(new QLabel("/"));
    birthday->addWidget(txtB_Day);
    birthday->addWidget(new QLabel("/"));
    birthday->addWidget(txtB_Year);
    birthday->addStretch();
    grid->addWidget(Caption("Birthday (m/d/y):", txtB_Month), 3, 0);
    grid->addLayout(birthday, 3, 1);
    auto* bought = new QHBoxLayout;
    bought->addWidget(txtBought_Month);
    bought->addWidget(new QLabel("/"));
    bought->addWidget(txtBoughtDay);
    bought->addWidget(new QLabel("/"));
    bought->addWidget(txtBought_Year);
    bought->addStretch();
    grid->addWidget(Caption("Purchased (m/d/y):", txtBought_Month), 3, 2);
    grid->addLayout(bought, 3, 3);

    grid->addWidget(Caption("Options:", txtOptions), 4, 0);
    grid->addWidget(txtOptions, 4, 1);
    grid->addWidget(Caption("Source:", txtSource), 4, 2);
    grid->addWidget(txtSource, 4, 3);

    grid->addWidget(Caption("Workflow Start Date", txtWorkflowBeginDate), 5, 0);
    auto* workflow = new QHBoxLayout;
    workflow->addWidget(txtWorkflowBeginDate, 1);
    workflow->addWidget(Change_Workflow_Start_Date);
    grid->addLayout(workflow, 5, 1);
    auto* checks = new QHBoxLayout;
    checks->addWidget(chkTimeline_Enabled);
    checks->addWidget(chkWorkflowCompleted);
    checks->addStretch();
    grid->addLayout(checks, 6, 1, 1, 3);

    grid->addWidget(Caption("Note&s:", txtNotes), 7, 0, Qt::AlignTop);
    grid->addWidget(txtNotes, 7, 1, 1, 3);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return frameContactDetails;
}

QWidget* frmContactSystem::Build_Welcome_Message()
{
    frameWelcomeMessage = Named(new QFrame, "frameWelcomeMessage");
    auto* layout = new QVBoxLayout(frameWelcomeMessage);
    auto* text = new QLabel(
        "<h2>Welcome to Brackenlead</h2>"
        "<p>Choose a contact in the list to see its record and its events,<br>"
        "or pick a group of contacts with the <b>Groups</b> button.</p>");
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    return frameWelcomeMessage;
}

QWidget* frmContactSystem::Build_Event_View()
{
    frameEventView = Named(new QGroupBox("Event Reader"), "frameEventView");
    auto* layout = new QVBoxLayout(frameEventView);
    auto* form = new QGridLayout;
    txtFrameEvent_Date = Box("txtFrameEvent_Date");
    txtFrameEvent_Type = Box("txtFrameEvent_Type");
    txtFrameEvent_Subject = Box("txtFrameEvent_Subject");
    for (QLineEdit* box : {txtFrameEvent_Date, txtFrameEvent_Type, txtFrameEvent_Subject})
        box->setReadOnly(true);
    txtFrameEvent_Message = Named(new QTextEdit, "txtFrameEvent_Message");
    txtFrameEvent_Message->setReadOnly(true);
    ListEventAttachments = Combo("ListEventAttachments", false);
    ToolEventAttachmentActions = new Key_Toolbar("ToolEventAttachmentActions");
    QAction* clip = ToolEventAttachmentActions->Add_Button("", "", "Attachments of this event", "Clip");
    ToolEventAttachmentActions->Add_Menu_Entry(clip, "Save", "Save");
    ToolEventAttachmentActions->Add_Menu_Entry(clip, "Delete", "Delete");
    ToolEventActions = new Key_Toolbar("ToolEventActions");
    ToolEventActions->Add_Button("Print", "Print", "Print this event", "Print");
    ToolEventActions->Add_Button("Reply", "Reply", "Reply to this event", "SendEmail");
    ToolEventActions->Add_Button("Delete", "Delete", "Delete this event", "DeleteCross");
    txtEventID = Hidden_Box("txtEventID", frameEventView);
    txtEventContactID = Hidden_Box("txtEventContactID", frameEventView);
    txtEventUnique_ID = Hidden_Box("txtEventUnique_ID", frameEventView);

    form->addWidget(Caption("Date:", txtFrameEvent_Date), 0, 0);
    form->addWidget(txtFrameEvent_Date, 0, 1);
    form->addWidget(Caption("Event:", txtFrameEvent_Type), 0, 2);
    form->addWidget(txtFrameEvent_Type, 0, 3);
    form->addWidget(Caption("Subject:", txtFrameEvent_Subject), 1, 0);
    form->addWidget(txtFrameEvent_Subject, 1, 1, 1, 3);
    ListEventAttachments_Caption = Caption("Attachments:", ListEventAttachments);
    form->addWidget(ListEventAttachments_Caption, 2, 0);
    auto* attachments = new QHBoxLayout;
    attachments->addWidget(ListEventAttachments, 1);
    attachments->addWidget(ToolEventAttachmentActions);
    form->addLayout(attachments, 2, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    layout->addWidget(ToolEventActions);
    layout->addLayout(form);
    layout->addWidget(txtFrameEvent_Message, 1);
    return frameEventView;
}

QWidget* frmContactSystem::Build_Schedule()
{
    frameSchedule = Named(new QGroupBox("Schedule"), "frameSchedule");
    auto* layout = new QHBoxLayout(frameSchedule);

    auto* left = new QVBoxLayout;
    Calendar2 = Named(new QCalendarWidget, "Calendar2");
    Calendar2->setGridVisible(true);
    Calendar2->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    left->addWidget(Calendar2);
    lblSchedule_Time = Named(new QLabel("hh       mm      # of Days Lead"), "lblSchedule_Time");
    left->addWidget(lblSchedule_Time);
    auto* time = new QHBoxLayout;
    txtFrameSchedule_Hour = Box("txtFrameSchedule_Hour");
    txtFrameSchedule_Minutes = Box("txtFrameSchedule_Minutes");
    txtFrameSchedule_Lead = Box("txtFrameSchedule_Lead");
    for (QLineEdit* box : {txtFrameSchedule_Hour, txtFrameSchedule_Minutes, txtFrameSchedule_Lead})
        box->setMaximumWidth(40);
    UpDown4 = Up_Down("UpDown4", 0, 24, txtFrameSchedule_Hour);
    UpDown3 = Up_Down("UpDown3", 0, 60, txtFrameSchedule_Minutes);
    UpDown_Lead = Up_Down("UpDown_Lead", 0, 30, txtFrameSchedule_Lead);
    time->addWidget(txtFrameSchedule_Hour);
    time->addWidget(UpDown4);
    time->addWidget(txtFrameSchedule_Minutes);
    time->addWidget(UpDown3);
    time->addWidget(txtFrameSchedule_Lead);
    time->addWidget(UpDown_Lead);
    time->addStretch();
    left->addLayout(time);
    left->addStretch();
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* form = new QGridLayout;
    Label_Use_Template = Named(new QLabel("Use Template"), "Label_Use_Template");
    lstScheduleTemplates = Combo("lstScheduleTemplates", false);
    txtFrameSchedule_Subject = Box("txtFrameSchedule_Subject");
    txtFrameSchedule_Message = Named(new QPlainTextEdit, "txtFrameSchedule_Message");
    ListScheduleAttachments = Combo("ListScheduleAttachments", false);
    ToolScheduleAttachment = new Key_Toolbar("ToolScheduleAttachment");
    QAction* clip = ToolScheduleAttachment->Add_Button("Add", "", "Add/Remove Attachment (s)", "Clip");
    ToolScheduleAttachment->Add_Menu_Entry(clip, "Add", "Add Attachment");
    ToolScheduleAttachment->Add_Menu_Entry(clip, "Remove", "Remove Attachment");
    txtFrameSchedule_ContactID = Hidden_Box("txtFrameSchedule_ContactID", frameSchedule);
    txtFrameSchedule_Type = Hidden_Box("txtFrameSchedule_Type", frameSchedule);
    ToolSchedule = new Key_Toolbar("ToolSchedule");
    ToolSchedule->Add_Button("Schedule", "Schedule", "Schedule this event", "Time");
    ToolSchedule->Add_Button("Cancel", "Cancel", "Cancel this event", "DeleteCross");

    form->addWidget(Label_Use_Template, 0, 0);
    form->addWidget(lstScheduleTemplates, 0, 1);
    form->addWidget(Caption("Subject:", txtFrameSchedule_Subject), 1, 0);
    form->addWidget(txtFrameSchedule_Subject, 1, 1);
    form->addWidget(Caption("Attachments:", ListScheduleAttachments), 2, 0);
    auto* attachments = new QHBoxLayout;
    attachments->addWidget(ListScheduleAttachments, 1);
    attachments->addWidget(ToolScheduleAttachment);
    form->addLayout(attachments, 2, 1);
    form->setColumnStretch(1, 1);
    right->addLayout(form);
    right->addWidget(txtFrameSchedule_Message, 1);
    right->addWidget(ToolSchedule);
    layout->addLayout(right, 1);
    return frameSchedule;
}

QWidget* frmContactSystem::Build_Record_Call()
{
    frameRecordCall = Named(new QFrame, "frameRecordCall");
    frameRecordCall->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(frameRecordCall);
    lblRecordCall_MainHeader = Named(new QLabel("Record Outgoing Call"), "lblRecordCall_MainHeader");
    QFont heading = lblRecordCall_MainHeader->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    lblRecordCall_MainHeader->setFont(heading);
    layout->addWidget(lblRecordCall_MainHeader);

    auto* form = new QGridLayout;
    lblCustomEventLabel = Named(new QLabel("Custom Event"), "lblCustomEventLabel");
    txtRecord_Custom_Event = Box("txtRecord_Custom_Event");
    lblCustomEventLabel->setBuddy(txtRecord_Custom_Event);
    txtFrameRecordCall_Subject = Box("txtFrameRecordCall_Subject");
    lblDueDate = Named(new QLabel("Due Date"), "lblDueDate");
    txtFrameRecordCall_Date_to_Be_Executed = Box("txtFrameRecordCall_Date_to_Be_Executed");
    lblDueDate->setBuddy(txtFrameRecordCall_Date_to_Be_Executed);
    Combo_Record_Custom_Attachments = Combo("Combo_Record_Custom_Attachments", false);
    ToolCustomCreateAttachment = new Key_Toolbar("ToolCustomCreateAttachment");
    QAction* clip = ToolCustomCreateAttachment->Add_Button("Add", "", "Add/Remove Attachment (s)", "Clip");
    ToolCustomCreateAttachment->Add_Menu_Entry(clip, "Add", "Add Attachment");
    ToolCustomCreateAttachment->Add_Menu_Entry(clip, "Remove", "Remove Attachment");
    txtFrameRecordCall_Message = Named(new QPlainTextEdit, "txtFrameRecordCall_Message");
    txtFrameRecordCall_Message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtFrameRecordCall_ContactID = Hidden_Box("txtFrameRecordCall_ContactID", frameRecordCall);
    txtFrameRecordCall_Type = Hidden_Box("txtFrameRecordCall_Type", frameRecordCall);
    txtFrameRecordCall_Timeline = Hidden_Box("txtFrameRecordCall_Timeline", frameRecordCall);
    txtFrameRecordCall_Date_Sent = Hidden_Box("txtFrameRecordCall_Date_Sent", frameRecordCall);
    ToolRecord = new Key_Toolbar("ToolRecord");
    ToolRecord->Add_Button("Cancel", "Cancel", "Cancel the recording", "DeleteCross");
    ToolRecord->Add_Button("Record", "Record", "Record the data for this contact", "WritePad");

    form->addWidget(lblCustomEventLabel, 0, 0);
    form->addWidget(txtRecord_Custom_Event, 0, 1);
    form->addWidget(Caption("Subject:", txtFrameRecordCall_Subject), 1, 0);
    form->addWidget(txtFrameRecordCall_Subject, 1, 1);
    form->addWidget(lblDueDate, 2, 0);
    form->addWidget(txtFrameRecordCall_Date_to_Be_Executed, 2, 1);
    auto* attachments = new QHBoxLayout;
    attachments->addWidget(Combo_Record_Custom_Attachments, 1);
    attachments->addWidget(ToolCustomCreateAttachment);
    form->addLayout(attachments, 3, 1);
    form->setColumnStretch(1, 1);
    layout->addLayout(form);
    layout->addWidget(txtFrameRecordCall_Message, 1);
    layout->addWidget(ToolRecord);
    return frameRecordCall;
}

QWidget* frmContactSystem::Build_Email_Out_View()
{
    frameEmailOutView = Named(new QGroupBox("Email Composer"), "frameEmailOutView");
    auto* layout = new QVBoxLayout(frameEmailOutView);
    ToolEmailComposer = new Key_Toolbar("ToolEmailComposer");
    ToolEmailComposer->Add_Button("SendEmail", "Send", "Send ", "SendEmail");
    ToolEmailComposer->Add_Button("Spell", "Spell", "Spell Check this text", "FieldsNotSetup");
    ToolEmailComposer->Add_Button("Cancel", "Cancel", "Cancel this operation", "DeleteCross");
    layout->addWidget(ToolEmailComposer);

    auto* form = new QGridLayout;
    txtFrameEmailOutName = Box("txtFrameEmailOutName");
    txtFrameEmailOutAddress = Box("txtFrameEmailOutAddress");
    txtFrameEmailOutSubject = Box("txtFrameEmailOutSubject");
    txtFrameEmailOutMessage = Named(new QTextEdit, "txtFrameEmailOutMessage");
    txtFrameEmailOutMessage->setAcceptRichText(false);
    lstSendEmailTemplate = Combo("lstSendEmailTemplate", true);
    lblSendEmail = Named(new QLabel("Template"), "lblSendEmail");
    lblSendEmail->setBuddy(lstSendEmailTemplate);
    ListEmailAttachments = Combo("ListEmailAttachments", true);
    ToolEmailAttachmentActions = new Key_Toolbar("ToolEmailAttachmentActions");
    QAction* clip = ToolEmailAttachmentActions->Add_Button("Add", "", "Click to add attachment", "Clip");
    ToolEmailAttachmentActions->Add_Menu_Entry(clip, "Add", "Add");
    ToolEmailAttachmentActions->Add_Menu_Entry(clip, "Remove", "Remove");
    txtFrameEmailOutContactID = Hidden_Box("txtFrameEmailOutContactID", frameEmailOutView);
    txtFrameEmailOutViewProduct = Hidden_Box("txtFrameEmailOutViewProduct", frameEmailOutView);
    txtFrameEmailOutViewType = Hidden_Box("txtFrameEmailOutViewType", frameEmailOutView);

    form->addWidget(Caption("Name:", txtFrameEmailOutName), 0, 0);
    form->addWidget(txtFrameEmailOutName, 0, 1);
    form->addWidget(lblSendEmail, 0, 2);
    form->addWidget(lstSendEmailTemplate, 0, 3);
    form->addWidget(Caption("Address:", txtFrameEmailOutAddress), 1, 0);
    form->addWidget(txtFrameEmailOutAddress, 1, 1);
    form->addWidget(Caption("Attachments:", ListEmailAttachments), 1, 2);
    auto* attachments = new QHBoxLayout;
    attachments->addWidget(ListEmailAttachments, 1);
    attachments->addWidget(ToolEmailAttachmentActions);
    form->addLayout(attachments, 1, 3);
    form->addWidget(Caption("Subject:", txtFrameEmailOutSubject), 2, 0);
    form->addWidget(txtFrameEmailOutSubject, 2, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    layout->addLayout(form);
    layout->addWidget(txtFrameEmailOutMessage, 1);
    return frameEmailOutView;
}

QWidget* frmContactSystem::Build_Unmatched_Page()
{
    frameUnmatched = Named(new QGroupBox("Unmatched"), "frameUnmatched");
    frameUnmatched->setFlat(true);
    auto* layout = new QVBoxLayout(frameUnmatched);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* splitter = new QSplitter(Qt::Horizontal);

    auto* list_side = new QWidget;
    auto* list_layout = new QVBoxLayout(list_side);
    list_layout->setContentsMargins(0, 0, 0, 0);
    ToolUnmatchedAll = new Key_Toolbar("ToolUnmatchedAll");
    ToolUnmatchedAll->Add_Button("PrintAll", "Print All", "Print every unmatched e-mail", "Print");
    ToolUnmatchedAll->Add_Button("DeleteAll", "Delete All", "Delete every unmatched e-mail", "DeleteCross");
    list_layout->addWidget(ToolUnmatchedAll);
    ListUnmatched = new List_View("ListUnmatched");
    list_layout->addWidget(ListUnmatched);
    splitter->addWidget(list_side);

    frameUnmatchedDisplay = Named(new QGroupBox("E-mail"), "frameUnmatchedDisplay");
    auto* display = new QVBoxLayout(frameUnmatchedDisplay);
    ToolUnmatchedActions = new Key_Toolbar("ToolUnmatchedActions");
    ToolUnmatchedActions->Add_Button("Convert", "Convert", "Convert E-mails to contact", "Imported");
    ToolUnmatchedActions->Add_Button("Reply", "Reply", "Reply to email without entering it into contacts", "WritePad");
    ToolUnmatchedActions->Add_Button("Print", "Print", "Print this e-mail", "Print");
    QAction* remove = ToolUnmatchedActions->Add_Button("Delete", "Delete", "Delete this e-mail", "DeleteCross");
    ToolUnmatchedActions->Add_Menu_Entry(remove, "Delete", "Delete this Email");
    ToolUnmatchedActions->Add_Menu_Entry(remove, "SDelete", "Delete E-mails with the same address");
    ToolUnmatchedActions->Add_Button("Junk", "Junk",
                                     "Junk this e-mail and never receive anything from \"it\" ever again!",
                                     "StopSign");
    display->addWidget(ToolUnmatchedActions);
    ToolUnmatchedEmailing = new Key_Toolbar("ToolUnmatchedEmailing");
    ToolUnmatchedEmailing->Add_Button("SendEmail", "Send", "Send ", "SendEmail");
    ToolUnmatchedEmailing->Add_Button("Spell", "Spell", "Spell Check this text", "FieldsNotSetup");
    ToolUnmatchedEmailing->Add_Button("Cancel", "Cancel", "Cancel this operation", "DeleteCross");
    display->addWidget(ToolUnmatchedEmailing);

    auto* form = new QGridLayout;
    UnmatchedName = Box("UnmatchedName");
    UnmatchedEmail = Box("UnmatchedEmail");
    UnmatchedDate = Box("UnmatchedDate");
    UnmatchedSubject = Box("UnmatchedSubject");
    for (QLineEdit* box : {UnmatchedName, UnmatchedEmail, UnmatchedDate, UnmatchedSubject})
        box->setReadOnly(true);
    UnmatchedMessage = Named(new QTextEdit, "UnmatchedMessage");
    UnmatchedMessage->setReadOnly(true);
    UnmatchedMessage->setAcceptRichText(false);
    ListUnmatchedAttachments = Named(new QListWidget, "ListUnmatchedAttachments");
    ListUnmatchedAttachments->setMaximumHeight(60);
    ToolManageEmaiAttachment = new Key_Toolbar("ToolManageEmaiAttachment");
    QAction* clip = ToolManageEmaiAttachment->Add_Button("", "", "Manage the attachments", "Clip");
    ToolManageEmaiAttachment->Add_Menu_Entry(clip, "Save", "Save");
    ToolManageEmaiAttachment->Add_Menu_Entry(clip, "Delete", "Delete");
    txtUnmatchedUniqueID = Hidden_Box("txtUnmatchedUniqueID", frameUnmatchedDisplay);
    txtUnmatchedUniqueDate = Hidden_Box("txtUnmatchedUniqueDate", frameUnmatchedDisplay);
    txtUnmatched_ID = Hidden_Box("txtUnmatched_ID", frameUnmatchedDisplay);

    form->addWidget(Caption("From:", UnmatchedName), 0, 0);
    form->addWidget(UnmatchedName, 0, 1);
    form->addWidget(Caption("Email:", UnmatchedEmail), 0, 2);
    form->addWidget(UnmatchedEmail, 0, 3);
    form->addWidget(Caption("Received:", UnmatchedDate), 1, 0);
    form->addWidget(UnmatchedDate, 1, 1);
    form->addWidget(Caption("Subject:", UnmatchedSubject), 2, 0);
    form->addWidget(UnmatchedSubject, 2, 1, 1, 3);
    form->addWidget(Caption("Attachments:", ListUnmatchedAttachments), 3, 0, Qt::AlignTop);
    auto* attachments = new QHBoxLayout;
    attachments->addWidget(ListUnmatchedAttachments, 1);
    attachments->addWidget(ToolManageEmaiAttachment, 0, Qt::AlignTop);
    form->addLayout(attachments, 3, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    display->addLayout(form);
    display->addWidget(UnmatchedMessage, 1);
    splitter->addWidget(frameUnmatchedDisplay);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter);
    return frameUnmatched;
}

QWidget* frmContactSystem::Build_Outbox_Page()
{
    frameOutbox = Named(new QGroupBox("Outbox"), "frameOutbox");
    frameOutbox->setFlat(true);
    auto* layout = new QVBoxLayout(frameOutbox);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* splitter = new QSplitter(Qt::Horizontal);

    auto* list_side = new QWidget;
    auto* list_layout = new QVBoxLayout(list_side);
    list_layout->setContentsMargins(0, 0, 0, 0);
    ToolOutboxAll = new Key_Toolbar("ToolOutboxAll");
    ToolOutboxAll->Add_Button("MapiSend", "Send All", "Send E-Mail Using MAPI", "Mail");
    ToolOutboxAll->Add_Button("DeleteAll", "Delete All", "Delete All Emails in the outbox", "DeleteCross");
    list_layout->addWidget(ToolOutboxAll);
    ListOutbox = new List_View("ListOutbox");
    list_layout->addWidget(ListOutbox);
    splitter->addWidget(list_side);

    auto* editor = new QWidget;
    auto* editor_layout = new QVBoxLayout(editor);
    editor_layout->setContentsMargins(0, 0, 0, 0);
    ToolOutbox = new Key_Toolbar("ToolOutbox");
    ToolOutbox->Add_Button("Delete", "Delete", "Delete this Email from the outbox", "DeleteCross");
    editor_layout->addWidget(ToolOutbox);
    lblOutboxFields = Named(new QLabel, "lblOutboxFields");
    lblOutboxFields->hide();   // its caption is shown with the first entry
    editor_layout->addWidget(lblOutboxFields);

    auto* form = new QGridLayout;
    txtFrameOutbox_Name = Box("txtFrameOutbox_Name");
    txtFrameOutbox_Email = Box("txtFrameOutbox_Email");
    txtFrameOutbox_Subject = Box("txtFrameOutbox_Subject");
    txtFrameOutbox_Product = Box("txtFrameOutbox_Product");
    txtFrameOutbox_Date_Due = Box("txtFrameOutbox_Date_Due");
    txtFrameOutbox_Date_Due->setReadOnly(true);
    txtFrameOutbox_Message = Named(new QTextEdit, "txtFrameOutbox_Message");
    txtFrameOutbox_Message->setAcceptRichText(false);
    List_Outbox_Attachments = Combo("List_Outbox_Attachments", false);
    ToolOutboxAttachmentActions = new Key_Toolbar("ToolOutboxAttachmentActions");
    QAction* clip = ToolOutboxAttachmentActions->Add_Button("Add", "", "Add an attachment", "Clip");
    ToolOutboxAttachmentActions->Add_Menu_Entry(clip, "Add", "Add");
    ToolOutboxAttachmentActions->Add_Menu_Entry(clip, "Remove", "Remove");
    txtFrameOutbox_ID = Hidden_Box("txtFrameOutbox_ID", frameOutbox);
    txtFrameOutboxDateSent = Hidden_Box("txtFrameOutboxDateSent", frameOutbox);

    form->addWidget(Caption("Name:", txtFrameOutbox_Name), 0, 0);
    form->addWidget(txtFrameOutbox_Name, 0, 1);
    form->addWidget(Caption("Email:", txtFrameOutbox_Email), 0, 2);
    form->addWidget(txtFrameOutbox_Email, 0, 3);
    form->addWidget(Caption("Product:", txtFrameOutbox_Product), 1, 0);
    form->addWidget(txtFrameOutbox_Product, 1, 1);
    form->addWidget(Caption("Due:", txtFrameOutbox_Date_Due), 1, 2);
    form->addWidget(txtFrameOutbox_Date_Due, 1, 3);
    form->addWidget(Caption("Attachments:", List_Outbox_Attachments), 2, 0);
    auto* attachments = new QHBoxLayout;
    attachments->addWidget(List_Outbox_Attachments, 1);
    attachments->addWidget(ToolOutboxAttachmentActions);
    form->addLayout(attachments, 2, 1, 1, 3);
    form->addWidget(Caption("Subject:", txtFrameOutbox_Subject), 3, 0);
    form->addWidget(txtFrameOutbox_Subject, 3, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    editor_layout->addLayout(form);
    editor_layout->addWidget(txtFrameOutbox_Message, 1);
    splitter->addWidget(editor);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter);
    return frameOutbox;
}

void frmContactSystem::Set_Up_Lists()
{
    ListContacts->Set_Columns({{"", 1}, {"First", 1000}, {"Last", 1000}, {"Email", 1000},
                               {"Product", 1500}, {"Relation", 1500}, {"Title", 1500}});
    // Narrower than the twips say, so the six columns fit beside the editor,
    // and the e-mail column wider: addresses are the longest texts.
    ListContacts->Set_Column_Widths({2, 80, 90, 160, 90, 80, 60});
    ListToDo->Set_Columns({{"", 250}, {"First", 1000}, {"Last", 1000}, {"Event", 900},
                           {"Subject", 2000}, {"Date", 1500}});
    ListEvents->Set_Columns({{"", 200}, {"Date", 1500}, {"Event", 1500}, {"Subject", 1500}});
    ListUnmatched->Set_Columns({{"", 200}, {"From", 1500}, {"Subject", 3000}, {"Received", 1500}});
    ListOutbox->Set_Columns({{"", 200}, {"Name", 1500}, {"Address", 1500}, {"Subject", 3000}});
}

void frmContactSystem::Set_Later_Commands_Disabled()
{
    // Commands whose work is not built yet stay visibly unavailable; each page
    // enables its own once it is there.
    for (QAction* action : {Setup_Furrowline_Settings, mnuViewStats, mnuJunkEmails, mnuPlanning,
                            mnu_Get_Mapi_Mail, mnuProcessWorkflows, mnuAutomaticFileImport})
        action->setEnabled(false);
    for (Key_Toolbar* toolbar :
         {Toolbar1, ToolContactActions, ToolEventAttachmentActions, ToolEventActions,
          ToolScheduleAttachment, ToolSchedule, ToolCustomCreateAttachment, ToolRecord,
          ToolEmailComposer, ToolEmailAttachmentActions, ToolUnmatchedActions, ToolUnmatchedAll,
          ToolUnmatchedEmailing, ToolManageEmaiAttachment, ToolOutbox, ToolOutboxAll,
          ToolOutboxAttachmentActions})
        toolbar->Set_Buttons_Enabled(false);
}

void frmContactSystem::Refresh_Layout_Sizes()
{
    // Panes hidden before the window was first shown leave their old sizes in
    // the layouts' caches; let every layout ask again.
    for (QWidget* widget : findChildren<QWidget*>())
        widget->updateGeometry();
}
