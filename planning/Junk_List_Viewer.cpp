#include "Junk_List_Viewer.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "Data_Access.h"
#include "Data_Grid.h"
#include "Dialogs.h"
#include "Shared_Routines.h"

namespace {

// The entry's key and the text it has in the table.
const int Id_Role = Qt::UserRole;
const int Stored_Role = Qt::UserRole + 1;

} // namespace

Junk_List_Viewer::Junk_List_Viewer(QWidget* parent, const QString& name, const QString& caption,
                                   const QString& label, const QString& grid_caption, const QString& table,
                                   const QString& column, int column_twips, int longest)
    : QWidget(parent, Qt::Window)
    , table_(table)
    , column_(column)
    , longest_(longest)
{
    setObjectName(name);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    model_ = new QStandardItemModel(this);
    DataGrid1 = Add_Data_Grid(layout, label, grid_caption, {{column, column_twips}}, model_);
    DataGrid1->setToolTip("Type a new entry in the last row; the Delete key removes the selected entry.");
    DataGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                               | QAbstractItemView::AnyKeyPressed);
    DataGrid1->installEventFilter(this);
    Label1 = findChild<QLabel*>("Label1");
    connect(model_, &QStandardItemModel::itemChanged, this, &Junk_List_Viewer::Entry_Changed);
    resize(qMax(320, column_twips / 10 + 120), 420);
}

void Junk_List_Viewer::Form_Load()
{
    writing_ = true;
    model_->removeRows(0, model_->rowCount());
    try {
        for (const QSqlRecord& row : Open_Database().Select("SELECT ID, " + column_ + " FROM " + table_
                                                            + " ORDER BY " + column_ + ", ID")) {
            auto* item = new QStandardItem(Null_To_Empty(row.value(1)));
            item->setData(row.value(0), Id_Role);
            item->setData(item->text(), Stored_Role);
            model_->appendRow(item);
            model_->setVerticalHeaderItem(model_->rowCount() - 1, new QStandardItem(""));
        }
    } catch (const Program_Error& e) {
        Message_Box("Error on reading the list: " + e.Description());
    }
    const int entries = model_->rowCount();
    Add_New_Entry_Row();
    writing_ = false;
    DataGrid1->setCurrentIndex(model_->index(0, 0));
    List_Read(entries);
}

void Junk_List_Viewer::Add_New_Entry_Row()
{
    const bool was_writing = writing_;
    writing_ = true;
    model_->appendRow(new QStandardItem(""));
    model_->setVerticalHeaderItem(model_->rowCount() - 1, new QStandardItem("*"));
    writing_ = was_writing;
}

bool Junk_List_Viewer::Is_New_Entry_Row(int row) const
{
    return row == model_->rowCount() - 1;
}

void Junk_List_Viewer::Restore(QStandardItem* item)
{
    writing_ = true;
    item->setText(item->data(Stored_Role).toString());
    writing_ = false;
}

void Junk_List_Viewer::Entry_Changed(QStandardItem* item)
{
    if (writing_ || item->text() == item->data(Stored_Role).toString())
        return;
    const bool is_new = Is_New_Entry_Row(item->row());
    QString value = item->text();
    if (longest_ > 0)
        value = value.left(longest_);
    if (value.trimmed().isEmpty()) {
        if (!is_new)
            Message_Box("An empty entry cannot be stored. Use the Delete key to remove the entry.");
        Restore(item);
        return;
    }
    QVariant id = item->data(Id_Role);
    try {
        Database db = Open_Database();
        // The column compares without regard to case, as the import's look-ups do.
        if (!db.Select_First("SELECT ID FROM " + table_ + " WHERE " + column_ + " = ? AND ID IS NOT ?",
                             {value, id})
                 .isEmpty()) {
            Message_Box(value + " is already in the list.");
            Restore(item);
            return;
        }
        if (is_new)
            id = db.Insert("INSERT INTO " + table_ + " (" + column_ + ") VALUES (?)", {value});
        else
            db.Execute("UPDATE " + table_ + " SET " + column_ + " = ? WHERE ID = ?", {value, id});
    } catch (const Program_Error& e) {
        Message_Box("Error on saving the entry: " + e.Description());
        Restore(item);
        return;
    }
    // Setting any of the item's data reports it changed again.
    writing_ = true;
    item->setData(id, Id_Role);
    item->setText(value);
    item->setData(value, Stored_Role);
    if (is_new) {
        model_->setVerticalHeaderItem(item->row(), new QStandardItem(""));
        Add_New_Entry_Row();
    }
    writing_ = false;
}

void Junk_List_Viewer::Delete_Current_Entry()
{
    const QModelIndex current = DataGrid1->currentIndex();
    if (!current.isValid() || Is_New_Entry_Row(current.row()))
        return;
    QStandardItem* item = model_->item(current.row());
    if (Message_Box("Do you want to Delete " + item->data(Stored_Role).toString() + "?", vbYesNo,
                    windowTitle())
        != vbYes)
        return;
    try {
        Open_Database().Execute("DELETE FROM " + table_ + " WHERE ID = ?", {item->data(Id_Role)});
    } catch (const Program_Error& e) {
        Message_Box("Error on deleting the entry: " + e.Description());
        return;
    }
    model_->removeRow(current.row());
}

bool Junk_List_Viewer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DataGrid1 && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        // A cell being edited has the keyboard itself: the key reaches the grid only outside it.
        Delete_Current_Entry();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
