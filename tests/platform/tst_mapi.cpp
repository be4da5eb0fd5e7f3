// The mail-client stand-in over a real Maildir of fixture messages.

#include "MAPI.h"
#include "Mail_Parse.h"
#include "Test_Maildir.h"
#include "Test_Support.h"

#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

// Fetches the store and selects the message with that unique name.
bool Select(MAPIMessages& messages, const QString& unique)
{
    for (int i = 0; i < messages.MsgCount(); ++i) {
        messages.MsgIndex = i;
        if (messages.MsgID() == unique)
            return true;
    }
    return false;
}

QByteArray Read_All(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

class tst_mapi : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reads_each_kind_of_message_data();
    void reads_each_kind_of_message();
    void html_parts_become_text_data();
    void html_parts_become_text();
    void a_huge_html_part_with_unclosed_tags_reads_at_once();
    void attachments_are_written_under_their_decoded_names();
    void outside_names_become_plain_file_names_data();
    void outside_names_become_plain_file_names();
    void messages_read_ahead_read_as_read_in_turn();
    void ids_dates_and_flags_follow_the_store();
    void a_message_the_store_cannot_give_fails_alone();
    void sign_on_needs_a_readable_store();
    void sign_on_says_what_is_wrong_with_the_store_data();
    void sign_on_says_what_is_wrong_with_the_store();
    void delete_removes_only_that_file();
    void sending_pipes_a_mime_message_to_sendmail();
    void a_failing_sendmail_is_an_error();
};

void tst_mapi::reads_each_kind_of_message_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("date");
    QTest::addColumn<int>("attachments");

    const auto utc = [](int d, int h, int m, int offset_minutes) {
        return QDateTime(QDate(2026, 12, d), QTime(h, m), Qt::UTC).addSecs(-offset_minutes * 60);
    };
    QTest::newRow("plain") << "plain.eml" << "Question about the blue sedan" << "jane@example.com"
                           << "Jane Buyer"
                           << "Hello,\r\n\r\nis the blue sedan still available?\r\n\r\nJane\r\n"
                           << utc(8, 9, 15, 0) << 0;
    QTest::newRow("quoted-printable")
        << "quoted_printable.eml" << "Trade-in offer" << "bob@example.org" << "Bob Miller"
        << QString::fromUtf8("Grüße aus München,\r\n\r\nthis line is long enough that it was wrapped "
                             "by a soft line break in the middle.\r\nPrice: 12 000 €\r\n")
        << utc(9, 14, 30, 60) << 0;
    QTest::newRow("base64") << "base64.eml" << "Financing" << "carol@example.net"
                            << "carol@example.net"
                            << QString::fromUtf8("Do you offer financing?\r\n\r\nThanks, Carol (café)\r\n")
                            << utc(10, 8, 0, -300) << 0;
    QTest::newRow("alternative") << "alternative.eml" << "Test drive" << "dan@example.com"
                                 << "Dan Driver" << "Can I come for a test drive on Saturday?"
                                 << utc(10, 7, 45, 0) << 0;
    QTest::newRow("html only") << "html_only.eml" << "Brochure please" << "erin@example.com" << "Erin"
                               << QString::fromUtf8("Please send me the brochure.\r\nCafé & more")
                               << utc(10, 6, 30, 0) << 0;
    QTest::newRow("non-ASCII headers")
        << "non_ascii_headers.eml" << QString::fromUtf8("Anfrage: Gebrauchtwagen – Ölwechsel")
        << "joerg@example.de" << QString::fromUtf8("Jörg Müller")
        << QString::fromUtf8("Guten Tag, wann ist der Ölwechsel fällig?\r\n") << utc(10, 3, 0, 60) << 0;
    QTest::newRow("attachments") << "attachments.eml" << "Documents for the order" << "frank@example.com"
                                 << "Frank Fleet" << "Here are the documents." << utc(10, 5, 0, 0) << 2;
    QTest::newRow("malformed") << "malformed.eml" << QString() << QString() << QString()
                               << "This body has no boundary lines at all.\r\nAnd the header block above "
                                  "is damaged.\r\n"
                               << QDateTime() << 0;
}

void tst_mapi::reads_each_kind_of_message()
{
    QFETCH(QString, fixture);
    QFETCH(QString, subject);
    QFETCH(QString, address);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QDateTime, date);
    QFETCH(int, attachments);

    Test_Maildir maildir;
    const QString unique = maildir.Deliver(fixture);
    MAPISession session;
    session.SignOn();
    MAPIMessages messages;
    messages.Set_Session(&session);
    messages.Fetch();
    QCOMPARE(messages.MsgCount(), 1);
    QCOMPARE(messages.MsgID(), unique);
    QCOMPARE(messages.MsgNoteText(), text);
    QCOMPARE(messages.AttachmentCount(), attachments);
    if (fixture == "malformed.eml") {
        // Whatever the damaged headers give, reading them must not fail.
        QVERIFY(!messages.MsgOrigDisplayName().contains('\n'));
        QVERIFY(!messages.MsgDate().isValid());
        return;
    }
    QCOMPARE(messages.MsgSubject(), subject);
    QCOMPARE(messages.MsgOrigAddress(), address);
    QCOMPARE(messages.MsgOrigDisplayName(), name);
    QCOMPARE(messages.MsgDate().toUTC(), date.toUTC());
}

void tst_mapi::html_parts_become_text_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::newRow("head, title, style and script go")
        << "<html><head><title>T</title><style>p{}</style></head><body><p>Hello<br>World</p>"
           "<SCRIPT type=x>var a = '<b>';</SCRIPT ></body></html>"
        << "Hello\nWorld";
    QTest::newRow("comments go") << "a<!-- hidden <b>x</b> -->b" << "ab";
    QTest::newRow("an element never closed loses only its tag") << "<style>unclosed text" << "unclosed text";
    QTest::newRow("a close tag must end in >") << "<title>a</titlex>b</title >c" << "c";
    QTest::newRow("header is no head") << "<header>Top</header><title>x" << "Topx";
    QTest::newRow("a < without > is text") << "5 < 6" << "5 < 6";
    QTest::newRow("an unclosed comment is a tag") << "a<!-- b> c" << "a c";
    QTest::newRow("entities") << "Caf&eacute; &amp; more&nbsp;&#8364;&#x41;&#0;&bogus; &amp"
                              << QString::fromUtf8("Caf&eacute; & more €A&#0;&bogus; &amp");
    QTest::newRow("source line ends are blanks, blocks end lines")
        << "line1\r\n\r\nline2<div>a</div>b<hr/>c</h2>d</table>e" << "line1 line2a\nb\nc\nd\ne";
    QTest::newRow("blanks run together, lines trimmed") << "  lots   of \t blanks  <br>  next  <br><br>"
                                                        << "lots of blanks\nnext";
    QTest::newRow("empty") << "" << "";
}

void tst_mapi::html_parts_become_text()
{
    QFETCH(QString, html);
    QFETCH(QString, text);
    QCOMPARE(Html_To_Text(html), text);
}

void tst_mapi::a_huge_html_part_with_unclosed_tags_reads_at_once()
{
    // 1.4 MB whose head, style, script and title tags never close, with
    // close tags that are not quite close tags: each one once scanned the
    // whole rest of the text.
    QString body = "<html><body>Begin";
    const QStringList openers = {"<style>", "<head>", "<script>", "<title>"};
    int n = 0;
    while (body.size() < 1400 * 1000) {
        body += openers.at(n++ % openers.size()) + "p { color: red } </styl </scriptx> ";
        body += QString(200, QChar('w')) + "<br>";
    }
    body += "End <!-- never closed";
    Test_Maildir maildir;
    maildir.Deliver_Content("From: a@example.com\nSubject: huge\nMIME-Version: 1.0\n"
                            "Content-Type: text/html; charset=utf-8\n\n"
                            + body.toUtf8() + "\n");
    MAPISession session;
    session.SignOn();
    MAPIMessages messages;
    messages.Set_Session(&session);
    messages.Fetch();
    QElapsedTimer timer;
    timer.start();
    const QString text = messages.MsgNoteText();
    // Milliseconds in one pass; the old way took minutes.
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(text.startsWith("Beginp { color: red } "));
    QVERIFY(text.endsWith("End <!-- never closed"));
    QCOMPARE(text.count("\r\n"), n);
    QCOMPARE(text.count("p { color: red }"), n);
}

void tst_mapi::attachments_are_written_under_their_decoded_names()
{
    Test_Maildir maildir;
    maildir.Deliver("attachments.eml");
    MAPISession session;
    session.SignOn();
    MAPIMessages messages;
    messages.Set_Session(&session);
    messages.Fetch();
    QCOMPARE(messages.AttachmentCount(), 2);

    messages.AttachmentIndex = 0;
    QCOMPARE(messages.AttachmentName(), QString::fromUtf8("Präsentation Q4.pdf"));
    const QString first = messages.AttachmentPathName();
    QCOMPARE(QFileInfo(first).fileName(), QString::fromUtf8("Präsentation Q4.pdf"));
    QCOMPARE(Read_All(first), QByteArray("PDF-CONTENT-1"));
    // The file takes the user's usual mode (copies of it keep it); its folder stays private.
    const mode_t mask = umask(022);
    umask(mask);
    const auto mode = [](const QString& path) {
        struct stat info {};
        stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 0777;
    };
    QCOMPARE(mode(first), 0666 & ~mask);
    QCOMPARE(mode(QFileInfo(QFileInfo(first).absolutePath()).absolutePath()) & 0077, 0u);

    messages.AttachmentIndex = 1;
    QCOMPARE(messages.AttachmentName(), QString::fromUtf8("Angebot für  Frank.txt"));
    const QString second = messages.AttachmentPathName();
    QCOMPARE(Read_All(second), QByteArray("offer text\n"));
    QVERIFY(QFileInfo(first).absolutePath() != QFileInfo(second).absolutePath());

    // The copies are the mail client's: they go with the next fetch.
    messages.Fetch();
    QTRY_VERIFY(!QFileInfo::exists(first));
}

void tst_mapi::outside_names_become_plain_file_names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("plain");
    QTest::newRow("folders") << "../../escape.txt" << "escape.txt";
    QTest::newRow("windows path") << "C:\\Windows\\win.ini" << "win.ini";
    QTest::newRow("control characters") << "bad\x01\nname.txt" << "badname.txt";
    QTest::newRow("dot dot") << ".." << "attachment";
    QTest::newRow("trailing slash") << "folder/" << "attachment";
    QTest::newRow("plain") << QString::fromUtf8("Präsentation Q4.pdf") << QString::fromUtf8("Präsentation Q4.pdf");
}

void tst_mapi::outside_names_become_plain_file_names()
{
    QFETCH(QString, name);
    QFETCH(QString, plain);
    QCOMPARE(Safe_Attachment_Name(name), plain);
    QVERIFY(Safe_Attachment_Name(QString(300, 'x') + ".pdf").toUtf8().size() <= 200);
    QVERIFY(Safe_Attachment_Name(QString(300, 'x') + ".pdf").endsWith(".pdf"));

    // The same names as they come in a message: every copy stays in its folder.
    Test_Maildir maildir;
    maildir.Deliver("hostile_names.eml");
    MAPISession session;
    session.SignOn();
    MAPIMessages messages;
    messages.Set_Session(&session);
    messages.Fetch();
    QCOMPARE(messages.AttachmentCount(), 4);
    const QStringList expected = {"escape.txt", "win.ini", "badname.txt", "attachment"};
    for (int i = 0; i < 4; ++i) {
        messages.AttachmentIndex = i;
        QCOMPARE(messages.AttachmentName(), expected.at(i));
        const QFileInfo copy(messages.AttachmentPathName());
        QCOMPARE(copy.fileName(), expected.at(i));
        QVERIFY(copy.absoluteFilePath().startsWith(QDir::tempPath()));
        QVERIFY(!QFileInfo::exists(maildir.Folder() + "/../escape.txt"));
    }

    // Parts that come without a name are named by their type.
    maildir.Deliver_Content("From: a@example.com\nSubject: parts\nMIME-Version: 1.0\n"
                            "Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: text/plain\n\nbody\n"
                            "--b\nContent-Type: text/plain\n\nfooter\n"
                            "--b\nContent-Type: image/png\nContent-Transfer-Encoding: base64\n\niVBORw0K\n"
                            "--b\nContent-Type: application/x-unheard-of\n\nbytes\n--b--\n");
    messages.Fetch();
    messages.MsgIndex = 1;
    QCOMPARE(messages.MsgNoteText(), QString("body"));
    QStringList unnamed;
    for (int i = 0; i < messages.AttachmentCount(); ++i) {
        messages.AttachmentIndex = i;
        unnamed << messages.AttachmentName();
    }
    QCOMPARE(unnamed, QStringList({"attachment.txt", "attachment.png", "attachment.x-unheard-of"}));
}

void tst_mapi::messages_read_ahead_read_as_read_in_turn()
{
    Test_Maildir maildir;
    const QStringList fixtures = {"plain.eml", "attachments.eml", "html_only.eml", "base64.eml", "hostile_names.eml"};
    for (int round = 0; round < 8; ++round) {
        for (const QString& fixture : fixtures)
            maildir.Deliver(fixture);
    }
    const QString gone = maildir.Deliver("alternative.eml");
    MAPISession session;
    session.SignOn();
    MAPIMessages one_by_one, ahead;
    one_by_one.Set_Session(&session);
    ahead.Set_Session(&session);
    one_by_one.Fetch();
    ahead.Fetch();
    QList<int> order;
    for (int i = ahead.MsgCount() - 1; i >= 0; --i)
        order << i;
    // Taken away by the mail client after the fetch.
    QVERIFY(QFile::remove(maildir.Path_Of(gone)));
    ahead.Read_Ahead(order);
    for (int i : std::as_const(order)) {
        one_by_one.MsgIndex = ahead.MsgIndex = i;
        QVERIFY(ahead.Wait_Until_Read(i, 30000));
        if (ahead.MsgID() == gone) {
            QVERIFY_THROWS_EXCEPTION(MAPI_Error, ahead.MsgSubject());
            continue;
        }
        QCOMPARE(ahead.MsgSubject(), one_by_one.MsgSubject());
        QCOMPARE(ahead.MsgNoteText(), one_by_one.MsgNoteText());
        QCOMPARE(ahead.AttachmentCount(), one_by_one.AttachmentCount());
        QStringList copies;
        for (int a = 0; a < ahead.AttachmentCount(); ++a) {
            ahead.AttachmentIndex = one_by_one.AttachmentIndex = a;
            QCOMPARE(ahead.AttachmentName(), one_by_one.AttachmentName());
            QCOMPARE(Read_All(ahead.AttachmentPathName()), Read_All(one_by_one.AttachmentPathName()));
            copies << ahead.AttachmentPathName();
        }
        // Released, its copies go soon after; asked again at once, it is
        // read again, into copies the pending removal leaves alone.
        ahead.Release(i);
        QCOMPARE(ahead.MsgSubject(), one_by_one.MsgSubject());
        for (const QString& copy : std::as_const(copies))
            QTRY_VERIFY(!QFileInfo::exists(copy));
        for (int a = 0; a < ahead.AttachmentCount(); ++a) {
            ahead.AttachmentIndex = one_by_one.AttachmentIndex = a;
            QVERIFY(!copies.contains(ahead.AttachmentPathName()));
            QCOMPARE(Read_All(ahead.AttachmentPathName()), Read_All(one_by_one.AttachmentPathName()));
        }
    }
}

void tst_mapi::ids_dates_and_flags_follow_the_store()
{
    Test_Maildir maildir;
    const QDateTime first_time(QDate(2026, 12, 1), QTime(9, 30, 15));
    const QString unread_new = maildir.Deliver("plain.eml", first_time);
    const QString seen = maildir.Deliver("base64.eml", first_time.addSecs(60), true, "S");
    const QString unread_cur = maildir.Deliver("alternative.eml", first_time.addSecs(120), true, "F");
    const QStringList before = maildir.Files();

    MAPISession session;
    session.SignOn();
    MAPIMessages messages;
    messages.Set_Session(&session);
    messages.Fetch();
    QCOMPARE(messages.MsgCount(), 3);
    messages.MsgIndex = 0;
    QCOMPARE(messages.MsgID(), unread_new);
    QCOMPARE(messages.MsgDateReceived(), first_time);
    messages.MsgIndex = 1;
    QCOMPARE(messages.MsgID(), seen);

    messages.FetchUnreadOnly = true;
    messages.Fetch();
    QCOMPARE(messages.MsgCount(), 2);
    QStringList ids;
    for (int i = 0; i < messages.MsgCount(); ++i) {
        messages.MsgIndex = i;
        ids << messages.MsgID();
        messages.MsgNoteText();
    }
    QCOMPARE(ids, QStringList({unread_new, unread_cur}));
    // Reading marks nothing read and moves nothing.
    QCOMPARE(maildir.Files(), before);

    // The mail client moves a message to cur/ and marks it seen: same id,
    // same received date, and it is still readable from the fetched set.
    messages.MsgIndex = 0;
    const QString path = maildir.Path_Of(unread_new);
    QVERIFY(QFile::rename(path, maildir.Folder() + "/cur/" + unread_new + ":2,S"));
    QCOMPARE(messages.MsgSubject(), QString("Question about the blue sedan"));
    messages.Fetch();
    QCOMPARE(messages.MsgCount(), 1);
    messages.FetchUnreadOnly = false;
    messages.Fetch();
    QVERIFY(Select(messages, unread_new));
    QCOMPARE(messages.MsgDateReceived(), first_time);
}

void tst_mapi::a_message_the_store_cannot_give_fails_alone()
{
    Test_Maildir maildir;
    const QString gone = maildir.Deliver("plain.eml");
    const QString kept = maildir.Deliver("base64.eml");
    MAPISession session;
    session.SignOn();
    MAPIMessages messages;
    messages.Set_Session(&session);
    messages.Fetch();
    QVERIFY(QFile::remove(maildir.Path_Of(gone)));

    QVERIFY(Select(messages, gone));
    QVERIFY_THROWS_EXCEPTION(MAPI_Error, messages.MsgNoteText());
    QVERIFY_THROWS_EXCEPTION(MAPI_Error, messages.AttachmentCount());
    QVERIFY(Select(messages, kept));
    QCOMPARE(messages.MsgSubject(), QString("Financing"));
}

void tst_mapi::sign_on_needs_a_readable_store()
{
    QTemporaryDir empty;
    qputenv("MAILDIR", QFile::encodeName(empty.filePath("none")));
    MAPISession session;
    QVERIFY_THROWS_EXCEPTION(MAPI_Error, session.SignOn());
    QCOMPARE(session.SessionID(), 0);
    MAPIMessages messages;
    messages.Set_Session(&session);
    QVERIFY_THROWS_EXCEPTION(MAPI_Error, messages.Fetch());

    QDir().mkpath(empty.filePath("half/new"));
    qputenv("MAILDIR", QFile::encodeName(empty.filePath("half")));
    QVERIFY_THROWS_EXCEPTION(MAPI_Error, session.SignOn());

    Test_Maildir maildir;
    session.SignOn();
    QVERIFY(session.SessionID() != 0);
    messages.Fetch();
    QCOMPARE(messages.MsgCount(), 0);
    session.SignOff();
    QCOMPARE(messages.SessionID(), 0);
    QVERIFY_THROWS_EXCEPTION(MAPI_Error, messages.Fetch());
}

void tst_mapi::sign_on_says_what_is_wrong_with_the_store_data()
{
    // The folders and files made under the store (a trailing "/" makes a folder).
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QString>("said");
    QTest::newRow("missing") << QStringList() << "There is no mail store at %1: the folder does not exist.";
    QTest::newRow("e-mail files only") << QStringList({"one.eml", "two.eml"})
                                       << "The folder %1 is not a Maildir: it has no cur/ and no new/ folder.";
    QTest::newRow("empty folder") << QStringList({""})
                                  << "The folder %1 is not a Maildir: it has no cur/ and no new/ folder.";
    QTest::newRow("no new/") << QStringList({"cur/", "tmp/"})
                             << "The folder %1 is not a Maildir: it has no new/ folder.";
    QTest::newRow("no cur/") << QStringList({"new/"}) << "The folder %1 is not a Maildir: it has no cur/ folder.";
    QTest::newRow("cur is a file") << QStringList({"cur", "new/"})
                                   << "The folder %1 is not a Maildir: it has no cur/ folder.";
    QTest::newRow("a file") << QStringList({"=file"})
                            << "The mail store %1 is not a Maildir: it is a file, not a folder.";
}

void tst_mapi::sign_on_says_what_is_wrong_with_the_store()
{
    QFETCH(QStringList, made);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString store = dir.filePath("Mail");
    for (const QString& entry : made) {
        if (entry == "=file") {
            QFile file(store);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (entry.isEmpty() || entry.endsWith('/')) {
            QVERIFY(QDir().mkpath(store + "/" + entry));
        } else {
            QDir().mkpath(store);
            QFile file(store + "/" + entry);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("From: a@example.com\n\nhello\n");
        }
    }
    const QByteArray old = qgetenv("MAILDIR");
    qputenv("MAILDIR", QFile::encodeName(store));
    MAPISession session;
    QString text;
    try {
        session.SignOn();
    } catch (const MAPI_Error& e) {
        text = e.Description();
    }
    qputenv("MAILDIR", old);
    QCOMPARE(text, said.arg(store) + " $MAILDIR chooses the mail store (else ~/Maildir).");
    QCOMPARE(session.SessionID(), 0);
}

void tst_mapi::delete_removes_only_that_file()
{
    Test_Maildir maildir;
    const QString first = maildir.Deliver("plain.eml");
    const QString second = maildir.Deliver("base64.eml", QDateTime(), true, "S");
    MAPISession session;
    session.SignOn();
    MAPIMessages messages;
    messages.Set_Session(&session);
    messages.Fetch();
    QVERIFY(Select(messages, second));
    messages.Delete();
    QCOMPARE(messages.MsgCount(), 1);
    QVERIFY(maildir.Path_Of(second).isEmpty());
    QVERIFY(!maildir.Path_Of(first).isEmpty());
}

void tst_mapi::sending_pipes_a_mime_message_to_sendmail()
{
    Test_Clock clock;
    QTemporaryDir dir;
    // A sendmail that keeps what it is given, and its arguments.
    const QString script = dir.filePath("sendmail.sh");
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho \"$@\" > \"$0.args\"\ncat > \"$0.out\"\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString attached = dir.filePath("price list.pdf");
    QFile pdf(attached);
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.write(QByteArray("%PDF-1.4 binary \x00\x01\x02 end", 24));
    pdf.close();
    qputenv("SENDMAIL", QFile::encodeName(script + " -t -i"));

    MAPIMessages messages;
    messages.Compose();
    messages.RecipAddress = "jane@example.com";
    messages.RecipDisplayName = QString::fromUtf8("Jane Bü");
    messages.ComposeSubject = QString::fromUtf8("Your offer – Grüße");
    messages.ComposeNoteText = "Line one\r\nLine two\r\n";
    messages.Add_Attachment(attached, QString::fromUtf8("Preisliste für Jane.pdf"));
    messages.Send();
    qunsetenv("SENDMAIL");
    QCOMPARE(Read_All(script + ".args").trimmed(), QByteArray("-t -i"));

    // What went out reads back as the same message.
    Test_Maildir maildir;
    maildir.Deliver_Content(Read_All(script + ".out"));
    MAPISession session;
    session.SignOn();
    MAPIMessages received;
    received.Set_Session(&session);
    received.Fetch();
    QCOMPARE(received.MsgSubject(), QString::fromUtf8("Your offer – Grüße"));
    QCOMPARE(received.MsgNoteText(), QString("Line one\r\nLine two\r\n"));
    QCOMPARE(received.AttachmentCount(), 1);
    QCOMPARE(received.AttachmentName(), QString::fromUtf8("Preisliste für Jane.pdf"));
    QCOMPARE(Read_All(received.AttachmentPathName()), Read_All(attached));
    QVERIFY(Read_All(script + ".out").contains("<jane@example.com>"));
}

void tst_mapi::a_failing_sendmail_is_an_error()
{
    Test_Clock clock;
    MAPIMessages messages;
    messages.Compose();
    messages.RecipAddress = "jane@example.com";
    messages.ComposeSubject = "s";
    qputenv("SENDMAIL", "/bin/sh -c \"cat >/dev/null; echo refused >&2; exit 75\"");
    try {
        messages.Send();
        QFAIL("a failed delivery was reported as sent");
    } catch (const MAPI_Error& error) {
        QVERIFY2(error.Description().contains("75") && error.Description().contains("refused"),
                 qPrintable(error.Description()));
    }
    qputenv("SENDMAIL", "/nonexistent/sendmail -t");
    QVERIFY_THROWS_EXCEPTION(MAPI_Error, messages.Send());
    messages.Compose();
    qunsetenv("SENDMAIL");
    QVERIFY_THROWS_EXCEPTION(MAPI_Error, messages.Send());  // no recipient
    messages.RecipAddress = "jane@example.com";
    messages.Add_Attachment("/nonexistent/file.pdf", "file.pdf");
    QVERIFY_THROWS_EXCEPTION(MAPI_Error, messages.Send());
}

QTEST_GUILESS_MAIN(tst_mapi)
#include "tst_mapi.moc"
