#pragma once
// The pickers of a contact group by one value of the contacts (relationship,
// product): a list of the values, the first row standing for the empty value,
// and Select and Cancel. Select, a double-click or Enter makes the group of
// the contacts with the chosen value the current one, then closes.

#include <QDialog>
#include <functional>
#include <optional>

#include "pages/Contacts_Page.h"

class Key_Toolbar;
class List_View;
class QTreeWidgetItem;

// Where a picker hands the group it chose: the clause, and the caption when
// the picker sets one.
using Group_Chosen = std::function<void(const Where_Clause& Clause, const std::optional<QString>& Caption)>;

class Group_Value_Picker : public QDialog {
    Q_OBJECT
public:
    Key_Toolbar* Toolbar1 = nullptr;
    List_View* List = nullptr;
    // The key of the last chosen row ("" until one is chosen).
    QString Selected_Item_Key;

    void Toolbar1_ButtonClick(const QString& Key);
    void List_DblClick();

protected:
    struct Kind {
        QString caption;
        QString list_name;
        QString column_caption;
        QString first_row_text;
        QString empty_code;       // the first row's key
        QString row_prefix;
        QString query;
        QString field;
        QString select_tip;
        QString select_icon;
        QString cancel_key;
        QString cancel_tip;
        QString empty_caption;    // the caption of the group with the empty value
        QString column;           // the contacts' column compared
    };
    Group_Value_Picker(QWidget* parent, const Kind& kind, Group_Chosen chosen);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill_List();
    void Apply_Selection(const QString& Key);

    Kind kind_;
    Group_Chosen chosen_;
};
