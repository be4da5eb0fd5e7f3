#pragma once
// The catalog quote window ("Product Catalog Quote"): the user ticks products
// of the catalog, puts them in order and builds a quote e-mail for the
// contact whose ID the main window's Quote command wrote into txtContactID.
// The quote goes into the main window's composer, where the user sends it.
// One modeless instance; it stays open after a quote is built, and every
// product is unticked again each time it opens.

#include <QWidget>

class Key_Toolbar;
class Product_Catalog;
class QLabel;
class QLineEdit;
class QTableView;

class frmProductCatalogQuote : public QWidget {
    Q_OBJECT
public:
    explicit frmProductCatalogQuote(QWidget* parent = nullptr);

    Key_Toolbar* ToolCreateQuote = nullptr;
    QLineEdit* txtContactID = nullptr;
    QLabel* lblContactName = nullptr;
    Product_Catalog* frameQuoteGrid = nullptr;
    QTableView* QuoteGrid = nullptr;

    // The quote is for this contact from now on; the selections stay.
    void Set_Contact(qint64 Contact_ID);
    // "createquote" builds the quote, "Cancel" closes the window.
    void ToolCreateQuote_ButtonClick(const QString& Key);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Create_Quote();
};
