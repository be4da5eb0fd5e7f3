#include "Merge.h"

#include <QLocale>
#include <QSqlRecord>

#include "Clock.h"
#include "Database.h"
#include "Shared_Routines.h"

namespace {

// The system's long time form without the time zone it may carry.
QString Time_Text(const QTime& time)
{
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1String(" t")).remove(QLatin1Char('t'));
    return locale.toString(time, format.trimmed());
}

// A value as it goes into the text: dates in the general date form, the rest
// as its plain text; a null stays null (the token stays).
QVariant Merge_Value(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return General_Date_Text(value.toDateTime());
    case QMetaType::QDate:
        return General_Date_Text(QDateTime(value.toDate(), QTime(0, 0)));
    case QMetaType::QString:
        // Qt reads a null text field as a null QString.
        if (value.toString().isNull())
            return QVariant();
        return value;
    default:
        return value.toString();
    }
}

QString Merge(QString text, const char* token, const QVariant& value)
{
    return Replace_All(text, QString::fromLatin1(token), Merge_Value(value));
}

QChar Date_Separator()
{
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    for (const QChar c : format)
        if (c == u'/' || c == u'.' || c == u'-')
            return c;
    return u'/';
}

QString Today_Short()
{
    const QDate today = Now().date();
    const QChar sep = Date_Separator();
    return QString::number(today.month()) + sep + QString::number(today.day()) + sep
           + QString::number(today.year() % 100).rightJustified(2, u'0');
}

QString Today_Long()
{
    const QDate today = Now().date();
    const QLocale locale = QLocale::system();
    return locale.dayName(today.dayOfWeek(), QLocale::LongFormat) + ", "
           + locale.monthName(today.month(), QLocale::LongFormat) + " "
           + QString::number(today.day()).rightJustified(2, u'0') + ", "
           + QString::number(today.year());
}

QVariant Price_Text(const QVariant& price)
{
    const QVariant value = Merge_Value(price);
    if (value.isNull())
        return value;
    bool ok = false;
    const double number = price.toDouble(&ok);
    if (!ok)
        return value;
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return QString("$") + locale.toString(number, 'f', 2);
}

} // namespace

QString General_Date_Text(const QDateTime& Value)
{
    if (!Value.isValid())
        return QString();
    const QLocale locale = QLocale::system();
    QString text = locale.toString(Value.date(), QLocale::ShortFormat);
    if (Value.time() != QTime(0, 0))
        text += " " + Time_Text(Value.time());
    return text;
}

QString Merge_Contact_Fields(const QString& Text, const QVariant& FirstName, const QVariant& LastName,
                             const QVariant& Address, const QVariant& City, const QVariant& State,
                             const QVariant& Zipcode, const QVariant& Company, const QVariant& Product,
                             const QVariant& Referrer, const QVariant& Homephone,
                             const QVariant& Workphone, const QVariant& Cellphone,
                             const QVariant& Received_Date, const QVariant& Email,
                             const QVariant& Notes)
{
    QString text = Text;
    text = Merge(text, "[Firstname]", FirstName);
    text = Merge(text, "[Lastname]", LastName);
    text = Merge(text, "[Address]", Address);
    text = Merge(text, "[City]", City);
    text = Merge(text, "[State]", State);
    text = Merge(text, "[Zip]", Zipcode);
    text = Merge(text, "[Company]", Company);
    text = Merge(text, "[Product]", Product);
    text = Merge(text, "[Referrer]", Referrer);
    text = Merge(text, "[Homephone]", Homephone);
    text = Merge(text, "[Workphone]", Workphone);
    text = Merge(text, "[Cellphone]", Cellphone);
    text = Merge(text, "[Received_Date]", Received_Date);
    text = Merge(text, "[Email]", Email);
    text = Merge(text, "[Notes]", Notes);
    text = Merge(text, "[Today-Short]", Today_Short());
    text = Merge(text, "[Today-Long]", Today_Long());
    return text;
}

QString Merge_Contact_Record(const QString& Text, const QSqlRecord& Contact)
{
    const auto v = [&Contact](const char* field) { return Contact.value(field); };
    QVariant received = v("Contact_Received_Date");
    if (const QDateTime date = Db_To_Date(received); date.isValid())
        received = date;
    return Merge_Contact_Fields(Text, v("FirstName"), v("LastName"), v("Address"), v("City"), v("State"),
                                v("Zipcode"), v("Company"), v("Product"), v("Import_Source"), v("Homephone"),
                                v("Workphone"), v("Cellphone"), received, v("Email"), v("Notes"));
}

QString Merge_Vehicle_Fields(const QString& Text, const QVariant& Product, const QVariant& Year,
                             const QVariant& Make, const QVariant& Model,
                             const QVariant& Number_Of_Cylinders, const QVariant& Price,
                             const QVariant& Transmission, const QVariant& Size_Of_Engine,
                             const QVariant& VIN, const QVariant& Number_Of_Doors,
                             const QVariant& Color_Exterior, const QVariant& Color_Interior,
                             const QVariant& Options)
{
    QString text = Text;
    text = Merge(text, "[Product]", Product);
    text = Merge(text, "[Year]", Year);
    text = Merge(text, "[Make]", Make);
    text = Merge(text, "[Model]", Model);
    text = Merge(text, "[Number_Of_Cylinders]", Number_Of_Cylinders);
    text = Merge(text, "[Size_Of_Engine]", Size_Of_Engine);
    text = Merge(text, "[Price]", Price);
    text = Merge(text, "[Transmission]", Transmission);
    text = Merge(text, "[VIN]", VIN);
    text = Merge(text, "[Number_Of_Doors]", Number_Of_Doors);
    text = Merge(text, "[Color_Exterior]", Color_Exterior);
    text = Merge(text, "[Color_Interior]", Color_Interior);
    text = Merge(text, "[Options]", Options);
    return text;
}

QString Merge_Catalog_Fields(const QString& Text, const QVariant& Catalog_Product,
                             const QVariant& Part_Number, const QVariant& Description,
                             const QVariant& Price)
{
    QString text = Text;
    text = Merge(text, "[Catalog_Product]", Catalog_Product);
    text = Merge(text, "[Part_Number]", Part_Number);
    text = Merge(text, "[Description]", Description);
    text = Merge(text, "[Price]", Price_Text(Price));
    return text;
}
