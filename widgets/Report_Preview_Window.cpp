#include "Report_Preview_Window.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QTextDocument>
#include <algorithm>

#include "Report_Preview.h"

void Set_Report_Page_Layout(QPrinter& printer)
{
    printer.setResolution(1200);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

bool Print_Report(const QString& Html, QPrinter* printer)
{
    QFont font = QGuiApplication::font();
    font.setPointSizeF(10);
    QFont foot_font = font;
    foot_font.setPointSizeF(8);

    QTextDocument document;
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setHtml(Html);

    QPainter painter;
    if (!painter.begin(printer))
        return false;
    // Laid out in the printer's own units, so the preview shows the pages that print.
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    layout->setPaintDevice(printer);
    const QRectF paper = printer->pageRect(QPrinter::DevicePixel);
    const qreal foot = QFontMetricsF(foot_font, printer).height() * 2;
    const QSizeF body(paper.width(), paper.height() - foot);
    document.setPageSize(body);

    const int pages = document.pageCount();
    int first = 1;
    int last = pages;
    if (printer->fromPage() > 0 || printer->toPage() > 0) {
        first = std::max(1, printer->fromPage());
        last = printer->toPage() > 0 ? std::min(pages, printer->toPage()) : pages;
    }
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer->newPage();
        const QRectF view(0, (page - 1) * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();

        painter.setFont(foot_font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, body.height(), body.width(), foot), Qt::AlignRight | Qt::AlignBottom,
                         QString("Page %1 of %2").arg(page).arg(pages));
    }
    return true;
}

Report_Preview_Window::Report_Preview_Window(const QString& Title, const QString& Html,
                                             QWidget* parent)
    : QPrintPreviewDialog(parent)
    , html_(Html)
{
    setObjectName("Report_Preview_Window");
    setWindowTitle(Title + " - Print Preview");
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    // The print dialog names the PDF file after the report.
    printer()->setDocName(Title);
    Set_Report_Page_Layout(*printer());
    connect(this, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { Print_Report(html_, printer); });

    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect space = screen->availableGeometry();
    resize(std::min(1000, space.width() * 9 / 10), space.height() * 9 / 10);
}

void Show_Report_Preview(const QString& Title, const QString& Html)
{
    auto* window = new Report_Preview_Window(Title, Html, QApplication::activeWindow());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
}

void Register_Widget_Report_Preview()
{
    Register_Report_Preview_Window(Show_Report_Preview);
}
