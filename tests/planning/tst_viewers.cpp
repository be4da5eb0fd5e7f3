// The statistics viewer and its report (by day across years, every text
// escaped), the junk e-mail and junk name lists kept in their grids, and the
// menu entries that open each viewer once.

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

#include "Administration_Windows.h"
#include "Dialogs.h"
#include "Report_Capture.h"
#include "StatsViewer.h"
#include "Test_Support.h"
#include "frmJunkEmails.h"
#include "frmJunkNames.h"
#include "rptProspectStats.h"

namespace {

QStringList Grid_Rows(const QTableView* grid)
{
    const QAbstractItemModel* model = grid->model();
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

QStringList Header_Texts(const QTableView* grid, Qt::Orientation orientation)
{
    const QAbstractItemModel* model = grid->model();
    QStringList texts;
    const int count = orientation == Qt::Horizontal ? model->columnCount() : model->rowCount();
    for (int i = 0; i < count; ++i)
        texts << model->headerData(i, orientation).toString();
    return texts;
}

// The rows of the report's table, cell texts joined by "|", header first.
QStringList Report_Rows(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    QStringList rows;
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c) {
                QTextCursor from = table->cellAt(r, c).firstCursorPosition();
                from.setPosition(table->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
                cells << from.selectedText();
            }
            rows << cells.join('|');
        }
    }
    return rows;
}

QStringList Column_Of(Database db, const QString& sql)
{
    QStringList values;
    for (const QSqlRecord& row : db.Select(sql))
        values << row.value(0).toString();
    return values;
}

void Edit_Cell(QTableView* grid, int row, const QString& text)
{
    grid->setCurrentIndex(grid->model()->index(row, 0));
    // What the grid's editor hands the model when the user commits an edit.
    QVERIFY(grid->model()->setData(grid->model()->index(row, 0), text));
}

} // namespace

class tst_viewers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Counters of several years, stored out of order: listed and printed by
    // day, within a day the smaller count first.
    void statistics_by_day_across_years()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Captured_Reports reports;
        Database db = folder.Db();
        const QVariantList rows[] = {
            {"2026-01-02 00:00:00", "Messages Sent", 1},
            {"2025-12-31 00:00:00", "Messages Sent", 5},
            {"2025-12-31 00:00:00", "Added <to> & \"Unmatched\"", 2},
            {"2026-01-01 00:00:00", "Event History: Email Out", 3},
            {"2024-06-15 00:00:00", "Messages Sent", 7},
        };
        for (const QVariantList& row : rows)
            db.Execute("INSERT INTO Stats (EventDate, Event, NumOfEvents) VALUES (?, ?, ?)", row);
        const QStringList expected = {
            "06/15/2024|Messages Sent|7",
            "12/31/2025|Added <to> & \"Unmatched\"|2",
            "12/31/2025|Messages Sent|5",
            "01/01/2026|Event History: Email Out|3",
            "01/02/2026|Messages Sent|1",
        };

        StatsViewer viewer;
        viewer.show();
        QCOMPARE(viewer.windowTitle(), QString("Brackenlead for Windows Statistics"));
        QCOMPARE(viewer.Label1->text(), QString("Prospects Followup Statistics"));
        QCOMPARE(Header_Texts(viewer.DataGrid1, Qt::Horizontal),
                 (QStringList{"EventDate", "Event", "NumOfEvents"}));
        QCOMPARE(Grid_Rows(viewer.DataGrid1), expected);

        QTest::mouseClick(viewer.CreateReport, Qt::LeftButton);
        QCOMPARE(reports.reports.size(), 1);
        QCOMPARE(reports.reports[0].title, QString("Brackenlead for Windows Activity Listing"));
        const QString html = reports.Last_Html();
        QVERIFY(html.contains("Added &lt;to&gt; &amp; &quot;Unmatched&quot;"));
        QVERIFY(!html.contains("<to>"));
        QCOMPARE(Report_Rows(html), QStringList{"Date|Event:|# of Events"} + expected);
        QVERIFY(Report_Pdf_Text(html).contains("Brackenlead for Windows Activity Listing"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void empty_statistics()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Captured_Reports reports;
        StatsViewer viewer;
        QCOMPARE(viewer.DataGrid1->model()->rowCount(), 0);
        viewer.CreateReport_Click();
        QCOMPARE(Report_Rows(reports.Last_Html()), QStringList{"Date|Event:|# of Events"});
        QVERIFY(dialogs.messages.isEmpty());
    }

    void empty_junk_email_list_is_announced()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        frmJunkEmails emails;
        QCOMPARE(dialogs.Texts(), QStringList{"The Junk Email database has not been started yet!"});
        QCOMPARE(Grid_Rows(emails.DataGrid1), QStringList{""});   // only the new-entry row
        frmJunkNames names;
        QCOMPARE(dialogs.messages.size(), 1);
    }

    void junk_list_kept_in_grid_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("junk e-mails") << "frmJunkEmails";
        QTest::newRow("junk names") << "frmJunkNames";
    }

    // Listed sorted; a new entry typed into the last row; an entry changed in
    // place by its ID; an empty entry or one listed already (in any case) is
    // refused; Delete removes the entry after a Yes.
    void junk_list_kept_in_grid()
    {
        QFETCH(QString, window);
        const bool emails = window == "frmJunkEmails";
        const QString table = emails ? "JunkEmails" : "JunkNames";
        const QString column = emails ? "Email" : "Name";
        const QString listed = "SELECT " + column + " FROM " + table + " ORDER BY ID";
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        for (const char* value : {"zed", "Abe", "abe"})
            folder.Db().Execute("INSERT INTO " + table + " (" + column + ") VALUES (?)", {value});

        std::unique_ptr<QWidget> viewer;
        if (emails)
            viewer = std::make_unique<frmJunkEmails>();
        else
            viewer = std::make_unique<frmJunkNames>();
        viewer->show();
        auto* grid = viewer->findChild<QTableView*>("DataGrid1");
        QCOMPARE(viewer->windowTitle(), QString(emails ? "Junk Email Viewer" : "Junk Names Viewer"));
        QCOMPARE(viewer->findChild<QLabel*>("Label1")->text(), QString(emails ? "Junk Emails" : "Junk Names"));
        QCOMPARE(viewer->findChild<QLabel*>("DataGrid1_Caption") != nullptr, emails);
        QCOMPARE(Header_Texts(grid, Qt::Horizontal), QStringList{column});
        QCOMPARE(Grid_Rows(grid), (QStringList{"Abe", "abe", "zed", ""}));
        QCOMPARE(Header_Texts(grid, Qt::Vertical).last(), QString("*"));
        QVERIFY(dialogs.messages.isEmpty());

        Edit_Cell(grid, 3, "Mickey");
        QCOMPARE(Column_Of(folder.Db(), listed), (QStringList{"zed", "Abe", "abe", "Mickey"}));
        QCOMPARE(Grid_Rows(grid), (QStringList{"Abe", "abe", "zed", "Mickey", ""}));

        // The second "abe" of two alike is changed, the first stays.
        Edit_Cell(grid, 1, "Minnie");
        QCOMPARE(Column_Of(folder.Db(), listed), (QStringList{"zed", "Abe", "Minnie", "Mickey"}));

        Edit_Cell(grid, 4, "MICKEY");
        QCOMPARE(dialogs.messages.last().text, QString("MICKEY is already in the list."));
        Edit_Cell(grid, 2, "   ");
        QVERIFY(dialogs.messages.last().text.startsWith("An empty entry cannot be stored."));
        Edit_Cell(grid, 4, "");
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(Grid_Rows(grid), (QStringList{"Abe", "Minnie", "zed", "Mickey", ""}));
        QCOMPARE(Column_Of(folder.Db(), listed), (QStringList{"zed", "Abe", "Minnie", "Mickey"}));

        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        dialogs.answers = {vbNo};
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(dialogs.messages.last().text, QString("Do you want to Delete Abe?"));
        QCOMPARE(Column_Of(folder.Db(), listed).size(), 4);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(Column_Of(folder.Db(), listed), (QStringList{"zed", "Minnie", "Mickey"}));
        QCOMPARE(Grid_Rows(grid), (QStringList{"Minnie", "zed", "Mickey", ""}));
        // The new-entry row is not an entry.
        grid->setCurrentIndex(grid->model()->index(3, 0));
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(Grid_Rows(grid).size(), 4);
    }

    void junk_address_kept_to_200_characters()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        frmJunkEmails emails;
        Edit_Cell(emails.DataGrid1, 0, QString(250, 'a') + "@example.com");
        QCOMPARE(folder.Db().Scalar("SELECT Email FROM JunkEmails").toString(), QString(200, 'a'));
    }

    // The menu entries open one window each and show it again when open.
    void entries_open_each_viewer_once()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("INSERT INTO JunkEmails (Email) VALUES ('spam@example.com')");
        QWidget main_window;
        for (int i = 0; i < 2; ++i) {
            Show_Stats_Viewer(&main_window);
            Show_Junk_Emails(&main_window);
            Show_Junk_Names(&main_window);
            Show_Inventory_Listing(&main_window);
        }
        for (const char* name : {"StatsViewer", "frmJunkEmails", "frmJunkNames", "frmInventoryListing"}) {
            const QList<QWidget*> windows = main_window.findChildren<QWidget*>(name);
            QCOMPARE(windows.size(), 1);
            QVERIFY(windows[0]->isVisible());
            QVERIFY(windows[0]->isWindow());
            windows[0]->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(main_window.findChildren<StatsViewer*>().isEmpty());
        Show_Stats_Viewer(&main_window);
        QCOMPARE(main_window.findChildren<StatsViewer*>().size(), 1);
        QVERIFY(dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(tst_viewers)
#include "tst_viewers.moc"
