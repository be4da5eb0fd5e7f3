#pragma once
// The shown contact's record as its two frames (the contact head and the
// contact details) show and store it: each puts the columns of its boxes
// into one change, which is written as one update of the contact's row.

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>

// How the workflow start date stands in its box, and is read back from it.
inline constexpr const char* Workflow_Date_Format = "MM/dd/yyyy HH:mm:ss";

// A true/false column of a record (null reads as false).
bool Contact_Flag(const QSqlRecord& record, const char* field);

// Column values to write into the contact's row.
struct Contact_Changes {
    QStringList columns;
    QVariantList values;
    void Set(const char* column, const QVariant& value);
};

// Writes the changes into the Contacts row with that ID (Database_Error on failure).
void Update_Contact(qint64 ID, const Contact_Changes& changes);
