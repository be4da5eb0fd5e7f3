#pragma once
// The record frame in the detail area: an incoming or outgoing call or a
// custom event entered into the contact's history at once, or a call or to-do
// of the to-do list recorded as done.

#include <QDateTime>
#include <QFrame>

class Attachment_Pick_List;
class Key_Toolbar;
class Pending_Edits;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class Record_Call_Frame : public QFrame {
    Q_OBJECT
public:
    explicit Record_Call_Frame(Pending_Edits& edits, QWidget* parent = nullptr);

    void Setup_Record_Outgoing_Call(qint64 ID);
    void Setup_Record_Incoming_Call(qint64 ID);
    void Setup_Custom_Event(qint64 ID);
    // Fills the frame from the outbox entry of a to-do row ("Call Out" or "To
    // Do"); false when the entry is no longer in the outbox. Database failures
    // are thrown.
    bool Show_ToDo_Entry(const QString& Key, const QString& Type);

    void ToolRecord_ButtonClick(const QString& Key);
    // Adds the event with its files; false when nothing was added.
    bool Record_Event_From_Frame();

    // The keyboard goes to the box the user writes in first.
    void Start_Typing();

Q_SIGNALS:
    // The event of the row key was added to the history, read.
    void Event_Recorded(const QString& Key);
    // A new call or custom event was recorded: the contact's details are to be shown.
    void Recorded();
    // The to-do entry shown was recorded: it is done and leaves the outbox.
    void ToDo_Entry_Recorded(qint64 Contact_ID, const QDateTime& Date_Sent_To_Outbox);
    // Cancelled: the contact is to be shown again.
    void Cancelled(qint64 Contact_ID);

private:
    void Open_New_Event(qint64 ID, const QString& Type, const QString& Header, bool Custom);
    void Show_Custom_Controls(bool shown);
    void Show_Due_Date(bool shown);

    QLabel* lblRecordCall_MainHeader = nullptr;
    QLineEdit* txtFrameRecordCall_Subject = nullptr;
    QPlainTextEdit* txtFrameRecordCall_Message = nullptr;
    QLabel* lblCustomEventLabel = nullptr;           // "Custom Event"
    QLineEdit* txtRecord_Custom_Event = nullptr;
    Attachment_Pick_List* Custom_Attachments = nullptr;
    QComboBox* Combo_Record_Custom_Attachments = nullptr;    // its box
    Key_Toolbar* ToolCustomCreateAttachment = nullptr;       // its toolbar
    QLabel* lblDueDate = nullptr;                    // "Due Date"
    QLineEdit* txtFrameRecordCall_Date_to_Be_Executed = nullptr;
    QLineEdit* txtFrameRecordCall_ContactID = nullptr;   // hidden
    QLineEdit* txtFrameRecordCall_Type = nullptr;        // hidden
    QLineEdit* txtFrameRecordCall_Timeline = nullptr;    // hidden
    QLineEdit* txtFrameRecordCall_Date_Sent = nullptr;   // hidden
    Key_Toolbar* ToolRecord = nullptr;

    Pending_Edits& edits_;
};
