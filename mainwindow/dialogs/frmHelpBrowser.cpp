#include "frmHelpBrowser.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

QUrl Help_Page_Url(const QString& page)
{
    return QUrl("qrc:/help/" + page);
}

frmHelpBrowser::frmHelpBrowser(QWidget* parent)
    : QDialog(parent)
{
    // The pages live in the program itself, so help works offline.
    Q_INIT_RESOURCE(help);
    setObjectName("frmHelpBrowser");
    setWindowTitle("Brackenlead Help");
    resize(640, 480);
    auto* layout = new QVBoxLayout(this);
    WebBrowser1 = new QTextBrowser;
    WebBrowser1->setObjectName("WebBrowser1");
    WebBrowser1->setOpenExternalLinks(true);
    layout->addWidget(WebBrowser1);
    HelpBack = new QPushButton("&Back");
    HelpBack->setObjectName("HelpBack");
    HelpBack->setEnabled(false);
    HelpIndex = new QPushButton("&Index");
    HelpIndex->setObjectName("HelpIndex");
    CloseHelp = new QPushButton("Close");
    CloseHelp->setObjectName("CloseHelp");
    CloseHelp->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(HelpBack);
    buttons->addWidget(HelpIndex);
    buttons->addStretch();
    buttons->addWidget(CloseHelp);
    layout->addLayout(buttons);
    connect(WebBrowser1, &QTextBrowser::backwardAvailable, HelpBack, &QPushButton::setEnabled);
    connect(HelpBack, &QPushButton::clicked, WebBrowser1, &QTextBrowser::backward);
    connect(HelpIndex, &QPushButton::clicked, this, [this] { Navigate(Help_Page_Url("index.htm")); });
    connect(CloseHelp, &QPushButton::clicked, this, &QDialog::accept);
}

void frmHelpBrowser::Navigate(const QUrl& url)
{
    WebBrowser1->setSource(url);
}

frmHelpBrowser* frmHelpBrowser::Show_Instance(QWidget* parent, const QUrl& url)
{
    static QPointer<frmHelpBrowser> instance;
    if (!instance) {
        instance = new frmHelpBrowser(parent);
        instance->setAttribute(Qt::WA_DeleteOnClose);
    }
    instance->Navigate(url);
    instance->show();
    instance->raise();
    instance->activateWindow();
    return instance;
}
