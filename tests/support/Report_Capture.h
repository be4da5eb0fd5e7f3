#pragma once
// Stands in for the report preview: keeps every report handed to it. Also
// prints a report's HTML to a PDF file the way the preview prints it and reads
// the PDF's text back (pdftotext, from poppler-utils), so a test can check
// what the printed pages hold.

#include <QList>
#include <QString>

struct Captured_Report {
    QString title;
    QString html;
};

class Captured_Reports {
public:
    Captured_Reports();
    ~Captured_Reports();

    QList<Captured_Report> reports;

    // The last report's HTML (empty when none was shown).
    QString Last_Html() const;
    // The text of the last report printed to a PDF, pages separated by form feeds.
    QString Last_Pdf_Text() const;
};

// Prints the HTML to a PDF file with the preview's page layout; fails the
// test program when the PDF cannot be written.
void Print_Report_To_Pdf(const QString& Html, const QString& Pdf_Path);
// The text of a PDF file, pages separated by form feeds, ligatures split
// (compatibility-normalized).
QString Pdf_Text(const QString& Pdf_Path);
// The text of the HTML printed to a PDF, through a temporary file.
QString Report_Pdf_Text(const QString& Html);
