#include "Lookup_Combo.h"

#include <QLineEdit>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Named_Controls.h"

Lookup_Combo::Lookup_Combo(const char* name, Lookup lookup, QWidget* parent)
    : QComboBox(parent)
    , lookup_(std::move(lookup))
{
    setObjectName(QString::fromLatin1(name));
    Set_Up_Choice_Box(this, true);
    // Typing and choosing an entry; text put in by the program is no edit.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { Take_Value(lookup_.commands_when_typed); });
    connect(this, &QComboBox::activated, this, [this] { Take_Value(true); });
}

void Lookup_Combo::Set_Delete_Command(std::function<void()> command)
{
    delete_command_ = std::move(command);
}

void Lookup_Combo::Set_Values(const QStringList& values)
{
    // The commands also with an empty table: else its first value could never be added.
    Refill_Choices(this, values + QStringList{lookup_.add_entry, lookup_.delete_entry});
}

void Lookup_Combo::Show_Value(const QString& text)
{
    setEditText(text);
    previous_ = currentText();
}

bool Lookup_Combo::Is_Command(const QString& text) const
{
    return text == lookup_.add_entry || text == lookup_.delete_entry;
}

void Lookup_Combo::Take_Value(bool run_commands)
{
    const QString text = currentText();
    if (run_commands && Is_Command(text)) {
        if (text == lookup_.add_entry)
            Add_Value();
        else if (delete_command_)
            delete_command_();
        const QString now = currentText();
        if (Is_Command(now) || now.isEmpty())
            setEditText(previous_);
    }
    previous_ = currentText();
    Q_EMIT Value_Edited(previous_);
}

void Lookup_Combo::Add_Value()
{
    bool ok = false;
    const QString answer = Input_Box(lookup_.add_prompt, lookup_.add_title, "", &ok);
    if (!lookup_.refused_text.isEmpty() && answer.contains(lookup_.refused_text)) {
        Message_Box(lookup_.refused_message, vbOKOnly, lookup_.add_title);
        return;
    }
    if (!ok || answer.isEmpty())
        return;
    try {
        Database db = Open_Database();
        // The table's text comparison ignores letter case, as the lookups always have.
        const bool exists = db.Scalar("SELECT COUNT(*) FROM " + lookup_.table + " WHERE " + lookup_.column
                                          + " = ?",
                                      {answer})
                                .toLongLong()
                            > 0;
        if (exists) {
            Message_Box(lookup_.duplicate_message, vbOKOnly, lookup_.add_title);
        } else {
            db.Insert("INSERT INTO " + lookup_.table + " (" + lookup_.column + ") VALUES (?)", {answer});
            // Before the command entries.
            int at = count();
            while (at > 0 && Is_Command(itemText(at - 1)))
                --at;
            insertItem(at, answer);
        }
        const int index = findText(answer, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            setCurrentIndex(index);
    } catch (const Program_Error& e) {
        Message_Box("Error on adding to the list: " + e.Description(), vbOKOnly, lookup_.add_title);
    }
}
