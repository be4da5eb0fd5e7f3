#pragma once
// The outbox page: the e-mails waiting to go out, one shown beside the list in
// an editor, with its delete and attachment commands, deleting the whole list
// and sending it through the mail client.

#include "List_Detail_Page.h"

class Attachment_Pick_List;
class Pending_Edits;
class QComboBox;
class QLabel;
class QLineEdit;
class QTextEdit;
class QTreeWidgetItem;

class Outbox_Page : public List_Detail_Page {
    Q_OBJECT
public:
    explicit Outbox_Page(Pending_Edits& edits, QWidget* parent = nullptr);
    ~Outbox_Page() override;
    List_View* List() const { return ListOutbox; }

    // The entry in the editor was edited and not stored yet.
    bool Modified() const { return modified_; }
    // Stores a pending edit; false (after the message) when it could not be
    // stored, the edits then stay in the editor.
    bool Save() { return !modified_ || Save_Outbox_Email(); }

    void Fill_Outbox_List();
    void Display_Outgoing_Email(const QString& Key);
    // Shows the row at the 1-based position (the last one when past the end),
    // or empties the editor when the list is empty; the position follows.
    void Select_Outbox_Item_At(int& Position);
    void Clear_Outbox_Editor();
    // Writes the edited entry and clears its mark; false (after the message)
    // when it could not be stored.
    bool Save_Outbox_Email();
    // The entry has left the outbox (sent): the editor forgets it when it shows it.
    void Outbox_Entry_Gone(qint64 Outbox_ID);

    void ListOutbox_ItemClick(QTreeWidgetItem* item);
    void ListOutbox_ColumnClick(int column);
    void ToolOutbox_ButtonClick(const QString& Key);
    void ToolOutboxAll_ButtonClick(const QString& Key);
    void ToolOutboxAttachmentActions_ButtonMenuClick(const QString& Key);
    void Send_Outbox_Through_Mail_Client();

protected:
    void Show_Entry(const QString& Key) override;
    void Show_No_Entry() override;

private:
    // The editor takes typing only while it shows an entry, and each command
    // only while it has something to act on.
    void Enable_Commands();

    List_View* ListOutbox = nullptr;
    Key_Toolbar* ToolOutbox = nullptr;
    Key_Toolbar* ToolOutboxAll = nullptr;
    QLabel* lblOutboxFields = nullptr;
    QLineEdit* txtFrameOutbox_Name = nullptr;
    QLineEdit* txtFrameOutbox_Email = nullptr;
    QLineEdit* txtFrameOutbox_Subject = nullptr;
    QTextEdit* txtFrameOutbox_Message = nullptr;
    QLineEdit* txtFrameOutbox_Product = nullptr;
    QLineEdit* txtFrameOutbox_Date_Due = nullptr;
    Attachment_Pick_List* Outbox_Attachments = nullptr;
    QComboBox* List_Outbox_Attachments = nullptr;        // its box
    Key_Toolbar* ToolOutboxAttachmentActions = nullptr;  // its toolbar
    QLineEdit* txtFrameOutbox_ID = nullptr;          // hidden
    QLineEdit* txtFrameOutboxDateSent = nullptr;     // hidden

    Pending_Edits& edits_;
    QString Outbox_Shown_Key;   // list key of the entry in the editor
    bool modified_ = false;
};
