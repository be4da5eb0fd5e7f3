#pragma once
// The help window: one page of the online help, with links that open in the
// desktop's web browser.

#include <QDialog>
#include <QUrl>

class QPushButton;
class QTextBrowser;

// The address of a page of the online help.
QUrl Help_Page_Url(const QString& page);

class frmHelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit frmHelpBrowser(QWidget* parent = nullptr);
    // Shows the page's place and what it is about; the link opens it.
    void Navigate(const QUrl& url, const QString& explanation = QString());
    // The one instance, not modal.
    static frmHelpBrowser* Show_Instance(QWidget* parent, const QUrl& url);

    QTextBrowser* WebBrowser1 = nullptr;
    QPushButton* CloseHelp = nullptr;
};
