#pragma once
// A main window stand-in for engine tests: keeps the rows the engine adds to
// its lists and the texts of its status panels, registered while it lives.

#include <QHash>
#include <QMap>
#include <QSet>

#include "Main_Window_Lists.h"

class Recording_Main_Window : public Main_Window_Lists {
public:
    Recording_Main_Window();
    ~Recording_Main_Window() override;

    bool Add_List_Row(Main_List list, const List_Row& row) override;
    int Remove_List_Row(Main_List list, const QString& key) override;
    void Select_List_Row(Main_List list, int position) override;
    int List_Row_Count(Main_List list) const override;
    QString List_Row_Key(Main_List list, int position) const override;
    void Set_Status_Panel(int panel, const QString& text) override;
    void Set_Status_Panel_Visible(int panel, bool visible) override;
    QString Shown_Contact_ID() const override;
    void Refresh_Contact_List() override;
    void Outbox_Entry_Gone(qint64 Outbox_ID) override { gone_outbox_entries << Outbox_ID; }
    void Set_Contact_Pending_Mark(qint64 ContactID, bool Pending) override { pending_marks[ContactID] = Pending; }

    QList<List_Row> Rows(Main_List list) const;
    const List_Row* Row(Main_List list, const QString& key) const;

    QMap<int, QString> panels;            // last text of each panel
    QMap<int, QStringList> panel_history; // every text each panel showed
    QMap<int, bool> panel_visible;
    QString shown_contact_id;
    int selected = 0;
    QList<qint64> gone_outbox_entries;
    QMap<qint64, bool> pending_marks;     // the last mark each contact's row was given

private:
    QHash<int, QList<List_Row>> rows_;
};
