#pragma once
// The "Product Catalog" page: the grid of products over the catalog model.
// A value the model refuses is said in a message and stays in its cell's
// editor, where Esc gives the stored value back. The quote window holds the
// same grid for the quote (QuoteGrid): products ticked and ordered there.

#include <QPersistentModelIndex>
#include <QString>
#include <QWidget>

class Product_Catalog_Model;
class Product_Grid_Delegate;
class QTableView;

#include "Product_Catalog_Model.h"

class Product_Catalog : public QWidget {
    Q_OBJECT
public:
    explicit Product_Catalog(Product_Catalog_Model::Use use = Product_Catalog_Model::Use::Catalog,
                             QWidget* parent = nullptr);

    QTableView* ProductGrid = nullptr;   // "QuoteGrid" in the quote window
    Product_Catalog_Model* Model() const { return model; }

    // Show_Product_Grid: reads the catalog again, in name order.
    void Show_Product_Grid();

    // A cell holds typed text not yet written.
    bool Modified() const;
    // Writes the cell being typed in; false when its value is refused (said
    // in a message; the cell keeps the typed text) or the database failed.
    bool Save();

    // ProductGrid_BeforeDelete and the delete: the current row's product.
    void Delete_Current_Product();

Q_SIGNALS:
    void Products_Changed();
    void Product_Renamed(const QString& Old_Name, const QString& New_Name);

private:
    void Value_Refused(const QModelIndex& Index, const QString& Typed, const QString& Reason);
    // Says why the value was refused and opens its cell again with it.
    void Show_Refusal();
    void Edit_Again(const QModelIndex& Index, const QString& Typed);

    struct Refusal {
        QPersistentModelIndex index;
        QString typed;
        QString reason;
    };

    Product_Catalog_Model* model = nullptr;
    Product_Grid_Delegate* delegate = nullptr;
    bool saving = false;
    Refusal refused;   // a value refused as its editor closed, not said yet
};
