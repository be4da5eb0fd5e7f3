#pragma once
// The SMTP client of the sending window: one message per connection, the
// dialogue driven by the server's replies (HELO, MAIL FROM, RCPT TO, DATA,
// the message block), QUIT once at the end of a batch. Each reply is taken
// as the answer to the one command awaiting it, in order; a reply that does
// not fit it (a 250 to DATA, a reply nobody asked for) ends the message as a
// protocol error. The message counts as sent only on the 250 that answers
// the final "." of its data.

#include <QByteArray>
#include <QObject>
#include <QString>

#include "dsSocket.h"

class SMTP_Session : public QObject {
    Q_OBJECT

public:
    // How the message in hand ended.
    enum class Outcome {
        None,          // still under way (or nothing sent yet)
        Accepted,      // the server took the message
        Refused,       // the server answered with an error (message shown)
        No_Connection, // no connection could be made ("Problem with Connection")
        Closed,        // the server closed the connection before taking it
        Given_Up,      // the sender stopped waiting (Give_Up)
        // The server is not taking mail now (a 421, or a refused greeting or
        // HELO): no message of the batch would fare better (message shown).
        Unavailable,
        // The replies broke the dialogue, or a reply line had no end
        // (message shown): nothing of the message went out as data.
        Protocol_Error,
        // The data went out but no 250 answered its final ".": the server
        // may or may not have taken it.
        Unconfirmed,
    };

    explicit SMTP_Session(QObject* parent = nullptr);

    // The port of the SMTP server: 25. Tests point the client elsewhere.
    static int Smtp_Port();
    static void Set_Port_Override(int Port);   // 0: the standard port again

    // Stores the message in hand, closes the previous connection and
    // connects to the SMTP_Server setting (30 seconds at most). Returns when
    // the connection is up or has failed; the rest of the dialogue runs on
    // the server's replies, and Finished tells how it ended.
    // Message_ID (without angle brackets) names the message, the same at
    // every try of it; empty: a new one.
    void Send_SMTP_Mail(const QString& FromEmail, const QString& FromEmailName,
                        const QString& ToEmail, const QString& ToEmailName,
                        const QString& Subject, const QString& Message,
                        const QString& Message_ID = QString());

    // Sends the line with CR LF and records its verb.
    void Send_Command(const QString& Line);
    void Socket_Disconnect();
    // The sender stops waiting for the message in hand: its connection is closed.
    void Give_Up();

    bool Busy() const { return busy_; }
    Outcome Last_Outcome() const { return outcome_; }
    bool Message_Accepted() const { return outcome_ == Outcome::Accepted; }

    // 0 connected, 2 timed out, 4 the connection could not be made.
    int Socket_Connect(int Port, const QString& Host, int Timeout_Seconds);
    void Socket_Send_Data(const QByteArray& Data);

    static bool Is_Dotted_Quad(const QString& Host);
    static QString Get_Token(const QString& Text, QChar Delimiter, int N);
    // Header values are one line: CR and LF become blanks.
    static QString One_Line(const QString& Value);
    // The block sent after 354: the message composed as an Internet message
    // (Date, From, To, Subject, Message-ID, MIME-Version, Content-Type),
    // CR LF line ends, dot-stuffed, and the closing ".".
    QByteArray SMTP_Message_Block() const;
    // What went wrong with the message in hand, for the sender to tell.
    QString Failure_Text() const { return failure_; }

    // Dialogue state of the message in hand.
    QString SMTP_FromEmail, SMTP_FromEmailName, SMTP_ToEmail, SMTP_ToEmailName;
    QString SMTP_Subject, SMTP_Message, SMTP_Message_ID;
    QString Last_SMTP_Verb;
    QString Server_Host;
    int Last_Reply_Code = 0;
    bool Greeting_Answered = false;
    bool Socket_Connected = false;
    bool Socket_Send_Ready = false;

    dsSocket dsSocket1;

Q_SIGNALS:
    void Finished(bool Accepted);

private:
    void dsSocket1_Receive(const QByteArray& Data);
    void dsSocket1_Connect();
    void dsSocket1_Close();
    void dsSocket1_SendReady();
    void dsSocket1_Failed(const QString& Description);
    // What the message in hand waits for: the reply to which command.
    enum class Awaiting { Nothing, Greeting, Helo, Mail, Rcpt, Data, Message_End };
    void Send_Step(Awaiting Step, const QString& Line);
    static QString Awaited_Answer(Awaiting Step);
    void Finish(Outcome How);
    void Fail(Outcome How, const QString& Text);

    Awaiting awaiting_ = Awaiting::Nothing;
    int awaiting_sends_ = 0;     // the socket's Sends once the awaited command went out
    bool data_sent_ = false;     // the message block went out
    QString failure_;
    bool busy_ = false;
    bool connect_failed_ = false;
    Outcome outcome_ = Outcome::None;
};
