// The mail intake killed (SIGKILL) at random moments while it files a few
// hundred messages with attachments, then run again to its end: every
// message is filed once, every stored file has its row and every row its
// file, and no temporary folder of the killed runs stays.

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlRecord>
#include <QtTest>

#include "Test_Maildir.h"
#include "Test_Support.h"

namespace {

constexpr int Messages = 300;

QByteArray Attachment_Part(const QString& name, int size, int seed)
{
    QByteArray content(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (char& byte : content)
        byte = char(generator.bounded(256));
    return "--b\nContent-Type: application/pdf\nContent-Disposition: attachment; filename=\"" + name.toUtf8()
        + "\"\nContent-Transfer-Encoding: base64\n\n" + content.toBase64() + "\n";
}

// From a contact, a lead e-mail or a stranger; every third with one or two
// attachments, many of one name, so the store numbers its copies.
QByteArray Message(int n, int& attachments)
{
    const int kind = n % 3;
    const QString from = kind == 0 ? QString("contact%1@example.com").arg(n % 40)
                       : kind == 1 ? QString("leads@autoleads.example")
                                   : QString("stranger%1@elsewhere.example").arg(n);
    const QString subject = kind == 1 ? QString("New AutoLeads Inquiry #%1").arg(n) : QString("Message %1").arg(n);
    const QString text = kind == 1 ? QString("Email: lead%1@example.com\nName: Lead Number%1\n").arg(n)
                                   : QString("Hello, this is message %1.\n").arg(n);
    attachments = n % 3 == 0 ? 0 : (n % 2) + 1;
    QByteArray mail = "From: " + from.toUtf8() + "\nTo: sales@dealer.example\nSubject: " + subject.toUtf8()
        + "\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: text/plain\n\n"
        + text.toUtf8();
    for (int a = 0; a < attachments; ++a)
        mail += Attachment_Part(a == 0 ? "offer.pdf" : QString("scan%1.pdf").arg(n), 20000 + 997 * (n % 50), n * 7 + a);
    return mail + "--b--\n";
}

QStringList Files_In(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

class tst_intake_kill : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_killed_intake_files_every_message_once_with_its_files();
};

void tst_intake_kill::a_killed_intake_files_every_message_once_with_its_files()
{
    Test_Program_Folder folder;
    Test_Maildir maildir;
    QTemporaryDir temp;
    Database db = folder.Db();
    for (int c = 0; c < 40; ++c)
        db.Insert("INSERT INTO Contacts (FirstName, LastName, Email) VALUES ('C', ?, ?)",
                  {QString::number(c), QString("contact%1@example.com").arg(c)});
    const qint64 filter = db.Insert(
        "INSERT INTO EmailContactImports (Name_Of_Site, Search_String_On_Subject_Line) VALUES ('AutoLeads', "
        "'New AutoLeads Inquiry')");
    db.Insert("INSERT INTO EmailImportFieldsInfo (Email_Import_ID, Event_Field, Import_Type, Label) VALUES "
              "(?, 'Email', 'Label Search', 'Email:'), (?, 'Name', 'Label Search', 'Name:')",
              {filter, filter});
    QHash<QString, int> attachments_of;
    for (int n = 0; n < Messages; ++n) {
        int attachments = 0;
        const QByteArray mail = Message(n, attachments);
        attachments_of.insert(maildir.Deliver_Content(mail, QDateTime(QDate(2026, 12, 1), QTime(8, 0)).addSecs(n)),
                              attachments);
    }
    Database::Close_All();

    const QString child = QCoreApplication::applicationDirPath() + "/end_to_end_intake_child";
    QVERIFY(QFileInfo(child).isExecutable());
    const auto run = [&](QProcess& process) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("MAILDIR", maildir.Folder());
        environment.insert("TMPDIR", temp.path());
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(child, {folder.Folder()});
        QVERIFY(process.waitForStarted(10000));
    };
    const auto filed = [&] {
        return Database(folder.Database_File())
                   .Scalar("SELECT (SELECT count(*) FROM Eventhistory) + (SELECT count(*) FROM NewEmails)")
                   .toInt();
    };

    // Killed when a random number of messages is filed, a few times over.
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator random(seed);
    int killed_midway = 0;
    for (int round = 0; round < 4; ++round) {
        const int before = filed();
        const int target = before + 1 + int(random.bounded(quint32(qMax(1, (Messages - before) / 2))));
        QProcess process;
        run(process);
        QElapsedTimer waited;
        waited.start();
        int now = before;
        while (process.state() == QProcess::Running && now < target && waited.elapsed() < 120000) {
            QThread::msleep(2);
            now = filed();
        }
        process.kill();
        QVERIFY(process.waitForFinished(10000));
        Database::Close_All();
        const int after = filed();
        qInfo("round %d: killed at %d filed of %d", round, after, Messages);
        if (after < Messages)
            ++killed_midway;
        // What lies in the store itself always has its row; only the waiting room may hold more.
        Database check(folder.Database_File());
        QSet<QString> recorded;
        for (const QSqlRecord& row : check.Select("SELECT Attachment_Path_Name FROM Attachments"))
            recorded.insert(QFileInfo(row.value(0).toString()).fileName());
        for (const QString& name : Files_In(folder.Path("Attachments")))
            QVERIFY2(recorded.contains(name), qPrintable(name));
        Database::Close_All();
    }
    QVERIFY(killed_midway >= 1);

    // Run again to its end.
    QProcess last;
    run(last);
    QVERIFY(last.waitForFinished(300000));
    QCOMPARE(last.exitStatus(), QProcess::NormalExit);
    QCOMPARE(last.exitCode(), 0);

    Database check(folder.Database_File());
    QHash<QString, int> times_filed;
    for (const QSqlRecord& row : check.Select("SELECT Event_Unique_ID FROM Eventhistory "
                                               "UNION ALL SELECT Email_Unique_ID FROM NewEmails"))
        ++times_filed[row.value(0).toString()];
    QCOMPARE(times_filed.size(), Messages);
    for (auto it = times_filed.cbegin(); it != times_filed.cend(); ++it) {
        QVERIFY2(attachments_of.contains(it.key()), qPrintable(it.key()));
        QCOMPARE(it.value(), 1);
    }
    // Each lead made one contact.
    QCOMPARE(check.Scalar("SELECT count(*) FROM Contacts WHERE Email LIKE 'lead%'").toInt(), Messages / 3);
    QCOMPARE(check.Scalar("SELECT count(DISTINCT Email) FROM Contacts WHERE Email LIKE 'lead%'").toInt(), Messages / 3);

    // Every file has its row and every row its file, each message its own files.
    const QStringList stored = Files_In(folder.Path("Attachments"));
    QSet<QString> paths;
    for (const QSqlRecord& row : check.Select("SELECT Attachment_Path_Name FROM Attachments")) {
        const QString path = row.value(0).toString();
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        QVERIFY2(!paths.contains(path), qPrintable(path));
        paths.insert(path);
    }
    QCOMPARE(int(paths.size()), int(stored.size()));
    for (const QString& name : stored)
        QVERIFY2(paths.contains(folder.Path("Attachments/" + name)), qPrintable(name));
    int expected_files = 0;
    for (int count : std::as_const(attachments_of))
        expected_files += count;
    QCOMPARE(int(stored.size()), expected_files);
    for (const QSqlRecord& owner : check.Select(
             "SELECT e.Event_Unique_ID, (SELECT count(*) FROM Attachments a WHERE a.Link_ID = e.ID AND "
             "a.Link_Database = 'E') FROM Eventhistory e UNION ALL SELECT n.Email_Unique_ID, (SELECT count(*) FROM "
             "Attachments a WHERE a.Link_ID = n.ID AND a.Link_Database = 'U') FROM NewEmails n"))
        QCOMPARE(owner.value(1).toInt(), attachments_of.value(owner.value(0).toString()));
    QVERIFY(!QFileInfo::exists(folder.Path("Attachments/.incoming")));

    // The temporary folders of the killed runs went with the next start, the last run's own at its end.
    QCOMPARE(QDir(temp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{});
}

QTEST_GUILESS_MAIN(tst_intake_kill)
#include "tst_intake_kill.moc"
