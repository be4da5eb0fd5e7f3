#pragma once
// The HTML document of a printed report, built in reading order: a title and
// a header line, then groups (a heading with the record's fields as label and
// value rows), tables with column headers, paragraphs of text and rules. Every text
// is escaped, and the line breaks of multi-line texts are kept. A report hands
// Html() with its title to Preview_Report.

#include <QString>
#include <QStringList>

// A text as HTML: escaped, each line break (CR LF, CR or LF) a <br>.
QString Report_Html_Text(const QString& Text);

class Report_Document {
public:
    explicit Report_Document(const QString& Title, const QString& Header_Line = QString());

    const QString& Title() const { return title_; }

    // The next part (heading, fields, table or text) begins on a new page;
    // called between records of a report that prints one record a page.
    void Start_New_Page();

    // A group heading, and a smaller one for a record within a group.
    void Add_Group_Heading(const QString& Heading);
    void Add_Subheading(const QString& Heading);
    // A label and value row; consecutive fields line up in one block.
    void Add_Field(const QString& Label, const QString& Value);
    // A table with these column headers (repeated on each page it spans);
    // rows follow with Add_Table_Row.
    void Add_Table(const QStringList& Column_Headers);
    void Add_Table_Row(const QStringList& Cells);
    // A paragraph of text.
    void Add_Text(const QString& Text);
    // A horizontal rule across the page.
    void Add_Rule();

    // The whole document.
    QString Html() const;

private:
    enum class Open_Block { None, Fields, Table };
    void Close_Block();
    // The style attribute that starts the element on a new page when asked.
    QString Break_Style();

    QString title_;
    QString header_line_;
    QString body_;
    Open_Block open_ = Open_Block::None;
    int columns_ = 0;
    bool new_page_ = false;
};
