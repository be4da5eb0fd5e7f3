#pragma once
// Stands in for the spell-check dialog: changes the words it was told to
// change (whole words, as spelt) and records every text it was handed.

#include <QHash>
#include <QString>
#include <QStringList>

class Scripted_Spell_Check {
public:
    Scripted_Spell_Check();
    ~Scripted_Spell_Check();

    QHash<QString, QString> changes;   // word -> its replacement
    bool cancel = false;               // hand every text back as it came
    QStringList checked_texts;
};
