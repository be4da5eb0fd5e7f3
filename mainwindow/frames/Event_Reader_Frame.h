#pragma once
// The event reader in the detail area: one event of the contact's history with
// its attached files, which the user can save copies of.

#include <QGroupBox>

class Key_Toolbar;
class QComboBox;
class QLabel;
class QLineEdit;
class QTextEdit;

class Event_Reader_Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Event_Reader_Frame(QWidget* parent = nullptr);

    // Empties the reader, then shows the event of the row key.
    void Show_Event(const QString& Key);
    // Shows the event of a row key, marks it read, lists its attachments.
    void Display_Event_History(const QString& Key);

Q_SIGNALS:
    // The event of the row key is shown and stored as read.
    void Event_Read(const QString& Key);

private:
    void ListEventAttachments_DblClick();
    void Save_Event_Attachment();

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
};
