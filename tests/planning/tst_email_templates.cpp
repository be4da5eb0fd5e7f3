// The e-mail template page: adding, showing, saving, deleting and spell
// checking templates; "Birthday" cannot be deleted.

#include <QtTest>

#include "Planning_Test_Support.h"

namespace {

QStringList Template_Names(Database& db)
{
    QStringList names;
    for (const QSqlRecord& row : db.Select("SELECT FormatID FROM emailformats ORDER BY ID"))
        names << row.value(0).toString();
    return names;
}

QPushButton* Button(Planning_Fixture& f, const QString& name)
{
    return f.Find<QPushButton>(name);
}

} // namespace

class tst_email_templates : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void adding_data();
    void adding();
    void saving_writes_the_shown_template();
    void deleting();
    void the_birthday_template_can_be_edited_not_deleted();
    void a_birthday_template_added_gets_no_delete_node();
    void the_message_is_spell_checked();
};

void tst_email_templates::adding_data()
{
    QTest::addColumn<QString>("answer");        // empty: cancelled
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("tree");

    const QStringList birthday = {"TPLBirthday | Birthday"};
    QTest::newRow("cancelled") << QString() << QStringList() << birthday;
    QTest::newRow("a new name")
        << "Offer" << QStringList()
        << birthday + QStringList({"TPLOffer | Offer", "  TPDOffer | Delete Template: Offer"});
    QTest::newRow("taken, in another case")
        << "BIRTHDAY" << QStringList({"The Template: BIRTHDAY already exists. Please enter another name."})
        << birthday;
    QTest::newRow("a name with a quote")
        << "Say \"hi\"" << QStringList()
        << birthday + QStringList({"TPLSay \"hi\" | Say \"hi\"", "  TPDSay \"hi\" | Delete Template: Say \"hi\""});
    QTest::newRow("a name with an apostrophe")
        << "Ann's offer" << QStringList()
        << birthday + QStringList({"TPLAnn's offer | Ann's offer", "  TPDAnn's offer | Delete Template: Ann's offer"});
}

void tst_email_templates::adding()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, tree);
    Planning_Fixture f;
    f.Open();
    if (!answer.isEmpty())
        f.dialogs.input_answers << answer;
    QTest::mouseClick(Button(f, "Add_Email_Template"), Qt::LeftButton);
    QCOMPARE(f.dialogs.input_prompts, QStringList({"Enter the name of the new Email Template."}));
    QCOMPARE(f.dialogs.Texts(), messages);
    QCOMPARE(Tree_Lines(f.Tree("TreeEmailTemplate")), tree);
    const bool added = tree.size() > 1;
    QCOMPARE(Template_Names(f.db), added ? QStringList({"Birthday", answer}) : QStringList({"Birthday"}));
    QCOMPARE(f.Find<QWidget>("frameEmailTemplateEditing")->isVisible(), added);
    if (added) {
        QCOMPARE(f.Find<QLabel>("lblEmailTemplateName")->text(), answer);
        QCOMPARE(Planning_Tree::Node_Key(f.Tree("TreeEmailTemplate")->currentItem()), "TPL" + answer);
        QCOMPARE(f.db.Scalar("SELECT EmailSubject FROM emailformats WHERE FormatID = ?", {answer}).toString(),
                 QString(""));
    }
}

void tst_email_templates::saving_writes_the_shown_template()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO emailformats (FormatID, EmailSubject, EmailMessage) VALUES ('Offer', NULL, NULL)");
    f.Open();
    Planning_Tree* tree = f.Tree("TreeEmailTemplate");
    QVERIFY(Click_Node(tree, "TPLOffer"));
    // Null fields show as empty boxes.
    QCOMPARE(f.Line("txtFrameEmailTemplateSubject")->text(), QString(""));
    Type_Into(f.Line("txtFrameEmailTemplateSubject"), "Your offer, [Firstname]");
    QTextEdit* message = f.Find<QTextEdit>("txtFrameEmailTemplateMessage");
    Type_Into(message, "Line one");
    QTest::keyClick(message, Qt::Key_Return);
    QTest::keyClicks(message, "Line two");
    // A tab click does not save templates; Save does.
    Click_Tab(f.Tabs("TabTemplateStrip"), 0);
    QVERIFY(f.db.Scalar("SELECT EmailSubject FROM emailformats WHERE FormatID = 'Offer'").isNull());
    QTest::mouseClick(Button(f, "Save_Email_Template"), Qt::LeftButton);
    const QSqlRecord row = f.db.Select_First("SELECT * FROM emailformats WHERE FormatID = 'Offer'");
    QCOMPARE(row.value("EmailSubject").toString(), QString("Your offer, [Firstname]"));
    QCOMPARE(row.value("EmailMessage").toString(), QString("Line one\r\nLine two"));

    // A second Save without an edit writes nothing.
    f.db.Execute("UPDATE emailformats SET EmailSubject = 'elsewhere' WHERE FormatID = 'Offer'");
    QTest::mouseClick(Button(f, "Save_Email_Template"), Qt::LeftButton);
    QCOMPARE(f.db.Scalar("SELECT EmailSubject FROM emailformats WHERE FormatID = 'Offer'").toString(),
             QString("elsewhere"));

    // A template deleted meanwhile is stored again under its name.
    f.db.Execute("DELETE FROM emailformats WHERE FormatID = 'Offer'");
    Type_Into(f.Line("txtFrameEmailTemplateSubject"), "Again");
    QTest::mouseClick(Button(f, "Save_Email_Template"), Qt::LeftButton);
    QCOMPARE(f.db.Scalar("SELECT EmailSubject FROM emailformats WHERE FormatID = 'Offer'").toString(),
             QString("Again"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_email_templates::deleting()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO emailformats (FormatID) VALUES ('Offer'), ('Thanks')");
    f.Open();
    Planning_Tree* tree = f.Tree("TreeEmailTemplate");
    QVERIFY(Click_Node(tree, "TPLOffer"));
    // Opened by the keyboard, the delete node shows under the template.
    QTest::keyClick(tree, Qt::Key_Right);
    QVERIFY(Click_Node(tree, "TPLThanks"));
    f.dialogs.answers << vbCancel;
    QVERIFY(Click_Node(tree, "TPDOffer"));
    QCOMPARE(f.dialogs.messages.last().text, QString("DELETE E-MAIL TEMPLATE: Offer"));
    QCOMPARE(f.dialogs.messages.last().style & 0x0F, int(vbOKCancel));
    QCOMPARE(Template_Names(f.db), QStringList({"Birthday", "Offer", "Thanks"}));
    QVERIFY(f.Find<QWidget>("frameEmailTemplateEditing")->isVisible());

    // OK: gone from the table and the tree; the editor hides, whichever template it showed.
    QVERIFY(Click_Node(tree, "TPDOffer"));
    QCOMPARE(Template_Names(f.db), QStringList({"Birthday", "Thanks"}));
    QVERIFY(!tree->Find_Node("TPLOffer"));
    QVERIFY(!tree->Find_Node("TPDOffer"));
    QVERIFY(!f.Find<QWidget>("frameEmailTemplateEditing")->isVisible());
}

void tst_email_templates::the_birthday_template_can_be_edited_not_deleted()
{
    Planning_Fixture f;
    f.Open();
    Planning_Tree* tree = f.Tree("TreeEmailTemplate");
    QCOMPARE(tree->Find_Node("TPLBirthday")->childCount(), 0);
    QVERIFY(Click_Node(tree, "TPLBirthday"));
    QCOMPARE(f.Line("txtFrameEmailTemplateSubject")->text(), QString("Happy Birthday, [Firstname]!"));
    // Save right after showing rewrites the shown values (CR LF kept).
    const QString stored = f.db.Scalar("SELECT EmailMessage FROM emailformats").toString();
    QTest::mouseClick(Button(f, "Save_Email_Template"), Qt::LeftButton);
    QCOMPARE(f.db.Scalar("SELECT EmailMessage FROM emailformats").toString(), stored);
    Type_Into(f.Line("txtFrameEmailTemplateSubject"), "Many happy returns");
    QTest::mouseClick(Button(f, "Save_Email_Template"), Qt::LeftButton);
    QCOMPARE(f.db.Scalar("SELECT EmailSubject FROM emailformats WHERE FormatID = 'Birthday'").toString(),
             QString("Many happy returns"));
    QCOMPARE(Template_Names(f.db), QStringList({"Birthday"}));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_email_templates::a_birthday_template_added_gets_no_delete_node()
{
    Planning_Fixture f;
    f.db.Execute("DELETE FROM emailformats");
    f.Open();
    f.dialogs.input_answers << "Birthday" << "birthday card";
    QTest::mouseClick(Button(f, "Add_Email_Template"), Qt::LeftButton);
    QTest::mouseClick(Button(f, "Add_Email_Template"), Qt::LeftButton);
    QCOMPARE(Tree_Lines(f.Tree("TreeEmailTemplate")),
             QStringList({"TPLBirthday | Birthday", "TPLbirthday card | birthday card",
                          "  TPDbirthday card | Delete Template: birthday card"}));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_email_templates::the_message_is_spell_checked()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO emailformats (FormatID, EmailSubject, EmailMessage) "
                 "VALUES ('Offer', 'Recieve it', 'We recieve\r\nOK')");
    f.Open();
    QVERIFY(Click_Node(f.Tree("TreeEmailTemplate"), "TPLOffer"));
    f.corrections = {{"We recieve\nOK", "OK"}};
    QTest::mouseClick(Button(f, "Spell_Check_Email_Template_Message"), Qt::LeftButton);
    // The message only; copied back however short it came.
    QCOMPARE(f.spell_checked, QStringList({"We recieve\nOK"}));
    QCOMPARE(f.Find<QTextEdit>("txtFrameEmailTemplateMessage")->toPlainText(), QString("OK"));
    QTest::mouseClick(Button(f, "Save_Email_Template"), Qt::LeftButton);
    QCOMPARE(f.db.Scalar("SELECT EmailMessage FROM emailformats WHERE FormatID = 'Offer'").toString(), QString("OK"));
    QCOMPARE(f.db.Scalar("SELECT EmailSubject FROM emailformats WHERE FormatID = 'Offer'").toString(),
             QString("Recieve it"));
}

QTEST_MAIN(tst_email_templates)
#include "tst_email_templates.moc"
