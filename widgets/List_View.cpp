#include "List_View.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSet>
#include <algorithm>

#include "Image_List.h"

namespace {
// List columns are given in twips; a tenth of them gives widths that fit
// their texts at the usual font sizes.
int Twips_To_Pixels(int twips)
{
    return qMax(2, twips / 10);
}

// A row that holds its key and texts itself: one allocation per row instead
// of one per column, which counts in lists of many thousand rows. Any other
// role (font, colour, icon) is kept by the item as usual.
class List_Item : public QTreeWidgetItem {
public:
    List_Item(const QString& key, const QStringList& texts)
        : QTreeWidgetItem(UserType)
        , key_(key)
        , texts_(texts)
    {
    }

    QVariant data(int column, int role) const override
    {
        if (Holds(column, role))
            return column == 0 ? key_ : texts_.at(column - 1);
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant& value) override
    {
        if (!Holds(column, role)) {
            QTreeWidgetItem::setData(column, role, value);
            return;
        }
        QString& held = column == 0 ? key_ : texts_[column - 1];
        const QString text = value.toString();
        if (held == text && held.isNull() == text.isNull())
            return;
        held = text;
        emitDataChanged();
    }

    QTreeWidgetItem* clone() const override
    {
        // The item's own roles and flags come along; a list row has no children.
        auto* copy = new List_Item(key_, texts_);
        copy->QTreeWidgetItem::operator=(*this);
        return copy;
    }

private:
    // The key in the first column's user role; the texts, the display (and
    // edit) role of the columns after it.
    bool Holds(int column, int role) const
    {
        if (column == 0)
            return role == Qt::UserRole;
        return (role == Qt::DisplayRole || role == Qt::EditRole) && column <= texts_.size();
    }

    QString key_;
    QStringList texts_;
};

} // namespace

List_View::List_View(const QString& name, QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(name);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(false);
    setIconSize(QSize(16, 16));
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(true);
    header()->setMinimumSectionSize(2);
    // However rows leave (removal, clear()), their keys leave the index with them.
    connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] { rows_by_key_.clear(); });
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (parent.isValid())
                    return;
                for (int i = first; i <= last; ++i)
                    if (QTreeWidgetItem* item = topLevelItem(i))
                        rows_by_key_.remove(Item_Key(item));
            });
    header()->viewport()->installEventFilter(this);
    connect(header(), &QHeaderView::sectionResized, this, [this] {
        // A border dragged with the mouse: from now on the widths are the user's.
        if (!fitting_ && header_pressed_)
            user_sized_ = true;
    });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        Q_EMIT Item_Click(item);
    });
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        // The header flips its own indicator on a click; the list's own sort
        // state decides what is shown.
        Show_Sort_Indicator();
        Q_EMIT Column_Click(column);
    });
}

List_View::~List_View()
{
    // The rows go after this part of the object: the key index must not hear of it.
    disconnect(model(), nullptr, this, nullptr);
}

void List_View::Set_Columns(const QList<QPair<QString, int>>& columns)
{
    setColumnCount(columns.size());
    QStringList labels;
    for (const auto& column : columns)
        labels << column.first;
    setHeaderLabels(labels);
    QList<int> pixels;
    for (int i = 0; i < columns.size(); ++i)
        pixels << (i == 0 ? qMax(22, Twips_To_Pixels(columns[i].second)) : Twips_To_Pixels(columns[i].second));
    Set_Column_Widths(pixels);
}

void List_View::Set_Column_Widths(const QList<int>& pixels)
{
    widths_ = pixels;
    user_sized_ = false;
    Fit_Columns();
}

void List_View::Fit_Columns()
{
    if (user_sized_ || widths_.isEmpty())
        return;
    fitting_ = true;
    const int count = qMin(int(widths_.size()), columnCount());
    QList<int> widths = widths_.mid(0, count);
    int total = 0;
    for (int width : widths)
        total += width;
    const int room = viewport()->width();
    if (total > room && count > 1) {
        // The first (icon) column keeps its width; the titled ones share the
        // rest in proportion, none narrower than its header text. A column
        // held at its least width leaves the others the rest to share.
        const QFontMetrics metrics(header()->font());
        QList<int> least(count, 0);
        for (int i = 1; i < count; ++i) {
            const QString title = headerItem() ? headerItem()->text(i) : QString();
            least[i] = title.isEmpty() ? 2 : metrics.horizontalAdvance(title) + 12;
        }
        QList<bool> held(count, false);
        for (bool changed = true; changed;) {
            changed = false;
            int free_room = room - widths_[0];
            int free_total = 0;
            for (int i = 1; i < count; ++i) {
                if (held[i])
                    free_room -= least[i];
                else
                    free_total += widths_[i];
            }
            for (int i = 1; i < count; ++i) {
                if (held[i]) {
                    widths[i] = least[i];
                    continue;
                }
                widths[i] = free_total > 0 ? int(double(widths_[i]) * qMax(0, free_room) / free_total) : least[i];
                if (widths[i] < least[i]) {
                    held[i] = true;
                    changed = true;
                }
            }
        }
    }
    for (int i = 0; i < count; ++i)
        setColumnWidth(i, widths[i]);
    fitting_ = false;
}

bool List_View::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == header()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            header_pressed_ = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            header_pressed_ = false;
    }
    return QTreeWidget::eventFilter(watched, event);
}

bool List_View::viewportEvent(QEvent* event)
{
    const bool handled = QTreeWidget::viewportEvent(event);
    if (event->type() == QEvent::Resize)
        Fit_Columns();
    return handled;
}

QString List_View::Item_Key(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem* List_View::Find_Key(const QString& key) const
{
    return rows_by_key_.value(key, nullptr);
}

QTreeWidgetItem* List_View::Make_Item(const List_Row& row, const QFont* bold, const QBrush& highlight) const
{
    auto* item = new List_Item(row.key, row.texts);
    if (!row.icon.isEmpty())
        item->setIcon(0, Image_List_Icon(row.icon));
    for (int sub : row.bold) {
        if (bold)
            item->setFont(sub, *bold);
        else
            Set_Bold(item, sub, true);
    }
    for (int sub : row.highlighted)
        item->setForeground(sub, highlight);
    return item;
}

QTreeWidgetItem* List_View::Add_Row(const List_Row& row)
{
    if (Find_Key(row.key))
        return nullptr;
    QTreeWidgetItem* item = Make_Item(row, nullptr, palette().brush(QPalette::Highlight));
    if (sorted_)
        insertTopLevelItem(Sorted_Insert_Position(item), item);
    else
        addTopLevelItem(item);
    rows_by_key_.insert(row.key, item);
    return item;
}

int List_View::Add_Rows(const QList<List_Row>& rows)
{
    Made_Rows made;
    Make_Rows(rows, made);
    return Add_Made_Rows(made);
}

void List_View::Make_Rows(const QList<List_Row>& rows, Made_Rows& made) const
{
    // A row's font is the default one until it is marked: the bold one is made once.
    QFont bold;
    bold.setBold(true);
    const QBrush highlight = palette().brush(QPalette::Highlight);
    // No room made ahead for rows that come in many parts: an exact
    // reservation per part would copy every row made before it each time.
    if (made.items.isEmpty()) {
        made.items.reserve(rows.size());
        made.keys.reserve(rows.size());
    }
    for (const List_Row& row : rows) {
        if (made.keys.contains(row.key))
            continue;
        QTreeWidgetItem* item = Make_Item(row, &bold, highlight);
        made.items << item;
        made.keys.insert(row.key, item);
    }
}

int List_View::Add_Made_Rows(Made_Rows& made)
{
    QList<QTreeWidgetItem*> items;
    items.swap(made.items);
    QHash<QString, QTreeWidgetItem*> keys;
    keys.swap(made.keys);
    if (sorted_ && topLevelItemCount() > 0) {
        // Each row takes its place among the listed ones.
        int added = 0;
        for (QTreeWidgetItem* item : items) {
            const QString key = Item_Key(item);
            if (Find_Key(key)) {
                delete item;
                continue;
            }
            insertTopLevelItem(Sorted_Insert_Position(item), item);
            rows_by_key_.insert(key, item);
            ++added;
        }
        return added;
    }
    QList<QTreeWidgetItem*> added;
    if (rows_by_key_.size() < keys.size()) {
        // Fewer rows listed than made: the listed keys go into the made ones,
        // and a made row whose key is listed already is left out.
        QSet<QTreeWidgetItem*> dropped;
        for (auto listed = rows_by_key_.cbegin(); listed != rows_by_key_.cend(); ++listed) {
            auto found = keys.find(listed.key());
            if (found == keys.end()) {
                keys.insert(listed.key(), listed.value());
                continue;
            }
            dropped.insert(found.value());
            found.value() = listed.value();
        }
        rows_by_key_.swap(keys);
        if (dropped.isEmpty()) {
            added.swap(items);
        } else {
            added.reserve(items.size());
            for (QTreeWidgetItem* item : items) {
                if (dropped.contains(item))
                    delete item;
                else
                    added << item;
            }
        }
    } else {
        rows_by_key_.reserve(rows_by_key_.size() + items.size());
        added.reserve(items.size());
        for (QTreeWidgetItem* item : items) {
            const QString key = Item_Key(item);
            if (rows_by_key_.contains(key)) {
                delete item;
                continue;
            }
            rows_by_key_.insert(key, item);
            added << item;
        }
    }
    if (sorted_) {
        // The order the sorted insertion one by one gives: equal texts keep their order.
        const int column = sort_column_;
        const bool ascending = sort_order_ == Qt::AscendingOrder;
        std::stable_sort(added.begin(), added.end(), [column, ascending](QTreeWidgetItem* a, QTreeWidgetItem* b) {
            return ascending ? a->text(column) < b->text(column) : b->text(column) < a->text(column);
        });
    }
    addTopLevelItems(added);
    return int(added.size());
}

int List_View::Sorted_Insert_Position(const QTreeWidgetItem* item) const
{
    // Same comparison as the sort itself; equal texts go after their equals.
    // The rows are in sort order, so the place is found by halving.
    const QString a = item->text(sort_column_);
    int low = 0;
    int high = topLevelItemCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        const QString b = topLevelItem(middle)->text(sort_column_);
        const bool before = sort_order_ == Qt::AscendingOrder ? a < b : b < a;
        if (before)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

int List_View::Remove_Key(const QString& key)
{
    QTreeWidgetItem* item = Find_Key(key);
    if (!item)
        return 0;
    const int position = indexOfTopLevelItem(item) + 1;
    delete takeTopLevelItem(position - 1);
    return position;
}

int List_View::Position_Of(const QTreeWidgetItem* item) const
{
    return item ? indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) + 1 : 0;
}

QTreeWidgetItem* List_View::Row_At(int position) const
{
    if (position < 1 || position > topLevelItemCount())
        return nullptr;
    return topLevelItem(position - 1);
}

QString List_View::Key_At(int position) const
{
    return Item_Key(Row_At(position));
}

QTreeWidgetItem* List_View::Select_At(int position)
{
    const int count = topLevelItemCount();
    if (count == 0)
        return nullptr;
    QTreeWidgetItem* item = topLevelItem(qBound(1, position, count) - 1);
    Select_Item(item);
    return item;
}

void List_View::Select_Item(QTreeWidgetItem* item)
{
    if (!item)
        return;
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
}

void List_View::Column_Sort(int column)
{
    if (sorted_ && sort_column_ == column)
        sort_order_ = sort_order_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sort_column_ = column;
    sorted_ = true;
    sortItems(sort_column_, sort_order_);
    Show_Sort_Indicator();
}

void List_View::Show_Sort_Indicator()
{
    header()->blockSignals(true);
    header()->setSortIndicatorShown(sorted_);
    if (sorted_)
        header()->setSortIndicator(sort_column_, sort_order_);
    header()->blockSignals(false);
}

void List_View::Set_Bold(QTreeWidgetItem* item, int sub_item, bool bold)
{
    if (!item)
        return;
    QFont font = item->font(sub_item);
    if (font.bold() == bold)
        return;
    font.setBold(bold);
    QTreeWidget* tree = item->treeWidget();
    if (!tree) {
        item->setFont(sub_item, font);
        return;
    }
    // The view's own answer to a changed row looks for it among all rows, one
    // by one: with a long list each mark would cost milliseconds. The rows
    // keep their height in bold, so a row in sight is repainted, no more.
    QAbstractItemModel* model = tree->model();
    const bool blocked = model->blockSignals(true);
    item->setFont(sub_item, font);
    model->blockSignals(blocked);
    if (!tree->isVisible())
        return;
    // The item's own row is not looked up: the model finds it by going
    // through all rows. The rows in sight are few, and each is at hand.
    const int top = tree->indexAt(QPoint(0, 0)).row();
    int bottom = tree->indexAt(QPoint(0, tree->viewport()->height() - 1)).row();
    if (bottom < 0)
        bottom = tree->topLevelItemCount() - 1;
    if (item->parent() || top < 0 || bottom - top > 1000) {
        tree->viewport()->update();
        return;
    }
    for (int row = top; row <= bottom; ++row) {
        if (tree->topLevelItem(row) == item) {
            tree->viewport()->update();
            return;
        }
    }
}

bool List_View::Is_Bold(const QTreeWidgetItem* item, int sub_item)
{
    return item && item->font(sub_item).bold();
}

void List_View::keyPressEvent(QKeyEvent* event)
{
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before)
        Q_EMIT Item_Click(currentItem());
}
