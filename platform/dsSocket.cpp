#include "dsSocket.h"

#include <QHostAddress>
#include <QTcpSocket>

#include "Clock.h"

namespace {

// The last line of a reply has a blank (or nothing) after its three-digit
// code; "250-" announces more lines. A line without a code stands alone.
bool Is_Last_Line(const QByteArray& line)
{
    if (line.size() < 3)
        return true;
    for (int i = 0; i < 3; ++i)
        if (line[i] < '0' || line[i] > '9')
            return true;
    return line.size() == 3 || line[3] != '-';
}

} // namespace

dsSocket::dsSocket(QObject* parent)
    : QObject(parent)
{
}

dsSocket::~dsSocket()
{
    Drop_Socket();
}

void dsSocket::Set_RemoteDotAddr(const QString& Address)
{
    dot_addr_ = Address;
    host_.clear();
}

void dsSocket::Set_RemoteHost(const QString& Host)
{
    host_ = Host;
    dot_addr_.clear();
}

bool dsSocket::Is_Connected() const
{
    return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void dsSocket::Drop_Socket(bool At_Once)
{
    if (!socket_)
        return;
    QTcpSocket* old = socket_;
    socket_ = nullptr;
    // The old connection's late events must not reach the next dialogue.
    old->disconnect(this);
    if (!At_Once && old->state() == QAbstractSocket::ConnectedState) {
        old->disconnectFromHost();   // sends what is still queued, then closes
        QObject::connect(old, &QTcpSocket::disconnected, old, &QObject::deleteLater);
        QObject::connect(old, &QTcpSocket::errorOccurred, old, &QObject::deleteLater);
        if (old->state() == QAbstractSocket::UnconnectedState)
            old->deleteLater();
    } else {
        old->abort();
        old->deleteLater();
    }
    pending_.clear();
    reply_.clear();
}

bool dsSocket::Action(int Value)
{
    if (Value == 1) {
        // Closing is the program's own doing: no Close event for it.
        Drop_Socket();
        return true;
    }
    if (Value != 2)
        return false;
    Drop_Socket();
    if (port_ <= 0 || port_ > 65535 || (dot_addr_.isEmpty() && host_.isEmpty()))
        return false;
    QTcpSocket* socket = new QTcpSocket(this);
    socket_ = socket;
    // What the socket holds unread stays small as well.
    socket->setReadBufferSize(Max_Reply);
    connect(socket, &QTcpSocket::connected, this, [this] {
        Q_EMIT Connect();
        Wake_Waits();
    });
    connect(socket, &QTcpSocket::readyRead, this, &dsSocket::Take_Bytes);
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket](qint64) {
        if (socket->bytesToWrite() == 0) {
            Q_EMIT SendReady();
            Wake_Waits();
        }
    });
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        Q_EMIT Close();
        Wake_Waits();
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError)
            return;   // reported by disconnected
        Q_EMIT Failed(socket->errorString());
        Wake_Waits();
    });
    if (!dot_addr_.isEmpty())
        socket->connectToHost(QHostAddress(dot_addr_), quint16(port_));
    else
        socket->connectToHost(host_, quint16(port_));
    return true;
}

bool dsSocket::Send(const QByteArray& Data)
{
    if (!Is_Connected())
        return false;
    ++sends_;
    return socket_->write(Data) == Data.size();
}

void dsSocket::Take_Bytes()
{
    while (socket_ && socket_->bytesAvailable() > 0) {
        const int sends_at_read = sends_;
        pending_ += socket_->read(Max_Reply);
        for (;;) {
            const int end = pending_.indexOf('\n');
            if (end < 0 ? pending_.size() > Max_Reply_Line : end + 1 > Max_Reply_Line) {
                Fail_Protocol("The server sent a reply line longer than " + QString::number(Max_Reply_Line)
                              + " bytes.");
                return;
            }
            if (end < 0)
                break;
            const QByteArray line = pending_.left(end + 1);
            pending_.remove(0, end + 1);
            reply_ += line;
            if (reply_.size() > Max_Reply) {
                Fail_Protocol("The server sent a reply longer than " + QString::number(Max_Reply) + " bytes.");
                return;
            }
            if (Is_Last_Line(line)) {
                const QByteArray reply = reply_;
                reply_.clear();
                sends_before_reply_ = sends_at_read;
                QPointer<dsSocket> self(this);
                Q_EMIT Receive(reply);
                Wake_Waits();
                if (!self || !socket_)
                    return;
            }
        }
    }
}

void dsSocket::Fail_Protocol(const QString& Description)
{
    // Nothing more is read or said on a connection that broke the protocol.
    Drop_Socket(true);
    QPointer<dsSocket> self(this);
    Q_EMIT Failed(Description);
    if (self)
        Wake_Waits();
}
