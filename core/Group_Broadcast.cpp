#include "Group_Broadcast.h"

#include <QSqlRecord>

#include "Clock.h"
#include "Data_Access.h"
#include "Merge.h"
#include "Outbox_Posting.h"
#include "Settings.h"
#include "Shared_Routines.h"

QString Broadcast_Recipient_Name(const QVariant& FirstName, const QVariant& LastName)
{
    const QString first = Null_To_Empty(FirstName);
    if (first.isEmpty())
        return Current_Settings().DefaultContactName;
    return first + " " + Null_To_Empty(LastName);
}

void Post_Broadcast(const QList<qint64>& Contact_IDs, const QString& Subject, const QString& Message,
                    const QDateTime& Due, const QStringList& Attachments, Broadcast_Status& Status,
                    Broadcast_Outcome& outcome)
{
    outcome = Broadcast_Outcome{};
    for (int panel = 1; panel <= 3; ++panel)
        Status.Set_Status_Panel(panel, QString());
    Time_Pause(1);
    Status.Set_Status_Panel(1, "Sending APB");

    for (const qint64 ID : Contact_IDs) {
        if (Status.Stop_Requested()) {
            outcome.Stopped = true;
            break;
        }
        ++outcome.Handled;
        // Read afresh: the contact may have been edited or removed while earlier ones were posted.
        const QSqlRecord contact =
            Open_Database().Select_First("SELECT Contacts.* FROM Contacts WHERE Contacts.ID = ?", {ID});
        if (contact.isEmpty()) {
            ++outcome.Missing;
            Status.Set_Status_Panel(1, QString());
            Status.Set_Status_Panel(2, "No Contact");
            continue;
        }
        const QString name = Broadcast_Recipient_Name(contact.value("FirstName"), contact.value("LastName"));
        const QString address = Null_To_Empty(contact.value("Email"));
        Status.Set_Status_Panel(1, name);
        // Blanks alone are no address either: such an e-mail could never be sent.
        if (address.trimmed().isEmpty()) {
            ++outcome.No_Email;
            Status.Set_Status_Panel(2, "No Email");
            continue;
        }
        Status.Set_Status_Panel(2, address);
        const Program_Settings& settings = Current_Settings();
        const bool posted =
            Send_To_Outbox(ID, address, name, Merge_Contact_Record(Subject, contact), Merge_Contact_Record(Message, contact),
                           settings.DefaultEmailAddress, settings.DefaultEmailName,
                           Null_To_Empty(contact.value("Product")), 0, "Email Out", Due, 0, Attachments);
        ++(posted ? outcome.Posted : outcome.Failed);
    }
}
