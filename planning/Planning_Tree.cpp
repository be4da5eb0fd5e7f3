#include "Planning_Tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidgetItemIterator>

#include "Image_List.h"

Planning_Tree::Planning_Tree(const QString& name, QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(name);
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(16);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A click toggles the nodes that have children; a double click must not
    // toggle them a second time.
    setExpandsOnDoubleClick(false);
    // Long node texts scroll rather than being cut off.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { Q_EMIT Node_Click(node); });
}

QTreeWidgetItem* Planning_Tree::Add_Node(QTreeWidgetItem* parent, const QString& key,
                                         const QString& text, const QString& image, bool sorted)
{
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, Qt::UserRole, key);
    node->setIcon(0, Image_List_Icon(image));
    node->setToolTip(0, text);
    const int count = parent ? parent->childCount() : topLevelItemCount();
    int at = count;
    if (sorted) {
        at = 0;
        while (at < count) {
            const QTreeWidgetItem* sibling = parent ? parent->child(at) : topLevelItem(at);
            if (QString::compare(sibling->text(0), text, Qt::CaseInsensitive) > 0)
                break;
            ++at;
        }
    }
    if (parent)
        parent->insertChild(at, node);
    else
        insertTopLevelItem(at, node);
    return node;
}

QTreeWidgetItem* Planning_Tree::Find_Node(const QString& key) const
{
    for (QTreeWidgetItemIterator it(const_cast<Planning_Tree*>(this)); *it; ++it) {
        if (Node_Key(*it) == key)
            return *it;
    }
    return nullptr;
}

bool Planning_Tree::Remove_Node(const QString& key)
{
    QTreeWidgetItem* node = Find_Node(key);
    if (!node)
        return false;
    delete node;
    return true;
}

void Planning_Tree::Select_Node(QTreeWidgetItem* node)
{
    if (!node)
        return;
    setCurrentItem(node);
    scrollToItem(node);
}

QString Planning_Tree::Node_Key(const QTreeWidgetItem* node)
{
    return node ? node->data(0, Qt::UserRole).toString() : QString();
}

void Planning_Tree::Toggle(QTreeWidgetItem* node)
{
    node->setExpanded(!node->isExpanded());
}

void Planning_Tree::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (QTreeWidgetItem* node = currentItem()) {
            Q_EMIT Node_Click(node);
            event->accept();
            return;
        }
        break;
    default: break;
    }
    QTreeWidget::keyPressEvent(event);
}
