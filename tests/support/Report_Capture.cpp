#include "Report_Capture.h"

#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "Report_Preview.h"
#include "Report_Preview_Window.h"

Captured_Reports::Captured_Reports()
{
    Set_Report_Preview_Handler([this](const QString& title, const QString& html) {
        reports << Captured_Report{title, html};
    });
}

Captured_Reports::~Captured_Reports()
{
    Set_Report_Preview_Handler({});
}

QString Captured_Reports::Last_Html() const
{
    return reports.isEmpty() ? QString() : reports.last().html;
}

QString Captured_Reports::Last_Pdf_Text() const
{
    return Report_Pdf_Text(Last_Html());
}

void Print_Report_To_Pdf(const QString& Html, const QString& Pdf_Path)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Pdf_Path);
    Set_Report_Page_Layout(printer);
    if (!Print_Report(Html, &printer))
        qFatal("cannot print the report to %s", qPrintable(Pdf_Path));
}

QString Pdf_Text(const QString& Pdf_Path)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-enc", "UTF-8", Pdf_Path, "-"});
    if (!pdftotext.waitForStarted())
        qFatal("pdftotext cannot be started: install poppler-utils");
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        qFatal("pdftotext cannot read %s: %s", qPrintable(Pdf_Path),
               pdftotext.readAllStandardError().constData());
    // The printed fonts join letters such as "fi" into one glyph; compatibility
    // normalization splits them again, so the text compares as written.
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

QString Report_Pdf_Text(const QString& Html)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    Print_Report_To_Pdf(Html, path);
    return Pdf_Text(path);
}
