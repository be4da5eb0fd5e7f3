#pragma once
// Shared fixtures: a temporary program folder with a fresh database, scripted
// answers for the dialog seams, and a clock whose pauses cost no time.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

#include "Clock.h"
#include "Database.h"

// A program folder in a temporary directory with a fresh data2000.mdb made
// from the schema, set as Program_Folder and Database_Path; process-wide state
// is reset on construction and on destruction.
class Test_Program_Folder {
public:
    Test_Program_Folder();
    ~Test_Program_Folder();
    QString Folder() const;              // ends with "/"
    QString Path(const QString& name) const;
    QString Database_File() const;
    Database Db() const;
    // Writes a file under the folder (creating its folders); returns its path.
    QString Write_File(const QString& name, const QByteArray& content) const;

private:
    QTemporaryDir dir_;
};

// One message box shown through the seam.
struct Shown_Message {
    QString text;
    int style = 0;
    QString title;
};

// Records every message box, input box and file dialog; answers from queues
// (message boxes default to the first button: OK or Yes; input and file
// dialogs default to cancelled).
class Scripted_Dialogs {
public:
    Scripted_Dialogs();
    ~Scripted_Dialogs();

    QList<Shown_Message> messages;
    QList<int> answers;            // next Message_Box answers
    QStringList input_answers;     // next Input_Box answers (accepted)
    QStringList file_answers;      // next file dialog answers (empty text: cancelled)
    QStringList input_prompts;
    QStringList input_titles;
    QStringList file_titles;

    QStringList Texts() const;
    bool Shown(const QString& text_start) const;
};

// A clock that starts at a fixed time; pauses handle pending events and move
// the time on at once.
class Test_Clock : public Clock {
public:
    explicit Test_Clock(const QDateTime& start = QDateTime(QDate(2026, 12, 10), QTime(10, 0, 0)));
    ~Test_Clock() override;
    QDateTime Now() override;
    void Pause(double seconds) override;
    void Wait_Slice() override;
    void Advance(double seconds);
    void Set(const QDateTime& now);
    double paused_seconds = 0;     // total of every Pause

private:
    QDateTime now_;
};

// The source folder of the project (for fixtures and helper scripts).
QString Source_Dir();
QString Fixture_Path(const QString& name);
