#pragma once
// The main window's general query, behind its list fills and look-ups.

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

#include "Database.h"

// A failure shows "Error on open temp record. msg: ..." with the query and
// gives no rows (*ok false).
QList<QSqlRecord> Open_List_Recordset(const QString& sql, const QVariantList& params = {}, bool* ok = nullptr);
// The same, each row handed to each as it is read, its columns by their
// place in the statement: for fills of many thousand rows. False on a failure.
bool Read_List_Rows(const QString& sql, const QVariantList& params,
                    const std::function<void(const Row_Values&)>& each);

// The first column of every row, as text (a null reads as empty).
QStringList First_Column_Texts(const QList<QSqlRecord>& rows);
