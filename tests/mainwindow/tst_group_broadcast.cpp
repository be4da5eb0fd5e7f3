// The broadcast to the contact group: one merged outbox e-mail per listed
// contact with an address, the status window while it runs, the contacts
// skipped, the group commands off meanwhile, and the ways it ends early.

#include <QFileInfo>
#include <QSqlRecord>
#include <QStatusBar>
#include <QtTest>

#include "Data_Access.h"
#include "Dialogs.h"
#include "Group_Actions.h"
#include "List_Rows.h"
#include "Main_Window_Test_Support.h"
#include "Settings.h"
#include "dialogs/frmStatusForm.h"

namespace {

const char* const Question = "Do you want to send an all points Broadcast to the current Group?";
const char* const Closing = "The APB has been processed for the current Contacts. Revise them and send them! Turn "
                            "them to Gold!";

// A clock that runs a probe at every pause: the broadcast's first wait and
// each posting's wait, while the broadcast is under way.
struct Probing_Clock : Test_Clock {
    std::function<void(int)> probe;   // gets the number of the pause, from 1
    int pauses = 0;    // since the probe was set
    void Pause(double seconds) override
    {
        ++pauses;
        if (probe)
            probe(pauses);
        Test_Clock::Pause(seconds);
    }
};

struct Panels {
    QString heading, one, two;
    bool operator==(const Panels&) const = default;
};

struct Broadcast_Fixture : Window_With_Mail_Store {
    Probing_Clock clock;
    QList<Panels> seen;             // the status window at every pause
    QList<bool> group_commands;     // the group toolbar's APB button at every pause
    QList<Panels> at_messages;      // the status window at every message box while it was shown

    Broadcast_Fixture()
    {
        // As the scripted dialogs answer, looking at the status window first.
        Set_Message_Box_Handler([this](const QString& text, int style, const QString& title) {
            if (frmStatusForm* status = w ? Status() : nullptr; status && status->isVisible())
                at_messages << Snapshot(status);
            s.dialogs.messages << Shown_Message{text, style, title};
            if (!s.dialogs.answers.isEmpty())
                return s.dialogs.answers.takeFirst();
            return (style & 0x0F) == vbYesNo ? int(vbYes) : int(vbOK);
        });
        s.Db().Execute("UPDATE Settings SET DefaultEmailAddress = 'sales@dealer.example', DefaultEmailName = 'Sales', "
                       "DefaultContactName = 'Valued Customer'");
    }
    qint64 Contact(const QVariant& first, const QVariant& last, const QVariant& email, const QVariant& product = {})
    {
        return s.Db().Insert("INSERT INTO Contacts (FirstName, LastName, Email, Product, City) VALUES (?, ?, ?, ?, ?)",
                             {first, last, email, product, QString("Leeds")});
    }
    frmStatusForm* Status() { return w->findChild<frmStatusForm*>("frmStatusForm"); }
    static Panels Snapshot(frmStatusForm* status)
    {
        return {status->Heading->text(), status->Status_Panel(1), status->Status_Panel(2)};
    }
    void Watch(std::function<void(int)> meanwhile = {})
    {
        clock.pauses = 0;
        clock.probe = [this, meanwhile](int pause) {
            if (frmStatusForm* status = Status(); status && status->isVisible())
                seen << Snapshot(status);
            group_commands << C<Key_Toolbar>("Toolbar1")->Button("APB")->isEnabled();
            if (meanwhile)
                meanwhile(pause);
        };
    }
    void Open_Broadcast(const QString& subject, const QString& message, const QStringList& files = {})
    {
        Click_Tool(w, "Toolbar1", "APB");
        QCOMPARE(w->Current_Detail_Frame(), Frame(w, "frameSchedule"));
        C<QLineEdit>("txtFrameSchedule_Subject")->setText(subject);
        C<QPlainTextEdit>("txtFrameSchedule_Message")->setPlainText(message);
        C<QLineEdit>("txtFrameSchedule_Hour")->setText("16");
        C<QLineEdit>("txtFrameSchedule_Minutes")->setText("30");
        for (const QString& file : files) {
            s.dialogs.file_answers << file;
            Click_Tool(w, "ToolScheduleAttachment", "Add");
        }
    }
    void Schedule() { Click_Tool(w, "ToolSchedule", "Schedule"); }
    QList<QSqlRecord> Outbox() { return s.Db().Select("SELECT * FROM Outbox ORDER BY ID"); }
    QDateTime Due() { return QDateTime(clock.Now().date(), QTime(16, 30)); }
    void Group(const QString& where, const QVariantList& values = {})
    {
        w->Actions_On_Group->Choose_Group({where, values}, std::nullopt);
    }
};

} // namespace

class tst_group_broadcast : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void each_contact_gets_its_own_merged_e_mail_data()
    {
        QTest::addColumn<QVariant>("first");
        QTest::addColumn<QVariant>("last");
        QTest::addColumn<QVariant>("email");
        QTest::addColumn<QVariant>("product");
        QTest::addColumn<QString>("name");       // recipient name; empty: nothing posted
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("panel_two");

        const QVariant null;
        QTest::newRow("plain") << QVariant("Ann") << QVariant("Abbot") << QVariant("ann@example.com")
                               << QVariant("Car") << "Ann Abbot" << "Hello Ann"
                               << "Dear Ann Abbot of Leeds, your Car" << "ann@example.com";
        QTest::newRow("quotes") << QVariant("Bob \"Bobby\"") << QVariant("O'Brien") << QVariant("bob@example.com")
                                << QVariant("Van \"XL\"") << "Bob \"Bobby\" O'Brien" << "Hello Bob \"Bobby\""
                                << "Dear Bob \"Bobby\" O'Brien of Leeds, your Van \"XL\"" << "bob@example.com";
        QTest::newRow("null first name") << null << QVariant("Cole") << QVariant("cid@example.com") << QVariant("Car")
                                         << "Valued Customer" << "Hello [Firstname]"
                                         << "Dear [Firstname] Cole of Leeds, your Car" << "cid@example.com";
        QTest::newRow("empty first name") << QVariant("") << QVariant("Dunn") << QVariant("dee@example.com")
                                          << QVariant("Car") << "Valued Customer" << "Hello "
                                          << "Dear  Dunn of Leeds, your Car" << "dee@example.com";
        QTest::newRow("null last name, no product") << QVariant("Eve") << null << QVariant("eve@example.com") << null
                                                    << "Eve " << "Hello Eve" << "Dear Eve [Lastname] of Leeds, your [Product]"
                                                    << "eve@example.com";
        QTest::newRow("empty address") << QVariant("Fay") << QVariant("Fox") << QVariant("") << QVariant("Car") << ""
                                       << "" << "" << "No Email";
        QTest::newRow("null address") << QVariant("Gus") << QVariant("Gray") << null << QVariant("Car") << "" << ""
                                      << "" << "No Email";
        QTest::newRow("blank address") << QVariant("Hal") << QVariant("Hunt") << QVariant("   ") << QVariant("Car")
                                       << "" << "" << "" << "No Email";
    }
    void each_contact_gets_its_own_merged_e_mail()
    {
        QFETCH(QVariant, first);
        QFETCH(QVariant, last);
        QFETCH(QVariant, email);
        QFETCH(QVariant, product);
        QFETCH(QString, name);
        QFETCH(QString, subject);
        QFETCH(QString, message);
        QFETCH(QString, panel_two);
        Broadcast_Fixture f;
        const qint64 ID = f.Contact(first, last, email, product);
        f.Start();
        f.Watch();
        f.Open_Broadcast("Hello [Firstname]", "Dear [Firstname] [Lastname] of [City], your [Product]");
        f.Schedule();

        const QList<QSqlRecord> rows = f.Outbox();
        if (name.isEmpty()) {
            QVERIFY(rows.isEmpty());
        } else {
            QCOMPARE(rows.size(), 1);
            const QSqlRecord& row = rows[0];
            QCOMPARE(row.value("Out_Contact_ID").toLongLong(), ID);
            QCOMPARE(row.value("ToEmail").toString(), email.toString());
            QCOMPARE(row.value("ToEmailName").toString(), name);
            QCOMPARE(row.value("Subject").toString(), subject);
            QCOMPARE(row.value("Message").toString(), message);
            QCOMPARE(row.value("FromEmail").toString(), QString("sales@dealer.example"));
            QCOMPARE(row.value("FromEmailName").toString(), QString("Sales"));
            QCOMPARE(row.value("Product_Name").toString(), product.toString());
            QCOMPARE(row.value("Out_Event_Type").toString(), QString("Email Out"));
            QCOMPARE(row.value("Out_Timeline_Event_Number").toInt(), 0);
            QCOMPARE(row.value("Lead_Time").toInt(), 0);
            QCOMPARE(Db_To_Date(row.value("Date_To_Execute_Event")), f.Due());
        }
        // The status window named the contact while the broadcast ran; it is gone now.
        const QString shown = name.isEmpty() ? first.toString() + " " + last.toString() : name;
        const QList<Panels> expected =
            name.isEmpty() ? QList<Panels>{{"Processing All Points Broadcast", "", ""}}
                           : QList<Panels>{{"Processing All Points Broadcast", "", ""},
                                           {"Processing All Points Broadcast", shown, panel_two}};
        QCOMPARE(f.seen, expected);
        QCOMPARE(f.at_messages, QList<Panels>({{"Processing All Points Broadcast", shown, panel_two}}));
        QVERIFY(!f.Status() || !f.Status()->isVisible());
        QCOMPARE(f.s.dialogs.Texts(), QStringList({Question, Closing}));
        QCOMPARE(f.s.dialogs.messages[0].title, QString("All Points Broadcast"));
        QCOMPARE(f.s.dialogs.messages[0].style, int(vbYesNo));
        QVERIFY(f.s.dialogs.messages[1].title.isEmpty());
        // Posted or not, the frame stays open and empty.
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameSchedule"));
        QVERIFY(f.C<QLineEdit>("txtFrameSchedule_Subject")->text().isEmpty());
    }

    void the_contacts_listed_at_the_start_get_it_with_their_own_files()
    {
        Broadcast_Fixture f;
        const qint64 ann = f.Contact("Ann", "Abbot", "ann@example.com", "Car");
        const qint64 bob = f.Contact("Bob", "Brown", "bob@example.com", "Car");
        f.Contact("Cid", "Cole", "", "Car");
        const qint64 dee = f.Contact("Dee", "Dunn", "dee@example.com", "Car");
        const qint64 eve = f.Contact("Eve", "Evans", "eve@example.com", "Boat");
        const QString brochure = f.s.folder.Write_File("files/brochure.pdf", "PDF");
        const QString prices = f.s.folder.Write_File("files/prices.txt", "prices");
        f.Start();
        f.Group("WHERE Contacts.Product = ?", {QString("Car")});
        QCOMPARE(f.C<List_View>("ListContacts")->Row_Count(), 4);
        f.Watch([&](int pause) {
            if (pause == 1) {
                // All contacts listed now, and one of the group gone from the table.
                f.Group(QString());
                f.s.Db().Execute("DELETE FROM Contacts WHERE ID = ?", {dee});
            }
        });
        f.Open_Broadcast("Hello [Firstname]", "News for you", {brochure, prices});
        f.Schedule();

        const QList<QSqlRecord> rows = f.Outbox();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].value("Out_Contact_ID").toLongLong(), ann);
        QCOMPARE(rows[1].value("Out_Contact_ID").toLongLong(), bob);
        QVERIFY(f.s.Db().Select("SELECT * FROM Outbox WHERE Out_Contact_ID = ?", {eve}).isEmpty());
        // Every row its own copies of both files.
        const QList<QSqlRecord> files = f.s.Db().Select("SELECT * FROM Outbox_Attachments ORDER BY ID");
        QCOMPARE(files.size(), 4);
        QSet<QString> copies;
        for (const QSqlRecord& file : files) {
            QVERIFY(QFileInfo::exists(file.value("Attachment_Path").toString()));
            copies << file.value("Attachment_Path").toString();
        }
        QCOMPARE(copies.size(), 4);
        QVERIFY(QFileInfo::exists(brochure) && QFileInfo::exists(prices));

        const QString heading = "Processing All Points Broadcast";
        QCOMPARE(f.seen, QList<Panels>({{heading, "", ""},
                                        {heading, "Ann Abbot", "ann@example.com"},
                                        {heading, "Bob Brown", "bob@example.com"}}));
        // Cid and Dee were passed over after Bob's wait.
        QCOMPARE(f.group_commands, QList<bool>({false, false, false}));
        QVERIFY(f.C<Key_Toolbar>("Toolbar1")->Button("APB")->isEnabled());
        QCOMPARE(f.s.dialogs.Texts(), QStringList({Question, Closing}));
    }

    void a_contact_gone_from_the_table_is_passed_over()
    {
        Broadcast_Fixture f;
        f.Contact("Ann", "Abbot", "ann@example.com");
        const qint64 zoe = f.Contact("Zoe", "Zane", "zoe@example.com");
        f.Start();
        f.Watch([&](int pause) {
            if (pause == 1)
                f.s.Db().Execute("DELETE FROM Contacts WHERE ID = ?", {zoe});
        });
        f.Open_Broadcast("Hi", "Text");
        f.Schedule();
        QCOMPARE(f.Outbox().size(), 1);
        QCOMPARE(f.at_messages, QList<Panels>({{"Processing All Points Broadcast", "", "No Contact"}}));
        QCOMPARE(f.s.dialogs.Texts(), QStringList({Question, Closing}));
    }

    void answering_no_posts_nothing_and_shows_no_status_window()
    {
        Broadcast_Fixture f;
        f.Contact("Ann", "Abbot", "ann@example.com");
        f.Start();
        f.Watch();
        f.Open_Broadcast("Hi", "Text");
        f.s.dialogs.answers = {vbNo};
        f.Schedule();
        QVERIFY(f.Outbox().isEmpty());
        QVERIFY(f.seen.isEmpty());
        QVERIFY(!f.Status());
        QCOMPARE(f.s.dialogs.Texts(), QStringList({Question}));
        QVERIFY(f.C<Key_Toolbar>("Toolbar1")->Button("APB")->isEnabled());
        // The texts stay for another try.
        QCOMPARE(f.C<QLineEdit>("txtFrameSchedule_Subject")->text(), QString("Hi"));
        QCOMPARE(f.C<QPlainTextEdit>("txtFrameSchedule_Message")->toPlainText(), QString("Text"));
    }

    void an_empty_group_shows_the_window_and_the_closing_message()
    {
        Broadcast_Fixture f;
        f.Start();
        QCOMPARE(f.C<List_View>("ListContacts")->Row_Count(), 0);
        f.Watch();
        f.Open_Broadcast("Hi", "Text");
        f.Schedule();
        QVERIFY(f.Outbox().isEmpty());
        QCOMPARE(f.seen, QList<Panels>({{"Processing All Points Broadcast", "", ""}}));
        QCOMPARE(f.s.dialogs.Texts(), QStringList({Question, Closing}));
    }

    void the_group_commands_do_nothing_while_it_runs()
    {
        Broadcast_Fixture f;
        f.Contact("Ann", "Abbot", "ann@example.com");
        const qint64 bob = f.Contact("Bob", "Brown", "bob@example.com");
        f.Start();
        f.Watch([&](int pause) {
            if (pause == 2) {
                // The rest of the window answers: a click shows another contact.
                List_View* list = f.C<List_View>("ListContacts");
                Click_Row(list, list->Find_Key(Make_Contact_Key(bob)));
                QCOMPARE(f.C<QLineEdit>("txtContact_ID")->text(), QString::number(bob));
                // Straight to the handlers, as a key would: a delete or a second broadcast is refused.
                f.w->Actions_On_Group->Toolbar1_ButtonClick("Delete");
                f.w->Actions_On_Group->Toolbar1_ButtonClick("APB");
                f.w->Actions_On_Group->Toolbar1_ButtonMenuClick("SelectNew");
            }
        });
        f.Open_Broadcast("Hi", "Text");
        // Were the delete asked, it would be answered No.
        f.s.dialogs.answers = {vbYes, vbNo, vbNo};
        f.Schedule();
        QCOMPARE(f.Outbox().size(), 2);
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Contacts").toInt(), 2);
        QCOMPARE(f.C<List_View>("ListContacts")->Row_Count(), 2);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
        QCOMPARE(f.s.dialogs.Texts(), QStringList({Question, Closing}));
    }

    void closing_the_status_window_stops_after_the_contact_in_hand()
    {
        Broadcast_Fixture f;
        for (const char* name : {"Ann", "Bob", "Cid"})
            f.Contact(QString(name), "Lee", QString(name).toLower() + "@example.com");
        f.Start();
        f.Watch([&](int pause) {
            if (pause == 2)
                f.Status()->close();
        });
        f.Open_Broadcast("Hi", "Text");
        f.Schedule();
        QCOMPARE(f.Outbox().size(), 1);
        QCOMPARE(f.s.dialogs.Texts(),
                 QStringList({Question, "The APB was stopped after 1 of 3 contacts. The e-mails posted so far stay in "
                                        "the outbox."}));
        QVERIFY(f.C<Key_Toolbar>("Toolbar1")->Button("APB")->isEnabled());
        // The next broadcast runs again in full.
        f.s.dialogs.messages.clear();
        f.Watch();
        f.Open_Broadcast("Again", "Text");
        f.Schedule();
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox WHERE Subject = 'Again'").toInt(), 3);
        QCOMPARE(f.s.dialogs.Texts(), QStringList({Question, Closing}));
    }

    void a_database_failure_is_said_and_the_group_commands_come_back()
    {
        Broadcast_Fixture f;
        f.Contact("Ann", "Abbot", "ann@example.com");
        f.Contact("Bob", "Brown", "bob@example.com");
        f.Start();
        f.Watch([&](int pause) {
            if (pause == 2)
                f.s.Db().Execute("ALTER TABLE Contacts RENAME TO Contacts_Gone");
        });
        f.Open_Broadcast("Hi", "Text");
        f.Schedule();
        QCOMPARE(f.Outbox().size(), 1);
        QCOMPARE(f.s.dialogs.messages.size(), 2);
        QVERIFY2(f.s.dialogs.messages[1].text.startsWith("Error on All Points Broadcast: "),
                 qPrintable(f.s.dialogs.messages[1].text));
        QVERIFY(f.s.dialogs.messages[1].text.endsWith("\n1 of 2 contacts had been posted."));
        QVERIFY(f.C<Key_Toolbar>("Toolbar1")->Button("APB")->isEnabled());
        QVERIFY(!f.Status() || !f.Status()->isVisible());
        f.s.Db().Execute("ALTER TABLE Contacts_Gone RENAME TO Contacts");
    }

    void a_file_that_cannot_be_read_posts_nothing()
    {
        Broadcast_Fixture f;
        f.Contact("Ann", "Abbot", "ann@example.com");
        f.Contact("Bob", "Brown", "bob@example.com");
        const QString file = f.s.folder.Write_File("files/brochure.pdf", "PDF");
        f.Start();
        f.Watch();
        f.Open_Broadcast("Hi", "Text", {file});
        QFile::remove(file);
        f.Schedule();
        QVERIFY(f.Outbox().isEmpty());
        QVERIFY(f.seen.isEmpty());
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"The file " + file + " cannot be read. Nothing has been posted."}));
    }
};

QTEST_MAIN(tst_group_broadcast)
#include "tst_group_broadcast.moc"
