#include "Email_Composer_Frame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTextEdit>
#include <QVBoxLayout>

#include "Attachment_Pick_List.h"
#include "Clock.h"
#include "Database.h"
#include "Dialogs.h"
#include "Email_Templates.h"
#include "Field_Rules.h"
#include "Frame_Command.h"
#include "GlobalVariables.h"
#include "Key_Toolbar.h"
#include "Named_Controls.h"
#include "Outbox_Posting.h"
#include "Pending_Edits.h"
#include "Reply_Quote.h"
#include "Settings.h"
#include "Shared_Routines.h"
#include "Spell_Check.h"

namespace G = GlobalVariables;

namespace {

const char* const No_Address_Message = "There must a valid e-mail on the e-mail fields";

// The addressee: the contact's names, or the default name without a first name.
QString Recipient_Name(const QSqlRecord& contact)
{
    const QString first = Null_To_Empty(contact.value("FirstName"));
    if (first.isEmpty())
        return Current_Settings().DefaultContactName;
    return first + " " + Null_To_Empty(contact.value("LastName"));
}

} // namespace

Email_Composer_Frame::Email_Composer_Frame(Pending_Edits& edits, QWidget* parent)
    : QGroupBox("Email Composer", parent)
    , edits_(edits)
{
    setObjectName("frameEmailOutView");
    auto* layout = new QVBoxLayout(this);
    ToolEmailComposer = new Key_Toolbar("ToolEmailComposer");
    ToolEmailComposer->Add_Button("SendEmail", "Send", "Send ", "SendEmail");
    ToolEmailComposer->Add_Button("Spell", "Spell", "Spell Check this text", "FieldsNotSetup");
    ToolEmailComposer->Add_Button("Cancel", "Cancel", "Cancel this operation", "DeleteCross");
    layout->addWidget(ToolEmailComposer);

    auto* form = new QGridLayout;
    txtFrameEmailOutName = Text_Box("txtFrameEmailOutName");
    txtFrameEmailOutAddress = Text_Box("txtFrameEmailOutAddress");
    txtFrameEmailOutSubject = Text_Box("txtFrameEmailOutSubject");
    Take_Any_Length({txtFrameEmailOutName, txtFrameEmailOutAddress, txtFrameEmailOutSubject});
    txtFrameEmailOutMessage = Named(new QTextEdit, "txtFrameEmailOutMessage");
    txtFrameEmailOutMessage->setAcceptRichText(false);
    txtFrameEmailOutMessage->setTabChangesFocus(true);
    Set_Least_Lines(txtFrameEmailOutMessage, 3);
    lstSendEmailTemplate = Choice_Box("lstSendEmailTemplate", false);
    lblSendEmail = Named(new QLabel("&Template"), "lblSendEmail");
    lblSendEmail->setBuddy(lstSendEmailTemplate);
    Email_Attachments = new Attachment_Pick_List(
        {"ListEmailAttachments", "ToolEmailAttachmentActions", "Click to add attachment", "Add", "Remove", true, QString()});
    ListEmailAttachments = Email_Attachments->Box();
    ToolEmailAttachmentActions = Email_Attachments->Toolbar();
    txtFrameEmailOutContactID = Hidden_Box("txtFrameEmailOutContactID", this);
    txtFrameEmailOutViewProduct = Hidden_Box("txtFrameEmailOutViewProduct", this);
    txtFrameEmailOutViewType = Hidden_Box("txtFrameEmailOutViewType", this);

    form->addWidget(Caption("&Name:", txtFrameEmailOutName), 0, 0);
    form->addWidget(txtFrameEmailOutName, 0, 1);
    form->addWidget(lblSendEmail, 0, 2);
    form->addWidget(lstSendEmailTemplate, 0, 3);
    form->addWidget(Caption("A&ddress:", txtFrameEmailOutAddress), 1, 0);
    form->addWidget(txtFrameEmailOutAddress, 1, 1);
    form->addWidget(Caption("Attachments:", ListEmailAttachments), 1, 2);
    form->addWidget(Email_Attachments, 1, 3);
    form->addWidget(Caption("Su&bject:", txtFrameEmailOutSubject), 2, 0);
    form->addWidget(txtFrameEmailOutSubject, 2, 1, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    layout->addLayout(form);
    layout->addWidget(txtFrameEmailOutMessage, 1);

    connect(txtFrameEmailOutSubject, &QLineEdit::textChanged, this, [this] { modified_ = true; });
    connect(txtFrameEmailOutMessage, &QTextEdit::textChanged, this, [this] { modified_ = true; });
    // Its command while the frame is shown, the others while it holds the keyboard.
    Key_Toolbar::Give_Shortcut(ToolEmailComposer->Button("SendEmail"), QKeySequence(Qt::CTRL | Qt::Key_Return), this,
                               Qt::WindowShortcut);
    Key_Toolbar::Give_Shortcut(ToolEmailComposer->Button("Spell"), QKeySequence(Qt::Key_F7), this);
    Key_Toolbar::Give_Shortcut(ToolEmailComposer->Button("Cancel"), QKeySequence(Qt::Key_Escape), this);
    connect(ToolEmailComposer, &Key_Toolbar::Button_Click, this, &Email_Composer_Frame::ToolEmailComposer_ButtonClick);
    connect(lstSendEmailTemplate, &QComboBox::activated, this, &Email_Composer_Frame::lstSendEmailTemplate_Click);
}

// ---- Opening ----------------------------------------------------------------------

bool Email_Composer_Frame::Compose_Email_To_Contact(qint64 ID)
{
    const QSqlRecord contact = Read_Contact(ID);
    const QString address = Null_To_Empty(contact.value("Email"));
    if (address.isEmpty()) {
        Message_Box(No_Address_Message);
        return false;
    }
    txtFrameEmailOutAddress->setText(address);
    txtFrameEmailOutName->setText(Recipient_Name(contact));
    Fill_Send_Email_Template_List();
    setTitle("Email Composer");
    txtFrameEmailOutMessage->clear();
    txtFrameEmailOutSubject->clear();
    txtFrameEmailOutContactID->setText(QString::number(ID));
    Email_Attachments->Clear();
    modified_ = false;
    return true;
}

void Email_Composer_Frame::Open_Reply(qint64 Contact_ID, const QString& Subject, const QString& Message)
{
    const QSqlRecord contact = Read_Contact(Contact_ID);
    Email_Attachments->Clear();
    txtFrameEmailOutMessage->setPlainText(Reply_Quote(Message));
    txtFrameEmailOutSubject->setText("Re: " + Subject);
    txtFrameEmailOutAddress->setText(Null_To_Empty(contact.value("Email")));
    txtFrameEmailOutName->setText(Recipient_Name(contact));
    setTitle("Email Composer");
    for (QLineEdit* box : {txtFrameEmailOutSubject, txtFrameEmailOutAddress, txtFrameEmailOutName})
        box->setReadOnly(false);
    txtFrameEmailOutMessage->setReadOnly(false);
    lstSendEmailTemplate->show();
    lblSendEmail->show();
    Fill_Send_Email_Template_List();
    txtFrameEmailOutContactID->setText(QString::number(Contact_ID));
    modified_ = false;
}

void Email_Composer_Frame::Fill_Send_Email_Template_List()
{
    Fill_Template_Picker(lstSendEmailTemplate);
}

// ---- Commands ---------------------------------------------------------------------

void Email_Composer_Frame::ToolEmailComposer_ButtonClick(const QString& Key)
{
    Run_Frame_Command(*ToolEmailComposer, edits_, "Tool Email Composer", [this, &Key] {
        if (Key == "SendEmail") {
            Send_Email();
        } else if (Key == "Spell") {
            Spell_Check_Message();
        } else if (Key == "Cancel") {
            Empty_Boxes();
            Q_EMIT Closed(txtFrameEmailOutContactID->text().toLongLong());
        }
    });
}

bool Email_Composer_Frame::Send_Email()
{
    const QString address = txtFrameEmailOutAddress->text().trimmed();
    if (address.isEmpty()) {
        // It could never be sent; it would wait in the outbox for ever.
        Message_Box(No_Address_Message);
        txtFrameEmailOutAddress->setFocus();
        return false;
    }
    const bool posted = Send_To_Outbox(
        txtFrameEmailOutContactID->text().toLongLong(), address, txtFrameEmailOutName->text(),
        txtFrameEmailOutSubject->text(), txtFrameEmailOutMessage->toPlainText(), Current_Settings().DefaultEmailAddress,
        Current_Settings().DefaultEmailName, txtFrameEmailOutViewProduct->text(), 0, "Email Out", Now(), 0, Email_Attachments->Paths());
    // Not posted: the message and its files stay for another try.
    if (!posted)
        return false;
    Empty_Boxes();
    Q_EMIT Closed(txtFrameEmailOutContactID->text().toLongLong());
    return true;
}

void Email_Composer_Frame::Spell_Check_Message()
{
    const QString text = txtFrameEmailOutMessage->toPlainText();
    const QString corrected = Spell_Check(text);
    // A text of a few characters back is no corrected message.
    if (corrected.size() > 5 && corrected != text)
        txtFrameEmailOutMessage->setPlainText(corrected);
    txtFrameEmailOutMessage->update();
}

void Email_Composer_Frame::Empty_Boxes()
{
    for (QLineEdit* box : {txtFrameEmailOutAddress, txtFrameEmailOutName, txtFrameEmailOutSubject})
        box->clear();
    txtFrameEmailOutMessage->clear();
    modified_ = false;
}

// ---- The template picker -------------------------------------------------------------

void Email_Composer_Frame::lstSendEmailTemplate_Click()
{
    try {
        Email_Template chosen;
        if (!Read_Chosen_Template(lstSendEmailTemplate, &chosen))
            return;
        const QSqlRecord contact = Read_Contact(txtFrameEmailOutContactID->text().toLongLong());
        if (contact.isEmpty()) {
            Message_Box("The contact of this e-mail no longer exists; the template cannot be filled in.");
            return;
        }
        // The names as the recipient box holds them, which the user may have changed.
        QString recipient = txtFrameEmailOutName->text();
        const QString first = Get_First_Word(recipient);
        const QString last = Get_After_First_Word(recipient);

        txtFrameEmailOutSubject->setText(
            Merge_Template_Vehicle(Merge_Template_Contact(chosen.Subject, contact, first, last), contact));
        const QString generated =
            Merge_Template_Contact(Merge_Template_Vehicle(chosen.Message, contact), contact, first, last);
        const QString current = txtFrameEmailOutMessage->toPlainText();
        if (current.isEmpty()) {
            txtFrameEmailOutMessage->setPlainText(generated);
            return;
        }
        switch (Message_Box("Do you want to append the current message in your Message Box to the generated template?",
                            vbYesNoCancel, "Message Template Creation")) {
        case vbYes:
            txtFrameEmailOutMessage->setPlainText(generated + "\n\n" + current);
            break;
        case vbNo:
            txtFrameEmailOutMessage->setPlainText(generated);
            break;
        default:
            break;
        }
    } catch (const Program_Error& e) {
        Message_Box("Error on Template: " + e.Description());
    }
}

void Email_Composer_Frame::Start_Typing()
{
    QWidget* box = txtFrameEmailOutSubject->text().isEmpty() ? static_cast<QWidget*>(txtFrameEmailOutSubject)
                                                             : txtFrameEmailOutMessage;
    box->setFocus();
}
