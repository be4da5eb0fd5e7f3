#pragma once
// Fixtures for the lead-file tests: file import sources, a main window stand-in
// that records its status panels and list refreshes, and contact read-back.

#include <QList>
#include <QMap>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "Database.h"
#include "Main_Window_Lists.h"

// Adds a ContactSources row; unset columns keep the table's defaults
// (positions 1 to 4 for first name, middle initial, last name and e-mail).
qint64 Add_Contact_Source(Database& db, const QString& name, const QVariantMap& values);

// Every contact as "FirstName|MiddleInitial|LastName|Email", by ID.
QStringList Contact_Keys(Database& db);
QList<QSqlRecord> Contact_Rows(Database& db);
int Contact_Count(Database& db);

// Registers itself as the main window for its lifetime.
class Recording_Window : public Main_Window_Lists {
public:
    Recording_Window();
    ~Recording_Window() override;

    bool Add_List_Row(Main_List, const List_Row&) override { return true; }
    int Remove_List_Row(Main_List, const QString&) override { return 0; }
    void Select_List_Row(Main_List, int) override {}
    int List_Row_Count(Main_List) const override { return 0; }
    QString List_Row_Key(Main_List, int) const override { return {}; }
    void Set_Status_Panel(int panel, const QString& text) override;
    void Set_Status_Panel_Visible(int, bool) override {}
    QString Shown_Contact_ID() const override { return {}; }
    void Refresh_Contact_List() override { ++refreshes; }

    QMap<int, QString> panels;            // the text each panel shows now
    QList<QPair<int, QString>> history;   // every text written, in order
    bool keep_history = true;
    int refreshes = 0;
    bool Was_Shown(int panel, const QString& text) const;
};
