#include "Product_Catalog.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "Product_Catalog_Model.h"

// Hands the refusals of the model to the page, and opens a cell again with
// the text that was refused.
class Product_Grid_Delegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (pending.isValid() && pending == index) {
            if (auto* line = qobject_cast<QLineEdit*>(editor)) {
                line->setText(pending_text);
                line->selectAll();
                pending = QPersistentModelIndex();
                return;
            }
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        auto* catalog = qobject_cast<Product_Catalog_Model*>(model);
        if (!line || !catalog) {
            QStyledItemDelegate::setModelData(editor, model, index);
            return;
        }
        const QString typed = line->text();
        if (!catalog->setData(index, typed) && !catalog->Refusal().isEmpty())
            Q_EMIT const_cast<Product_Grid_Delegate*>(this)->Refused(index, typed, catalog->Refusal());
    }

    void Open_With(const QModelIndex& index, const QString& text)
    {
        pending = index;
        pending_text = text;
    }

Q_SIGNALS:
    void Refused(const QModelIndex& index, const QString& typed, const QString& reason);

private:
    mutable QPersistentModelIndex pending;
    QString pending_text;
};

Product_Catalog::Product_Catalog(Product_Catalog_Model::Use use, QWidget* parent)
    : QWidget(parent)
{
    const bool quote = use == Product_Catalog_Model::Use::Quote;
    setObjectName(quote ? "frameQuoteGrid" : "frameProductCatalog");
    model = new Product_Catalog_Model(use, this);
    delegate = new Product_Grid_Delegate(this);
    ProductGrid = new QTableView;
    ProductGrid->setObjectName(quote ? "QuoteGrid" : "ProductGrid");
    ProductGrid->setModel(model);
    ProductGrid->setItemDelegate(delegate);
    ProductGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    ProductGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ProductGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    ProductGrid->setTabKeyNavigation(false);
    ProductGrid->verticalHeader()->setDefaultSectionSize(ProductGrid->fontMetrics().height() + 8);
    ProductGrid->setColumnHidden(Product_Catalog_Model::ID, true);
    // Widths of the original grid (twips / 15).
    ProductGrid->setColumnWidth(Product_Catalog_Model::Product, 116);
    ProductGrid->setColumnWidth(Product_Catalog_Model::Part_Number, 116);
    ProductGrid->setColumnWidth(Product_Catalog_Model::Description, 400);
    ProductGrid->setColumnWidth(Product_Catalog_Model::Price,
                                qMax(61, ProductGrid->fontMetrics().horizontalAdvance("9999999.99") + 12));
    ProductGrid->horizontalHeader()->setStretchLastSection(true);
    if (quote) {
        // Every column in sight: long descriptions wrap in the room the others leave.
        ProductGrid->horizontalHeader()->setStretchLastSection(false);
        ProductGrid->horizontalHeader()->setSectionResizeMode(Product_Catalog_Model::Description, QHeaderView::Stretch);
        ProductGrid->setColumnWidth(Product_Catalog_Model::Selected, ProductGrid->fontMetrics().horizontalAdvance("Selected") + 40);
        ProductGrid->setColumnWidth(Product_Catalog_Model::Order, ProductGrid->fontMetrics().horizontalAdvance("Order") + 40);
        ProductGrid->setWordWrap(true);
        ProductGrid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ProductGrid);

    connect(delegate, &Product_Grid_Delegate::Refused, this, &Product_Catalog::Value_Refused);
    connect(model, &Product_Catalog_Model::Products_Changed, this, &Product_Catalog::Products_Changed);
    connect(model, &Product_Catalog_Model::Product_Renamed, this, &Product_Catalog::Product_Renamed);
    if (quote)
        return;

    auto* delete_product = new QAction("&Delete Product", ProductGrid);
    delete_product->setObjectName("Delete_Product");
    delete_product->setShortcut(QKeySequence::Delete);
    delete_product->setShortcutContext(Qt::WidgetShortcut);
    ProductGrid->addAction(delete_product);
    ProductGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(delete_product, &QAction::triggered, this, &Product_Catalog::Delete_Current_Product);
}

void Product_Catalog::Show_Product_Grid()
{
    refused = Refusal();
    model->Reload();
}

bool Product_Catalog::Modified() const
{
    return refused.index.isValid() || ProductGrid->indexWidget(ProductGrid->currentIndex()) != nullptr;
}

bool Product_Catalog::Save()
{
    if (refused.index.isValid()) {
        Show_Refusal();
        return false;
    }
    const QModelIndex index = ProductGrid->currentIndex();
    QWidget* editor = ProductGrid->indexWidget(index);
    if (!editor)
        return true;
    auto* line = qobject_cast<QLineEdit*>(editor);
    const QString typed = line ? line->text() : QString();
    saving = true;
    Q_EMIT delegate->commitData(editor);
    saving = false;
    const QString reason = model->Refusal();
    Q_EMIT delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (reason.isEmpty())
        return true;
    Message_Box(reason);
    Edit_Again(index, typed);
    return false;
}

void Product_Catalog::Value_Refused(const QModelIndex& Index, const QString& Typed, const QString& Reason)
{
    if (saving)
        return;   // Save says it itself
    // Said once the editor has closed, so the message box takes no commit of its own.
    refused = {QPersistentModelIndex(Index), Typed, Reason};
    QTimer::singleShot(0, this, &Product_Catalog::Show_Refusal);
}

void Product_Catalog::Show_Refusal()
{
    if (!refused.index.isValid())
        return;
    const Refusal said = refused;
    refused = Refusal();
    Message_Box(said.reason);
    Edit_Again(said.index, said.typed);
}

void Product_Catalog::Edit_Again(const QModelIndex& Index, const QString& Typed)
{
    if (!Index.isValid())
        return;
    delegate->Open_With(Index, Typed);
    ProductGrid->setCurrentIndex(Index);
    ProductGrid->edit(Index);
}

void Product_Catalog::Delete_Current_Product()
{
    const QModelIndex index = ProductGrid->currentIndex();
    if (index.isValid())
        model->Delete_Product(index.row());
}

#include "Product_Catalog.moc"
