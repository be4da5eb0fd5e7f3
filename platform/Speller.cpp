#include "Speller.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <functional>
#include <hunspell/hunspell.hxx>

namespace {

// What is skipped comes first in the alternation, so that an address or a
// placeholder is taken whole before its parts could be read as words.
const QRegularExpression& Token_Pattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(
            R"((?<skip>(?:[a-z][a-z0-9+.\-]*://|www\.|mailto:)[^\s<>"]+)"
            R"(|[^\s<>()\[\]{}"',;:]+@[^\s<>()\[\]{}"',;:]+)"
            R"(|\[[^\[\]\s]+\]))"
            R"(|(?<word>[\p{L}\p{M}\p{N}]+(?:['’][\p{L}\p{M}\p{N}]+)*))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

bool Has_Digit(const QString& word)
{
    for (const QChar c : word)
        if (c.isDigit())
            return true;
    return false;
}

bool Is_Capitals(const QString& word)
{
    return word.size() > 1 && word == word.toUpper() && word != word.toLower();
}

// Hands each checked word from position From on to Visit until it returns false.
void For_Each_Word(const QString& text, qsizetype from,
                   const std::function<bool(const Text_Word&)>& visit)
{
    auto it = Token_Pattern().globalMatch(text, from);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString word = m.captured("word");
        if (word.isEmpty() || Has_Digit(word) || Is_Capitals(word))
            continue;
        if (!visit({m.capturedStart("word"), word}))
            return;
    }
}

} // namespace

QString Speller::Default_Dictionary()
{
    return QStringLiteral("/usr/share/hunspell/en_US");
}

Speller::Speller(const QString& Dictionary)
{
    const QString aff = Dictionary + ".aff";
    const QString dic = Dictionary + ".dic";
    for (const QString& file : {aff, dic}) {
        if (!QFileInfo(file).isReadable()) {
            error_ = QStringLiteral("The spelling dictionary cannot be read: %1\n\n"
                                    "Install the package hunspell-en-us to check spelling.")
                         .arg(file);
            return;
        }
    }
    hunspell_ = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                           QFile::encodeName(dic).constData());
}

Speller::~Speller() = default;

bool Speller::Is_Loaded() const
{
    return hunspell_ != nullptr;
}

QString Speller::Error() const
{
    return error_;
}

bool Speller::Is_Known(const QString& Word)
{
    if (!hunspell_ || Word.isEmpty())
        return true;
    return hunspell_->spell(Word.toStdString());
}

QStringList Speller::Suggestions(const QString& Word)
{
    QStringList list;
    // Hunspell takes over a tenth of a second over a long run of letters
    // (a pasted code, say) and finds nothing; no English word is that long.
    if (!hunspell_ || Word.size() > 40)
        return list;
    for (const std::string& s : hunspell_->suggest(Word.toStdString()))
        list << QString::fromStdString(s);
    return list;
}

QList<Text_Word> Speller::Words_Of(const QString& Text, qsizetype From)
{
    QList<Text_Word> words;
    For_Each_Word(Text, From, [&](const Text_Word& w) {
        words.append(w);
        return true;
    });
    return words;
}

Text_Word Speller::Next_Unknown_Word(const QString& Text, qsizetype From,
                                     const QSet<QString>& Ignored)
{
    Text_Word unknown;
    if (!hunspell_)
        return unknown;
    For_Each_Word(Text, From, [&](const Text_Word& w) {
        if (Ignored.contains(w.Text) || Is_Known(w.Text))
            return true;
        unknown = w;
        return false;
    });
    return unknown;
}

QStringList Speller::Unknown_Words(const QString& Text)
{
    QStringList list;
    for (Text_Word w = Next_Unknown_Word(Text); w.Found(); w = Next_Unknown_Word(Text, w.End()))
        list << w.Text;
    return list;
}
