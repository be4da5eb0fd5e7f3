// A lead file whose read fails part way, as on a failing disk or a dropped
// network share: the C library's read() of this test program fails with EIO
// once it reaches the middle of the files named here, so the import meets
// the error through its real reading code.

#include <QDir>
#include <QtTest>
#include <atomic>
#include <cerrno>
#include <dlfcn.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "Ftp_Server.h"
#include "Import_Source.h"
#include "Inet.h"
#include "Lead_Sources.h"
#include "Test_Support.h"

namespace {

std::atomic<bool> failing{false};
std::mutex failing_mutex;
QByteArray failing_prefix;   // the files whose path starts with this
off_t failing_at = 0;        // fail once a read reaches this offset

// Whether fd is one of the failing files, and where its read must stop.
bool Failing_File(int fd, off_t& stop)
{
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[4096];
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0)
        return false;
    std::lock_guard lock(failing_mutex);
    if (!QByteArray(path, length).startsWith(failing_prefix))
        return false;
    stop = failing_at;
    return true;
}

// Files whose path starts with prefix fail their reads at offset.
struct Failing_Reads {
    Failing_Reads(const QString& prefix, off_t offset)
    {
        std::lock_guard lock(failing_mutex);
        failing_prefix = QFile::encodeName(prefix);
        failing_at = offset;
        failing = true;
    }
    ~Failing_Reads() { failing = false; }
};

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count)
{
    using Real_Read = ssize_t (*)(int, void*, size_t);
    static const Real_Read real = reinterpret_cast<Real_Read>(dlsym(RTLD_NEXT, "read"));
    off_t stop = 0;
    if (failing && Failing_File(fd, stop)) {
        const off_t at = lseek(fd, 0, SEEK_CUR);
        if (at >= stop) {
            errno = EIO;
            return -1;
        }
        count = std::min<size_t>(count, size_t(stop - at));
    }
    return real(fd, buffer, count);
}

namespace {

// Some thousand leads.
QByteArray Many_Leads()
{
    QByteArray leads;
    for (int i = 0; leads.size() < 256 * 1024; ++i)
        leads += QString("First%1,,Last%1,lead%1@example.com\r\n").arg(i).toUtf8();
    return leads;
}

} // namespace

class Failing_Read_Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_local_file_read_half_way_is_no_merge_and_stays()
    {
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Recording_Window window;
        Database db = folder.Db();
        const QByteArray leads = Many_Leads();
        const QString path = folder.Write_File("share/leads.csv", leads);
        Add_Contact_Source(db, "Share", {{"Path_For_File", path}, {"Delete_Remote_File_When_Done", true},
                                         {"Automatically_Import", true}});
        {
            Failing_Reads failing_share(path, leads.size() / 2);
            Import_From_Source("Share");
        }
        QCOMPARE(dialogs.messages.size(), 1);
        const QString text = dialogs.messages.first().text;
        QVERIFY2(text.startsWith("File: " + path + " could not be read to its end: ") && text.contains("error")
                     && text.endsWith("Nothing was imported from it."),
                 qPrintable(text));
        QCOMPARE(Contact_Count(db), 0);
        QVERIFY(QFile::exists(path));
        QCOMPARE(window.panels.value(3), QString("File Merge Finished"));
        QCOMPARE(window.panels.value(4), QString("0 Records Merged"));

        // Read whole the next time, it is merged and then deleted as the source says.
        Import_From_Source("Share");
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(Contact_Count(db), leads.count('\n'));
        QVERIFY(!QFile::exists(path));
    }

    void a_downloaded_file_read_half_way_is_kept()
    {
        Inet::Set_Time_Limits(30, 60);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        Ftp_Server server;
        QVERIFY(server.Started());
        const QByteArray leads = Many_Leads();
        server.Write_File("leads.csv", leads);
        Database db = folder.Db();
        Add_Contact_Source(db, "FTP Site",
                           {{"Type_Of_Source", "FTP"}, {"Domain_Name", server.Host()}, {"Path_For_File", "leads.csv"},
                            {"Username", "leads"}, {"Password", "secret"}, {"Delete_Remote_File_When_Done", true}});
        {
            Failing_Reads failing_copies(folder.Path("data/ldata"), leads.size() / 2);
            Import_From_Source("FTP Site");
        }
        // The server's file went with the download: the copy is all that is left, and it stays.
        QVERIFY(!server.Has_File("leads.csv"));
        const QStringList copies = QDir(folder.Path("data")).entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
        QFile copy(folder.Path("data/" + copies.first()));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), leads);
        QCOMPARE(Contact_Count(db), 0);
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY2(dialogs.messages.at(0).text.contains(" could not be read to its end: "),
                 qPrintable(dialogs.messages.at(0).text));
        QVERIFY(dialogs.messages.at(0).text.contains(copies.first()));
        QVERIFY(dialogs.messages.at(1).text.contains("are kept in"));
    }
};

QTEST_GUILESS_MAIN(Failing_Read_Test)
#include "tst_failing_read.moc"
