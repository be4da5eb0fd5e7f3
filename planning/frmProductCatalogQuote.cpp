#include "frmProductCatalogQuote.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

#include "Catalog_Quote.h"
#include "Data_Access.h"
#include "Dialogs.h"
#include "Key_Toolbar.h"
#include "Main_Window_Planning.h"
#include "Named_Controls.h"
#include "Planning_Common.h"
#include "pages/Product_Catalog.h"

frmProductCatalogQuote::frmProductCatalogQuote(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName("frmProductCatalogQuote");
    setWindowTitle("Product Catalog Quote");
    auto* layout = new QVBoxLayout(this);

    ToolCreateQuote = new Key_Toolbar("ToolCreateQuote");
    QAction* create = ToolCreateQuote->Add_Button("createquote", "Create Quote", "Create quote on the e-mail frame",
                                                  "MailAuto");
    QAction* cancel = ToolCreateQuote->Add_Button("Cancel", "Cancel", "Cancel", "DeleteCross");
    Key_Toolbar::Give_Shortcut(create, QKeySequence(Qt::CTRL | Qt::Key_Return), this, Qt::WindowShortcut);
    // Esc closes the window once no cell is being typed in (keyPressEvent).
    cancel->setToolTip("Cancel (Esc)");
    layout->addWidget(ToolCreateQuote);

    auto* contact_row = new QHBoxLayout;
    txtContactID = Text_Box("txtContactID");
    txtContactID->setReadOnly(true);
    txtContactID->setFocusPolicy(Qt::NoFocus);
    txtContactID->setMaximumWidth(txtContactID->fontMetrics().horizontalAdvance("0000000000") + 12);
    lblContactName = Named(new QLabel, "lblContactName");
    contact_row->addWidget(Caption("Quote for contact:", txtContactID));
    contact_row->addWidget(txtContactID);
    contact_row->addWidget(lblContactName, 1);
    layout->addLayout(contact_row);

    frameQuoteGrid = new Product_Catalog(Product_Catalog_Model::Use::Quote);
    QuoteGrid = frameQuoteGrid->ProductGrid;
    QuoteGrid->setToolTip("Tick the products of the quote (Space) and type their order");
    layout->addWidget(frameQuoteGrid, 1);

    connect(ToolCreateQuote, &Key_Toolbar::Button_Click, this, &frmProductCatalogQuote::ToolCreateQuote_ButtonClick);
    Form_Load();
    resize(820, 420);
}

void frmProductCatalogQuote::Form_Load()
{
    try {
        Reset_Quote_Selections();
    } catch (const std::exception& e) {
        Show_Planning_Error("Product Catalog Quote", e);
    }
    frameQuoteGrid->Show_Product_Grid();
    QuoteGrid->setCurrentIndex(QuoteGrid->model()->index(0, Product_Catalog_Model::Selected));
    QuoteGrid->setFocus();
}

void frmProductCatalogQuote::Set_Contact(qint64 Contact_ID)
{
    txtContactID->setText(QString::number(Contact_ID));
    QString name;
    try {
        const QSqlRecord contact =
            Open_Database().Select_First("SELECT FirstName, LastName FROM Contacts WHERE ID = ?", {Contact_ID});
        name = (Db_Text(contact, "FirstName") + " " + Db_Text(contact, "LastName")).trimmed();
    } catch (const std::exception&) {
        // Only the name beside the ID is missing; the build reads the contact itself.
    }
    lblContactName->setText(name);
}

void frmProductCatalogQuote::ToolCreateQuote_ButtonClick(const QString& Key)
{
    if (Key == "createquote")
        Create_Quote();
    else if (Key == "Cancel")
        close();
}

void frmProductCatalogQuote::Create_Quote()
{
    // A tick or an order being typed counts.
    if (frameQuoteGrid->Modified() && !frameQuoteGrid->Save())
        return;
    Catalog_Quote quote;
    try {
        quote = Build_Catalog_Quote(txtContactID->text());
    } catch (const std::exception& e) {
        Show_Planning_Error("Create Quote", e);
        return;
    }
    if (!quote.Refusal.isEmpty()) {
        Message_Box(quote.Refusal);
        return;
    }
    Planning_Main_Window().Show_Quote_In_Composer(quote.Email);
    QuoteGrid->viewport()->update();
}

void frmProductCatalogQuote::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
