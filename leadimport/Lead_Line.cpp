#include "Lead_Line.h"

#include <QStringDecoder>
#include <cmath>

namespace {

// Characters no lead file holds, but for a stray one now and then.
bool Is_Binary_Character(QChar c)
{
    const ushort u = c.unicode();
    if (u < 0x20)
        return u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != '\v' && u != 0x1A;
    return u == 0x7F || (u >= 0x80 && u < 0xA0) || u == 0xFFFD;
}

} // namespace

bool Split_Line(const QString& line, const QString& delimiter, Line_Fields& fields)
{
    for (int i = 0; i < Lead_Max_Fields; ++i)
        fields[i] = QString("");
    int index = 0;
    QStringView rest = line;
    for (;;) {
        // With no delimiter known the whole line is one field.
        const qsizetype found = delimiter.isEmpty() ? -1 : rest.indexOf(delimiter);
        const bool last = found < 0;
        QStringView field = last ? rest : rest.left(found);
        if (field.startsWith(u' '))
            field = field.mid(1);
        // A quoted field loses its quotes, and only its quotes.
        if (field.startsWith(u'"')) {
            field = field.mid(1);
            if (field.endsWith(u'"'))
                field.chop(1);
        }
        fields[index] = field.isEmpty() ? QString("") : field.toString();
        if (!last)
            rest = rest.mid(found + delimiter.size());
        ++index;
        if (index == Lead_Max_Fields + 1)
            return false;
        if (last)
            return true;
    }
}

QString Not_Text_Reason(const QString& text)
{
    qsizetype binary = 0;
    for (const QChar c : text) {
        if (c.unicode() == 0)
            return "it holds NUL characters";
        if (Is_Binary_Character(c))
            ++binary;
    }
    if (binary > 0 && binary * 100 > text.size())
        return "it holds binary data";
    return QString();
}

QString Decode_Lead_File(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return utf16(QByteArrayView(bytes).sliced(2));
    }
    const QByteArrayView data =
        bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(data);
        if (!utf8.hasError())
            return text;
    }
    QStringDecoder western("windows-1252");
    QString text;
    text.reserve(data.size());
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = start;
        while (end < data.size() && data.at(end) != '\r' && data.at(end) != '\n')
            ++end;
        // Line ends are the same bytes in both.
        const QByteArrayView line = data.sliced(start, end - start);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8(line);
        if (!utf8.hasError())
            text += decoded;
        else
            text += western.isValid() ? QString(western(line)) : QString::fromLatin1(line);
        if (end < data.size())
            text += QChar(data.at(end));
        start = end + 1;
    }
    return text;
}

int Whole_Position(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return 0;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number) || number < 0.5 || number >= Lead_Max_Fields + 0.5)
        return 0;
    return qRound(number);
}
