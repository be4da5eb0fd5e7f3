#include "frmFTPImport.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "Clock.h"
#include "Dialogs.h"
#include "Inet.h"

frmFTPImport::frmFTPImport(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName("frmFTPImport");
    setWindowTitle("Contact Source FTP Import");
    lblFTPImport_Header = new QLabel(this);
    lblFTPImport_Header->setObjectName("lblFTPImport_Header");
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFTPImport_Header);
    layout->addWidget(ProgressBar1);
    resize(420, 110);
    Inet1 = new Inet(this);
    Inet1->setObjectName("Inet1");
    connect(Inet1, &Inet::StateChanged, this, &frmFTPImport::Inet1_StateChanged);
    Form_Load();
}

frmFTPImport::~frmFTPImport() = default;

void frmFTPImport::Form_Load()
{
    ProgressBar1->setVisible(true);
}

void frmFTPImport::Step_Progress()
{
    if (ProgressBar1->value() == 99)
        ProgressBar1->setValue(1);
    else
        ProgressBar1->setValue(ProgressBar1->value() + 1);
}

void frmFTPImport::Inet1_StateChanged(int state)
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

bool frmFTPImport::Wait_For_Transfer(bool step_progress)
{
    // The bar moves once a second while the wait hands out events; the wait
    // itself ends as soon as the control reports. The control always ends a
    // command (its own time limits see to a server that stops answering).
    QTimer progress;
    progress.setTimerType(Qt::PreciseTimer);
    progress.setInterval(1000);
    connect(&progress, &QTimer::timeout, this, &frmFTPImport::Step_Progress);
    if (step_progress)
        progress.start();
    const auto finished = [this] { return Transfer_Done || Transfer_Failed; };
    while (!finished())
        Wait_Until(finished, 60.0);
    return !Transfer_Failed;
}

void frmFTPImport::Get_Contacts_Using_FTP(const QVariant& Host, const QVariant& Remote_File,
                                          const QVariant& Local_File, const QVariant& User_Name,
                                          const QVariant& Password, const QVariant& Delete_Remote,
                                          int& Success)
{
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

void frmFTPImport::closeEvent(QCloseEvent* event)
{
    // Closing the window gives up the download it waits for.
    if (Inet1->Still_Executing())
        Inet1->Cancel();
    event->accept();
}
