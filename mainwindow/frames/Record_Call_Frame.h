#pragma once
// The record frame in the detail area: an incoming or outgoing call or a
// custom event entered into the contact's history. Its commands are not built yet.

#include <QFrame>

class Key_Toolbar;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class Record_Call_Frame : public QFrame {
    Q_OBJECT
public:
    explicit Record_Call_Frame(QWidget* parent = nullptr);

private:
    QLabel* lblRecordCall_MainHeader = nullptr;
    QLineEdit* txtFrameRecordCall_Subject = nullptr;
    QPlainTextEdit* txtFrameRecordCall_Message = nullptr;
    QLabel* lblCustomEventLabel = nullptr;           // "Custom Event"
    QLineEdit* txtRecord_Custom_Event = nullptr;
    QComboBox* Combo_Record_Custom_Attachments = nullptr;
    Key_Toolbar* ToolCustomCreateAttachment = nullptr;
    QLabel* lblDueDate = nullptr;                    // "Due Date"
    QLineEdit* txtFrameRecordCall_Date_to_Be_Executed = nullptr;
    QLineEdit* txtFrameRecordCall_ContactID = nullptr;   // hidden
    QLineEdit* txtFrameRecordCall_Type = nullptr;        // hidden
    QLineEdit* txtFrameRecordCall_Timeline = nullptr;    // hidden
    QLineEdit* txtFrameRecordCall_Date_Sent = nullptr;   // hidden
    Key_Toolbar* ToolRecord = nullptr;
};
