#pragma once
// An SMTP peer on 127.0.0.1 for the tests: a real aiosmtpd server that keeps
// every accepted message, a server that accepts connections and never
// answers, or one that closes the connection in the middle of the data. Started on a free port, stopped with the object.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct Received_Mail {
    QString from;            // envelope sender
    QStringList to;          // envelope recipients
    QByteArray data;         // the data as received (dot-stuffing undone)
};

class Smtp_Test_Server {
public:
    enum class Mode { Smtp, Silent, Hang_Up_In_Data };
    explicit Smtp_Test_Server(Mode mode = Mode::Smtp);
    ~Smtp_Test_Server();

    bool Started() const { return port_ > 0; }
    int Port() const { return port_; }
    // The messages accepted so far, in order.
    QList<Received_Mail> Messages() const;

private:
    QProcess process_;
    QTemporaryDir folder_;
    int port_ = 0;
};

// A port on 127.0.0.1 where nothing listens.
int Unused_Port();
