#include "Spell_Check_Dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "Spell_Check.h"

namespace {

QPushButton* Make_Button(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// The text box shows line ends as one character each, so a position in a
// text with CR LF ends moves back by the CR LF pairs before it.
QString Shown_Text(const QString& text)
{
    QString shown = text;
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

qsizetype Shown_Position(const QString& text, qsizetype position)
{
    return position - QStringView(text).left(position).count(u"\r\n");
}

} // namespace

Spell_Check_Dialog::Spell_Check_Dialog(Speller& speller, const QString& Text, QWidget* parent)
    : QDialog(parent)
    , speller_(speller)
    , original_(Text)
    , text_(Text)
{
    setObjectName("Spell_Check_Dialog");
    setWindowTitle("Spell Check");

    lblNotInDictionary = new QLabel(this);
    lblNotInDictionary->setObjectName("lblNotInDictionary");
    txtSpellText = new QPlainTextEdit(this);
    txtSpellText->setObjectName("txtSpellText");
    txtSpellText->setReadOnly(true);
    txtSpellText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtSpellText->setFocusPolicy(Qt::ClickFocus);

    auto* lblChangeTo = new QLabel("Change &to:", this);
    txtChangeTo = new QLineEdit(this);
    txtChangeTo->setObjectName("txtChangeTo");
    lblChangeTo->setBuddy(txtChangeTo);

    auto* lblSuggestions = new QLabel("&Suggestions:", this);
    lstSuggestions = new QListWidget(this);
    lstSuggestions->setObjectName("lstSuggestions");
    lblSuggestions->setBuddy(lstSuggestions);

    cmdIgnore = Make_Button("&Ignore", "cmdIgnore", this);
    cmdIgnoreAll = Make_Button("I&gnore All", "cmdIgnoreAll", this);
    cmdChange = Make_Button("&Change", "cmdChange", this);
    cmdChangeAll = Make_Button("Change A&ll", "cmdChangeAll", this);
    cmdCancel = Make_Button("Cancel", "cmdCancel", this);
    cmdChange->setDefault(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdIgnore);
    buttons->addWidget(cmdIgnoreAll);
    buttons->addSpacing(12);
    buttons->addWidget(cmdChange);
    buttons->addWidget(cmdChangeAll);
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblNotInDictionary, 0, 0);
    grid->addWidget(txtSpellText, 1, 0);
    grid->addWidget(lblChangeTo, 2, 0);
    grid->addWidget(txtChangeTo, 3, 0);
    grid->addWidget(lblSuggestions, 4, 0);
    grid->addWidget(lstSuggestions, 5, 0);
    grid->addLayout(buttons, 0, 1, 6, 1);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(5, 2);
    grid->setColumnStretch(0, 1);
    resize(600, 440);

    connect(cmdIgnore, &QPushButton::clicked, this, &Spell_Check_Dialog::Ignore_Click);
    connect(cmdIgnoreAll, &QPushButton::clicked, this, &Spell_Check_Dialog::Ignore_All_Click);
    connect(cmdChange, &QPushButton::clicked, this, &Spell_Check_Dialog::Change_Click);
    connect(cmdChangeAll, &QPushButton::clicked, this, &Spell_Check_Dialog::Change_All_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Cancel, Escape and the close box all leave the text as it came.
    connect(this, &QDialog::rejected, this, [this] { cancelled_ = true; });
    connect(lstSuggestions, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (lstSuggestions->currentItem() && (lstSuggestions->currentItem()->flags() & Qt::ItemIsEnabled))
            txtChangeTo->setText(text);
    });
    connect(lstSuggestions, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item->flags() & Qt::ItemIsEnabled)
            Change_Click();
    });

    Find_Next_From(0);
}

bool Spell_Check_Dialog::Has_Unknown_Word() const
{
    return current_.Found();
}

QString Spell_Check_Dialog::Current_Word() const
{
    return current_.Text;
}

QString Spell_Check_Dialog::Corrected_Text() const
{
    return cancelled_ ? original_ : text_;
}

void Spell_Check_Dialog::Ignore_Click()
{
    Find_Next_From(current_.End());
}

void Spell_Check_Dialog::Ignore_All_Click()
{
    ignored_.insert(current_.Text);
    Find_Next_From(current_.End());
}

void Spell_Check_Dialog::Change_Click()
{
    Replace_Current(txtChangeTo->text());
}

void Spell_Check_Dialog::Change_All_Click()
{
    change_all_.insert(current_.Text, txtChangeTo->text());
    Replace_Current(txtChangeTo->text());
}

void Spell_Check_Dialog::Replace_Current(const QString& replacement)
{
    text_.replace(current_.Position, current_.Text.size(), replacement);
    Find_Next_From(current_.Position + replacement.size());
}

void Spell_Check_Dialog::Find_Next_From(qsizetype position)
{
    for (;;) {
        current_ = speller_.Next_Unknown_Word(text_, position, ignored_);
        if (!current_.Found()) {
            // Done: the dialog closes (or is never shown) with the text as corrected.
            if (isVisible())
                accept();
            return;
        }
        const auto change = change_all_.constFind(current_.Text);
        if (change == change_all_.constEnd())
            break;
        text_.replace(current_.Position, current_.Text.size(), *change);
        position = current_.Position + change->size();
    }
    Show_Current_Word();
}

void Spell_Check_Dialog::Show_Current_Word()
{
    lblNotInDictionary->setText(QString("Not in dictionary: \u201C%1\u201D").arg(current_.Text));
    txtSpellText->setPlainText(Shown_Text(text_));

    const qsizetype start = Shown_Position(text_, current_.Position);
    QTextCursor cursor(txtSpellText->document());
    cursor.setPosition(int(start));
    cursor.setPosition(int(start + current_.Text.size()), QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection mark;
    mark.cursor = cursor;
    mark.format.setBackground(palette().color(QPalette::Highlight));
    mark.format.setForeground(palette().color(QPalette::HighlightedText));
    txtSpellText->setExtraSelections({mark});
    QTextCursor at(txtSpellText->document());
    at.setPosition(int(start));
    txtSpellText->setTextCursor(at);
    txtSpellText->centerCursor();

    lstSuggestions->clear();
    const QStringList suggestions = speller_.Suggestions(current_.Text);
    if (suggestions.isEmpty()) {
        auto* none = new QListWidgetItem("(no suggestions)", lstSuggestions);
        none->setFlags(Qt::NoItemFlags);
        txtChangeTo->setText(current_.Text);
    } else {
        lstSuggestions->addItems(suggestions);
        lstSuggestions->setCurrentRow(0);
        txtChangeTo->setText(suggestions.first());
    }
    txtChangeTo->selectAll();
    txtChangeTo->setFocus();
}

QString Spell_Check_Dialog::Check_Text(const QString& Text, Speller& speller, QWidget* parent)
{
    if (!speller.Is_Loaded()) {
        Message_Box(speller.Error(), vbExclamation, "Spell Check");
        return Text;
    }
    Spell_Check_Dialog dialog(speller, Text, parent);
    if (!dialog.Has_Unknown_Word())
        return Text;
    dialog.exec();
    return dialog.Corrected_Text();
}

void Register_Widget_Spell_Check()
{
    Register_Spell_Check_Window([](const QString& Text) {
        static Speller speller;
        return Spell_Check_Dialog::Check_Text(Text, speller, QApplication::activeWindow());
    });
}
