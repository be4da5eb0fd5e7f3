#pragma once
// Downloading a lead file by FTP: the transfer control's commands run one at
// a time and are waited for with events handled, so the program stays
// responsive. While the download runs its progress is signalled once a
// second, for the download window to show; with no window nothing is shown.

#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>

class Inet;

class FTP_Download : public QObject {
    Q_OBJECT

public:
    explicit FTP_Download(QObject* parent = nullptr);
    ~FTP_Download() override;

    // What the download window shows above its bar.
    QString Header;
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

    // Gives up the command under way (the user closed the download window).
    void Give_Up();

Q_SIGNALS:
    // One step of the download window's bar.
    void Progress_Step();
    // The download has ended, however it went.
    void Finished();

private:
    void Inet1_StateChanged(int state);
    // Waits, handling events, until the command completed or failed.
    bool Wait_For_Transfer(bool step_progress);

    bool Transfer_Failed = false;
};

// The download window, registered by its library at start-up: it is opened
// over the download before it starts and follows it until Finished.
void Set_Download_Window(std::function<void(FTP_Download& Download)> open);
void Show_Download_Window(FTP_Download& Download);
