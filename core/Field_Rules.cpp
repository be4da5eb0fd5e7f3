#include "Field_Rules.h"

#include <cmath>

#include "Shared_Routines.h"

Email_Field_Label Email_Field_Label_Table[Email_Field_Label_Count];

namespace {

// The rules count characters from 1, as the filter editor shows them; 0 means
// "not found". Positions are full width, so long messages are searched whole.
using Pos = qsizetype;

const QChar CR = QChar(13);
const QChar LF = QChar(10);

bool Null_Or_Empty(const QVariant& value)
{
    return Is_Null(value) || value.toString().isEmpty();
}

// Position of what in t searched from start (1-based); an empty text is
// found at the start itself.
Pos In_Str(Pos start, const QString& t, const QString& what)
{
    if (start < 1)
        start = 1;
    if (start > t.size())
        return 0;
    if (what.isEmpty())
        return start;
    const Pos at = t.indexOf(what, start - 1, Qt::CaseSensitive);
    return at < 0 ? 0 : at + 1;
}

// Character i (1-based); a NUL beyond the text, which ends every scan.
QChar Char_At(const QString& t, Pos i)
{
    return (i >= 1 && i <= t.size()) ? t.at(i - 1) : QChar();
}

// length characters from start (1-based); a length below 1 gives nothing.
QString Mid(const QString& t, Pos start, Pos length)
{
    if (start < 1 || start > t.size() || length < 1)
        return QString("");
    return t.mid(start - 1, length);
}

// From start to the end.
QString Mid(const QString& t, Pos start)
{
    return Mid(t, start, t.size());
}

// Removes leading and trailing blanks, nothing else.
QString Trim(const QString& text)
{
    Pos first = 0;
    Pos last = text.size();
    while (first < last && text.at(first) == QChar(' '))
        ++first;
    while (last > first && text.at(last - 1) == QChar(' '))
        --last;
    return text.mid(first, last - first);
}

QString Search_Text(const QVariant& text)
{
    return Null_To_Empty(text) + "\r\n";
}

// Where the label stands: searched after the first after-label when there is
// one, else from the top; 0 when the label is null or not found.
Pos Find_Label(const QString& t, const QVariant& Label, const QVariant& After_Label)
{
    const Pos anchor = Null_Or_Empty(After_Label) ? 0 : In_Str(1, t, After_Label.toString());
    if (Is_Null(Label))
        return 0;
    return In_Str(anchor > 0 ? anchor + 1 : 1, t, Label.toString());
}

} // namespace

void Init_Email_Field_Names()
{
    static const char* const rows[Email_Field_Label_Count][2] = {
        {"Firstname", "FirstName"},
        {"Lastname", "LastName"},
        {"Address", "Address"},
        {"City", "City"},
        {"State", "State"},
        {"Zip", "Zipcode"},
        {"Email", "Email"},
        {"Home Phone", "Homephone"},
        {"Work Phone", "Workphone"},
        {"Company", "Company"},
        {"Product", "Product"},
        {"Notes", "Notes"},
        {"Date Received", "Contact_Received_Date"},
        {"Title", "Contact_Title"},
        {"Relationship", "Contact_Relationship"},
        {"Best Time to Call", "Best_Time_To_Contact"},
        {"Options", "Options"},
        {"City, State", ""},
        {"State Zip", ""},
        {"City, State Zip", ""},
        {"Name", ""},
        {"Mr/Mrs Name", ""},
        {"Cell Phone", "Cellphone"},
        {"Referred By", "Referred_By"},
        {"", ""},
    };
    for (int i = 0; i < Email_Field_Label_Count; ++i)
        Email_Field_Label_Table[i] = {QString(rows[i][0]), QString(rows[i][1])};
}

QString Label_Search_Value(const QVariant& Text, const QVariant& Label, const QVariant& After_Label,
                           const QVariant& End_Label)
{
    const QString t = Search_Text(Text);
    const Pos pos = Find_Label(t, Label, After_Label);
    if (pos == 0)
        return QString("");
    const QString label = Label.toString();

    // Skip blanks, control characters and everything above "z".
    Pos i = pos + label.size() - 1;
    QChar c;
    do {
        ++i;
        if (i > t.size())
            return QString("");
        c = Char_At(t, i);
    } while ((c < QChar('!') || c > QChar('z')) && c != CR);
    if (c == CR)
        return QString("");

    const Pos start = i;
    const Pos e = Null_Or_Empty(End_Label) ? In_Str(start, t, QString(CR))
                                           : In_Str(start + 1, t, End_Label.toString());
    const QString value = e == 0 ? QString("") : Trim(Mid(t, start, e - start));
    return Trim(Replace_All(value, "\r\n", QString(" ")));
}

QString Label_Search_Word(int /*Word_Number*/, const QVariant& Text, const QVariant& Label,
                          const QVariant& After_Label, const QVariant& /*End_Label*/,
                          const QString& Separator, int N)
{
    const QString t = Search_Text(Text);
    // No after-label searches from the top, so a label that opens the text is found.
    const Pos pos = Find_Label(t, Label, After_Label);
    if (pos == 0)
        return QString("");
    const QString label = Label.toString();

    // Every scan stops at the CR that ends the value's line; running off the
    // text (a label that ends with the text) finds nothing.
    auto next = [&t](Pos& at, QChar& c) {
        ++at;
        c = Char_At(t, at);
        return at <= t.size();
    };

    Pos i = pos + label.size();
    QChar c;
    do {
        if (!next(i, c))
            return QString("");
    } while ((c < QChar('0') || c > QChar('z')) && c != CR);
    if (c == CR)
        return QString("");

    Pos j = i;
    do {
        if (!next(j, c))
            return QString("");
    } while (QString(c) != Separator && c != CR);
    if (c == CR)
        return QString("");

    for (int word = 0; word < N; ++word) {
        do {
            if (!next(j, c))
                return QString("");
        } while (c != QChar(' ') && c != CR);
        if (c == CR)
            return QString("");
    }

    Pos k = j;
    do {
        if (!next(k, c))
            return QString("");
    } while (c != QChar(' ') && c != CR);
    return Trim(Mid(t, j, k - j));
}

QString Line_Instance_Search_Value(const QVariant& Text, const QVariant& Label,
                                   const QVariant& Instance)
{
    if (Is_Null(Text) || Is_Null(Instance))
        return QString("");
    // Instances count from 1; anything else names no line.
    bool number = false;
    const double value = Trim(Instance.toString()).toDouble(&number);
    if (!number || value < 1 || value != std::floor(value) || value > 1e9)
        return QString("");
    const qint64 instance = qint64(value);

    const QString t = Search_Text(Text);
    Pos pos = 1;
    if (!Null_Or_Empty(Label)) {
        const Pos p = In_Str(1, t, Label.toString());
        if (p > 0) {
            const Pos q = In_Str(p, t, QString(LF));
            pos = q > 0 ? q + 1 : 1;
        }
    }

    qint64 count = 0;
    Pos lf = 0;
    for (;;) {
        if (count == instance)
            return Trim(Mid(t, pos, lf - 1 - pos));
        lf = In_Str(pos, t, QString(LF));
        if (lf == 0)
            return QString("");
        const QString line = Trim(Mid(t, pos, lf - pos));
        if (line == QString(CR)) {
            pos = lf + 1;
            if (pos > t.size())
                return QString("");
            continue;
        }
        ++count;
        if (count < instance)
            pos = lf + 1;
    }
}

QString Get_First_Word(QString& Text)
{
    Text = Trim(Text);
    const Pos p = In_Str(1, Text, " ");
    if (p > 0)
        return Trim(Text.left(p));
    return Text;
}

QString Get_After_First_Word(QString& Text)
{
    Text = Trim(Text);
    const Pos p = In_Str(1, Text, " ");
    if (p >= 1)
        return Trim(Mid(Text, p));
    return QString("");
}

QString Get_Second_Word(QString& Text)
{
    Text = Trim(Text);
    const Pos p1 = In_Str(1, Text, " ");
    if (p1 == 0)
        return QString("");
    const Pos p2 = In_Str(p1 + 1, Text, " ");
    if (p2 > 0)
        return Trim(Mid(Text, p1, p2 - p1));
    return Trim(Mid(Text, p1 + 1));
}

QString Get_Third_Word(QString& Text)
{
    Text = Trim(Text);
    const Pos p1 = In_Str(1, Text, " ");
    const Pos p2 = p1 > 0 ? In_Str(p1 + 1, Text, " ") : 0;
    if (p2 == 0)
        return QString("");
    const Pos p3 = In_Str(p2 + 1, Text, " ");
    if (p3 > 0)
        return Trim(Mid(Text, p2, p3 - p2));
    return Trim(Mid(Text, p2 + 1));
}

QVariant Blank_To_Zero(const QVariant& Value)
{
    if (!Is_Null(Value) && Value.typeId() == QMetaType::QString && Value.toString().isEmpty())
        return QVariant(0);
    return Value;
}
