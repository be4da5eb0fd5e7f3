#pragma once
// "Block Delete Authentication": the log-in password asked again before a
// whole group's history or contacts are deleted. Modal, so the group cannot
// change while it is asked; every way of closing it other than the right
// password (Cancel, Escape, the frame's close box) is Cancel.

#include <QDialog>

class QLineEdit;
class QPushButton;

class frmBlockDelete : public QDialog {
    Q_OBJECT
public:
    explicit frmBlockDelete(QWidget* parent = nullptr);

    QLineEdit* txtPassword = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;

    void OK_Click();
    void Cancel_Click();

protected:
    void done(int result) override;
};

// Shows the dialog and waits for its answer: true once the right password
// was given (Block_Delete_Permitted).
bool Ask_Block_Delete_Password(QWidget* parent);
