#pragma once
// The Internet Transfer control of the FTP download window: one FTP command at
// a time, run by libcurl on a worker thread so the window stays responsive.
// Execute returns at once; the outcome comes back on the owner's thread as a
// StateChanged signal (icError or icResponseCompleted), after which
// Response_Code and Response_Info tell what went wrong.
//
// Commands: "GET" (remote file, local file) copies a server file into a new
// local file; "DELETE" (remote file) removes the file on the server; "CLOSE"
// ends the connection. The file names travel as separate arguments, so blanks
// and special characters in them reach the server as they are; the user name
// and password are handed to libcurl as they are, never spliced into a URL.

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>

#include "Program_Error.h"

class Inet_Error : public Program_Error {
public:
    using Program_Error::Program_Error;
};

class Inet : public QObject {
    Q_OBJECT

public:
    enum State {
        icNone = 0,
        icConnecting = 3,
        icConnected = 4,
        icResponseReceived = 8,
        icDisconnected = 10,
        icError = 11,
        icResponseCompleted = 12,
    };

    // Response_Code after a GET whose local file already exists.
    static constexpr int Local_File_Exists = 80;

    explicit Inet(QObject* parent = nullptr);
    ~Inet() override;

    // "ftp://" + host, optionally with ":port".
    QString URL;
    QString UserName;
    QString Password;

    // Starts a command and returns at once. Throws Inet_Error when a command
    // is still running, the command or its arguments are not usable, or the
    // address is not an FTP address.
    void Execute(const QString& command, const QStringList& arguments = {});
    bool Still_Executing() const { return running_; }

    // After icError: the server's error reply code (0 when the failure was not
    // a server reply, Local_File_Exists when the GET's target existed) and a
    // text for the user.
    int Response_Code() const { return response_code_; }
    QString Response_Info() const { return response_info_; }

    // Ends the running command as soon as libcurl looks at it (about once a
    // second at the latest); it then reports icError.
    void Cancel();

    // Time limits for reaching and logging in to the server, and for a server
    // that stops answering or sending. Tests shorten them.
    static void Set_Time_Limits(int connect_seconds, int stall_seconds);
    static int Connect_Time_Limit();
    static int Stall_Time_Limit();

    // What a finished command hands back to the owner's thread.
    struct Outcome;

Q_SIGNALS:
    void StateChanged(int state);

private:
    void Finish(const Outcome& outcome);
    void Fail_Now(int code, const QString& text);
    void Join();

    std::atomic<bool> cancel_{false};
    bool running_ = false;
    std::thread worker_;
    int response_code_ = 0;
    QString response_info_;
};
