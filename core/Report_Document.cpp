#include "Report_Document.h"

namespace {

// The subset of CSS that the print layout (QTextDocument) understands: font
// sizes in points, spacing in pixels of 1/96 inch (it reads no points there).
const char* const Report_Style = R"(
h1 { font-size: 16pt; font-weight: bold; margin-top: 0px; margin-bottom: 2px; }
h2 { font-size: 13pt; font-weight: bold; margin-top: 16px; margin-bottom: 4px; }
h3 { font-size: 11pt; font-weight: bold; margin-top: 10px; margin-bottom: 2px; }
p.header { color: #444444; margin-top: 0px; margin-bottom: 10px; }
td.label { font-weight: bold; color: #333333; }
table.grid { border-collapse: collapse; border-color: #999999; margin-top: 6px; margin-bottom: 6px; }
table.grid th { background-color: #e6e6e6; font-weight: bold; text-align: left; }
)";

} // namespace

QString Report_Html_Text(const QString& Text)
{
    QString html = Text.toHtmlEscaped();
    html.replace("\r\n", "<br>");
    html.replace('\r', "<br>");
    html.replace('\n', "<br>");
    return html;
}

Report_Document::Report_Document(const QString& Title, const QString& Header_Line)
    : title_(Title)
    , header_line_(Header_Line)
{
}

void Report_Document::Start_New_Page()
{
    Close_Block();
    new_page_ = true;
}

QString Report_Document::Break_Style()
{
    if (!new_page_)
        return QString();
    new_page_ = false;
    return QStringLiteral(" style=\"page-break-before: always\"");
}

void Report_Document::Close_Block()
{
    if (open_ != Open_Block::None)
        body_ += "</table>\n";
    open_ = Open_Block::None;
}

void Report_Document::Add_Group_Heading(const QString& Heading)
{
    Close_Block();
    body_ += "<h2" + Break_Style() + ">" + Report_Html_Text(Heading) + "</h2>\n";
}

void Report_Document::Add_Subheading(const QString& Heading)
{
    Close_Block();
    body_ += "<h3" + Break_Style() + ">" + Report_Html_Text(Heading) + "</h3>\n";
}

void Report_Document::Add_Field(const QString& Label, const QString& Value)
{
    if (open_ != Open_Block::Fields) {
        Close_Block();
        body_ += "<table class=\"fields\" width=\"100%\" cellspacing=\"0\" cellpadding=\"2\"" +
                 Break_Style() + ">\n";
        open_ = Open_Block::Fields;
    }
    body_ += "<tr><td class=\"label\" width=\"25%\">" + Report_Html_Text(Label) + "</td><td>" +
             Report_Html_Text(Value) + "</td></tr>\n";
}

void Report_Document::Add_Table(const QStringList& Column_Headers)
{
    Close_Block();
    body_ += "<table class=\"grid\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\"" +
             Break_Style() + ">\n";
    if (!Column_Headers.isEmpty()) {
        body_ += "<thead><tr>";
        for (const QString& header : Column_Headers)
            body_ += "<th>" + Report_Html_Text(header) + "</th>";
        body_ += "</tr></thead>\n";
    }
    open_ = Open_Block::Table;
    columns_ = int(Column_Headers.size());
}

void Report_Document::Add_Table_Row(const QStringList& Cells)
{
    if (open_ != Open_Block::Table)
        Add_Table({});
    body_ += "<tr>";
    for (const QString& cell : Cells)
        body_ += "<td>" + Report_Html_Text(cell) + "</td>";
    // A short row still fills the grid, so its borders close.
    for (qsizetype i = Cells.size(); i < columns_; ++i)
        body_ += "<td></td>";
    body_ += "</tr>\n";
}

void Report_Document::Add_Text(const QString& Text)
{
    Close_Block();
    body_ += "<p" + Break_Style() + ">" + Report_Html_Text(Text) + "</p>\n";
}

void Report_Document::Add_Rule()
{
    Close_Block();
    body_ += "<hr" + Break_Style() + ">\n";
}

QString Report_Document::Html() const
{
    QString html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                   title_.toHtmlEscaped() + "</title>\n<style>" + Report_Style +
                   "</style></head>\n<body>\n<h1>" + Report_Html_Text(title_) + "</h1>\n";
    if (!header_line_.isEmpty())
        html += "<p class=\"header\">" + Report_Html_Text(header_line_) + "</p>\n";
    html += body_;
    if (open_ != Open_Block::None)
        html += "</table>\n";
    return html + "</body></html>\n";
}
