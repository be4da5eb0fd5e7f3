#pragma once
// The main window's general query, behind its list fills and look-ups.

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

#include "Database.h"
#include "Main_Window_Lists.h"

// A failure shows "Error on open temp record. msg: ..." with the query and
// gives no rows (*ok false).
QList<QSqlRecord> Open_List_Recordset(const QString& sql, const QVariantList& params = {}, bool* ok = nullptr);
// The same for lists of many thousand rows: they are read on a thread of
// their own, with its own connection, and each is made into a list row
// there by make (its columns by their place in the statement), while the
// window's thread takes them in slices of slice_rows by take, in their
// order, the window's events handled between the slices (user input waits
// for the whole list). False on a failure.
bool Read_List_Rows(const QString& sql, const QVariantList& params, int slice_rows,
                    const std::function<List_Row(const Row_Values&)>& make,
                    const std::function<void(QList<List_Row>&)>& take);

// The first column of every row, as text (a null reads as empty).
QStringList First_Column_Texts(const QList<QSqlRecord>& rows);
