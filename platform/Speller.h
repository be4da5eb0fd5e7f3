#pragma once
// Spelling of plain text against a Hunspell dictionary (en_US by default).
// The checker walks the words of a text and leaves alone what is no word of
// the language: e-mail and web addresses, bracketed placeholders such as
// "[Firstname]", numbers and words holding digits, and words in capitals
// (product codes, abbreviations).

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

// One word of a text: where it starts (UTF-16 position) and its text.
struct Text_Word {
    qsizetype Position = -1;
    QString Text;
    bool Found() const { return Position >= 0; }
    qsizetype End() const { return Position + Text.size(); }
};

class Speller {
public:
    // Path of the dictionary (UTF-8, as Debian's are) without its ".aff"/".dic" extension.
    static QString Default_Dictionary();

    explicit Speller(const QString& Dictionary = Default_Dictionary());
    ~Speller();
    Speller(const Speller&) = delete;
    Speller& operator=(const Speller&) = delete;

    // False when the dictionary files could not be read; Error() then says why.
    bool Is_Loaded() const;
    QString Error() const;

    // Whether the dictionary knows the word (every word counts as known when
    // no dictionary is loaded, so nothing is flagged).
    bool Is_Known(const QString& Word);
    // Replacements the dictionary offers for an unknown word, best first
    // (none for a run of over 40 letters).
    QStringList Suggestions(const QString& Word);

    // The first word at or after From that the dictionary does not know and
    // that is not in Ignored; Found() is false when there is none.
    Text_Word Next_Unknown_Word(const QString& Text, qsizetype From = 0,
                                const QSet<QString>& Ignored = {});
    // Every unknown word of the text, in order.
    QStringList Unknown_Words(const QString& Text);

    // The words of the text that are checked, in order (addresses,
    // placeholders, numbers and capitals left out), from position From on.
    static QList<Text_Word> Words_Of(const QString& Text, qsizetype From = 0);

private:
    std::unique_ptr<Hunspell> hunspell_;
    QString error_;
};
