#include "Test_Support.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QtTest>

#include "Dialogs.h"
#include "GlobalVariables.h"
#include "Process_State.h"
#include "Schema.h"

Test_Program_Folder::Test_Program_Folder()
{
    Database::Close_All();
    Reset_Process_State();
    if (!dir_.isValid())
        qFatal("cannot make a temporary folder");
    QString error;
    if (!Create_Empty_Database(Database_File(), &error))
        qFatal("cannot make the test database: %s", qPrintable(error));
    QDir(dir_.path()).mkpath("Attachments");
    GlobalVariables::Program_Folder = Folder();
    GlobalVariables::Database_Path = Database_File();
}

Test_Program_Folder::~Test_Program_Folder()
{
    Database::Close_All();
    Reset_Process_State();
}

QString Test_Program_Folder::Folder() const
{
    return dir_.path() + "/";
}

QString Test_Program_Folder::Path(const QString& name) const
{
    return Folder() + name;
}

QString Test_Program_Folder::Database_File() const
{
    return Path("data2000.mdb");
}

Database Test_Program_Folder::Db() const
{
    return Database(Database_File());
}

QString Test_Program_Folder::Write_File(const QString& name, const QByteArray& content) const
{
    const QString path = Path(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

Scripted_Dialogs::Scripted_Dialogs()
{
    Set_Message_Box_Handler([this](const QString& text, int style, const QString& title) {
        messages << Shown_Message{text, style, title};
        if (!answers.isEmpty())
            return answers.takeFirst();
        switch (style & 0x0F) {
        case vbYesNo:
        case vbYesNoCancel: return int(vbYes);
        case vbAbortRetryIgnore: return int(vbAbort);
        case vbRetryCancel: return int(vbRetry);
        default: return int(vbOK);
        }
    });
    Set_Input_Box_Handler([this](const QString& prompt, const QString& title, const QString&, bool* ok) {
        input_prompts << prompt;
        input_titles << title;
        if (input_answers.isEmpty()) {
            *ok = false;
            return QString();
        }
        *ok = true;
        return input_answers.takeFirst();
    });
    Set_File_Dialog_Handler([this](File_Dialog_Kind, const QString& title, const QString&, const QString&) {
        file_titles << title;
        return file_answers.isEmpty() ? QString() : file_answers.takeFirst();
    });
}

Scripted_Dialogs::~Scripted_Dialogs()
{
    Set_Message_Box_Handler({});
    Set_Input_Box_Handler({});
    Set_File_Dialog_Handler({});
}

QStringList Scripted_Dialogs::Texts() const
{
    QStringList texts;
    for (const Shown_Message& m : messages)
        texts << m.text;
    return texts;
}

bool Scripted_Dialogs::Shown(const QString& text_start) const
{
    for (const Shown_Message& m : messages)
        if (m.text.startsWith(text_start))
            return true;
    return false;
}

Test_Clock::Test_Clock(const QDateTime& start)
    : now_(start)
{
    Set_Clock(this);
}

Test_Clock::~Test_Clock()
{
    Set_Clock(nullptr);
}

QDateTime Test_Clock::Now()
{
    return now_;
}

void Test_Clock::Pause(double seconds)
{
    QCoreApplication::processEvents();
    paused_seconds += seconds;
    Advance(seconds);
}

void Test_Clock::Wait_Slice()
{
    // A short real wait, so replies from real peers arrive, then one second of clock time.
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
    Advance(1.0);
}

void Test_Clock::Advance(double seconds)
{
    now_ = now_.addMSecs(qint64(seconds * 1000.0));
}

void Test_Clock::Set(const QDateTime& now)
{
    now_ = now;
}

QString Source_Dir()
{
    const QString dir = qEnvironmentVariable("BRACKENLEAD_SOURCE_DIR");
    return dir.isEmpty() ? QString(BRACKENLEAD_FIXTURES "/../..") : dir;
}

QString Fixture_Path(const QString& name)
{
    return QString(BRACKENLEAD_FIXTURES) + "/" + name;
}
