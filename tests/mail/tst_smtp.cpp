#include <QtTest>

#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>

#include "Dialogs.h"
#include "Mail_Parse.h"
#include "GlobalVariables.h"
#include "SMTP_Session.h"
#include "Smtp_Test_Server.h"
#include "Test_Support.h"
#include "dsSocket.h"
#include "Settings.h"

namespace {

// Sends one message and waits for its end as the sending window does.
bool Send(SMTP_Session& session, const QString& to, const QString& subject, const QString& message,
          const QString& from = "me@example.com", const QString& to_name = "Ann Lee")
{
    session.Send_SMTP_Mail(from, "Me Myself", to, to_name, subject, message);
    Wait_Until([&session] { return !session.Busy(); }, 120);
    return session.Message_Accepted();
}

QList<QByteArray> Lines(const QByteArray& data)
{
    return data.split('\n');
}

// The value of a header field, unfolded, as it stands on the wire.
QByteArray Header_Value(const QByteArray& data, const QByteArray& name)
{
    const QByteArray header = data.left(data.indexOf("\r\n\r\n")).replace("\r\n ", " ").replace("\r\n\t", " ");
    for (const QByteArray& line : header.split('\n'))
        if (line.startsWith(name + ":"))
            return line.mid(name.size() + 1).trimmed();
    return QByteArray();
}

// The display name of the To field, its encoded words decoded by GMime.
QString Decoded_To_Name(const QByteArray& data)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("to.eml"));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    // Read back as a From field: the parser gives the sender's name.
    QByteArray swapped = "From: " + Header_Value(data, "To") + "\r\nSubject: x\r\n\r\nx\r\n";
    file.write(swapped);
    file.close();
    return Parse_Mail_File(file.fileName(), "to", dir.filePath("att")).Name;
}

// A peer, the test clock and dialogs, and a session pointed at the peer.
struct Session_Fixture {
    Smtp_Test_Server server;
    Test_Clock clock;
    Scripted_Dialogs dialogs;
    SMTP_Session session;

    explicit Session_Fixture(Smtp_Test_Server::Mode mode = Smtp_Test_Server::Mode::Smtp)
        : server(mode)
    {
        Update_Settings([&](Program_Settings& s) { s.SMTP_Server = "127.0.0.1"; });
        SMTP_Session::Set_Port_Override(server.Port());
    }
};

} // namespace

class Smtp_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { SMTP_Session::Set_Port_Override(0); }
    void cleanup() { SMTP_Session::Set_Port_Override(0); }

    void the_standard_port_is_25()
    {
        QCOMPARE(SMTP_Session::Smtp_Port(), 25);
        SMTP_Session::Set_Port_Override(2525);
        QCOMPARE(SMTP_Session::Smtp_Port(), 2525);
    }

    void a_message_is_accepted_as_an_internet_message_with_dot_stuffing()
    {
        Session_Fixture f;
        QVERIFY(f.server.Started());
        auto& [server, clock, dialogs, session] = f;

        const QString text = "First line\n.\n..two dots\r\n.starts with a dot\rlast";
        QVERIFY(Send(session, "ann@example.com", "Your car", text));
        QVERIFY(dialogs.messages.isEmpty());

        // On the wire: CR LF line ends, every line starting with "." doubled.
        const QByteArray block = session.SMTP_Message_Block();
        QVERIFY(block.endsWith("\r\nlast\r\n.\r\n"));
        QVERIFY(block.contains("\r\n\r\nFirst line\r\n..\r\n...two dots\r\n..starts with a dot\r\n"));
        QVERIFY(!block.contains("\n\n") && !block.left(block.size() - 2).contains("\r\n.\r\n"));

        QTRY_COMPARE(server.Messages().size(), 1);
        const Received_Mail mail = server.Messages().first();
        QCOMPARE(mail.from, QString("me@example.com"));
        QCOMPARE(mail.to, QStringList({"ann@example.com"}));
        QByteArrayList header = Lines(mail.data.left(mail.data.indexOf("\r\n\r\n") + 1));
        std::sort(header.begin(), header.end());
        QCOMPARE(header.size(), 8);
        QCOMPARE(header[0], QByteArray("Content-Transfer-Encoding: 7bit\r"));
        QCOMPARE(header[1], QByteArray("Content-Type: text/plain; charset=utf-8\r"));
        QCOMPARE(header[2], QByteArray("Date: Thu, 10 Dec 2026 10:00:00 +0000\r"));
        QCOMPARE(header[3], QByteArray("From: Me Myself <me@example.com>\r"));
        QCOMPARE(header[4], QByteArray("MIME-Version: 1.0\r"));
        QVERIFY2(QRegularExpression("^Message-Id: <[^<>@ ]+@example\\.com>\r$").match(header[5]).hasMatch(),
                 header[5].constData());
        QCOMPARE(header[6], QByteArray("Subject: Your car\r"));
        QCOMPARE(header[7], QByteArray("To: Ann Lee <ann@example.com>\r"));
        QCOMPARE(mail.data.mid(mail.data.indexOf("\r\n\r\n") + 4),
                 QByteArray("First line\r\n.\r\n..two dots\r\n.starts with a dot\r\nlast\r\n"));

        // A second message on the same session: a new connection, accepted
        // too, with a Message-ID of its own unless it is given one.
        QVERIFY(Send(session, "bob@example.com", "Again", "Text"));
        session.Send_SMTP_Mail("me@example.com", "Me", "cy@example.com", "Cy", "Third", "Text", "given.7@example.com");
        QVERIFY(Wait_Until([&session] { return !session.Busy(); }, 120) && session.Message_Accepted());
        session.Send_Command("QUIT");
        QTRY_COMPARE(server.Messages().size(), 3);
        const QByteArray id_1 = Header_Value(server.Messages()[0].data, "Message-Id");
        const QByteArray id_2 = Header_Value(server.Messages()[1].data, "Message-Id");
        QVERIFY(!id_1.isEmpty() && id_1 != id_2);
        QCOMPARE(Header_Value(server.Messages()[2].data, "Message-Id"), QByteArray("<given.7@example.com>"));
    }

    // What a mail client makes of the message: GMime reads it back.
    void names_subjects_and_texts_arrive_readable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("text");
        QTest::newRow("accented name and subject") << "José Müller" << "Ihr Angebot für José" << "Grüße\nJosé";
        QTest::newRow("other scripts") << "Łukasz Żółw" << "Предложение 車" << "Привет, мир\n車のご案内";
        QTest::newRow("plain with a long line") << "Ann Lee" << "Plain" << QString(1500, 'a') + "\n.dot line";
        QTest::newRow("long text with a dot line") << "Zoë" << "Ça va" << "é" + QString(1200, 'b') + "\n.é\n=3D";
    }
    void names_subjects_and_texts_arrive_readable()
    {
        QFETCH(QString, name);
        QFETCH(QString, subject);
        QFETCH(QString, text);
        Session_Fixture f;
        QVERIFY(f.server.Started());
        auto& [server, clock, dialogs, session] = f;
        QVERIFY(Send(session, "ann@example.com", subject, text, "me@example.com", name));
        QTRY_COMPARE(server.Messages().size(), 1);
        const QByteArray data = server.Messages().first().data;
        // Every byte ASCII and every line within the standard's limit: any server takes it.
        for (const QByteArray& line : Lines(data)) {
            QVERIFY2(line.size() <= 999, line.left(80).constData());
            for (const char c : line)
                QVERIFY2(uchar(c) < 0x80, line.left(80).constData());
        }
        QVERIFY(data.contains("Content-Type: text/plain; charset=utf-8\r\n"));
        QTemporaryDir dir;
        QFile file(dir.filePath("mail.eml"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
        file.close();
        // The sender's own name and address are read the same way as the recipient's.
        const Mail_Content read = Parse_Mail_File(file.fileName(), "mail", dir.filePath("att"));
        QCOMPARE(read.Subject, subject);
        QCOMPARE(read.Name, QString("Me Myself"));
        QCOMPARE(read.Text, QString(text).replace("\n", "\r\n") + "\r\n");
        QVERIFY(Header_Value(data, "To").contains("<ann@example.com>"));
        QCOMPARE(Decoded_To_Name(data), name);
    }

    void header_values_cannot_add_lines()
    {
        Session_Fixture f;
        QVERIFY(f.server.Started());
        auto& [server, clock, dialogs, session] = f;

        QVERIFY(Send(session, "ann@example.com", "Hello\r\nBCC: evil@example.com\r\n\r\nfake body", "Text",
                     "me@example.com", "Ann\nX-Injected: yes"));
        QTRY_COMPARE(server.Messages().size(), 1);
        const Received_Mail mail = server.Messages().first();
        QCOMPARE(mail.to, QStringList({"ann@example.com"}));
        const QByteArray header = mail.data.left(mail.data.indexOf("\r\n\r\n"));
        QStringList names;
        for (const QByteArray& line : Lines(header))
            if (!line.startsWith(' ') && !line.startsWith('\t'))
                names << QString::fromLatin1(line.left(line.indexOf(':')));
        names.sort();
        QCOMPARE(names, QStringList({"Content-Transfer-Encoding", "Content-Type", "Date", "From", "MIME-Version",
                                     "Message-Id", "Subject", "To"}));
        QVERIFY(mail.data.endsWith("\r\n\r\nText\r\n"));

        // An address with a line break cannot slip in a second recipient.
        Send(session, "ann@example.com\r\nRCPT TO: <evil@example.com>", "S", "T");
        QTest::qWait(200);
        for (const Received_Mail& m : server.Messages())
            QVERIFY(!m.to.contains("evil@example.com"));
    }

    void a_551_reply_gives_the_forward_path()
    {
        Session_Fixture f;
        QVERIFY(f.server.Started());
        auto& [server, clock, dialogs, session] = f;

        QVERIFY(Send(session, "moved@example.com", "S", "T"));
        QCOMPARE(session.SMTP_ToEmail, QString("forwarded@example.com"));
        QTRY_COMPARE(server.Messages().size(), 1);
        QCOMPARE(server.Messages().first().to, QStringList({"forwarded@example.com"}));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void an_error_reply_ends_the_message_at_once_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("shown");
        QTest::newRow("recipient refused") << "me@example.com" << "refuse@example.com" << "5.1.1 Mailbox unavailable";
        QTest::newRow("551 without a forward path") << "me@example.com" << "lost@example.com" << "5.1.6 User not local";
        QTest::newRow("message refused after the data") << "reject@example.com" << "ann@example.com" << "5.6.0 Message refused";
    }
    void an_error_reply_ends_the_message_at_once()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, shown);
        Session_Fixture f;
        QVERIFY(f.server.Started());
        auto& [server, clock, dialogs, session] = f;

        const QDateTime start = clock.Now();
        QVERIFY(!Send(session, to, "S", "T", from));
        QCOMPARE(session.Last_Outcome(), SMTP_Session::Outcome::Refused);
        QVERIFY2(start.secsTo(clock.Now()) < 60, "the wait ran out instead of ending");
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QString("Error From Server"));
        QCOMPARE(dialogs.messages[0].text, shown);
        QVERIFY(server.Messages().isEmpty());
    }

    void a_server_that_never_answers_is_given_up_after_120_seconds()
    {
        Session_Fixture f(Smtp_Test_Server::Mode::Silent);
        QVERIFY(f.server.Started());
        auto& [server, clock, dialogs, session] = f;

        session.Send_SMTP_Mail("me@example.com", "Me", "ann@example.com", "Ann", "S", "T");
        QVERIFY(session.Busy());
        const QDateTime start = clock.Now();
        QVERIFY(!Wait_Until([&session] { return !session.Busy(); }, 120));
        QVERIFY(start.secsTo(clock.Now()) >= 120);
        session.Give_Up();
        QVERIFY(!session.Busy());
        QCOMPARE(session.Last_Outcome(), SMTP_Session::Outcome::Given_Up);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void an_unreachable_server_is_a_connection_problem()
    {
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        Update_Settings([&](Program_Settings& s) { s.SMTP_Server = "127.0.0.1"; });
        SMTP_Session::Set_Port_Override(Unused_Port());
        SMTP_Session session;

        session.Send_SMTP_Mail("me@example.com", "Me", "ann@example.com", "Ann", "S", "T");
        QVERIFY(!session.Busy());
        QCOMPARE(session.Last_Outcome(), SMTP_Session::Outcome::No_Connection);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QString("Problem with Connection"));
        QCOMPARE(dialogs.messages[0].title, QString(Program_Title));
    }

    // A scripted peer in this process: what the client sends, and replies cut
    // into pieces the way TCP may deliver them.
    void replies_arrive_whole_however_they_were_split()
    {
        QTcpServer peer;
        QVERIFY(peer.listen(QHostAddress::LocalHost, 0));
        QByteArray heard;
        QPointer<QTcpSocket> conn;
        connect(&peer, &QTcpServer::newConnection, this, [&] {
            conn = peer.nextPendingConnection();
            connect(conn, &QTcpSocket::readyRead, this, [&] { heard += conn->readAll(); });
            conn->write("220-mail.example.com ESMTP\r\n220-second li");
            conn->flush();
            QTimer::singleShot(100, conn, [&] {
                conn->write("ne\r\n220 last line\r\n");
                conn->flush();
            });
        });
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        Update_Settings([&](Program_Settings& s) { s.SMTP_Server = "127.0.0.1"; });
        SMTP_Session::Set_Port_Override(peer.serverPort());
        SMTP_Session session;
        QList<QByteArray> replies;
        connect(&session.dsSocket1, &dsSocket::Receive, this, [&](const QByteArray& r) { replies << r; });

        session.Send_SMTP_Mail("me@sales@example.com", "Me", "ann@example.com", "Ann", "S", "T");
        QTRY_VERIFY(heard.contains("\r\n"));
        QCOMPARE(replies.size(), 1);
        QCOMPARE(replies[0], QByteArray("220-mail.example.com ESMTP\r\n220-second line\r\n220 last line\r\n"));
        // Everything after the first "@" is the HELO domain.
        QCOMPARE(heard, QByteArray("HELO sales@example.com\r\n"));

        // A "250-" reply is one reply with the 250 it continues.
        heard.clear();
        conn->write("250-hello\r\n250 SIZE 100\r\n");
        conn->flush();
        QTRY_VERIFY(heard.contains("\r\n"));
        QCOMPARE(heard, QByteArray("MAIL FROM: <me@sales@example.com>\r\n"));
        QCOMPARE(replies.size(), 2);
        QVERIFY(session.Busy());
        session.Give_Up();
        QCOMPARE(session.Last_Outcome(), SMTP_Session::Outcome::Given_Up);
    }

    // Each reply answers the command before it, in order; the message counts
    // as sent only on the 250 to its final ".". What the server heard and kept
    // shows that nothing was taken for sent that was not.
    void misbehaving_servers_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("shown");       // "Error From Server" text, empty: none
        QTest::addColumn<int>("kept");            // messages whose data the server received
        QTest::addColumn<QStringList>("heard");   // the command lines the server heard, in order
        using M = Smtp_Test_Server::Mode;
        using O = SMTP_Session::Outcome;
        const QString helo = "HELO example.com", mail = "MAIL FROM: <me@example.com>",
                      rcpt = "RCPT TO: <ann@example.com>";
        QTest::newRow("DATA answered 250") << int(M::Data_Answered_250) << int(O::Protocol_Error)
            << "The server's reply to DATA was not the 354 due: 250 OK" << 0
            << QStringList({helo, mail, rcpt, "DATA"});
        QTest::newRow("an extra reply after HELO") << int(M::Extra_Reply_After_Helo) << int(O::Protocol_Error)
            << "The server sent a reply nobody asked for: 250 one more" << 0 << QStringList({helo, mail});
        QTest::newRow("a second greeting") << int(M::Second_Greeting) << int(O::Protocol_Error)
            << "The server sent a reply nobody asked for: 220 peer ready again" << 0 << QStringList({helo, mail});
        QTest::newRow("421 greeting") << int(M::Greeting_421) << int(O::Unavailable)
            << "4.3.2 Service not available, closing channel" << 0 << QStringList();
        QTest::newRow("421 to MAIL FROM") << int(M::Mail_421) << int(O::Unavailable)
            << "4.7.0 Try again later, closing channel" << 0 << QStringList({helo, mail});
        QTest::newRow("closed after the final dot") << int(M::Close_After_Dot) << int(O::Unconfirmed) << ""
            << 1 << QStringList({helo, mail, rcpt, "DATA"});
        QTest::newRow("no reply to the final dot") << int(M::No_Reply_To_Dot) << int(O::Unconfirmed) << ""
            << 1 << QStringList({helo, mail, rcpt, "DATA"});
    }
    void misbehaving_servers()
    {
        QFETCH(int, mode);
        QFETCH(int, outcome);
        QFETCH(QString, shown);
        QFETCH(int, kept);
        QFETCH(QStringList, heard);
        Session_Fixture f{Smtp_Test_Server::Mode(mode)};
        QVERIFY(f.server.Started());
        auto& [server, clock, dialogs, session] = f;

        session.Send_SMTP_Mail("me@example.com", "Me", "ann@example.com", "Ann", "S", "T");
        if (!Wait_Until([&session] { return !session.Busy(); }, 120))
            session.Give_Up();
        QCOMPARE(int(session.Last_Outcome()), outcome);
        QVERIFY(!session.Message_Accepted());
        QCOMPARE(dialogs.Texts(), shown.isEmpty() ? QStringList() : QStringList({shown}));
        if (!shown.isEmpty())
            QCOMPARE(dialogs.messages[0].title, QString("Error From Server"));
        QTRY_COMPARE(server.Commands(), heard);
        QCOMPARE(server.Messages().size(), kept);
        // Nothing more is said on that connection.
        QTest::qWait(100);
        QCOMPARE(server.Commands(), heard);
    }

    void an_endless_reply_line_ends_the_session()
    {
        Session_Fixture f(Smtp_Test_Server::Mode::Endless_Line);
        QVERIFY(f.server.Started());
        auto& [server, clock, dialogs, session] = f;

        session.Send_SMTP_Mail("me@example.com", "Me", "ann@example.com", "Ann", "S", "T");
        QVERIFY(Wait_Until([&session] { return !session.Busy(); }, 120));
        QCOMPARE(session.Last_Outcome(), SMTP_Session::Outcome::Protocol_Error);
        QCOMPARE(dialogs.Texts(), QStringList({"The server sent a reply line longer than 4096 bytes."}));
        // The client hung up long before the peer's 256 MB went out.
        QTRY_VERIFY(server.Endless_Bytes_Sent() >= 0);
        QVERIFY2(server.Endless_Bytes_Sent() < 64 * 1024 * 1024, qPrintable(QString::number(server.Endless_Bytes_Sent())));
        QVERIFY(server.Commands().isEmpty());
    }

    // A scripted peer in this process: the limits of a reply, to the byte.
    void reply_length_limits_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("taken");
        const QByteArray line = "220 " + QByteArray(dsSocket::Max_Reply_Line - 6, 'x') + "\r\n";
        QTest::newRow("a line at the limit") << line << true;
        QTest::newRow("a line one byte longer") << "220 x" + line.mid(4) << false;
        QByteArray many;
        while (many.size() <= dsSocket::Max_Reply)
            many += "220-" + QByteArray(200, 'y') + "\r\n";
        QTest::newRow("too many lines") << many + "220 end\r\n" << false;
    }
    void reply_length_limits()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, taken);
        QTcpServer peer;
        QVERIFY(peer.listen(QHostAddress::LocalHost, 0));
        QByteArray heard;
        connect(&peer, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* conn = peer.nextPendingConnection();
            connect(conn, &QTcpSocket::readyRead, this, [&heard, conn] { heard += conn->readAll(); });
            conn->write(reply);
        });
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        Update_Settings([&](Program_Settings& s) { s.SMTP_Server = "127.0.0.1"; });
        SMTP_Session::Set_Port_Override(peer.serverPort());
        SMTP_Session session;
        session.Send_SMTP_Mail("me@example.com", "Me", "ann@example.com", "Ann", "S", "T");
        if (taken) {
            QTRY_COMPARE(heard, QByteArray("HELO example.com\r\n"));
            QVERIFY(session.Busy());
            session.Give_Up();
        } else {
            QVERIFY(Wait_Until([&session] { return !session.Busy(); }, 60));
            QCOMPARE(session.Last_Outcome(), SMTP_Session::Outcome::Protocol_Error);
            QCOMPARE(dialogs.messages.size(), 1);
            QVERIFY(heard.isEmpty());
        }
    }

    void helo_domain_without_an_at_sign_is_a_placeholder()
    {
        QTcpServer peer;
        QVERIFY(peer.listen(QHostAddress::LocalHost, 0));
        QByteArray heard;
        connect(&peer, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* conn = peer.nextPendingConnection();
            connect(conn, &QTcpSocket::readyRead, this, [&heard, conn] { heard += conn->readAll(); });
            conn->write("220 hi\r\n");
        });
        Test_Clock clock;
        Scripted_Dialogs dialogs;
        Update_Settings([&](Program_Settings& s) { s.SMTP_Server = "127.0.0.1"; });
        SMTP_Session::Set_Port_Override(peer.serverPort());
        SMTP_Session session;
        session.Send_SMTP_Mail("nobody", "Me", "ann@example.com", "Ann", "S", "T");
        QTRY_VERIFY(heard.endsWith("\r\n"));
        QCOMPARE(heard, QByteArray("HELO localhost\r\n"));
        session.Give_Up();
    }

    void dotted_quads_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("quad");
        QTest::newRow("plain") << "192.168.0.1" << true;
        QTest::newRow("blanks around") << " 10.0.0.255 " << true;
        QTest::newRow("leading zero") << "10.01.0.1" << false;
        QTest::newRow("above 255") << "10.0.0.256" << false;
        QTest::newRow("three parts") << "10.0.1" << false;
        QTest::newRow("five parts") << "1.2.3.4.5" << false;
        QTest::newRow("numeric first label") << "123.mail.example.com" << false;
        QTest::newRow("name") << "smtp.example.com" << false;
    }
    void dotted_quads()
    {
        QFETCH(QString, host);
        QFETCH(bool, quad);
        QCOMPARE(SMTP_Session::Is_Dotted_Quad(host), quad);
    }

    void tokens()
    {
        QCOMPARE(SMTP_Session::Get_Token("HELO example.com", ' ', 1), QString("HELO"));
        QCOMPARE(SMTP_Session::Get_Token("DATA", ' ', 1), QString("DATA"));
        QCOMPARE(SMTP_Session::Get_Token("551 try <a@b>", '<', 2), QString("a@b>"));
        QCOMPARE(SMTP_Session::Get_Token("a,b", ',', 3), QString());
    }
};

QTEST_GUILESS_MAIN(Smtp_Test)
#include "tst_smtp.moc"
