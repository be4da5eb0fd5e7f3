#pragma once
// The event reader in the detail area: one event of the contact's history with
// its attached files. The event is printed, replied to or deleted from here;
// a file is saved as a copy or deleted.

#include <QGroupBox>

class Key_Toolbar;
class Pending_Edits;
class QComboBox;
class QLabel;
class QLineEdit;
class QTextEdit;

class Event_Reader_Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Event_Reader_Frame(Pending_Edits& edits, QWidget* parent = nullptr);

    // Empties the reader, then shows the event of the row key.
    void Show_Event(const QString& Key);
    // Shows the event of a row key, marks it read, lists its attachments.
    void Display_Event_History(const QString& Key);
    // Empties the date, type, subject and message (the event deleted).
    void Clear_Event();

    void ToolEventActions_ButtonClick(const QString& Key);
    void ToolEventAttachmentActions_ButtonMenuClick(const QString& Key);

Q_SIGNALS:
    // The event of the row key is shown and stored as read.
    void Event_Read(const QString& Key);
    // The shown event is to be answered in the composer.
    void Reply_Wanted(qint64 Contact_ID, const QString& Subject, const QString& Message);
    // The event of the row key was deleted.
    void Event_Deleted(const QString& Key);

private:
    void ListEventAttachments_DblClick();
    void Save_Event_Attachment();
    void Reply_To_Event_Email();
    void Delete_Event();
    void Delete_Event_Attachment();
    // Which of the files of one name the selected entry stands for.
    int Selected_Occurrence() const;

    QLineEdit* txtFrameEvent_Date = nullptr;
    QLineEdit* txtFrameEvent_Type = nullptr;
    QLineEdit* txtFrameEvent_Subject = nullptr;
    QTextEdit* txtFrameEvent_Message = nullptr;
    QComboBox* ListEventAttachments = nullptr;
    QLabel* ListEventAttachments_Caption = nullptr;
    Key_Toolbar* ToolEventAttachmentActions = nullptr;
    Key_Toolbar* ToolEventActions = nullptr;
    QLineEdit* txtEventID = nullptr;                 // hidden
    QLineEdit* txtEventContactID = nullptr;          // hidden
    QLineEdit* txtEventUnique_ID = nullptr;          // hidden

    Pending_Edits& edits_;
};
