// The quote template page: what it shows of the product quote row, what its
// Save stores (the boxes as typed), the type it cannot be made to change, its
// spell check, and edits not saved yet while other pages are shown.

#include <QPlainTextEdit>
#include <QtTest>

#include "Planning_Test_Support.h"

namespace {

const char* const Boxes[] = {"txtFrameQuoteTemplateEdit_Subject", "txtFrameQuoteTemplateEdit_Introduction",
                             "txtFrameQuoteTemplateEdit_Delimiter", "txtFrameQuoteTemplateEdit_Quote",
                             "txtFrameQuoteTemplateEdit_Disclaimer"};
const char* const Fields[] = {"Subject", "Intro_Message", "Message_Delimiter", "Quote_Template", "Disclaimer"};

QString Box_Text(Planning_Fixture& f, const char* name)
{
    if (auto* area = f.Find<QPlainTextEdit>(name))
        return area->toPlainText();
    return QString();
}

void Open_Quote_Page(Planning_Fixture& f)
{
    f.Open();
    Click_Tab(f.Tabs("TabTemplateStrip"), 1);
}

QWidget* Box(Planning_Fixture& f, const char* name)
{
    return f.Find<QWidget>(name);
}

QString Shown(Planning_Fixture& f, const char* name)
{
    if (auto* line = qobject_cast<QLineEdit*>(Box(f, name)))
        return line->text();
    return Box_Text(f, name);
}

QStringList Stored(Database& db)
{
    const QSqlRecord row = db.Select_First("SELECT * FROM QuotesTemplates WHERE Quote_Type = 'Product'");
    QStringList values;
    for (const char* field : Fields)
        values << (row.value(field).isNull() ? QString("<null>") : row.value(field).toString());
    return values;
}

} // namespace

class tst_quote_templates : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_page_shows_the_product_row();
    void save_stores_the_boxes_as_typed_data();
    void save_stores_the_boxes_as_typed();
    void the_type_cannot_be_changed();
    void a_missing_row_is_made_by_save();
    void the_spell_check_works_on_the_box_last_in_use();
    void edits_not_saved_stay_while_other_pages_are_shown();
};

void tst_quote_templates::the_page_shows_the_product_row()
{
    Planning_Fixture f;
    f.db.Execute("UPDATE QuotesTemplates SET Subject = 'Quote for [Firstname]', Intro_Message = 'Dear [Firstname],"
                 "\r\nhere it is.', Message_Delimiter = '----', Quote_Template = NULL, Disclaimer = 'Prices may change'");
    f.db.Execute("INSERT INTO QuotesTemplates (Quote_Type, Subject) VALUES ('Service', 'Not this one')");
    f.Open();
    QTabBar* strip = f.Tabs("TabTemplateStrip");
    QVERIFY(strip->isTabEnabled(1));
    QVERIFY(!Box(f, "frameQuoteTemplateEdit")->isVisible());
    Click_Tab(strip, 1);
    QVERIFY(Box(f, "frameQuoteTemplateEdit")->isVisible());
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Type"), QString("Product"));
    QCOMPARE(f.Find<QLabel>("txtFrameQuoteTemplateEdit_Heading")->text(),
             QString("Product Catalog Quote Template Edit"));
    const QString explanation = Box_Text(f, "txtFrameQuoteTemplateEdit_Fields_Explanation");
    QCOMPARE(explanation.split('\n').size(), 6);
    // Every token it names is one the merge replaces (they are compared with case).
    QVERIFY(explanation.contains("[Homephone], [Workphone]"));
    QVERIFY(explanation.endsWith("[Catalog_Product], [Part_Number], [Description], [Price]"));
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Subject"), QString("Quote for [Firstname]"));
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Introduction"), QString("Dear [Firstname],\nhere it is."));
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Delimiter"), QString("----"));
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Quote"), QString());
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Disclaimer"), QString("Prices may change"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_quote_templates::save_stores_the_boxes_as_typed_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    for (int box = 0; box < 5; ++box)
        QTest::addRow("%s emptied", Fields[box]) << box << QString() << QString();
    QTest::newRow("subject") << 0 << "Your quote" << "Your quote";
    QTest::newRow("introduction of two lines") << 1 << "Dear [Firstname],\nthank you." << "Dear [Firstname],\r\nthank you.";
    QTest::newRow("a delimiter of one zero") << 2 << "0" << "0";
    QTest::newRow("quote with tokens") << 3 << "[Catalog_Product]: [Price]" << "[Catalog_Product]: [Price]";
    QTest::newRow("disclaimer") << 4 << "Valid for 30 days." << "Valid for 30 days.";
}

void tst_quote_templates::save_stores_the_boxes_as_typed()
{
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Planning_Fixture f;
    QStringList expected = Stored(f.db);
    Open_Quote_Page(f);
    QWidget* area = Box(f, Boxes[box]);
    Type_Into(area, QString());
    const QStringList lines = typed.split('\n');
    for (int at = 0; at < lines.size(); ++at) {
        if (at > 0)
            QTest::keyClick(area, Qt::Key_Return);
        QTest::keyClicks(area, lines[at]);
    }
    QTest::mouseClick(f.Find<QPushButton>("Save_Quote_Template_dit"), Qt::LeftButton);
    expected[box] = stored;
    QCOMPARE(Stored(f.db), expected);
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM QuotesTemplates").toInt(), 1);

    // Shown again as it was stored, never as "0" for an empty box.
    Click_Tab(f.Tabs("TabTemplateStrip"), 0);
    Click_Tab(f.Tabs("TabTemplateStrip"), 1);
    QCOMPARE(Shown(f, Boxes[box]), typed);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_quote_templates::the_type_cannot_be_changed()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO QuotesTemplates (Quote_Type, Subject) VALUES ('Service', 'Service quote')");
    Open_Quote_Page(f);
    auto* type = f.Find<QLineEdit>("txtFrameQuoteTemplateEdit_Type");
    QVERIFY(type->isReadOnly());
    type->setFocus();
    QTest::keyClick(type, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(type, "Service");
    QCOMPARE(type->text(), QString("Product"));
    Type_Into(Box(f, "txtFrameQuoteTemplateEdit_Subject"), "Changed");
    QTest::mouseClick(f.Find<QPushButton>("Save_Quote_Template_dit"), Qt::LeftButton);
    QCOMPARE(f.db.Scalar("SELECT Subject FROM QuotesTemplates WHERE Quote_Type = 'Service'").toString(),
             QString("Service quote"));
    QCOMPARE(f.db.Scalar("SELECT Subject FROM QuotesTemplates WHERE Quote_Type = 'Product'").toString(),
             QString("Changed"));
}

void tst_quote_templates::a_missing_row_is_made_by_save()
{
    Planning_Fixture f;
    f.db.Execute("DELETE FROM QuotesTemplates");
    Open_Quote_Page(f);
    for (const char* name : Boxes)
        QCOMPARE(Shown(f, name), QString());
    Type_Into(Box(f, "txtFrameQuoteTemplateEdit_Subject"), "Quote");
    QTest::mouseClick(f.Find<QPushButton>("Save_Quote_Template_dit"), Qt::LeftButton);
    QCOMPARE(Stored(f.db), QStringList({"Quote", "", "", "", ""}));
    // A second save updates that row.
    Type_Into(Box(f, "txtFrameQuoteTemplateEdit_Delimiter"), "==");
    QTest::mouseClick(f.Find<QPushButton>("Save_Quote_Template_dit"), Qt::LeftButton);
    QCOMPARE(Stored(f.db), QStringList({"Quote", "", "==", "", ""}));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM QuotesTemplates").toInt(), 1);
}

void tst_quote_templates::the_spell_check_works_on_the_box_last_in_use()
{
    Planning_Fixture f;
    f.corrections = {{"teh", "the"}};
    f.db.Execute("UPDATE QuotesTemplates SET Intro_Message = 'Here is teh quote', "
                 "Disclaimer = 'teh prices' || char(13, 10) || 'may change'");
    Open_Quote_Page(f);
    auto* spell = f.Find<QPushButton>("Spell_Check_Quote_Template");
    // At first, the introduction.
    QTest::mouseClick(spell, Qt::LeftButton);
    QCOMPARE(f.spell_checked, QStringList({"Here is teh quote"}));
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Introduction"), QString("Here is the quote"));
    // By its key, as the user does it in the active window.
    QVERIFY(QTest::qWaitForWindowActive(Planning_Window()));
    QWidget* disclaimer = Box(f, "txtFrameQuoteTemplateEdit_Disclaimer");
    disclaimer->setFocus();
    QTest::keyClick(disclaimer, Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(f.spell_checked.size(), 2);   // a key clicks the button a moment later
    QCOMPARE(f.spell_checked[1], QString("teh prices\nmay change"));
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Disclaimer"), QString("the prices\nmay change"));
    // The check changes the boxes, not the row.
    QCOMPARE(Stored(f.db)[4], QString("teh prices\r\nmay change"));
    QTest::mouseClick(f.Find<QPushButton>("Save_Quote_Template_dit"), Qt::LeftButton);
    QCOMPARE(Stored(f.db)[1], QString("Here is the quote"));
    QCOMPARE(Stored(f.db)[4], QString("the prices\r\nmay change"));
}

void tst_quote_templates::edits_not_saved_stay_while_other_pages_are_shown()
{
    Planning_Fixture f;
    const QStringList before = Stored(f.db);
    Open_Quote_Page(f);
    Type_Into(Box(f, "txtFrameQuoteTemplateEdit_Subject"), "Draft subject");
    Click_Tab(f.Tabs("TabStrip1"), 1);
    Click_Tab(f.Tabs("TabStrip1"), 0);
    Click_Tab(f.Tabs("TabTemplateStrip"), 0);
    Click_Tab(f.Tabs("TabTemplateStrip"), 1);
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Subject"), QString("Draft subject"));
    // Only Save writes them.
    QCOMPARE(Stored(f.db), before);
    QTest::mouseClick(f.Find<QPushButton>("Save_Quote_Template_dit"), Qt::LeftButton);
    QCOMPARE(Stored(f.db)[0], QString("Draft subject"));

    // Once saved, the page reads the row again when it is shown.
    f.db.Execute("UPDATE QuotesTemplates SET Subject = 'From elsewhere'");
    Click_Tab(f.Tabs("TabTemplateStrip"), 0);
    Click_Tab(f.Tabs("TabTemplateStrip"), 1);
    QCOMPARE(Shown(f, "txtFrameQuoteTemplateEdit_Subject"), QString("From elsewhere"));
}

QTEST_MAIN(tst_quote_templates)
#include "tst_quote_templates.moc"
