#include "List_Detail_Page.h"

#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include "Key_Toolbar.h"
#include "List_View.h"

List_Detail_Page::List_Detail_Page(const QString& caption, const char* name, QWidget* parent)
    : QGroupBox(caption, parent)
{
    setObjectName(QString::fromLatin1(name));
    setFlat(true);
}

void List_Detail_Page::Place(Key_Toolbar* list_toolbar, List_View* list, QWidget* entry)
{
    list_ = list;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    splitter_ = new QSplitter(Qt::Horizontal);
    auto* list_side = new QWidget;
    auto* list_layout = new QVBoxLayout(list_side);
    list_layout->setContentsMargins(0, 0, 0, 0);
    list_layout->addWidget(list_toolbar);
    list_layout->addWidget(list);
    splitter_->addWidget(list_side);
    splitter_->addWidget(entry);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 1);
    layout->addWidget(splitter_);
}

void List_Detail_Page::Select_Row_At(int& Position)
{
    const int rows = list_->Row_Count();
    if (rows == 0) {
        Show_No_Entry();
        return;
    }
    if (Position >= rows)
        Position = rows;
    if (Position < 1)
        Position = 1;
    Show_Entry(list_->Key_At(Position));
    list_->Select_At(Position);
}

void List_Detail_Page::Fit_List_Side()
{
    int columns = 0;
    for (int i = 0; i < list_->columnCount(); ++i)
        columns += list_->columnWidth(i);
    const int wanted =
        columns + 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width() + 4;
    const int whole = window()->width() - 40;
    const int side = qMin(wanted, whole / 2 + whole / 8);
    splitter_->setSizes({side, qMax(whole - side, 1)});
}
