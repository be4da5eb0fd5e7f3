#include "frmHelpBrowser.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

QUrl Help_Page_Url(const QString& page)
{
    return QUrl("https://help.brackenlead.org/vaxow_help/" + page);
}

frmHelpBrowser::frmHelpBrowser(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmHelpBrowser");
    setWindowTitle("Brackenlead Help");
    resize(560, 360);
    auto* layout = new QVBoxLayout(this);
    WebBrowser1 = new QTextBrowser;
    WebBrowser1->setObjectName("WebBrowser1");
    WebBrowser1->setOpenLinks(false);
    connect(WebBrowser1, &QTextBrowser::anchorClicked, this,
            [](const QUrl& url) { QDesktopServices::openUrl(url); });
    layout->addWidget(WebBrowser1);
    CloseHelp = new QPushButton("Close");
    CloseHelp->setObjectName("CloseHelp");
    CloseHelp->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseHelp);
    layout->addLayout(buttons);
    connect(CloseHelp, &QPushButton::clicked, this, &QDialog::accept);
}

void frmHelpBrowser::Navigate(const QUrl& url, const QString& explanation)
{
    const QString link = url.toString().toHtmlEscaped();
    WebBrowser1->setHtml("<h3>Brackenlead Help</h3>"
                         + (explanation.isEmpty() ? QString() : "<p>" + explanation.toHtmlEscaped() + "</p>")
                         + "<p>The help page opens in your web browser:<br><a href=\"" + link + "\">" + link
                         + "</a></p>");
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
