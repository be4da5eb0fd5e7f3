#pragma once
// The log-in dialog: the program goes on only after the right password;
// Cancel, Escape or the close box end the program.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QPlainTextEdit;

class frmPassword : public QDialog {
    Q_OBJECT
public:
    explicit frmPassword(QWidget* parent = nullptr);

    QLineEdit* txtPassword = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;
    QPlainTextEdit* txtVersion = nullptr;
    QPlainTextEdit* txtNotices = nullptr;

    void OK_Click();
    void Cancel_Click();
};

// Shows the dialog modal and waits for its answer: true once the right
// password was given (Password_Dialog_Answered), false when the program must end.
bool Ask_Log_In_Password(QWidget* parent = nullptr);
