#include "SMTP_Session.h"

#include <QRegularExpression>

#include "Clock.h"
#include "Dialogs.h"
#include "Engine_Hooks.h"
#include "Mail_Compose.h"
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
                                  const QString& Subject, const QString& Message,
                                  const QString& Message_ID)
{
    Server_Host = Current_Settings().SMTP_Server;
    // Values from outside must not add lines to the dialogue or the header.
    SMTP_FromEmail = One_Line(FromEmail);
    SMTP_FromEmailName = One_Line(FromEmailName);
    SMTP_ToEmail = One_Line(ToEmail);
    SMTP_ToEmailName = One_Line(ToEmailName);
    SMTP_Subject = One_Line(Subject);
    SMTP_Message = Message;
    const int at = SMTP_FromEmail.indexOf('@');
    SMTP_Message_ID = !Message_ID.isEmpty() ? Message_ID
                                            : New_Message_ID(at < 0 ? QString() : SMTP_FromEmail.mid(at + 1));
    Greeting_Answered = false;
    outcome_ = Outcome::None;
    failure_.clear();
    data_sent_ = false;
    busy_ = true;
    // Replies may come in while the connection is awaited; the first is the greeting.
    awaiting_ = Awaiting::Greeting;
    awaiting_sends_ = dsSocket1.Sends();

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
        Finish(data_sent_ ? Outcome::Unconfirmed : Outcome::Given_Up);
    Socket_Disconnect();
}

void SMTP_Session::Send_Command(const QString& Line)
{
    Last_SMTP_Verb = Get_Token(Line, ' ', 1);
    Socket_Send_Data((Line + "\r\n").toUtf8());
}

void SMTP_Session::Send_Step(Awaiting Step, const QString& Line)
{
    Send_Command(Line);
    awaiting_ = Step;
    awaiting_sends_ = dsSocket1.Sends();
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
    Outgoing_Mail mail;
    mail.From_Address = SMTP_FromEmail;
    mail.From_Name = SMTP_FromEmailName;
    mail.To_Address = SMTP_ToEmail;
    mail.To_Name = SMTP_ToEmailName;
    mail.Subject = SMTP_Subject;
    mail.Text = SMTP_Message;
    mail.Date = Now();
    mail.Message_ID = SMTP_Message_ID;
    // Every line end goes out as CR LF, and a line that begins with "." gets
    // one more, so that no line of the message can end the data early.
    QByteArrayList lines = Compose_Mail(mail).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QByteArray block;
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('.'))
            block += '.';
        block += line + "\r\n";
    }
    block += ".\r\n";
    return block;
}

void SMTP_Session::Finish(Outcome How)
{
    if (!busy_)
        return;
    busy_ = false;
    awaiting_ = Awaiting::Nothing;
    Greeting_Answered = false;
    outcome_ = How;
    Q_EMIT Finished(How == Outcome::Accepted);
    Wake_Waits();
}

void SMTP_Session::dsSocket1_Connect()
{
    Socket_Connected = true;
}

void SMTP_Session::Fail(Outcome How, const QString& Text)
{
    if (!busy_)
        return;
    Restore_Mouse_Pointer();
    failure_ = Text;
    // Once the data is out, only the server's own refusal says it was not taken.
    if (data_sent_ && (How == Outcome::Protocol_Error || How == Outcome::Closed))
        How = Outcome::Unconfirmed;
    // After a broken dialogue or a server that goes away nothing more is said.
    if (How != Outcome::Refused)
        Socket_Disconnect();
    Finish(How);
    if (How == Outcome::Refused || How == Outcome::Unavailable || How == Outcome::Protocol_Error)
        Message_Box(Text, vbInformation | vbOKOnly, "Error From Server");
}

void SMTP_Session::dsSocket1_Close()
{
    Socket_Connected = false;
    Fail(Outcome::Closed, "The server closed the connection.");
}

void SMTP_Session::dsSocket1_SendReady()
{
    Socket_Send_Ready = true;
}

void SMTP_Session::dsSocket1_Failed(const QString& Description)
{
    connect_failed_ = true;
    const bool was_connected = Socket_Connected;
    Socket_Connected = false;
    if (Description.startsWith("The server sent a reply"))
        Fail(Outcome::Protocol_Error, Description);
    else if (was_connected)
        Fail(Outcome::Closed, Description);
}

QString SMTP_Session::Awaited_Answer(Awaiting Step)
{
    switch (Step) {
    case Awaiting::Nothing: break;
    case Awaiting::Greeting: return "the connection";
    case Awaiting::Helo: return "HELO";
    case Awaiting::Mail: return "MAIL FROM";
    case Awaiting::Rcpt: return "RCPT TO";
    case Awaiting::Data: return "DATA";
    case Awaiting::Message_End: return "the end of the data";
    }
    return QString();
}

void SMTP_Session::dsSocket1_Receive(const QByteArray& Data)
{
    Last_Reply_Code = Reply_Code(Data);
    if (!busy_)
        return;   // a late reply (to QUIT, or after giving up)
    const int code = Last_Reply_Code;
    const QString text = QString::fromUtf8(Data).trimmed();
    const QString told = QString::fromUtf8(Data.mid(3)).trimmed();
    const Awaiting step = awaiting_;

    // A reply that was in before its command went out answers something else.
    if (step == Awaiting::Nothing || dsSocket1.Sends_Before_Reply() < awaiting_sends_ || code < 100) {
        Fail(Outcome::Protocol_Error, "The server sent a reply nobody asked for: " + text);
        return;
    }
    if (code == 421) {
        Fail(Outcome::Unavailable, told);
        return;
    }
    auto unexpected = [&](const char* expected) {
        Fail(Outcome::Protocol_Error,
             QString("The server's reply to %1 was not the %2 due: %3").arg(Awaited_Answer(step), expected, text));
    };

    switch (step) {
    case Awaiting::Nothing:
        break;
    case Awaiting::Greeting:
        if (code >= 400)
            Fail(Outcome::Unavailable, told);
        else if (code != 220)
            unexpected("220");
        else {
            Greeting_Answered = true;
            Socket_Connected = true;
            const int at = SMTP_FromEmail.indexOf('@');
            const QString domain = at < 0 ? QString(Placeholder_Helo_Domain) : SMTP_FromEmail.mid(at + 1);
            Send_Step(Awaiting::Helo, "HELO " + domain);
        }
        break;
    case Awaiting::Helo:
        if (code >= 400)
            Fail(Outcome::Unavailable, told);
        else if (code != 250)
            unexpected("250");
        else
            Send_Step(Awaiting::Mail, "MAIL FROM: <" + SMTP_FromEmail + ">");
        break;
    case Awaiting::Mail:
        if (code >= 400)
            Fail(Outcome::Refused, told);
        else if (code != 250)
            unexpected("250");
        else
            Send_Step(Awaiting::Rcpt, "RCPT TO: <" + SMTP_ToEmail + ">");
        break;
    case Awaiting::Rcpt:
        if (code == 250 || code == 251) {
            Send_Step(Awaiting::Data, "DATA");
        } else if (code == 551) {
            const QString path = Get_Token(QString::fromUtf8(Data), '<', 2);
            const int end = path.indexOf('>');
            if (end < 0) {
                // Refused without a forward path: nothing more can come of it.
                Fail(Outcome::Refused, told);
                return;
            }
            SMTP_ToEmail = One_Line(path.left(end));
            Send_Step(Awaiting::Rcpt, "RCPT TO: <" + SMTP_ToEmail + ">");
        } else if (code >= 400) {
            Fail(Outcome::Refused, told);
        } else {
            unexpected("250");
        }
        break;
    case Awaiting::Data:
        if (code >= 400) {
            Fail(Outcome::Refused, told);
        } else if (code != 354) {
            unexpected("354");
        } else {
            const QByteArray block = SMTP_Message_Block();
            data_sent_ = true;
            Socket_Send_Data(block);
            awaiting_ = Awaiting::Message_End;
            awaiting_sends_ = dsSocket1.Sends();
        }
        break;
    case Awaiting::Message_End:
        if (code >= 400) {
            // The server said it did not take it.
            data_sent_ = false;
            Fail(Outcome::Refused, told);
        } else if (code != 250) {
            unexpected("250");
        } else {
            Restore_Mouse_Pointer();
            Finish(Outcome::Accepted);
        }
        break;
    }
}
