// Report documents: escaped texts, grouping, tables and page breaks in the
// HTML, the same pages in the printed PDF, and the preview behind its seam.

#include <QPointer>
#include <QPrintPreviewWidget>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

#include "Report_Capture.h"
#include "Report_Document.h"
#include "Report_Preview.h"
#include "Report_Preview_Window.h"

namespace {

QList<QTextTable*> Tables_Of(QTextDocument& document)
{
    QList<QTextTable*> tables;
    for (QTextFrame* frame : document.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame))
            tables << table;
    return tables;
}

// Three contacts, one a page, each a group of fields with a table of events.
Report_Document Three_Records()
{
    Report_Document report("Contact History", "Printed 12/10/2026");
    for (int i = 1; i <= 3; ++i) {
        if (i > 1)
            report.Start_New_Page();
        report.Add_Group_Heading(QString("Contact %1").arg(i));
        report.Add_Field("First", QString("First%1").arg(i));
        report.Add_Field("Last", "Müller");
        report.Add_Table({"Date", "Event", "Subject"});
        report.Add_Table_Row({"12/01/2026", "Email Out", QString("Subject %1a").arg(i)});
        report.Add_Table_Row({"12/02/2026", "To Do"});
    }
    return report;
}

QStringList Pages_Of(const QString& pdf_text)
{
    QStringList pages = pdf_text.split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace

class tst_report_document : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void every_text_is_escaped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("markup") << "<b>bold</b> <img src=x>";
        QTest::newRow("table end") << "</td></tr></table><table><tr><td>";
        QTest::newRow("ampersand and entity") << "Tom & Jerry &amp; &lt;";
        QTest::newRow("quotes") << "a \"quoted\" 'word'";
    }
    void every_text_is_escaped()
    {
        QFETCH(QString, text);
        Report_Document report(text, text);
        report.Add_Group_Heading(text);
        report.Add_Subheading(text);
        report.Add_Field(text, text);
        report.Add_Table({text, "B"});
        report.Add_Table_Row({text, text});
        report.Add_Text(text);
        const QString html = report.Html();
        QVERIFY(!html.contains(text));

        // Laid out, the text stands as written in each of its ten places, and
        // the two tables keep their shape.
        QTextDocument document;
        document.setHtml(html);
        QCOMPARE(document.toPlainText().count(text), 10);
        QCOMPARE(document.metaInformation(QTextDocument::DocumentTitle), text);
        const QList<QTextTable*> tables = Tables_Of(document);
        QCOMPARE(tables.size(), 2);
        QCOMPARE(tables[0]->columns(), 2);
        QCOMPARE(tables[0]->rows(), 1);
        QCOMPARE(tables[1]->columns(), 2);
        QCOMPARE(tables[1]->rows(), 2);
    }

    void line_breaks_are_kept()
    {
        QCOMPARE(Report_Html_Text("one\r\ntwo\nthree\rfour <5>"),
                 QString("one<br>two<br>three<br>four &lt;5&gt;"));
        Report_Document report("Event");
        report.Add_Field("Message", "Dear Zoë,\r\nthanks for the call.\r\n\r\nBest regards");
        QVERIFY(report.Html().contains("Dear Zoë,<br>thanks for the call.<br><br>Best regards"));
        // Printed, each line stands on its own.
        QStringList lines = Report_Pdf_Text(report.Html()).split('\n');
        lines.removeAll(QString());
        const int first = int(lines.indexOf("Dear Zoë,"));
        QVERIFY2(first >= 0, qPrintable(lines.join('|')));
        QCOMPARE(lines.value(first + 1), QString("thanks for the call."));
        QCOMPARE(lines.value(first + 2), QString("Best regards"));
    }

    void groups_fields_and_tables_take_their_shape()
    {
        QTextDocument document;
        document.setHtml(Three_Records().Html());
        const QList<QTextTable*> tables = Tables_Of(document);
        // Per record: one block of fields and one grid.
        QCOMPARE(tables.size(), 6);
        QCOMPARE(tables[0]->rows(), 2);
        QCOMPARE(tables[0]->columns(), 2);
        QCOMPARE(tables[1]->columns(), 3);
        QCOMPARE(tables[1]->rows(), 3);
        QCOMPARE(tables[1]->format().headerRowCount(), 1);
        // The short row is filled out to the grid.
        QCOMPARE(tables[1]->cellAt(2, 2).firstCursorPosition().block().text(), QString());
        QCOMPARE(tables[1]->cellAt(2, 1).firstCursorPosition().block().text(), QString("To Do"));
    }

    void records_asked_to_begin_a_page_do()
    {
        const QString html = Three_Records().Html();
        QCOMPARE(html.count("page-break-before: always"), 2);
        QVERIFY(html.indexOf("page-break-before") > html.indexOf("Contact 1"));

        const QStringList pages = Pages_Of(Report_Pdf_Text(html));
        QCOMPARE(pages.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QString page = pages[i];
            QVERIFY2(page.contains(QString("Contact %1").arg(i + 1)), qPrintable(page));
            QVERIFY(page.contains(QString("Subject %1a").arg(i + 1)));
            QVERIFY(page.contains(QString("Page %1 of 3").arg(i + 1)));
            QCOMPARE(page.contains("Contact History"), i == 0);
        }
    }

    void a_long_table_repeats_its_headers_on_every_page()
    {
        Report_Document report("Statistics");
        report.Add_Table({"Date", "Event", "Number Of Events"});
        for (int i = 0; i < 150; ++i)
            report.Add_Table_Row({"12/10/2026", QString("Row %1").arg(i), QString::number(i)});
        const QStringList pages = Pages_Of(Report_Pdf_Text(report.Html()));
        QVERIFY(pages.size() >= 2);
        for (const QString& page : pages)
            QVERIFY(page.contains("Number Of Events"));
        QVERIFY(pages.last().contains("Row 149"));
    }

    void the_pdf_holds_the_texts()
    {
        Report_Document report("Contact Details", "Zoë Müller <zoe@example.com>");
        report.Add_Group_Heading("Müller");
        report.Add_Field("Email", "zoe@example.com");
        report.Add_Table({"Date", "Event", "Subject"});
        report.Add_Table_Row({"12/01/2026", "Email Out", "Your quote for the Jetta & trim"});
        report.Add_Table_Row({"12/02/2026", "Incoming Call", "Asked about </table> financing"});
        report.Add_Text("Notes:\nCall back after 5 pm");
        const QString text = Report_Pdf_Text(report.Html());
        for (const char* expected :
             {"Contact Details", "Zoë Müller <zoe@example.com>", "Your quote for the Jetta & trim",
              "Asked about </table> financing", "Call back after 5 pm", "Page 1 of 1"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));
    }

    void the_preview_lays_out_the_pages()
    {
        const QString html = Three_Records().Html();
        Report_Preview_Window window("Contact History", html);
        window.show();
        auto* preview = window.findChild<QPrintPreviewWidget*>();
        QVERIFY(preview);
        QTRY_COMPARE(preview->pageCount(), 3);
        QCOMPARE(window.windowTitle(), QString("Contact History - Print Preview"));
        QCOMPARE(window.printer()->docName(), QString("Contact History"));
    }

    void the_seam_shows_the_preview_or_hands_the_report_to_the_test()
    {
        const QString html = Three_Records().Html();
        Register_Widget_Report_Preview();
        {
            Captured_Reports captured;
            Preview_Report("Contact History", html);
            QCOMPARE(captured.reports.size(), 1);
            QCOMPARE(captured.reports.first().title, QString("Contact History"));
            QCOMPARE(captured.Last_Html(), html);
            QVERIFY(captured.Last_Pdf_Text().contains("Subject 3a"));
            for (QWidget* w : QApplication::topLevelWidgets())
                QVERIFY(!qobject_cast<Report_Preview_Window*>(w));
        }

        // Without the test's handler the preview opens, modeless, and goes when closed.
        Preview_Report("Contact History", html);
        QPointer<Report_Preview_Window> window;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<Report_Preview_Window*>(w))
                window = preview;
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->Html(), html);
        window->close();
        QTRY_VERIFY(!window);
        Register_Report_Preview_Window({});
    }
};

QTEST_MAIN(tst_report_document)
#include "tst_report_document.moc"
