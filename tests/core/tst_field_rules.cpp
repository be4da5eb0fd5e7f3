#include <QtTest>

#include "Field_Rules.h"

namespace {

// Rule arguments come from the database and may be null.
const QVariant Null;

QVariant T(const char* text)
{
    return QVariant(QString::fromUtf8(text));
}

} // namespace

class Field_Rules_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void label_search_value_data()
    {
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<QVariant>("label");
        QTest::addColumn<QVariant>("after_label");
        QTest::addColumn<QVariant>("end_label");
        QTest::addColumn<QString>("expected");
        const QVariant msg = T("Lead from site\r\nName:   John Smith\r\nCity: Boston, MA 02134\r\n");
        QTest::newRow("rest of the line") << msg << T("Name:") << Null << Null << "John Smith";
        QTest::newRow("up to the end label") << msg << T("Name:") << Null << T(" ") << "John";
        QTest::newRow("empty end label") << msg << T("Name:") << T("") << T("") << "John Smith";
        QTest::newRow("only blanks to the line end")
            << T("Name:    \r\nCity: Boston") << T("Name:") << Null << Null << "";
        QTest::newRow("end label not found")
            << msg << T("Name:") << Null << T("#") << "";
        QTest::newRow("label missing") << msg << T("Phone:") << Null << Null << "";
        QTest::newRow("null label") << msg << Null << Null << Null << "";
        QTest::newRow("case counts") << msg << T("name:") << Null << Null << "";
        QTest::newRow("after label picks the second")
            << T("Buyer\r\nName: Ann\r\nCo-buyer\r\nName: Bob\r\n") << T("Name:") << T("Co-buyer")
            << Null << "Bob";
        QTest::newRow("after label missing searches from the top")
            << T("Name: Ann\r\n") << T("Name:") << T("Nowhere") << Null << "Ann";
        QTest::newRow("end label over several lines")
            << T("Notes: first line\r\nsecond line\r\nEnd\r\n") << T("Notes:") << Null << T("End")
            << "first line second line";
        QTest::newRow("tabs and signs above z are skipped")
            << T("Name:\t{~} Zoë\r\n") << T("Name:") << Null << Null << "Zoë";
        QTest::newRow("null text") << Null << T("Name:") << Null << Null << "";
        QTest::newRow("label at the very end") << T("x Name:") << T("Name:") << Null << Null << "";
        QTest::newRow("label holding the line end")
            << T("Name:\r\n") << T("Name:\r\n") << Null << Null << "";
        QString long_text = QString(40000, QChar('x')) + "\r\nName: Far Away\r\n";
        QTest::newRow("beyond 32767 characters") << QVariant(long_text) << T("Name:") << Null << Null
                                                 << "Far Away";
    }
    void label_search_value()
    {
        QFETCH(QVariant, text);
        QFETCH(QVariant, label);
        QFETCH(QVariant, after_label);
        QFETCH(QVariant, end_label);
        QFETCH(QString, expected);
        QCOMPARE(Label_Search_Value(text, label, after_label, end_label), expected);
    }

    void label_search_word_data()
    {
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<QVariant>("label");
        QTest::addColumn<QVariant>("after_label");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        const QVariant city = T("City: Boston, MA 02134\r\n");
        QTest::newRow("comma, first word") << city << T("City:") << Null << "," << 1 << "MA";
        QTest::newRow("comma, second word") << city << T("City:") << Null << "," << 2 << "02134";
        QTest::newRow("comma, n 0") << city << T("City:") << Null << "," << 0 << ",";
        QTest::newRow("comma, past the line") << city << T("City:") << Null << "," << 3 << "";
        QTest::newRow("no blank after the comma")
            << T("City: Boston,MA 02134\r\n") << T("City:") << Null << "," << 1 << "02134";
        QTest::newRow("no separator on the line") << T("City: Boston MA\r\nx, y\r\n") << T("City:")
                                                  << Null << "," << 1 << "";
        QTest::newRow("blank, n 0") << T("Name: John Q Public\r\n") << T("Name:") << Null << " " << 0
                                    << "Q";
        QTest::newRow("blank, n 1") << T("Name: John Q Public\r\n") << T("Name:") << Null << " " << 1
                                    << "Public";
        QTest::newRow("punctuation skipped")
            << T("Zip: - 02134 x\r\n") << T("Zip:") << Null << " " << 0 << "x";
        QTest::newRow("empty after label, label opens the text")
            << T("City: A, B\r\n") << T("City:") << T("") << "," << 1 << "B";
        QTest::newRow("after label picks the second")
            << T("City: A, B\r\nShip to\r\nCity: C, D\r\n") << T("City:") << T("Ship to") << ","
            << 1 << "D";
        QTest::newRow("null label") << city << Null << Null << "," << 1 << "";
        QTest::newRow("label missing") << city << T("Town:") << Null << "," << 1 << "";
        QTest::newRow("label at the very end") << T("City:") << T("City:") << Null << "," << 1 << "";
    }
    void label_search_word()
    {
        QFETCH(QVariant, text);
        QFETCH(QVariant, label);
        QFETCH(QVariant, after_label);
        QFETCH(QString, separator);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(Label_Search_Word(2, text, label, after_label, Null, separator, n), expected);
    }

    void line_instance_search_value_data()
    {
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<QVariant>("label");
        QTest::addColumn<QVariant>("instance");
        QTest::addColumn<QString>("expected");
        const QVariant msg = T("Header\r\nContact:\r\n\r\n   \r\n  John Smith  \r\nBoston, MA\r\n");
        QTest::newRow("first line after the label") << msg << T("Contact:") << T("1") << "John Smith";
        QTest::newRow("empty and blank lines skipped") << msg << T("Contact:") << T("2") << "Boston, MA";
        QTest::newRow("beyond the last line") << msg << T("Contact:") << T("3") << "";
        QTest::newRow("label missing counts from the top") << msg << T("Nowhere") << T("1") << "Header";
        QTest::newRow("empty label counts from the top") << msg << T("") << T("2") << "Contact:";
        QTest::newRow("null label") << msg << Null << T("1") << "Header";
        QTest::newRow("instance as a number") << msg << T("Contact:") << QVariant(2) << "Boston, MA";
        QTest::newRow("instance 0") << msg << T("Contact:") << T("0") << "";
        QTest::newRow("negative instance") << msg << T("Contact:") << T("-1") << "";
        QTest::newRow("instance not a number") << msg << T("Contact:") << T("two") << "";
        QTest::newRow("instance not whole") << msg << T("Contact:") << T("1.5") << "";
        QTest::newRow("empty instance") << msg << T("Contact:") << T("") << "";
        QTest::newRow("null instance") << msg << T("Contact:") << Null << "";
        QTest::newRow("null text") << Null << T("Contact:") << T("1") << "";
        QTest::newRow("label on the last line") << T("a\r\nContact:") << T("Contact:") << T("1") << "";
        QTest::newRow("tab line counts")
            << T("Contact:\r\n\t\r\nJohn\r\n") << T("Contact:") << T("1") << "\t";
        QString long_text = QString(40000, QChar('x')) + "\r\nContact:\r\nFar Away\r\n";
        QTest::newRow("beyond 32767 characters") << QVariant(long_text) << T("Contact:") << T("1")
                                                 << "Far Away";
    }
    void line_instance_search_value()
    {
        QFETCH(QVariant, text);
        QFETCH(QVariant, label);
        QFETCH(QVariant, instance);
        QFETCH(QString, expected);
        QCOMPARE(Line_Instance_Search_Value(text, label, instance), expected);
    }

    void word_routines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("after_first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("third");
        QTest::newRow("padded single word") << "  John  " << "John" << "" << "" << "";
        QTest::newRow("two words") << "John Smith" << "John" << "Smith" << "Smith" << "";
        QTest::newRow("two blanks between") << "John  Smith" << "John" << "Smith" << "" << "Smith";
        QTest::newRow("three words") << "Mary Ann Lee" << "Mary" << "Ann Lee" << "Ann" << "Lee";
        QTest::newRow("four words") << "A B C D" << "A" << "B C D" << "B" << "C";
        QTest::newRow("empty") << "" << "" << "" << "" << "";
        QTest::newRow("tab is no blank") << "John\tSmith" << "John\tSmith" << "" << "" << "";
    }
    void word_routines()
    {
        QFETCH(QString, text);
        QFETCH(QString, first);
        QFETCH(QString, after_first);
        QFETCH(QString, second);
        QFETCH(QString, third);
        QString a = text, b = text, c = text, d = text;
        QCOMPARE(Get_First_Word(a), first);
        QCOMPARE(Get_After_First_Word(b), after_first);
        QCOMPARE(Get_Second_Word(c), second);
        QCOMPARE(Get_Third_Word(d), third);
        // Each trims the caller's text in place.
        const QString trimmed = QString(text).remove(QRegularExpression("^ +| +$"));
        QCOMPARE(a, trimmed);
        QCOMPARE(d, trimmed);
    }

    void blank_to_zero()
    {
        QCOMPARE(Blank_To_Zero(QVariant(QString(""))), QVariant(0));
        QCOMPARE(Blank_To_Zero(QVariant(QString("abc"))), QVariant(QString("abc")));
        QVERIFY(Blank_To_Zero(QVariant()).isNull());
        QCOMPARE(Blank_To_Zero(QVariant(5)), QVariant(5));
    }

    void the_label_table()
    {
        Email_Field_Label_Table[0] = {"changed", "changed"};
        Init_Email_Field_Names();
        QCOMPARE(Email_Field_Label_Table[0].Label, QString("Firstname"));
        QCOMPARE(Email_Field_Label_Table[0].Field_Name, QString("FirstName"));
        QCOMPARE(Email_Field_Label_Table[5].Field_Name, QString("Zipcode"));
        QCOMPARE(Email_Field_Label_Table[15].Label, QString("Best Time to Call"));
        QCOMPARE(Email_Field_Label_Table[15].Field_Name, QString("Best_Time_To_Contact"));
        QCOMPARE(Email_Field_Label_Table[19].Label, QString("City, State Zip"));
        QVERIFY(Email_Field_Label_Table[19].Field_Name.isEmpty());
        QCOMPARE(Email_Field_Label_Table[22].Field_Name, QString("Cellphone"));
        QCOMPARE(Email_Field_Label_Table[23].Field_Name, QString("Referred_By"));
        QVERIFY(Email_Field_Label_Table[24].Label.isEmpty());
    }
};

QTEST_GUILESS_MAIN(Field_Rules_Test)
#include "tst_field_rules.moc"
