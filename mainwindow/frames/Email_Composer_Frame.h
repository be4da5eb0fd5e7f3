#pragma once
// The e-mail composer in the detail area: a message to the shown contact,
// written now. Its commands are not built yet.

#include <QGroupBox>

class Key_Toolbar;
class QComboBox;
class QLabel;
class QLineEdit;
class QTextEdit;

class Email_Composer_Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Email_Composer_Frame(QWidget* parent = nullptr);
    // The subject or the message was edited. A composed message is never
    // saved by itself: nothing stores it on leaving.
    bool Modified() const { return modified_; }

private:
    QLineEdit* txtFrameEmailOutName = nullptr;
    QLineEdit* txtFrameEmailOutAddress = nullptr;
    QLineEdit* txtFrameEmailOutSubject = nullptr;
    QTextEdit* txtFrameEmailOutMessage = nullptr;
    QLabel* lblSendEmail = nullptr;                  // "Template"
    QComboBox* lstSendEmailTemplate = nullptr;
    QComboBox* ListEmailAttachments = nullptr;
    QLineEdit* txtFrameEmailOutContactID = nullptr;  // hidden
    QLineEdit* txtFrameEmailOutViewProduct = nullptr;    // hidden
    QLineEdit* txtFrameEmailOutViewType = nullptr;   // hidden
    Key_Toolbar* ToolEmailComposer = nullptr;
    Key_Toolbar* ToolEmailAttachmentActions = nullptr;

    bool modified_ = false;
};
