#pragma once
// A list in report view: flat rows under titled columns, each row known by its
// item key (kept in Qt::UserRole of the first column), whose first column holds
// only the row's icon. A click on a column header sorts by it: the same column
// again reverses the order, a new column keeps the order in use. Once sorted,
// rows added later take their place in the sort order.

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QTreeWidget>

#include "Main_Window_Lists.h"

class List_View : public QTreeWidget {
    Q_OBJECT
public:
    explicit List_View(const QString& name, QWidget* parent = nullptr);
    ~List_View() override;

    // Columns as header text and width in twips, the first one the icon column.
    void Set_Columns(const QList<QPair<QString, int>>& columns);
    // Other widths (pixels) for the columns, in place of the ones the twips gave.
    void Set_Column_Widths(const QList<int>& pixels);
    // Columns wider together than the list shrink, each in its share, so that
    // all of them stay in sight (none below its header text); until the user
    // drags a column border, after which the widths are the user's.
    void Fit_Columns();

    // Adds a row; a key already listed is refused (nullptr).
    QTreeWidgetItem* Add_Row(const List_Row& row);
    // Adds many rows as Add_Row one by one would (a key already listed, or
    // given before in rows, is left out), in one insertion; the rows added.
    int Add_Rows(const QList<List_Row>& rows);
    // The same in two steps, for rows that come in parts: the rows made
    // now, and listed later in one insertion.
    struct Made_Rows {
        Made_Rows() = default;
        ~Made_Rows() { qDeleteAll(items); }
        Made_Rows(const Made_Rows&) = delete;
        Made_Rows& operator=(const Made_Rows&) = delete;
        QList<QTreeWidgetItem*> items;
        QHash<QString, QTreeWidgetItem*> keys;   // the items by their keys
    };
    void Make_Rows(const QList<List_Row>& rows, Made_Rows& made) const;
    int Add_Made_Rows(Made_Rows& made);
    // Removes the row with the key; its 1-based position, 0 when none.
    int Remove_Key(const QString& key);
    QTreeWidgetItem* Find_Key(const QString& key) const;
    int Position_Of(const QTreeWidgetItem* item) const;   // 1-based, 0 when not listed
    QTreeWidgetItem* Row_At(int position) const;          // 1-based
    QString Key_At(int position) const;
    int Row_Count() const { return topLevelItemCount(); }
    // Selects the row at a 1-based position (the last row when past the end).
    QTreeWidgetItem* Select_At(int position);
    void Select_Item(QTreeWidgetItem* item);

    static QString Item_Key(const QTreeWidgetItem* item);

    // Sorting by a column, as a click on its header does.
    void Column_Sort(int column);
    bool Is_Sorted() const { return sorted_; }
    int Sort_Key() const { return sort_column_; }
    Qt::SortOrder Sort_Order() const { return sort_order_; }

    // Marks of a row's sub-items (1-based sub-item = column).
    static void Set_Bold(QTreeWidgetItem* item, int sub_item, bool bold);
    static bool Is_Bold(const QTreeWidgetItem* item, int sub_item);

Q_SIGNALS:
    // The user chose a row (mouse or keyboard), not a selection made by the program.
    void Item_Click(QTreeWidgetItem* item);
    // The user clicked a column header (0-based column).
    void Column_Click(int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidgetItem* Make_Item(const List_Row& row, const QFont* bold, const QBrush& highlight) const;
    int Sorted_Insert_Position(const QTreeWidgetItem* item) const;
    void Show_Sort_Indicator();

    // Item key -> row, so look-ups stay fast in lists of many thousand rows.
    QHash<QString, QTreeWidgetItem*> rows_by_key_;
    QList<int> widths_;            // the columns' own widths, in pixels
    bool user_sized_ = false;
    bool header_pressed_ = false;  // the mouse is down on the header
    bool fitting_ = false;
    bool sorted_ = false;
    int sort_column_ = 0;
    Qt::SortOrder sort_order_ = Qt::AscendingOrder;
};
