#include "frmFTPImport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

frmFTPImport::frmFTPImport(FTP_Download& Download, QWidget* parent)
    : QWidget(parent, Qt::Window), Inet1(Download.Inet1), download_(&Download)
{
    setObjectName("frmFTPImport");
    setWindowTitle("Contact Source FTP Import");
    lblFTPImport_Header = new QLabel(Download.Header, this);
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
    connect(&Download, &FTP_Download::Progress_Step, this, &frmFTPImport::Step_Progress);
    connect(&Download, &FTP_Download::Finished, this, &QWidget::close);
    connect(&Download, &QObject::destroyed, this, &QWidget::close);
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

void frmFTPImport::closeEvent(QCloseEvent* event)
{
    // Closing the window gives up the download it waits for.
    if (download_)
        download_->Give_Up();
    event->accept();
}

void Install_Download_Window()
{
    Set_Download_Window([](FTP_Download& download) {
        auto* window = new frmFTPImport(download);
        window->setAttribute(Qt::WA_DeleteOnClose);
        // Over the window the user works in, not in a corner of the screen.
        if (QWidget* over = QApplication::activeWindow())
            window->move(over->geometry().center() - window->rect().center());
        window->show();
    });
}
