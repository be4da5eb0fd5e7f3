#include "StatsViewer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "Data_Grid.h"
#include "Database.h"
#include "Dialogs.h"
#include "Stats_Listing.h"
#include "rptProspectStats.h"

StatsViewer::StatsViewer(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName("StatsViewer");
    setWindowTitle("Brackenlead for Windows Statistics");
    auto* layout = new QVBoxLayout(this);
    model_ = new QStandardItemModel(this);
    DataGrid1 = Add_Data_Grid(layout, "Prospects Followup Statistics", "Brackenlead for Windows Statistics",
                              {{"EventDate", 1000}, {"Event", 4000}, {"NumOfEvents", 1000}}, model_);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Label1 = findChild<QLabel*>("Label1");
    CreateReport = new QPushButton("&Create Report");
    CreateReport->setObjectName("CreateReport");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CreateReport);
    layout->addLayout(buttons);
    connect(CreateReport, &QPushButton::clicked, this, &StatsViewer::CreateReport_Click);
    resize(680, 460);
    Form_Load();
}

void StatsViewer::Form_Load()
{
    model_->removeRows(0, model_->rowCount());
    QList<Stats_Row> rows;
    try {
        rows = Read_Stats_Rows();
    } catch (const Program_Error& e) {
        Message_Box("Error on reading the statistics: " + e.Description());
        return;
    }
    for (const Stats_Row& row : rows) {
        auto* count = new QStandardItem(row.count.isNull() ? QString() : row.count.toString());
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        model_->appendRow({new QStandardItem(row.day), new QStandardItem(row.event), count});
    }
    if (model_->rowCount() > 0)
        DataGrid1->setCurrentIndex(model_->index(0, 0));
}

void StatsViewer::CreateReport_Click()
{
    rptProspectStats::Show();
}
