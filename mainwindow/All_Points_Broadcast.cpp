#include "All_Points_Broadcast.h"

#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QScopeGuard>
#include <memory>

#include "Dialogs.h"
#include "Group_Broadcast.h"
#include "Program_Error.h"
#include "dialogs/frmStatusForm.h"
#include "pages/Contacts_Page.h"

namespace {

bool running = false;

// Every copy is made once per contact: a file that cannot be read would be
// reported once per contact, and every e-mail would go without it.
bool Attachments_Readable(const QStringList& Attachments)
{
    for (const QString& path : Attachments) {
        const QFileInfo file(path);
        if (!file.isFile() || !file.isReadable()) {
            Message_Box("The file " + path + " cannot be read. Nothing has been posted.", vbOKOnly,
                        "All Points Broadcast");
            return false;
        }
    }
    return true;
}

} // namespace

bool Broadcast_Running()
{
    return running;
}

bool All_Points_Broadcast(Contacts_Page& Group, QWidget* Window, const QString& Subject, const QString& Message,
                          const QDateTime& Due, const QStringList& Attachments)
{
    if (running || !Attachments_Readable(Attachments))
        return false;
    if (Message_Box("Do you want to send an all points Broadcast to the current Group?", vbYesNo,
                    "All Points Broadcast") != vbYes)
        return false;
    // The contacts listed now: a refill or a new row while it runs changes nothing.
    const QList<qint64> IDs = Group.Listed_Contact_IDs();
    QPointer<Contacts_Page> group(&Group);
    QPointer<QWidget> window(Window);
    auto status = std::make_unique<frmStatusForm>(Window);
    status->Heading->setText("Processing All Points Broadcast");
    status->show();

    Broadcast_Outcome outcome;
    QString failure;
    {
        running = true;
        Group.Set_Group_Commands_Enabled(false);
        // Whatever ends it, the group commands come back.
        const auto back = qScopeGuard([&group] {
            running = false;
            if (group)
                group->Set_Group_Commands_Enabled(true);
        });
        try {
            Post_Broadcast(IDs, Subject, Message, Due, Attachments, *status, outcome);
        } catch (const Program_Error& e) {
            failure = e.Description();
        }
    }
    // The main window was closed meanwhile: nothing more to say.
    if (window && window->isVisible()) {
        if (!failure.isEmpty())
            Message_Box("Error on All Points Broadcast: " + failure +
                        QString("\n%1 of %2 contacts had been posted.").arg(outcome.Posted).arg(IDs.size()));
        else if (outcome.Stopped)
            Message_Box(QString("The APB was stopped after %1 of %2 contacts. The e-mails posted so far stay in "
                                "the outbox.")
                            .arg(outcome.Handled)
                            .arg(IDs.size()));
        else
            Message_Box("The APB has been processed for the current Contacts. Revise them and send them! Turn "
                        "them to Gold!");
    }
    status->hide();
    return true;
}
