#pragma once
// The printed reports of a contact: its details, and its events (one, or the
// whole history), each laid out as a report document and shown in the print
// preview. The builders take the rows their queries give, so the reports of a
// whole group are made the same way. Database failures are thrown.

#include <QList>
#include <QSqlRecord>

class Report_Document;

// Contacts grouped by last name, each on a page of its own.
Report_Document Contact_Details_Report(const QList<QSqlRecord>& Contacts);
// Event rows joined with their contact's FirstName, LastName and Email, in
// the order given: a heading for each contact, then its events.
Report_Document Event_Print_Report(const QList<QSqlRecord>& Events, const QString& Title = "Event History");

// Contacts, in the order given, each under a heading of its name and address
// with its events below (Events: event rows of these contacts, each
// contact's newest first); a contact without events says so.
Report_Document Contacts_With_Events_Report(const QList<QSqlRecord>& Contacts, const QList<QSqlRecord>& Events);

// The contact details report of one contact.
void Print_Contact_Details(qint64 Contact_ID);
// Every event of the contact, newest first; false (after the message) when it has none.
bool Print_Contact_Events(qint64 Contact_ID);
// The one event; false (after the message) when it is no longer stored.
bool Print_Event(qint64 Event_ID);
