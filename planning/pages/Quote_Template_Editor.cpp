#include "Quote_Template_Editor.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "Data_Access.h"
#include "Named_Controls.h"
#include "Planning_Common.h"
#include "Spell_Check.h"

namespace {

const char* const Product_Quote_Type = "Product";

// The tokens as the merge knows them (it compares them case-sensitively).
const char* const Fields_Explanation =
    "Contact details that will be automatically replaced by their respective values in the message:\n"
    "[Firstname], [Lastname], [Address], [City], [State], [Zip], [Company], [Product], [Referrer],\n"
    "[Homephone], [Workphone], [Received_Date], [Email], [Today-Short], [Today-Long]\n"
    "\n"
    "Contact details that will be replaced in the Quote Portion Only by their respective values in the message:\n"
    "[Catalog_Product], [Part_Number], [Description], [Price]";

QPlainTextEdit* New_Text_Area(const char* name)
{
    auto* area = Named(new QPlainTextEdit, name);
    area->setTabChangesFocus(true);
    Set_Least_Lines(area, 3);
    return area;
}

QLabel* Top_Caption(const QString& text, QWidget* buddy)
{
    QLabel* caption = New_Caption(text, buddy);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return caption;
}

} // namespace

Quote_Template_Editor::Quote_Template_Editor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frameQuoteTemplateEdit");
    auto* editor = new QWidget;
    auto* grid = new QGridLayout(editor);
    txtFrameQuoteTemplateEdit_Heading = New_Heading("txtFrameQuoteTemplateEdit_Heading");
    grid->addWidget(txtFrameQuoteTemplateEdit_Heading, 0, 0, 1, 2);

    // The row is chosen by its type: the page edits the product quote only.
    txtFrameQuoteTemplateEdit_Type = New_Line("txtFrameQuoteTemplateEdit_Type");
    txtFrameQuoteTemplateEdit_Type->setReadOnly(true);
    txtFrameQuoteTemplateEdit_Type->setFocusPolicy(Qt::NoFocus);
    txtFrameQuoteTemplateEdit_Type->setMaximumWidth(
        txtFrameQuoteTemplateEdit_Type->fontMetrics().horizontalAdvance("Product") * 3);
    grid->addWidget(new QLabel("Type"), 1, 0);
    grid->addWidget(txtFrameQuoteTemplateEdit_Type, 1, 1, Qt::AlignLeft);

    // Each box under its caption's row; the text areas take the height there is.
    const auto add_box = [grid](int row, const QString& caption, QWidget* box) {
        const bool area = qobject_cast<QPlainTextEdit*>(box) != nullptr;
        grid->addWidget(area ? Top_Caption(caption, box) : New_Caption(caption, box), row, 0);
        grid->addWidget(box, row, 1);
        if (area)
            grid->setRowStretch(row, 1);
    };
    txtFrameQuoteTemplateEdit_Subject = New_Line("txtFrameQuoteTemplateEdit_Subject");
    add_box(2, "S&ubject", txtFrameQuoteTemplateEdit_Subject);
    txtFrameQuoteTemplateEdit_Introduction = New_Text_Area("txtFrameQuoteTemplateEdit_Introduction");
    add_box(3, "&Introduction", txtFrameQuoteTemplateEdit_Introduction);
    txtFrameQuoteTemplateEdit_Delimiter = New_Line("txtFrameQuoteTemplateEdit_Delimiter");
    add_box(4, "Deli&miter", txtFrameQuoteTemplateEdit_Delimiter);
    txtFrameQuoteTemplateEdit_Quote = New_Text_Area("txtFrameQuoteTemplateEdit_Quote");
    add_box(5, "Qu&ote", txtFrameQuoteTemplateEdit_Quote);
    txtFrameQuoteTemplateEdit_Disclaimer = New_Text_Area("txtFrameQuoteTemplateEdit_Disclaimer");
    add_box(6, "Dis&claimer", txtFrameQuoteTemplateEdit_Disclaimer);
    Take_Any_Length({txtFrameQuoteTemplateEdit_Subject, txtFrameQuoteTemplateEdit_Delimiter});

    // A read-only box, not a wrapping label: a label's height for its width
    // would make the page taller than the window and scroll for nothing.
    txtFrameQuoteTemplateEdit_Fields_Explanation =
        Named(new QPlainTextEdit, "txtFrameQuoteTemplateEdit_Fields_Explanation");
    txtFrameQuoteTemplateEdit_Fields_Explanation->setReadOnly(true);
    txtFrameQuoteTemplateEdit_Fields_Explanation->setFocusPolicy(Qt::NoFocus);
    txtFrameQuoteTemplateEdit_Fields_Explanation->setFrameShape(QFrame::NoFrame);
    txtFrameQuoteTemplateEdit_Fields_Explanation->setBackgroundVisible(false);
    txtFrameQuoteTemplateEdit_Fields_Explanation->viewport()->setAutoFillBackground(false);
    txtFrameQuoteTemplateEdit_Fields_Explanation->setFixedHeight(
        txtFrameQuoteTemplateEdit_Fields_Explanation->fontMetrics().lineSpacing() * 8 + 8);
    grid->addWidget(Top_Caption("Replaceable Fields:", nullptr), 7, 0);
    grid->addWidget(txtFrameQuoteTemplateEdit_Fields_Explanation, 7, 1);

    Spell_Check_Quote_Template = Named(new QPushButton("Spe&ll Check"), "Spell_Check_Quote_Template");
    Spell_Check_Quote_Template->setToolTip("Spell check the box you were last in (the introduction at first)");
    Save_Quote_Template_dit = Named(new QPushButton("Sa&ve"), "Save_Quote_Template_dit");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Spell_Check_Quote_Template);
    buttons->addWidget(Save_Quote_Template_dit);
    grid->addLayout(buttons, 8, 1);
    grid->setColumnStretch(1, 1);

    // On a small screen the page scrolls rather than losing its lower boxes.
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(editor);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    checked_box = txtFrameQuoteTemplateEdit_Introduction;
    const QList<QWidget*> checkable = {txtFrameQuoteTemplateEdit_Subject, txtFrameQuoteTemplateEdit_Introduction,
                                       txtFrameQuoteTemplateEdit_Quote, txtFrameQuoteTemplateEdit_Disclaimer};
    connect(qApp, &QApplication::focusChanged, this, [this, checkable](QWidget*, QWidget* now) {
        if (checkable.contains(now))
            checked_box = now;
    });
    for (QLineEdit* box : {txtFrameQuoteTemplateEdit_Subject, txtFrameQuoteTemplateEdit_Delimiter})
        connect(box, &QLineEdit::textChanged, this, [this] { changed = true; });
    for (QPlainTextEdit* area : {txtFrameQuoteTemplateEdit_Introduction, txtFrameQuoteTemplateEdit_Quote,
                                 txtFrameQuoteTemplateEdit_Disclaimer})
        connect(area, &QPlainTextEdit::textChanged, this, [this] { changed = true; });
    connect(Save_Quote_Template_dit, &QPushButton::clicked, this, [this] { Save(); });
    connect(Spell_Check_Quote_Template, &QPushButton::clicked, this, &Quote_Template_Editor::Spell_Check_Click);
}

void Quote_Template_Editor::Show_Quote_Template()
{
    txtFrameQuoteTemplateEdit_Type->setText(Product_Quote_Type);
    txtFrameQuoteTemplateEdit_Heading->setText("Product Catalog Quote Template Edit");
    txtFrameQuoteTemplateEdit_Fields_Explanation->setPlainText(Fields_Explanation);
    // Typed text not saved yet is kept, not read over.
    if (changed)
        return;
    QSqlRecord row;
    try {
        row = Open_Database().Select_First("SELECT * FROM QuotesTemplates WHERE Quote_Type = ? LIMIT 1",
                                           {QString(Product_Quote_Type)});
    } catch (const std::exception& e) {
        Show_Planning_Error("Show Quote Template", e);
        return;
    }
    // No row yet: empty boxes, and Save makes it.
    Fill(Db_Text(row, "Subject"), Db_Text(row, "Intro_Message"), Db_Text(row, "Message_Delimiter"),
         Db_Text(row, "Quote_Template"), Db_Text(row, "Disclaimer"));
}

void Quote_Template_Editor::Fill(const QString& Subject, const QString& Introduction, const QString& Delimiter,
                                 const QString& Quote, const QString& Disclaimer)
{
    txtFrameQuoteTemplateEdit_Subject->setText(Subject);
    txtFrameQuoteTemplateEdit_Introduction->setPlainText(Introduction);
    txtFrameQuoteTemplateEdit_Delimiter->setText(Delimiter);
    txtFrameQuoteTemplateEdit_Quote->setPlainText(Quote);
    txtFrameQuoteTemplateEdit_Disclaimer->setPlainText(Disclaimer);
    changed = false;
}

bool Quote_Template_Editor::Save()
{
    const QString type = txtFrameQuoteTemplateEdit_Type->text();
    const QVariantList values = {txtFrameQuoteTemplateEdit_Subject->text(),
                                 Stored_Lines(txtFrameQuoteTemplateEdit_Introduction->toPlainText()),
                                 txtFrameQuoteTemplateEdit_Delimiter->text(),
                                 Stored_Lines(txtFrameQuoteTemplateEdit_Quote->toPlainText()),
                                 Stored_Lines(txtFrameQuoteTemplateEdit_Disclaimer->toPlainText()), type};
    try {
        Database db = Open_Database();
        const int stored = db.Execute("UPDATE QuotesTemplates SET Subject = ?, Intro_Message = ?, "
                                      "Message_Delimiter = ?, Quote_Template = ?, Disclaimer = ? WHERE Quote_Type = ?",
                                      values);
        if (stored == 0)
            db.Insert("INSERT INTO QuotesTemplates (Subject, Intro_Message, Message_Delimiter, Quote_Template, "
                      "Disclaimer, Quote_Type) VALUES (?, ?, ?, ?, ?, ?)",
                      values);
    } catch (const std::exception& e) {
        Show_Planning_Error("Save Quote Template", e);
        return false;
    }
    changed = false;
    return true;
}

void Quote_Template_Editor::Spell_Check_Click()
{
    if (auto* line = qobject_cast<QLineEdit*>(checked_box)) {
        const QString corrected = Spell_Check(line->text());
        if (corrected != line->text())
            line->setText(corrected);
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(checked_box)) {
        const QString text = area->toPlainText();
        const QString corrected = Spell_Check(text);
        if (corrected != text)
            area->setPlainText(Stored_Lines(corrected).replace("\r\n", "\n"));
    }
    if (checked_box)
        checked_box->setFocus();
}
