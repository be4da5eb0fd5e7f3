#include "Product_Catalog_Model.h"

#include <QLocale>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Inventory.h"
#include "Planning_Common.h"
#include "Shared_Routines.h"

namespace {

const char* const Field_Names[Product_Catalog_Model::Column_Count] = {
    "ID", "Product", "Part_Number", "Description", "Price", "Selected", "Order"};

const char* const Rename_With_Steps_Text =
    "There is a Workflow Series of events tied to this product name.\r\n"
    "To Change the name, you must first remove all the events and then change.\r\n"
    "Press Esc to cancel the change.";
const char* const Delete_With_Steps_Text =
    "You must remove this product's Workflow Procedures in order to delete it.";
const char* const Delete_With_Inventory_Text =
    "This product has vehicles in the inventory. Delete them in the Inventory Listing before you delete the product.";

bool Has_Workflow_Steps(Database& db, const QString& product)
{
    return !db.Select_First("SELECT ID FROM Events WHERE Product = ?", {product}).isEmpty();
}

} // namespace

QString Product_Price_Text(const QVariant& Price)
{
    if (Is_Null(Price) || Price.toString().isEmpty())
        return QString();
    return QString::number(Price.toDouble(), 'f', 2);
}

Product_Catalog_Model::Product_Catalog_Model(Use use, QObject* parent)
    : QAbstractTableModel(parent)
    , use(use)
{
}

bool Product_Catalog_Model::Reload()
{
    QList<QSqlRecord> records;
    bool read = true;
    try {
        records = Open_Database().Select(
            "SELECT ID, Product, Part_Number, Description, Price, Selected, \"Order\" FROM Products "
            "ORDER BY Product");
    } catch (const std::exception& e) {
        Show_Planning_Error("Product Catalog", e);
        read = false;
    }
    beginResetModel();
    rows.clear();
    for (const QSqlRecord& record : records) {
        Row row;
        for (int column = 0; column < Column_Count; ++column)
            row.values[column] = record.value(column);
        rows << row;
    }
    endResetModel();
    return read;
}

int Product_Catalog_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows.size()) + (use == Use::Catalog ? 1 : 0);
}

int Product_Catalog_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Column_Count;
}

QVariant Product_Catalog_Model::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || Is_New_Row(index.row()))
        return QVariant();
    const QVariant& value = rows.at(index.row()).values[index.column()];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return index.column() == Price ? QVariant(Product_Price_Text(value)) : QVariant(Null_To_Empty(value));
    if (role == Qt::CheckStateRole && use == Use::Quote && index.column() == Selected)
        return Null_To_Empty(value).compare("Yes", Qt::CaseInsensitive) == 0 ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole && (index.column() == Price || index.column() == Order))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant Product_Catalog_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < Column_Count ? QVariant(QString(Field_Names[section])) : QVariant();
    // The row where a new product is typed.
    return Is_New_Row(section) ? QVariant(QString("*")) : QVariant(section + 1);
}

Qt::ItemFlags Product_Catalog_Model::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (use == Use::Quote) {
        // A quote ticks products and orders them; names are the catalog's.
        if (index.column() == Selected)
            return flags | Qt::ItemIsUserCheckable;
        return index.column() == ID || index.column() == Product ? flags : flags | Qt::ItemIsEditable;
    }
    // A new product starts with its name; its other fields follow once it is stored.
    if (index.column() != ID && (!Is_New_Row(index.row()) || index.column() == Product))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool Product_Catalog_Model::Refuse(const QString& reason)
{
    refusal = reason;
    return false;
}

bool Product_Catalog_Model::setData(const QModelIndex& index, const QVariant& value, int role)
{
    refusal.clear();
    if (role == Qt::CheckStateRole && index.isValid() && (flags(index) & Qt::ItemIsUserCheckable)) {
        const bool ticked = value.toInt() == Qt::Checked;
        return Write_Field(index.row(), index.column(), QString(ticked ? "Yes" : "No"));
    }
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    if (Is_New_Row(index.row())) {
        // A new row left empty adds nothing.
        return text.trimmed().isEmpty() ? false : Add_Product(text);
    }
    if (index.column() == Product)
        return Rename_Product(index.row(), text);

    QVariant stored = text;
    switch (index.column()) {
    case Price: {
        QString number = text.trimmed();
        number.remove('$').remove(',');
        bool ok = true;
        const double price = number.toDouble(&ok);
        if (number.isEmpty())
            stored = QVariant();
        else if (!ok)
            return Refuse("Enter the price as a number, for example 12500.00.");
        else
            stored = price;
        break;
    }
    case Selected:
        if (text.trimmed().compare("Yes", Qt::CaseInsensitive) == 0)
            stored = QString("Yes");
        else if (text.trimmed().compare("No", Qt::CaseInsensitive) == 0)
            stored = QString("No");
        else
            return Refuse("Selected takes Yes or No.");
        break;
    case Order: {
        int order = 0;
        if (!Read_Whole_Number(text, 0, 999999999, &order))
            return Refuse("Order takes a whole number of 0 or more.");
        stored = order;
        break;
    }
    default: break;
    }
    return Write_Field(index.row(), index.column(), stored);
}

bool Product_Catalog_Model::Name_Taken(const QString& name, qint64 id)
{
    return !Open_Database().Select_First("SELECT ID FROM Products WHERE Product = ? AND ID <> ?", {name, id}).isEmpty();
}

bool Product_Catalog_Model::Add_Product(const QString& name)
{
    qint64 id = 0;
    try {
        if (Name_Taken(name, 0))
            return Refuse("There is already a product named " + name + ".");
        id = Open_Database().Insert("INSERT INTO Products (Product) VALUES (?)", {name});
    } catch (const std::exception& e) {
        Show_Planning_Error("Add Product", e);
        return false;
    }
    QSqlRecord record;
    try {
        record = Open_Database().Select_First(
            "SELECT ID, Product, Part_Number, Description, Price, Selected, \"Order\" FROM Products WHERE ID = ?",
            {id});
    } catch (const std::exception&) {
        // Stored all the same; the next show reads it.
    }
    Row row;
    row.values[ID] = id;
    row.values[Product] = name;
    for (int column = 0; column < Column_Count && !record.isEmpty(); ++column)
        row.values[column] = record.value(column);
    const int at = int(rows.size());
    // The new row becomes the product's; a fresh new row opens below it.
    rows << row;
    Q_EMIT dataChanged(index(at, 0), index(at, Column_Count - 1));
    Q_EMIT headerDataChanged(Qt::Vertical, at, at);
    beginInsertRows(QModelIndex(), at + 1, at + 1);
    endInsertRows();
    Q_EMIT Products_Changed();
    return true;
}

bool Product_Catalog_Model::Rename_Product(int row, const QString& name)
{
    const qint64 id = rows.at(row).values[ID].toLongLong();
    const QString old_name = Null_To_Empty(rows.at(row).values[Product]);
    if (name == old_name)
        return true;
    if (name.trimmed().isEmpty())
        return Refuse("Enter a name for the product.");
    try {
        Database db = Open_Database();
        if (Has_Workflow_Steps(db, old_name))
            return Refuse(Rename_With_Steps_Text);
        if (Name_Taken(name, id))
            return Refuse("There is already a product named " + name + ".");
        // Its contacts stay in their workflow and product group, its
        // history keeps counting towards their workflow position.
        Database_Transaction transaction(db);
        db.Execute("UPDATE Products SET Product = ? WHERE ID = ?", {name, id});
        db.Execute("UPDATE Contacts SET Product = ? WHERE Product = ?", {name, old_name});
        db.Execute("UPDATE Outbox SET Product_Name = ? WHERE Product_Name = ?", {name, old_name});
        db.Execute("UPDATE Eventhistory SET Event_Product = ? WHERE Event_Product = ?", {name, old_name});
        transaction.Commit();
    } catch (const std::exception& e) {
        Show_Planning_Error("Rename Product", e);
        return false;
    }
    rows[row].values[Product] = name;
    Q_EMIT dataChanged(index(row, Product), index(row, Product));
    Q_EMIT Product_Renamed(old_name, name);
    Q_EMIT Products_Changed();
    return true;
}

bool Product_Catalog_Model::Write_Field(int row, int column, const QVariant& value)
{
    try {
        Open_Database().Execute(QString("UPDATE Products SET \"%1\" = ? WHERE ID = ?").arg(Field_Names[column]),
                                {value, rows.at(row).values[ID]});
    } catch (const std::exception& e) {
        Show_Planning_Error("Product Catalog", e);
        return false;
    }
    rows[row].values[column] = value;
    Q_EMIT dataChanged(index(row, column), index(row, column));
    return true;
}

bool Product_Catalog_Model::Delete_Product(int row)
{
    if (row < 0 || Is_New_Row(row) || use == Use::Quote)
        return false;
    const qint64 id = rows.at(row).values[ID].toLongLong();
    const QString name = Null_To_Empty(rows.at(row).values[Product]);
    try {
        Database db = Open_Database();
        QString question = "Are you sure you want to delete this Product?";
        const int contacts = db.Scalar("SELECT count(*) FROM Contacts WHERE Product = ?", {name}).toInt();
        if (contacts > 0)
            question += "\r\n\r\n" + QString::number(contacts) +
                        (contacts == 1 ? " contact still has " : " contacts still have ") + name +
                        " as product: they keep it, but no workflow runs for them any more.";
        if (Message_Box(question, vbOKCancel, "Delete Product") != vbOK)
            return false;
        if (Has_Workflow_Steps(db, name)) {
            Message_Box(Delete_With_Steps_Text);
            return false;
        }
        // Its vehicles would be left under no product.
        if (Product_Has_Inventory(name)) {
            Message_Box(Delete_With_Inventory_Text);
            return false;
        }
        db.Execute("DELETE FROM Products WHERE ID = ?", {id});
    } catch (const std::exception& e) {
        Show_Planning_Error("Delete Product", e);
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row);
    rows.removeAt(row);
    endRemoveRows();
    Q_EMIT Products_Changed();
    return true;
}
