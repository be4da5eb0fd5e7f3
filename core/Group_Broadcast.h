#pragma once
// The posting half of a broadcast to a contact group: one merged "Email Out"
// for every given contact with an address, each with its own copies of the
// files. The window side asks first, shows the status window and hands over
// the contacts listed at that moment; the engine shows its progress through
// Broadcast_Status and never looks at the list again.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Broadcast_Status {
public:
    virtual ~Broadcast_Status() = default;
    // Panels 1 to 3 of the status window.
    virtual void Set_Status_Panel(int panel, const QString& text) = 0;
    // True once the user wants nothing more posted; asked before every contact.
    virtual bool Stop_Requested() const = 0;
};

struct Broadcast_Outcome {
    int Handled = 0;    // contacts gone through, whatever became of them
    int Posted = 0;     // outbox rows stored
    int No_Email = 0;   // skipped: no address
    int Missing = 0;    // skipped: no longer in the table
    int Failed = 0;     // the posting failed and said so
    bool Stopped = false;
};

// The name an e-mail is addressed to: the default contact name when the first
// name is null or empty, otherwise first name, a blank and last name.
QString Broadcast_Recipient_Name(const QVariant& FirstName, const QVariant& LastName);

// Posts the broadcast to the contacts in the given order, counting in
// Outcome as it goes. Each posting waits its second, handling window
// messages. A database failure while reading a contact is thrown; what was
// posted before stays posted and counted.
void Post_Broadcast(const QList<qint64>& Contact_IDs, const QString& Subject, const QString& Message,
                    const QDateTime& Due, const QStringList& Attachments, Broadcast_Status& Status,
                    Broadcast_Outcome& Outcome);
