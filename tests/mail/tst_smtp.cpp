#include <QtTest>

#include <QTcpServer>
#include <QTcpSocket>

#include "Dialogs.h"
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

    void a_message_is_accepted_with_its_header_lines_and_dot_stuffing()
    {
        Session_Fixture f;
        QVERIFY(f.server.Started());
        auto& [server, clock, dialogs, session] = f;

        const QString text = "First line\n.\n..two dots\r\n.starts with a dot\rlast";
        QVERIFY(Send(session, "ann@example.com", "Your car", text));
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(session.Last_SMTP_Verb, QString("DATA"));

        // On the wire: CR LF line ends, every line starting with "." doubled.
        const QByteArray block = session.SMTP_Message_Block();
        QVERIFY(block.endsWith("\r\nlast\r\n.\r\n"));
        QVERIFY(block.contains("\r\nFirst line\r\n..\r\n...two dots\r\n..starts with a dot\r\n"));

        QTRY_COMPARE(server.Messages().size(), 1);
        const Received_Mail mail = server.Messages().first();
        QCOMPARE(mail.from, QString("me@example.com"));
        QCOMPARE(mail.to, QStringList({"ann@example.com"}));
        const QList<QByteArray> lines = Lines(mail.data);
        QVERIFY2(lines[0].startsWith("DATE: 10 Dec 26 10:00:"), lines[0].constData());
        QCOMPARE(lines[1], QByteArray("FROM: Me Myself <me@example.com> \r"));
        QCOMPARE(lines[2], QByteArray("TO: Ann Lee <ann@example.com> \r"));
        QCOMPARE(lines[3], QByteArray("SUBJECT: Your car\r"));
        QCOMPARE(lines[4], QByteArray("\r"));
        QCOMPARE(mail.data.mid(mail.data.indexOf("\r\n\r\n") + 4),
                 QByteArray("First line\r\n.\r\n..two dots\r\n.starts with a dot\r\nlast\r\n"));

        // A second message on the same session: a new connection, accepted too.
        QVERIFY(Send(session, "bob@example.com", "Again", "Text"));
        session.Send_Command("QUIT");
        QTRY_COMPARE(server.Messages().size(), 2);
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
        QCOMPARE(Lines(header).size(), 4);
        QVERIFY(header.contains("SUBJECT: Hello BCC: evil@example.com fake body"));
        QVERIFY(header.contains("TO: Ann X-Injected: yes <ann@example.com> "));

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

        // Two replies in one segment move the dialogue two steps; a "250-"
        // reply counts as the 250 it continues; a second greeting gets no HELO.
        heard.clear();
        conn->write("220 again\r\n250-hello\r\n250 SIZE 100\r\n");
        conn->flush();
        QTRY_VERIFY(heard.contains("\r\n"));
        QTest::qWait(100);
        QCOMPARE(heard, QByteArray("MAIL FROM: <me@sales@example.com>\r\n"));
        QCOMPARE(replies.size(), 3);
        session.Give_Up();
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
