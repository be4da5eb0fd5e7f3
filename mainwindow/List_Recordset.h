#pragma once
// The main window's general query, behind its list fills and look-ups.

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>

// A failure shows "Error on open temp record. msg: ..." with the query and
// gives no rows (*ok false).
QList<QSqlRecord> Open_List_Recordset(const QString& sql, const QVariantList& params = {}, bool* ok = nullptr);
// The same, each row as its values in the order of the statement's columns:
// for fills of many rows.
QList<QVariantList> Open_List_Values(const QString& sql, const QVariantList& params = {}, bool* ok = nullptr);

// The first column of every row, as text (a null reads as empty).
QStringList First_Column_Texts(const QList<QSqlRecord>& rows);
