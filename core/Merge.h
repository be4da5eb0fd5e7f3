#pragma once
// Placeholder merge: bracketed tokens of templates, workflow steps, broadcasts
// and quotes replaced by the values of a contact, a vehicle or a catalog
// product. Each value is passed as the caller holds it (a database field may
// be null): a null value leaves its token in the text, an empty one removes
// it. Tokens are replaced case-sensitively, one after the other, in a fixed
// order; a merge reads and writes nothing.

#include <QDateTime>
#include <QString>
#include <QVariant>

QString Merge_Contact_Fields(const QString& Text, const QVariant& FirstName, const QVariant& LastName,
                             const QVariant& Address, const QVariant& City, const QVariant& State,
                             const QVariant& Zipcode, const QVariant& Company, const QVariant& Product,
                             const QVariant& Referrer, const QVariant& Homephone,
                             const QVariant& Workphone, const QVariant& Cellphone,
                             const QVariant& Received_Date, const QVariant& Email,
                             const QVariant& Notes);

QString Merge_Vehicle_Fields(const QString& Text, const QVariant& Product, const QVariant& Year,
                             const QVariant& Make, const QVariant& Model,
                             const QVariant& Number_Of_Cylinders, const QVariant& Price,
                             const QVariant& Transmission, const QVariant& Size_Of_Engine,
                             const QVariant& VIN, const QVariant& Number_Of_Doors,
                             const QVariant& Color_Exterior, const QVariant& Color_Interior,
                             const QVariant& Options);

class QSqlRecord;

// Merge_Contact_Fields with the fields of a Contacts row (SELECT *); its
// received date, stored as text, goes in as a date.
QString Merge_Contact_Record(const QString& Text, const QSqlRecord& Contact);

// "[Price]" gets the price as "$#,##0.00"; a price that is not a number goes in unchanged.
QString Merge_Catalog_Fields(const QString& Text, const QVariant& Catalog_Product,
                             const QVariant& Part_Number, const QVariant& Description,
                             const QVariant& Price);

// The general date text of the system: its short date, then the time when
// the time of day is not midnight.
QString General_Date_Text(const QDateTime& Value);
