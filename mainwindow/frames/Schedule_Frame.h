#pragma once
// The schedule frame in the detail area: an e-mail, a to-do or a call put in
// the outbox for a chosen day and time. Its commands are not built yet.

#include <QGroupBox>

class Key_Toolbar;
class QCalendarWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

class Schedule_Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Schedule_Frame(QWidget* parent = nullptr);

private:
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
    QComboBox* ListScheduleAttachments = nullptr;
    Key_Toolbar* ToolScheduleAttachment = nullptr;
    QLineEdit* txtFrameSchedule_ContactID = nullptr; // hidden
    QLineEdit* txtFrameSchedule_Type = nullptr;      // hidden
    Key_Toolbar* ToolSchedule = nullptr;
};
