#pragma once
// An FTP peer on 127.0.0.1, started by a test and stopped with it: a
// pyftpdlib server over a temporary folder, or a server that never answers.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class Ftp_Server {
public:
    enum class Mode { Normal, Silent, Stall_Retr };

    explicit Ftp_Server(const QString& user = "leads", const QString& password = "secret",
                        Mode mode = Mode::Normal);
    ~Ftp_Server();
    Ftp_Server(const Ftp_Server&) = delete;
    Ftp_Server& operator=(const Ftp_Server&) = delete;

    bool Started() const { return port_ > 0; }
    int Port() const { return port_; }
    // "127.0.0.1:port", as a source's Domain_Name holds it.
    QString Host() const;
    // The server's root folder (ends with "/").
    QString Root() const;
    QString Write_File(const QString& name, const QByteArray& content) const;
    bool Has_File(const QString& name) const;

private:
    QTemporaryDir root_;
    QProcess process_;
    int port_ = 0;
};

// A port on 127.0.0.1 where nothing listens (a server that refuses).
int Closed_Port();
