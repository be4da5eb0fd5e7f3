#include "Stats_Listing.h"

#include <QSqlRecord>

#include "Data_Access.h"
#include "Shared_Routines.h"

QList<Stats_Row> Read_Stats_Rows()
{
    QList<Stats_Row> rows;
    // The day is stored as a date, which sorts across years as its
    // "mm/dd/yyyy" text would not.
    for (const QSqlRecord& row : Open_Database().Select(
             "SELECT EventDate, Event, NumOfEvents FROM Stats ORDER BY EventDate, NumOfEvents, rowid")) {
        const QDateTime day = Db_To_Date(row.value(0));
        rows << Stats_Row{day.isValid() ? day.toString("MM/dd/yyyy") : Null_To_Empty(row.value(0)),
                          Null_To_Empty(row.value(1)),
                          Is_Null(row.value(2)) ? QVariant() : QVariant(row.value(2).toLongLong())};
    }
    return rows;
}
