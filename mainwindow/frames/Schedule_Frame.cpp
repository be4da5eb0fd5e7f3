#include "Schedule_Frame.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSqlRecord>
#include <QStyle>
#include <QVBoxLayout>

#include "Attachment_Pick_List.h"
#include "Clock.h"
#include "Database.h"
#include "Dialogs.h"
#include "Email_Templates.h"
#include "Frame_Command.h"
#include "GlobalVariables.h"
#include "Key_Toolbar.h"
#include "Named_Controls.h"
#include "Outbox_Posting.h"
#include "Pending_Edits.h"
#include "Settings.h"
#include "Shared_Routines.h"

namespace G = GlobalVariables;

namespace {

QSpinBox* Up_Down(const char* name, int minimum, int maximum, QLineEdit* buddy)
{
    auto* up_down = Named(new QSpinBox, name);
    up_down->setRange(minimum, maximum);
    up_down->setSingleStep(1);
    // Only the arrows show: the number stands in the box beside them.
    up_down->setFixedWidth(up_down->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    up_down->setFrame(false);
    up_down->setFocusPolicy(Qt::NoFocus);
    if (QLineEdit* number = up_down->findChild<QLineEdit*>())
        number->setStyleSheet("color: transparent; background: transparent; selection-color: transparent;");
    // The arrows step the number in the box beside them, from the number it shows.
    QObject::connect(up_down, &QSpinBox::valueChanged, buddy, [buddy](int value) {
        buddy->setText(QString::number(value).rightJustified(2, '0'));
    });
    QObject::connect(buddy, &QLineEdit::textChanged, up_down, [up_down](const QString& text) {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        if (ok && value >= up_down->minimum() && value <= up_down->maximum()) {
            const bool blocked = up_down->blockSignals(true);
            up_down->setValue(value);
            up_down->blockSignals(blocked);
        }
    });
    return up_down;
}

// A whole number of the range, written in digits only.
bool Whole_Number(const QString& text, int maximum, int* value)
{
    static const QRegularExpression digits("^\\d{1,4}$");
    const QString trimmed = text.trimmed();
    if (!digits.match(trimmed).hasMatch())
        return false;
    *value = trimmed.toInt();
    return *value <= maximum;
}

} // namespace

bool Schedule_Due_Date(const QDate& Day, const QString& Hour, const QString& Minutes, QDateTime* Due,
                       QString* Error)
{
    int hours = 0;
    int minutes = 0;
    if (!Whole_Number(Hour, 24, &hours)) {
        *Error = "The hour must be a whole number from 0 to 24.";
        return false;
    }
    if (!Whole_Number(Minutes, 60, &minutes)) {
        *Error = "The minutes must be a whole number from 0 to 60.";
        return false;
    }
    if (!Day.isValid()) {
        *Error = "Choose the day on the calendar.";
        return false;
    }
    *Due = QDateTime(Day, QTime(0, 0)).addSecs(qint64(hours * 60 + minutes) * 60);
    return true;
}

Schedule_Frame::Schedule_Frame(Pending_Edits& edits, QWidget* parent)
    : QGroupBox("Schedule", parent)
    , edits_(edits)
{
    setObjectName("frameSchedule");
    auto* layout = new QHBoxLayout(this);

    Calendar2 = Named(new QCalendarWidget, "Calendar2");
    Calendar2->setGridVisible(true);
    Calendar2->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    layout->addWidget(Calendar2, 0, Qt::AlignTop);
    // The time goes beside the command that takes it, not under the calendar:
    // the frame then fits a small screen.
    lblSchedule_Time = Named(new QLabel("hh       mm      # of Days Lead"), "lblSchedule_Time");
    auto* time = new QHBoxLayout;
    txtFrameSchedule_Hour = Text_Box("txtFrameSchedule_Hour");
    txtFrameSchedule_Minutes = Text_Box("txtFrameSchedule_Minutes");
    txtFrameSchedule_Lead = Text_Box("txtFrameSchedule_Lead");
    for (QLineEdit* box : {txtFrameSchedule_Hour, txtFrameSchedule_Minutes, txtFrameSchedule_Lead})
        box->setMaximumWidth(40);
    txtFrameSchedule_Hour->setToolTip("Hour of the day, 0 to 24");
    txtFrameSchedule_Minutes->setToolTip("Minutes, 0 to 60");
    UpDown4 = Up_Down("UpDown4", 0, 24, txtFrameSchedule_Hour);
    UpDown3 = Up_Down("UpDown3", 0, 60, txtFrameSchedule_Minutes);
    UpDown_Lead = Up_Down("UpDown_Lead", 0, 30, txtFrameSchedule_Lead);
    time->addWidget(txtFrameSchedule_Hour);
    time->addWidget(UpDown4);
    time->addWidget(txtFrameSchedule_Minutes);
    time->addWidget(UpDown3);
    time->addWidget(txtFrameSchedule_Lead);
    time->addWidget(UpDown_Lead);
    auto* time_with_hint = new QVBoxLayout;
    time_with_hint->setSpacing(0);
    time_with_hint->addWidget(lblSchedule_Time);
    time_with_hint->addLayout(time);

    auto* right = new QVBoxLayout;
    auto* form = new QGridLayout;
    Label_Use_Template = Named(new QLabel("Use &Template"), "Label_Use_Template");
    lstScheduleTemplates = Choice_Box("lstScheduleTemplates", false);
    Label_Use_Template->setBuddy(lstScheduleTemplates);
    txtFrameSchedule_Subject = Text_Box("txtFrameSchedule_Subject");
    Take_Any_Length({txtFrameSchedule_Subject});
    txtFrameSchedule_Message = Named(new QPlainTextEdit, "txtFrameSchedule_Message");
    txtFrameSchedule_Message->setTabChangesFocus(true);
    Set_Least_Lines(txtFrameSchedule_Message, 3);
    Schedule_Attachments = new Attachment_Pick_List({"ListScheduleAttachments", "ToolScheduleAttachment",
                                                     "Add/Remove Attachment (s)", "Add Attachment",
                                                     "Remove Attachment", false,
                                                     "Please select the attachment to remove!"});
    ListScheduleAttachments = Schedule_Attachments->Box();
    ToolScheduleAttachment = Schedule_Attachments->Toolbar();
    txtFrameSchedule_ContactID = Hidden_Box("txtFrameSchedule_ContactID", this);
    txtFrameSchedule_Type = Hidden_Box("txtFrameSchedule_Type", this);
    ToolSchedule = new Key_Toolbar("ToolSchedule");
    ToolSchedule->Add_Button("Schedule", "Schedule", "Schedule this event", "Time");
    ToolSchedule->Add_Button("Cancel", "Cancel", "Cancel this event", "DeleteCross");

    form->addWidget(Label_Use_Template, 0, 0);
    form->addWidget(lstScheduleTemplates, 0, 1);
    form->addWidget(Caption("Su&bject:", txtFrameSchedule_Subject), 1, 0);
    form->addWidget(txtFrameSchedule_Subject, 1, 1);
    form->addWidget(Caption("Attachments:", ListScheduleAttachments), 2, 0);
    form->addWidget(Schedule_Attachments, 2, 1);
    form->setColumnStretch(1, 1);
    right->addLayout(form);
    right->addWidget(txtFrameSchedule_Message, 1);
    auto* commands = new QHBoxLayout;
    commands->addWidget(Caption("Ti&me:", txtFrameSchedule_Hour), 0, Qt::AlignBottom);
    commands->addLayout(time_with_hint);
    commands->addStretch();
    commands->addWidget(ToolSchedule, 0, Qt::AlignBottom);
    right->addLayout(commands);
    layout->addLayout(right, 1);

    connect(Calendar2, &QCalendarWidget::selectionChanged, this,
            [this] { Calendar2_Click(Calendar2->selectedDate()); });
    // Its command while the frame is shown, the others while it holds the keyboard.
    Key_Toolbar::Give_Shortcut(ToolSchedule->Button("Schedule"), QKeySequence(Qt::CTRL | Qt::Key_Return), this,
                               Qt::WindowShortcut);
    Key_Toolbar::Give_Shortcut(ToolSchedule->Button("Cancel"), QKeySequence(Qt::Key_Escape), this);
    connect(ToolSchedule, &Key_Toolbar::Button_Click, this, &Schedule_Frame::ToolSchedule_ButtonClick);
    connect(lstScheduleTemplates, &QComboBox::activated, this, &Schedule_Frame::lstScheduleTemplates_Click);
}

// ---- Opening ----------------------------------------------------------------------

void Schedule_Frame::Open_For_Contact(qint64 ID, const QString& Type)
{
    const bool email = Type == "Email Out";
    txtFrameSchedule_Type->setText(Type);
    setTitle(email ? "Schedule Email" : Type == "To Do" ? "Schedule ToDo" : "Schedule Call");
    for (QWidget* control : std::initializer_list<QWidget*>{Label_Use_Template, lstScheduleTemplates,
                                                            Schedule_Attachments})
        control->setVisible(email);
    if (QLabel* caption = Caption_Of(this, ListScheduleAttachments))
        caption->setVisible(email);
    txtFrameSchedule_ContactID->setText(QString::number(ID));
    Setup_Schedule_Email(ID);
}

void Schedule_Frame::Open_For_Group(qint64 Shown_ID)
{
    txtFrameSchedule_Type->setText("APB");
    setTitle("Schedule APB for the Selected Group");
    for (QWidget* control : std::initializer_list<QWidget*>{Label_Use_Template, lstScheduleTemplates,
                                                            Schedule_Attachments})
        control->show();
    if (QLabel* caption = Caption_Of(this, ListScheduleAttachments))
        caption->show();
    Setup_Schedule_Email(Shown_ID);
}

void Schedule_Frame::Setup_Schedule_Email(qint64 ID)
{
    const QDateTime now = Now();
    Calendar2->setSelectedDate(now.date());
    schedule_calendar_date_ = now.date();
    txtFrameSchedule_Hour->setText(now.toString("hh"));
    txtFrameSchedule_Minutes->setText(now.toString("mm"));
    txtFrameSchedule_ContactID->setText(QString::number(ID));
    txtFrameSchedule_Message->clear();
    txtFrameSchedule_Subject->clear();
    lblSchedule_Time->setText("hh       mm");
    UpDown_Lead->hide();
    txtFrameSchedule_Lead->hide();
    txtFrameSchedule_Lead->setText("0");
    Fill_Schedule_Template_List();
}

void Schedule_Frame::Fill_Schedule_Template_List()
{
    Fill_Template_Picker(lstScheduleTemplates);
}

void Schedule_Frame::Calendar2_Click(const QDate& date)
{
    schedule_calendar_date_ = date;
}

// ---- Commands ---------------------------------------------------------------------

void Schedule_Frame::ToolSchedule_ButtonClick(const QString& Key)
{
    Run_Frame_Command(*ToolSchedule, edits_, "Tool Schedule", [this, &Key] {
        if (Key == "Schedule") {
            Schedule();
        } else if (Key == "Cancel") {
            txtFrameSchedule_Subject->clear();
            txtFrameSchedule_Message->clear();
            Schedule_Attachments->Clear_Shown_Text();
            Q_EMIT Closed(txtFrameSchedule_ContactID->text().toLongLong());
        }
    });
}

bool Schedule_Frame::Schedule()
{
    QDateTime due;
    QString error;
    if (!Schedule_Due_Date(schedule_calendar_date_, txtFrameSchedule_Hour->text(),
                           txtFrameSchedule_Minutes->text(), &due, &error)) {
        Message_Box("Error on Tool Schedule: " + error);
        QLineEdit* wrong = error.startsWith("The hour") ? txtFrameSchedule_Hour : txtFrameSchedule_Minutes;
        wrong->setFocus();
        wrong->selectAll();
        return false;
    }
    const QString type = txtFrameSchedule_Type->text();
    if (type == "APB") {
        const QString subject = txtFrameSchedule_Subject->text();
        const QString message = txtFrameSchedule_Message->toPlainText();
        bool posted = false;
        Q_EMIT Broadcast_Wanted(subject, message, due, Schedule_Attachments->Paths(), &posted);
        // Refused texts stay for another try; texts the user typed while it ran
        // (another schedule opened meanwhile) are not the ones to empty.
        if (posted && txtFrameSchedule_Type->text() == "APB" && txtFrameSchedule_Subject->text() == subject
            && txtFrameSchedule_Message->toPlainText() == message) {
            txtFrameSchedule_Subject->clear();
            txtFrameSchedule_Message->clear();
            Schedule_Attachments->Clear_Shown_Text();
        }
        return posted;
    }

    const qint64 ID = txtFrameSchedule_ContactID->text().toLongLong();
    const QSqlRecord contact = Read_Contact(ID);
    if (contact.isEmpty()) {
        Message_Box("Error on Tool Schedule: The contact no longer exists.");
        return false;
    }
    const QString address = Null_To_Empty(contact.value("Email"));
    const bool email = type == "Email Out";
    if (email && address.trimmed().isEmpty()) {
        // It could never be sent; it would wait in the outbox for ever.
        Message_Box("There must a valid e-mail on the e-mail fields");
        return false;
    }
    const QString first = Null_To_Empty(contact.value("FirstName"));
    const QString name = first.isEmpty() ? Current_Settings().DefaultContactName
                                         : first + " " + Null_To_Empty(contact.value("LastName"));
    // The files go with e-mails only: a call or a to-do sends nothing.
    const bool posted = Send_To_Outbox(ID, address, name, txtFrameSchedule_Subject->text(),
                                       txtFrameSchedule_Message->toPlainText(), Current_Settings().DefaultEmailAddress,
                                       Current_Settings().DefaultEmailName, "", 0, type, due, txtFrameSchedule_Lead->text().toInt(),
                                       email ? Schedule_Attachments->Paths() : QStringList());
    // Not posted: the texts stay for another try.
    if (!posted)
        return false;
    txtFrameSchedule_Subject->clear();
    txtFrameSchedule_Message->clear();
    Q_EMIT Closed(ID);
    return true;
}

// ---- The template picker -------------------------------------------------------------

void Schedule_Frame::lstScheduleTemplates_Click()
{
    try {
        Email_Template chosen;
        if (!Read_Chosen_Template(lstScheduleTemplates, &chosen))
            return;
        // A broadcast merges the texts for each contact of the group.
        if (txtFrameSchedule_Type->text() == "APB") {
            txtFrameSchedule_Subject->setText(chosen.Subject);
            txtFrameSchedule_Message->setPlainText(chosen.Message);
            return;
        }
        const QSqlRecord contact = Read_Contact(txtFrameSchedule_ContactID->text().toLongLong());
        if (contact.isEmpty()) {
            Message_Box("The contact no longer exists; the template cannot be filled in.");
            return;
        }
        const QVariant first = contact.value("FirstName");
        const QVariant last = contact.value("LastName");
        txtFrameSchedule_Subject->setText(
            Merge_Template_Vehicle(Merge_Template_Contact(chosen.Subject, contact, first, last), contact));
        txtFrameSchedule_Message->setPlainText(
            Merge_Template_Vehicle(Merge_Template_Contact(chosen.Message, contact, first, last), contact));
    } catch (const Program_Error& e) {
        Message_Box("Error on Template: " + e.Description());
    }
}

void Schedule_Frame::Start_Typing()
{
    txtFrameSchedule_Subject->setFocus();
}
