#pragma once
// A junk list in a grid: its entries sorted, each changed in place, a new
// one typed into the last row (marked "*"), the selected one removed with the
// Delete key. Each change is written at once, by the entry's ID. An empty
// entry, or one already listed, is refused: an empty junk name would drop
// every lead without a name.

#include <QWidget>

class QLabel;
class QStandardItem;
class QStandardItemModel;
class QTableView;

class Junk_List_Viewer : public QWidget {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;
    QTableView* DataGrid1 = nullptr;

    void Form_Load();
    // Deletes the entry of the grid's current row (asks first).
    void Delete_Current_Entry();

protected:
    Junk_List_Viewer(QWidget* parent, const QString& name, const QString& caption, const QString& label,
                     const QString& grid_caption, const QString& table, const QString& column,
                     int column_twips, int longest);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Called after the list was read; the junk e-mail list announces an empty table.
    virtual void List_Read(int entries) { Q_UNUSED(entries); }

private:
    void Entry_Changed(QStandardItem* item);
    void Add_New_Entry_Row();
    void Restore(QStandardItem* item);
    bool Is_New_Entry_Row(int row) const;

    QStandardItemModel* model_ = nullptr;
    QString table_;
    QString column_;
    int longest_ = 0;       // the most characters an entry keeps (0: any)
    bool writing_ = false;  // the program, not the user, changes an item
};
