#include "MAPI.h"

#include "Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <fcntl.h>
#include <gmime/gmime.h>

namespace {

void Init_GMime()
{
    static bool done = false;
    if (!done) {
        g_mime_init();
        done = true;
    }
}

QString From_Utf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString("");
}

// Any line end becomes CR LF, as a mail client hands a message's text.
QString Crlf_Lines(QString text)
{
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    text.replace("\n", "\r\n");
    return text;
}

QString Decode_Entities(const QString& text)
{
    static const QRegularExpression entity("&(#[0-9]+|#[xX][0-9a-fA-F]+|[a-zA-Z]+);");
    QString out;
    qsizetype last = 0;
    auto it = entity.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        QString replacement = m.captured(0);
        if (name.startsWith("#x") || name.startsWith("#X")) {
            bool ok = false;
            const uint code = name.mid(2).toUInt(&ok, 16);
            if (ok && code > 0 && code <= 0x10FFFF)
                replacement = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else if (name.startsWith('#')) {
            bool ok = false;
            const uint code = name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF)
                replacement = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else {
            static const QHash<QString, QString> names = {
                {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"},
                {"nbsp", " "}, {"copy", QString(QChar(0xA9))}, {"reg", QString(QChar(0xAE))},
                {"euro", QString(QChar(0x20AC))}, {"ndash", QString(QChar(0x2013))},
                {"mdash", QString(QChar(0x2014))}, {"hellip", QString(QChar(0x2026))},
            };
            replacement = names.value(name, replacement);
        }
        out += replacement;
        last = m.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

// The readable text of an HTML part: no head, scripts or styles, block ends
// as line breaks, tags dropped, entities decoded.
QString Html_To_Text(QString html)
{
    using RE = QRegularExpression;
    static const RE hidden("<(head|script|style|title)\\b.*?</\\1\\s*>",
                           RE::CaseInsensitiveOption | RE::DotMatchesEverythingOption);
    static const RE comment("<!--.*?-->", RE::DotMatchesEverythingOption);
    static const RE breaks("<(br|/p|/div|/tr|/li|/h[1-6]|/table|hr)\\b[^>]*>", RE::CaseInsensitiveOption);
    static const RE tag("<[^>]*>");
    static const RE spaces("[ \\t\\f\\v]+");
    html.remove(comment);
    html.remove(hidden);
    html.replace(RE("[\\r\\n]+"), " ");
    html.replace(breaks, "\n");
    html.remove(tag);
    html = Decode_Entities(html);
    QStringList lines;
    for (QString line : html.split('\n')) {
        line.replace(spaces, " ");
        lines << line.trimmed();
    }
    while (!lines.isEmpty() && lines.first().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join('\n');
}

const QString Unique_Separator = ":";

// The Maildir unique name: the file name up to the ":" of its flags.
QString Unique_Name(const QString& file_name)
{
    const qsizetype colon = file_name.indexOf(Unique_Separator);
    return colon < 0 ? file_name : file_name.left(colon);
}

bool Seen(const QString& file_name)
{
    const qsizetype info = file_name.indexOf(":2,");
    return info >= 0 && file_name.mid(info + 3).contains('S');
}

qint64 next_session_id = 0;

} // namespace

QString Mail_Store_Folder()
{
    const QString folder = qEnvironmentVariable("MAILDIR");
    if (!folder.isEmpty())
        return QDir::cleanPath(folder);
    return QDir::homePath() + "/Maildir";
}

QString Safe_Attachment_Name(const QString& Name)
{
    QString name = Name;
    name.replace('\\', '/');
    name = name.mid(name.lastIndexOf('/') + 1);
    QString plain;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            continue;
        plain += c;
    }
    plain = plain.trimmed();
    if (plain.isEmpty() || plain == "." || plain == "..")
        plain = "attachment";
    // Keep within what a file system takes for one name, extension kept.
    while (plain.toUtf8().size() > 200) {
        const qsizetype dot = plain.lastIndexOf('.');
        const qsizetype cut = (dot > 0 && plain.size() - dot < 20) ? dot - 1 : plain.size() - 1;
        plain.remove(cut, 1);
    }
    return plain;
}

void MAPISession::SignOn()
{
    const QString folder = Mail_Store_Folder();
    const QFileInfo cur(folder + "/cur");
    const QFileInfo fresh(folder + "/new");
    if (!cur.isDir() || !fresh.isDir())
        throw MAPI_Error("There is no mail store at " + folder + ".");
    if (!cur.isReadable() || !fresh.isReadable() || !QDir(cur.filePath()).isReadable()
        || !QDir(fresh.filePath()).isReadable())
        throw MAPI_Error("The mail store at " + folder + " cannot be read.");
    folder_ = folder;
    session_id_ = ++next_session_id;
}

void MAPISession::SignOff()
{
    session_id_ = 0;
}

struct MAPIMessages::Stored_Message {
    int serial = 0;
    QString path;
    QString unique_name;
    QDateTime received;
    bool parsed = false;
    QString subject, text, address, name;
    QDateTime date;
    GMimeMessage* message = nullptr;
    struct Part {
        GMimeObject* object = nullptr;  // owned by message
        QString name;
        QString written;                 // the temporary copy, once written
    };
    QList<Part> attachments;

    ~Stored_Message()
    {
        if (message)
            g_object_unref(message);
    }

    // The file may have moved between new/ and cur/ since the fetch.
    QString Locate(const QString& store) const
    {
        if (QFileInfo(path).isFile())
            return path;
        for (const char* sub : {"/cur", "/new"}) {
            const QDir dir(store + sub);
            for (const QString& entry : dir.entryList(QDir::Files)) {
                if (Unique_Name(entry) == unique_name)
                    return dir.filePath(entry);
            }
        }
        return QString();
    }

    void Walk(GMimeObject* object)
    {
        if (GMIME_IS_MULTIPART(object)) {
            GMimeMultipart* multipart = GMIME_MULTIPART(object);
            const int count = g_mime_multipart_get_count(multipart);
            for (int i = 0; i < count; ++i)
                Walk(g_mime_multipart_get_part(multipart, i));
            return;
        }
        if (GMIME_IS_MESSAGE_PART(object)) {
            GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
            QString inner_name = inner ? From_Utf8(g_mime_message_get_subject(inner)) : QString();
            if (inner_name.isEmpty())
                inner_name = "message";
            attachments << Part{object, Safe_Attachment_Name(inner_name + ".eml"), {}};
            return;
        }
        if (!GMIME_IS_PART(object))
            return;
        GMimePart* part = GMIME_PART(object);
        const char* file_name = g_mime_part_get_filename(part);
        const bool attached = g_mime_part_is_attachment(part) || file_name;
        GMimeContentType* type = g_mime_object_get_content_type(object);
        if (!attached && GMIME_IS_TEXT_PART(object)) {
            const bool html = g_mime_content_type_is_type(type, "text", "html");
            const bool plain = g_mime_content_type_is_type(type, "text", "plain");
            if (plain && !have_plain) {
                char* body = g_mime_text_part_get_text(GMIME_TEXT_PART(object));
                text = From_Utf8(body);
                g_free(body);
                have_plain = true;
                return;
            }
            if (html && !have_html) {
                char* body = g_mime_text_part_get_text(GMIME_TEXT_PART(object));
                html_text = From_Utf8(body);
                g_free(body);
                have_html = true;
                return;
            }
        }
        QString own = From_Utf8(file_name);
        if (own.isEmpty()) {
            // The usual extension of its type ("text/plain" gives ".txt").
            const QString mime = From_Utf8(g_mime_content_type_get_media_type(type)) + "/"
                + From_Utf8(g_mime_content_type_get_media_subtype(type));
            QString suffix = QMimeDatabase().mimeTypeForName(mime.toLower()).preferredSuffix();
            if (suffix.isEmpty())
                suffix = From_Utf8(g_mime_content_type_get_media_subtype(type));
            own = "attachment" + (suffix.isEmpty() ? QString() : "." + suffix);
        }
        attachments << Part{object, Safe_Attachment_Name(own), {}};
    }

    bool have_plain = false, have_html = false;
    QString html_text;

    void Parse(const QString& store)
    {
        if (parsed)
            return;
        const QString file = Locate(store);
        if (file.isEmpty())
            throw MAPI_Error("The message " + unique_name + " is no longer in the mail store.");
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            throw MAPI_Error("The message " + unique_name + " cannot be read: " + in.errorString());
        const QByteArray content = in.readAll();
        if (in.error() != QFileDevice::NoError)
            throw MAPI_Error("The message " + unique_name + " cannot be read: " + in.errorString());
        Init_GMime();
        GMimeStream* stream = g_mime_stream_mem_new_with_buffer(content.constData(), content.size());
        GMimeParser* parser = g_mime_parser_new_with_stream(stream);
        message = g_mime_parser_construct_message(parser, nullptr);
        g_object_unref(parser);
        g_object_unref(stream);
        if (!message)
            throw MAPI_Error("The message " + unique_name + " is not a mail message.");
        path = file;
        subject = From_Utf8(g_mime_message_get_subject(message));
        InternetAddressList* from = g_mime_message_get_from(message);
        InternetAddress* sender = nullptr;
        if (from && internet_address_list_length(from) > 0)
            sender = internet_address_list_get_address(from, 0);
        if (sender && INTERNET_ADDRESS_IS_GROUP(sender)) {
            InternetAddressList* members = internet_address_group_get_members(INTERNET_ADDRESS_GROUP(sender));
            sender = (members && internet_address_list_length(members) > 0)
                ? internet_address_list_get_address(members, 0) : nullptr;
        }
        if (sender && INTERNET_ADDRESS_IS_MAILBOX(sender)) {
            address = From_Utf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(sender))).trimmed();
            name = From_Utf8(internet_address_get_name(sender)).trimmed();
        }
        if (address.isNull())
            address = QString("");
        if (name.isEmpty())
            name = address;
        if (GDateTime* sent = g_mime_message_get_date(message))
            date = QDateTime::fromSecsSinceEpoch(g_date_time_to_unix(sent)).toLocalTime();
        GMimeObject* body = g_mime_message_get_mime_part(message);
        if (body)
            Walk(body);
        // A multipart whose boundary never comes holds its whole text as the prologue.
        if (!have_plain && !have_html && body && GMIME_IS_MULTIPART(body)) {
            text = From_Utf8(g_mime_multipart_get_prologue(GMIME_MULTIPART(body)));
            have_plain = true;
        }
        text = Crlf_Lines(have_plain ? text : Html_To_Text(html_text));
        parsed = true;
    }
};

MAPIMessages::MAPIMessages() = default;
MAPIMessages::~MAPIMessages() = default;

void MAPIMessages::Set_Session(const MAPISession* session)
{
    session_ = session;
}

qint64 MAPIMessages::SessionID() const
{
    return session_ ? session_->SessionID() : 0;
}

void MAPIMessages::Fetch()
{
    if (SessionID() == 0)
        throw MAPI_Error("Not signed on to the mail store.");
    const QString store = session_->Store_Folder();
    QList<std::shared_ptr<Stored_Message>> found;
    int serial = 0;
    for (const char* sub : {"/new", "/cur"}) {
        QDir dir(store + sub);
        if (!dir.exists() || !dir.isReadable())
            throw MAPI_Error("The mail store at " + store + " cannot be read.");
        const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
        for (const QFileInfo& entry : entries) {
            const QString file_name = entry.fileName();
            if (file_name.startsWith('.'))
                continue;
            if (FetchUnreadOnly && Seen(file_name))
                continue;
            auto message = std::make_shared<Stored_Message>();
            message->serial = ++serial;
            message->path = entry.filePath();
            message->unique_name = Unique_Name(file_name);
            QDateTime delivered = entry.lastModified();
            delivered.setTime(QTime(delivered.time().hour(), delivered.time().minute(),
                                    delivered.time().second()));
            message->received = delivered;
            found << message;
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (a->received != b->received)
            return a->received < b->received;
        return a->unique_name < b->unique_name;
    });
    messages_ = found;
    temp_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/brackenlead-mail-XXXXXX");
    MsgIndex = 0;
    AttachmentIndex = 0;
}

int MAPIMessages::MsgCount() const
{
    return int(messages_.size());
}

MAPIMessages::Stored_Message& MAPIMessages::Current() const
{
    if (MsgIndex < 0 || MsgIndex >= messages_.size())
        throw MAPI_Error(QString("There is no message number %1.").arg(MsgIndex));
    return *messages_.at(MsgIndex);
}

QString MAPIMessages::MsgID() const
{
    return Current().unique_name;
}

QDateTime MAPIMessages::MsgDateReceived() const
{
    const QDateTime received = Current().received;
    if (!received.isValid())
        throw MAPI_Error("The mail store gives no delivery time for " + Current().unique_name + ".");
    return received;
}

MAPIMessages::Stored_Message& MAPIMessages::Parsed() const
{
    Stored_Message& message = Current();
    message.Parse(session_ ? session_->Store_Folder() : QString());
    return message;
}

QDateTime MAPIMessages::MsgDate() const { return Parsed().date; }
QString MAPIMessages::MsgSubject() const { return Parsed().subject; }
QString MAPIMessages::MsgNoteText() const { return Parsed().text; }
QString MAPIMessages::MsgOrigAddress() const { return Parsed().address; }
QString MAPIMessages::MsgOrigDisplayName() const { return Parsed().name; }
QString MAPIMessages::MsgFilePath() const { return Parsed().path; }
int MAPIMessages::AttachmentCount() const { return int(Parsed().attachments.size()); }

QString MAPIMessages::AttachmentName() const
{
    Stored_Message& message = Parsed();
    if (AttachmentIndex < 0 || AttachmentIndex >= message.attachments.size())
        throw MAPI_Error(QString("There is no attachment number %1.").arg(AttachmentIndex));
    return message.attachments.at(AttachmentIndex).name;
}

QString MAPIMessages::AttachmentPathName() const
{
    Stored_Message& message = Parsed();
    if (AttachmentIndex < 0 || AttachmentIndex >= message.attachments.size())
        throw MAPI_Error(QString("There is no attachment number %1.").arg(AttachmentIndex));
    Stored_Message::Part& part = message.attachments[AttachmentIndex];
    if (!part.written.isEmpty() && QFileInfo::exists(part.written))
        return part.written;
    if (!temp_ || !temp_->isValid())
        throw MAPI_Error("No temporary folder for the attachments.");
    const QString folder = temp_->filePath(QString("%1-%2").arg(message.serial).arg(AttachmentIndex));
    if (!QDir().mkpath(folder))
        throw MAPI_Error("Cannot make the folder " + folder + ".");
    const QString target = folder + "/" + part.name;
    GError* error = nullptr;
    // The folder is private; the file gets the user's usual mode, which the
    // stored copy and any copy the user saves keep.
    GMimeStream* out = g_mime_stream_fs_open(QFile::encodeName(target).constData(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0666, &error);
    if (!out) {
        const QString why = error ? From_Utf8(error->message) : QString();
        if (error)
            g_error_free(error);
        throw MAPI_Error("Cannot write " + target + ": " + why);
    }
    gssize written = 0;
    if (GMIME_IS_MESSAGE_PART(part.object)) {
        GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(part.object));
        written = inner ? g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, out) : 0;
    } else {
        GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(part.object));
        written = content ? g_mime_data_wrapper_write_to_stream(content, out) : 0;
    }
    const int flushed = g_mime_stream_flush(out);
    g_object_unref(out);
    if (written < 0 || flushed != 0)
        throw MAPI_Error("Cannot write " + target + ".");
    part.written = target;
    return target;
}

void MAPIMessages::Delete()
{
    Stored_Message& message = Current();
    const QString file = message.Locate(session_ ? session_->Store_Folder() : QString());
    if (!file.isEmpty() && !QFile::remove(file))
        throw MAPI_Error("The message " + message.unique_name + " cannot be deleted.");
    messages_.removeAt(MsgIndex);
}

void MAPIMessages::Compose()
{
    RecipAddress.clear();
    RecipDisplayName.clear();
    ComposeSubject.clear();
    ComposeNoteText.clear();
    attachments_out_.clear();
}

void MAPIMessages::Add_Attachment(const QString& Path_Name, const QString& Name)
{
    attachments_out_ << Attachment_Out{Path_Name, Name};
}

int MAPIMessages::Compose_Attachment_Count() const
{
    return int(attachments_out_.size());
}

QByteArray MAPIMessages::Composed_Message() const
{
    if (RecipAddress.trimmed().isEmpty())
        throw MAPI_Error("The message has no recipient.");
    Init_GMime();
    GMimeMessage* message = g_mime_message_new(TRUE);
    const QByteArray name = RecipDisplayName.toUtf8();
    g_mime_message_add_mailbox(message, GMIME_ADDRESS_TYPE_TO,
                               RecipDisplayName.isEmpty() ? nullptr : name.constData(),
                               RecipAddress.trimmed().toUtf8().constData());
    g_mime_message_set_subject(message, ComposeSubject.toUtf8().constData(), "utf-8");
    GDateTime* date = g_date_time_new_from_unix_local(Now().toSecsSinceEpoch());
    g_mime_message_set_date(message, date);
    g_date_time_unref(date);
    char* id = g_mime_utils_generate_message_id(QHostInfo::localHostName().toUtf8().constData());
    g_mime_message_set_message_id(message, id);
    g_free(id);

    QString body = ComposeNoteText;
    body.replace("\r\n", "\n");
    body.replace('\r', '\n');
    GMimeTextPart* text = g_mime_text_part_new_with_subtype("plain");
    g_mime_text_part_set_text(text, body.toUtf8().constData());

    auto release = [&]() { g_object_unref(message); };
    if (attachments_out_.isEmpty()) {
        g_mime_message_set_mime_part(message, GMIME_OBJECT(text));
        g_object_unref(text);
    } else {
        GMimeMultipart* mixed = g_mime_multipart_new_with_subtype("mixed");
        g_mime_multipart_add(mixed, GMIME_OBJECT(text));
        g_object_unref(text);
        g_mime_message_set_mime_part(message, GMIME_OBJECT(mixed));
        g_object_unref(mixed);
        QMimeDatabase types;
        for (const Attachment_Out& file : attachments_out_) {
            QFile in(file.Path_Name);
            if (!in.open(QIODevice::ReadOnly)) {
                release();
                throw MAPI_Error("Cannot read the attachment " + file.Path_Name + ": " + in.errorString());
            }
            const QByteArray data = in.readAll();
            const QStringList type = types.mimeTypeForFile(file.Path_Name).name().split('/');
            GMimePart* part = g_mime_part_new_with_type(type.value(0, "application").toUtf8().constData(),
                                                        type.value(1, "octet-stream").toUtf8().constData());
            QString own = file.Name.isEmpty() ? QFileInfo(file.Path_Name).fileName() : file.Name;
            g_mime_part_set_filename(part, Safe_Attachment_Name(own).toUtf8().constData());
            GMimeStream* stream = g_mime_stream_mem_new_with_buffer(data.constData(), data.size());
            GMimeDataWrapper* content = g_mime_data_wrapper_new_with_stream(stream, GMIME_CONTENT_ENCODING_DEFAULT);
            g_object_unref(stream);
            g_mime_part_set_content(part, content);
            g_object_unref(content);
            g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
            g_mime_multipart_add(mixed, GMIME_OBJECT(part));
            g_object_unref(part);
        }
    }
    g_mime_object_encode(GMIME_OBJECT(message), GMIME_ENCODING_CONSTRAINT_7BIT);
    char* raw = g_mime_object_to_string(GMIME_OBJECT(message), nullptr);
    QByteArray result(raw);
    g_free(raw);
    release();
    return result;
}

void MAPIMessages::Send()
{
    const QByteArray message = Composed_Message();
    QString command = qEnvironmentVariable("SENDMAIL");
    if (command.trimmed().isEmpty())
        command = "/usr/sbin/sendmail -t -i";
    QStringList arguments = QProcess::splitCommand(command);
    const QString program = arguments.takeFirst();
    QProcess sendmail;
    sendmail.start(program, arguments);
    if (!sendmail.waitForStarted(10000))
        throw MAPI_Error("Cannot start the mail program " + program + ": " + sendmail.errorString());
    sendmail.write(message);
    sendmail.closeWriteChannel();
    const bool finished = Wait_Until([&] { return sendmail.state() == QProcess::NotRunning; }, 300);
    if (!finished) {
        sendmail.kill();
        sendmail.waitForFinished(2000);
        throw MAPI_Error("The mail program " + program + " did not finish.");
    }
    const QString errors = QString::fromLocal8Bit(sendmail.readAllStandardError()).trimmed();
    if (sendmail.exitStatus() != QProcess::NormalExit)
        throw MAPI_Error("The mail program " + program + " stopped: " + errors);
    if (sendmail.exitCode() != 0)
        throw MAPI_Error(QString("The mail program %1 failed (exit status %2)%3")
                             .arg(program)
                             .arg(sendmail.exitCode())
                             .arg(errors.isEmpty() ? QString(".") : ": " + errors));
}
