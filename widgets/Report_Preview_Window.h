#pragma once
// The print preview of a report: its HTML laid out on printer pages with page
// numbers, shown in Qt's print preview, from which the user prints it or, by
// choosing "Print to File (PDF)" in the print dialog, saves it as a PDF. The
// preview is modeless: the user may keep working in the program beside it.

#include <QPrintPreviewDialog>
#include <QString>

class QPrinter;

// The page every report starts on: the printer's paper, portrait, 15 mm
// margins, laid out at 1200 dpi so every printer and PDF gets the same pages.
void Set_Report_Page_Layout(QPrinter& printer);

// Prints the report's HTML on the printer's pages (the pages it asks for),
// each with "Page n of m" at its foot; false when the printer cannot be opened.
bool Print_Report(const QString& Html, QPrinter* printer);

class Report_Preview_Window : public QPrintPreviewDialog {
    Q_OBJECT
public:
    Report_Preview_Window(const QString& Title, const QString& Html, QWidget* parent = nullptr);

    const QString& Html() const { return html_; }

private:
    QString html_;
};

// Shows the report in a new preview window over the active window; the
// window deletes itself when closed.
void Show_Report_Preview(const QString& Title, const QString& Html);

// Makes Preview_Report show the preview window.
void Register_Widget_Report_Preview();
