#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "Ftp_Server.h"
#include "Inet.h"

namespace {

// Runs one command and waits (handling events) for its last state.
int Run(Inet& inet, const QString& command, const QStringList& arguments, int timeout_ms = 20000)
{
    QSignalSpy spy(&inet, &Inet::StateChanged);
    inet.Execute(command, arguments);
    const auto last = [&spy] {
        for (const QList<QVariant>& s : spy)
            if (s.at(0).toInt() == Inet::icError || s.at(0).toInt() == Inet::icResponseCompleted)
                return s.at(0).toInt();
        return 0;
    };
    QElapsedTimer timer;
    timer.start();
    while (last() == 0 && timer.elapsed() < timeout_ms)
        spy.wait(100);
    return last();
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class Inet_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Inet::Set_Time_Limits(30, 60); }

    void get_and_delete_reach_the_server_intact_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("server_name");
        QTest::addColumn<QString>("remote");
        QTest::newRow("plain") << "leads" << "secret" << "today.csv" << "today.csv";
        QTest::newRow("absolute path") << "leads" << "secret" << "in/today.csv" << "/in/today.csv";
        QTest::newRow("blanks and signs") << "lead user" << "p@ss w:rd/%#?" << "new leads/a b&c #1%20.csv"
                                          << "new leads/a b&c #1%20.csv";
        QTest::newRow("non-ascii") << QString::fromUtf8("zoë") << QString::fromUtf8("über")
                                   << QString::fromUtf8("Müller.csv") << QString::fromUtf8("Müller.csv");
    }
    void get_and_delete_reach_the_server_intact()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, server_name);
        QFETCH(QString, remote);
        Ftp_Server server(user, password);
        QVERIFY(server.Started());
        const QByteArray content = "John,Q,Public,john@example.com\r\n";
        server.Write_File(server_name, content);
        QTemporaryDir local_dir;
        const QString local = local_dir.path() + "/ldata1234.txt";

        Inet inet;
        inet.URL = "ftp://" + server.Host();
        inet.UserName = user;
        inet.Password = password;
        QCOMPARE(Run(inet, "GET", {remote, local}), int(Inet::icResponseCompleted));
        QCOMPARE(Read(local), content);
        QVERIFY(server.Has_File(server_name));

        QCOMPARE(Run(inet, "DELETE", {remote}), int(Inet::icResponseCompleted));
        QVERIFY(!server.Has_File(server_name));
        QCOMPARE(Run(inet, "CLOSE", {}), int(Inet::icResponseCompleted));
    }

    void failures_report_an_error_state_with_code_and_text_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("wrong password") << "wrong" << "today.csv" << "GET" << 530
                                        << "refused the user name or password";
        QTest::newRow("missing remote file") << "secret" << "none.csv" << "GET" << 550
                                             << "not found on the FTP server";
        QTest::newRow("delete missing file") << "secret" << "none.csv" << "DELETE" << 550
                                             << "did not delete the file";
    }
    void failures_report_an_error_state_with_code_and_text()
    {
        QFETCH(QString, password);
        QFETCH(QString, remote);
        QFETCH(QString, command);
        QFETCH(int, code);
        QFETCH(QString, text);
        Ftp_Server server;
        QVERIFY(server.Started());
        server.Write_File("today.csv", "x\r\n");
        QTemporaryDir local_dir;
        const QString local = local_dir.path() + "/copy.txt";
        Inet inet;
        inet.URL = "ftp://" + server.Host();
        inet.UserName = "leads";
        inet.Password = password;
        const QStringList arguments = command == "GET" ? QStringList{remote, local} : QStringList{remote};
        QCOMPARE(Run(inet, command, arguments), int(Inet::icError));
        QCOMPARE(inet.Response_Code(), code);
        QVERIFY2(inet.Response_Info().contains(text), qPrintable(inet.Response_Info()));
        QVERIFY(!QFile::exists(local));   // no half file left behind
        QVERIFY(server.Has_File("today.csv"));
    }

    void an_existing_local_file_is_never_overwritten()
    {
        Ftp_Server server;
        QVERIFY(server.Started());
        server.Write_File("today.csv", "new\r\n");
        QTemporaryDir local_dir;
        const QString local = local_dir.path() + "/copy.txt";
        QFile file(local);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
        file.close();
        Inet inet;
        inet.URL = "ftp://" + server.Host();
        inet.UserName = "leads";
        inet.Password = "secret";
        QCOMPARE(Run(inet, "GET", {"today.csv", local}), int(Inet::icError));
        QCOMPARE(inet.Response_Code(), Inet::Local_File_Exists);
        QCOMPARE(Read(local), QByteArray("old"));
    }

    void a_silent_or_refusing_server_ends_the_wait_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        QTest::newRow("accepts and says nothing") << int(Ftp_Server::Mode::Silent) << "did not answer in time";
        QTest::newRow("stops answering at RETR") << int(Ftp_Server::Mode::Stall_Retr) << "did not answer in time";
        QTest::newRow("refuses") << -1 << "Could not connect";
    }
    void a_silent_or_refusing_server_ends_the_wait()
    {
        QFETCH(int, mode);
        QFETCH(QString, text);
        Inet::Set_Time_Limits(2, 2);
        std::unique_ptr<Ftp_Server> server;
        QString host = QString("127.0.0.1:%1").arg(Closed_Port());
        if (mode >= 0) {
            server = std::make_unique<Ftp_Server>("leads", "secret", Ftp_Server::Mode(mode));
            QVERIFY(server->Started());
            server->Write_File("today.csv", "x\r\n");
            host = server->Host();
        }
        QTemporaryDir local_dir;
        Inet inet;
        inet.URL = "ftp://" + host;
        inet.UserName = "leads";
        inet.Password = "secret";
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(Run(inet, "GET", {"today.csv", local_dir.path() + "/copy.txt"}), int(Inet::icError));
        QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(inet.Response_Info().contains(text), qPrintable(inet.Response_Info()));
        QVERIFY(!inet.Still_Executing());
    }

    void commands_are_refused_while_one_runs_or_when_unusable()
    {
        Ftp_Server server("leads", "secret", Ftp_Server::Mode::Silent);
        QVERIFY(server.Started());
        QTemporaryDir local_dir;
        Inet inet;
        inet.URL = "ftp://" + server.Host();
        inet.Execute("GET", {"today.csv", local_dir.path() + "/copy.txt"});
        QVERIFY(inet.Still_Executing());
        QVERIFY_THROWS_EXCEPTION(Inet_Error, inet.Execute("DELETE", {"today.csv"}));
        inet.Cancel();
        QTRY_VERIFY_WITH_TIMEOUT(!inet.Still_Executing(), 10000);
        QVERIFY(inet.Response_Info().contains("cancelled"));

        QVERIFY_THROWS_EXCEPTION(Inet_Error, inet.Execute("PUT", {"a", "b"}));
        QVERIFY_THROWS_EXCEPTION(Inet_Error, inet.Execute("GET", {"", local_dir.path() + "/x"}));
        QVERIFY_THROWS_EXCEPTION(Inet_Error, inet.Execute("DELETE", {"a\r\nDELE b"}));
        inet.URL = "http://" + server.Host();
        QVERIFY_THROWS_EXCEPTION(Inet_Error, inet.Execute("DELETE", {"a"}));
    }

    void a_control_destroyed_while_waiting_returns_promptly()
    {
        Inet::Set_Time_Limits(30, 30);
        Ftp_Server server("leads", "secret", Ftp_Server::Mode::Silent);
        QVERIFY(server.Started());
        QTemporaryDir local_dir;
        QElapsedTimer timer;
        timer.start();
        {
            Inet inet;
            inet.URL = "ftp://" + server.Host();
            inet.Execute("GET", {"today.csv", local_dir.path() + "/copy.txt"});
            QTest::qWait(200);
        }
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(Inet_Test)
#include "tst_inet.moc"
