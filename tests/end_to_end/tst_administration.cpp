// The administration a user does through the main window: a quote of two
// catalog products, built from the contact toolbar's Quote button, sent from
// the composer through the mail client to a real SMTP server; and a log-in
// password set in the settings window, asked at the next start.

#include <QPushButton>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include "../mainwindow/Main_Window_Test_Support.h"
#include "../planning/Planning_Test_Support.h"
#include "Administration_Windows.h"
#include "Data_Access.h"
#include "GlobalVariables.h"
#include "Msmtp_Sendmail.h"
#include "Smtp_Test_Server.h"
#include "frmPassword.h"
#include "frmProductCatalogQuote.h"
#include "pages/Product_Catalog_Model.h"

namespace G = GlobalVariables;

namespace {

const QString Replace_Question =
    "The e-mail composer holds an e-mail that has not been sent. Replace it with the quote?";

struct Quote_User : Window_With_Mail_Store {
    qint64 ann = 0;

    Quote_User()
    {
        Database db = s.Db();
        ann = db.Insert("INSERT INTO Contacts (FirstName, LastName, Email, City) "
                        "VALUES ('Ann', 'Lee', 'ann@example.com', 'Leeds')");
        db.Execute("INSERT INTO Products (Product, Price) VALUES ('A', 10), ('B', 1234.5), ('C', 99)");
        db.Execute("UPDATE QuotesTemplates SET Subject = 'Your quote, [Firstname]', Intro_Message = 'Dear [Firstname]', "
                   "Message_Delimiter = '----', Quote_Template = '[Catalog_Product] [Price]', "
                   "Disclaimer = 'Prices may change' WHERE Quote_Type = 'Product'");
        db.Execute("UPDATE Settings SET DefaultEmailAddress = 'sales@dealer.example', DefaultEmailName = 'Sales'");
    }
    ~Quote_User() { delete Product_Catalog_Quote_Window(); }

    QTableView* Grid() { return Control<QTableView>(Product_Catalog_Quote_Window(), "QuoteGrid"); }
    int Row_Of(const QString& product)
    {
        QAbstractItemModel* model = Grid()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, Product_Catalog_Model::Product).data().toString() == product)
                return row;
        return -1;
    }
    // Space on its tick, then its order typed into the cell.
    void Tick_With_Order(const QString& product, const QString& order)
    {
        QTableView* grid = Grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(Row_Of(product), Product_Catalog_Model::Selected));
        QTest::keyClick(grid, Qt::Key_Space);
        grid->setCurrentIndex(grid->model()->index(Row_Of(product), Product_Catalog_Model::Order));
        QTest::keyClicks(grid, order);
        QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
    }
};

// Shows the page of the settings dialog that holds the box, as a tab click does.
void Show_Page_Of(QWidget* dialog, QWidget* box)
{
    auto* tabs = Control<QTabWidget>(dialog, "TabStrip1");
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(box))
            tabs->setCurrentIndex(i);
}

} // namespace

class tst_administration : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void a_quote_of_two_catalog_products_reaches_the_server()
    {
        Smtp_Test_Server server;
        QVERIFY(server.Started());
        Msmtp_Sendmail sendmail(server.Port());
        Quote_User f;
        f.Start();
        QCOMPARE(f.C<QLineEdit>("txtContact_ID")->text(), QString::number(f.ann));

        Click_Button_On_Screen(f.w, "ToolContactActions", "Quote");
        frmProductCatalogQuote* quote = Product_Catalog_Quote_Window();
        QVERIFY(quote && quote->isVisible());
        QCOMPARE(Control<QLineEdit>(quote, "txtContactID")->text(), QString::number(f.ann));
        f.Tick_With_Order("B", "2");
        f.Tick_With_Order("A", "1");

        // An edit of the contact typed meanwhile in the main window is saved first.
        Type_Into(f.C<QLineEdit>("txtCity"), "York");
        Click_Button_On_Screen(quote, "ToolCreateQuote", "createquote");
        QCOMPARE(f.s.Db().Scalar("SELECT City FROM Contacts WHERE ID = ?", {f.ann}).toString(), QString("York"));
        QCOMPARE(f.w->Current_Detail_Frame(), Frame(f.w, "frameEmailOutView"));
        auto* message = f.C<QTextEdit>("txtFrameEmailOutMessage");
        const QString quote_text = "Dear Ann\n\n----\nA $10.00\n----\nB $1,234.50\n----\nPrices may change";
        QCOMPARE(message->toPlainText(), quote_text);
        QCOMPARE(f.C<QLineEdit>("txtFrameEmailOutViewType")->text(), QString("Sent Quote"));
        QCOMPARE(f.C<QLineEdit>("txtFrameEmailOutViewProduct")->text(), QString(", A, B"));
        QCOMPARE(f.C<QLineEdit>("txtFrameEmailOutSubject")->text(), QString("Your quote, Ann"));
        QVERIFY(!f.C<QComboBox>("lstSendEmailTemplate")->isVisible());

        // The user adds a line; a second build asks before it replaces the e-mail.
        message->setFocus();
        QTest::keyClick(message, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(message, " Call me.");
        f.s.dialogs.answers << vbNo;
        Click_Button_On_Screen(quote, "ToolCreateQuote", "createquote");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({Replace_Question}));
        QCOMPARE(message->toPlainText(), quote_text + " Call me.");
        f.s.dialogs.answers << vbYes;
        Click_Button_On_Screen(quote, "ToolCreateQuote", "createquote");
        QCOMPARE(f.s.dialogs.Texts(), QStringList({Replace_Question, Replace_Question}));
        QCOMPARE(message->toPlainText(), quote_text);
        QTest::keyClick(message, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(message, " Call me.");

        // Send posts it; the outbox tab's mail-client sender sends it.
        Click_Button_On_Screen(f.w, "ToolEmailComposer", "SendEmail");
        const QSqlRecord posted = f.s.Db().Select_First("SELECT * FROM Outbox");
        QCOMPARE(posted.value("Out_Event_Type").toString(), QString("Email Out"));
        QCOMPARE(posted.value("Product_Name").toString(), QString(", A, B"));
        Click_Tab_On_Screen(f.w, 4);
        QCOMPARE(f.C<List_View>("ListOutbox")->Row_Count(), 1);
        Click_Button_On_Screen(f.w, "ToolOutboxAll", "MapiSend");
        QTRY_COMPARE(server.Messages().size(), 1);
        const Received_Mail mail = server.Messages().first();
        QCOMPARE(mail.to, QStringList({"ann@example.com"}));
        QVERIFY(mail.data.contains("Subject: Your quote, Ann"));
        QByteArray body = mail.data.mid(mail.data.indexOf("\r\n\r\n") + 4);
        body.replace("\r\n", "\n");
        QVERIFY2(body.contains("Dear Ann\n\n----\nA $10.00\n----\nB $1,234.50\n----\nPrices may change Call me."),
                 body.constData());

        const QList<QSqlRecord> history = f.s.Db().Select("SELECT * FROM Eventhistory WHERE ContactID = ?", {f.ann});
        QCOMPARE(history.size(), 1);
        QCOMPARE(history[0].value("Event_Type").toString(), QString("Email Out"));
        QCOMPARE(history[0].value("EventSubject").toString(), QString("Your quote, Ann"));
        QCOMPARE(history[0].value("Event_Product").toString(), QString(", A, B"));
        QCOMPARE(f.s.Db().Scalar("SELECT count(*) FROM Outbox").toInt(), 0);
        QCOMPARE(f.s.dialogs.messages.size(), 2);
    }

    void a_password_applied_in_the_settings_is_asked_at_the_next_start()
    {
        Window_With_Mail_Store f;
        f.Start();
        bool applied = false;
        When_Modal_Shown([&](QWidget* dialog) {
            auto* fresh = Control<QLineEdit>(dialog, "txtNewPassword");
            Show_Page_Of(dialog, fresh);
            QTest::keyClicks(fresh, "Secret");
            QTest::keyClicks(Control<QLineEdit>(dialog, "txtRetype_Password"), "Secret");
            QTest::mouseClick(Control<QPushButton>(dialog, "Apply_Changes"), Qt::LeftButton);
            applied = f.s.dialogs.Shown("The new password has been successfully entered.");
            QTest::mouseClick(Control<QPushButton>(dialog, "CloseSettings"), Qt::LeftButton);
        });
        Control<QAction>(f.w, "Setup_Furrowline_Settings")->trigger();
        QVERIFY(applied);
        const QString stored = f.s.Db().Scalar("SELECT Furrowline_Password FROM Settings").toString();
        QVERIFY(!stored.isEmpty() && !stored.contains("Secret"));
        f.s.window.reset();

        // The next start: a wrong password is refused, the right one lets the user in.
        QStringList asked;
        frmContactSystem second;
        When_Modal_Shown([&](QWidget* modal) {
            auto* dialog = qobject_cast<frmPassword*>(modal);
            QVERIFY(dialog);
            asked << dialog->objectName();
            auto* password = Control<QLineEdit>(dialog, "txtPassword");
            for (const char* typed : {"secret", "Secret"}) {
                password->setText(typed);
                Control<QPushButton>(dialog, "OK")->click();
            }
        });
        f.s.dialogs.messages.clear();
        QVERIFY(second.Start_Up());
        QCOMPARE(asked.size(), 1);
        QCOMPARE(f.s.dialogs.Texts().count("The entered password is invalid."), 1);
        QVERIFY(G::Password_Dialog_Answered);
        QVERIFY(second.isVisible());
    }
};

QTEST_MAIN(tst_administration)
#include "tst_administration.moc"
