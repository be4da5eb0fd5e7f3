#pragma once
// The product catalog (table Products) as a table model that writes through:
// every accepted edit, new product and delete goes to the database at once.
// The last row is the new-product row: a name typed there adds a product.
// A product name is the key contacts, steps, outbox rows and events use, so a
// rename carries it to those rows, and a product with workflow steps keeps
// its name and cannot be deleted.
// The quote window's grid uses the same model for the quote: there the
// products are ticked (Selected) and put in order, with no new-product row
// and no renames.

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QVariant>

class Product_Catalog_Model : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ID, Product, Part_Number, Description, Price, Selected, Order, Column_Count };

    enum class Use { Catalog, Quote };
    explicit Product_Catalog_Model(Use use = Use::Catalog, QObject* parent = nullptr);

    // Reads the table again, in name order (a pending edit is dropped).
    // False when the database failed (said in a message).
    bool Reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Writes a typed value. A refused one returns false and leaves its
    // reason in Refusal(); the database stays as it was.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Why the last setData refused its value; empty when it took it.
    QString Refusal() const { return refusal; }

    bool Is_New_Row(int row) const { return use == Use::Catalog && row == rows.size(); }
    // Asks, then deletes the product of the row; false when it stays.
    bool Delete_Product(int row);

Q_SIGNALS:
    // A product was added, renamed or deleted.
    void Products_Changed();
    void Product_Renamed(const QString& Old_Name, const QString& New_Name);

private:
    struct Row {
        QVariant values[Column_Count];
    };

    bool Add_Product(const QString& name);
    bool Rename_Product(int row, const QString& name);
    bool Write_Field(int row, int column, const QVariant& value);
    bool Refuse(const QString& reason);
    // Another product (not the one with the ID) has the name (by the database's comparison).
    bool Name_Taken(const QString& name, qint64 id);

    Use use;
    QList<Row> rows;
    QString refusal;
};

// What the grid shows of a price (the quotes write "$#,##0.00" themselves).
QString Product_Price_Text(const QVariant& Price);
