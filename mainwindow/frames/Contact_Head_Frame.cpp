#include "Contact_Head_Frame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Database.h"
#include "GlobalVariables.h"
#include "Key_Toolbar.h"
#include "List_Recordset.h"
#include "Lookup_Combo.h"
#include "Named_Controls.h"
#include "Shared_Routines.h"
#include "dialogs/frmDelete_Relationship.h"
#include "dialogs/frmDelete_Title.h"

namespace {

Lookup_Combo::Lookup Titles_Lookup()
{
    return {"Titles", "Contact_Title", "* Add New Title", "* Delete Title", "Enter the name of the Title to add:",
            "New Title Addition", "That title already exists in the system!", "", "",
            // Typing a command entry's text does not run the command.
            false};
}

Lookup_Combo::Lookup Relationships_Lookup()
{
    return {"Relationships", "Relation_Data", "* Add New Relationship", "* Delete Relationship",
            "Enter the name of the Relationship to add:", "New Relationship Addition",
            "That relationship already exists in the system!", ":",
            "The character : is not accepted in the name of a relationship.", true};
}

} // namespace

Contact_Head_Frame::Contact_Head_Frame(QWidget* parent)
    : QFrame(parent)
{
    setObjectName("frameContact_Top_Screen");
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 2);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    txtfirstname = Text_Box("txtfirstname");
    txtMiddle_Initials = Text_Box("txtMiddle_Initials");
    txtMiddle_Initials->setMaximumWidth(40);
    txtlastname = Text_Box("txtlastname");
    Capitalize_First_And_Last = Named(new QPushButton("C"), "Capitalize_First_And_Last");
    Capitalize_First_And_Last->setToolTip("Capitalise the names");
    Capitalize_First_And_Last->setFixedWidth(28);
    txtEmail = Text_Box("txtEmail");
    txtEmail->setMinimumWidth(txtEmail->fontMetrics().horizontalAdvance("someone@example") + 16);
    txtHomephone = Text_Box("txtHomephone");
    txtWorkphone = Text_Box("txtWorkphone");
    txtCellphone = Text_Box("txtCellphone");
    txtBest_Time_To_Contact = Text_Box("txtBest_Time_To_Contact");
    txtReferred_By = Text_Box("txtReferred_By");
    lstProduct = Choice_Box("lstProduct", true);
    Combo_Title = new Lookup_Combo("Combo_Title", Titles_Lookup());
    Combo_Relationship = new Lookup_Combo("Combo_Relationship", Relationships_Lookup());
    txtContactReceivedDate = Text_Box("txtContactReceivedDate");
    txtContactReceivedDate->setReadOnly(true);
    // A short date: the room it does not need goes to the name and e-mail boxes.
    txtContactReceivedDate->setMaximumWidth(txtContactReceivedDate->fontMetrics().horizontalAdvance("00/00/00") + 24);
    txtContact_ID = Text_Box("txtContact_ID");
    txtContact_ID->setReadOnly(true);
    txtContact_ID->setMaximumWidth(70);
    txtPendingEvents = Hidden_Box("txtPendingEvents", this);
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
    QAction* quote = ToolContactActions->Add_Button("Quote", "Quote", "Create Quote", "Quote");
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
    // Keys for the commands while the contact is shown.
    const auto keys = [this](QAction* action, const char* sequence) {
        Key_Toolbar::Give_Shortcut(action, QKeySequence(QString::fromLatin1(sequence)), this, Qt::WindowShortcut);
    };
    keys(email, "Ctrl+N");
    keys(ToolContactActions->Menu_Entry(schedule, "Email"), "Ctrl+Shift+N");
    keys(ToolContactActions->Menu_Entry(schedule, "To Do"), "Ctrl+T");
    keys(ToolContactActions->Menu_Entry(schedule, "Call Out"), "Ctrl+L");
    keys(ToolContactActions->Menu_Entry(record, "Record_Call_In"), "Ctrl+Shift+I");
    keys(ToolContactActions->Menu_Entry(record, "Record_Call_Out"), "Ctrl+Shift+O");
    keys(ToolContactActions->Menu_Entry(record, "Custom_Event"), "Ctrl+Shift+U");
    keys(ToolContactActions->Menu_Entry(print, "PrintDetails"), "Ctrl+P");
    keys(ToolContactActions->Menu_Entry(print, "PrintAll"), "Ctrl+Shift+P");
    keys(quote, "Ctrl+Shift+Q");
    connect(ToolContactActions, &Key_Toolbar::Button_Click, this, &Contact_Head_Frame::ToolContactActions_ButtonClick);
    connect(ToolContactActions, &Key_Toolbar::Button_Menu_Click, this,
            &Contact_Head_Frame::ToolContactActions_ButtonMenuClick);
    layout->addWidget(ToolContactActions);

    Take_Any_Length({txtBest_Time_To_Contact, txtCellphone, txtContactReceivedDate, txtEmail, txtHomephone,
                     txtMiddle_Initials, txtReferred_By, txtWorkphone, txtfirstname, txtlastname,
                     lstProduct->lineEdit(), Combo_Title->lineEdit(), Combo_Relationship->lineEdit()});
    for (QLineEdit* box : {txtBest_Time_To_Contact, txtCellphone, txtContactReceivedDate, txtHomephone,
                           txtMiddle_Initials, txtReferred_By, txtWorkphone})
        connect(box, &QLineEdit::textChanged, this, [this] { modified_ = true; });
    connect(txtfirstname, &QLineEdit::textChanged, this, [this](const QString& text) {
        modified_ = true;
        Q_EMIT List_Column_Edited(1, text);
    });
    connect(txtlastname, &QLineEdit::textChanged, this, [this](const QString& text) {
        modified_ = true;
        Q_EMIT List_Column_Edited(2, text);
    });
    // The list would otherwise show an address the contact no longer has.
    connect(txtEmail, &QLineEdit::textChanged, this, [this](const QString& text) {
        modified_ = true;
        Q_EMIT List_Column_Edited(3, text);
    });
    connect(Capitalize_First_And_Last, &QPushButton::clicked, this,
            &Contact_Head_Frame::Capitalize_First_And_Last_Click);
    connect(Show_Product_Details, &QPushButton::clicked, this, &Contact_Head_Frame::Details_Requested);
    // Typing and choosing an entry; text put in by the program is no edit.
    connect(lstProduct->lineEdit(), &QLineEdit::textEdited, this, &Contact_Head_Frame::lstProduct_Change);
    connect(lstProduct, &QComboBox::activated, this, &Contact_Head_Frame::lstProduct_Change);
    connect(Combo_Title, &Lookup_Combo::Value_Edited, this, [this](const QString& text) {
        modified_ = true;
        Q_EMIT List_Column_Edited(6, text);
    });
    connect(Combo_Relationship, &Lookup_Combo::Value_Edited, this, [this](const QString& text) {
        modified_ = true;
        Q_EMIT List_Column_Edited(5, text);
    });
    Combo_Title->Set_Delete_Command([this] { Delete_Lookup_Values(false); });
    Combo_Relationship->Set_Delete_Command([this] { Delete_Lookup_Values(true); });
}

void Contact_Head_Frame::Show_Contact(const QSqlRecord& contact)
{
    const auto text = [&contact](const char* field) { return Null_To_Empty(contact.value(field)); };
    // The ID first: the name boxes copy their text into this contact's row.
    txtContact_ID->setText(QString::number(contact.value("ID").toLongLong()));
    txtfirstname->setText(text("FirstName"));
    txtMiddle_Initials->setText(text("MiddleInitial"));
    txtlastname->setText(text("LastName"));
    txtBest_Time_To_Contact->setText(text("Best_Time_To_Contact"));
    txtReferred_By->setText(text("Referred_By"));
    txtEmail->setText(text("Email"));
    txtWorkphone->setText(text("Workphone"));
    txtHomephone->setText(text("Homephone"));
    txtCellphone->setText(text("Cellphone"));
    lstProduct->setEditText(text("Product"));
    Combo_Title->Show_Value(text("Contact_Title"));
    Combo_Relationship->Show_Value(text("Contact_Relationship"));
    txtPendingEvents->setText(Contact_Flag(contact, "Pending_Events_To_Read") ? "True" : "False");
    const QDateTime received = Db_To_Date(contact.value("Contact_Received_Date"));
    txtContactReceivedDate->setText(received.isValid() ? received.toString("MM/dd/yy") : QString());
}

void Contact_Head_Frame::Read_Changes(Contact_Changes& changes) const
{
    changes.Set("FirstName", txtfirstname->text());
    changes.Set("MiddleInitial", txtMiddle_Initials->text());
    changes.Set("LastName", txtlastname->text());
    changes.Set("Best_Time_To_Contact", txtBest_Time_To_Contact->text());
    changes.Set("Referred_By", txtReferred_By->text());
    changes.Set("Email", txtEmail->text());
    changes.Set("Workphone", txtWorkphone->text());
    changes.Set("Homephone", txtHomephone->text());
    changes.Set("Cellphone", txtCellphone->text());
    changes.Set("Product", lstProduct->currentText());
    changes.Set("Contact_Title", Combo_Title->currentText());
    changes.Set("Contact_Relationship", Combo_Relationship->currentText());
}

QString Contact_Head_Frame::Shown_Name() const
{
    return txtfirstname->text() + " " + txtlastname->text();
}

QString Contact_Head_Frame::Shown_Email() const
{
    return txtEmail->text();
}

void Contact_Head_Frame::Start_Typing()
{
    txtfirstname->setFocus();
    txtfirstname->selectAll();
}

QString Contact_Head_Frame::Contact_ID() const
{
    return txtContact_ID->text();
}

bool Contact_Head_Frame::Pending_Events() const
{
    return txtPendingEvents->text() == "True";
}

void Contact_Head_Frame::Set_Pending_Events(bool pending)
{
    txtPendingEvents->setText(pending ? "True" : "False");
}

void Contact_Head_Frame::Capitalize_First_And_Last_Click()
{
    txtfirstname->setText(Proper_Case(txtfirstname->text()));
    txtMiddle_Initials->setText(txtMiddle_Initials->text().toUpper());
    txtlastname->setText(Proper_Case(txtlastname->text()));
    modified_ = true;
}

void Contact_Head_Frame::lstProduct_Change()
{
    modified_ = true;
    Q_EMIT List_Column_Edited(4, lstProduct->currentText());
}

void Contact_Head_Frame::Delete_Lookup_Values(bool relationship)
{
    GlobalVariables::Delete_Dialog_Closed = false;
    if (relationship) {
        frmDelete_Relationship dialog(this);
        dialog.exec();
        Fill_Relationship_Combo();
    } else {
        frmDelete_Title dialog(this);
        dialog.exec();
        Fill_Title_Combo();
    }
}

// ---- The contact action toolbar ------------------------------------------------------

void Contact_Head_Frame::ToolContactActions_ButtonClick(const QString& Key)
{
    if (Key == "Send_Email")
        Q_EMIT Compose_Requested();
    else if (Key == "Schedule")
        Q_EMIT Schedule_Requested("Email Out");
    else if (Key == "Print")
        Q_EMIT Print_Requested(false);
    else if (Key == "Quote")
        Q_EMIT Quote_Requested();
    else if (Key == "Delete")
        Q_EMIT Delete_Requested();
    else if (Key == "Junk")
        Q_EMIT Junk_Requested();
}

void Contact_Head_Frame::ToolContactActions_ButtonMenuClick(const QString& Key)
{
    // The entries under "Email" schedule as the like entries under "Schedule" do.
    if (Key == "PrintDetails")
        Q_EMIT Print_Requested(false);
    else if (Key == "PrintAll")
        Q_EMIT Print_Requested(true);
    else if (Key == "Email" || Key == "Send_Email")
        Q_EMIT Schedule_Requested("Email Out");
    else if (Key == "To Do" || Key == "ToDo")
        Q_EMIT Schedule_Requested("To Do");
    else if (Key == "Call Out" || Key == "Call")
        Q_EMIT Schedule_Requested("Call Out");
    else if (Key == "Record_Call_Out")
        Q_EMIT Record_Requested("Outgoing Call");
    else if (Key == "Record_Call_In")
        Q_EMIT Record_Requested("Incoming Call");
    else if (Key == "Custom_Event")
        Q_EMIT Record_Requested("Custom Event");
}

// ---- Choice lists ----------------------------------------------------------------

void Contact_Head_Frame::Refresh_Product_Title_Relationship_Lists()
{
    Redraw_Product_List();
    Fill_Title_Combo();
    Fill_Relationship_Combo();
}

void Contact_Head_Frame::Redraw_Product_List()
{
    Refill_Choices(lstProduct, First_Column_Texts(Open_List_Recordset(
                                   "SELECT Products.Product FROM Products ORDER BY Products.Product")));
}

void Contact_Head_Frame::Product_Renamed(const QString& Old_Name, const QString& New_Name)
{
    Redraw_Product_List();
    if (lstProduct->currentText() != Old_Name)
        return;
    const bool blocked = lstProduct->blockSignals(true);
    lstProduct->setEditText(New_Name);
    lstProduct->blockSignals(blocked);
}

void Contact_Head_Frame::Fill_Title_Combo()
{
    Combo_Title->Set_Values(First_Column_Texts(Open_List_Recordset("SELECT Contact_Title FROM Titles ORDER BY rowid")));
}

void Contact_Head_Frame::Fill_Relationship_Combo()
{
    Combo_Relationship->Set_Values(
        First_Column_Texts(Open_List_Recordset("SELECT Relation_Data FROM Relationships ORDER BY rowid")));
}
