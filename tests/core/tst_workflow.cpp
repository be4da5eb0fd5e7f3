#include <QtTest>
#include <ctime>

#include "Data_Access.h"
#include "Database.h"
#include "GlobalVariables.h"
#include "Recording_Main_Window.h"
#include "Test_Support.h"
#include "Workflow_Run.h"
#include "Settings.h"

namespace {

const QDateTime Today(QDate(2026, 12, 10), QTime(10, 0, 0));

struct Workflow_Fixture {
    Test_Program_Folder folder;
    Test_Clock clock{Today};
    Scripted_Dialogs dialogs;
    Recording_Main_Window window;

    Workflow_Fixture()
    {
        Database db = folder.Db();
        db.Execute("INSERT INTO Products (Product) VALUES ('Car')");
        // Step 1 at once, step 2 after 3 days and 4 hours.
        Add_Step(1, 0, 0, "Email Out", "Hello [Firstname]", "Dear [Firstname] [Lastname] of [City]");
        Add_Step(2, 3, 4, "Call Out", "Call [Firstname]", "Phone [Homephone]");
        Update_Settings([&](Program_Settings& s) { s.DefaultEmailAddress = "owner@example.com"; s.DefaultEmailName = "Owner"; s.DefaultContactName = "Friend"; });
    }

    void Add_Step(int step, int days, int hours, const QString& action, const QString& subject,
                  const QString& message)
    {
        folder.Db().Execute(
            "INSERT INTO Events (Product, EventID, Event_Action, DaysAfterInitialContact, "
            "AdditionalHoursToAdd, Subject, Message, SenderEmail, SenderEmailName) "
            "VALUES ('Car', ?, ?, ?, ?, ?, ?, 'sales@example.com', 'Sales')",
            {step, action, days, hours, subject, message});
    }

    qint64 Add_Contact(const QVariant& first, const QString& email, const QDateTime& start,
                       bool stopped = false, bool finished = false, int b_day = 0, int b_month = 0)
    {
        return folder.Db().Insert(
            "INSERT INTO Contacts (FirstName, LastName, City, Email, Product, Workflow_Start_Date, "
            "Stop_Timeline_Action, Finished_Timeline_Execution, B_Day, B_Month) "
            "VALUES (?, 'Lee', 'Leeds', ?, 'Car', ?, ?, ?, ?, ?)",
            {first, email, start, stopped, finished, b_day ? QVariant(b_day) : QVariant(),
             b_month ? QVariant(b_month) : QVariant()});
    }

    void Add_History(qint64 contact, int step, const QString& product = "Car")
    {
        folder.Db().Execute(
            "INSERT INTO Eventhistory (ContactID, Event_Product, Event_Type, Timeline_Step_Number, "
            "Event_Unique_ID) VALUES (?, ?, 'Email Out', ?, ?)",
            {contact, product, step, QString::number(contact * 100 + step + 50)});
    }

    QList<QSqlRecord> Outbox_Of(qint64 contact)
    {
        return folder.Db().Select("SELECT * FROM Outbox WHERE Out_Contact_ID = ? ORDER BY ID", {contact});
    }

    bool Finished(qint64 contact)
    {
        return folder.Db().Scalar("SELECT Finished_Timeline_Execution FROM Contacts WHERE ID = ?", {contact}).toBool();
    }
};

// A second product with steps timed by days, by hours and by both, and one
// without steps.
void Add_Van_And_Boat(Database db)
{
    db.Execute("INSERT INTO Products (Product) VALUES ('Van')");
    db.Execute("INSERT INTO Products (Product) VALUES ('Boat')");
    const QList<QVariantList> steps{{1, 0, 0, "Email Out"}, {2, 3, 0, "Call Out"},
                                    {3, 0, 30, "To Do"},   {4, 2, 4, "Email Out"}};
    for (const QVariantList& step : steps)
        db.Execute("INSERT INTO Events (Product, EventID, DaysAfterInitialContact, AdditionalHoursToAdd, "
                   "Event_Action, Subject, Message, SenderEmail, SenderEmailName) "
                   "VALUES ('Van', ?, ?, ?, ?, 'Van step for [Firstname]', 'Dear [Lastname]', "
                   "'vans@example.com', 'Vans')",
                   {step.at(0), step.at(1), step.at(2), step.at(3)});
}

struct Contact_Case {
    QString product;
    QList<int> history;
    QString history_product;   // empty: the contact's product
    QVariant start;
    bool stopped = false;
    bool finished = false;
    int waiting = 0;           // a step already in the outbox
};

qint64 Add_Case(Database db, const Contact_Case& c, const QString& name)
{
    const qint64 id = db.Insert(
        "INSERT INTO Contacts (FirstName, LastName, Email, Product, Workflow_Start_Date, "
        "Stop_Timeline_Action, Finished_Timeline_Execution) VALUES (?, 'Lee', ?, ?, ?, ?, ?)",
        {name, name.toLower().remove(' ') + "@example.com", c.product, c.start, c.stopped, c.finished});
    int n = 0;
    for (int step : c.history)
        db.Execute("INSERT INTO Eventhistory (ContactID, Event_Product, Event_Type, Timeline_Step_Number, "
                   "Event_Unique_ID) VALUES (?, ?, 'Email Out', ?, ?)",
                   {id, c.history_product.isEmpty() ? c.product : c.history_product, step,
                    QString("h%1.%2").arg(id).arg(++n)});
    if (c.waiting)
        db.Execute("INSERT INTO Outbox (Out_Contact_ID, Out_Timeline_Event_Number, Product_Name, Out_Event_Type) "
                   "VALUES (?, ?, ?, 'Email Out')",
                   {id, c.waiting, c.product});
    return id;
}

// The walk the set-based selection replaces: every running contact of each
// product in turn, each with its own statements.
void Walk_Every_Contact()
{
    Database db = Open_Database();
    for (const QSqlRecord& product : db.Select("SELECT Product FROM Products ORDER BY Product")) {
        const QString name = product.value(0).toString();
        for (const QSqlRecord& contact :
             db.Select("SELECT * FROM Contacts WHERE Stop_Timeline_Action = 0 AND Finished_Timeline_Execution = 0 "
                       "AND Product = ? ORDER BY ID",
                       {name}))
            Process_Contact_Timeline(contact, name);
    }
}

// What a run left: every posting in order and the finished contacts.
QStringList Run_Result(Database db)
{
    QStringList result;
    for (const QVariantList& row : db.Select_Values(
             "SELECT Out_Contact_ID, Out_Timeline_Event_Number, Product_Name, Out_Event_Type, ToEmail, "
             "ToEmailName, Subject, Message, FromEmail, FromEmailName, Date_To_Execute_Event FROM Outbox ORDER BY ID")) {
        QStringList texts;
        for (const QVariant& value : row)
            texts << value.toString();
        result << texts.join(" | ");
    }
    for (const QVariantList& row :
         db.Select_Values("SELECT ID FROM Contacts WHERE Finished_Timeline_Execution = 1 ORDER BY ID"))
        result << "finished " + row.at(0).toString();
    return result;
}

} // namespace

Q_DECLARE_METATYPE(Contact_Case)

namespace {

// The walk on the database as it is, then the run on the same database as it
// was before the walk, at the same time of day: what each left.
std::pair<QStringList, QStringList> Walk_Then_Run(Workflow_Fixture& f, const QDateTime& at = Today)
{
    const QString before = f.folder.Path("before.mdb");
    Database::Close_All();
    QFile::remove(before);
    if (!QFile::copy(f.folder.Database_File(), before))
        return {{"copy failed"}, {}};
    // Each in one transaction, which changes nothing they do, so that the
    // test does not wait for the disk after every row.
    const auto in_one_transaction = [&f](const std::function<void()>& work) {
        Database db = f.folder.Db();
        Database_Transaction batch(db);
        work();
        batch.Commit();
    };
    f.clock.Set(at);
    in_one_transaction(Walk_Every_Contact);
    const QStringList walked = Run_Result(f.folder.Db());
    Database::Close_All();
    if (!QFile::remove(f.folder.Database_File()) || !QFile::copy(before, f.folder.Database_File()))
        return {walked, {"restore failed"}};
    f.clock.Set(at);
    in_one_transaction(Process_All_Products);
    return {walked, Run_Result(f.folder.Db())};
}

} // namespace

class Workflow_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_run_over_contacts_at_different_steps()
    {
        Workflow_Fixture f;
        Update_Settings([&](Program_Settings& s) { s.AutoSend_Birthdate_Emails = true; });
        const qint64 fresh = f.Add_Contact("Ann", "ann@example.com", Today.addDays(-1));
        const qint64 not_due = f.Add_Contact("Bob", "bob@example.com", Today.addDays(-1));
        f.Add_History(not_due, 1);
        const qint64 due = f.Add_Contact("Cy", "cy@example.com", Today.addDays(-5));
        f.Add_History(due, 1);
        const qint64 done = f.Add_Contact("Di", "di@example.com", Today.addDays(-30));
        f.Add_History(done, 1);
        f.Add_History(done, 2);
        const qint64 stopped = f.Add_Contact("Ed", "ed@example.com", Today.addDays(-30), true);
        const qint64 birthday = f.Add_Contact(QVariant(), "fay@example.com", Today, false, true, 10, 12);
        const qint64 birthday_sent = f.Add_Contact("Gil", "gil@example.com", Today, false, true, 10, 12);
        f.Add_History(birthday_sent, -1);
        const qint64 no_start = f.Add_Contact("Hal", "hal@example.com", QDateTime());

        Process_All_Contacts();

        // Step 1, merged, due now, from the step's sender.
        QList<QSqlRecord> rows = f.Outbox_Of(fresh);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value("Out_Timeline_Event_Number").toInt(), 1);
        QCOMPARE(rows[0].value("Out_Event_Type").toString(), QString("Email Out"));
        QCOMPARE(rows[0].value("Subject").toString(), QString("Hello Ann"));
        QCOMPARE(rows[0].value("Message").toString(), QString("Dear Ann Lee of Leeds"));
        QCOMPARE(rows[0].value("ToEmailName").toString(), QString("Ann Lee"));
        QCOMPARE(rows[0].value("FromEmail").toString(), QString("sales@example.com"));
        QCOMPARE(rows[0].value("Product_Name").toString(), QString("Car"));
        QVERIFY(Db_To_Date(rows[0].value("Date_To_Execute_Event")) >= Today);

        QVERIFY(f.Outbox_Of(not_due).isEmpty());
        rows = f.Outbox_Of(due);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value("Out_Timeline_Event_Number").toInt(), 2);
        QCOMPARE(rows[0].value("Out_Event_Type").toString(), QString("Call Out"));
        // "[Homephone]" stays: the contact's phone is null.
        QCOMPARE(rows[0].value("Message").toString(), QString("Phone [Homephone]"));

        QVERIFY(f.Outbox_Of(done).isEmpty());
        QVERIFY(f.Finished(done));
        QVERIFY(f.Outbox_Of(stopped).isEmpty());
        QVERIFY(!f.Finished(stopped));
        QVERIFY(f.Outbox_Of(no_start).isEmpty());
        QVERIFY(!f.Finished(no_start));

        // The birthday e-mail, from the template, with the default names.
        rows = f.Outbox_Of(birthday);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value("Out_Timeline_Event_Number").toInt(), -1);
        QCOMPARE(rows[0].value("Subject").toString(), QString("Happy Birthday, [Firstname]!"));
        QCOMPARE(rows[0].value("ToEmailName").toString(), QString("Friend"));
        QCOMPARE(rows[0].value("FromEmail").toString(), QString("owner@example.com"));
        QVERIFY(f.Outbox_Of(birthday_sent).isEmpty());

        // The run writes no history; it tells the user at the end.
        QCOMPARE(f.folder.Db().Scalar("SELECT count(*) FROM Eventhistory").toInt(), 5);
        QCOMPARE(f.dialogs.Texts(),
                 QStringList({"All Prospects Have Been Processed. Revise them using the respective viewers."}));
        QCOMPARE(f.window.panels.value(3), QString());

        // A second run posts nothing new: the steps wait in the outbox.
        const int before = f.folder.Db().Scalar("SELECT count(*) FROM Outbox WHERE Out_Timeline_Event_Number >= 0").toInt();
        Process_All_Contacts();
        QCOMPARE(f.folder.Db().Scalar("SELECT count(*) FROM Outbox WHERE Out_Timeline_Event_Number >= 0").toInt(), before);
        // The birthday pass does not look at the outbox: a waiting one gets a second.
        QCOMPARE(f.Outbox_Of(birthday).size(), 2);
    }

    void the_run_shows_its_progress_in_panels_3_to_5()
    {
        Workflow_Fixture f;
        Update_Settings([&](Program_Settings& s) { s.AutoSend_Birthdate_Emails = true; });
        f.Add_Contact("Fay", "fay@example.com", QDateTime(), false, true, 10, 12);
        f.Add_Contact("Ann", "ann@example.com", Today.addDays(-1));
        Process_All_Contacts();
        QCOMPARE(f.window.panel_history.value(3),
                 QStringList({"Processing Birthdays", "", "Car", ""}));
        QCOMPARE(f.window.panel_history.value(4), QStringList({"", "1", "", "", "ann@example.com", ""}));
        QCOMPARE(f.window.panel_history.value(5), QStringList({"", "fay@example.com", "", "", "Email Out", ""}));
    }

    void the_due_moment_counts_whole_minutes_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("due");
        QTest::newRow("a second early") << QDateTime(QDate(2026, 3, 4), QTime(13, 59, 59)) << false;
        QTest::newRow("on the minute") << QDateTime(QDate(2026, 3, 4), QTime(14, 0, 0)) << true;
    }
    void the_due_moment_counts_whole_minutes()
    {
        QFETCH(QDateTime, now);
        QFETCH(bool, due);
        Workflow_Fixture f;
        f.clock.Set(now);
        const qint64 c = f.Add_Contact("Ann", "ann@example.com", QDateTime(QDate(2026, 3, 1), QTime(10, 0, 30)));
        f.Add_History(c, 1);
        Process_Product_Timeline("Car");
        QCOMPARE(f.Outbox_Of(c).size(), due ? 1 : 0);
    }

    void one_product_named_in_other_letters_runs_its_contacts()
    {
        Workflow_Fixture f;
        const qint64 c = f.Add_Contact("Ann", "ann@example.com", Today.addDays(-1));
        Process_Product_Timeline("CAR");
        const QList<QSqlRecord> rows = f.Outbox_Of(c);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value("Product_Name").toString(), QString("CAR"));
    }

    void birthday_history_does_not_move_the_workflow()
    {
        Workflow_Fixture f;
        const qint64 c = f.Add_Contact("Ann", "ann@example.com", Today.addDays(-1));
        f.Add_History(c, -1);
        QCOMPARE(Get_Last_Timeline_Step(c, "Car"), 0);
        Process_Product_Timeline("Car");
        QCOMPARE(f.Outbox_Of(c).size(), 1);
        QVERIFY(!f.Finished(c));
    }

    void a_product_without_step_one_finishes_its_contacts()
    {
        Workflow_Fixture f;
        f.folder.Db().Execute("INSERT INTO Products (Product) VALUES ('Boat')");
        const qint64 c = f.folder.Db().Insert(
            "INSERT INTO Contacts (FirstName, Product, Workflow_Start_Date) VALUES ('Ann', 'Boat', ?)",
            {Today.addDays(-1)});
        Process_All_Products();
        QVERIFY(f.Finished(c));
        QVERIFY(f.Outbox_Of(c).isEmpty());
    }

    void the_set_based_run_posts_each_case_as_the_walk_does_data()
    {
        QTest::addColumn<Contact_Case>("contact");
        QTest::addColumn<int>("posted");
        QTest::addColumn<bool>("finished");
        const QDateTime days3 = Today.addDays(-3);
        const QDateTime hours30 = Today.addSecs(-30 * 3600);
        const QDateTime days2_hours4 = Today.addDays(-2).addSecs(-4 * 3600);
        QTest::newRow("first step due at once") << Contact_Case{"Van", {}, {}, Today.addDays(-1)} << 1 << false;
        QTest::newRow("due by days") << Contact_Case{"Van", {1}, {}, days3} << 2 << false;
        QTest::newRow("a minute short of the days") << Contact_Case{"Van", {1}, {}, days3.addSecs(60)} << 0 << false;
        QTest::newRow("seconds do not count") << Contact_Case{"Van", {1}, {}, days3.addSecs(59)} << 2 << false;
        QTest::newRow("due by hours") << Contact_Case{"Van", {1, 2}, {}, hours30} << 3 << false;
        QTest::newRow("a minute short of the hours") << Contact_Case{"Van", {1, 2}, {}, hours30.addSecs(60)} << 0 << false;
        QTest::newRow("due by days and hours") << Contact_Case{"Van", {1, 2, 3}, {}, days2_hours4} << 4 << false;
        QTest::newRow("a minute short of days and hours")
            << Contact_Case{"Van", {1, 2, 3}, {}, days2_hours4.addSecs(60)} << 0 << false;
        QTest::newRow("the highest step counts, not the latest") << Contact_Case{"Van", {2, 1}, {}, hours30} << 3 << false;
        QTest::newRow("past the last step") << Contact_Case{"Van", {1, 2, 3, 4}, {}, Today.addDays(-30)} << 0 << true;
        QTest::newRow("past the last step without a start") << Contact_Case{"Van", {1, 2, 3, 4}, {}, QVariant()} << 0 << true;
        QTest::newRow("no start date") << Contact_Case{"Van", {}, {}, QVariant()} << 0 << false;
        QTest::newRow("start as a date alone") << Contact_Case{"Van", {1}, {}, QString("2026-12-07")} << 2 << false;
        QTest::newRow("start as a date alone, not yet due") << Contact_Case{"Van", {1}, {}, QString("2026-12-08")} << 0 << false;
        QTest::newRow("start unreadable") << Contact_Case{"Van", {}, {}, QString("soon")} << 0 << false;
        QTest::newRow("the step waits in the outbox") << Contact_Case{"Van", {1}, {}, days3, false, false, 2} << 0 << false;
        QTest::newRow("another step waits in the outbox") << Contact_Case{"Van", {1}, {}, days3, false, false, 1} << 2 << false;
        QTest::newRow("stopped") << Contact_Case{"Van", {}, {}, Today.addDays(-1), true} << 0 << false;
        QTest::newRow("stopped past the last step") << Contact_Case{"Van", {1, 2, 3, 4}, {}, Today.addDays(-1), true} << 0 << false;
        QTest::newRow("finished") << Contact_Case{"Van", {}, {}, Today.addDays(-1), false, true} << 0 << true;
        QTest::newRow("a birthday step does not count") << Contact_Case{"Van", {-1}, {}, Today.addDays(-1)} << 1 << false;
        QTest::newRow("history of another product") << Contact_Case{"Van", {1, 2}, "Car", Today.addDays(-1)} << 1 << false;
        QTest::newRow("product in other letters") << Contact_Case{"vAN", {1}, {}, days3} << 2 << false;
        QTest::newRow("a product without steps") << Contact_Case{"Boat", {}, {}, Today.addDays(-1)} << 0 << true;
        QTest::newRow("a product without a catalog row") << Contact_Case{"Bike", {}, {}, Today.addDays(-1)} << 0 << false;
    }
    void the_set_based_run_posts_each_case_as_the_walk_does()
    {
        QFETCH(Contact_Case, contact);
        QFETCH(int, posted);
        QFETCH(bool, finished);
        Workflow_Fixture f;
        Add_Van_And_Boat(f.folder.Db());
        const qint64 id = Add_Case(f.folder.Db(), contact, "Ann");
        const auto [walked, run] = Walk_Then_Run(f);
        QCOMPARE(run, walked);
        const QList<QSqlRecord> rows = f.folder.Db().Select(
            "SELECT * FROM Outbox WHERE Out_Contact_ID = ? AND Out_Event_Type IS NOT NULL AND Subject IS NOT NULL",
            {id});
        QCOMPARE(rows.size(), posted ? 1 : 0);
        if (posted) {
            QCOMPARE(rows[0].value("Out_Timeline_Event_Number").toInt(), posted);
            QCOMPARE(rows[0].value("Product_Name").toString(), QString("Van"));
            QCOMPARE(rows[0].value("Subject").toString(), QString("Van step for Ann"));
        }
        QCOMPARE(f.Finished(id), finished);
    }

    void many_contacts_in_slices_get_the_postings_of_the_walk()
    {
        Workflow_Fixture f;
        Add_Van_And_Boat(f.folder.Db());
        {
            Database db = f.folder.Db();
            Database_Transaction batch(db);
            // More running contacts of one product than one statement reads,
            // at every step and start, a few of them due.
            quint32 seed = 7;
            const auto next = [&seed](quint32 below) {
                seed = seed * 1103515245u + 12345u;
                return (seed >> 16) % below;
            };
            const QStringList products{"Van", "Van", "Van", "Car", "Boat", "Bike"};
            for (int i = 0; i < 2600; ++i) {
                Contact_Case c;
                c.product = products.at(int(next(products.size())));
                for (int step = 1, last = int(next(6)); step <= last; ++step)
                    c.history << step;
                // Most not due for days yet, as in a working database.
                const quint32 kind = next(20);
                c.start = kind == 0   ? QVariant()
                          : kind <= 2 ? QVariant(Today.addSecs(-qint64(next(6 * 24 * 60)) * 60))
                                      : QVariant(Today.addSecs(qint64(next(3 * 24 * 60)) * 60));
                c.stopped = next(10) == 0;
                c.finished = next(10) == 0;
                c.waiting = next(8) == 0 ? int(next(4)) + 1 : 0;
                Add_Case(db, c, QString("C%1").arg(i));
            }
            batch.Commit();
        }
        const auto [walked, run] = Walk_Then_Run(f);
        // Postings and finished contacts both, so the comparison means something.
        // Beside the rows already waiting, postings.
        QVERIFY(run.size() - run.filter("finished ").size() > 400);
        QVERIFY(run.filter("finished ").size() > 100);
        QCOMPARE(run, walked);
    }

    void the_run_agrees_with_the_walk_when_the_clocks_change_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QList<int>>("history");
        // The clocks go back on 25 October 2026 and forward on 29 March 2026;
        // the due steps fall near those: step 2 after 3 days, step 3 after 30 hours.
        QTest::newRow("back, by days") << QDate(2026, 10, 28) << QTime(1, 30) << QList<int>{1};
        QTest::newRow("back, by hours") << QDate(2026, 10, 26) << QTime(7, 30) << QList<int>{1, 2};
        QTest::newRow("forward, by days") << QDate(2026, 4, 1) << QTime(1, 30) << QList<int>{1};
        QTest::newRow("forward, by hours") << QDate(2026, 3, 30) << QTime(8, 30) << QList<int>{1, 2};
    }
    void the_run_agrees_with_the_walk_when_the_clocks_change()
    {
        QFETCH(QDate, day);
        QFETCH(QTime, time);
        QFETCH(QList<int>, history);
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "Europe/London");
        tzset();
        const auto restore = qScopeGuard([&zone] {
            qputenv("TZ", zone);
            tzset();
        });
        Workflow_Fixture f;
        Add_Van_And_Boat(f.folder.Db());
        const QDateTime now(day, time);
        const QDateTime due = history.size() == 1 ? now.addDays(-3) : now.addSecs(-30 * 3600);
        {
            Database db = f.folder.Db();
            Database_Transaction batch(db);
            // Starts every five minutes from three hours before the step falls
            // due to three hours after, as the stored texts of wall-clock times.
            const QDateTime wall(due.date(), due.time(), Qt::UTC);
            for (int minutes = -180; minutes <= 180; minutes += 5) {
                const QString text = wall.addSecs(minutes * 60).toString("yyyy-MM-dd hh:mm:ss");
                Add_Case(db, Contact_Case{"Van", history, {}, text}, QString("C%1").arg(minutes + 200));
            }
            batch.Commit();
        }
        const auto [walked, run] = Walk_Then_Run(f, now);
        QVERIFY(run.size() > 10);
        QCOMPARE(run, walked);
    }

    void a_run_with_nothing_due_lets_the_window_handle_its_events()
    {
        Workflow_Fixture f;
        {
            Database db = f.folder.Db();
            Database_Transaction batch(db);
            for (int i = 0; i < 2500; ++i)
                Add_Case(db, Contact_Case{"Car", {1}, {}, Today}, QString("C%1").arg(i));
            batch.Commit();
        }
        bool handled = false;
        QTimer::singleShot(0, [&handled] { handled = true; });
        Process_All_Products();
        QVERIFY(handled);
        QCOMPARE(f.folder.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
    }

    void no_contacts_only_says_so()
    {
        Workflow_Fixture f;
        Update_Settings([&](Program_Settings& s) { s.AutoSend_Birthdate_Emails = true; });
        Process_All_Contacts();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QString("There are no contacts to process."));
        QCOMPARE(f.dialogs.messages[0].title, QString("No contacts to process"));
        QVERIFY(f.window.panels.isEmpty());
    }

    void automatic_sending_starts_the_sender_once()
    {
        Workflow_Fixture f;
        int started = 0;
        Set_Smtp_Sender_Starter([&started] {
            ++started;
            GlobalVariables::Message_Center_Running = true;
        });
        Update_Settings([&](Program_Settings& s) { s.Automatically_Send_Emails = true; });
        f.Add_Contact("Ann", "ann@example.com", Today.addDays(-1));
        Process_All_Contacts();
        Process_All_Contacts();
        Set_Smtp_Sender_Starter({});
        QCOMPARE(started, 1);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void the_outbox_test_looks_at_contact_step_and_product()
    {
        Workflow_Fixture f;
        f.folder.Db().Execute("INSERT INTO Outbox (Out_Contact_ID, Out_Timeline_Event_Number, Product_Name, "
                              "Out_Event_Type) VALUES (3, 2, 'Car', 'To Do')");
        QCOMPARE(Step_Not_In_Outbox(3, 2, "Car"), 0);
        QCOMPARE(Step_Not_In_Outbox(3, 1, "Car"), 1);
        QCOMPARE(Step_Not_In_Outbox(3, 2, "Van"), 1);
        QCOMPARE(Step_Not_In_Outbox(4, 2, "Car"), 1);
    }
};

QTEST_GUILESS_MAIN(Workflow_Test)
#include "tst_workflow.moc"
