#include "MessageCenter.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "SMTP_Sender.h"
#include "Workflow_Run.h"

namespace {

QPointer<MessageCenter> the_window;

} // namespace

MessageCenter::MessageCenter(SMTP_Sender& Sender, QWidget* parent)
    : QWidget(parent), sender_(&Sender)
{
    setObjectName("MessageCenter");
    setWindowTitle("Brackenlead Mailer");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel("Brackenlead for Windows Mailer", this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    layout->addWidget(Label1);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, SMTP_Sender::Progress_Maximum);
    ProgressBar1->setTextVisible(false);
    layout->addWidget(ProgressBar1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    panel1_ = new QLabel(this);
    panel2_ = new QLabel(this);
    StatusBar1->addWidget(panel1_, 1);
    StatusBar1->addWidget(panel2_, 1);
    layout->addWidget(StatusBar1);
    resize(420, 120);

    // What the sender shows now, then every change of it.
    for (int panel = 1; panel <= 2; ++panel)
        Show_Panel(panel, Sender.Panel_Text(panel));
    ProgressBar1->setValue(Sender.Progress_Value());
    connect(&Sender, &SMTP_Sender::Panel_Changed, this, &MessageCenter::Show_Panel);
    connect(&Sender, &SMTP_Sender::Progress_Changed, ProgressBar1, &QProgressBar::setValue);
    connect(&Sender, &SMTP_Sender::Progress_Visible_Changed, ProgressBar1, &QProgressBar::setVisible);
    connect(&Sender, &SMTP_Sender::Showing_Changed, this, &QWidget::setVisible);
    connect(&Sender, &SMTP_Sender::Cycle_Ended, this, &QWidget::close);
    connect(&Sender, &QObject::destroyed, this, &QWidget::close);
    setVisible(Sender.Showing());
}

QString MessageCenter::Panel_Text(int Panel) const
{
    return Panel == 1 ? panel1_->text() : Panel == 2 ? panel2_->text() : QString();
}

void MessageCenter::Show_Panel(int panel, const QString& text)
{
    (panel == 1 ? panel1_ : panel2_)->setText(text);
}

MessageCenter* Message_Center()
{
    return the_window;
}

void Load_Message_Center()
{
    SMTP_Sender& sender = Start_Smtp_Sender();
    if (the_window && the_window->Shows(sender))
        return;
    // The window of a sender told to stop closes with its cycle.
    the_window = new MessageCenter(sender);
}

void Stop_Message_Center()
{
    Stop_Smtp_Sender();
    if (the_window)
        the_window->hide();
}

void Install_Smtp_Sender()
{
    Set_Smtp_Sender_Starter(&Load_Message_Center);
}
