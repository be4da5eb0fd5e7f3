// The planning window as a whole: what its trees hold when it opens, the
// commit of pending edits on every tab click and on closing, and its one
// instance.

#include <QtTest>

#include "Planning_Test_Support.h"

namespace {

void Add_Product(Database& db, const QString& product, int steps)
{
    db.Insert("INSERT INTO Products (Product) VALUES (?)", {product});
    for (int step = 1; step <= steps; ++step)
        db.Insert("INSERT INTO Events (Product, EventID, Event_Action, DaysAfterInitialContact, "
                  "AdditionalHoursToAdd, Subject, Message, SenderEmail, SenderEmailName) "
                  "VALUES (?, ?, 'Email Out', ?, 2, 'Hi', 'Text', 's@example.com', 'S')",
                  {product, step, step * 3});
}

} // namespace

class tst_planning_window : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_trees_when_the_window_opens_data();
    void the_trees_when_the_window_opens();
    void the_template_and_source_trees();
    void every_tab_click_commits_the_step_in_the_editor();
    void a_refused_value_keeps_its_page_and_the_window();
    void closing_commits_pending_edits();
    void one_window_released_on_closing();
};

void tst_planning_window::the_trees_when_the_window_opens_data()
{
    QTest::addColumn<QStringList>("products");   // "name:steps"
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("shown_step");     // the editor's step, empty when hidden

    QTest::newRow("no product") << QStringList() << QStringList() << QString();
    QTest::newRow("one product without steps")
        << QStringList{"Civic:0"}
        << QStringList{"PTBCivic | Civic", "  PTDCivic | Add Workflow Event",
                       "  PTECivic | Delete Last Workflow Event"}
        << QString();
    QTest::newRow("one step")
        << QStringList{"Civic:1"}
        << QStringList{"PTBCivic | Civic", "  PTDCivic | Add Workflow Event",
                       "  PTECivic | Delete Last Workflow Event",
                       "  PTFCivic-:::-1 | Event#: 1 Type: Email Out Days: 3 Hours: 2"}
        << QString("PTFCivic-:::-1");
    // Only the first product is filled; the others wait for their first click.
    QTest::newRow("two products with steps")
        << QStringList{"Civic:2", "Accord:1"}
        << QStringList{"PTBAccord | Accord", "  PTDAccord | Add Workflow Event",
                       "  PTEAccord | Delete Last Workflow Event",
                       "  PTFAccord-:::-1 | Event#: 1 Type: Email Out Days: 3 Hours: 2",
                       "PTBCivic | Civic"}
        << QString("PTFAccord-:::-1");
}

void tst_planning_window::the_trees_when_the_window_opens()
{
    QFETCH(QStringList, products);
    QFETCH(QStringList, tree);
    QFETCH(QString, shown_step);
    Planning_Fixture f;
    for (const QString& product : products)
        Add_Product(f.db, product.section(':', 0, 0), product.section(':', 1).toInt());
    frmPlanning* window = f.Open();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QString("Planning Form"));

    Planning_Tree* workflow = f.Tree("TreeWorkflow");
    QCOMPARE(Tree_Lines(workflow), tree);
    QWidget* editor = f.Find<QWidget>("frameCreateTimelineForProduct");
    Click_Tab(f.Tabs("TabStrip1"), 1);
    QVERIFY(workflow->isVisible());
    QCOMPARE(editor->isVisible(), !shown_step.isEmpty());
    if (!tree.isEmpty())
        QVERIFY(workflow->topLevelItem(0)->isExpanded());
    if (shown_step.isEmpty()) {
        QVERIFY(!workflow->currentItem() || !workflow->currentItem()->isSelected());
    } else {
        QCOMPARE(Planning_Tree::Node_Key(workflow->currentItem()), shown_step);
        QCOMPARE(f.Line("txtFrameCreateTimeline_Days")->text(), QString("3"));
        // Shown at load, but not marked as clicked.
        QVERIFY(!Highlighted(workflow, shown_step));
    }
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_planning_window::the_template_and_source_trees()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO emailformats (FormatID) VALUES ('Welcome'), ('birthday party')");
    f.db.Execute("INSERT INTO ContactSources (Name_Of_Site) VALUES ('Leads A'), ('Leads B')");
    f.Open();
    // "Birthday" alone keeps its template: a name that differs in letter case can go.
    QCOMPARE(Tree_Lines(f.Tree("TreeEmailTemplate")),
             QStringList({"TPLBirthday | Birthday", "TPLbirthday party | birthday party",
                          "  TPDbirthday party | Delete Template: birthday party", "TPLWelcome | Welcome",
                          "  TPDWelcome | Delete Template: Welcome"}));
    QCOMPARE(Tree_Lines(f.Tree("TreeEmailFilters")), QStringList({"IEM | E-Mail Contact Import Filters"}));
    QCOMPARE(Tree_Lines(f.Tree("TreeImportSources")),
             QStringList({"IFSLeads A | Leads A", "IFSLeads B | Leads B"}));
    // The window opens on Templates / Email Templates, the template editor hidden.
    QVERIFY(f.Find<QWidget>("frameTemplates")->isVisible());
    QVERIFY(!f.Find<QWidget>("frameEmailTemplateEditing")->isVisible());
    QVERIFY(!f.Find<QWidget>("frameProductTabs")->isVisible());
}

void tst_planning_window::every_tab_click_commits_the_step_in_the_editor()
{
    Planning_Fixture f;
    Add_Product(f.db, "Civic", 1);
    f.Open();
    QTabBar* top = f.Tabs("TabStrip1");
    QTabBar* products = f.Tabs("TabProducts");
    Click_Tab(top, 1);
    Type_Into(f.Line("txtFrameCreateTimeline_Days"), "5");
    // The tab already shown: stored, and the page stays.
    Click_Tab(products, 0);
    QCOMPARE(f.db.Scalar("SELECT DaysAfterInitialContact FROM Events").toInt(), 5);
    QVERIFY(f.Find<QWidget>("frameProductWorkflow")->isVisible());

    Type_Into(f.Line("txtFrameCreateTimeline_Days"), "6");
    Click_Tab(products, 1);
    QCOMPARE(f.db.Scalar("SELECT DaysAfterInitialContact FROM Events").toInt(), 6);
    QVERIFY(f.Find<QWidget>("frameProductCatalog")->isVisible());
    QVERIFY(!f.Find<QWidget>("frameProductWorkflow")->isVisible());

    // A tab of another strip commits as well.
    Click_Tab(products, 0);
    Type_Into(f.Line("txtFrameCreateTimeline_Hours"), "7");
    Click_Tab(top, 2);
    QCOMPARE(f.db.Scalar("SELECT AdditionalHoursToAdd FROM Events").toInt(), 7);
    QVERIFY(f.Find<QWidget>("frameEmailFilters")->isVisible());
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_planning_window::a_refused_value_keeps_its_page_and_the_window()
{
    Planning_Fixture f;
    Add_Product(f.db, "Civic", 1);
    frmPlanning* window = f.Open();
    QTabBar* top = f.Tabs("TabStrip1");
    Click_Tab(top, 1);
    QLineEdit* days = f.Line("txtFrameCreateTimeline_Days");
    Type_Into(days, "soon");
    Click_Tab(top, 0);
    QCOMPARE(f.dialogs.Texts(),
             QStringList({"Enter the days after contact as a whole number from 0 to 32767."}));
    QCOMPARE(top->currentIndex(), 1);
    QVERIFY(f.Find<QWidget>("frameProductWorkflow")->isVisible());
    QVERIFY(!f.Find<QWidget>("frameAllTemplates")->isVisible());
    QCOMPARE(days->text(), QString("soon"));
    QCOMPARE(f.db.Scalar("SELECT DaysAfterInitialContact FROM Events").toInt(), 3);

    QVERIFY(!window->close());
    QVERIFY(Planning_Window());
    QCOMPARE(f.dialogs.messages.size(), 2);

    Type_Into(days, "4");
    QVERIFY(window->close());
    QCOMPARE(f.db.Scalar("SELECT DaysAfterInitialContact FROM Events").toInt(), 4);
}

void tst_planning_window::closing_commits_pending_edits()
{
    Planning_Fixture f;
    Add_Product(f.db, "Civic", 1);
    frmPlanning* window = f.Open();
    Click_Tab(f.Tabs("TabStrip1"), 1);
    Type_Into(f.Line("txtFrameCreateTimeline_Subject"), "Hello [Firstname]");
    QVERIFY(window->close());
    QCOMPARE(f.db.Scalar("SELECT Subject FROM Events").toString(), QString("Hello [Firstname]"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_planning_window::one_window_released_on_closing()
{
    Planning_Fixture f;
    frmPlanning* first = f.Open();
    Click_Tab(f.Tabs("TabStrip1"), 2);
    QCOMPARE(f.Open(), first);
    QCOMPARE(f.Tabs("TabStrip1")->currentIndex(), 2);
    QVERIFY(Close_Planning_Window());
    QTRY_VERIFY(!Planning_Window());
    // Built afresh: on its first page again.
    frmPlanning* second = f.Open();
    QVERIFY(second);
    QCOMPARE(f.Tabs("TabStrip1")->currentIndex(), 0);
}

QTEST_MAIN(tst_planning_window)
#include "tst_planning_window.moc"
