// The start-up compaction killed (SIGKILL) at moments while it writes its
// copy: the database is whole after every kill, and the next start removes
// the copy left behind and compacts at once.

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

#include "Test_Support.h"

namespace {

constexpr int Rows = 3000;

QString Compaction_File(const Test_Program_Folder& folder)
{
    return folder.Path("databck.mdb");
}

// The compaction file written by this start, not the one an earlier start left.
bool New_Copy(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) != "stale";
}

// The database answers, whole, with every row it had.
void Check_Whole(const Test_Program_Folder& folder)
{
    Database db(folder.Database_File());
    QCOMPARE(db.Scalar("PRAGMA integrity_check").toString(), QString("ok"));
    QCOMPARE(db.Scalar("SELECT count(*) FROM Contacts").toInt(), Rows);
    QCOMPARE(db.Scalar("SELECT sum(length(Notes)) FROM Contacts").toLongLong(), qint64(Rows) * 10000);
    Database::Close_All();
}

} // namespace

class tst_compaction_kill : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_killed_compaction_loses_nothing_and_is_done_again();
};

void tst_compaction_kill::a_killed_compaction_loses_nothing_and_is_done_again()
{
    Test_Program_Folder folder;
    {
        Database db = folder.Db();
        Database_Transaction transaction(db);
        for (int n = 0; n < Rows; ++n)
            db.Insert("INSERT INTO Contacts (FirstName, Email, Notes) VALUES ('C', ?, ?)",
                      {QString("c%1@example.com").arg(n), QString(10000, QChar('a' + n % 26))});
        // Rows deleted again leave free pages that only a compaction gives back.
        for (int n = 0; n < Rows / 2; ++n)
            db.Insert("INSERT INTO Contacts (FirstName, Notes) VALUES ('Gone', ?)", {QString(10000, QChar('g'))});
        db.Execute("DELETE FROM Contacts WHERE FirstName = 'Gone'");
        transaction.Commit();
    }
    Database::Close_All();
    const qint64 size_before = QFileInfo(folder.Database_File()).size();

    const QString child = QCoreApplication::applicationDirPath() + "/end_to_end_compaction_child";
    QVERIFY(QFileInfo(child).isExecutable());
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator random(seed);
    int killed_midway = 0;
    for (int round = 0; round < 6; ++round) {
        // Each round's start is one that compacts.
        Database(folder.Database_File()).Execute("UPDATE Settings SET Compression_Counter = 5");
        Database::Close_All();
        // A copy the round before left stays, marked so that it is told from this start's own.
        if (QFile::exists(Compaction_File(folder)))
            folder.Write_File("databck.mdb", "stale copy");
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(child, {folder.Folder()});
        QVERIFY(process.waitForStarted(10000));
        // Killed once this start's copy is on its way, a little later each round.
        QElapsedTimer waited;
        waited.start();
        while (process.state() == QProcess::Running && !New_Copy(Compaction_File(folder)) && waited.elapsed() < 60000)
            QThread::usleep(100);
        QThread::usleep(random.bounded(quint32(1000 + round * 3000)));
        process.kill();
        QVERIFY(process.waitForFinished(10000));
        const bool left = QFile::exists(Compaction_File(folder));
        qInfo("round %d: copy left behind: %s", round, left ? "yes" : "no");
        if (left)
            ++killed_midway;
        Check_Whole(folder);
    }
    QVERIFY(killed_midway >= 1);

    // A copy left behind: the next start, not due to compact by its count, compacts and removes it.
    Database(folder.Database_File()).Execute("UPDATE Settings SET Compression_Counter = 1");
    Database::Close_All();
    if (!QFile::exists(Compaction_File(folder))) {
        QFile database(folder.Database_File());
        QVERIFY(database.open(QIODevice::ReadOnly));
        folder.Write_File("databck.mdb", database.read(size_before / 3));
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(child, {folder.Folder()});
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(!QFile::exists(Compaction_File(folder)));
    Check_Whole(folder);
    QVERIFY2(QFileInfo(folder.Database_File()).size() < size_before * 3 / 4,
             qPrintable(QString("%1 of %2").arg(QFileInfo(folder.Database_File()).size()).arg(size_before)));
    QCOMPARE(Database(folder.Database_File()).Scalar("SELECT Compression_Counter FROM Settings").toInt(), 0);
    Database::Close_All();
}

QTEST_GUILESS_MAIN(tst_compaction_kill)
#include "tst_compaction_kill.moc"
