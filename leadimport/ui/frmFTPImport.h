#pragma once
// The FTP download window over a download (FTP_Download.h): shows which file
// is fetched and a progress bar that keeps moving while the transfer control
// works. Closing it gives the download up; it closes when the download ends.

#include <QPointer>
#include <QWidget>

#include "FTP_Download.h"

class Inet;
class QLabel;
class QProgressBar;

class frmFTPImport : public QWidget {
    Q_OBJECT

public:
    explicit frmFTPImport(FTP_Download& Download, QWidget* parent = nullptr);
    ~frmFTPImport() override;

    QLabel* lblFTPImport_Header = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    // The download's transfer control.
    Inet* Inet1 = nullptr;

    // One step of the bar: 1 to 99 over and over.
    void Step_Progress();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();

    QPointer<FTP_Download> download_;
};

// Opens the download window over every FTP download from now on.
void Install_Download_Window();
