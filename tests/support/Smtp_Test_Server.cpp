#include "Smtp_Test_Server.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>

#include "Test_Support.h"

namespace {

QString Mode_Name(Smtp_Test_Server::Mode mode)
{
    using Mode = Smtp_Test_Server::Mode;
    switch (mode) {
    case Mode::Smtp: return "smtp";
    case Mode::Silent: return "silent";
    case Mode::Hang_Up_In_Data: return "hangup";
    case Mode::Data_Answered_250: return "data250";
    case Mode::Extra_Reply_After_Helo: return "extrahelo";
    case Mode::Second_Greeting: return "greeting2";
    case Mode::No_Reply_To_Dot: return "nodot";
    case Mode::Close_After_Dot: return "closedot";
    case Mode::Greeting_421: return "421greet";
    case Mode::Mail_421: return "421mail";
    case Mode::Endless_Line: return "endless";
    }
    return "smtp";
}

} // namespace

Smtp_Test_Server::Smtp_Test_Server(Mode mode)
{
    const QString script = Source_Dir() + "/tests/support/smtp_peer.py";
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start("/usr/bin/python3",
                   {script, Mode_Name(mode), folder_.path()});
    if (!process_.waitForStarted(10000))
        return;
    // The peer says its port once it listens.
    QByteArray line;
    while (!line.endsWith('\n') && process_.waitForReadyRead(15000))
        line += process_.readLine();
    if (line.startsWith("PORT "))
        port_ = line.mid(5).trimmed().toInt();
}

Smtp_Test_Server::~Smtp_Test_Server()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

QList<Received_Mail> Smtp_Test_Server::Messages() const
{
    QList<Received_Mail> mails;
    for (int n = 1;; ++n) {
        QFile data(folder_.path() + QString("/%1.eml").arg(n));
        QFile envelope(folder_.path() + QString("/%1.env").arg(n));
        if (!data.open(QIODevice::ReadOnly) || !envelope.open(QIODevice::ReadOnly))
            break;
        Received_Mail mail;
        const QStringList lines = QString::fromUtf8(envelope.readAll()).split('\n', Qt::SkipEmptyParts);
        mail.from = lines.value(0);
        mail.to = lines.mid(1);
        mail.data = data.readAll();
        mails << mail;
    }
    return mails;
}

QStringList Smtp_Test_Server::Commands() const
{
    QFile file(folder_.path() + "/commands");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

qint64 Smtp_Test_Server::Endless_Bytes_Sent() const
{
    QFile file(folder_.path() + "/endless");
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.readAll().trimmed().toLongLong();
}

int Unused_Port()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const int port = server.serverPort();
    server.close();
    return port;
}
