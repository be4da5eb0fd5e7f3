#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>
#include <limits>

#include "Data_Access.h"
#include "File_Import.h"
#include "GlobalVariables.h"
#include "Lead_Sources.h"
#include "Test_Support.h"
#include "Settings.h"

namespace {

const char* const All_Positions[] = {
    "Firstname_Position", "MiddleInitial_Position", "Lastname_Position", "Email_Position",
    "Address_Position", "City_Position", "State_Position", "Zip_Position", "Homephone_Position",
    "Workphone_Position", "Cellphone_Position", "Bdate_Position", "Company_Position", "Product_Position",
    "Title_Position", "Relationship_Position", "Referred_By_Position", "Time_To_Contact_Position",
    "Year_Position", "Make_Position", "Model_Position", "Interior_Color_Position",
    "Exterior_Color_Position", "Transmission_Position", "Size_Of_Engine_Position",
    "Number_Of_Doors_Position", "Number_Of_Cylinders_Position", "Options_Position",
};

// n fields "f1".."fn" with the e-mail "mail@example.com" at position 40 when there is one.
QByteArray Wide_Line(int fields)
{
    QByteArrayList parts;
    for (int i = 1; i <= fields; ++i)
        parts << (i == 40 ? QByteArray("mail@example.com") : "f" + QByteArray::number(i));
    return parts.join(',');
}

QString Lines_Of(int count, const char* line_end)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QString("First%1,,Last%1,p%1@example.com").arg(i) + line_end;
    return text;
}

} // namespace

class File_Import_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lines_become_contacts_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("from_system");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QVariantMap>("positions");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("contacts");
        QTest::addColumn<QString>("message");
        const QVariantMap defaults;
        const QStringList john_mary{"John|Q|Public|john@example.com", "Mary||Major|mary@example.com"};
        const QByteArray john_mary_crlf = "John,Q,Public,john@example.com\r\nMary,,Major,mary@example.com\r\n";

        QTest::newRow("CR LF under the Windows rule") << john_mary_crlf << "MS-Windows" << "Comma" << defaults << 1
                                                      << john_mary << "";
        QTest::newRow("CR LF under the Unix rule: no CR in the last field")
            << john_mary_crlf << "Linux" << "Comma" << defaults << 1 << john_mary << "";
        QTest::newRow("CR LF under UNIX, last line without line end")
            << QByteArray("John,Q,Public,john@example.com\r\nMary,,Major,mary@example.com\r") << "UNIX"
            << "Comma" << defaults << 1 << john_mary << "";
        QTest::newRow("LF under the Unix rule") << QByteArray("John,Q,Public,john@example.com\nMary,,Major,mary@example.com")
                                                << "Unix" << "Comma" << defaults << 1 << john_mary << "";
        QTest::newRow("CR only under the new-source default rule")
            << QByteArray("John,Q,Public,john@example.com\rMary,,Major,mary@example.com\r") << "MS Windows"
            << "Comma" << defaults << 1 << john_mary << "";
        QTest::newRow("a CR inside a line under the Unix rule stays")
            << QByteArray("John,Q\r,Public,john@example.com\n") << "Linux" << "Comma" << defaults << 1
            << QStringList{"John|Q\r|Public|john@example.com"} << "";
        QTest::newRow("LF only under the Windows rule is one long line")
            << Lines_Of(14, "\n").toUtf8() << "MS-Windows" << "Comma" << defaults << -1 << QStringList{}
            << "Error in Merge. Max number of fields reached. Change Merge Field Settings to match input file.";
        QTest::newRow("positions pick the columns")
            << QByteArray("Public,Q,John,x,john@example.com\r\n") << "MS-Windows" << "Comma"
            << QVariantMap{{"Firstname_Position", 3}, {"Lastname_Position", 1}, {"Email_Position", 5}} << 1
            << QStringList{"John|Q|Public|john@example.com"} << "";
        QTest::newRow("tab delimiter") << QByteArray("Ann\tB\tCole\tann@example.com\r\n") << "Other" << "Tab"
                                       << defaults << 1 << QStringList{"Ann|B|Cole|ann@example.com"} << "";
        QTest::newRow("comma is not a delimiter of a tab file")
            << QByteArray("Cole, Ann\tB\tx\tann@example.com\r\n") << "Other" << "Tab" << defaults << 1
            << QStringList{"Cole, Ann|B|x|ann@example.com"} << "";
        QTest::newRow("quotes are stripped") << QByteArray("\"John\",\"Q\",\"Public\",\"john@example.com\"\r\n")
                                             << "MS-Windows" << "Comma" << defaults << 1
                                             << QStringList{"John|Q|Public|john@example.com"} << "";
        QTest::newRow("an opening quote alone loses only itself")
            << QByteArray("\"Smith,Q,Public,smith@example.com\r\n") << "MS-Windows" << "Comma" << defaults << 1
            << QStringList{"Smith|Q|Public|smith@example.com"} << "";
        QTest::newRow("quotes do not protect a delimiter")
            << QByteArray("\"Smith, John\",x,y@example.com\r\n") << "MS-Windows" << "Comma"
            << QVariantMap{{"Email_Position", 4}} << 1 << QStringList{"Smith|John\"|x|y@example.com"} << "";
        QTest::newRow("a lone quote is an empty field") << QByteArray("\",Q,Public,q@example.com\r\n")
                                                        << "MS-Windows" << "Comma" << defaults << 1
                                                        << QStringList{"|Q|Public|q@example.com"} << "";
        QTest::newRow("one leading blank goes, a second stays")
            << QByteArray(" Smith,  Q, \"Public\" ,s@example.com\r\n") << "MS-Windows" << "Comma" << defaults << 1
            << QStringList{"Smith| Q|Public\" |s@example.com"} << "";
        QTest::newRow("empty fields and a position of 0")
            << QByteArray("John,,,john@example.com,\r\n") << "MS-Windows" << "Comma"
            << QVariantMap{{"MiddleInitial_Position", 0}, {"Lastname_Position", 5}} << 1
            << QStringList{"John|||john@example.com"} << "";
        QTest::newRow("40 fields are imported") << Wide_Line(40) + "\r\n" << "MS-Windows" << "Comma"
                                                << QVariantMap{{"Email_Position", 40}} << 1
                                                << QStringList{"f1|f2|f3|mail@example.com"} << "";
        QTest::newRow("41 fields abort, earlier lines stay")
            << "Ann,,Cole,ann@example.com\r\n" + Wide_Line(41) + "\r\nBob,,Doe,bob@example.com\r\n"
            << "MS-Windows" << "Comma" << defaults << -1 << QStringList{"Ann||Cole|ann@example.com"}
            << "Error in Merge. Max number of fields reached. Change Merge Field Settings to match input file.";
        QTest::newRow("41 fields abort even when the last is empty")
            << Wide_Line(40) + ",\r\n" << "MS-Windows" << "Comma" << QVariantMap{{"Email_Position", 40}} << -1
            << QStringList{} << "Error in Merge. Max number of fields reached. Change Merge Field Settings to match input file.";
        QTest::newRow("non-ASCII names in UTF-8")
            << QString::fromUtf8("Zoë,,Müller-Øster,zoë@example.com\r\n").toUtf8() << "MS-Windows" << "Comma"
            << defaults << 1 << QStringList{QString::fromUtf8("Zoë||Müller-Øster|zoë@example.com")} << "";
        QTest::newRow("non-ASCII names with a byte-order mark")
            << "\xEF\xBB\xBF" + QString::fromUtf8("Zoë,,Müller,z@example.com\r\n").toUtf8() << "MS-Windows"
            << "Comma" << defaults << 1 << QStringList{QString::fromUtf8("Zoë||Müller|z@example.com")} << "";
        QTest::newRow("non-ASCII names in a Western code page")
            << QByteArray("Ren\xe9,,L\xe9vesque \x80,rene@example.com\r\n") << "MS-Windows" << "Comma" << defaults
            << 1 << QStringList{QString::fromUtf8("René||Lévesque €|rene@example.com")} << "";
        const auto utf16 = [](const QString& text, bool little) {
            QByteArray bytes = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
            for (const QChar c : text) {
                const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
                bytes.append(little ? low : high).append(little ? high : low);
            }
            return bytes;
        };
        QTest::newRow("UTF-16 by its byte-order mark")
            << utf16(QString::fromUtf8("Zoë,,Müller,z@example.com\r\nAnn,,Cole,ann@example.com\r\n"), true)
            << "MS-Windows" << "Comma" << defaults << 1
            << QStringList{QString::fromUtf8("Zoë||Müller|z@example.com"), "Ann||Cole|ann@example.com"} << "";
        QTest::newRow("UTF-16 big-endian by its byte-order mark")
            << utf16(QString::fromUtf8("Zoë,,Müller,z@example.com\n"), false) << "Linux" << "Comma" << defaults << 1
            << QStringList{QString::fromUtf8("Zoë||Müller|z@example.com")} << "";
        QTest::newRow("one line in a Western code page garbles no other")
            << QByteArray("Jos\xC3\xA9,,M\xC3\xBCller,jose@example.com\r\nRen\xe9,,Dupont,rene@example.com\r\n"
                          "Zo\xC3\xAB,,\xC3\x98ster,zoe@example.com\r\n")
            << "MS-Windows" << "Comma" << defaults << 1
            << QStringList{QString::fromUtf8("José||Müller|jose@example.com"), QString::fromUtf8("René||Dupont|rene@example.com"),
                           QString::fromUtf8("Zoë||Øster|zoe@example.com")}
            << "";
        QTest::newRow("blank lines are skipped, no empty contact")
            << QByteArray("Ann,,Cole,ann@example.com\r\n\r\n  \r\nBob,,Doe,bob@example.com\r\n\r\n") << "MS-Windows"
            << "Comma" << defaults << 1
            << QStringList{"Ann||Cole|ann@example.com", "Bob||Doe|bob@example.com"} << "";
        QTest::newRow("lines of delimiters alone are skipped")
            << QByteArray(",,,\r\nAnn,,Cole,ann@example.com\r\n , ,\"\",\r\n") << "MS-Windows" << "Comma"
            << defaults << 1 << QStringList{"Ann||Cole|ann@example.com"} << "";
        QTest::newRow("a line with one value is still a lead")
            << QByteArray(",,,ann@example.com\r\n") << "MS-Windows" << "Comma" << defaults << 1
            << QStringList{"|||ann@example.com"} << "";
        QTest::newRow("an empty file") << QByteArray() << "MS-Windows" << "Comma" << defaults << 1 << QStringList{}
                                       << "";
    }
    void lines_become_contacts()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, from_system);
        QFETCH(QString, delimiter);
        QFETCH(QVariantMap, positions);
        QFETCH(int, result);
        QFETCH(QStringList, contacts);
        QFETCH(QString, message);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Database db = folder.Db();
        const QString path = folder.Write_File("in/leads.csv", content);
        QVariantMap source{{"Type_Of_Source", "Local File"}, {"Path_For_File", path},
                           {"From_System", from_system}, {"Field_Delimiter", delimiter}};
        source.insert(positions);
        Add_Contact_Source(db, "Lead Site", source);

        QCOMPARE(Merge_The_Transferred_File("Lead Site", ""), result);
        QCOMPARE(Contact_Keys(db), contacts);
        QCOMPARE(dialogs.Texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(window.panels.value(3), QString("File Merge Finished"));
        QCOMPARE(window.panels.value(4), QString::number(contacts.size()) + " Records Merged");
        QCOMPARE(window.panels.value(5), QString(""));
    }

    void every_position_fills_its_field()
    {
        Test_Program_Folder folder;
        Test_Clock clock(QDateTime(QDate(2026, 12, 10), QTime(10, 30, 0)));
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        QVariantMap source{{"Type_Of_Source", "FTP"}, {"Path_For_File", "/not/read/for/ftp.csv"}};
        for (int i = 0; i < 28; ++i)
            source.insert(All_Positions[i], i + 1);
        Add_Contact_Source(db, "Sample Site", source);

        QCOMPARE(Merge_The_Transferred_File("Sample Site", Fixture_Path("leadfiles/sample_leads.csv")), 1);
        QVERIFY(dialogs.messages.isEmpty());
        const QList<QSqlRecord> rows = Contact_Rows(db);
        QCOMPARE(rows.size(), 2);
        const QSqlRecord& john = rows.at(0);
        const QStringList fields{"FirstName", "MiddleInitial", "LastName", "Email", "Address", "City", "State",
                                 "Zipcode", "Homephone", "Workphone", "Cellphone", "", "Company", "Product",
                                 "Contact_Title", "Contact_Relationship", "Referred_By", "Best_Time_To_Contact",
                                 "Year", "Make", "Model", "Interior_Color", "Exterior_Color", "Transmission",
                                 "Size_Of_Engine", "Number_Of_Doors", "Number_Of_Cylinders", "Options"};
        const QStringList values = QString("John,Q,Public,JOHN.PUBLIC@EXAMPLE.COM,12 Main St,Springfield,IL,62701,"
                                           "217-555-0100,217-555-0101,217-555-0102,12/25/1990,Acme Corp,Sedan,Mr,"
                                           "Owner,Jane Roe,Evenings,2024,Ford,Focus,Black,Blue,Automatic,2.0L,4,6,"
                                           "Sunroof")
                                       .split(',');
        for (int i = 0; i < fields.size(); ++i)
            if (!fields.at(i).isEmpty())
                QCOMPARE(john.value(fields.at(i)).toString(), values.at(i));
        QCOMPARE(john.value("B_Day").toInt(), 25);
        QCOMPARE(john.value("B_Month").toInt(), 12);
        QCOMPARE(john.value("B_Year").toInt(), 1990);
        QCOMPARE(john.value("Import_Source").toString(), QString("Sample Site"));
        QCOMPARE(Db_To_Date(john.value("Contact_Received_Date")), clock.Now());
        QCOMPARE(Db_To_Date(john.value("Workflow_Start_Date")), clock.Now());
        QCOMPARE(john.value("New_Contact").toInt(), 1);
        QCOMPARE(john.value("Stop_Timeline_Action").toInt(), 0);
        QCOMPARE(john.value("Finished_Timeline_Execution").toInt(), 0);
        QVERIFY(john.value("Notes").isNull());

        const QSqlRecord& zoe = rows.at(1);
        QCOMPARE(zoe.value("FirstName").toString(), QString::fromUtf8("Zoë"));
        QCOMPARE(zoe.value("LastName").toString(), QString::fromUtf8("Müller"));
        QCOMPARE(zoe.value("MiddleInitial").toString(), QString(""));
        QCOMPARE(zoe.value("Product").toString(), QString("SUV"));
        QCOMPARE(zoe.value("B_Day").toInt(), 4);
        QCOMPARE(zoe.value("B_Month").toInt(), 7);
        QCOMPARE(zoe.value("B_Year").toInt(), 1985);
    }

    void birthdays_split_into_day_month_and_year_data()
    {
        QTest::addColumn<QString>("birthday");
        QTest::addColumn<int>("position");
        QTest::addColumn<QList<int>>("day_month_year");
        QTest::newRow("US date") << "12/25/1990" << 5 << QList<int>{25, 12, 1990};
        QTest::newRow("US date, one-digit month") << "7/4/1976" << 5 << QList<int>{4, 7, 1976};
        QTest::newRow("US date, leading zeros") << "07/04/1976" << 5 << QList<int>{4, 7, 1976};
        QTest::newRow("US date, blanks around") << " 7/4/1976 " << 5 << QList<int>{4, 7, 1976};
        QTest::newRow("no such day") << "2/30/1990" << 5 << QList<int>{0, 0, 0};
        QTest::newRow("leap day") << "2/29/1988" << 5 << QList<int>{29, 2, 1988};
        QTest::newRow("two-digit year of this century") << "3/9/05" << 5 << QList<int>{9, 3, 2005};
        QTest::newRow("two-digit year of the last") << "3/9/65" << 5 << QList<int>{9, 3, 1965};
        QTest::newRow("ISO date") << "1985-07-04" << 5 << QList<int>{4, 7, 1985};
        QTest::newRow("with a time") << "12/25/1990 00:00:00" << 5 << QList<int>{25, 12, 1990};
        QTest::newRow("month name") << "July 4 1976" << 5 << QList<int>{4, 7, 1976};
        QTest::newRow("empty") << "" << 5 << QList<int>{0, 0, 0};
        QTest::newRow("not a date") << "soon" << 5 << QList<int>{0, 0, 0};
        QTest::newRow("no birthday column") << "12/25/1990" << 0 << QList<int>{0, 0, 0};
    }
    void birthdays_split_into_day_month_and_year()
    {
        QFETCH(QString, birthday);
        QFETCH(int, position);
        QFETCH(QList<int>, day_month_year);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const QString path = folder.Write_File("leads.csv", ("Ann,,Cole,ann@example.com," + birthday + "\r\n").toUtf8());
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}, {"Bdate_Position", position}});
        QCOMPARE(Merge_The_Transferred_File("Site", ""), 1);
        const QSqlRecord row = db.Select_First("SELECT B_Day, B_Month, B_Year FROM Contacts");
        QCOMPARE((QList<int>{row.value(0).toInt(), row.value(1).toInt(), row.value(2).toInt()}), day_month_year);
    }

    void duplicates_and_junk_are_discarded_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("bad_names");
        QTest::addColumn<bool>("imported");
        QTest::newRow("all four fields, other case") << QByteArray("JOHN,q,PUBLIC,John@Example.COM") << false << false;
        QTest::newRow("e-mail alone, other case") << QByteArray("Someone,,Else,JOHN@example.com") << false << false;
        QTest::newRow("same names, other e-mail") << QByteArray("John,Q,Public,other@example.com") << false << true;
        QTest::newRow("names without e-mail match an empty stored e-mail")
            << QByteArray("Nora,,Nomail,") << false << false;
        QTest::newRow("names without e-mail never match a null stored e-mail")
            << QByteArray("Nell,,Null,") << false << true;
        QTest::newRow("junk e-mail, other case") << QByteArray("Sam,,Spam,SPAM@Junk.example") << false << false;
        QTest::newRow("junk first name with the check") << QByteArray("Test,,Person,t1@example.com") << true << false;
        QTest::newRow("junk last name with the check") << QByteArray("Real,,ASDF,t2@example.com") << true << false;
        QTest::newRow("junk names without the check") << QByteArray("Test,,ASDF,t3@example.com") << false << true;
        QTest::newRow("double quotes inside values") << QByteArray("Pat,,O\"Brien,pat\"@example.com") << false << true;
        QTest::newRow("SQL-looking text") << QByteArray("x\") OR (\"1\"=\"1,,Drop,q@example.com") << false << true;
    }
    void duplicates_and_junk_are_discarded()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, bad_names);
        QFETCH(bool, imported);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Database db = folder.Db();
        db.Execute("INSERT INTO Contacts (FirstName, MiddleInitial, LastName, Email) VALUES "
                   "('John', 'Q', 'Public', 'john@example.com'), ('Nora', '', 'Nomail', ''), "
                   "('Nell', '', 'Null', NULL)");
        db.Execute("INSERT INTO JunkEmails (Email) VALUES ('spam@junk.example')");
        db.Execute("INSERT INTO JunkNames (Name) VALUES ('test'), ('asdf')");
        Update_Settings([&](Program_Settings& s) { s.Check_For_Bad_Names = bad_names; });
        const QString path = folder.Write_File("leads.csv", line + "\r\n");
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}});

        QCOMPARE(Merge_The_Transferred_File("Site", ""), 1);
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.Texts().join("; ")));
        QCOMPARE(Contact_Count(db), imported ? 4 : 3);
        QCOMPARE(window.Was_Shown(5, "Duplicate Found. Contact Discarded"), !imported);
        QCOMPARE(window.Was_Shown(5, "Integrating to contact database."), imported);
        QCOMPARE(window.panels.value(4), QString(imported ? "1" : "0") + " Records Merged");
        if (imported) {
            // What was stored is found again: a second run adds nothing.
            QCOMPARE(Merge_The_Transferred_File("Site", ""), 1);
            QCOMPARE(Contact_Count(db), 4);
            QCOMPARE(Is_Duplicate_Or_Junk(Get_Merge_Field(1), Get_Merge_Field(2), Get_Merge_Field(3),
                                          Get_Merge_Field(4)),
                     1);
        }
    }

    void a_line_repeated_in_one_file_is_imported_once()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        QByteArray content;
        for (int i = 0; i < Merge_Batch_Size + 10; ++i)
            content += "Ann,,Cole,ann@example.com\r\n";
        const QString path = folder.Write_File("leads.csv", content);
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}});
        QCOMPARE(Merge_The_Transferred_File("Site", ""), 1);
        QCOMPARE(Contact_Count(db), 1);
        QCOMPARE(Last_Merge_Count(), 1);
    }

    void the_panels_follow_each_line()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Database db = folder.Db();
        db.Execute("INSERT INTO Contacts (FirstName, MiddleInitial, LastName, Email) VALUES ('B', '', 'B', 'b@x')");
        const QString path = folder.Write_File("leads.csv", "A,,A,a@x\r\nB,,B,b@x\r\n");
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}});
        QCOMPARE(Merge_The_Transferred_File("Site", ""), 1);
        const QList<QPair<int, QString>> expected{
            {3, "Importing Site"}, {4, ""}, {5, ""},
            {4, "a@x"}, {5, "Checking if Duplicate or junk"},
            {4, "a@x"}, {5, "Integrating to contact database."},
            {4, "a@x"}, {5, "1"},
            {4, "b@x"}, {5, "Checking if Duplicate or junk"},
            {4, "b@x"}, {5, "Duplicate Found. Contact Discarded"},
            {3, "File Merge Finished"}, {4, "1 Records Merged"}, {5, ""},
        };
        QCOMPARE(window.history, expected);
    }

    void a_missing_file_or_source_changes_nothing()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Database db = folder.Db();
        const QString path = folder.Path("gone.csv");
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}});
        QCOMPARE(Merge_The_Transferred_File("Site", ""), -1);
        QCOMPARE(dialogs.Texts(), QStringList{"File: " + path + "does not exist. Exiting..."});
        QCOMPARE(window.panels.value(4), QString("0 Records Merged"));
        // A folder of that name is no lead file either.
        QDir().mkpath(path);
        QCOMPARE(Merge_The_Transferred_File("Site", ""), -1);
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(Merge_The_Transferred_File("No Such Site", ""), -1);
        QCOMPARE(Contact_Count(db), 0);
        QCOMPARE(window.panels.value(3), QString("File Merge Finished"));
    }

    void junk_files_are_refused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a NUL inside a field") << QByteArray("Ann,,Co\0le,ann@example.com\r\n", 28)
                                               << "it holds NUL characters";
        QByteArray random(1 << 20, Qt::Uninitialized);
        QRandomGenerator generator(20240611);
        for (char& byte : random)
            byte = char(generator.bounded(256));
        QTest::newRow("1 MB of random bytes") << random << "it holds NUL characters";
        QByteArray controls;
        for (int i = 0; i < 50; ++i)
            controls += "Ann" + QByteArray(1, char(i % 8 + 1)) + ",,Cole,a" + QByteArray::number(i) + "@x\r\n";
        QTest::newRow("control characters throughout") << controls << "it holds binary data";
    }
    void junk_files_are_refused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Database db = folder.Db();
        const QString path = folder.Write_File("junk.csv", content);
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}});
        QCOMPARE(Merge_The_Transferred_File("Site", ""), -1);
        QCOMPARE(Contact_Count(db), 0);
        QCOMPARE(dialogs.Texts(), QStringList{"File: " + path + " is not a text file of leads: " + reason
                                              + ". Nothing was imported from it."});
        QCOMPARE(window.panels.value(4), QString("0 Records Merged"));
        // A stray control character or two in a real file is no reason.
        const QString fine = folder.Write_File("fine.csv", QByteArray("Ann,,Co\x01le,ann@example.com\r\n") +
                                                               Lines_Of(120, "\r\n").toUtf8() + "\x1A");
        db.Execute("UPDATE ContactSources SET Path_For_File = ?", {fine});
        QCOMPARE(Merge_The_Transferred_File("Site", ""), 1);
        QCOMPARE(Contact_Count(db), 121);
    }

    void positions_out_of_range_are_no_column_data()
    {
        QTest::addColumn<QVariant>("position");
        QTest::newRow("huge") << QVariant(1e300);
        QTest::newRow("minus huge") << QVariant(-1e300);
        QTest::newRow("infinite") << QVariant(std::numeric_limits<double>::infinity());
        QTest::newRow("not a number") << QVariant(std::numeric_limits<double>::quiet_NaN());
        QTest::newRow("past 40") << QVariant(41);
        QTest::newRow("a text") << QVariant(QString("four"));
        QTest::newRow("past the largest whole number") << QVariant(qint64(1) << 40);
    }
    void positions_out_of_range_are_no_column()
    {
        QFETCH(QVariant, position);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const QString path = folder.Write_File("leads.csv", Wide_Line(40) + "\r\n");
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}});
        db.Execute("UPDATE ContactSources SET Email_Position = ?, Bdate_Position = ?, Options_Position = ?",
                   {position, position, position});
        QCOMPARE(Merge_The_Transferred_File("Site", ""), 1);
        QCOMPARE(Contact_Keys(db), QStringList{"f1|f2|f3|"});
        QCOMPARE(Get_Merge_Field(position), QString(""));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void get_merge_field_answers_every_position()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const QString path = folder.Write_File("leads.csv", Wide_Line(40) + "\r\n");
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}, {"Email_Position", 40}});
        QCOMPARE(Merge_The_Transferred_File("Site", ""), 1);
        QCOMPARE(Get_Merge_Field(1), QString("f1"));
        QCOMPARE(Get_Merge_Field(39), QString("f39"));
        QCOMPARE(Get_Merge_Field(QString("2")), QString("f2"));
        QCOMPARE(Get_Merge_Field(0), QString(""));
        QCOMPARE(Get_Merge_Field(-3), QString(""));
        QCOMPARE(Get_Merge_Field(41), QString(""));
        QCOMPARE(Get_Merge_Field(QVariant()), QString(""));
        QVERIFY(!Get_Merge_Field(0).isNull());
    }

    void the_window_is_handled_and_may_write_while_contacts_are_written()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        const qint64 edited = db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Ed', 'Old', 'ed@x')");
        // Every hundredth contact takes a while to store, so each transaction lasts.
        db.Execute("CREATE TRIGGER Slow AFTER INSERT ON Contacts WHEN NEW.ID % 100 = 0 BEGIN "
                   "SELECT count(*) FROM (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                   "WHERE i < 100000) SELECT i FROM n); END");
        const int lines = Merge_Rows_Per_Transaction * 2 + 500;
        const QString path = folder.Write_File("leads.csv", Lines_Of(lines, "\r\n").toUtf8());
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}});

        // A connection of its own that waits for nothing: it finds the write
        // lock taken only while a transaction of the import is open.
        QSqlDatabase probe = QSqlDatabase::addDatabase("QSQLITE", "probe");
        probe.setDatabaseName(db.Path());
        probe.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
        QVERIFY(probe.open());
        int handled_while_writing = 0;
        bool user_wrote = false;
        QTimer window_events;
        window_events.setInterval(1);
        connect(&window_events, &QTimer::timeout, this, [&] {
            QSqlQuery begin(probe);
            if (begin.exec("BEGIN IMMEDIATE")) {
                begin.exec("ROLLBACK");
                return;
            }
            ++handled_while_writing;
            // The user saves a contact meanwhile: it waits for the transaction and is stored.
            if (!user_wrote) {
                Open_Database().Execute("UPDATE Contacts SET Notes = 'edited' WHERE ID = ?", {edited});
                user_wrote = true;
            }
        });
        window_events.start();
        QCOMPARE(Merge_The_Transferred_File("Site", ""), 1);
        window_events.stop();
        probe.close();
        probe = QSqlDatabase();
        QSqlDatabase::removeDatabase("probe");

        QVERIFY(handled_while_writing > 0);
        QVERIFY(user_wrote);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(db.Scalar("SELECT Notes FROM Contacts WHERE ID = ?", {edited}).toString(), QString("edited"));
        QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts").toInt(), lines + 1);
        QCOMPARE(Last_Merge_Count(), lines);
    }

    void a_failing_write_keeps_what_was_written_and_says_so()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Database db = folder.Db();
        db.Execute("CREATE TRIGGER No_Bob BEFORE INSERT ON Contacts WHEN NEW.FirstName = 'Bob' "
                   "BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
        const QString path = folder.Write_File("leads.csv", "Ann,,Cole,ann@x\r\nBob,,Doe,bob@x\r\nCy,,Fox,cy@x\r\n");
        Add_Contact_Source(db, "Site", {{"Path_For_File", path}});
        QCOMPARE(Merge_The_Transferred_File("Site", ""), -1);
        QCOMPARE(Contact_Keys(db), QStringList{"Ann||Cole|ann@x"});
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.first().text.contains("disk is full"), qPrintable(dialogs.messages.first().text));
        QCOMPARE(Last_Merge_Count(), 1);
    }
};

QTEST_GUILESS_MAIN(File_Import_Test)
#include "tst_file_import.moc"
