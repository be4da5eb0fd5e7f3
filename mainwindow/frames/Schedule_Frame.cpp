#include "Schedule_Frame.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "Key_Toolbar.h"
#include "Named_Controls.h"

namespace {

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

Schedule_Frame::Schedule_Frame(QWidget* parent)
    : QGroupBox("Schedule", parent)
{
    setObjectName("frameSchedule");
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    Calendar2 = Named(new QCalendarWidget, "Calendar2");
    Calendar2->setGridVisible(true);
    Calendar2->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    left->addWidget(Calendar2);
    lblSchedule_Time = Named(new QLabel("hh       mm      # of Days Lead"), "lblSchedule_Time");
    left->addWidget(lblSchedule_Time);
    auto* time = new QHBoxLayout;
    txtFrameSchedule_Hour = Text_Box("txtFrameSchedule_Hour");
    txtFrameSchedule_Minutes = Text_Box("txtFrameSchedule_Minutes");
    txtFrameSchedule_Lead = Text_Box("txtFrameSchedule_Lead");
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
    lstScheduleTemplates = Choice_Box("lstScheduleTemplates", false);
    txtFrameSchedule_Subject = Text_Box("txtFrameSchedule_Subject");
    txtFrameSchedule_Message = Named(new QPlainTextEdit, "txtFrameSchedule_Message");
    ListScheduleAttachments = Choice_Box("ListScheduleAttachments", false);
    ToolScheduleAttachment = new Key_Toolbar("ToolScheduleAttachment");
    QAction* clip = ToolScheduleAttachment->Add_Button("Add", "", "Add/Remove Attachment (s)", "Clip");
    ToolScheduleAttachment->Add_Menu_Entry(clip, "Add", "Add Attachment");
    ToolScheduleAttachment->Add_Menu_Entry(clip, "Remove", "Remove Attachment");
    txtFrameSchedule_ContactID = Hidden_Box("txtFrameSchedule_ContactID", this);
    txtFrameSchedule_Type = Hidden_Box("txtFrameSchedule_Type", this);
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

    // Its commands are not built yet.
    ToolScheduleAttachment->Set_Buttons_Enabled(false);
    ToolSchedule->Set_Buttons_Enabled(false);
}
