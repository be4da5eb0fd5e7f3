// The spell-check dialog on the real dictionary, driven by keyboard and mouse,
// and the spell-check seam with the dialog registered or a test checker.

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "Scripted_Spell_Check.h"
#include "Spell_Check.h"
#include "Spell_Check_Dialog.h"
#include "Test_Support.h"

namespace {

// Answers the spell-check dialog once it is up as the modal window.
void When_Dialog_Shown(std::function<void(Spell_Check_Dialog*)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        auto* dialog = qobject_cast<Spell_Check_Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->deleteLater();
        timer->stop();
        answer(dialog);
    });
    timer->start();
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class tst_spell_check_dialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void change_ignore_and_their_all_forms()
    {
        Speller speller;
        QVERIFY2(speller.Is_Loaded(), qPrintable(speller.Error()));
        const QString text = "Thnaks for teh call. teh car, teh van and Zoë, recieve. Zoë";
        Spell_Check_Dialog dialog(speller, text);
        dialog.show();
        QVERIFY(dialog.Has_Unknown_Word());
        QCOMPARE(dialog.Current_Word(), QString("Thnaks"));
        QVERIFY(dialog.lstSuggestions->findItems("Thanks", Qt::MatchExactly).size() == 1);
        // Picking a suggestion puts it into the change box.
        dialog.lstSuggestions->setCurrentItem(dialog.lstSuggestions->findItems("Thanks", Qt::MatchExactly).first());
        QCOMPARE(dialog.txtChangeTo->text(), QString("Thanks"));
        Click(dialog.cmdChange);

        QCOMPARE(dialog.Current_Word(), QString("teh"));
        Click(dialog.cmdIgnore);
        // Ignore passes this one only; Change All with a typed word takes the rest.
        QCOMPARE(dialog.Current_Word(), QString("teh"));
        dialog.txtChangeTo->clear();
        QTest::keyClicks(dialog.txtChangeTo, "the");
        Click(dialog.cmdChangeAll);

        QCOMPARE(dialog.Current_Word(), QString("Zoë"));
        Click(dialog.cmdIgnoreAll);
        QCOMPARE(dialog.Current_Word(), QString("recieve"));
        QCOMPARE(dialog.txtChangeTo->text(), QString("receive"));
        // Enter takes the first suggestion.
        QTest::keyClick(dialog.txtChangeTo, Qt::Key_Return);

        QVERIFY(!dialog.Has_Unknown_Word());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.Corrected_Text(),
                 QString("Thanks for teh call. the car, the van and Zoë, receive. Zoë"));
    }

    void the_word_is_marked_where_it_stands()
    {
        Speller speller;
        const QString text = QString::fromUtf8("Line one 😀\r\nLine [Firstname] teh end\r\n");
        Spell_Check_Dialog dialog(speller, text);
        dialog.show();
        const QList<QTextEdit::ExtraSelection> marks = dialog.txtSpellText->extraSelections();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks.first().cursor.selectedText(), QString("teh"));
        Click(dialog.cmdChange);
        // Line ends come back as they went in.
        QCOMPARE(dialog.Corrected_Text(), QString::fromUtf8("Line one 😀\r\nLine [Firstname] the end\r\n"));
    }

    void cancel_hands_the_text_back_unchanged_data()
    {
        QTest::addColumn<bool>("by_escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }
    void cancel_hands_the_text_back_unchanged()
    {
        QFETCH(bool, by_escape);
        Speller speller;
        const QString text = "teh cat and recieve";
        Spell_Check_Dialog dialog(speller, text);
        dialog.show();
        Click(dialog.cmdChange);
        QCOMPARE(dialog.Current_Word(), QString("recieve"));
        if (by_escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            Click(dialog.cmdCancel);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.Corrected_Text(), text);
    }

    void a_text_without_errors_shows_no_dialog()
    {
        Speller speller;
        Spell_Check_Dialog dialog(speller, "Dear [Firstname], thank you for your call.");
        QVERIFY(!dialog.Has_Unknown_Word());
        QCOMPARE(Spell_Check_Dialog::Check_Text("All is well.", speller), QString("All is well."));
    }

    void a_missing_dictionary_is_a_message()
    {
        Scripted_Dialogs dialogs;
        Speller missing("/nonexistent/en_US");
        QCOMPARE(Spell_Check_Dialog::Check_Text("teh cat", missing), QString("teh cat"));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.contains("/nonexistent/en_US.aff"));
        QVERIFY(dialogs.messages.first().text.contains("hunspell-en-us"));
    }

    void the_seam_shows_the_dialog_or_the_test_checker()
    {
        Register_Widget_Spell_Check();
        When_Dialog_Shown([](Spell_Check_Dialog* dialog) { Click(dialog->cmdChange); });
        QCOMPARE(Spell_Check("Please recieve it."), QString("Please receive it."));

        {
            Scripted_Spell_Check checker;
            checker.changes = {{"teh", "the"}, {"recieve", "receive"}};
            // Whole words only: "tehran" stays.
            QCOMPARE(Spell_Check("teh tehran, recieve"), QString("the tehran, receive"));
            checker.cancel = true;
            QCOMPARE(Spell_Check("teh"), QString("teh"));
            QCOMPARE(checker.checked_texts, (QStringList{"teh tehran, recieve", "teh"}));
        }

        // With the test checker gone the dialog is back.
        When_Dialog_Shown([](Spell_Check_Dialog* dialog) { Click(dialog->cmdCancel); });
        QCOMPARE(Spell_Check("teh"), QString("teh"));
        Register_Spell_Check_Window({});
    }
};

QTEST_MAIN(tst_spell_check_dialog)
#include "tst_spell_check_dialog.moc"
