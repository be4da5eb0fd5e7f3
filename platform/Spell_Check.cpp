#include "Spell_Check.h"

namespace {
Spell_Check_Handler test_handler;
Spell_Check_Handler window_handler;
} // namespace

QString Spell_Check(const QString& Text)
{
    if (test_handler)
        return test_handler(Text);
    if (window_handler)
        return window_handler(Text);
    return Text;
}

void Set_Spell_Check_Handler(Spell_Check_Handler handler)
{
    test_handler = std::move(handler);
}

void Register_Spell_Check_Window(Spell_Check_Handler window)
{
    window_handler = std::move(window);
}
