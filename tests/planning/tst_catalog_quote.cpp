// The catalog quote window: products ticked and ordered in its grid, the quote
// built from the product quote template for one contact and handed to the
// main window's composer; what it refuses and what it leaves unmerged.

#include <QtTest>

#include "Administration_Windows.h"
#include "Key_Toolbar.h"
#include "Main_Window_Planning.h"
#include "Planning_Test_Support.h"
#include "frmProductCatalogQuote.h"
#include "pages/Product_Catalog_Model.h"

namespace {

const QString No_Products = "There are no products selected!";

struct Composer_Stand_In : Main_Window_Planning {
    Composer_Stand_In() { Register_Planning_Main_Window(this); }
    ~Composer_Stand_In() override { Register_Planning_Main_Window(nullptr); }
    bool Show_Quote_In_Composer(const Quote_Email& Quote) override
    {
        quotes << Quote;
        return true;
    }
    QList<Quote_Email> quotes;
};

struct Quote_Fixture : Planning_Fixture {
    Composer_Stand_In composer;
    qint64 ann = 0;

    Quote_Fixture()
    {
        db.Execute("UPDATE QuotesTemplates SET Subject = 'Quote for [Firstname] at [Price]', "
                   "Intro_Message = 'Dear [Firstname] [Price]', Message_Delimiter = '----', "
                   "Quote_Template = '[Catalog_Product] [Price]', Disclaimer = 'Prices may change' "
                   "WHERE Quote_Type = 'Product'");
        db.Execute("INSERT INTO Products (Product, Price, Selected, \"Order\") VALUES "
                   "('A', 10, 'Yes', 5), ('B', 1234.5, 'No', 0), ('C', 99, 'Yes', 1)");
        ann = db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Ann', 'Lee', 'ann@example.com')");
    }
    ~Quote_Fixture()
    {
        if (frmProductCatalogQuote* window = Product_Catalog_Quote_Window())
            delete window;
    }

    frmProductCatalogQuote* Open(qint64 contact)
    {
        Show_Product_Catalog_Quote(contact);
        frmProductCatalogQuote* window = Product_Catalog_Quote_Window();
        if (window && !QTest::qWaitForWindowExposed(window))
            qWarning("the quote window was not shown");
        return window;
    }
    QTableView* Grid() const { return Product_Catalog_Quote_Window()->findChild<QTableView*>("QuoteGrid"); }
    int Row_Of(const QString& product) const
    {
        QAbstractItemModel* model = Grid()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, Product_Catalog_Model::Product).data().toString() == product)
                return row;
        return -1;
    }
    // Space on the product's tick, as the user does it.
    void Tick(const QString& product)
    {
        QTableView* grid = Grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(Row_Of(product), Product_Catalog_Model::Selected));
        QTest::keyClick(grid, Qt::Key_Space);
    }
    // Types the order into its cell; Return is left to the caller.
    void Type_Order(const QString& product, const QString& order, bool commit = true)
    {
        QTableView* grid = Grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(Row_Of(product), Product_Catalog_Model::Order));
        QTest::keyClicks(grid, order.left(1));
        QTest::keyClicks(grid->focusWidget(), order.mid(1));
        if (commit)
            QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
    }
    void Create_Quote()
    {
        auto* bar = Product_Catalog_Quote_Window()->findChild<Key_Toolbar*>("ToolCreateQuote");
        QWidget* button = bar->widgetForAction(bar->Button("createquote"));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
};

} // namespace

class tst_catalog_quote : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opening_unticks_every_product()
    {
        Quote_Fixture f;
        f.Open(f.ann);
        QCOMPARE(f.db.Scalar("SELECT count(*) FROM Products WHERE Selected = 'Yes' OR \"Order\" <> 0").toInt(), 0);
        QCOMPARE(Product_Catalog_Quote_Window()->findChild<QLineEdit*>("txtContactID")->text(), QString::number(f.ann));
        f.Create_Quote();
        QCOMPARE(f.dialogs.Texts(), QStringList({No_Products}));
        QVERIFY(f.composer.quotes.isEmpty());
    }

    // The worked example: A at 10 ordered 1, B at 1234.5 ordered 2, C not ticked.
    void the_quote_of_two_products_in_their_order()
    {
        Quote_Fixture f;
        f.Open(f.ann);
        f.Tick("B");
        f.Type_Order("B", "2");
        f.Tick("A");
        // A's order still being typed counts too.
        f.Type_Order("A", "1", false);
        f.Create_Quote();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(f.composer.quotes.size(), 1);
        const Quote_Email quote = f.composer.quotes.first();
        QCOMPARE(quote.Contact_ID, f.ann);
        QCOMPARE(quote.Name, QString("Ann Lee"));
        QCOMPARE(quote.Address, QString("ann@example.com"));
        // Catalog placeholders are merged in the product sections only.
        QCOMPARE(quote.Subject, QString("Quote for Ann at [Price]"));
        QCOMPARE(quote.Message.split("\r\n"), QStringList({"Dear Ann [Price]", "", "----", "A $10.00", "----",
                                                           "B $1,234.50", "----", "Prices may change"}));
        QCOMPARE(quote.Products, QString(", A, B"));
        QCOMPARE(f.db.Scalar("SELECT group_concat(Product || \"Order\", ' ') FROM "
                             "(SELECT * FROM Products WHERE Selected = 'Yes' ORDER BY Product)")
                     .toString(),
                 QString("A1 B2"));

        // The window stays with its selections; a second build gives the same quote.
        QVERIFY(Product_Catalog_Quote_Window()->isVisible());
        f.Create_Quote();
        QCOMPARE(f.composer.quotes.size(), 2);
        QCOMPARE(f.composer.quotes[1].Message, quote.Message);
    }

    void a_contact_without_a_first_name_gets_the_default_name()
    {
        Quote_Fixture f;
        Update_Settings([](Program_Settings& s) { s.DefaultContactName = "Valued Customer"; });
        const qint64 lee = f.db.Insert("INSERT INTO Contacts (LastName, Email) VALUES ('Lee', 'lee@example.com')");
        f.Open(lee);
        f.Tick("C");
        f.Create_Quote();
        QCOMPARE(f.composer.quotes.size(), 1);
        QCOMPARE(f.composer.quotes[0].Name, QString("Valued Customer"));
        QCOMPARE(f.composer.quotes[0].Address, QString("lee@example.com"));
        QCOMPARE(f.composer.quotes[0].Products, QString(", C"));
        // A null first name leaves its placeholder in the texts.
        QVERIFY(f.composer.quotes[0].Message.startsWith("Dear [Firstname] [Price]\r\n"));
        QCOMPARE(f.composer.quotes[0].Subject, QString("Quote for [Firstname] at [Price]"));
    }

    void a_second_quote_command_changes_the_contact_and_keeps_the_ticks()
    {
        Quote_Fixture f;
        const qint64 bob = f.db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('Bob', 'Ray', 'b@x.org')");
        frmProductCatalogQuote* window = f.Open(f.ann);
        f.Tick("A");
        QCOMPARE(f.Open(bob), window);
        f.Create_Quote();
        QCOMPARE(f.composer.quotes.size(), 1);
        QCOMPARE(f.composer.quotes[0].Contact_ID, bob);
        QCOMPARE(f.composer.quotes[0].Products, QString(", A"));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("the contact is gone") << "DELETE FROM Contacts"
                                             << "Problem with contact retrieveal. Contact Tech Support";
        QTest::newRow("no quote template")
            << "DELETE FROM QuotesTemplates"
            << "There is no Product quote template. Write it on the Quote Templates page of the Planning window.";
    }
    void refusals()
    {
        QFETCH(QString, change);
        QFETCH(QString, message);
        Quote_Fixture f;
        f.Open(f.ann);
        f.Tick("A");
        f.db.Execute(change);
        f.Create_Quote();
        QCOMPARE(f.dialogs.Texts(), QStringList({message}));
        QVERIFY(f.composer.quotes.isEmpty());
    }

    void cancel_closes_the_window()
    {
        Quote_Fixture f;
        f.Open(f.ann);
        auto* bar = Product_Catalog_Quote_Window()->findChild<Key_Toolbar*>("ToolCreateQuote");
        bar->Button("Cancel")->trigger();
        QTRY_VERIFY(!Product_Catalog_Quote_Window());
    }
};

QTEST_MAIN(tst_catalog_quote)
#include "tst_catalog_quote.moc"
