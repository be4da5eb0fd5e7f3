#pragma once
// The e-mail composer in the detail area: a message to the shown contact,
// written now (from a template, or as a reply to one of its events) and put
// into the outbox due at once.

#include <QGroupBox>

class Attachment_Pick_List;
class Key_Toolbar;
class Pending_Edits;
class QComboBox;
class QLabel;
class QLineEdit;
class QTextEdit;

class Email_Composer_Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Email_Composer_Frame(Pending_Edits& edits, QWidget* parent = nullptr);
    // The subject or the message was edited. A composed message is never
    // saved by itself: nothing stores it on leaving.
    bool Modified() const { return modified_; }

    // Opens the composer for the contact; false (after the message, the frame
    // left as it was) when the contact has no e-mail address. Database failures
    // are thrown.
    bool Compose_Email_To_Contact(qint64 ID);
    // Opens the composer with a reply to an event of the contact: "Re: " and
    // the subject, the message quoted. Database failures are thrown.
    void Open_Reply(qint64 Contact_ID, const QString& Subject, const QString& Message);
    void Fill_Send_Email_Template_List();

    void ToolEmailComposer_ButtonClick(const QString& Key);
    void lstSendEmailTemplate_Click();

    // The keyboard goes to the box the user writes in first.
    void Start_Typing();

Q_SIGNALS:
    // Sent or cancelled: the contact is to be shown again (0: no contact).
    void Closed(qint64 Contact_ID);

private:
    bool Send_Email();
    void Spell_Check_Message();
    void Empty_Boxes();

    QLineEdit* txtFrameEmailOutName = nullptr;
    QLineEdit* txtFrameEmailOutAddress = nullptr;
    QLineEdit* txtFrameEmailOutSubject = nullptr;
    QTextEdit* txtFrameEmailOutMessage = nullptr;
    QLabel* lblSendEmail = nullptr;                  // "Template"
    QComboBox* lstSendEmailTemplate = nullptr;
    Attachment_Pick_List* Email_Attachments = nullptr;
    QComboBox* ListEmailAttachments = nullptr;       // its box
    Key_Toolbar* ToolEmailAttachmentActions = nullptr;   // its toolbar
    QLineEdit* txtFrameEmailOutContactID = nullptr;  // hidden
    QLineEdit* txtFrameEmailOutViewProduct = nullptr;    // hidden, never filled: the product posted is empty
    QLineEdit* txtFrameEmailOutViewType = nullptr;   // hidden
    Key_Toolbar* ToolEmailComposer = nullptr;

    Pending_Edits& edits_;
    bool modified_ = false;
};
