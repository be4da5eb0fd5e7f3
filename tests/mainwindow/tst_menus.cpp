// The menu entries that open the planning and administration windows, and
// what the main window does for the planning window in return.

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
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
    void reports_entries_open_their_viewers_once()
    {
        QFETCH(QString, entry);
        QFETCH(QString, window_name);
        Started_Window s;
        frmContactSystem& w = s.Start();
        QAction* action = Control<QAction>(&w, qPrintable(entry));
        QVERIFY(action->isEnabled());
        action->trigger();
        QWidget* shown = Top_Level(window_name);
        QVERIFY(shown);
        action->trigger();
        QCOMPARE(Top_Level(window_name), shown);
        shown->close();
    }
    void reports_entries_open_their_viewers_once_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window_name");
        QTest::newRow("statistics") << "mnuViewStats" << "StatsViewer";
        QTest::newRow("junk e-mails") << "mnuJunkEmails" << "frmJunkEmails";
        QTest::newRow("junk names") << "mnuJunkNames" << "frmJunkNames";
        QTest::newRow("inventory") << "mnuInventoryListing" << "frmInventoryListing";
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

    void settings_entry_shows_the_settings_dialog_modal()
    {
        Started_Window s;
        frmContactSystem& w = s.Start();
        QString shown;
        When_Modal_Shown([&](QWidget* modal) {
            shown = modal->objectName();
            modal->close();
        });
        Control<QAction>(&w, "Setup_Furrowline_Settings")->trigger();
        QCOMPARE(shown, QString("frmSetupForm"));
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
