// The menu entries that open the planning and administration windows, and
// what the main window does for the planning window in return.

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include "Find_Control.h"
#include "Main_Window_Test_Support.h"
#include "Shown_Contact.h"
#include "dialogs/frmHelpBrowser.h"
#include "frmContactSystem.h"
#include "frmPlanning.h"
#include "pages/Product_Catalog_Model.h"

namespace {

QWidget* Top_Level(const QString& name)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    return nullptr;
}

} // namespace

class tst_menus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each entry stands in its menu under its caption, enabled, and opens its
    // window; a second choice shows the same window again.
    void entries_open_their_windows_once()
    {
        QFETCH(QString, entry);
        QFETCH(QString, caption);
        QFETCH(QString, menu);
        QFETCH(QString, window_name);
        QFETCH(bool, modal);
        Started_Window s;
        frmContactSystem& w = s.Start();
        QAction* action = Control<QAction>(&w, qPrintable(entry));
        QCOMPARE(action->text().remove('&'), caption);
        const QList<QAction*> in = menu.isEmpty() ? w.menuBar()->actions()
                                                  : Control<QMenu>(&w, qPrintable(menu))->actions();
        QVERIFY(in.contains(action));
        QVERIFY(action->isEnabled() && action->isVisible());
        if (modal) {
            QStringList shown;
            for (int i = 0; i < 2; ++i) {
                When_Modal_Shown([&](QWidget* dialog) {
                    shown << dialog->objectName();
                    dialog->close();
                });
                action->trigger();
            }
            QCOMPARE(shown, QStringList(2, window_name));
            return;
        }
        action->trigger();
        QWidget* opened = Top_Level(window_name);
        QVERIFY(opened);
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        // Placed whole on the screen, whatever its size.
        const QRect area = opened->screen()->availableGeometry();
        QVERIFY2(area.contains(opened->frameGeometry()), qPrintable(window_name));
        action->trigger();
        QCOMPARE(Top_Level(window_name), opened);
        opened->close();
        if (window_name == "frmPlanning")
            QTRY_VERIFY(!Planning_Window());
    }
    void entries_open_their_windows_once_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("menu");         // empty: the menu bar itself
        QTest::addColumn<QString>("window_name");
        QTest::addColumn<bool>("modal");
        QTest::newRow("settings") << "Setup_Furrowline_Settings" << "General Brackenlead Settings" << "mnuFile"
                                  << "frmSetupForm" << true;
        QTest::newRow("planning") << "mnuPlanning" << "Planning" << "" << "frmPlanning" << false;
        QTest::newRow("statistics") << "mnuViewStats" << "Email Stats" << "mnuReports" << "StatsViewer" << false;
        QTest::newRow("junk e-mails") << "mnuJunkEmails" << "Junk E-mails Edit/View" << "mnuReports"
                                      << "frmJunkEmails" << false;
        QTest::newRow("junk names") << "mnuJunkNames" << "Junk Names Edit/View" << "mnuReports" << "frmJunkNames"
                                    << false;
        QTest::newRow("inventory") << "mnuInventoryListing" << "Inventory Listing" << "mnuReports"
                                   << "frmInventoryListing" << false;
    }

    // The help pages ship with the program: each page the index links to opens
    // in the help window itself, and leads back to the index.
    void help_browser_shows_the_shipped_pages()
    {
        Started_Window s;
        frmContactSystem& w = s.Start();
        Control<QAction>(&w, "mnuHelp_Browser")->trigger();
        auto* help = qobject_cast<frmHelpBrowser*>(Top_Level("frmHelpBrowser"));
        QVERIFY(help);
        auto* browser = Control<QTextBrowser>(help, "WebBrowser1");
        QCOMPARE(browser->source(), Help_Page_Url("index.htm"));
        QCOMPARE(browser->documentTitle(), QString("Brackenlead Help"));
        const QMap<QString, QString> titles = {{"database.htm", "Choosing the database"},
                                               {"maildir.htm", "Setting up the mail store"},
                                               {"smtp.htm", "Sending e-mail by SMTP"},
                                               {"lead_sources.htm", "Lead sources"},
                                               {"miss_mdac.htm", "The settings cannot be loaded"}};
        QStringList linked;
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isAnchor())
                    linked << it.fragment().charFormat().anchorHref();
        QCOMPARE(linked, QStringList({"database.htm", "maildir.htm", "smtp.htm", "lead_sources.htm",
                                      "miss_mdac.htm"}));
        for (const QString& page : linked) {
            Control<QPushButton>(help, "HelpIndex")->click();
            QCOMPARE(browser->source(), Help_Page_Url("index.htm"));
            // As a click on the link does.
            browser->setSource(browser->source().resolved(QUrl(page)));
            QCOMPARE(browser->source(), Help_Page_Url(page));
            QCOMPARE(browser->documentTitle(), titles.value(page));
            QVERIFY2(browser->toPlainText().startsWith(titles.value(page)), qPrintable(page));
            QVERIFY(Control<QPushButton>(help, "HelpBack")->isEnabled());
        }
        Control<QPushButton>(help, "CloseHelp")->click();
        QVERIFY(!help->isVisible());
    }

    void a_product_renamed_in_planning_shows_in_the_shown_contact()
    {
        Started_Window s;
        Database db = s.Db();
        db.Execute("INSERT INTO Products (Product) VALUES ('Civic')");
        const qint64 id = db.Insert("INSERT INTO Contacts (FirstName, LastName, Product) VALUES ('Ann', 'Cole', 'Civic')");
        frmContactSystem& w = s.Start();
        w.Contact_On_Display->Show_Current_Contact_Record(id);
        QCOMPARE(Control<QComboBox>(&w, "lstProduct")->currentText(), QString("Civic"));

        Control<QAction>(&w, "mnuPlanning")->trigger();
        frmPlanning* planning = Planning_Window();
        QVERIFY(planning && planning->isVisible());
        for (const char* strip : {"TabStrip1", "TabProducts"}) {
            QTabBar* bar = Control<QTabBar>(planning, strip);
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
        }
        QAbstractItemModel* model = Control<QTableView>(planning, "ProductGrid")->model();
        int row = -1;
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, Product_Catalog_Model::Product).data().toString() == "Civic")
                row = r;
        QVERIFY(row >= 0);
        QVERIFY(model->setData(model->index(row, Product_Catalog_Model::Product), "Accord"));

        QCOMPARE(Control<QComboBox>(&w, "lstProduct")->currentText(), QString("Accord"));
        QVERIFY(Control<QComboBox>(&w, "lstProduct")->findText("Accord") >= 0);
        QVERIFY(!w.Contact_On_Display->Modified());
        QCOMPARE(Control<List_View>(&w, "ListContacts")->Find_Key("key" + QString::number(id))->text(4),
                 QString("Accord"));

        // Closing the main window closes the planning window with it.
        w.close();
        QTRY_VERIFY(!Planning_Window() || !Planning_Window()->isVisible());
    }
};

QTEST_MAIN(tst_menus)
#include "tst_menus.moc"
