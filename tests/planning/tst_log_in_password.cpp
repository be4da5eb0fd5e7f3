// The stored log-in password: a salted hash that the log-in compares with,
// and a password an older database kept in clear, hashed at its first log-in.

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GlobalVariables.h"
#include "Password.h"
#include "Settings.h"
#include "Test_Support.h"
#include "frmPassword.h"

namespace G = GlobalVariables;

class tst_log_in_password : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hash_matches_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("matches");
        QTest::newRow("same") << "Secret" << "Secret" << true;
        QTest::newRow("other case") << "Secret" << "secret" << false;
        QTest::newRow("trailing blank") << "Secret" << "Secret " << false;
        QTest::newRow("empty typed") << "Secret" << "" << false;
        QTest::newRow("non-ASCII") << "Grüße€" << "Grüße€" << true;
        QTest::newRow("dollar signs") << "a$b$c" << "a$b$c" << true;
        QTest::newRow("no password, empty typed") << "" << "" << true;
        QTest::newRow("no password, something typed") << "" << "x" << false;
    }

    void hash_matches()
    {
        QFETCH(QString, password);
        QFETCH(QString, typed);
        QFETCH(bool, matches);
        const QString stored = Password_Hash(password);
        QVERIFY(Password_Is_Hashed(stored));
        QCOMPARE(stored.isEmpty(), password.isEmpty());
        if (!password.isEmpty())
            QVERIFY(!stored.contains(password));
        QCOMPARE(Password_Matches(typed, stored), matches);
    }

    void hashes_are_salted()
    {
        const QString first = Password_Hash("Secret");
        const QString second = Password_Hash("Secret");
        QVERIFY(first != second);
        QVERIFY(Password_Matches("Secret", first));
        QVERIFY(Password_Matches("Secret", second));
        // A hash altered in the database matches nothing.
        QString altered = first;
        altered[altered.size() - 3] = altered[altered.size() - 3] == 'A' ? 'B' : 'A';
        QVERIFY(!Password_Matches("Secret", altered));
    }

    void log_in_data()
    {
        QTest::addColumn<bool>("in_clear");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("refused");
        QTest::newRow("hash, right at once") << false << QStringList{"Secret"} << 0;
        QTest::newRow("hash, three wrong then right")
            << false << QStringList{"secret", "Secret ", "", "Secret"} << 3;
        QTest::newRow("in clear, wrong then right") << true << QStringList{"SECRET", "Secret"} << 1;
    }

    void log_in()
    {
        QFETCH(bool, in_clear);
        QFETCH(QStringList, typed);
        QFETCH(int, refused);
        Test_Program_Folder folder;
        Scripted_Dialogs dialogs;
        folder.Db().Execute("UPDATE Settings SET Furrowline_Password = ?",
                            {in_clear ? QString("Secret") : Password_Hash("Secret")});
        QVERIFY(Load_Settings());

        frmPassword dialog;
        dialog.show();
        // A refused password is left selected: the next one typed replaces it.
        for (const QString& text : typed) {
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.txtPassword->selectedText(), dialog.txtPassword->text());
            QTest::keyClicks(dialog.txtPassword, text);
            if (!text.isEmpty())
                QCOMPARE(dialog.txtPassword->text(), text);
            QTest::keyClick(dialog.txtPassword, Qt::Key_Return);
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(G::Password_Dialog_Answered);
        QCOMPARE(dialogs.Texts().count("The entered password is invalid."), refused);
        QCOMPARE(dialogs.messages.size(), refused);

        // Whatever form it had, the password is stored as a hash now.
        const QString stored =
            folder.Db().Scalar("SELECT Furrowline_Password FROM Settings").toString();
        QVERIFY(stored != "Secret");
        QVERIFY(Password_Is_Hashed(stored));
        QVERIFY(Password_Matches("Secret", stored));
        QCOMPARE(Current_Settings().Furrowline_Password, stored);
    }
};

QTEST_MAIN(tst_log_in_password)
#include "tst_log_in_password.moc"
