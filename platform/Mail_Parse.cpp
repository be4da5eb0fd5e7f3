#include "Mail_Parse.h"

#include "MAPI.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMimeDatabase>
#include <cctype>
#include <fcntl.h>
#include <gmime/gmime.h>
#include <mutex>

namespace {

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

bool Is_Word_Character(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

// Whether Html holds Name (case-insensitive) at Position, ending at a word boundary.
bool Name_At(const QString& html, qsizetype position, QLatin1StringView name)
{
    const qsizetype end = position + name.size();
    if (end > html.size())
        return false;
    if (QStringView(html).mid(position, name.size()).compare(name, Qt::CaseInsensitive) != 0)
        return false;
    return end == html.size() || !Is_Word_Character(html.at(end));
}

// An entity at Position ("&amp;", "&#233;", "&#xE9;"): its text and length, or 0.
qsizetype Entity_At(const QString& html, qsizetype position, QString& decoded)
{
    // No entity name is longer; a longer run is plain text, looked at once.
    constexpr qsizetype Longest = 32;
    const qsizetype limit = qMin(html.size(), position + Longest);
    qsizetype semicolon = -1;
    for (qsizetype i = position + 1; i < limit; ++i) {
        const QChar c = html.at(i);
        if (c == ';') {
            semicolon = i;
            break;
        }
        if (!(c.isLetterOrNumber() || c == '#') || c.unicode() > 127)
            return 0;
    }
    if (semicolon < 0)
        return 0;
    const QString name = html.mid(position + 1, semicolon - position - 1);
    if (name.isEmpty())
        return 0;
    const qsizetype length = semicolon - position + 1;
    const auto code_point = [&](uint code) {
        if (code == 0 || code > 0x10FFFF)
            return false;
        const char32_t c = code;
        decoded = QString::fromUcs4(&c, 1);
        return true;
    };
    if (name.startsWith('#')) {
        // "#" and decimal digits, or "#x" and hexadecimal ones.
        const bool hex = name.startsWith("#x") || name.startsWith("#X");
        const QString digits = name.mid(hex ? 2 : 1);
        bool valid = !digits.isEmpty();
        for (const QChar c : digits)
            valid = valid && (hex ? isxdigit(c.unicode()) : isdigit(c.unicode()));
        if (!valid)
            return 0;
        bool ok = false;
        const uint code = digits.toUInt(&ok, hex ? 16 : 10);
        if (!ok || !code_point(code))
            decoded = html.mid(position, length);
        return length;
    }
    for (const QChar c : name) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return 0;
    }
    static const QHash<QString, QString> names = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"},
        {"nbsp", " "}, {"copy", QString(QChar(0xA9))}, {"reg", QString(QChar(0xAE))},
        {"euro", QString(QChar(0x20AC))}, {"ndash", QString(QChar(0x2013))},
        {"mdash", QString(QChar(0x2014))}, {"hellip", QString(QChar(0x2026))},
    };
    decoded = names.value(name, html.mid(position, length));
    return length;
}

// Runs of blanks become one, each line is trimmed, empty lines at either end go.
QString Tidy_Lines(const QString& text)
{
    QStringList lines;
    for (const QStringView raw : QStringView(text).split(u'\n')) {
        QString line;
        line.reserve(raw.size());
        bool blank = false;
        for (const QChar c : raw) {
            if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
                blank = true;
                continue;
            }
            if (blank)
                line += ' ';
            blank = false;
            line += c;
        }
        lines << line.trimmed();
    }
    while (!lines.isEmpty() && lines.first().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join('\n');
}

struct Hidden_Element {
    QLatin1StringView name;
    QString close;            // "</name"
    qsizetype last_close = -1;  // where the last "</name" closed by ">" starts
};

// Where the "</name" at Position ends when ">" (after blanks) closes it; -1 when it does not.
qsizetype Close_Tag_End(const QString& html, qsizetype position, qsizetype length)
{
    qsizetype at = position + length;
    while (at < html.size() && html.at(at).isSpace())
        ++at;
    return at < html.size() && html.at(at) == '>' ? at + 1 : -1;
}

} // namespace

QString Html_To_Text(const QString& html)
{
    // Every search below runs forward from where the scan stands and the scan
    // goes on past what it found, or is not made at all when the last
    // occurrence lies behind: so each character is looked at a bounded number
    // of times, also for tags that never close.
    Hidden_Element hidden[] = {{QLatin1StringView("head"), "</head"},
                               {QLatin1StringView("script"), "</script"},
                               {QLatin1StringView("style"), "</style"},
                               {QLatin1StringView("title"), "</title"}};
    for (Hidden_Element& element : hidden) {
        qsizetype from = html.size();
        while (from > 0) {
            const qsizetype at = html.lastIndexOf(element.close, from - 1, Qt::CaseInsensitive);
            if (at < 0)
                break;
            if (Close_Tag_End(html, at, element.close.size()) >= 0) {
                element.last_close = at;
                break;
            }
            from = at;
        }
    }
    const qsizetype last_gt = html.lastIndexOf('>');
    const qsizetype last_comment_end = html.lastIndexOf(QLatin1StringView("-->"));
    static const QLatin1StringView breaks[] = {
        QLatin1StringView("br"), QLatin1StringView("hr"), QLatin1StringView("/p"),
        QLatin1StringView("/div"), QLatin1StringView("/tr"), QLatin1StringView("/li"),
        QLatin1StringView("/table"), QLatin1StringView("/h1"), QLatin1StringView("/h2"),
        QLatin1StringView("/h3"), QLatin1StringView("/h4"), QLatin1StringView("/h5"),
        QLatin1StringView("/h6")};

    QString out;
    out.reserve(html.size());
    qsizetype i = 0;
    const qsizetype n = html.size();
    while (i < n) {
        const QChar c = html.at(i);
        if (c == '\r' || c == '\n') {
            // Line ends in the source are blanks; a run of them is one.
            while (i < n && (html.at(i) == '\r' || html.at(i) == '\n'))
                ++i;
            out += ' ';
            continue;
        }
        if (c == '&') {
            QString decoded;
            if (const qsizetype length = Entity_At(html, i, decoded)) {
                out += decoded;
                i += length;
                continue;
            }
            out += c;
            ++i;
            continue;
        }
        if (c != '<') {
            out += c;
            ++i;
            continue;
        }
        if (QStringView(html).mid(i, 4) == QLatin1StringView("<!--") && last_comment_end >= i + 4) {
            i = html.indexOf(QLatin1StringView("-->"), i + 4) + 3;
            continue;
        }
        bool skipped = false;
        for (const Hidden_Element& element : hidden) {
            if (element.last_close < i + 1 + element.name.size() || !Name_At(html, i + 1, element.name))
                continue;
            qsizetype from = i + 1 + element.name.size();
            for (;;) {
                const qsizetype at = html.indexOf(element.close, from, Qt::CaseInsensitive);
                const qsizetype end = Close_Tag_End(html, at, element.close.size());
                if (end >= 0) {
                    i = end;
                    break;
                }
                from = at + 1;
            }
            skipped = true;
            break;
        }
        if (skipped)
            continue;
        if (last_gt < i) {
            // No ">" follows: not a tag but text.
            out += c;
            ++i;
            continue;
        }
        bool is_break = false;
        for (const QLatin1StringView name : breaks) {
            if (Name_At(html, i + 1, name)) {
                is_break = true;
                break;
            }
        }
        i = html.indexOf('>', i) + 1;
        if (is_break)
            out += '\n';
    }
    return Tidy_Lines(out);
}

QString Maildir_Unique_Name(const QString& File_Name)
{
    const qsizetype colon = File_Name.indexOf(':');
    return colon < 0 ? File_Name : File_Name.left(colon);
}

void Init_GMime()
{
    static std::once_flag done;
    std::call_once(done, [] { g_mime_init(); });
}

namespace {

// What one reading of a message file collects while it walks the parts.
struct Walk_State {
    QString text, html_text;
    bool have_plain = false, have_html = false;
    struct Part {
        GMimeObject* object = nullptr;  // owned by the message
        QString name;
    };
    QList<Part> attachments;
    GMimeObject* last_leaf = nullptr;   // in the order of the file
    bool truncated = false;             // a multipart ended at the end of the file

    void Walk(GMimeObject* object)
    {
        if (GMIME_IS_MULTIPART(object)) {
            GMimeMultipart* multipart = GMIME_MULTIPART(object);
            const int count = g_mime_multipart_get_count(multipart);
            for (int i = 0; i < count; ++i)
                Walk(g_mime_multipart_get_part(multipart, i));
            return;
        }
        last_leaf = object;
        if (GMIME_IS_MESSAGE_PART(object)) {
            GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
            QString inner_name = inner ? From_Utf8(g_mime_message_get_subject(inner)) : QString();
            if (inner_name.isEmpty())
                inner_name = "message";
            attachments << Part{object, Safe_Attachment_Name(inner_name + ".eml")};
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
        attachments << Part{object, Safe_Attachment_Name(own)};
    }
};

void On_Parser_Warning(gint64, GMimeParserWarning code, const gchar*, gpointer data)
{
    if (code == GMIME_WARN_TRUNCATED_MESSAGE)
        static_cast<Walk_State*>(data)->truncated = true;
}

// Writes the decoded content of one part to target.
void Write_Part(GMimeObject* object, const QString& target)
{
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
    if (GMIME_IS_MESSAGE_PART(object)) {
        GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
        written = inner ? g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, out) : 0;
    } else {
        GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(object));
        written = content ? g_mime_data_wrapper_write_to_stream(content, out) : 0;
    }
    const int flushed = g_mime_stream_flush(out);
    const int closed = g_mime_stream_close(out);
    g_object_unref(out);
    if (written < 0 || flushed != 0 || closed != 0)
        throw MAPI_Error("Cannot write " + target + ".");
}

} // namespace

Mail_Content Parse_Mail_File(const QString& Path, const QString& Unique_Name, const QString& Attachment_Prefix)
{
    QFile in(Path);
    if (!in.open(QIODevice::ReadOnly))
        throw MAPI_Error("The message " + Unique_Name + " cannot be read: " + in.errorString());
    const QByteArray content = in.readAll();
    if (in.error() != QFileDevice::NoError)
        throw MAPI_Error("The message " + Unique_Name + " cannot be read: " + in.errorString());
    in.close();

    Init_GMime();
    Walk_State walk;
    GMimeParserOptions* options = g_mime_parser_options_new();
    g_mime_parser_options_set_warning_callback(options, On_Parser_Warning, &walk);
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(content.constData(), content.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, options);
    g_object_unref(parser);
    g_object_unref(stream);
    // The options stay until the message is gone: its headers refer to them.
    const auto release = [&] {
        if (message)
            g_object_unref(message);
        g_mime_parser_options_free(options);
    };
    if (!message) {
        release();
        throw MAPI_Error("The message " + Unique_Name + " is not a mail message.");
    }

    Mail_Content mail;
    mail.Path = Path;
    try {
        mail.Subject = From_Utf8(g_mime_message_get_subject(message));
        if (const char* from = g_mime_object_get_header(GMIME_OBJECT(message), "From"))
            mail.From_Header = QString::fromUtf8(from).trimmed();
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
            mail.Address = From_Utf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(sender))).trimmed();
            mail.Name = From_Utf8(internet_address_get_name(sender)).trimmed();
        }
        if (mail.Address.isNull())
            mail.Address = QString("");
        if (mail.Name.isEmpty())
            mail.Name = mail.Address;
        if (GDateTime* sent = g_mime_message_get_date(message))
            mail.Date = QDateTime::fromSecsSinceEpoch(g_date_time_to_unix(sent)).toLocalTime();
        GMimeObject* body = g_mime_message_get_mime_part(message);
        if (body)
            walk.Walk(body);
        // A multipart whose boundary never comes holds its whole text as the prologue.
        if (!walk.have_plain && !walk.have_html && body && GMIME_IS_MULTIPART(body)) {
            walk.text = From_Utf8(g_mime_multipart_get_prologue(GMIME_MULTIPART(body)));
            walk.have_plain = true;
        }
        mail.Text = Crlf_Lines(walk.have_plain ? walk.text : Html_To_Text(walk.html_text));

        for (int index = 0; index < walk.attachments.size(); ++index) {
            const Walk_State::Part& part = walk.attachments.at(index);
            const QString folder = Attachment_Prefix + "-" + QString::number(index);
            if (!QDir().mkpath(folder))
                throw MAPI_Error("Cannot make the folder " + folder + ".");
            Mail_Attachment attachment;
            attachment.Name = part.name;
            attachment.Written = folder + "/" + part.name;
            // The part the file ended in: what came of it is all there is.
            attachment.Truncated = walk.truncated && part.object == walk.last_leaf;
            Write_Part(part.object, attachment.Written);
            mail.Attachments << attachment;
        }
    } catch (...) {
        release();
        throw;
    }
    release();
    return mail;
}
