#pragma once
// An SMTP peer on 127.0.0.1 for the tests: a real aiosmtpd server that keeps
// every accepted message, a server that accepts connections and never
// answers, one that closes the connection in the middle of the data, or one
// of the misbehaving servers below, which also keep every command line they
// hear. Started on a free port, stopped with the object.

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
    enum class Mode {
        Smtp,
        Silent,
        Hang_Up_In_Data,
        Data_Answered_250,       // 250 instead of 354 to DATA
        Extra_Reply_After_Helo,  // two replies to HELO
        Second_Greeting,         // a 220 after the reply to HELO
        No_Reply_To_Dot,         // takes the data, never answers the final "."
        Close_After_Dot,         // takes the data, closes without a reply
        Greeting_421,            // greets with 421 and closes
        Mail_421,                // answers MAIL FROM with 421 and closes
        Endless_Line,            // greets with bytes that never end a line
    };
    explicit Smtp_Test_Server(Mode mode = Mode::Smtp);
    ~Smtp_Test_Server();

    bool Started() const { return port_ > 0; }
    int Port() const { return port_; }
    // The messages accepted so far, in order.
    QList<Received_Mail> Messages() const;
    // The command lines a misbehaving server heard, in order.
    QStringList Commands() const;
    // Endless_Line: the bytes it sent before the client hung up; -1 while it sends.
    qint64 Endless_Bytes_Sent() const;

private:
    QProcess process_;
    QTemporaryDir folder_;
    int port_ = 0;
};

// A port on 127.0.0.1 where nothing listens.
int Unused_Port();
