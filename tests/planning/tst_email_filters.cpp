// The e-mail import filter page: filters and their rules built in the tree,
// the rule editor, and the tester, whose values are the ones the e-mail lead
// import stores for the same text.

#include <QPlainTextEdit>
#include <QtTest>

#include "Email_Lead_Import.h"
#include "Planning_Test_Support.h"
#include "Recording_Main_Window.h"

namespace {

const QString Sep = "-:::-";
const QString Heading = "Fields from Labels Analyzed: \n--------------------------------------------\n\n";

// A lead of the site "Site" (lines CR LF when given to the import).
const QString Sample = "New lead from Site\n"
                       "Contact:\n"
                       "Mr Jack Brown\n"
                       "Name:   john SMITH\n"
                       "City: Dallas, TX 75201\n"
                       "Vehicle: 2021 Toyota Camry\n"
                       "Dealer\n"
                       "Phone: 555-0199\n"
                       "Customer\n"
                       "Phone: 555-0100\n"
                       "Date: 01/02/2020\n"
                       "Email: jack@example.com\n"
                       "Notes: call after 5\n";

Planning_Tree* Open_Filters(Planning_Fixture& f)
{
    f.Open();
    Click_Tab(f.Tabs("TabStrip1"), 2);
    Planning_Tree* tree = f.Tree("TreeEmailFilters");
    Click_Node(tree, "IEM");
    return tree;
}


QString Create_Filter(Planning_Fixture& f, Planning_Tree* tree, const QString& name)
{
    f.dialogs.input_answers << name;
    Click_Node(tree, "ISN");
    return f.db.Scalar("SELECT ID FROM EmailContactImports WHERE Name_Of_Site = ?", {name}).toString();
}

// Adds the label's rule as the user does: filter, group of fields not set up, field, action.
void Add_Rule(Planning_Tree* tree, const QString& id, const QString& label)
{
    Open_Node(tree, "ISC" + id);
    Open_Node(tree, "ISG" + id);
    Open_Node(tree, "ISK" + id + Sep + label);
    Click_Node(tree, "ISR" + id + Sep + label);
}

void Fill_Rule(Planning_Fixture& f, const QString& type, const QString& label, const QString& end,
               const QString& section)
{
    QComboBox* types = f.Find<QComboBox>("lstFrameImportEmail_Search_Type");
    types->setCurrentIndex(types->findText(type));
    Type_Into(f.Line("txtFrameImportEmail_Label"), label);
    Type_Into(f.Line("txtFrameImportEmail_End_Label"), end);
    Type_Into(f.Line("txtFrameImportEmail_Begin_At_Section"), section);
}

QString Result(Planning_Fixture& f)
{
    return f.Find<QPlainTextEdit>("txtFrameImportEmail_Result")->toPlainText();
}

void Click_Test(Planning_Fixture& f)
{
    QTest::mouseClick(f.Find<QPushButton>("Test_Import_Email_Rules"), Qt::LeftButton);
}

QString Crlf(QString text)
{
    return text.replace("\n", "\r\n");
}

} // namespace

class tst_email_filters : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filters_are_created_in_the_tree();
    void a_rule_is_added_and_shown();
    void the_tester_shows_what_the_import_stores_data();
    void the_tester_shows_what_the_import_stores();
    void choosing_a_search_type_alone_is_saved_and_tested();
    void removing_rules();
    void deleting_a_filter();
    void a_filter_whose_delete_fails_keeps_its_rules();
};

void tst_email_filters::filters_are_created_in_the_tree()
{
    Planning_Fixture f;
    Planning_Tree* tree = Open_Filters(f);
    QCOMPARE(Tree_Lines(tree), QStringList({"IEM | E-Mail Contact Import Filters",
                                            "  ISN | *** Create a new E-Mail Import Source"}));
    QVERIFY(tree->Find_Node("IEM")->isExpanded());

    // Cancel and an empty name add nothing.
    Click_Node(tree, "ISN");
    f.dialogs.input_answers << "";
    Click_Node(tree, "ISN");
    QCOMPARE(f.dialogs.input_prompts,
             QStringList(2, "Enter the name of the new Email Import Site."));
    const QString id = Create_Filter(f, tree, "Zeta \"Leads\" ");
    const QString second = Create_Filter(f, tree, "AutoLeads");
    QVERIFY(!id.isEmpty() && !second.isEmpty());
    // Taken by the database's comparison, whatever the case.
    Create_Filter(f, tree, "autoleads");
    QCOMPARE(f.dialogs.Texts(), QStringList({"An E-mail import site with that name already exists!"}));
    const QSqlRecord stored = f.db.Select_First("SELECT * FROM EmailContactImports WHERE ID = ?", {id});
    QCOMPARE(stored.value("Name_Of_Site").toString(), QString("Zeta \"Leads\" "));
    QCOMPARE(stored.value("Search_String_On_Subject_Line").toString(), QString(""));
    QVERIFY(stored.value("Test_Pattern").isNull());
    // Sorted under the root, the action first; a second root click changes nothing.
    Click_Node(tree, "IEM");
    QCOMPARE(Tree_Lines(tree),
             QStringList({"IEM | E-Mail Contact Import Filters", "  ISN | *** Create a new E-Mail Import Source",
                          "  ISC" + second + " | AutoLeads", "  ISC" + id + " | Zeta \"Leads\" "}));

    // A filter's first click: its action and its two groups.
    Click_Node(tree, "ISC" + second);
    QCOMPARE(Tree_Lines(tree).mid(3, 3),
             QStringList({"    ISD" + second + " | *** Delete this Import Source",
                          "    ISF" + second + " | Import Source Fields - Already Setup",
                          "    ISG" + second + " | Import Source Fields - Not Setup"}));
    Click_Node(tree, "ISF" + second);
    QCOMPARE(f.dialogs.Texts().last(), QString("There are no fields setup for this source."));
    Click_Node(tree, "ISG" + second);
    QTreeWidgetItem* not_set_up = tree->Find_Node("ISG" + second);
    QCOMPARE(not_set_up->childCount(), 24);
    QCOMPARE(not_set_up->child(0)->text(0), QString("Address"));
    QCOMPARE(not_set_up->child(23)->text(0), QString("Zip"));
}

void tst_email_filters::a_rule_is_added_and_shown()
{
    Planning_Fixture f;
    Planning_Tree* tree = Open_Filters(f);
    const QString id = Create_Filter(f, tree, "Site");
    QWidget* editor = f.Find<QWidget>("frameImportEmail");
    QVERIFY(!editor->isVisible());
    // Added while the group of set-up fields was never opened.
    Add_Rule(tree, id, "City, State");
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM EmailImportFieldsInfo WHERE Email_Import_ID = ? AND "
                         "Event_Field = 'City, State' AND Import_Type IS NULL",
                         {id})
                 .toInt(),
             1);
    const QString field = "ISH" + id + Sep + "City, State";
    QCOMPARE(Planning_Tree::Node_Key(tree->currentItem()), field);
    QVERIFY(tree->Find_Node("ISF" + id)->isExpanded());
    QVERIFY(!tree->Find_Node("ISK" + id + Sep + "City, State"));
    QVERIFY(editor->isVisible());
    QCOMPARE(f.Find<QLabel>("lblImportEmail_Header")->text(), QString("Import Field: City, State"));
    QCOMPARE(f.Find<QComboBox>("lstFrameImportEmail_Search_Type")->currentText(), QString(""));
    QCOMPARE(f.Line("txtFrameImportEmail_Label")->text(), QString(""));

    // A second rule lands in the opened group, in label order.
    Add_Rule(tree, id, "Address");
    QTreeWidgetItem* set_up = tree->Find_Node("ISF" + id);
    QCOMPARE(set_up->childCount(), 2);
    QCOMPARE(set_up->child(0)->text(0), QString("Address"));
    QCOMPARE(tree->Find_Node("ISG" + id)->childCount(), 22);

    // Edits are saved by the next click in the tree, stored as typed.
    Fill_Rule(f, "Label Search", "Street:", "", "");
    Type_Into(f.Line("txtFrameImportEmail_Subject_Line"), "New lead");
    Click_Node(tree, field);
    const QSqlRecord rule = f.db.Select_First(
        "SELECT * FROM EmailImportFieldsInfo WHERE Email_Import_ID = ? AND Event_Field = 'Address'", {id});
    QCOMPARE(rule.value("Import_Type").toString(), QString("Label Search"));
    QCOMPARE(rule.value("Label").toString(), QString("Street:"));
    QVERIFY(!rule.value("End_Label").isNull());
    QCOMPARE(rule.value("End_Label").toString(), QString(""));
    QCOMPARE(f.db.Scalar("SELECT Search_String_On_Subject_Line FROM EmailContactImports").toString(),
             QString("New lead"));
    QCOMPARE(f.Find<QLabel>("lblImportEmail_Header")->text(), QString("Import Field: City, State"));

    // Creating a filter stores the shown rule first.
    Type_Into(f.Line("txtFrameImportEmail_Label"), "City:");
    Click_Node(tree, "ISN");
    QCOMPARE(f.db.Scalar("SELECT Label FROM EmailImportFieldsInfo WHERE Event_Field = 'City, State'").toString(),
             QString("City:"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_email_filters::the_tester_shows_what_the_import_stores_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("report");    // the lines after the heading
    QTest::addColumn<QStringList>("stored");    // Contacts column=value

    const QString label = "Label Search";
    const QString line = "Line Instance Search";
    QTest::newRow("label, to the line end") << "Email" << label << "Email:" << "" << ""
                                            << QStringList({"Email = jack@example.com"})
                                            << QStringList({"Email=jack@example.com"});
    QTest::newRow("label, to an end delimiter") << "Notes" << label << "Notes:" << " after" << ""
                                                << QStringList({"Notes = call"}) << QStringList({"Notes=call"});
    QTest::newRow("label after a section begin")
        << "Home Phone" << label << "Phone:" << "" << "Customer" << QStringList({"Home Phone = 555-0100"})
        << QStringList({"Homephone=555-0100"});
    QTest::newRow("label, no section") << "Home Phone" << label << "Phone:" << "" << ""
                                       << QStringList({"Home Phone = 555-0199"})
                                       << QStringList({"Homephone=555-0199"});
    QTest::newRow("label not found") << "Company" << label << "Firm:" << "" << "" << QStringList() << QStringList();
    QTest::newRow("words: name") << "Name" << label << "Name:" << "" << ""
                                 << QStringList({"Firstname = John", "Lastname = Smith"})
                                 << QStringList({"FirstName=John", "LastName=Smith"});
    QTest::newRow("words: city, state zip")
        << "City, State Zip" << label << "City:" << "" << ""
        << QStringList({"City = Dallas", "State = TX", "Zip = 75201"})
        << QStringList({"City=Dallas", "State=TX", "Zipcode=75201"});
    QTest::newRow("words: city, state") << "City, State" << label << "City:" << "" << ""
                                        << QStringList({"City = Dallas", "State = TX"})
                                        << QStringList({"City=Dallas", "State=TX"});
    QTest::newRow("line instance") << "Company" << line << "Contact:" << "1" << ""
                                   << QStringList({"Company = Mr Jack Brown"})
                                   << QStringList({"Company=Mr Jack Brown"});
    QTest::newRow("line instance, label missing: from the top")
        << "Company" << line << "Firm:" << "2" << "" << QStringList({"Company = Contact:"})
        << QStringList({"Company=Contact:"});
    // The import takes the third word for the last name, and so does the tester.
    QTest::newRow("line instance: mr/mrs name") << "Mr/Mrs Name" << line << "Contact:" << "1" << ""
                                                << QStringList({"Firstname = Jack", "Lastname = Brown"})
                                                << QStringList({"FirstName=Jack", "LastName=Brown"});
    QTest::newRow("line instance: name") << "Name" << line << "Contact:" << "1" << ""
                                         << QStringList({"Firstname = Mr", "Lastname = Jack brown"})
                                         << QStringList({"FirstName=Mr", "LastName=Jack brown"});
    QTest::newRow("line instance: city, state zip")
        << "City, State Zip" << line << "Name:" << "1" << ""
        << QStringList({"City = City: Dallas", "State = TX", "Zip = 75201"})
        << QStringList({"City=City: Dallas", "State=TX", "Zipcode=75201"});
    QTest::newRow("line instance, no whole number") << "Company" << line << "Contact:" << "first" << ""
                                                    << QStringList() << QStringList();
    // The import sets the received date itself: nothing to show.
    QTest::newRow("date received") << "Date Received" << label << "Date:" << "" << "" << QStringList()
                                   << QStringList();
}

void tst_email_filters::the_tester_shows_what_the_import_stores()
{
    QFETCH(QString, field);
    QFETCH(QString, type);
    QFETCH(QString, label);
    QFETCH(QString, end);
    QFETCH(QString, section);
    QFETCH(QStringList, report);
    QFETCH(QStringList, stored);
    Planning_Fixture f;
    Recording_Main_Window main_window;
    Planning_Tree* tree = Open_Filters(f);
    const QString id = Create_Filter(f, tree, "Site");
    Add_Rule(tree, id, field);
    Fill_Rule(f, type, label, end, section);
    Type_Into(f.Line("txtFrameImportEmail_Subject_Line"), "New lead from");
    f.Find<QPlainTextEdit>("txtFrameImportEmail_Test_Pattern")->setPlainText(Sample);
    Click_Test(f);
    QCOMPARE(Result(f), Heading + (report.isEmpty() ? QString() : report.join("\n") + "\n"));
    // The same again: rewritten, not appended to.
    Click_Test(f);
    QCOMPARE(Result(f), Heading + (report.isEmpty() ? QString() : report.join("\n") + "\n"));
    QCOMPARE(f.db.Scalar("SELECT Test_Pattern FROM EmailContactImports").toString(), Crlf(Sample));

    // The import of the same text stores those values.
    const Email_Lead_Result lead = Import_Contact_From_Email("New lead from Site", Crlf(Sample), "m-1", Now());
    const QSqlRecord contact = f.db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {lead.Contact_ID});
    for (const QString& pair : stored)
        QCOMPARE(contact.value(pair.section('=', 0, 0)).toString(), pair.section('=', 1));
    for (const char* column : {"Email", "FirstName", "LastName", "City", "State", "Zipcode", "Company", "Notes",
                               "Homephone"}) {
        bool listed = false;
        for (const QString& pair : stored)
            listed = listed || pair.startsWith(QString(column) + "=");
        if (!listed && QString(column) != "Email")
            QVERIFY2(contact.value(column).toString().isEmpty(), column);
    }
    QCOMPARE(Db_To_Date(contact.value("Contact_Received_Date")), Now());
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_email_filters::choosing_a_search_type_alone_is_saved_and_tested()
{
    Planning_Fixture f;
    Planning_Tree* tree = Open_Filters(f);
    const QString id = Create_Filter(f, tree, "Site");
    Add_Rule(tree, id, "Company");
    Fill_Rule(f, "Label Search", "Contact:", "1", "");
    f.Find<QPlainTextEdit>("txtFrameImportEmail_Test_Pattern")->setPlainText(Sample);
    Click_Test(f);
    // A label search finds nothing on the label's own line.
    QCOMPARE(Result(f), Heading);
    QComboBox* types = f.Find<QComboBox>("lstFrameImportEmail_Search_Type");
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Up);
    QCOMPARE(types->currentText(), QString("Line Instance Search"));
    Click_Test(f);
    QCOMPARE(f.db.Scalar("SELECT Import_Type FROM EmailImportFieldsInfo").toString(),
             QString("Line Instance Search"));
    QCOMPARE(Result(f), Heading + "Company = Mr Jack Brown\n");
}

void tst_email_filters::removing_rules()
{
    Planning_Fixture f;
    Planning_Tree* tree = Open_Filters(f);
    const QString id = Create_Filter(f, tree, "Site");
    for (const QString& label : QStringList({"City", "Email", "Zip"}))
        Add_Rule(tree, id, label);
    QWidget* editor = f.Find<QWidget>("frameImportEmail");
    const auto remove = [&](const QString& label) {
        Open_Node(tree, "ISH" + id + Sep + label);
        Click_Node(tree, "ISL" + id + Sep + label);
    };

    // Cancelled: nothing changes.
    f.dialogs.answers << vbCancel;
    remove("City");
    QCOMPARE(f.dialogs.messages.last().text, QString("DO YOU WANT TO REMOVE FIELD: City ?"));
    QCOMPARE(f.dialogs.messages.last().title, QString("Removing E-mail Filter Field"));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM EmailImportFieldsInfo").toInt(), 3);

    // Any but the last shows the next field; the last shows the one before.
    remove("City");
    QCOMPARE(f.Find<QLabel>("lblImportEmail_Header")->text(), QString("Import Field: Email"));
    QVERIFY(tree->Find_Node("ISK" + id + Sep + "City"));
    remove("Zip");
    QCOMPARE(f.Find<QLabel>("lblImportEmail_Header")->text(), QString("Import Field: Email"));
    QCOMPARE(Planning_Tree::Node_Key(tree->currentItem()), "ISH" + id + Sep + "Email");

    // The only one: its group is current and the editor is hidden, holding no rule.
    Type_Into(f.Line("txtFrameImportEmail_Label"), "Email:");
    remove("Email");
    QCOMPARE(Planning_Tree::Node_Key(tree->currentItem()), "ISF" + id);
    QVERIFY(!editor->isVisible());
    QVERIFY(f.Line("txtFrameImportEmail_LabelID")->text().isEmpty());
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM EmailImportFieldsInfo").toInt(), 0);
    QCOMPARE(tree->Find_Node("ISG" + id)->childCount(), 24);
    // A page change has nothing left to store.
    Click_Tab(f.Tabs("TabStrip1"), 0);
    Click_Tab(f.Tabs("TabStrip1"), 2);
    QCOMPARE(f.dialogs.messages.size(), 4);
    Click_Node(tree, "ISF" + id);
    QCOMPARE(f.dialogs.Texts().last(), QString("There are no fields setup for this source."));
}

void tst_email_filters::deleting_a_filter()
{
    Planning_Fixture f;
    Planning_Tree* tree = Open_Filters(f);
    const QString keep = Create_Filter(f, tree, "Keep");
    const QString drop = Create_Filter(f, tree, "Drop");
    Add_Rule(tree, drop, "Email");
    Add_Rule(tree, keep, "Email");
    QVERIFY(f.Find<QWidget>("frameImportEmail")->isVisible());
    Open_Node(tree, "ISC" + drop);
    f.dialogs.answers << vbCancel;
    Click_Node(tree, "ISD" + drop);
    QCOMPARE(f.dialogs.messages.last().text, QString("DO YOU WANT TO DELETE SOURCE: Drop"));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM EmailContactImports").toInt(), 2);

    Click_Node(tree, "ISD" + drop);
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM EmailContactImports").toInt(), 1);
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM EmailImportFieldsInfo WHERE Email_Import_ID = ?", {drop}).toInt(), 0);
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM EmailImportFieldsInfo WHERE Email_Import_ID = ?", {keep}).toInt(), 1);
    QVERIFY(!tree->Find_Node("ISC" + drop));
    QVERIFY(!tree->Find_Node("ISH" + drop + Sep + "Email"));
    // Hidden, though it showed the other filter's rule.
    QVERIFY(!f.Find<QWidget>("frameImportEmail")->isVisible());
}

void tst_email_filters::a_filter_whose_delete_fails_keeps_its_rules()
{
    Planning_Fixture f;
    Planning_Tree* tree = Open_Filters(f);
    const QString id = Create_Filter(f, tree, "O'Neil's Leads");
    Add_Rule(tree, id, "Email");
    Open_Node(tree, "ISC" + id);
    // The filter row cannot go: its rules, deleted first, come back.
    f.db.Execute("CREATE TRIGGER keep_filters BEFORE DELETE ON EmailContactImports "
                 "BEGIN SELECT RAISE(ABORT, 'locked'); END");
    Click_Node(tree, "ISD" + id);
    QCOMPARE(f.dialogs.messages.size(), 2);
    QVERIFY(f.dialogs.messages.last().text.startsWith("Error on Delete Email Import Filter"));
    QCOMPARE(f.db.Scalar("SELECT Name_Of_Site FROM EmailContactImports").toString(), QString("O'Neil's Leads"));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM EmailImportFieldsInfo WHERE Email_Import_ID = ?", {id}).toInt(), 1);
    QVERIFY(tree->Find_Node("ISC" + id));
}

QTEST_MAIN(tst_email_filters)
#include "tst_email_filters.moc"
