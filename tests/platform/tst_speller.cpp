// The spelling checker on the real en_US Hunspell dictionary.

#include <QtTest>

#include "Speller.h"

class tst_speller : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Speller speller;
        QVERIFY2(speller.Is_Loaded(), qPrintable(speller.Error()));
    }

    void finds_the_unknown_words_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("unknown");
        QTest::newRow("misspelt word") << "Please recieve the quote." << QStringList{"recieve"};
        QTest::newRow("several, in order")
            << "Thnaks for teh call.\nBest regards" << QStringList{"Thnaks", "teh"};
        QTest::newRow("placeholders") << "Dear [Firstname] [Lastname], your [Make] [Today-Short]"
                                      << QStringList{};
        QTest::newRow("placeholder beside an error")
            << "Hello [Firstname],recieve" << QStringList{"recieve"};
        QTest::newRow("apostrophes") << "We can't wait; O'Brien's customer’s 'quoted' words"
                                     << QStringList{};
        QTest::newRow("addresses")
            << "Write to bob.smitth@exampel.com (or <jo@qwx.org>), see https://www.exampel.com/qoute?id=5, "
               "www.exampel.net and mailto:sales@exampel.com"
            << QStringList{};
        QTest::newRow("numbers") << "Your 2nd car, a V6 4x4 for $19,995.00 on 12/10/2026 at 10:30"
                                 << QStringList{};
        QTest::newRow("capitals") << "The MSRP and VIN are attached" << QStringList{};
        QTest::newRow("non-ascii word whole") << "Thanks, Zoë" << QStringList{"Zoë"};
        QTest::newRow("hyphenated") << "a follow-up call" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void finds_the_unknown_words()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, unknown);
        Speller speller;
        QCOMPARE(speller.Unknown_Words(text), unknown);
    }

    void suggests_the_right_word()
    {
        Speller speller;
        QVERIFY(speller.Is_Known("accommodate"));
        QVERIFY(!speller.Is_Known("acommodate"));
        QVERIFY(speller.Suggestions("recieve").contains("receive"));
        QVERIFY(speller.Suggestions("Zoë").contains("Zoe"));
    }

    void positions_count_the_text_as_it_stands()
    {
        Speller speller;
        const QString text = QString::fromUtf8("😀 Dear [Firstname], recieve it.\r\nrecieve teh");
        const Text_Word first = speller.Next_Unknown_Word(text);
        QVERIFY(first.Found());
        QCOMPARE(first.Position, text.indexOf("recieve"));
        QCOMPARE(first.Text, QString("recieve"));
        const Text_Word second = speller.Next_Unknown_Word(text, first.End());
        QCOMPARE(second.Position, text.lastIndexOf("recieve"));
        // Ignored words are passed over.
        const Text_Word third = speller.Next_Unknown_Word(text, first.End(), {"recieve"});
        QCOMPARE(third.Text, QString("teh"));
        QVERIFY(!speller.Next_Unknown_Word(text, third.End()).Found());
    }

    void a_missing_dictionary_is_reported_and_flags_nothing()
    {
        Speller speller("/nonexistent/xx_XX");
        QVERIFY(!speller.Is_Loaded());
        QVERIFY(speller.Error().contains("/nonexistent/xx_XX.aff"));
        QVERIFY(speller.Unknown_Words("recieve teh").isEmpty());
        QVERIFY(speller.Suggestions("recieve").isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_speller)
#include "tst_speller.moc"
