#pragma once
// The broadcast to the contact group ("APB"): asked for by the schedule
// frame, it asks once more, then posts one merged e-mail to every contact
// listed at that moment while the status window shows who is in hand. The
// group commands are off meanwhile; the rest of the window stays usable.

#include <QDateTime>
#include <QString>
#include <QStringList>

class Contacts_Page;
class QWidget;

// True once it ran for the group; false when the user said No or a file was refused.
bool All_Points_Broadcast(Contacts_Page& Group, QWidget* Window, const QString& Subject, const QString& Message,
                          const QDateTime& Due, const QStringList& Attachments);

// True while a broadcast runs.
bool Broadcast_Running();
