#pragma once
// Signing on to the mail client and fetching its messages for the intake.
// Only one fetch and integration runs at a time: a request that comes while
// one runs (from a wait inside it) is left out.

#include "MAPI.h"

// The program's one mail session and message set.
MAPISession& MAPISession1();
MAPIMessages& MAPIMessages1();

// Signs on and binds the message set to the session; throws MAPI_Error.
void Mapi_Sign_On();

struct Intake_Result;

// Fetches every message and integrates the new ones; throws MAPI_Error when
// the store cannot be read. False when another intake runs (nothing done);
// Result then says what this one did.
bool Get_Mapi_Email(Intake_Result* Result = nullptr);

// The tab-strip check: fetches unread mail and, when there is any,
// integrates it; the new-mail sign then shows whether unread mail is left
// unfiled. Failures are left silent (the
// next click tries again); false when the store could not be read.
bool MDICheck_Email_And_Integrate_If_Needed();

// The Get eMail command and the start-up fetch: signs off an open session,
// signs on, fetches and integrates. A store that cannot be read is reported
// (in a message box, or on the status bar when the fetch is the automatic
// one of the start-up) and the program goes on without incoming mail this
// time. False then. The command says on the status bar (panel 1) how many
// new e-mails it filed, or that it found none.
bool Sign_On_And_Get_All_Mail(bool Report_In_Box = true);

// True while a fetch and integration runs.
bool Mail_Intake_Running();
