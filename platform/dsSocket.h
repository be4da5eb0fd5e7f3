#pragma once
// The TCP socket control of the SMTP sender: connect and close through
// Action, the remote address, Send, and the events Connect, Close, Receive
// and SendReady. Receive carries one complete server reply: every line of a
// multi-line reply ("250-...\r\n250 ...\r\n") together, however the bytes
// were split on the way. A reply line longer than Max_Reply_Line bytes, or a
// reply of more than Max_Reply bytes, ends the connection with Failed: a
// peer that never ends its line cannot fill the memory. Every event also
// wakes the waits of the clock.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QTcpSocket;

class dsSocket : public QObject {
    Q_OBJECT

public:
    // The standard allows 512 bytes a reply line; servers that say more get room.
    static constexpr int Max_Reply_Line = 4096;
    static constexpr int Max_Reply = 64 * 1024;

    explicit dsSocket(QObject* parent = nullptr);
    ~dsSocket() override;

    // 1 closes the connection (the Close event is the server's closing
    // only), 2 starts connecting to the remote address
    // (false when it cannot be started: no address or port).
    bool Action(int Value);

    void Set_RemotePort(int Port) { port_ = Port; }
    int RemotePort() const { return port_; }
    // A numeric address, used as it stands; setting it forgets the host name.
    void Set_RemoteDotAddr(const QString& Address);
    QString RemoteDotAddr() const { return dot_addr_; }
    // A host name to resolve; setting it forgets the numeric address.
    void Set_RemoteHost(const QString& Host);
    QString RemoteHost() const { return host_; }

    // Hands the bytes to the connection; false when there is none.
    bool Send(const QByteArray& Data);
    bool Is_Connected() const;
    // How many Sends went out before the reply in hand (the one Receive
    // carries) had come in whole: a reply that was in before a command went
    // out cannot answer that command.
    int Sends() const { return sends_; }
    int Sends_Before_Reply() const { return sends_before_reply_; }

Q_SIGNALS:
    void Connect();
    void Close();
    void Receive(const QByteArray& Reply);
    void SendReady();
    // The connection could not be made or broke (after Action 2).
    void Failed(const QString& Description);

private:
    void Take_Bytes();
    void Drop_Socket(bool At_Once = false);
    void Fail_Protocol(const QString& Description);

    QPointer<QTcpSocket> socket_;
    QByteArray pending_;      // bytes of a reply not yet complete
    QByteArray reply_;        // complete lines of the reply in hand
    int sends_ = 0;
    int sends_before_reply_ = 0;
    int port_ = 0;
    QString dot_addr_;
    QString host_;
};
