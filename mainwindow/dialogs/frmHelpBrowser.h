#pragma once
// The help window: the help pages shipped with the program, shown in its own
// browser; links to other sites open in the desktop's web browser.

#include <QDialog>
#include <QUrl>

class QPushButton;
class QTextBrowser;

// The address of a help page ("index.htm", "miss_mdac.htm", ...).
QUrl Help_Page_Url(const QString& page);

class frmHelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit frmHelpBrowser(QWidget* parent = nullptr);
    void Navigate(const QUrl& url);
    // The one instance, not modal.
    static frmHelpBrowser* Show_Instance(QWidget* parent, const QUrl& url);

    QTextBrowser* WebBrowser1 = nullptr;
    QPushButton* CloseHelp = nullptr;
    QPushButton* HelpBack = nullptr;
    QPushButton* HelpIndex = nullptr;
};
