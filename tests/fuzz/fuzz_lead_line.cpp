// libFuzzer target: any bytes as a lead file (decoded, checked for being
// text, every line split by each delimiter), as field positions, and as the
// text and labels of e-mail import filter rules. It looks for crashes and
// undefined behaviour, and checks what a split must always give.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Field_Rules.h"
#include "Lead_Line.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = Decode_Lead_File(bytes);
    const bool is_text = Not_Text_Reason(text).isEmpty();
    Require(is_text || !text.isEmpty());

    Line_Fields fields;
    for (const QString& line : text.split(QChar('\n'))) {
        for (const char* delimiter : {",", "\t", ""}) {
            if (!Split_Line(line, QString::fromLatin1(delimiter), fields))
                Require(*delimiter != '\0' && line.count(QString::fromLatin1(delimiter)) >= Lead_Max_Fields);
            for (int i = 0; i < Lead_Max_Fields; ++i)
                Require(!fields[i].isNull() && fields[i].size() <= line.size());
        }
    }

    if (size >= sizeof(double)) {
        double number = 0;
        memcpy(&number, data, sizeof number);
        const int position = Whole_Position(QVariant(number));
        Require(position >= 0 && position <= Lead_Max_Fields);
    }
    Require(Whole_Position(QVariant(text)) <= Lead_Max_Fields);

    // The first line as the labels of a rule, the rest as the lead's text.
    const qsizetype cut = text.indexOf('\n');
    const QString head = cut < 0 ? text.left(12) : text.left(cut);
    const QString body = cut < 0 ? text : text.mid(cut + 1);
    const QString label = head.left(head.size() / 2);
    const QString after = head.mid(head.size() / 2, 2);
    const QString end = head.mid(head.size() / 2 + 2);
    Label_Search_Value(body, label, after, end);
    Label_Search_Value(body, label, QVariant(), QVariant());
    for (int n = 0; n < 4; ++n) {
        Label_Search_Word(2, body, label, after, end, ",", n);
        Label_Search_Word(3, body, label, QVariant(), QVariant(), " ", n);
    }
    Line_Instance_Search_Value(body, label, QString::number(size % 7));
    Line_Instance_Search_Value(body, label, end);
    QString words = head;
    Get_First_Word(words);
    words = head;
    Get_After_First_Word(words);
    words = head;
    Get_Second_Word(words);
    words = body.left(200);
    Get_Third_Word(words);
    return 0;
}
