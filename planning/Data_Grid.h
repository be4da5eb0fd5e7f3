#pragma once
// The grid of the viewer windows: a table of a recordset's rows under its
// field names, with an optional caption bar above it.

#include <QList>
#include <QPair>
#include <QString>

class QStandardItemModel;
class QTableView;
class QVBoxLayout;
class QWidget;

// Adds the window's label, the grid's caption (none when empty) and the grid
// to the layout. Columns are field names with widths in twips.
QTableView* Add_Data_Grid(QVBoxLayout* layout, const QString& label, const QString& caption,
                          const QList<QPair<QString, int>>& columns, QStandardItemModel* model);
