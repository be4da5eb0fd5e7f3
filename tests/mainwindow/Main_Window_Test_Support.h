#pragma once
// Helpers of the main-window tests: a started window, answering a modal dialog from inside its
// own event loop, and clicks on list rows and headers.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "Find_Control.h"
#include "Form_Conventions.h"
#include "Key_Toolbar.h"
#include "List_View.h"
#include "Shown_Contact.h"
#include "Test_Maildir.h"
#include "Test_Support.h"
#include "frmContactSystem.h"

// A started main window over a fresh database in its own working folder.
struct Started_Window {
    Test_Program_Folder folder;
    Scripted_Dialogs dialogs;
    Test_Clock clock;
    QString old_folder = QDir::currentPath();
    std::unique_ptr<frmContactSystem> window;

    Started_Window()
    {
        QDir::setCurrent(folder.Folder());
        // As the program runs.
        Install_Form_Conventions();
    }
    ~Started_Window()
    {
        window.reset();
        QDir::setCurrent(old_folder);
    }
    frmContactSystem& Start()
    {
        window = std::make_unique<frmContactSystem>();
        if (!window->Start_Up())
            qFatal("start-up failed");
        return *window;
    }
    Database Db() const { return folder.Db(); }
};

// A started window with a mail store of its own (the tab strip looks for new
// mail: there is none), the start-up messages forgotten.
struct Window_With_Mail_Store {
    Test_Maildir maildir;
    Started_Window s;
    frmContactSystem* w = nullptr;

    frmContactSystem& Start()
    {
        w = &s.Start();
        s.dialogs.messages.clear();
        return *w;
    }
    template <class T>
    T* C(const char* name)
    {
        return Control<T>(w, name);
    }
};

// Runs answer on the next modal dialog as soon as it is shown (from inside its
// exec()). The answer must close it, or arrange for it to be closed.
inline void When_Modal_Shown(std::function<void(QWidget*)> answer, int tries = 200)
{
    QTimer::singleShot(10, qApp, [answer, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            answer(modal);
            return;
        }
        if (tries > 0)
            When_Modal_Shown(answer, tries - 1);
    });
}

inline void Click_Row(QTreeWidget* list, QTreeWidgetItem* item)
{
    list->scrollToItem(item);
    const QRect rect = list->visualItemRect(item);
    const QPoint at(qMin(rect.center().x(), list->viewport()->width() / 2), rect.center().y());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

inline void Click_Header(QTreeWidget* list, int column)
{
    QHeaderView* header = list->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

inline QStringList Column_Texts(const QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

// A click on a toolbar button, or on an entry of a button's drop-down menu,
// by the keys the handlers compare.
inline void Click_Tool(const QObject* root, const char* toolbar, const QString& key)
{
    QAction* button = Control<Key_Toolbar>(root, toolbar)->Button(key);
    if (!button)
        qFatal("no button %s on %s", qPrintable(key), toolbar);
    button->trigger();
}

// A mouse click on the toolbar button of that key, where it stands on screen.
inline void Click_Button_On_Screen(const QObject* root, const char* toolbar, const QString& key)
{
    auto* bar = Control<Key_Toolbar>(root, toolbar);
    QWidget* button = bar->widgetForAction(bar->Button(key));
    QVERIFY(button && button->isVisible() && button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// A mouse click on the tab strip's tab (1-based).
inline void Click_Tab_On_Screen(const QObject* root, int number)
{
    auto* strip = Control<QTabBar>(root, "TabStrip1");
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(number - 1).center());
}

inline void Click_Tool_Menu(const QObject* root, const char* toolbar, const QString& button, const QString& entry)
{
    auto* bar = Control<Key_Toolbar>(root, toolbar);
    QAction* item = bar->Menu_Entry(bar->Button(button), entry);
    if (!item)
        qFatal("no entry %s under %s of %s", qPrintable(entry), qPrintable(button), toolbar);
    item->trigger();
}

// Chooses the entry of a drop-down list as the user does.
inline void Choose(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    if (index < 0)
        qFatal("no entry %s in %s", qPrintable(text), qPrintable(box->objectName()));
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

inline QWidget* Frame(const QObject* root, const char* name)
{
    return Control<QWidget>(root, name);
}
