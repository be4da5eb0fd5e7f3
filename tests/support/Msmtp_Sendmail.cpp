#include "Msmtp_Sendmail.h"

#include <QFile>

Msmtp_Sendmail::Msmtp_Sendmail(int port)
{
    const QString rc = dir_.filePath("msmtprc");
    QFile file(rc);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(rc));
    file.write(QString("defaults\nauth off\ntls off\n\naccount default\nhost 127.0.0.1\nport %1\n"
                       "from sales@dealer.example\n")
                   .arg(port)
                   .toUtf8());
    file.close();
    // msmtp refuses a configuration others may read.
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    qputenv("SENDMAIL", QFile::encodeName("/usr/bin/msmtp -C " + rc + " -t -i"));
}

Msmtp_Sendmail::~Msmtp_Sendmail()
{
    qunsetenv("SENDMAIL");
}
