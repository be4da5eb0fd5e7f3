#include "frmAbout_Furrowline.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

frmAbout_Furrowline::frmAbout_Furrowline(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmAbout_Furrowline");
    setWindowTitle("About Brackenlead for Windows");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* text = new QLabel(
        "<h3>Brackenlead for Windows</h3>"
        "<p>Version " + QApplication::applicationVersion() + "</p>"
        "<p>Contact management and automatic follow-up for sales people:<br>"
        "contacts and their histories, product workflows, the outbox,<br>"
        "incoming mail filed by contact and leads imported from e-mails and files.</p>"
        "<p>Copyright &copy; The Brackenlead developers.</p>");
    text->setTextFormat(Qt::RichText);
    top->addWidget(text, 1);
    layout->addLayout(top);
    ok_button = new QPushButton("OK");
    ok_button->setObjectName("ok_button");
    ok_button->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_button);
    layout->addLayout(buttons);
    connect(ok_button, &QPushButton::clicked, this, &QDialog::close);
}

frmAbout_Furrowline* frmAbout_Furrowline::Show_Instance(QWidget* parent)
{
    static QPointer<frmAbout_Furrowline> instance;
    if (!instance)
        instance = new frmAbout_Furrowline(parent);
    instance->show();
    instance->raise();
    instance->activateWindow();
    return instance;
}
