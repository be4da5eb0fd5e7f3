#pragma once
// An editable drop-down box over a lookup table (titles, relationships): the
// table's values, then two command entries. Choosing "* Add New ..." asks for
// a value and adds it to the table and the box; "* Delete ..." opens the
// table's delete dialog. A command that ends without a value leaves the box
// showing the value it showed before.

#include <QComboBox>
#include <functional>

class Lookup_Combo : public QComboBox {
    Q_OBJECT
public:
    struct Lookup {
        QString table;               // the lookup table and its one column
        QString column;
        QString add_entry;           // the command entries
        QString delete_entry;
        QString add_prompt;          // the question of the add command
        QString add_title;           // the title of the add command's boxes
        QString duplicate_message;   // the value is in the table already
        QString refused_text;        // a text no value may hold (empty: none)
        QString refused_message;
        bool commands_when_typed;    // typing a command entry's text runs it too
    };

    Lookup_Combo(const char* name, Lookup lookup, QWidget* parent = nullptr);

    // The delete command: shows the table's delete dialog and refills the box.
    void Set_Delete_Command(std::function<void()> command);
    // The table's values (empty ones left out) and the commands; the text stays.
    void Set_Values(const QStringList& values);
    // Shows a stored value, the one a command that chose none goes back to.
    void Show_Value(const QString& text);

Q_SIGNALS:
    // The user typed or chose a value, or ran a command; the text now shown.
    void Value_Edited(const QString& text);

private:
    void Take_Value(bool run_commands);
    bool Is_Command(const QString& text) const;
    void Add_Value();

    Lookup lookup_;
    std::function<void()> delete_command_;
    QString previous_;
};
