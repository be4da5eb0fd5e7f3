#include "Email_Composer_Frame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QVBoxLayout>

#include "Key_Toolbar.h"
#include "Named_Controls.h"

Email_Composer_Frame::Email_Composer_Frame(QWidget* parent)
    : QGroupBox("Email Composer", parent)
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
    txtFrameEmailOutMessage = Named(new QTextEdit, "txtFrameEmailOutMessage");
    txtFrameEmailOutMessage->setAcceptRichText(false);
    lstSendEmailTemplate = Choice_Box("lstSendEmailTemplate", true);
    lblSendEmail = Named(new QLabel("Template"), "lblSendEmail");
    lblSendEmail->setBuddy(lstSendEmailTemplate);
    ListEmailAttachments = Choice_Box("ListEmailAttachments", true);
    ToolEmailAttachmentActions = new Key_Toolbar("ToolEmailAttachmentActions");
    QAction* clip = ToolEmailAttachmentActions->Add_Button("Add", "", "Click to add attachment", "Clip");
    ToolEmailAttachmentActions->Add_Menu_Entry(clip, "Add", "Add");
    ToolEmailAttachmentActions->Add_Menu_Entry(clip, "Remove", "Remove");
    txtFrameEmailOutContactID = Hidden_Box("txtFrameEmailOutContactID", this);
    txtFrameEmailOutViewProduct = Hidden_Box("txtFrameEmailOutViewProduct", this);
    txtFrameEmailOutViewType = Hidden_Box("txtFrameEmailOutViewType", this);

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

    // Its commands are not built yet.
    ToolEmailComposer->Set_Buttons_Enabled(false);
    ToolEmailAttachmentActions->Set_Buttons_Enabled(false);
    connect(txtFrameEmailOutSubject, &QLineEdit::textChanged, this, [this] { modified_ = true; });
    connect(txtFrameEmailOutMessage, &QTextEdit::textChanged, this, [this] { modified_ = true; });
}
