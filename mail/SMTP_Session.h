#pragma once
// The SMTP client of the sending window: one message per connection, the
// dialogue driven by the server's replies (HELO, MAIL FROM, RCPT TO, DATA,
// the message block), QUIT once at the end of a batch.

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
    };

    explicit SMTP_Session(QObject* parent = nullptr);

    // The port of the SMTP server: 25. Tests point the client elsewhere.
    static int Smtp_Port();
    static void Set_Port_Override(int Port);   // 0: the standard port again

    // Stores the message in hand, closes the previous connection and
    // connects to the SMTP_Server setting (30 seconds at most). Returns when
    // the connection is up or has failed; the rest of the dialogue runs on
    // the server's replies, and Finished tells how it ended.
    void Send_SMTP_Mail(const QString& FromEmail, const QString& FromEmailName,
                        const QString& ToEmail, const QString& ToEmailName,
                        const QString& Subject, const QString& Message);

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
    // The block sent after 354: header lines, the text with CR LF line ends
    // and dot-stuffed, and the closing ".".
    QByteArray SMTP_Message_Block() const;

    // Dialogue state of the message in hand.
    QString SMTP_FromEmail, SMTP_FromEmailName, SMTP_ToEmail, SMTP_ToEmailName;
    QString SMTP_Subject, SMTP_Message;
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
    void Finish(Outcome How);

    bool busy_ = false;
    bool connect_failed_ = false;
    Outcome outcome_ = Outcome::None;
};
