#include "frmBlockDelete.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Password.h"
#include "Settings.h"

namespace G = GlobalVariables;

frmBlockDelete::frmBlockDelete(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmBlockDelete");
    setWindowTitle("Block Delete Authentication");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    txtPassword = new QLineEdit;
    txtPassword->setObjectName("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet("lineedit-password-character: 42;");
    auto* label = new QLabel("Enter the log-in &password to delete the contact block:");
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
    connect(OK, &QPushButton::clicked, this, &frmBlockDelete::OK_Click);
    connect(Cancel, &QPushButton::clicked, this, &frmBlockDelete::Cancel_Click);
    resize(380, sizeHint().height());
}

void frmBlockDelete::OK_Click()
{
    if (!Password_Matches(txtPassword->text(), Current_Settings().Furrowline_Password)) {
        G::Password_Dialog_Answered = false;
        Message_Box("The entered password is invalid.");
        txtPassword->setFocus();
        txtPassword->selectAll();
        return;
    }
    G::Password_Dialog_Answered = true;
    G::Block_Delete_Permitted = true;
    accept();
}

void frmBlockDelete::Cancel_Click()
{
    reject();
}

void frmBlockDelete::done(int result)
{
    if (result != Accepted) {
        G::Password_Dialog_Answered = true;
        G::Block_Delete_Permitted = false;
    }
    QDialog::done(result);
}

bool Ask_Block_Delete_Password(QWidget* parent)
{
    G::Password_Dialog_Answered = false;
    G::Block_Delete_Permitted = false;
    frmBlockDelete dialog(parent);
    dialog.exec();
    return G::Password_Dialog_Answered && G::Block_Delete_Permitted;
}
