#include "frmPassword.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "Data_Access.h"
#include "GlobalVariables.h"
#include "Password.h"
#include "Settings.h"

frmPassword::frmPassword(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmPassword");
    setWindowTitle("Password Entry");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    txtVersion = new QPlainTextEdit(QString("Brackenlead for Windows\nVersion %1")
                                        .arg(QApplication::applicationVersion()));
    txtVersion->setObjectName("txtVersion");
    txtNotices = new QPlainTextEdit("This program is protected by a password. "
                                    "Enter the password set in the program's settings.");
    txtNotices->setObjectName("txtNotices");
    for (QPlainTextEdit* area : {txtVersion, txtNotices}) {
        area->setReadOnly(true);
        area->setMaximumHeight(52);
        area->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(area);
    }
    txtPassword = new QLineEdit;
    txtPassword->setObjectName("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    // An asterisk for each typed character, whatever the style's own mark.
    txtPassword->setStyleSheet("lineedit-password-character: 42;");
    auto* label = new QLabel("Enter Password to Enter Brackenlead Automotive:");
    label->setBuddy(txtPassword);
    layout->addWidget(label);
    layout->addWidget(txtPassword);
    OK = new QPushButton("OK");
    OK->setObjectName("OK");
    OK->setDefault(true);
    Cancel = new QPushButton("Cancel");
    Cancel->setObjectName("Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    layout->addLayout(buttons);
    connect(OK, &QPushButton::clicked, this, &frmPassword::OK_Click);
    connect(Cancel, &QPushButton::clicked, this, &frmPassword::Cancel_Click);
    resize(380, sizeHint().height());
}

void frmPassword::OK_Click()
{
    const QString stored = Current_Settings().Furrowline_Password;
    if (Password_Matches(txtPassword->text(), stored)) {
        GlobalVariables::Password_Dialog_Answered = true;
        // A password an older database kept in clear is stored as a hash from now on.
        if (!Password_Is_Hashed(stored)) {
            try {
                Save_Log_In_Password(txtPassword->text());
                Load_Settings();
            } catch (const Program_Error&) {
                // The log-in stands; the password is hashed at the next one.
            }
        }
        accept();
        return;
    }
    GlobalVariables::Password_Dialog_Answered = false;
    Message_Box("The entered password is invalid.");
    // Selected, so that the retyped password replaces the refused one.
    txtPassword->setFocus();
    txtPassword->selectAll();
}

void frmPassword::Cancel_Click()
{
    reject();
}

bool Ask_Log_In_Password(QWidget* parent)
{
    GlobalVariables::Password_Dialog_Answered = false;
    frmPassword dialog(parent);
    // Modal: nothing else of the program is usable until it is answered, and
    // every way of closing it other than the right password ends the program.
    dialog.exec();
    return GlobalVariables::Password_Dialog_Answered;
}
