#pragma once
#include <QString>

// Creates a new database file at path from the schema with its default rows.
// Returns false and sets *error when the file exists or a statement fails.
bool Create_Empty_Database(const QString& path, QString* error = nullptr);

// The schema's statements, in order.
QStringList Schema_Statements();
