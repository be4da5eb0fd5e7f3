#pragma once
// Composing an outgoing message with GMime: a valid Internet message with a
// Date in the Internet form with its zone, a Message-ID, MIME-Version, a
// text/plain part in utf-8 with a transfer encoding every server takes
// (7bit when the text allows it, else quoted-printable), and display names
// and subjects outside ASCII as encoded words. Line ends are LF.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

struct Outgoing_Mail {
    struct File {
        QString Path;
        QString Name;   // empty: the file's own name
    };
    QString From_Address;   // empty: no From (the mail program gives it)
    QString From_Name;
    QString To_Address;
    QString To_Name;
    QString Subject;
    QString Text;
    QDateTime Date;
    QString Message_ID;     // without angle brackets; empty: a new one
    QList<File> Files;      // attached as base64 parts
};

// Throws MAPI_Error when an attached file cannot be read.
QByteArray Compose_Mail(const Outgoing_Mail& Mail);

// A new, unique Message-ID (without angle brackets) ending in the domain.
QString New_Message_ID(const QString& Domain);
