#pragma once
// The statistics viewer: the daily activity counters in a grid, read when it
// opens, and the printed activity listing.

#include <QWidget>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

class StatsViewer : public QWidget {
    Q_OBJECT
public:
    explicit StatsViewer(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QTableView* DataGrid1 = nullptr;
    QPushButton* CreateReport = nullptr;

    void Form_Load();
    void CreateReport_Click();

private:
    QStandardItemModel* model_ = nullptr;
};
