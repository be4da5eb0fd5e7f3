// The file import source page: adding, showing, editing and deleting
// sources, the position checks, the first-line preview and Import Now.

#include <QCheckBox>
#include <QtTest>

#include "Lead_Sources.h"
#include "Planning_Test_Support.h"
#include "pages/File_Import_Source_Editor.h"

namespace {

const QString Range_Message = "Enter a value greater than 0 but less that 40";
const QString Numeric_Message = "Plese enter a numeric value between 0 and 40";

Planning_Tree* Open_Sources(Planning_Fixture& f)
{
    f.Open();
    Click_Tab(f.Tabs("TabStrip1"), 2);
    Click_Tab(f.Tabs("TabImportFilters"), 1);
    return f.Tree("TreeImportSources");
}

void Add_Source(Planning_Fixture& f, const QString& name)
{
    f.dialogs.input_answers << name;
    QTest::mouseClick(f.Find<QPushButton>("Add_Import_Source"), Qt::LeftButton);
}

QSqlRecord Source(Database& db, const QString& name)
{
    return db.Select_First("SELECT * FROM ContactSources WHERE Name_Of_Site = ?", {name});
}

} // namespace

class tst_file_import_sources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_new_source_and_its_nodes();
    void positions_take_whole_numbers_from_0_to_40_data();
    void positions_take_whole_numbers_from_0_to_40();
    void texts_are_stored_as_typed();
    void edits_are_stored_before_another_source_or_a_new_one();
    void deleting_a_source();
    void the_first_line_data();
    void the_first_line();
    void browse_and_import_now();
};

void tst_file_import_sources::a_new_source_and_its_nodes()
{
    Planning_Fixture f;
    Planning_Tree* tree = Open_Sources(f);
    QWidget* editor = f.Find<QWidget>("frameFileImport");
    QVERIFY(!editor->isVisible());
    Add_Source(f, "Leads A");
    QCOMPARE(f.dialogs.input_prompts, QStringList({"Enter the name of the new File Import Site."}));
    QCOMPARE(Tree_Lines(tree), QStringList({"IFSLeads A | Leads A"}));
    QCOMPARE(Planning_Tree::Node_Key(tree->currentItem()), QString("IFSLeads A"));
    // Not shown until clicked.
    QVERIFY(!editor->isVisible());
    Add_Source(f, "leads a");
    QCOMPARE(f.dialogs.Texts(), QStringList({"A File Import Site with that name already exists!"}));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM ContactSources").toInt(), 1);

    QVERIFY(Click_Node(tree, "IFSLeads A"));
    QCOMPARE(Tree_Lines(tree), QStringList({"IFSLeads A | Leads A", "  IFPLeads A | *** Import Now",
                                            "  IFDLeads A | *** Delete this File Import Source"}));
    QVERIFY(tree->Find_Node("IFSLeads A")->isExpanded());
    QVERIFY(editor->isVisible());
    QCOMPARE(f.Find<QLabel>("lblFrameImportHeading")->text(), QString("Import Screen for Leads A"));
    const QMap<QString, QString> expected = {
        {"txtFileImport_Firstname", "1"}, {"txtFileImport_MiddleInitial", "2"}, {"txtFileImport_Lastname", "3"},
        {"txtFileImport_Email", "4"}, {"txtFileImport_City", "0"}, {"txtFileImport_Options", "0"}};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(f.Line(it.key())->text(), it.value());
    QCOMPARE(f.Find<QComboBox>("lstType_Of_Source")->currentText(), QString("Local File"));
    QCOMPARE(f.Find<QComboBox>("lstField_Delimiter")->currentText(), QString("Comma"));
    QCOMPARE(f.Find<QComboBox>("lstFrom_System")->currentText(), QString("MS-Windows"));
    QVERIFY(!f.Line("txtFileImport_Domain_Name")->isVisible());

    // FTP shows the server boxes, another type hides them.
    QComboBox* type = f.Find<QComboBox>("lstType_Of_Source");
    type->setCurrentIndex(type->findText("FTP"));
    QVERIFY(f.Line("txtFileImport_Domain_Name")->isVisible());
    QVERIFY(f.Line("txtFileImport_Password")->isVisible());
    QCOMPARE(f.Line("txtFileImport_Password")->echoMode(), QLineEdit::Password);
    type->setCurrentIndex(type->findText("Local File"));
    QVERIFY(!f.Line("txtFileImport_Username")->isVisible());

    // A second click closes it and adds nothing.
    QVERIFY(Click_Node(tree, "IFSLeads A"));
    QVERIFY(!tree->Find_Node("IFSLeads A")->isExpanded());
    QCOMPARE(tree->Find_Node("IFSLeads A")->childCount(), 2);

    // Quotes in a name are the name's own.
    const QString quoted = "Joe's \"Leads\"";
    Add_Source(f, quoted);
    QVERIFY(!Source(f.db, quoted).isEmpty());
    QVERIFY(Click_Node(tree, "IFS" + quoted));
    QCOMPARE(f.Find<QLabel>("lblFrameImportHeading")->text(), "Import Screen for " + quoted);
    QCOMPARE(f.dialogs.messages.size(), 1);
}

void tst_file_import_sources::positions_take_whole_numbers_from_0_to_40_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("while_typing");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("value");

    QTest::newRow("within") << "12" << QStringList() << "12" << true << 12;
    QTest::newRow("40") << "40" << QStringList() << "40" << true << 40;
    QTest::newRow("0") << "0" << QStringList() << "0" << true << 0;
    QTest::newRow("empty is 0") << "" << QStringList() << "" << true << 0;
    QTest::newRow("above 40") << "45" << QStringList({Range_Message}) << "0" << true << 0;
    QTest::newRow("below 0") << "-1" << QStringList({Numeric_Message, Range_Message}) << "0" << true << 0;
    QTest::newRow("a word") << "x" << QStringList({Numeric_Message}) << "x" << false << 1;
    QTest::newRow("a fraction") << "2.5" << QStringList() << "2.5" << false << 1;
}

void tst_file_import_sources::positions_take_whole_numbers_from_0_to_40()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, while_typing);
    QFETCH(QString, shown);
    QFETCH(bool, stored);
    QFETCH(int, value);
    Planning_Fixture f;
    Planning_Tree* tree = Open_Sources(f);
    Add_Source(f, "Leads");
    QVERIFY(Click_Node(tree, "IFSLeads"));
    QLineEdit* box = f.Line("txtFileImport_Firstname");
    Type_Into(box, typed);
    QCOMPARE(f.dialogs.Texts(), while_typing);
    QCOMPARE(box->text(), shown);
    // A page change stores it, or stays with the message.
    Click_Tab(f.Tabs("TabImportFilters"), 0);
    QCOMPARE(Source(f.db, "Leads").value("Firstname_Position").toInt(), value);
    QCOMPARE(f.Find<QWidget>("frameImportSources")->isVisible(), !stored);
    if (!stored) {
        QCOMPARE(f.dialogs.Texts().last(),
                 QString("Firstname: enter a whole number from 0 to 40 (0 when the file has no such field)."));
        QVERIFY(box->hasFocus());
    }
}

void tst_file_import_sources::texts_are_stored_as_typed()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO ContactSources (Name_Of_Site, Type_Of_Source, Domain_Name, Username, Password) "
                 "VALUES ('Remote', 'FTP', 'ftp.example.com', 'leads', 'secret')");
    Planning_Tree* tree = Open_Sources(f);
    QVERIFY(Click_Node(tree, "IFSRemote"));
    QVERIFY(f.Line("txtFileImport_Domain_Name")->isVisible());
    Type_Into(f.Line("txtFileImport_Domain_Name"), "");
    Type_Into(f.Line("txtFileImport_Username"), "");
    Type_Into(f.Line("txtFileImport_Path_For_File"), "/in/leads \"new\".csv");
    Type_Into(f.Find<QComboBox>("lstFrom_System")->lineEdit(), "");
    Type_Into(f.Find<QComboBox>("lstField_Delimiter")->lineEdit(), "Semicolon");
    QCheckBox* auto_import = f.Find<QCheckBox>("chkAutoImport");
    auto_import->setFocus();
    QTest::keyClick(auto_import, Qt::Key_Space);
    Click_Tab(f.Tabs("TabStrip1"), 0);
    const QSqlRecord row = Source(f.db, "Remote");
    QCOMPARE(row.value("Domain_Name").toString(), QString(""));
    QCOMPARE(row.value("Username").toString(), QString(""));
    QCOMPARE(row.value("Password").toString(), QString("secret"));
    QCOMPARE(row.value("Path_For_File").toString(), QString("/in/leads \"new\".csv"));
    QCOMPARE(row.value("From_System").toString(), QString(""));
    QCOMPARE(row.value("Field_Delimiter").toString(), QString("Semicolon"));
    QCOMPARE(row.value("Automatically_Import").toInt(), 1);
    QCOMPARE(row.value("Type_Of_Source").toString(), QString("FTP"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_file_import_sources::edits_are_stored_before_another_source_or_a_new_one()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO ContactSources (Name_Of_Site) VALUES ('A'), ('B')");
    Planning_Tree* tree = Open_Sources(f);
    // With no source shown a page change stores nothing.
    Click_Tab(f.Tabs("TabImportFilters"), 0);
    Click_Tab(f.Tabs("TabImportFilters"), 1);
    QVERIFY(Click_Node(tree, "IFSA"));
    Type_Into(f.Line("txtFileImport_City"), "7");
    QVERIFY(Click_Node(tree, "IFSB"));
    QCOMPARE(Source(f.db, "A").value("City_Position").toInt(), 7);
    QCOMPARE(f.Find<QLabel>("lblFrameImportHeading")->text(), QString("Import Screen for B"));
    Type_Into(f.Line("txtFileImport_Zip"), "9");
    Add_Source(f, "C");
    QCOMPARE(Source(f.db, "B").value("Zip_Position").toInt(), 9);
    // The editor stays on B, and has nothing left to store.
    QCOMPARE(f.Find<QLabel>("lblFrameImportHeading")->text(), QString("Import Screen for B"));
    f.db.Execute("UPDATE ContactSources SET Zip_Position = 5 WHERE Name_Of_Site = 'B'");
    Click_Tab(f.Tabs("TabImportFilters"), 0);
    QCOMPARE(Source(f.db, "B").value("Zip_Position").toInt(), 5);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void tst_file_import_sources::deleting_a_source()
{
    Planning_Fixture f;
    f.db.Execute("INSERT INTO ContactSources (Name_Of_Site) VALUES ('A'), ('B')");
    Planning_Tree* tree = Open_Sources(f);
    QVERIFY(Click_Node(tree, "IFSA"));
    QVERIFY(Click_Node(tree, "IFSB"));
    f.dialogs.answers << vbCancel;
    QVERIFY(Click_Node(tree, "IFDA"));
    QCOMPARE(f.dialogs.messages.last().text, QString("REMOVE IMPORT SITE: A"));
    QCOMPARE(f.db.Scalar("SELECT count(*) FROM ContactSources").toInt(), 2);
    QVERIFY(Click_Node(tree, "IFDA"));
    QCOMPARE(f.db.Scalar("SELECT Name_Of_Site FROM ContactSources").toString(), QString("B"));
    QCOMPARE(Tree_Lines(tree), QStringList({"IFSB | B", "  IFPB | *** Import Now",
                                            "  IFDB | *** Delete this File Import Source"}));
    // Hidden, though it showed B.
    QVERIFY(!f.Find<QWidget>("frameFileImport")->isVisible());
}

void tst_file_import_sources::the_first_line_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("line");
    QTest::newRow("CR LF") << QByteArray("Ann,Cole\r\nBob,Doe\r\n") << "Ann,Cole";
    QTest::newRow("LF alone") << QByteArray("Ann\tCole\nBob\tDoe\n") << "Ann\tCole";
    QTest::newRow("CR alone") << QByteArray("Ann,Cole\rBob,Doe\r") << "Ann,Cole";
    QTest::newRow("one line, no end") << QByteArray("Ann,Cole") << "Ann,Cole";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("UTF-8 with a mark") << QByteArray("\xEF\xBB\xBFZo\xC3\xAB,M\r\n") << QString::fromUtf8("Zoë,M");
    QTest::newRow("Windows code page") << QByteArray("Zo\xEB,M\r\n") << QString::fromUtf8("Zoë,M");
    QTest::newRow("long first line") << QByteArray(10000, 'x') + "\nnext" << QString(10000, 'x');
}

void tst_file_import_sources::the_first_line()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, line);
    Planning_Fixture f;
    const QString path = f.folder.Write_File("in/leads.txt", content);
    f.db.Execute("INSERT INTO ContactSources (Name_Of_Site, Path_For_File) VALUES ('A', ?)", {path});
    Planning_Tree* tree = Open_Sources(f);
    QVERIFY(Click_Node(tree, "IFSA"));
    f.Line("txtFileImport_Firstline")->setText("old");
    QTest::mouseClick(f.Find<QPushButton>("Display_First_LIne"), Qt::LeftButton);
    QCOMPARE(f.Line("txtFileImport_Firstline")->text(), line);
    QVERIFY(f.dialogs.messages.isEmpty());

    Type_Into(f.Line("txtFileImport_Path_For_File"), path + ".missing");
    QTest::mouseClick(f.Find<QPushButton>("Display_First_LIne"), Qt::LeftButton);
    QCOMPARE(f.dialogs.Texts(), QStringList({"The file " + path + ".missing does not exist to display the first line."}));
}

void tst_file_import_sources::browse_and_import_now()
{
    Planning_Fixture f;
    Recording_Window main_window;
    const QString path = f.folder.Write_File("in/leads.csv", "Ann,,Cole,ann@example.com\r\nBob,,Doe,bob@example.com\r\n");
    f.db.Execute("INSERT INTO ContactSources (Name_Of_Site, Email_Position) VALUES ('Local', 3)");
    Planning_Tree* tree = Open_Sources(f);
    QVERIFY(Click_Node(tree, "IFSLocal"));
    // Cancelled: nothing changes.
    QTest::mouseClick(f.Find<QPushButton>("Find_Import_File"), Qt::LeftButton);
    QCOMPARE(f.dialogs.file_titles, QStringList({"Open"}));
    QCOMPARE(f.Line("txtFileImport_Path_For_File")->text(), QString(""));
    f.dialogs.file_answers << path;
    QTest::mouseClick(f.Find<QPushButton>("Find_Import_File"), Qt::LeftButton);
    QCOMPARE(f.Line("txtFileImport_Path_For_File")->text(), path);
    Type_Into(f.Line("txtFileImport_Email"), "4");

    // Import Now stores the edits first, then imports with them.
    QVERIFY(Click_Node(tree, "IFPLocal"));
    QCOMPARE(Source(f.db, "Local").value("Path_For_File").toString(), path);
    QCOMPARE(Contact_Keys(f.db), QStringList({"Ann||Cole|ann@example.com", "Bob||Doe|bob@example.com"}));
    QCOMPARE(Contact_Rows(f.db).first().value("Import_Source").toString(), QString("Local"));
    QVERIFY(main_window.Was_Shown(3, "File Merge Finished"));
    QVERIFY(f.dialogs.messages.isEmpty());

    // A second import adds no second copy.
    QVERIFY(Click_Node(tree, "IFPLocal"));
    QCOMPARE(Contact_Count(f.db), 2);
}

QTEST_MAIN(tst_file_import_sources)
#include "tst_file_import_sources.moc"
