#pragma once
// What the mail intake keeps between calls: the program's one mail session
// and message set, whether an intake runs, and the failures said already.

#include <QSet>
#include <QString>
#include <memory>

#include "MAPI.h"

struct Mail_Intake_State {
    MAPISession Session;
    std::unique_ptr<MAPIMessages> Messages = std::make_unique<MAPIMessages>();
    bool Running = false;
    // A message that keeps failing is said once per run of the program, not
    // at every check of the mail: its id and the failure's text.
    QSet<QString> Reported;
    // Ids of messages known to be filed: the tab click's check looks up only
    // the others. A fetch of all mail looks every one up again.
    QSet<QString> Known_Filed;

    void Reset();
};

Mail_Intake_State& Mail_Intake();
