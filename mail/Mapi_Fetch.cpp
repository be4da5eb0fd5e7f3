#include "Mapi_Fetch.h"

#include "Dialogs.h"
#include "Mail_Intake_State.h"
#include "Mail_Integration.h"
#include "Main_Window_Lists.h"
#include "Process_State.h"

namespace {

// Marks the intake as running for as long as it lives.
class Intake_Guard {
public:
    Intake_Guard() : entered_(!Mail_Intake().Running) { Mail_Intake().Running = true; }
    ~Intake_Guard()
    {
        if (entered_)
            Mail_Intake().Running = false;
    }
    bool Entered() const { return entered_; }

private:
    bool entered_;
};

} // namespace

void Mail_Intake_State::Reset()
{
    Session.SignOff();
    Messages = std::make_unique<MAPIMessages>();
    Running = false;
    Reported.clear();
    Known_Filed.clear();
}

Mail_Intake_State& Mail_Intake()
{
    return Owned_State<Mail_Intake_State>();
}

MAPISession& MAPISession1()
{
    return Mail_Intake().Session;
}

MAPIMessages& MAPIMessages1()
{
    return *Mail_Intake().Messages;
}

bool Mail_Intake_Running()
{
    return Mail_Intake().Running;
}

void Mapi_Sign_On()
{
    MAPISession1().SignOn();
    MAPIMessages1().Set_Session(&MAPISession1());
    Register_Mail_Store_Deleter();
}

bool Get_Mapi_Email(Intake_Result* Result)
{
    Intake_Guard guard;
    if (!guard.Entered())
        return false;
    MAPIMessages1().FetchUnreadOnly = false;
    MAPIMessages1().Fetch();
    Mail_Intake().Known_Filed.clear();
    const Intake_Result result = Integrate_Mapi_Emails(MAPIMessages1());
    if (Result)
        *Result = result;
    return true;
}

bool MDICheck_Email_And_Integrate_If_Needed()
{
    Intake_Guard guard;
    if (!guard.Entered())
        return true;
    try {
        MAPIMessages1().FetchUnreadOnly = true;
        MAPIMessages1().Fetch();
    } catch (const MAPI_Error&) {
        return false;
    }
    if (MAPIMessages1().MsgCount() >= 1)
        Integrate_Mapi_Emails(MAPIMessages1());
    else
        Main_Window().Set_Status_Panel_Visible(7, false);   // no unread mail waits to be filed
    return true;
}

bool Sign_On_And_Get_All_Mail(bool Report_In_Box)
{
    if (Mail_Intake_Running())
        return true;
    try {
        if (MAPISession1().SessionID() > 0)
            MAPISession1().SignOff();
        Mapi_Sign_On();
        Intake_Result result;
        // Only the command says what it did; the start-up window has its own.
        if (Get_Mapi_Email(&result) && Report_In_Box)
            Main_Window().Set_Status_Panel(1, Intake_Status_Text(result));
    } catch (const MAPI_Error& e) {
        if (Report_In_Box)
            Message_Box("Error on Get eMail: " + e.Description(), vbOKOnly);
        else
            Main_Window().Set_Status_Panel(5, "No incoming mail: " + e.Description());
        return false;
    }
    return true;
}
