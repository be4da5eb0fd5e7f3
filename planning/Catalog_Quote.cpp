#include "Catalog_Quote.h"

#include <QSqlRecord>

#include "Data_Access.h"
#include "Merge.h"
#include "Settings.h"

namespace {

const char* const Product_Quote_Type = "Product";
const char* const No_Contact_Text = "Problem with contact retrieveal. Contact Tech Support";
const char* const No_Template_Text =
    "There is no Product quote template. Write it on the Quote Templates page of the Planning window.";
const char* const No_Products_Text = "There are no products selected!";

Catalog_Quote Refused(const QString& Reason)
{
    Catalog_Quote quote;
    quote.Refusal = Reason;
    return quote;
}

} // namespace

void Reset_Quote_Selections()
{
    Open_Database().Execute("UPDATE Products SET Selected = 'No', \"Order\" = 0");
}

Catalog_Quote Build_Catalog_Quote(const QString& Contact_ID)
{
    Database db = Open_Database();
    const QSqlRecord quote_template = db.Select_First(
        "SELECT * FROM QuotesTemplates WHERE Quote_Type = ? LIMIT 1", {QString(Product_Quote_Type)});
    if (quote_template.isEmpty())
        return Refused(No_Template_Text);
    const QString intro = Db_Text(quote_template, "Intro_Message");
    const QString disclaimer = Db_Text(quote_template, "Disclaimer");
    const QString section_template = Db_Text(quote_template, "Quote_Template");
    const QString delimiter = Db_Text(quote_template, "Message_Delimiter");

    bool numeric = false;
    const qint64 id = Contact_ID.trimmed().toLongLong(&numeric);
    const QSqlRecord contact =
        numeric ? db.Select_First("SELECT * FROM Contacts WHERE ID = ?", {id}) : QSqlRecord();
    if (contact.isEmpty())
        return Refused(No_Contact_Text);

    const QList<QSqlRecord> products =
        db.Select("SELECT Product, Part_Number, Description, Price FROM Products WHERE Selected = 'Yes' "
                  "ORDER BY \"Order\", Product");
    if (products.isEmpty())
        return Refused(No_Products_Text);

    // The delimiter stands before every product's section and once more before
    // the disclaimer; the catalog tokens are merged in the sections only.
    QString product_text;
    QString product_list;
    const QString section_contact = Merge_Contact_Record(section_template, contact);
    for (const QSqlRecord& product : products) {
        const QString section = Merge_Catalog_Fields(section_contact, product.value("Product"),
                                                     product.value("Part_Number"), product.value("Description"),
                                                     product.value("Price"));
        product_text += "\r\n" + delimiter + "\r\n" + section;
        product_list += ", " + Db_Text(product, "Product");
    }

    Catalog_Quote quote;
    Quote_Email& email = quote.Email;
    email.Contact_ID = contact.value("ID").toLongLong();
    email.Subject = Merge_Contact_Record(Db_Text(quote_template, "Subject"), contact);
    email.Message = Merge_Contact_Record(intro, contact) + "\r\n" + product_text + "\r\n" + delimiter + "\r\n" +
                    disclaimer;
    const QString first = Db_Text(contact, "FirstName");
    email.Name = first.isEmpty() ? Current_Settings().DefaultContactName : first + " " + Db_Text(contact, "LastName");
    email.Address = Db_Text(contact, "Email");
    email.Products = product_list;
    return quote;
}
