#pragma once
// A real Maildir in a temporary folder, set as $MAILDIR while it lives, with
// messages delivered from the .eml fixtures.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class Test_Maildir {
public:
    Test_Maildir();
    ~Test_Maildir();
    QString Folder() const;

    // Delivers a fixture of tests/fixtures/maildir (or raw content) under a
    // new unique name into new/ (or into cur/ with the given flags, e.g. "S").
    // Returns the unique name.
    QString Deliver(const QString& fixture, const QDateTime& delivered = QDateTime(),
                    bool in_cur = false, const QString& flags = QString());
    QString Deliver_Content(const QByteArray& content, const QDateTime& delivered = QDateTime(),
                            bool in_cur = false, const QString& flags = QString());

    // Every message file (relative to the folder, e.g. "new/123.x"), sorted.
    QStringList Files() const;
    // The path of the message with that unique name, empty when gone.
    QString Path_Of(const QString& unique_name) const;

private:
    QTemporaryDir dir_;
    QByteArray old_maildir_;
    bool had_maildir_ = false;
    int count_ = 0;
};

QByteArray Maildir_Fixture(const QString& name);
