#include "Bench_Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QTreeWidget>

#include "Bench_Probe.h"
#include "Database.h"
#include "Dialogs.h"
#include "Engine_Calls.h"
#include "frmContactSystem.h"

bool Parse_Options(const QStringList& arguments, Bench_Options* options, QString* error)
{
    const QStringList args = arguments.mid(1);
    if (args.isEmpty()) {
        *error = "no work named";
        return false;
    }
    options->work = args.first();
    for (int i = 1; i < args.size(); i += 2) {
        const QString name = args.at(i);
        if (i + 1 >= args.size()) {
            *error = name + " needs a value";
            return false;
        }
        const QString value = args.at(i + 1);
        if (name == "--folder")
            options->folder = QDir(value).absolutePath();
        else if (name == "--maildir")
            options->maildir = QDir(value).absolutePath();
        else if (name == "--empty-maildir")
            options->empty_maildir = QDir(value).absolutePath();
        else if (name == "--clicks")
            options->clicks = qMax(1, value.toInt());
        else {
            *error = "unknown option " + name;
            return false;
        }
    }
    if (options->folder.isEmpty() || options->empty_maildir.isEmpty()) {
        *error = "--folder and --empty-maildir are needed";
        return false;
    }
    return true;
}

Bench_Session::Bench_Session(const Bench_Options& options)
    : options_(options)
{
    QDir::setCurrent(options_.folder);
    qputenv("MAILDIR", QFile::encodeName(options_.empty_maildir));
    Set_Message_Box_Handler([this](const QString& text, int style, const QString&) {
        messages_ << text;
        switch (style & 7) {
        case vbAbortRetryIgnore:
            return int(vbIgnore);
        case vbYesNoCancel:
        case vbYesNo:
            return int(vbYes);
        case vbRetryCancel:
            return int(vbCancel);
        default:
            return int(vbOK);
        }
    });
    Set_Input_Box_Handler([this](const QString& prompt, const QString&, const QString&, bool* ok) {
        messages_ << prompt;
        if (ok)
            *ok = false;
        return QString();
    });
    Set_File_Dialog_Handler([this](File_Dialog_Kind, const QString& title, const QString&, const QString&) {
        messages_ << title;
        return QString();
    });
}

Bench_Session::~Bench_Session()
{
    Set_Message_Box_Handler({});
    Set_Input_Box_Handler({});
    Set_File_Dialog_Handler({});
}

bool Bench_Session::Shown(const QString& start) const
{
    for (const QString& text : messages_)
        if (text.startsWith(start))
            return true;
    return false;
}

QString Bench_Session::Database_File() const
{
    return options_.folder + "/data2000.mdb";
}

qint64 Bench_Session::Count(const QString& table, const QString& where) const
{
    Database db(Database_File());
    return db.Scalar("SELECT COUNT(*) FROM " + table + (where.isEmpty() ? QString() : " WHERE " + where))
        .toLongLong();
}

frmContactSystem* Bench_Session::Make_Window()
{
    window_ = std::make_unique<frmContactSystem>();
    return window_.get();
}

frmContactSystem* Bench_Session::Start_Window(QString* error)
{
    const qint64 contacts = Count("Contacts");
    Database::Close_All();
    frmContactSystem* window = Make_Window();
    if (!Start_Up_Window(*window)) {
        *error = "the start-up ended the program: " + messages_.join(" | ");
        return nullptr;
    }
    if (!Wait_For([&] { return Contact_List(*window)->topLevelItemCount() >= contacts; }, 600)) {
        *error = QString("the contact list holds %1 of %2 contacts")
                     .arg(Contact_List(*window)->topLevelItemCount())
                     .arg(contacts);
        return nullptr;
    }
    // What the start-up left queued is handled before anything is timed.
    QCoreApplication::processEvents();
    return window;
}

bool Wait_For(const std::function<bool()>& done, double timeout_seconds)
{
    const qint64 deadline = Bench_Ns() + qint64(timeout_seconds * 1e9);
    while (!done()) {
        if (Bench_Ns() >= deadline)
            return done();
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}
