#pragma once
// One run of one work in its own process: the program folder it works in,
// the dialogs answered by script, and the program's main window.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class frmContactSystem;

struct Bench_Options {
    QString work;
    QString folder;          // the program folder: data2000.mdb and Attachments/
    QString maildir;         // the mail store of the mail works
    QString empty_maildir;   // the mail store the program starts up with
    int clicks = 5;          // tab clicks timed by the tab-click work
};

// "WORK --folder DIR --maildir DIR --empty-maildir DIR [--clicks N]"; false
// with the reason when the arguments do not say what to do.
bool Parse_Options(const QStringList& arguments, Bench_Options* options, QString* error);

class Bench_Session {
public:
    // Goes into the program folder and answers every dialog from now on: a
    // message box with its first button, an input box and a file dialog by
    // cancelling. Every text asked is kept.
    explicit Bench_Session(const Bench_Options& options);
    ~Bench_Session();
    Bench_Session(const Bench_Session&) = delete;
    Bench_Session& operator=(const Bench_Session&) = delete;

    const Bench_Options& Options() const { return options_; }
    QStringList Messages() const { return messages_; }
    bool Shown(const QString& start) const;

    // The program's start-up with the empty mail store, waited for until the
    // contact list holds every contact. Nullptr with the reason on failure.
    frmContactSystem* Start_Window(QString* error);
    frmContactSystem* Window() const { return window_.get(); }
    // Makes the window at once, for the start-up work that times its making.
    frmContactSystem* Make_Window();

    // Rows of a table of the program's database.
    qint64 Count(const QString& table, const QString& where = QString()) const;
    QString Database_File() const;

private:
    Bench_Options options_;
    QStringList messages_;
    std::unique_ptr<frmContactSystem> window_;
};

// Handles events until done() holds; false when timeout_seconds passed first.
bool Wait_For(const std::function<bool()>& done, double timeout_seconds);
