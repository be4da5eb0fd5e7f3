#pragma once
// The trees of the planning window: every node carries its text key (a
// three-letter kind and the data it stands for) and an icon of the image
// list; the user cannot rename a node. A node is "clicked" by the mouse or
// by Enter or Space on the current node; the arrow keys only move.

#include <QString>
#include <QTreeWidget>

class Planning_Tree : public QTreeWidget {
    Q_OBJECT
public:
    explicit Planning_Tree(const QString& name, QWidget* parent = nullptr);

    // Adds a node at the end of the parent's children (nullptr: at the top),
    // or at its place in text order when sorted is set.
    QTreeWidgetItem* Add_Node(QTreeWidgetItem* parent, const QString& key, const QString& text,
                              const QString& image, bool sorted = false);
    QTreeWidgetItem* Find_Node(const QString& key) const;
    // Removes the node with everything under it; false when there is none.
    bool Remove_Node(const QString& key);
    // Makes the node current and selected, and brings it into sight.
    void Select_Node(QTreeWidgetItem* node);

    static QString Node_Key(const QTreeWidgetItem* node);
    // The kind (first three characters) and the rest of a key.
    static QString Key_Kind(const QString& key) { return key.left(3); }
    static QString Key_Data(const QString& key) { return key.mid(3); }

    // Expands a collapsed node, collapses an expanded one.
    static void Toggle(QTreeWidgetItem* node);

Q_SIGNALS:
    void Node_Click(QTreeWidgetItem* node);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
