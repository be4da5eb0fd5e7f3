#pragma once
// The "Quote Templates" page: the template the catalog quote is built from
// (the QuotesTemplates row of the type "Product"). Only Save writes; edits
// not saved yet stay on the page when another page is shown meanwhile.

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class Quote_Template_Editor : public QWidget {
    Q_OBJECT
public:
    explicit Quote_Template_Editor(QWidget* parent = nullptr);

    QLabel* txtFrameQuoteTemplateEdit_Heading = nullptr;
    QLineEdit* txtFrameQuoteTemplateEdit_Type = nullptr;
    QLineEdit* txtFrameQuoteTemplateEdit_Subject = nullptr;
    QPlainTextEdit* txtFrameQuoteTemplateEdit_Introduction = nullptr;
    QLineEdit* txtFrameQuoteTemplateEdit_Delimiter = nullptr;
    QPlainTextEdit* txtFrameQuoteTemplateEdit_Quote = nullptr;
    QPlainTextEdit* txtFrameQuoteTemplateEdit_Disclaimer = nullptr;
    QPlainTextEdit* txtFrameQuoteTemplateEdit_Fields_Explanation = nullptr;
    QPushButton* Save_Quote_Template_dit = nullptr;
    QPushButton* Spell_Check_Quote_Template = nullptr;

    // Fills the page from the row, unless it holds edits not saved yet.
    void Show_Quote_Template();
    // The page holds edits its Save would write.
    bool Modified() const { return changed; }
    // Save_Quote_Template_dit_Click: writes the boxes as typed (the row is
    // made when the database has none); false when the database failed.
    bool Save();

private:
    void Spell_Check_Click();
    void Fill(const QString& Subject, const QString& Introduction, const QString& Delimiter,
              const QString& Quote, const QString& Disclaimer);

    QWidget* checked_box = nullptr;   // the box the spell check works on
    bool changed = false;
};
