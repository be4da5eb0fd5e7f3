#include "Password.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

#include "Data_Access.h"

namespace {

const QString Scheme = "pbkdf2-sha256";
// Enough to make guessing slow, few enough that a log-in answers at once.
const int Iterations = 40000;
const int Salt_Bytes = 16;
const int Key_Bytes = 32;
// A stored count beyond this is not ours: it would freeze the log-in.
const int Most_Iterations = 1000000;

QByteArray Derive_Key(const QString& Text, const QByteArray& Salt, int Rounds)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, Text.toUtf8(), Salt,
                                              Rounds, Key_Bytes);
}

// Compares every byte, so the time taken says nothing of where they differ.
bool Same_Bytes(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

struct Parsed_Hash {
    bool valid = false;
    int rounds = 0;
    QByteArray salt;
    QByteArray key;
};

Parsed_Hash Parse(const QString& Stored)
{
    Parsed_Hash parsed;
    const QStringList parts = Stored.split('$');
    if (parts.size() != 4 || parts[0] != Scheme)
        return parsed;
    bool number = false;
    parsed.rounds = parts[1].toInt(&number);
    const auto salt = QByteArray::fromBase64Encoding(parts[2].toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    const auto key = QByteArray::fromBase64Encoding(parts[3].toLatin1(),
                                                    QByteArray::AbortOnBase64DecodingErrors);
    parsed.valid = number && parsed.rounds > 0 && parsed.rounds <= Most_Iterations && salt && key
        && !salt.decoded.isEmpty() && key.decoded.size() == Key_Bytes;
    parsed.salt = salt.decoded;
    parsed.key = key.decoded;
    return parsed;
}

} // namespace

QString Password_Hash(const QString& Text)
{
    if (Text.isEmpty())
        return QString("");
    QByteArray salt(Salt_Bytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()),
                                          Salt_Bytes / sizeof(quint32));
    return QStringList{Scheme, QString::number(Iterations), QString::fromLatin1(salt.toBase64()),
                       QString::fromLatin1(Derive_Key(Text, salt, Iterations).toBase64())}
        .join('$');
}

bool Password_Is_Hashed(const QString& Stored)
{
    return Stored.isEmpty() || Parse(Stored).valid;
}

bool Password_Matches(const QString& Text, const QString& Stored)
{
    if (Stored.isEmpty())
        return Text.isEmpty();
    const Parsed_Hash parsed = Parse(Stored);
    if (!parsed.valid)
        return Text == Stored;
    return Same_Bytes(Derive_Key(Text, parsed.salt, parsed.rounds), parsed.key);
}

void Save_Log_In_Password(const QString& New_Password)
{
    Open_Database().Execute(
        "UPDATE Settings SET Furrowline_Password = ? "
        "WHERE rowid = (SELECT rowid FROM Settings ORDER BY rowid LIMIT 1)",
        {Password_Hash(New_Password)});
}
