#include "FTP_Download.h"

#include <QTimer>

#include "Clock.h"
#include "Dialogs.h"
#include "Inet.h"
#include "Lead_Import_State.h"

FTP_Download::FTP_Download(QObject* parent)
    : QObject(parent)
{
    Inet1 = new Inet(this);
    Inet1->setObjectName("Inet1");
    connect(Inet1, &Inet::StateChanged, this, &FTP_Download::Inet1_StateChanged);
}

FTP_Download::~FTP_Download() = default;

void FTP_Download::Inet1_StateChanged(int state)
{
    switch (state) {
    case Inet::icError:
        Transfer_Failed = true;
        Wake_Waits();
        if (Inet1->Response_Code() == Inet::Local_File_Exists)
            Message_Box("File Exists! Please specify new destination");
        else
            Message_Box(Inet1->Response_Info(), vbOKOnly, "File transfer failed");
        break;
    case Inet::icResponseCompleted:
        Transfer_Done = true;
        Wake_Waits();
        break;
    default:
        break;
    }
}

bool FTP_Download::Wait_For_Transfer(bool step_progress)
{
    // The bar moves once a second while the wait hands out events; the wait
    // itself ends as soon as the control reports. The control always ends a
    // command (its own time limits see to a server that stops answering).
    QTimer progress;
    progress.setTimerType(Qt::PreciseTimer);
    progress.setInterval(1000);
    connect(&progress, &QTimer::timeout, this, &FTP_Download::Progress_Step);
    if (step_progress)
        progress.start();
    const auto finished = [this] { return Transfer_Done || Transfer_Failed; };
    while (!finished())
        Wait_Until(finished, 60.0);
    return !Transfer_Failed;
}

void FTP_Download::Get_Contacts_Using_FTP(const QVariant& Host, const QVariant& Remote_File,
                                          const QVariant& Local_File, const QVariant& User_Name,
                                          const QVariant& Password, const QVariant& Delete_Remote,
                                          int& Success)
{
    // Every way out closes the window.
    struct Finish {
        FTP_Download* download;
        ~Finish() { Q_EMIT download->Finished(); }
    } finish{this};

    Success = 0;
    for (const QVariant* value : {&Host, &Remote_File, &Local_File, &User_Name, &Password}) {
        if (!value->isValid() || value->isNull()) {
            Message_Box("Remote FTP Site has missing parameters");
            return;
        }
    }
    try {
        Transfer_Done = false;
        Transfer_Failed = false;
        Inet1->URL = "ftp://" + Host.toString().trimmed();
        Inet1->UserName = User_Name.toString();
        Inet1->Password = Password.toString();
        Inet1->Execute("GET", {Remote_File.toString(), Local_File.toString()});
        if (!Wait_For_Transfer(true))
            return;
        Transfer_Done = false;
        if (Delete_Remote.isValid() && !Delete_Remote.isNull() && Delete_Remote.toBool()) {
            Inet1->Execute("DELETE", {Remote_File.toString()});
            if (!Wait_For_Transfer(false))
                return;
        }
        Inet1->Execute("CLOSE");
        Success = 1;
    } catch (const Inet_Error& e) {
        Message_Box("Error on FTP: " + e.Description());
        Success = 0;
    }
}

void FTP_Download::Give_Up()
{
    if (Inet1->Still_Executing())
        Inet1->Cancel();
}

void Set_Download_Window(std::function<void(FTP_Download& Download)> open)
{
    Lead_Import().Download_Window = std::move(open);
}

void Show_Download_Window(FTP_Download& Download)
{
    const std::function<void(FTP_Download&)> open = Lead_Import().Download_Window;
    if (open)
        open(Download);
}
