// Start-up of the main window: finding the database, the log-in, a file
// that is no database, the window drawn before its list fills, and the note
// of a compaction.

#include <QAbstractItemModel>
#include <QDir>
#include <QSqlRecord>
#include <QWindow>
#include <sys/stat.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "Find_Control.h"
#include "GlobalVariables.h"
#include "Main_Window_Test_Support.h"
#include "Process_State.h"
#include "Test_Support.h"
#include "frmContactSystem.h"
#include "dialogs/frmHelpBrowser.h"
#include "frmPassword.h"
#include <QTextBrowser>

namespace G = GlobalVariables;

// Notes the paint events of a window and of the widgets in it.
class Paint_Watch : public QObject {
public:
    explicit Paint_Watch(std::function<void(QWidget*)> painted) : painted_(std::move(painted))
    {
        qApp->installEventFilter(this);
    }
    ~Paint_Watch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType())
            painted_(static_cast<QWidget*>(object));
        return false;
    }

private:
    std::function<void(QWidget*)> painted_;
};

ino_t Inode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// Runs the test in a working folder and goes back to the old one at the end.
class Working_Folder {
public:
    explicit Working_Folder(const QString& folder) : old_(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~Working_Folder() { QDir::setCurrent(old_); }

private:
    QString old_;
};

class tst_start_up : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void database_in_working_folder()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        QDir(folder.Path("Attachments")).removeRecursively();
        folder.Db().Execute("INSERT INTO Contacts (FirstName, LastName) VALUES ('Ann', 'Lee')");
        Working_Folder here(folder.Folder());
        G::Program_Folder.clear();
        G::Database_Path.clear();

        frmContactSystem window;
        QVERIFY(window.Start_Up());
        QVERIFY(!dialogs.Shown("Cannot find the Main Database"));
        QVERIFY(dialogs.file_titles.isEmpty());
        QCOMPARE(G::Program_Folder, QDir(folder.Folder()).absolutePath() + "/");
        QCOMPARE(G::Database_Path, QFileInfo(folder.Database_File()).absoluteFilePath());
        QVERIFY(QFileInfo(folder.Path("Attachments")).isDir());
        QVERIFY(G::Password_Dialog_Answered);
        QVERIFY(window.isVisible());
        QCOMPARE(Control<List_View>(&window, "ListContacts")->topLevelItemCount(), 1);
        QCOMPARE(Control<QLineEdit>(&window, "txtfirstname")->text(), QString("Ann"));
        QCOMPARE(Control<QLabel>(&window, "StatusBar1_Panel2")->text(), QString("1"));
        QVERIFY(clock.paused_seconds >= 1.0);
    }

    void window_is_drawn_before_the_list_fills()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        const QString insert = "INSERT INTO Contacts (FirstName, LastName, Email, Product, Contact_Relationship, "
                               "Contact_Title, Pending_Events_To_Read, New_Contact) VALUES (?, ?, ?, ?, ?, ?, ?, ?)";
        folder.Db().Execute(insert, {"Cy", "Zed", "cy@example.com", "Truck", "Friend", "Mr", 0, 1});
        folder.Db().Execute(insert, {"Ann", "Lee", "ann@example.com", "Car", "Customer", "Dr", 1, 0});
        folder.Db().Execute(insert, {"Bob", "Adams", QVariant(), QVariant(), QVariant(), QVariant(), 0, 0});
        folder.Db().Execute(insert, {"Al", "Lee", "al@example.com", "Van", QVariant(), QVariant(), 0, 0});
        Working_Folder here(folder.Folder());

        frmContactSystem window;
        bool painted = false;
        Paint_Watch watch([&](QWidget* widget) {
            if (widget->window() == &window)
                painted = true;
        });
        auto* list = Control<List_View>(&window, "ListContacts");
        int insertions = 0;
        bool exposed_at_fill = false;
        bool painted_at_fill = false;
        connect(list->model(), &QAbstractItemModel::rowsInserted, this, [&] {
            ++insertions;
            exposed_at_fill = window.windowHandle() && window.windowHandle()->isExposed();
            painted_at_fill = painted;
        });
        QVERIFY(window.Start_Up());
        QVERIFY(exposed_at_fill);
        QVERIFY(painted_at_fill);
        QCOMPARE(insertions, 1);

        // By last name; the same last name in the order of the first names.
        QStringList shown;
        for (int i = 1; i <= list->Row_Count(); ++i) {
            QStringList texts{list->Key_At(i).left(3)};
            for (int column = 1; column <= 6; ++column)
                texts << list->Row_At(i)->text(column);
            shown << texts.join('|');
        }
        QCOMPARE(shown, (QStringList{"key|Bob|Adams||||", "key|Al|Lee|al@example.com|Van||",
                                     "key|Ann|Lee|ann@example.com|Car|Customer|Dr",
                                     "key|Cy|Zed|cy@example.com|Truck|Friend|Mr"}));
        QCOMPARE(Control<QLabel>(&window, "StatusBar1_Panel2")->text(), QString("4"));
        // The first contact is the shown one.
        const qint64 first = folder.Db().Scalar("SELECT ID FROM Contacts WHERE LastName = 'Adams'").toLongLong();
        QCOMPARE(list->Key_At(1), "key" + QString::number(first));
        QCOMPARE(list->currentItem(), list->Row_At(1));
        QCOMPARE(Control<QLineEdit>(&window, "txtfirstname")->text(), QString("Bob"));
        // Names bold while events wait, in the highlight colour while new.
        QVERIFY(List_View::Is_Bold(list->Row_At(3), 1));
        QVERIFY(List_View::Is_Bold(list->Row_At(3), 2));
        QVERIFY(!List_View::Is_Bold(list->Row_At(2), 1));
        QCOMPARE(list->Row_At(4)->foreground(1), list->palette().brush(QPalette::Highlight));
        QCOMPARE(list->Row_At(2)->foreground(1), QBrush());
    }

    void many_contacts_come_in_slices_the_window_drawn_between()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        const int contacts = 9500;
        // Many equal names, some only in other letters, some without a name.
        folder.Db().Execute(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
            "INSERT INTO Contacts (FirstName, LastName, Email, Pending_Events_To_Read) "
            "SELECT CASE WHEN i % 50 = 0 THEN NULL ELSE 'F' || (i % 7) END, "
            "CASE WHEN i % 3 = 0 THEN 'lee' WHEN i % 3 = 1 THEN 'Lee' WHEN i % 40 = 2 THEN NULL ELSE 'A' || (i % 11) END, "
            "'c' || i || '@example.com', i % 2 FROM n",
            {contacts});
        QStringList expected;
        for (const QSqlRecord& row : folder.Db().Select("SELECT ID FROM Contacts ORDER BY LastName"))
            expected << "key" + row.value(0).toString();
        Working_Folder here(folder.Folder());

        frmContactSystem window;
        auto* list = Control<List_View>(&window, "ListContacts");
        int insertions = 0;
        connect(list->model(), &QAbstractItemModel::rowsInserted, this, [&] { ++insertions; });
        bool drawn_part_full = false;
        Paint_Watch watch([&](QWidget* widget) {
            if (widget == list->viewport() && list->Row_Count() > 0 && list->Row_Count() < contacts)
                drawn_part_full = true;
        });
        QVERIFY(window.Start_Up());
        QVERIFY(insertions > 1);
        QVERIFY(drawn_part_full);
        QStringList keys;
        for (int i = 1; i <= list->Row_Count(); ++i)
            keys << list->Key_At(i);
        QCOMPARE(keys, expected);
        QCOMPARE(Control<QLabel>(&window, "StatusBar1_Panel2")->text(), QString::number(contacts));
        const QSqlRecord last = folder.Db().Select_First(
            "SELECT FirstName, LastName, Email, Pending_Events_To_Read FROM Contacts WHERE ID = ?",
            {expected.last().mid(3)});
        QTreeWidgetItem* row = list->Row_At(contacts);
        QCOMPARE(row->text(1), last.value(0).toString());
        QCOMPARE(row->text(2), last.value(1).toString());
        QCOMPARE(row->text(3), last.value(2).toString());
        QCOMPARE(List_View::Is_Bold(row, 1), last.value(3).toInt() == 1);

        // Sorted by first name and filled again: the order the sort gives,
        // equal names in the list's own order.
        QList<QPair<QString, QString>> by_first;
        for (int i = 1; i <= list->Row_Count(); ++i)
            by_first << qMakePair(list->Row_At(i)->text(1), list->Key_At(i));
        std::stable_sort(by_first.begin(), by_first.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QStringList sorted_keys;
        for (const auto& entry : by_first)
            sorted_keys << entry.second;
        list->Column_Sort(1);
        window.Refresh_Contact_List();
        keys.clear();
        for (int i = 1; i <= list->Row_Count(); ++i)
            keys << list->Key_At(i);
        QCOMPARE(keys, sorted_keys);
    }

    void a_compaction_says_what_it_does_data()
    {
        QTest::addColumn<int>("counter");
        QTest::addColumn<bool>("compacts");
        QTest::newRow("the sixth start") << 5 << true;
        QTest::newRow("another start") << 2 << false;
    }

    void a_compaction_says_what_it_does()
    {
        QFETCH(int, counter);
        QFETCH(bool, compacts);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        folder.Db().Execute("UPDATE Settings SET Compression_Counter = ?", {counter});
        Working_Folder here(folder.Folder());
        const ino_t before = Inode(folder.Database_File());

        frmContactSystem window;
        QStringList notes;
        bool swapped_when_noted = false;
        bool window_up_when_noted = false;
        Paint_Watch watch([&](QWidget* widget) {
            if (widget->objectName() != "lblWorkNote" || !widget->isVisible())
                return;
            notes << static_cast<QLabel*>(widget)->text();
            swapped_when_noted = Inode(folder.Database_File()) != before;
            window_up_when_noted = window.isVisible();
        });
        QVERIFY(window.Start_Up());
        notes.removeDuplicates();
        QCOMPARE(notes, compacts ? QStringList{"Compacting the database, please wait..."} : QStringList{});
        // Drawn while the compaction was still to come, and gone when it is done.
        QVERIFY(!swapped_when_noted);
        QVERIFY(!window_up_when_noted);
        QCOMPARE(Inode(folder.Database_File()) != before, compacts);
        QCOMPARE(folder.Db().Scalar("SELECT Compression_Counter FROM Settings").toInt(), compacts ? 0 : counter + 1);
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(top->objectName() != "Work_Note" || !top->isVisible());
        QVERIFY(!dialogs.Shown("The database could not"));
    }

    void no_database_cancelled_ends_the_program()
    {
        QTemporaryDir empty;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        Reset_Process_State();
        Working_Folder here(empty.path());

        frmContactSystem window;
        QVERIFY(!window.Start_Up());
        QCOMPARE(dialogs.Texts(), QStringList({"Cannot find the Main Database. Please select the database.",
                                               "No database has been entered. Quiting!"}));
        QCOMPARE(dialogs.file_titles, QStringList({"Open"}));
        QVERIFY(!window.isVisible());
    }

    void no_database_one_chosen_elsewhere()
    {
        Test_Program_Folder folder;
        QTemporaryDir empty;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        dialogs.file_answers << folder.Database_File();
        Working_Folder here(empty.path());

        frmContactSystem window;
        QVERIFY(window.Start_Up());
        QCOMPARE(dialogs.Texts().first(), QString("Cannot find the Main Database. Please select the database."));
        QVERIFY(!dialogs.Shown("No database has been entered"));
        // The program folder follows the chosen file, and so does the attachment store.
        QCOMPARE(G::Program_Folder, QFileInfo(folder.Database_File()).absolutePath() + "/");
        QCOMPARE(G::Database_Path, QFileInfo(folder.Database_File()).absoluteFilePath());
        QVERIFY(!QFileInfo(QDir(empty.path()).filePath("Attachments")).exists());
    }

    void a_file_that_is_no_database_ends_with_a_message_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("this is not a database\n");
        QTest::newRow("empty") << QByteArray();
    }

    void a_file_that_is_no_database_ends_with_a_message()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile file(QDir(dir.path()).filePath("data2000.mdb"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        Reset_Process_State();
        Working_Folder here(dir.path());

        frmContactSystem window;
        QVERIFY(!window.Start_Up());
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages[0].text.contains("data2000.mdb"));
        QVERIFY(dialogs.messages[0].text.contains("The program ends."));
        QVERIFY(!window.isVisible());
    }

    void log_in_password_data()
    {
        QTest::addColumn<QStringList>("typed");      // typed and confirmed with OK, in turn
        QTest::addColumn<QString>("way_out");        // after them: "", "Cancel" or "close"
        QTest::addColumn<bool>("starts");
        QTest::addColumn<int>("invalid_messages");
        QTest::newRow("right") << QStringList{"Secret"} << "" << true << 0;
        QTest::newRow("letter case and blanks count") << QStringList{"secret", "Secret "} << "" << false << 2;
        QTest::newRow("three wrong, then right")
            << QStringList{"x", "secret", "Secret ", "Secret"} << "" << true << 3;
        QTest::newRow("wrong, then Cancel") << QStringList{"nope"} << "Cancel" << false << 1;
        QTest::newRow("Cancel") << QStringList{} << "Cancel" << false << 0;
        QTest::newRow("close box") << QStringList{} << "close" << false << 0;
    }

    void log_in_password()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, way_out);
        QFETCH(bool, starts);
        QFETCH(int, invalid_messages);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        folder.Db().Execute("UPDATE Settings SET Furrowline_Password = 'Secret'");
        Working_Folder here(folder.Folder());

        bool main_window_seen = false;
        QStringList shown;   // what the box showed of each typed password
        frmContactSystem window;
        When_Modal_Shown([&](QWidget* modal) {
            auto* dialog = qobject_cast<frmPassword*>(modal);
            QVERIFY(dialog);
            main_window_seen = window.isVisible();
            auto* password = Control<QLineEdit>(dialog, "txtPassword");
            QCOMPARE(password->echoMode(), QLineEdit::Password);
            for (const QString& text : typed) {
                password->setText(text);
                shown << password->displayText();
                Control<QPushButton>(dialog, "OK")->click();
            }
            if (way_out == "Cancel")
                Control<QPushButton>(dialog, "Cancel")->click();
            else if (way_out == "close")
                dialog->close();
            else if (dialog->isVisible())
                Control<QPushButton>(dialog, "Cancel")->click();   // nothing right was typed: leave as Cancel does
        });
        QCOMPARE(window.Start_Up(), starts);
        QVERIFY(!main_window_seen);
        QCOMPARE(window.isVisible(), starts);
        QCOMPARE(dialogs.Texts().count("The entered password is invalid."), invalid_messages);
        QCOMPARE(G::Password_Dialog_Answered, starts);
        QStringList masked;
        for (const QString& text : typed)
            masked << QString(text.size(), '*');
        QCOMPARE(shown, masked);
    }

    void unreadable_settings_show_the_help_page_and_end_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("no settings row") << QStringList{"DELETE FROM Settings"};
        QTest::newRow("no settings table") << QStringList{"DROP TABLE Settings"};
        QTest::newRow("a null flag")
            << QStringList{"CREATE TABLE S2 AS SELECT * FROM Settings", "DROP TABLE Settings",
                           "ALTER TABLE S2 RENAME TO Settings",
                           "UPDATE Settings SET Delete_Remote_Email = NULL"};
    }

    void unreadable_settings_show_the_help_page_and_end()
    {
        QFETCH(QStringList, statements);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        for (const QString& statement : statements)
            folder.Db().Execute(statement);
        Working_Folder here(folder.Folder());
        QString shown;
        QUrl page;
        When_Modal_Shown([&](QWidget* modal) {
            auto* help = qobject_cast<frmHelpBrowser*>(modal);
            QVERIFY(help);
            page = Control<QTextBrowser>(help, "WebBrowser1")->source();
            shown = Control<QTextBrowser>(help, "WebBrowser1")->toPlainText();
            Control<QPushButton>(help, "CloseHelp")->click();
        });
        frmContactSystem window;
        QVERIFY(!window.Start_Up());
        QCOMPARE(dialogs.Texts(), QStringList{"Your system is missing Microsoft's Data Access Libraries."});
        // The page ships with the program: no network, no web browser needed.
        QCOMPARE(page, Help_Page_Url("miss_mdac.htm"));
        QVERIFY(shown.startsWith("The settings cannot be loaded"));
        QVERIFY(!window.isVisible());
    }

    void no_password_no_dialog()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Test_Clock clock;
        Working_Folder here(folder.Folder());
        bool dialog_seen = false;
        When_Modal_Shown([&](QWidget* modal) {
            dialog_seen = qobject_cast<frmPassword*>(modal) != nullptr;
            modal->close();
        }, 20);
        frmContactSystem window;
        QVERIFY(window.Start_Up());
        QVERIFY(!dialog_seen);
        QVERIFY(G::Password_Dialog_Answered);
    }
};

QTEST_MAIN(tst_start_up)
#include "tst_start_up.moc"
