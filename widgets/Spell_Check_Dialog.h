#pragma once
// The spell-check dialog: walks the unknown words of a text one at a time,
// showing each in its text with the dictionary's suggestions; the user
// ignores or changes it (once or everywhere) or cancels the whole check.

#include <QDialog>
#include <QHash>
#include <QSet>

#include "Speller.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class Spell_Check_Dialog : public QDialog {
    Q_OBJECT
public:
    Spell_Check_Dialog(Speller& speller, const QString& Text, QWidget* parent = nullptr);

    // Whether the text holds a word to show; with none the dialog is done
    // before it is shown.
    bool Has_Unknown_Word() const;
    // The word on show (empty when none).
    QString Current_Word() const;
    // The text as corrected so far; the text as it came once the check is cancelled.
    QString Corrected_Text() const;

    // Checks the text with the user: the corrected text, or the text as it
    // came when nothing is wrong, the check is cancelled or the dictionary is
    // missing (then a message says so).
    static QString Check_Text(const QString& Text, Speller& speller, QWidget* parent = nullptr);

    // Controls, by their object names.
    QPlainTextEdit* txtSpellText;
    QLineEdit* txtChangeTo;
    QListWidget* lstSuggestions;
    QPushButton* cmdIgnore;
    QPushButton* cmdIgnoreAll;
    QPushButton* cmdChange;
    QPushButton* cmdChangeAll;
    QPushButton* cmdCancel;

private:
    void Ignore_Click();
    void Ignore_All_Click();
    void Change_Click();
    void Change_All_Click();
    // Replaces the word on show and moves on past the replacement.
    void Replace_Current(const QString& replacement);
    // Finds the next unknown word from the position on (taking the words to
    // change everywhere as it meets them); accepts when there is none.
    void Find_Next_From(qsizetype position);
    void Show_Current_Word();

    Speller& speller_;
    QString original_;
    QString text_;
    Text_Word current_;
    QSet<QString> ignored_;
    QHash<QString, QString> change_all_;
    bool cancelled_ = false;
    QLabel* lblNotInDictionary;
};

// Makes Spell_Check show the dialog over the active window, with the en_US
// dictionary loaded once for the session.
void Register_Widget_Spell_Check();
