#pragma once
// The FTP download window: shows which file is fetched and a progress bar
// that keeps moving while the transfer control works.

#include <QVariant>
#include <QWidget>

class Inet;
class QLabel;
class QProgressBar;

class frmFTPImport : public QWidget {
    Q_OBJECT

public:
    explicit frmFTPImport(QWidget* parent = nullptr);
    ~frmFTPImport() override;

    QLabel* lblFTPImport_Header = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    Inet* Inet1 = nullptr;
    // Set when the control completed the command waited for.
    bool Transfer_Done = false;

    // Downloads Remote_File from Host into Local_File (and deletes it on the
    // server when Delete_Remote is set). Success is 1 when the download (and
    // the delete) finished, 0 otherwise; every failure has been shown.
    void Get_Contacts_Using_FTP(const QVariant& Host, const QVariant& Remote_File,
                                const QVariant& Local_File, const QVariant& User_Name,
                                const QVariant& Password, const QVariant& Delete_Remote,
                                int& Success);

    // One step of the bar: 1 to 99 over and over.
    void Step_Progress();

public Q_SLOTS:
    void Inet1_StateChanged(int state);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    // Waits, handling events, until the command completed or failed.
    bool Wait_For_Transfer(bool step_progress);

    bool Transfer_Failed = false;
};
