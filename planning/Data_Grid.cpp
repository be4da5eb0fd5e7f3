#include "Data_Grid.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

QTableView* Add_Data_Grid(QVBoxLayout* layout, const QString& label, const QString& caption,
                          const QList<QPair<QString, int>>& columns, QStandardItemModel* model)
{
    auto* grid = new QTableView;
    grid->setObjectName("DataGrid1");
    auto* title = new QLabel(label);
    title->setObjectName("Label1");
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    title->setBuddy(grid);
    layout->addWidget(title);
    // The caption bar sits on the grid, as one piece.
    auto* framed = new QVBoxLayout;
    framed->setSpacing(0);
    if (!caption.isEmpty()) {
        auto* bar = new QLabel(caption);
        bar->setObjectName("DataGrid1_Caption");
        bar->setAlignment(Qt::AlignCenter);
        bar->setAutoFillBackground(true);
        bar->setBackgroundRole(QPalette::Mid);
        bar->setForegroundRole(QPalette::Light);
        bar->setContentsMargins(0, 3, 0, 3);
        framed->addWidget(bar);
    }
    framed->addWidget(grid, 1);
    layout->addLayout(framed, 1);

    model->setColumnCount(columns.size());
    for (int i = 0; i < columns.size(); ++i)
        model->setHeaderData(i, Qt::Horizontal, columns[i].first);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(true);
    // Widths of the list columns elsewhere: a tenth of the twips.
    for (int i = 0; i < columns.size(); ++i)
        grid->setColumnWidth(i, qMax(40, columns[i].second / 10));
    return grid;
}
