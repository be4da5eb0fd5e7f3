#include "Ftp_Server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>

#include "Test_Support.h"

Ftp_Server::Ftp_Server(const QString& user, const QString& password, Mode mode)
{
    const QString mode_name = mode == Mode::Silent ? "silent"
                            : mode == Mode::Stall_Retr ? "stall-retr" : "ftp";
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start("/usr/bin/python3", {Source_Dir() + "/tests/support/ftp_server.py", "--root",
                                        root_.path(), "--user", user, "--password", password,
                                        "--mode", mode_name});
    if (!process_.waitForStarted(10000))
        return;
    QByteArray line;
    while (!line.contains('\n') && process_.waitForReadyRead(10000))
        line += process_.readAllStandardOutput();
    port_ = line.trimmed().toInt();
}

Ftp_Server::~Ftp_Server()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString Ftp_Server::Host() const
{
    return QString("127.0.0.1:%1").arg(port_);
}

QString Ftp_Server::Root() const
{
    return root_.path() + "/";
}

QString Ftp_Server::Write_File(const QString& name, const QByteArray& content) const
{
    const QString path = Root() + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

bool Ftp_Server::Has_File(const QString& name) const
{
    return QFileInfo::exists(Root() + name);
}

int Closed_Port()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}
