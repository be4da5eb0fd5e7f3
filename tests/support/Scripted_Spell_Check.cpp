#include "Scripted_Spell_Check.h"

#include <QRegularExpression>

#include "Spell_Check.h"

Scripted_Spell_Check::Scripted_Spell_Check()
{
    Set_Spell_Check_Handler([this](const QString& text) {
        checked_texts << text;
        if (cancel)
            return text;
        QString corrected = text;
        for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
            const QRegularExpression word("\\b" + QRegularExpression::escape(it.key()) + "\\b",
                                          QRegularExpression::UseUnicodePropertiesOption);
            corrected.replace(word, it.value());
        }
        return corrected;
    });
}

Scripted_Spell_Check::~Scripted_Spell_Check()
{
    Set_Spell_Check_Handler({});
}
