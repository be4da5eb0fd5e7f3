#include "SMTP_Session.h"

#include <QRegularExpression>

#include "Clock.h"
#include "Dialogs.h"
#include "Engine_Hooks.h"
#include "Process_State.h"
#include "Settings.h"

namespace {

struct Smtp_Port {
    int override_port = 0;
    void Reset() { override_port = 0; }
};

int& Port_Override()
{
    return Owned_State<Smtp_Port>().override_port;
}

// Sent in HELO when the sender address names no domain.
const char* const Placeholder_Helo_Domain = "localhost";

// The number the text begins with (at most its first three characters).
int Reply_Code(const QByteArray& data)
{
    int code = 0;
    for (int i = 0; i < 3 && i < data.size() && data[i] >= '0' && data[i] <= '9'; ++i)
        code = code * 10 + (data[i] - '0');
    return code;
}

bool Is_Decimal_Byte(const QString& part)
{
    if (part.isEmpty() || part.size() > 3)
        return false;
    bool ok = false;
    const int value = part.toInt(&ok);
    return ok && value >= 0 && value <= 255 && QString::number(value) == part;
}

} // namespace

SMTP_Session::SMTP_Session(QObject* parent)
    : QObject(parent)
{
    connect(&dsSocket1, &dsSocket::Receive, this, &SMTP_Session::dsSocket1_Receive);
    connect(&dsSocket1, &dsSocket::Connect, this, &SMTP_Session::dsSocket1_Connect);
    connect(&dsSocket1, &dsSocket::Close, this, &SMTP_Session::dsSocket1_Close);
    connect(&dsSocket1, &dsSocket::SendReady, this, &SMTP_Session::dsSocket1_SendReady);
    connect(&dsSocket1, &dsSocket::Failed, this, &SMTP_Session::dsSocket1_Failed);
}

int SMTP_Session::Smtp_Port()
{
    return Port_Override() > 0 ? Port_Override() : 25;
}

void SMTP_Session::Set_Port_Override(int Port)
{
    Port_Override() = Port;
}

QString SMTP_Session::One_Line(const QString& Value)
{
    static const QRegularExpression breaks("[\\r\\n]+");
    QString text = Value;
    return text.replace(breaks, " ");
}

void SMTP_Session::Send_SMTP_Mail(const QString& FromEmail, const QString& FromEmailName,
                                  const QString& ToEmail, const QString& ToEmailName,
                                  const QString& Subject, const QString& Message)
{
    Server_Host = Current_Settings().SMTP_Server;
    // Values from outside must not add lines to the dialogue or the header.
    SMTP_FromEmail = One_Line(FromEmail);
    SMTP_FromEmailName = One_Line(FromEmailName);
    SMTP_ToEmail = One_Line(ToEmail);
    SMTP_ToEmailName = One_Line(ToEmailName);
    SMTP_Subject = One_Line(Subject);
    SMTP_Message = Message;
    Greeting_Answered = false;
    outcome_ = Outcome::None;
    busy_ = true;

    const int result = Socket_Connect(Smtp_Port(), Server_Host, 30);
    if (result != 0 && busy_) {
        Restore_Mouse_Pointer();
        Finish(Outcome::No_Connection);
        Socket_Disconnect();
        Message_Box("Problem with Connection", vbInformation | vbOKOnly, Program_Title);
    }
}

int SMTP_Session::Socket_Connect(int Port, const QString& Host, int Timeout_Seconds)
{
    dsSocket1.Action(1);
    dsSocket1.Set_RemotePort(Port);
    if (Is_Dotted_Quad(Host))
        dsSocket1.Set_RemoteDotAddr(Host);
    else
        dsSocket1.Set_RemoteHost(Host.trimmed());
    Socket_Connected = false;
    connect_failed_ = false;
    if (!dsSocket1.Action(2))
        return 4;
    Wait_Until([this] { return Socket_Connected || connect_failed_ || !busy_; }, Timeout_Seconds);
    if (Socket_Connected)
        return 0;
    return connect_failed_ ? 4 : 2;
}

void SMTP_Session::Socket_Disconnect()
{
    dsSocket1.Action(1);
    Socket_Connected = false;
}

void SMTP_Session::Give_Up()
{
    if (busy_)
        Finish(Outcome::Given_Up);
    Socket_Disconnect();
}

void SMTP_Session::Send_Command(const QString& Line)
{
    Last_SMTP_Verb = Get_Token(Line, ' ', 1);
    Socket_Send_Data((Line + "\r\n").toUtf8());
}

void SMTP_Session::Socket_Send_Data(const QByteArray& Data)
{
    // The socket queues what it cannot send at once; without a connection
    // the data is dropped, as a send error would drop it.
    Socket_Send_Ready = false;
    dsSocket1.Send(Data);
}

bool SMTP_Session::Is_Dotted_Quad(const QString& Host)
{
    const QStringList parts = Host.trimmed().split('.');
    if (parts.size() < 4)
        return false;
    // Three parts before a point each, the rest judged as one number.
    const QString rest = QStringList(parts.mid(3)).join('.');
    for (int i = 0; i < 3; ++i)
        if (!Is_Decimal_Byte(parts[i]))
            return false;
    return Is_Decimal_Byte(rest);
}

QString SMTP_Session::Get_Token(const QString& Text, QChar Delimiter, int N)
{
    QString rest = Text;
    for (int i = 1; i < N; ++i) {
        const int at = rest.indexOf(Delimiter);
        if (at < 0)
            return QString();
        rest = rest.mid(at + 1);
    }
    const int end = rest.indexOf(Delimiter);
    return end < 0 ? rest : rest.left(end);
}

QByteArray SMTP_Session::SMTP_Message_Block() const
{
    const QDateTime now = Now();
    QString block;
    block += "DATE: " + now.toString("dd MMM yy") + " " + now.toString("hh:mm:ss") + "\r\n";
    block += "FROM: " + SMTP_FromEmailName + " <" + SMTP_FromEmail + "> \r\n";
    block += "TO: " + SMTP_ToEmailName + " <" + SMTP_ToEmail + "> \r\n";
    block += "SUBJECT: " + SMTP_Subject + "\r\n";
    block += "\r\n";
    // Every line end goes out as CR LF, and a line that begins with "." gets
    // one more, so that no line of the text can end the data early.
    QString text = SMTP_Message;
    text.replace("\r\n", "\n").replace('\r', '\n');
    QStringList lines = text.split('\n');
    for (QString& line : lines)
        if (line.startsWith('.'))
            line.prepend('.');
    block += lines.join("\r\n") + "\r\n";
    block += ".\r\n";
    return block.toUtf8();
}

void SMTP_Session::Finish(Outcome How)
{
    if (!busy_)
        return;
    busy_ = false;
    outcome_ = How;
    Q_EMIT Finished(How == Outcome::Accepted);
    Wake_Waits();
}

void SMTP_Session::dsSocket1_Connect()
{
    Socket_Connected = true;
}

void SMTP_Session::dsSocket1_Close()
{
    Socket_Connected = false;
    Finish(Outcome::Closed);
}

void SMTP_Session::dsSocket1_SendReady()
{
    Socket_Send_Ready = true;
}

void SMTP_Session::dsSocket1_Failed(const QString&)
{
    connect_failed_ = true;
    if (Socket_Connected)
        Finish(Outcome::Closed);
    Socket_Connected = false;
}

void SMTP_Session::dsSocket1_Receive(const QByteArray& Data)
{
    Last_Reply_Code = Reply_Code(Data);
    if (!busy_)
        return;   // a late reply (to QUIT, or after giving up)
    const int code = Last_Reply_Code;
    const QString& verb = Last_SMTP_Verb;

    auto error_from_server = [this, &Data] {
        Restore_Mouse_Pointer();
        Greeting_Answered = false;
        Finish(Outcome::Refused);
        Message_Box(QString::fromUtf8(Data.mid(3)).trimmed(), vbInformation | vbOKOnly,
                    "Error From Server");
    };

    if (code == 220) {
        if (!Greeting_Answered) {
            Greeting_Answered = true;
            Socket_Connected = true;
            const int at = SMTP_FromEmail.indexOf('@');
            const QString domain = at < 0 ? QString(Placeholder_Helo_Domain) : SMTP_FromEmail.mid(at + 1);
            Send_Command("HELO " + domain);
        }
    } else if (code == 250 || code == 251) {
        if (verb == "HELO") {
            Send_Command("MAIL FROM: <" + SMTP_FromEmail + ">");
        } else if (verb == "MAIL") {
            Send_Command("RCPT TO: <" + SMTP_ToEmail + ">");
        } else if (verb == "RCPT") {
            Send_Command("DATA");
        } else if (verb == "DATA") {
            Restore_Mouse_Pointer();
            Greeting_Answered = false;
            Finish(Outcome::Accepted);
        }
    } else if (code == 354) {
        if (verb == "DATA")
            Socket_Send_Data(SMTP_Message_Block());
    } else if (code == 551 && verb == "RCPT") {
        const QString path = Get_Token(QString::fromUtf8(Data), '<', 2);
        const int end = path.indexOf('>');
        if (end < 0) {
            // Refused without a forward path: nothing more can come of it.
            error_from_server();
            return;
        }
        SMTP_ToEmail = One_Line(path.left(end));
        Send_Command("RCPT TO: <" + SMTP_ToEmail + ">");
    } else if (code >= 400) {
        error_from_server();
    }
}
