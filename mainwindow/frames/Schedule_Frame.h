#pragma once
// The schedule frame in the detail area: an e-mail, a to-do or a call put in
// the outbox for the shown contact for a chosen day and time, or an e-mail for
// every contact of the group (a broadcast, "APB").

#include <QDate>
#include <QDateTime>
#include <QGroupBox>

class Attachment_Pick_List;
class Key_Toolbar;
class Pending_Edits;
class QCalendarWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

// The due moment: the day at midnight plus the hours and minutes of the two
// boxes (24 hours or 60 minutes carry into the next day or hour). The boxes
// take whole numbers only, hours 0 to 24 and minutes 0 to 60; false (with
// the reason in *Error) for anything else.
bool Schedule_Due_Date(const QDate& Day, const QString& Hour, const QString& Minutes, QDateTime* Due,
                       QString* Error);

class Schedule_Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Schedule_Frame(Pending_Edits& edits, QWidget* parent = nullptr);

    // Opens the frame for the contact, laid out for the outbox type: "Email
    // Out" (with templates and files), "To Do" or "Call Out". Database
    // failures are thrown.
    void Open_For_Contact(qint64 ID, const QString& Type);
    // Opens the frame for a broadcast ("APB") to every contact of the group,
    // with templates and files; Cancel goes back to the shown contact (0: none).
    void Open_For_Group(qint64 Shown_ID);
    // Today and the hour and minute of now, empty boxes, the template list filled.
    void Setup_Schedule_Email(qint64 ID);
    void Fill_Schedule_Template_List();
    // The day last chosen on the calendar.
    QDate Schedule_Calendar_Date() const { return schedule_calendar_date_; }

    void ToolSchedule_ButtonClick(const QString& Key);
    void lstScheduleTemplates_Click();

    // The keyboard goes to the box the user writes in first.
    void Start_Typing();

Q_SIGNALS:
    // Scheduled or cancelled: the contact is to be shown again.
    void Closed(qint64 Contact_ID);
    // A broadcast to the group was asked for, with the frame's texts and files;
    // the receiver sets *Posted once it ran (a No or a refusal does not).
    void Broadcast_Wanted(const QString& Subject, const QString& Message, const QDateTime& Due,
                          const QStringList& Attachments, bool* Posted);

private:
    bool Schedule();
    void Calendar2_Click(const QDate& date);

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
    Attachment_Pick_List* Schedule_Attachments = nullptr;
    QComboBox* ListScheduleAttachments = nullptr;    // its box
    Key_Toolbar* ToolScheduleAttachment = nullptr;   // its toolbar
    QLineEdit* txtFrameSchedule_ContactID = nullptr; // hidden
    QLineEdit* txtFrameSchedule_Type = nullptr;      // hidden
    Key_Toolbar* ToolSchedule = nullptr;

    Pending_Edits& edits_;
    QDate schedule_calendar_date_;
};
