#include "Record_Call_Frame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "Key_Toolbar.h"
#include "Named_Controls.h"

Record_Call_Frame::Record_Call_Frame(QWidget* parent)
    : QFrame(parent)
{
    setObjectName("frameRecordCall");
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    lblRecordCall_MainHeader = Named(new QLabel("Record Outgoing Call"), "lblRecordCall_MainHeader");
    QFont heading = lblRecordCall_MainHeader->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    lblRecordCall_MainHeader->setFont(heading);
    layout->addWidget(lblRecordCall_MainHeader);

    auto* form = new QGridLayout;
    lblCustomEventLabel = Named(new QLabel("Custom Event"), "lblCustomEventLabel");
    txtRecord_Custom_Event = Text_Box("txtRecord_Custom_Event");
    lblCustomEventLabel->setBuddy(txtRecord_Custom_Event);
    txtFrameRecordCall_Subject = Text_Box("txtFrameRecordCall_Subject");
    lblDueDate = Named(new QLabel("Due Date"), "lblDueDate");
    txtFrameRecordCall_Date_to_Be_Executed = Text_Box("txtFrameRecordCall_Date_to_Be_Executed");
    lblDueDate->setBuddy(txtFrameRecordCall_Date_to_Be_Executed);
    Combo_Record_Custom_Attachments = Choice_Box("Combo_Record_Custom_Attachments", false);
    ToolCustomCreateAttachment = new Key_Toolbar("ToolCustomCreateAttachment");
    QAction* clip = ToolCustomCreateAttachment->Add_Button("Add", "", "Add/Remove Attachment (s)", "Clip");
    ToolCustomCreateAttachment->Add_Menu_Entry(clip, "Add", "Add Attachment");
    ToolCustomCreateAttachment->Add_Menu_Entry(clip, "Remove", "Remove Attachment");
    txtFrameRecordCall_Message = Named(new QPlainTextEdit, "txtFrameRecordCall_Message");
    txtFrameRecordCall_Message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtFrameRecordCall_ContactID = Hidden_Box("txtFrameRecordCall_ContactID", this);
    txtFrameRecordCall_Type = Hidden_Box("txtFrameRecordCall_Type", this);
    txtFrameRecordCall_Timeline = Hidden_Box("txtFrameRecordCall_Timeline", this);
    txtFrameRecordCall_Date_Sent = Hidden_Box("txtFrameRecordCall_Date_Sent", this);
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

    // Its commands are not built yet.
    ToolCustomCreateAttachment->Set_Buttons_Enabled(false);
    ToolRecord->Set_Buttons_Enabled(false);
}
