#pragma once
// The unmatched page: received e-mails that matched no contact, one shown
// beside the list with its attached files; the commands on the shown e-mail
// (convert, reply, print, delete, junk), the reply composed in the display
// fields, and printing or deleting the whole list.

#include "List_Detail_Page.h"

class Pending_Edits;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QTextEdit;
class QTreeWidgetItem;

class Unmatched_Page : public List_Detail_Page {
    Q_OBJECT
public:
    explicit Unmatched_Page(Pending_Edits& edits, QWidget* parent = nullptr);
    List_View* List() const { return ListUnmatched; }

    void Fill_Unmatched_List();
    void Show_Unmatched_Email(const QString& Key);
    // Shows the row at the 1-based position (the last one when past the end),
    // or empties the display when the list is empty; the position follows.
    void Select_Unmatched_Item_At(int& Position);
    void Clear_Unmatched_Display();

    // A reply is being composed in the display fields.
    bool Replying() const { return replying_; }

    void Convert_Unmatched_Email_To_Contact();
    void Delete_Unmatched_Email();
    void Delete_All_Emails_From_Source();
    void Junk_Unmatched_Email();
    void Print_Unmatched_Email();
    void Reply_To_Unmatched_Email();

    void ListUnmatched_ItemClick(QTreeWidgetItem* item);
    void ListUnmatched_ColumnClick(int column);
    void ToolUnmatchedActions_ButtonClick(const QString& Key);
    void ToolUnmatchedActions_ButtonMenuClick(const QString& Key);
    void ToolUnmatchedAll_ButtonClick(const QString& Key);
    void ToolUnmatchedEmailing_ButtonClick(const QString& Key);
    void ToolManageEmaiAttachment_ButtonMenuClick(const QString& Key);

protected:
    void Show_Entry(const QString& Key) override;
    void Show_No_Entry() override;

private:
    List_View* ListUnmatched = nullptr;
    Key_Toolbar* ToolUnmatchedActions = nullptr;
    Key_Toolbar* ToolUnmatchedAll = nullptr;
    Key_Toolbar* ToolUnmatchedEmailing = nullptr;
    QGroupBox* frameUnmatchedDisplay = nullptr;
    QLineEdit* UnmatchedName = nullptr;
    QLineEdit* UnmatchedEmail = nullptr;
    QLineEdit* UnmatchedDate = nullptr;
    QLineEdit* UnmatchedSubject = nullptr;
    QTextEdit* UnmatchedMessage = nullptr;
    QListWidget* ListUnmatchedAttachments = nullptr;
    Key_Toolbar* ToolManageEmaiAttachment = nullptr;
    QLineEdit* txtUnmatchedUniqueID = nullptr;       // hidden
    QLineEdit* txtUnmatchedUniqueDate = nullptr;     // hidden
    QLineEdit* txtUnmatched_ID = nullptr;            // hidden

    // The shown e-mail's list key, made from the hidden fields.
    QString Shown_Key() const;
    // Leaves the reply: the fields locked again, the sending toolbar hidden.
    void End_Reply();

    Pending_Edits& edits_;
    bool replying_ = false;
};
