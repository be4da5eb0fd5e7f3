#include "Test_Maildir.h"

#include "Test_Support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

Test_Maildir::Test_Maildir()
{
    for (const char* sub : {"cur", "new", "tmp"})
        QDir().mkpath(dir_.filePath(sub));
    had_maildir_ = qEnvironmentVariableIsSet("MAILDIR");
    old_maildir_ = qgetenv("MAILDIR");
    qputenv("MAILDIR", QFile::encodeName(dir_.path()));
}

Test_Maildir::~Test_Maildir()
{
    if (had_maildir_)
        qputenv("MAILDIR", old_maildir_);
    else
        qunsetenv("MAILDIR");
}

QString Test_Maildir::Folder() const
{
    return dir_.path();
}

QByteArray Maildir_Fixture(const QString& name)
{
    QFile file(Fixture_Path("maildir/" + name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

QString Test_Maildir::Deliver(const QString& fixture, const QDateTime& delivered, bool in_cur,
                              const QString& flags)
{
    return Deliver_Content(Maildir_Fixture(fixture), delivered, in_cur, flags);
}

QString Test_Maildir::Deliver_Content(const QByteArray& content, const QDateTime& delivered,
                                      bool in_cur, const QString& flags)
{
    ++count_;
    const QDateTime when = delivered.isValid()
        ? delivered : QDateTime(QDate(2026, 12, 9), QTime(8, 0, 0)).addSecs(count_ * 60);
    // Unique across every Maildir of the test run, as in a real store.
    static int delivered_in_process = 0;
    const QString unique = QString("%1.M%2P%3.testhost")
                               .arg(when.toSecsSinceEpoch())
                               .arg(++delivered_in_process)
                               .arg(QCoreApplication::applicationPid());
    const QString name = in_cur ? QString("cur/%1:2,%2").arg(unique, flags) : "new/" + unique;
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot deliver %s", qPrintable(name));
    file.close();
    file.open(QIODevice::ReadWrite);
    file.setFileTime(when, QFileDevice::FileModificationTime);
    file.close();
    return unique;
}

QStringList Test_Maildir::Files() const
{
    QStringList files;
    for (const char* sub : {"cur", "new"}) {
        for (const QString& entry : QDir(dir_.filePath(sub)).entryList(QDir::Files))
            files << QString(sub) + "/" + entry;
    }
    files.sort();
    return files;
}

QString Test_Maildir::Path_Of(const QString& unique_name) const
{
    for (const QString& file : Files()) {
        const QString name = file.mid(4);
        if (name == unique_name || name.startsWith(unique_name + ":"))
            return dir_.filePath(file);
    }
    return QString();
}
