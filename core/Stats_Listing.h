#pragma once
// The daily activity counters as the statistics viewer and its report list
// them: by day, across years, and within a day the smaller count first.

#include <QList>
#include <QString>
#include <QVariant>

struct Stats_Row {
    QString day;        // "mm/dd/yyyy"
    QString event;
    QVariant count;     // null when the row holds none
};

// Every Stats row in listing order. Throws Database_Error.
QList<Stats_Row> Read_Stats_Rows();
