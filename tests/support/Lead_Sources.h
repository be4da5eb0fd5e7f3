#pragma once
// Fixtures for the lead-file tests: file import sources, a main window stand-in
// that records its status panels in order, and contact read-back.

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "Database.h"
#include "Recording_Main_Window.h"

// Adds a ContactSources row; unset columns keep the table's defaults
// (positions 1 to 4 for first name, middle initial, last name and e-mail).
qint64 Add_Contact_Source(Database& db, const QString& name, const QVariantMap& values);

// Every contact as "FirstName|MiddleInitial|LastName|Email", by ID.
QStringList Contact_Keys(Database& db);
QList<QSqlRecord> Contact_Rows(Database& db);
int Contact_Count(Database& db);

// The engine's main window stand-in that also keeps every panel text in order.
class Recording_Window : public Recording_Main_Window {
public:
    void Set_Status_Panel(int panel, const QString& text) override;
    void Refresh_Contact_List() override { ++contact_list_refreshes; }

    int contact_list_refreshes = 0;
    QList<QPair<int, QString>> history;   // every text written, in order
    bool keep_history = true;
    bool Was_Shown(int panel, const QString& text) const;
};
