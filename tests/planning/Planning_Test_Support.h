#pragma once
// What the planning window's tests stand on: a fresh program folder, the test
// clock, scripted dialogs and spell checker, the window opened through its
// menu entry, and the mouse and keyboard on its trees, tabs and boxes.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QLineEdit>
#include <QMap>
#include <functional>
#include <QTabBar>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>

#include "Dialogs.h"
#include "Form_Conventions.h"
#include "GlobalVariables.h"
#include "Planning_Tree.h"
#include "Settings.h"
#include "Spell_Check.h"
#include "Test_Support.h"
#include "frmPlanning.h"

struct Planning_Fixture {
    Test_Program_Folder folder;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    Database db{folder.Db()};
    QStringList spell_checked;             // every text handed to the checker
    QMap<QString, QString> corrections;    // word -> corrected word

    Planning_Fixture()
    {
        // As the program runs.
        Install_Form_Conventions();
        Update_Settings([](Program_Settings& s) {
            s.DefaultEmailAddress = "sales@example.com";
            s.DefaultEmailName = "Sales Desk";
        });
        Set_Spell_Check_Handler([this](const QString& text) {
            spell_checked << text;
            QString checked = text;
            for (auto it = corrections.cbegin(); it != corrections.cend(); ++it)
                checked.replace(it.key(), it.value());
            return checked;
        });
    }

    ~Planning_Fixture()
    {
        delete Planning_Window();
        Set_Spell_Check_Handler({});
    }

    frmPlanning* Open()
    {
        Show_Planning_Window();
        frmPlanning* window = Planning_Window();
        if (window && !QTest::qWaitForWindowExposed(window))
            qWarning("the planning window was not shown");
        return window;
    }

    template <class T> T* Find(const QString& name) const
    {
        T* child = Planning_Window() ? Planning_Window()->findChild<T*>(name) : nullptr;
        if (!child)
            qWarning("no %s in the planning window", qPrintable(name));
        return child;
    }

    Planning_Tree* Tree(const QString& name) const { return Find<Planning_Tree>(name); }
    QLineEdit* Line(const QString& name) const { return Find<QLineEdit>(name); }
    QTabBar* Tabs(const QString& name) const { return Find<QTabBar>(name); }
};

// A mouse click on the node, as the user does it (its parents must be open).
inline bool Click_Node(Planning_Tree* tree, const QString& key)
{
    QTreeWidgetItem* node = tree ? tree->Find_Node(key) : nullptr;
    if (!node)
        return false;
    tree->scrollToItem(node);
    const QRect rect = tree->visualItemRect(node);
    if (!rect.isValid())
        return false;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    return true;
}

// Clicks a node that holds others unless it is open already.
inline void Open_Node(Planning_Tree* tree, const QString& key)
{
    QTreeWidgetItem* node = tree->Find_Node(key);
    if (node && (node->childCount() == 0 || !node->isExpanded()))
        Click_Node(tree, key);
}

inline void Click_Tab(QTabBar* bar, int index)
{
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

// Replaces the box's text by typing it (an empty text deletes what it held).
inline void Type_Into(QWidget* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

// The tree as text: one line per node, indented by depth, "key | text".
inline QStringList Tree_Lines(const QTreeWidget* tree)
{
    QStringList lines;
    std::function<void(const QTreeWidgetItem*, int)> walk = [&](const QTreeWidgetItem* node, int depth) {
        lines << QString(depth * 2, ' ') + Planning_Tree::Node_Key(node) + " | " + node->text(0);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), depth + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
    return lines;
}

inline bool Highlighted(const QTreeWidget* tree, const QString& key)
{
    const QTreeWidgetItem* node = static_cast<const Planning_Tree*>(tree)->Find_Node(key);
    return node && node->data(0, Qt::BackgroundRole).isValid();
}
