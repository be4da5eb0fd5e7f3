#include "frmMAPI_Get_Email.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "Clock.h"
#include "Mapi_Fetch.h"

frmMAPI_Get_Email::frmMAPI_Get_Email(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle("Integrating E-mail");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel("Wait While Integrating E-Mails", this);
    Label1->setAlignment(Qt::AlignCenter);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(Label1);
    layout->addWidget(StatusBar1);
    resize(320, 110);
}

void frmMAPI_Get_Email::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // After the window is on screen, not inside the show itself.
    QTimer::singleShot(0, this, &frmMAPI_Get_Email::Form_Activate);
}

void frmMAPI_Get_Email::Form_Activate()
{
    if (started_)
        return;
    started_ = true;
    Time_Pause(2);
    // Not a box of its own at every start when there is no mail store.
    Sign_On_And_Get_All_Mail(false);
    done_ = true;
    accept();
}
