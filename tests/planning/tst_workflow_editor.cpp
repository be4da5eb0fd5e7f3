// The workflow page: adding and deleting steps in the tree, the step editor's
// values as they are stored, the node texts it rewrites, its spell check, and
// the tree following the catalog.

#include <QtTest>

#include "Planning_Test_Support.h"
#include "pages/Product_Catalog.h"
#include "pages/Product_Catalog_Model.h"

namespace {

const QString Sep = "-:::-";

void Add_Steps(Database& db, const QString& product, int steps)
{
    for (int step = 1; step <= steps; ++step)
        db.Insert("INSERT INTO Events (Product, EventID, Event_Action, DaysAfterInitialContact, "
                  "AdditionalHoursToAdd, Subject, Message, SenderEmail, SenderEmailName) "
                  "VALUES (?, ?, 'Call Out', ?, 0, 'Subject', 'Message', 'old@example.com', 'Old')",
                  {product, step, step});
}

// Opens the window on the workflow page.
Planning_Tree* Open_Workflow(Planning_Fixture& f)
{
    f.Open();
    Click_Tab(f.Tabs("TabStrip1"), 1);
    return f.Tree("TreeWorkflow");
}

QSqlRecord Step(Database& db, const QString& product, int step)
{
    return db.Select_First("SELECT * FROM Events WHERE Product = ? AND EventID = ?", {product, step});
}

} // namespace

class tst_workflow_editor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_new_step_comes_with_its_defaults();
    void a_new_step_follows_the_products_highest();
    void deleting_the_last_step();
    void days_and_hours_take_whole_numbers_only_data();
    void days_and_hours_take_whole_numbers_only();
    void texts_are_stored_as_typed();
    void a_step_gone_from_the_database_is_said_on_saving();
    void the_node_text_is_the_edited_steps();
    void the_message_is_spell_checked();
    void the_tree_follows_the_catalog();
    void no_step_is_added_under_a_product_gone_from_the_catalog();
};

void tst_workflow_editor::a_new_step_comes_with_its_defaults()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Civic')");
    Planning_Tree* tree = Open_Workflow(f);
    QVERIFY(Click_Node(tree, "PTDCivic"));

    const QSqlRecord step = Step(f.db, "Civic", 1);
    QVERIFY(!step.isEmpty());
    QCOMPARE(step.value("Event_Action").toString(), QString("Email Out"));
    QCOMPARE(step.value("DaysAfterInitialContact").toInt(), 0);
    QCOMPARE(step.value("AdditionalHoursToAdd").toInt(), 0);
    QCOMPARE(step.value("Subject").toString(), QString("Subject for Message #1 for product name Civic"));
    QCOMPARE(step.value("Message").toString(), QString("Message number 1 for Civic"));
    QCOMPARE(step.value("SenderEmail").toString(), QString("sales@example.com"));
    QCOMPARE(step.value("SenderEmailName").toString(), QString("Sales Desk"));

    const QString key = "PTFCivic" + Sep + "1";
    QCOMPARE(Planning_Tree::Node_Key(tree->currentItem()), key);
    QCOMPARE(tree->currentItem()->text(0), QString("Event#: 1 Type: Email Out Days: 0 Hours: 0"));
    QVERIFY(Highlighted(tree, key));
    QVERIFY(!Highlighted(tree, "PTDCivic"));
    QCOMPARE(f.Find<QLabel>("lblProductTimeline")->text(), QString("Workflow for Civic"));
    QCOMPARE(f.Line("txtFrameCreateTimeline_Subject")->text(),
             QString("Subject for Message #1 for product name Civic"));
    // Loading is no edit: a tab click writes nothing back.
    f.db.Execute("UPDATE Events SET Subject = 'changed elsewhere'");
    Click_Tab(f.Tabs("TabProducts"), 0);
    QCOMPARE(Step(f.db, "Civic", 1).value("Subject").toString(), QString("changed elsewhere"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_workflow_editor::a_new_step_follows_the_products_highest()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Accord'), ('Civic')");
    Add_Steps(f.db, "Accord", 7);
    Add_Steps(f.db, "Civic", 4);
    Planning_Tree* tree = Open_Workflow(f);
    QVERIFY(Click_Node(tree, "PTBCivic"));
    QVERIFY(Click_Node(tree, "PTDCivic"));
    QCOMPARE(f.db.Scalar("SELECT Max(EventID) FROM Events WHERE Product = 'Civic'").toInt(), 5);
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM Events WHERE Product = 'Accord'").toInt(), 7);
    QCOMPARE(tree->Find_Node("PTBCivic")->childCount(), 2 + 5);
}

void tst_workflow_editor::deleting_the_last_step()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Accord'), ('Civic'), ('Fit')");
    Add_Steps(f.db, "Accord", 3);
    Add_Steps(f.db, "Civic", 1);
    Planning_Tree* tree = Open_Workflow(f);
    QWidget* editor = f.Find<QWidget>("frameCreateTimelineForProduct");

    // No steps: said, nothing asked.
    QVERIFY(Click_Node(tree, "PTBFit"));
    QVERIFY(Click_Node(tree, "PTEFit"));
    QCOMPARE(f.dialogs.Texts(), QStringList({"There are no workflow events to delete."}));

    // No keeps the steps.
    f.dialogs.answers << vbNo;
    QVERIFY(Click_Node(tree, "PTEAccord"));
    QCOMPARE(f.dialogs.messages.last().text, QString("DO YOU WANT TO DELETE THE LAST EVENT?"));
    QCOMPARE(f.dialogs.messages.last().style & 0x0F, int(vbYesNo));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM Events WHERE Product = 'Accord'").toInt(), 3);

    // Yes: step 3 goes; step 2 is shown and marked.
    QVERIFY(Click_Node(tree, "PTEAccord"));
    QCOMPARE(f.db.Scalar("SELECT Max(EventID) FROM Events WHERE Product = 'Accord'").toInt(), 2);
    QVERIFY(!tree->Find_Node("PTFAccord" + Sep + "3"));
    QCOMPARE(Planning_Tree::Node_Key(tree->currentItem()), "PTFAccord" + Sep + "2");
    QVERIFY(Highlighted(tree, "PTFAccord" + Sep + "2"));
    QVERIFY(!Highlighted(tree, "PTEAccord"));
    QCOMPARE(f.Line("txtFrameCreateTimeline_Days")->text(), QString("2"));
    QVERIFY(editor->isVisible());

    // The only step of Civic: the product is current, the editor hidden and empty.
    QVERIFY(Click_Node(tree, "PTBCivic"));
    QVERIFY(Click_Node(tree, "PTFCivic" + Sep + "1"));
    QVERIFY(Click_Node(tree, "PTECivic"));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM Events WHERE Product = 'Civic'").toInt(), 0);
    QCOMPARE(Planning_Tree::Node_Key(tree->currentItem()), QString("PTBCivic"));
    QVERIFY(!editor->isVisible());
    for (const char* box : {"txtFrameCreateTimeline_Days", "txtFrameCreateTimeline_Subject",
                            "txtFrameCreateTimeline_Product", "txtFrameCreateTimeline_EventNumber"})
        QVERIFY2(f.Line(box)->text().isEmpty(), box);
    // Nothing is left for a commit to write to.
    Click_Tab(f.Tabs("TabStrip1"), 0);
    QCOMPARE(f.dialogs.messages.size(), 4);
}

void tst_workflow_editor::days_and_hours_take_whole_numbers_only_data()
{
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("message");      // empty: stored
    QTest::addColumn<int>("stored_days");
    QTest::addColumn<int>("stored_hours");

    const QString days_message = "Enter the days after contact as a whole number from 0 to 32767.";
    const QString hours_message = "Enter the hours after contact as a whole number from 0 to 32767.";
    QTest::newRow("whole numbers") << "3" << "12" << QString() << 3 << 12;
    QTest::newRow("zero and the highest") << "0" << "32767" << QString() << 0 << 32767;
    QTest::newRow("empty boxes are 0") << "" << "" << QString() << 0 << 0;
    QTest::newRow("blanks around") << " 4 " << "5" << QString() << 4 << 5;
    QTest::newRow("negative days") << "-1" << "0" << days_message << 1 << 0;
    QTest::newRow("a fraction") << "2.5" << "0" << days_message << 1 << 0;
    QTest::newRow("a word") << "three" << "0" << days_message << 1 << 0;
    QTest::newRow("too many days") << "32768" << "0" << days_message << 1 << 0;
    QTest::newRow("negative hours") << "2" << "-3" << hours_message << 1 << 0;
    QTest::newRow("hours with a unit") << "2" << "4h" << hours_message << 1 << 0;
}

void tst_workflow_editor::days_and_hours_take_whole_numbers_only()
{
    QFETCH(QString, days);
    QFETCH(QString, hours);
    QFETCH(QString, message);
    QFETCH(int, stored_days);
    QFETCH(int, stored_hours);
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Civic')");
    Add_Steps(f.db, "Civic", 2);
    Planning_Tree* tree = Open_Workflow(f);
    QLineEdit* days_box = f.Line("txtFrameCreateTimeline_Days");
    QLineEdit* hours_box = f.Line("txtFrameCreateTimeline_Hours");
    Type_Into(days_box, days);
    Type_Into(hours_box, hours);
    // Another step is clicked: the shown one is stored first, or stays.
    QVERIFY(Click_Node(tree, "PTFCivic" + Sep + "2"));
    const QSqlRecord step = Step(f.db, "Civic", 1);
    QCOMPARE(step.value("DaysAfterInitialContact").toInt(), stored_days);
    QCOMPARE(step.value("AdditionalHoursToAdd").toInt(), stored_hours);
    if (message.isEmpty()) {
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(Planning_Tree::Node_Key(tree->currentItem()), "PTFCivic" + Sep + "2");
        return;
    }
    QCOMPARE(f.dialogs.Texts(), QStringList({message}));
    QCOMPARE(f.Line("txtFrameCreateTimeline_EventNumber")->text(), QString("1"));
    QCOMPARE(Planning_Tree::Node_Key(tree->currentItem()), "PTFCivic" + Sep + "1");
    QVERIFY((message.contains("days") ? days_box : hours_box)->hasFocus());
}

void tst_workflow_editor::texts_are_stored_as_typed()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Civic')");
    Add_Steps(f.db, "Civic", 1);
    Open_Workflow(f);
    Type_Into(f.Line("txtFrameCreateTimeline_Subject"), "");
    Type_Into(f.Line("txtFrameCreateTimeline_FromName"), "");
    Type_Into(f.Find<QTextEdit>("txtFrameCreateTimeline_Message"), "");
    QComboBox* action = f.Find<QComboBox>("lstProductAction");
    QVERIFY(!action->isEditable());
    QCOMPARE(action->count(), 3);
    action->setFocus();
    QTest::keyClick(action, Qt::Key_Up);   // "Call Out" -> "Email Out"
    Click_Tab(f.Tabs("TabStrip1"), 0);
    QSqlRecord step = Step(f.db, "Civic", 1);
    QCOMPARE(step.value("Subject").toString(), QString(""));
    QCOMPARE(step.value("SenderEmailName").toString(), QString(""));
    QCOMPARE(step.value("Message").toString(), QString(""));
    QCOMPARE(step.value("Event_Action").toString(), QString("Email Out"));
    // The sender address is the one the step got when it was added.
    QCOMPARE(step.value("SenderEmail").toString(), QString("old@example.com"));

    // Lines of the message are stored with CR LF.
    Click_Tab(f.Tabs("TabStrip1"), 1);
    QTextEdit* message = f.Find<QTextEdit>("txtFrameCreateTimeline_Message");
    message->setFocus();
    QTest::keyClicks(message, "Dear [Firstname],");
    QTest::keyClick(message, Qt::Key_Return);
    QTest::keyClicks(message, "thanks");
    Click_Tab(f.Tabs("TabStrip1"), 0);
    QCOMPARE(Step(f.db, "Civic", 1).value("Message").toString(), QString("Dear [Firstname],\r\nthanks"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_workflow_editor::a_step_gone_from_the_database_is_said_on_saving()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Civic')");
    Add_Steps(f.db, "Civic", 1);
    Open_Workflow(f);
    f.db.Execute("DELETE FROM Events");
    Type_Into(f.Line("txtFrameCreateTimeline_Subject"), "Hello");
    Click_Tab(f.Tabs("TabStrip1"), 0);
    QCOMPARE(f.dialogs.Texts(),
             QStringList({"Workflow event 1 of Civic is no longer in the database: its changes could not be saved."}));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM Events").toInt(), 0);
    // Said once: the editor holds nothing more.
    Click_Tab(f.Tabs("TabStrip1"), 1);
    QVERIFY(!f.Find<QWidget>("frameCreateTimelineForProduct")->isVisible());
    QVERIFY(f.Line("txtFrameCreateTimeline_EventNumber")->text().isEmpty());
    QCOMPARE(f.dialogs.messages.size(), 1);
}

void tst_workflow_editor::the_node_text_is_the_edited_steps()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Accord'), ('Civic')");
    Add_Steps(f.db, "Accord", 1);
    Add_Steps(f.db, "Civic", 1);
    Planning_Tree* tree = Open_Workflow(f);
    // Another product's node is clicked last; the editor still holds Accord's step.
    QVERIFY(Click_Node(tree, "PTBCivic"));
    QCOMPARE(f.Line("txtFrameCreateTimeline_Product")->text(), QString("Accord"));
    QLineEdit* days = f.Line("txtFrameCreateTimeline_Days");
    days->setFocus();
    QTest::keyClick(days, Qt::Key_End);
    QTest::keyClicks(days, "4");
    QCOMPARE(tree->Find_Node("PTFAccord" + Sep + "1")->text(0),
             QString("Event#: 1 Type: Call Out Days: 14 Hours: 0"));
    QCOMPARE(tree->Find_Node("PTBCivic")->text(0), QString("Civic"));
    QCOMPARE(tree->Find_Node("PTFCivic" + Sep + "1")->text(0),
             QString("Event#: 1 Type: Call Out Days: 1 Hours: 0"));
    Click_Tab(f.Tabs("TabStrip1"), 0);
    QCOMPARE(Step(f.db, "Accord", 1).value("DaysAfterInitialContact").toInt(), 14);
    QCOMPARE(Step(f.db, "Civic", 1).value("DaysAfterInitialContact").toInt(), 1);
}

void tst_workflow_editor::the_message_is_spell_checked()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Civic')");
    f.db.Execute("INSERT INTO Events (Product, EventID, Event_Action, Message) "
                 "VALUES ('Civic', 1, 'Email Out', 'Thank you for teh visit.\r\nBye')");
    Open_Workflow(f);
    f.corrections = {{"teh", "the"}};
    QTest::mouseClick(f.Find<QPushButton>("Product_Spell_Check"), Qt::LeftButton);
    QCOMPARE(f.spell_checked, QStringList({"Thank you for teh visit.\nBye"}));
    QCOMPARE(f.Find<QTextEdit>("txtFrameCreateTimeline_Message")->toPlainText(),
             QString("Thank you for the visit.\nBye"));
    Click_Tab(f.Tabs("TabStrip1"), 0);
    QCOMPARE(Step(f.db, "Civic", 1).value("Message").toString(), QString("Thank you for the visit.\r\nBye"));

    // A check that hands back five characters or fewer leaves the message alone.
    Click_Tab(f.Tabs("TabStrip1"), 1);
    f.corrections = {{"Thank you for the visit.\nBye", "Bye"}};
    QTest::mouseClick(f.Find<QPushButton>("Product_Spell_Check"), Qt::LeftButton);
    QCOMPARE(f.Find<QTextEdit>("txtFrameCreateTimeline_Message")->toPlainText(),
             QString("Thank you for the visit.\nBye"));
}

void tst_workflow_editor::the_tree_follows_the_catalog()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Accord'), ('Civic'), ('Fit')");
    Add_Steps(f.db, "Accord", 1);
    Planning_Tree* tree = Open_Workflow(f);
    QVERIFY(Click_Node(tree, "PTBCivic"));
    Click_Tab(f.Tabs("TabProducts"), 1);
    auto* model = qobject_cast<Product_Catalog_Model*>(f.Find<QTableView>("ProductGrid")->model());
    QVERIFY(model);
    // Rows in name order: Accord, Civic, Fit, then the new-product row.
    QVERIFY(model->setData(model->index(1, Product_Catalog_Model::Product), "Civic LX"));
    QVERIFY(model->setData(model->index(3, Product_Catalog_Model::Product), "Beetle"));
    QVERIFY(model->Delete_Product(2));   // Fit
    Click_Tab(f.Tabs("TabProducts"), 0);
    QCOMPARE(Tree_Lines(tree),
             QStringList({"PTBAccord | Accord", "  PTDAccord | Add Workflow Event",
                          "  PTEAccord | Delete Last Workflow Event",
                          "  PTFAccord-:::-1 | Event#: 1 Type: Call Out Days: 1 Hours: 0",
                          "PTBBeetle | Beetle", "PTBCivic LX | Civic LX"}));
    // The renamed product fills again under its new name.
    QVERIFY(Click_Node(tree, "PTBCivic LX"));
    QVERIFY(Click_Node(tree, "PTDCivic LX"));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM Events WHERE Product = 'Civic LX'").toInt(), 1);
}

void tst_workflow_editor::no_step_is_added_under_a_product_gone_from_the_catalog()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO Products (Product) VALUES ('Civic')");
    Planning_Tree* tree = Open_Workflow(f);
    f.db.Execute("DELETE FROM Products");
    QVERIFY(Click_Node(tree, "PTDCivic"));
    QCOMPARE(f.dialogs.Texts(), QStringList({"The product Civic is no longer in the catalog."}));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM Events").toInt(), 0);
    QCOMPARE(tree->topLevelItemCount(), 0);
}

QTEST_MAIN(tst_workflow_editor)
#include "tst_workflow_editor.moc"
