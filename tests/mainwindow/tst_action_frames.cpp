// The composer and the schedule frame: opening them from the contact toolbar,
// the template pickers with their merges, the due date, what each posting
// stores, the attachment pick lists, spell checking, and the failures that
// keep the user's text.

#include <QCalendarWidget>
#include <QSqlRecord>
#include <QtTest>

#include "Data_Access.h"
#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Main_Window_Test_Support.h"
#include "Scripted_Spell_Check.h"
#include "frames/Schedule_Frame.h"

namespace G = GlobalVariables;

namespace {

struct Frames_Fixture : Window_With_Mail_Store {
    qint64 ann = 0;

    Frames_Fixture()
    {
        ann = s.Db().Insert(
            "INSERT INTO Contacts (FirstName, LastName, Email, Product, City, Address, Year, Make, Model, "
            "Exterior_Color, Interior_Color) VALUES ('Ann', 'Lee', ?, 'Car', 'Springfield', NULL, '98', 'Ford', "
            "'Focus', 'Red', 'Black')",
            {QString("ann@example.com")});
        s.Db().Execute("UPDATE Settings SET DefaultEmailAddress = 'sales@dealer.example', "
                       "DefaultEmailName = 'Sales', DefaultContactName = 'Customer'");
        Start();
    }
    void Add_Template(const QString& name, const QString& subject, const QString& message)
    {
        s.Db().Execute("INSERT INTO emailformats (FormatID, EmailSubject, EmailMessage) VALUES (?, ?, ?)",
                       {name, subject, message});
    }
    QString Text(const char* box) { return C<QLineEdit>(box)->text(); }
    QString Message(const char* box)
    {
        if (auto* plain = w->findChild<QPlainTextEdit*>(box))
            return plain->toPlainText();
        return C<QTextEdit>(box)->toPlainText();
    }
    QList<QSqlRecord> Outbox() { return s.Db().Select("SELECT * FROM Outbox ORDER BY ID"); }
    QStringList Attachment_Names(qint64 outbox_id)
    {
        QStringList names;
        for (const QSqlRecord& row :
             s.Db().Select("SELECT Attachment_Name FROM Outbox_Attachments WHERE Outbox_ID = ? ORDER BY ID",
                           {outbox_id}))
            names << row.value(0).toString();
        return names;
    }
    void Compose() { Click_Tool(w, "ToolContactActions", "Send_Email"); }
    void Schedule(const QString& menu_key)
    {
        Click_Tool_Menu(w, "ToolContactActions", "Schedule", menu_key);
    }
};

} // namespace

class tst_action_frames : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void the_composer_opens_for_the_contact_and_refuses_one_without_an_address()
    {
        Frames_Fixture f;
        f.Add_Template("Welcome", "s", "m");
        f.Compose();
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameEmailOutView"));
        QCOMPARE(f.C<QGroupBox>("frameEmailOutView")->title(), QString("Email Composer"));
        QCOMPARE(f.Text("txtFrameEmailOutAddress"), QString("ann@example.com"));
        QCOMPARE(f.Text("txtFrameEmailOutName"), QString("Ann Lee"));
        QCOMPARE(f.Text("txtFrameEmailOutContactID"), QString::number(f.ann));
        QCOMPARE(f.C<QComboBox>("lstSendEmailTemplate")->count(), 2);   // "Birthday" too
        QVERIFY(f.C<QComboBox>("lstSendEmailTemplate")->currentText().isEmpty());

        // Without a first name the default name is the addressee; without an
        // address the composer does not open.
        f.s.Db().Execute("UPDATE Contacts SET FirstName = NULL WHERE ID = ?", {f.ann});
        f.w->Contact_On_Display->Show_Current_Contact_Record(f.ann);
        f.Compose();
        QCOMPARE(f.Text("txtFrameEmailOutName"), QString("Customer"));
        f.s.Db().Execute("UPDATE Contacts SET Email = '' WHERE ID = ?", {f.ann});
        f.w->Contact_On_Display->Show_Current_Contact_Record(f.ann);
        f.Compose();
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"There must a valid e-mail on the e-mail fields"}));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
    }

    void the_append_question_decides_about_the_old_text_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message");
        const QString merged = "Dear Mary/Ann Smith of Springfield in Red/Black, [Address].";
        QTest::newRow("yes appends the old text") << int(vbYes) << merged + "\n\nMy own words";
        QTest::newRow("no replaces it") << int(vbNo) << merged;
        QTest::newRow("cancel keeps it") << int(vbCancel) << QString("My own words");
    }
    void the_append_question_decides_about_the_old_text()
    {
        QFETCH(int, answer);
        QFETCH(QString, message);
        Frames_Fixture f;
        // A null address keeps its token; price and VIN are never known here.
        f.Add_Template("Visit", "Your [Year] [Make] [Model], [Firstname][Price][VIN]",
                       "Dear [Firstname]/[Lastname] of [City] in [Color_Exterior]/[Color_Interior], [Address].");
        f.Compose();
        f.C<QLineEdit>("txtFrameEmailOutName")->setText("Mary Ann Smith");

        // An empty message box takes the merged text without a question.
        Choose(f.C<QComboBox>("lstSendEmailTemplate"), "Visit");
        QCOMPARE(f.Text("txtFrameEmailOutSubject"), QString("Your 98 Ford Focus, Mary"));
        QCOMPARE(f.Message("txtFrameEmailOutMessage"),
                 QString("Dear Mary/Ann Smith of Springfield in Red/Black, [Address]."));
        QVERIFY(f.s.dialogs.messages.isEmpty());

        f.C<QTextEdit>("txtFrameEmailOutMessage")->setPlainText("My own words");
        f.C<QLineEdit>("txtFrameEmailOutSubject")->clear();
        f.s.dialogs.answers << answer;
        Choose(f.C<QComboBox>("lstSendEmailTemplate"), "Visit");
        QCOMPARE(f.s.dialogs.messages.size(), 1);
        QCOMPARE(f.s.dialogs.messages[0].text,
                 QString("Do you want to append the current message in your Message Box to the generated template?"));
        QCOMPARE(f.s.dialogs.messages[0].title, QString("Message Template Creation"));
        QCOMPARE(f.s.dialogs.messages[0].style, int(vbYesNoCancel));
        QCOMPARE(f.Message("txtFrameEmailOutMessage"), message);
        // The subject is merged whatever the answer.
        QCOMPARE(f.Text("txtFrameEmailOutSubject"), QString("Your 98 Ford Focus, Mary"));
    }

    void the_schedule_template_takes_the_stored_names_and_asks_nothing()
    {
        Frames_Fixture f;
        f.Add_Template("Visit", "[Firstname], your [Model]", "Hello [Firstname] [Lastname] [Make]");
        f.s.Db().Execute("UPDATE Contacts SET Make = NULL WHERE ID = ?", {f.ann});
        f.Schedule("Email");
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameSchedule"));
        QCOMPARE(f.C<QGroupBox>("frameSchedule")->title(), QString("Schedule Email"));
        f.C<QPlainTextEdit>("txtFrameSchedule_Message")->setPlainText("replaced without a question");
        Choose(f.C<QComboBox>("lstScheduleTemplates"), "Visit");
        QCOMPARE(f.Text("txtFrameSchedule_Subject"), QString("Ann, your Focus"));
        QCOMPARE(f.Message("txtFrameSchedule_Message"), QString("Hello Ann Lee [Make]"));
        QVERIFY(f.s.dialogs.messages.isEmpty());

        // A template deleted meanwhile is said, and the list refilled.
        f.s.Db().Execute("DELETE FROM emailformats WHERE FormatID = 'Visit'");
        Choose(f.C<QComboBox>("lstScheduleTemplates"), "Visit");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"The template \"Visit\" no longer exists."}));
        QCOMPARE(f.C<QComboBox>("lstScheduleTemplates")->findText("Visit"), -1);
        QCOMPARE(f.Text("txtFrameSchedule_Subject"), QString("Ann, your Focus"));
    }

    void the_due_date_carries_hours_and_minutes_data()
    {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QDateTime>("due");   // invalid: refused
        const QDate day(2026, 3, 1);
        QTest::newRow("24 hours is the next midnight") << "24" << "0" << QDateTime(QDate(2026, 3, 2), QTime(0, 0));
        QTest::newRow("60 minutes is the next hour") << "9" << "60" << QDateTime(day, QTime(10, 0));
        QTest::newRow("both at their top") << "24" << "60" << QDateTime(QDate(2026, 3, 2), QTime(1, 0));
        QTest::newRow("leading zeros and blanks") << " 07" << "05 " << QDateTime(day, QTime(7, 5));
        QTest::newRow("midnight") << "0" << "00" << QDateTime(day, QTime(0, 0));
        QTest::newRow("empty hour") << "" << "0" << QDateTime();
        QTest::newRow("empty minutes") << "9" << "" << QDateTime();
        QTest::newRow("hour past 24") << "25" << "0" << QDateTime();
        QTest::newRow("minutes past 60") << "9" << "61" << QDateTime();
        QTest::newRow("negative") << "-1" << "0" << QDateTime();
        QTest::newRow("a fraction") << "9.5" << "0" << QDateTime();
        QTest::newRow("a word") << "nine" << "0" << QDateTime();
    }
    void the_due_date_carries_hours_and_minutes()
    {
        QFETCH(QString, hour);
        QFETCH(QString, minutes);
        QFETCH(QDateTime, due);
        QDateTime computed;
        QString error;
        QCOMPARE(Schedule_Due_Date(QDate(2026, 3, 1), hour, minutes, &computed, &error), due.isValid());
        if (due.isValid())
            QCOMPARE(computed, due);
        else
            QVERIFY(error.contains("whole number"));
    }

    void a_wrong_hour_posts_nothing_and_the_calendar_day_counts()
    {
        Frames_Fixture f;
        f.Schedule("To Do");
        QCOMPARE(f.C<QGroupBox>("frameSchedule")->title(), QString("Schedule ToDo"));
        auto* schedule = f.C<Schedule_Frame>("frameSchedule");
        QCOMPARE(schedule->Schedule_Calendar_Date(), f.s.clock.Now().date());
        QCOMPARE(f.Text("txtFrameSchedule_Hour"), QString("10"));
        QCOMPARE(f.Text("txtFrameSchedule_Minutes"), QString("00"));
        f.C<QLineEdit>("txtFrameSchedule_Subject")->setText("Call the bank");
        f.C<QLineEdit>("txtFrameSchedule_Hour")->setText("9am");
        Click_Tool(f.w, "ToolSchedule", "Schedule");
        QCOMPARE(f.s.dialogs.Texts(),
                 QStringList({"Error on Tool Schedule: The hour must be a whole number from 0 to 24."}));
        QVERIFY(f.Outbox().isEmpty());
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameSchedule"));
        QCOMPARE(f.Text("txtFrameSchedule_Subject"), QString("Call the bank"));

        // The day chosen on the calendar, the time of the boxes.
        f.C<QCalendarWidget>("Calendar2")->setSelectedDate(QDate(2027, 3, 15));
        QCOMPARE(schedule->Schedule_Calendar_Date(), QDate(2027, 3, 15));
        f.C<QLineEdit>("txtFrameSchedule_Hour")->setText("14");
        f.C<QLineEdit>("txtFrameSchedule_Minutes")->setText("30");
        Click_Tool(f.w, "ToolSchedule", "Schedule");
        QCOMPARE(f.Outbox().size(), 1);
        QCOMPARE(Db_To_Date(f.Outbox()[0].value("Date_To_Execute_Event")),
                 QDateTime(QDate(2027, 3, 15), QTime(14, 30)));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
    }

    void each_posting_stores_its_outbox_row_and_only_e_mails_take_files_data()
    {
        QTest::addColumn<QString>("menu_key");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("files");
        QTest::newRow("e-mail") << "Email" << "Email Out" << "Schedule Email" << true;
        QTest::newRow("to-do") << "To Do" << "To Do" << "Schedule ToDo" << false;
        QTest::newRow("call") << "Call Out" << "Call Out" << "Schedule Call" << false;
        // The entries under the "Email" button schedule the same way.
        QTest::newRow("call from the Email button") << "Call" << "Call Out" << "Schedule Call" << false;
    }
    void each_posting_stores_its_outbox_row_and_only_e_mails_take_files()
    {
        QFETCH(QString, menu_key);
        QFETCH(QString, type);
        QFETCH(QString, caption);
        QFETCH(bool, files);
        Frames_Fixture f;
        const QString brochure = f.s.folder.Write_File("Documents/brochure.pdf", "PDF");
        const QString price_list = f.s.folder.Write_File("Documents/prices.txt", "1000");

        // Files picked for an e-mail first: they stay in the list.
        f.Schedule("Email");
        f.s.dialogs.file_answers << brochure << price_list << "";
        for (int i = 0; i < 3; ++i)
            Click_Tool(f.w, "ToolScheduleAttachment", "Add");   // the last one cancelled
        QCOMPARE(f.s.dialogs.file_titles, QStringList({"Open Attachment", "Open Attachment", "Open Attachment"}));
        QCOMPARE(f.C<QComboBox>("ListScheduleAttachments")->count(), 2);
        Click_Tool(f.w, "ToolSchedule", "Cancel");
        QCOMPARE(f.C<QComboBox>("ListScheduleAttachments")->count(), 2);
        QVERIFY(f.C<QComboBox>("ListScheduleAttachments")->currentText().isEmpty());

        if (menu_key == "Call")
            Click_Tool_Menu(f.w, "ToolContactActions", "Send_Email", menu_key);
        else
            f.Schedule(menu_key);
        QCOMPARE(f.C<QGroupBox>("frameSchedule")->title(), caption);
        QCOMPARE(f.C<QWidget>("lstScheduleTemplates")->isVisibleTo(f.w), files);
        QCOMPARE(f.C<QWidget>("ListScheduleAttachments")->isVisibleTo(f.w), files);
        f.C<QLineEdit>("txtFrameSchedule_Subject")->setText("Subject " + type);
        f.C<QPlainTextEdit>("txtFrameSchedule_Message")->setPlainText("Line one\nLine two");
        f.C<QLineEdit>("txtFrameSchedule_Hour")->setText("16");
        f.C<QLineEdit>("txtFrameSchedule_Minutes")->setText("45");
        Click_Tool(f.w, "ToolSchedule", "Schedule");

        const QList<QSqlRecord> rows = f.Outbox();
        QCOMPARE(rows.size(), 1);
        const QSqlRecord& row = rows[0];
        QCOMPARE(row.value("Out_Contact_ID").toLongLong(), f.ann);
        QCOMPARE(row.value("ToEmail").toString(), QString("ann@example.com"));
        QCOMPARE(row.value("ToEmailName").toString(), QString("Ann Lee"));
        QCOMPARE(row.value("Subject").toString(), "Subject " + type);
        QCOMPARE(row.value("Message").toString(), QString("Line one\nLine two"));
        QCOMPARE(row.value("FromEmail").toString(), QString("sales@dealer.example"));
        QCOMPARE(row.value("FromEmailName").toString(), QString("Sales"));
        QCOMPARE(row.value("Product_Name").toString(), QString(""));
        QCOMPARE(row.value("Out_Timeline_Event_Number").toInt(), 0);
        QCOMPARE(row.value("Out_Event_Type").toString(), type);
        QCOMPARE(row.value("Lead_Time").toInt(), 0);
        QCOMPARE(Db_To_Date(row.value("Date_To_Execute_Event")),
                 QDateTime(f.s.clock.Now().date(), QTime(16, 45)));
        QCOMPARE(f.Attachment_Names(row.value("ID").toLongLong()),
                 files ? QStringList({"brochure.pdf", "prices.txt"}) : QStringList());
        QVERIFY(f.s.dialogs.messages.isEmpty());
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
        // The schedule frame's files stay chosen for the next e-mail.
        QCOMPARE(f.C<QComboBox>("ListScheduleAttachments")->count(), 2);
    }

    void the_composer_posts_an_e_mail_due_now_with_its_files()
    {
        Frames_Fixture f;
        const QString brochure = f.s.folder.Write_File("Documents/brochure.pdf", "PDF");
        f.Compose();
        f.s.dialogs.file_answers << brochure << brochure;
        Click_Tool(f.w, "ToolEmailAttachmentActions", "Add");
        Click_Tool_Menu(f.w, "ToolEmailAttachmentActions", "Add", "Add");
        QCOMPARE(f.C<QComboBox>("ListEmailAttachments")->count(), 2);   // the same file twice
        QCOMPARE(f.C<QComboBox>("ListEmailAttachments")->currentText(), brochure);
        f.C<QLineEdit>("txtFrameEmailOutSubject")->setText("Your Focus");
        f.C<QTextEdit>("txtFrameEmailOutMessage")->setPlainText("It is ready.");
        Click_Tool(f.w, "ToolEmailComposer", "SendEmail");

        const QList<QSqlRecord> rows = f.Outbox();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value("Out_Event_Type").toString(), QString("Email Out"));
        QCOMPARE(rows[0].value("ToEmail").toString(), QString("ann@example.com"));
        QCOMPARE(rows[0].value("Subject").toString(), QString("Your Focus"));
        QCOMPARE(rows[0].value("Message").toString(), QString("It is ready."));
        QCOMPARE(rows[0].value("Product_Name").toString(), QString(""));
        // Due at the moment it was posted, before the posting's pause.
        QCOMPARE(Db_To_Date(rows[0].value("Date_To_Execute_Event")),
                 Db_To_Date(rows[0].value("Date_Sent_To_Outbox")));
        QCOMPARE(f.Attachment_Names(rows[0].value("ID").toLongLong()),
                 QStringList({"brochure.pdf", "brochure.pdf"}));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
        QVERIFY(f.Text("txtFrameEmailOutSubject").isEmpty());
        QVERIFY(f.Message("txtFrameEmailOutMessage").isEmpty());
        // The files stay until the composer opens again.
        QCOMPARE(f.C<QComboBox>("ListEmailAttachments")->count(), 2);
        f.Compose();
        QCOMPARE(f.C<QComboBox>("ListEmailAttachments")->count(), 0);
    }

    void a_second_click_on_send_during_the_posting_posts_nothing_more()
    {
        Frames_Fixture f;
        f.Compose();
        f.C<QLineEdit>("txtFrameEmailOutSubject")->setText("Once");
        // The posting's one-second pause handles the events that wait: a click among them.
        QTimer::singleShot(0, f.w, [&f] { Click_Tool(f.w, "ToolEmailComposer", "SendEmail"); });
        Click_Tool(f.w, "ToolEmailComposer", "SendEmail");
        QCOMPARE(f.Outbox().size(), 1);
        QVERIFY(f.s.dialogs.messages.isEmpty());
        QVERIFY(Control<Key_Toolbar>(f.w, "ToolEmailComposer")->isEnabled());
    }

    void an_empty_address_or_a_failed_posting_keeps_the_text_and_files()
    {
        Frames_Fixture f;
        const QString brochure = f.s.folder.Write_File("Documents/brochure.pdf", "PDF");
        f.Compose();
        f.s.dialogs.file_answers << brochure;
        Click_Tool(f.w, "ToolEmailAttachmentActions", "Add");
        f.C<QLineEdit>("txtFrameEmailOutSubject")->setText("Important");
        f.C<QTextEdit>("txtFrameEmailOutMessage")->setPlainText("Do not lose me");
        f.C<QLineEdit>("txtFrameEmailOutAddress")->setText("  ");
        Click_Tool(f.w, "ToolEmailComposer", "SendEmail");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"There must a valid e-mail on the e-mail fields"}));
        QVERIFY(f.Outbox().isEmpty());

        f.C<QLineEdit>("txtFrameEmailOutAddress")->setText("ann@example.com");
        f.s.Db().Execute("ALTER TABLE Outbox RENAME TO Outbox_Away");
        f.s.dialogs.messages.clear();
        Click_Tool(f.w, "ToolEmailComposer", "SendEmail");
        QCOMPARE(f.s.dialogs.messages.size(), 1);
        QVERIFY(f.s.dialogs.messages[0].text.startsWith("Error on Send to Outbox. Email: ann@example.com Error: "));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameEmailOutView"));
        QCOMPARE(f.Text("txtFrameEmailOutSubject"), QString("Important"));
        QCOMPARE(f.Message("txtFrameEmailOutMessage"), QString("Do not lose me"));
        QCOMPARE(f.C<QComboBox>("ListEmailAttachments")->count(), 1);

        // Once the outbox takes it, the same text goes out with its file.
        f.s.Db().Execute("ALTER TABLE Outbox_Away RENAME TO Outbox");
        Click_Tool(f.w, "ToolEmailComposer", "SendEmail");
        QCOMPARE(f.Outbox().size(), 1);
        QCOMPARE(f.Outbox()[0].value("Message").toString(), QString("Do not lose me"));
        QCOMPARE(f.Attachment_Names(f.Outbox()[0].value("ID").toLongLong()), QStringList({"brochure.pdf"}));

        // A schedule that cannot be posted keeps its texts as well.
        f.Schedule("Call Out");
        f.C<QLineEdit>("txtFrameSchedule_Subject")->setText("Call about the offer");
        f.s.Db().Execute("ALTER TABLE Outbox RENAME TO Outbox_Away");
        f.s.dialogs.messages.clear();
        Click_Tool(f.w, "ToolSchedule", "Schedule");
        QVERIFY(f.s.dialogs.messages.value(0).text.startsWith("Error on Send to Outbox."));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameSchedule"));
        QCOMPARE(f.Text("txtFrameSchedule_Subject"), QString("Call about the offer"));
        f.s.Db().Execute("ALTER TABLE Outbox_Away RENAME TO Outbox");

        // Scheduling an e-mail for a contact without an address is refused the same way.
        f.s.Db().Execute("UPDATE Contacts SET Email = NULL WHERE ID = ?", {f.ann});
        f.w->Contact_On_Display->Show_Current_Contact_Record(f.ann);
        f.Schedule("Email");
        f.s.dialogs.messages.clear();
        Click_Tool(f.w, "ToolSchedule", "Schedule");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"There must a valid e-mail on the e-mail fields"}));
        QCOMPARE(f.Outbox().size(), 1);
        // A call needs none.
        f.Schedule("Call Out");
        Click_Tool(f.w, "ToolSchedule", "Schedule");
        QCOMPARE(f.Outbox().size(), 2);
    }

    void the_pick_lists_remove_the_shown_entry()
    {
        Frames_Fixture f;
        const QString a = f.s.folder.Write_File("a.txt", "a");
        const QString b = f.s.folder.Write_File("b.txt", "b");
        // Composer: nothing selected, nothing happens and nothing is said.
        f.Compose();
        Click_Tool_Menu(f.w, "ToolEmailAttachmentActions", "Add", "Remove");
        f.s.dialogs.file_answers << a << b;
        Click_Tool(f.w, "ToolEmailAttachmentActions", "Add");
        Click_Tool(f.w, "ToolEmailAttachmentActions", "Add");
        Click_Tool_Menu(f.w, "ToolEmailAttachmentActions", "Add", "Remove");
        QCOMPARE(f.C<QComboBox>("ListEmailAttachments")->count(), 1);
        QCOMPARE(f.C<QComboBox>("ListEmailAttachments")->itemText(0), a);
        QVERIFY(f.s.dialogs.messages.isEmpty());

        // Schedule: an added file leaves the box text alone; no entry shown is said.
        f.Schedule("Email");
        f.s.dialogs.file_answers << a;
        Click_Tool(f.w, "ToolScheduleAttachment", "Add");
        auto* box = f.C<QComboBox>("ListScheduleAttachments");
        QVERIFY(box->currentText().isEmpty());
        Click_Tool_Menu(f.w, "ToolScheduleAttachment", "Add", "Remove");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({"Please select the attachment to remove!"}));
        QCOMPARE(box->count(), 1);
        box->setCurrentIndex(0);
        Click_Tool_Menu(f.w, "ToolScheduleAttachment", "Add", "Remove");
        QCOMPARE(box->count(), 0);
    }

    void spell_check_puts_the_corrected_message_back()
    {
        Frames_Fixture f;
        Scripted_Spell_Check speller;
        speller.changes = {{"recieve", "receive"}, {"Teh", "The"}};
        f.Compose();
        f.C<QTextEdit>("txtFrameEmailOutMessage")->setPlainText("You will recieve it.\nRegards");
        Click_Tool(f.w, "ToolEmailComposer", "Spell");
        QCOMPARE(speller.checked_texts, QStringList({"You will recieve it.\nRegards"}));
        QCOMPARE(f.Message("txtFrameEmailOutMessage"), QString("You will receive it.\nRegards"));
        // A checked text of five characters or fewer does not come back.
        f.C<QTextEdit>("txtFrameEmailOutMessage")->setPlainText("Teh");
        Click_Tool(f.w, "ToolEmailComposer", "Spell");
        QCOMPARE(f.Message("txtFrameEmailOutMessage"), QString("Teh"));
        speller.cancel = true;
        f.C<QTextEdit>("txtFrameEmailOutMessage")->setPlainText("Please recieve it");
        Click_Tool(f.w, "ToolEmailComposer", "Spell");
        QCOMPARE(f.Message("txtFrameEmailOutMessage"), QString("Please recieve it"));
        QVERIFY(f.s.dialogs.messages.isEmpty());
    }

    void cancel_empties_the_frame_and_shows_the_contact()
    {
        Frames_Fixture f;
        f.Compose();
        f.C<QLineEdit>("txtFrameEmailOutSubject")->setText("Draft");
        Click_Tool(f.w, "ToolEmailComposer", "Cancel");
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));
        for (const char* box : {"txtFrameEmailOutSubject", "txtFrameEmailOutAddress", "txtFrameEmailOutName"})
            QVERIFY(f.Text(box).isEmpty());
        QVERIFY(f.Outbox().isEmpty());
    }

    void the_commands_answer_to_their_keys()
    {
        Frames_Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.w));
        // From a box of the contact: the composer, and Ctrl+Return sends.
        QTest::keyClick(f.C<QLineEdit>("txtCity"), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameEmailOutView"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.C<QLineEdit>("txtFrameEmailOutSubject")));
        QTest::keyClicks(f.C<QLineEdit>("txtFrameEmailOutSubject"), "By keyboard");
        QTest::keyClick(f.C<QLineEdit>("txtFrameEmailOutSubject"), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(f.Outbox().size(), 1);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));

        // From the contact list: a to-do, and Escape in it cancels it.
        QTest::keyClick(f.C<List_View>("ListContacts"), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(f.C<QGroupBox>("frameSchedule")->title(), QString("Schedule ToDo"));
        QTest::keyClicks(f.C<QLineEdit>("txtFrameSchedule_Subject"), "Never mind");
        QTest::keyClick(f.C<QLineEdit>("txtFrameSchedule_Subject"), Qt::Key_Escape);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameContactDetails"));

        // A call, recorded while the keyboard is back in the contact list.
        QTest::keyClick(f.C<List_View>("ListContacts"), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameRecordCall"));
        QTest::keyClicks(f.C<QPlainTextEdit>("txtFrameRecordCall_Message"), "Left a message");
        f.C<List_View>("ListContacts")->setFocus();
        QTest::keyClick(f.C<List_View>("ListContacts"), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(f.s.Db().Scalar("SELECT EventMessage FROM Eventhistory WHERE Event_Type = 'Outgoing Call'").toString(),
                 QString("Left a message"));
        QCOMPARE(f.Outbox().size(), 1);
        QVERIFY(f.s.dialogs.messages.isEmpty());
    }

    void a_broadcast_hands_its_texts_on_and_the_frame_stays()
    {
        Frames_Fixture f;
        f.Add_Template("Sale", "Sale for [Firstname]", "Dear [Firstname]");
        f.Schedule("Email");
        f.C<QLineEdit>("txtFrameSchedule_Type")->setText("APB");
        // The broadcast merges for each contact itself: the picker leaves the tokens.
        Choose(f.C<QComboBox>("lstScheduleTemplates"), "Sale");
        QCOMPARE(f.Text("txtFrameSchedule_Subject"), QString("Sale for [Firstname]"));
        QSignalSpy wanted(f.C<Schedule_Frame>("frameSchedule"), &Schedule_Frame::Broadcast_Wanted);
        f.C<QLineEdit>("txtFrameSchedule_Hour")->setText("8");
        f.C<QLineEdit>("txtFrameSchedule_Minutes")->setText("0");
        // The broadcast itself is not wanted here.
        f.s.dialogs.answers = {vbNo};
        Click_Tool(f.w, "ToolSchedule", "Schedule");
        QCOMPARE(wanted.size(), 1);
        QCOMPARE(wanted[0][0].toString(), QString("Sale for [Firstname]"));
        QCOMPARE(wanted[0][2].toDateTime(), QDateTime(f.s.clock.Now().date(), QTime(8, 0)));
        QVERIFY(f.Outbox().isEmpty());
        // Answered No: the texts stay for another try.
        QCOMPARE(f.Text("txtFrameSchedule_Subject"), QString("Sale for [Firstname]"));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameSchedule"));
    }
};

QTEST_MAIN(tst_action_frames)
#include "tst_action_frames.moc"
