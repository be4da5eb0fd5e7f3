#include "Mail_Compose.h"

#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QMimeDatabase>
#include <gmime/gmime.h>

#include "MAPI.h"
#include "Mail_Parse.h"

namespace {

// Text whose lines a 7bit transport carries as they are.
bool Plain_Seven_Bit(const QByteArray& text)
{
    int line = 0;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\r' || c == '\0')
            return false;
        line = c == '\n' ? 0 : line + 1;
        if (line > 998)
            return false;
    }
    return true;
}

GMimeObject* Text_Part(const QString& Text)
{
    QString body = Text;
    body.replace("\r\n", "\n");
    body.replace('\r', '\n');
    const QByteArray utf8 = body.toUtf8();
    GMimeTextPart* text = g_mime_text_part_new_with_subtype("plain");
    // The text goes as UTF-8 bytes (setting it as text would convert it to
    // a narrower charset where one fits).
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(utf8.constData(), utf8.size());
    GMimeDataWrapper* content = g_mime_data_wrapper_new_with_stream(stream, GMIME_CONTENT_ENCODING_DEFAULT);
    g_object_unref(stream);
    g_mime_part_set_content(GMIME_PART(text), content);
    g_object_unref(content);
    g_mime_text_part_set_charset(text, "utf-8");
    // Quoted-printable, never base64 for text: it survives any server and stays readable.
    g_mime_part_set_content_encoding(GMIME_PART(text), Plain_Seven_Bit(utf8)
                                                           ? GMIME_CONTENT_ENCODING_7BIT
                                                           : GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE);
    return GMIME_OBJECT(text);
}

GMimeObject* File_Part(const Outgoing_Mail::File& file, const QMimeDatabase& types)
{
    QFile in(file.Path);
    if (!in.open(QIODevice::ReadOnly))
        throw MAPI_Error("Cannot read the attachment " + file.Path + ": " + in.errorString());
    const QByteArray data = in.readAll();
    const QStringList type = types.mimeTypeForFile(file.Path).name().split('/');
    GMimePart* part = g_mime_part_new_with_type(type.value(0, "application").toUtf8().constData(),
                                                type.value(1, "octet-stream").toUtf8().constData());
    const QString own = file.Name.isEmpty() ? QFileInfo(file.Path).fileName() : file.Name;
    g_mime_part_set_filename(part, Safe_Attachment_Name(own).toUtf8().constData());
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(data.constData(), data.size());
    GMimeDataWrapper* content = g_mime_data_wrapper_new_with_stream(stream, GMIME_CONTENT_ENCODING_DEFAULT);
    g_object_unref(stream);
    g_mime_part_set_content(part, content);
    g_object_unref(content);
    g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
    return GMIME_OBJECT(part);
}

void Add_Mailbox(GMimeMessage* message, GMimeAddressType type, const QString& name, const QString& address)
{
    const QByteArray utf8_name = name.trimmed().toUtf8();
    g_mime_message_add_mailbox(message, type, utf8_name.isEmpty() ? nullptr : utf8_name.constData(),
                               address.trimmed().toUtf8().constData());
}

} // namespace

QString New_Message_ID(const QString& Domain)
{
    Init_GMime();
    const QString domain = Domain.isEmpty() ? QHostInfo::localHostName() : Domain;
    char* id = g_mime_utils_generate_message_id(domain.toUtf8().constData());
    const QString text = QString::fromUtf8(id);
    g_free(id);
    return text;
}

QByteArray Compose_Mail(const Outgoing_Mail& Mail)
{
    Init_GMime();
    GMimeMessage* message = g_mime_message_new(TRUE);
    if (!Mail.From_Address.trimmed().isEmpty())
        Add_Mailbox(message, GMIME_ADDRESS_TYPE_FROM, Mail.From_Name, Mail.From_Address);
    Add_Mailbox(message, GMIME_ADDRESS_TYPE_TO, Mail.To_Name, Mail.To_Address);
    g_mime_message_set_subject(message, Mail.Subject.toUtf8().constData(), "utf-8");
    // The date in the local zone, with its offset.
    GDateTime* date = g_date_time_new_from_unix_local(Mail.Date.toSecsSinceEpoch());
    g_mime_message_set_date(message, date);
    g_date_time_unref(date);
    const QString id = Mail.Message_ID.isEmpty() ? New_Message_ID(QString()) : Mail.Message_ID;
    g_mime_message_set_message_id(message, id.toUtf8().constData());

    GMimeObject* text = Text_Part(Mail.Text);
    if (Mail.Files.isEmpty()) {
        g_mime_message_set_mime_part(message, text);
        g_object_unref(text);
    } else {
        GMimeMultipart* mixed = g_mime_multipart_new_with_subtype("mixed");
        g_mime_multipart_add(mixed, text);
        g_object_unref(text);
        g_mime_message_set_mime_part(message, GMIME_OBJECT(mixed));
        g_object_unref(mixed);
        const QMimeDatabase types;
        for (const Outgoing_Mail::File& file : Mail.Files) {
            GMimeObject* part = nullptr;
            try {
                part = File_Part(file, types);
            } catch (...) {
                g_object_unref(message);
                throw;
            }
            g_mime_multipart_add(mixed, part);
            g_object_unref(part);
        }
    }
    char* raw = g_mime_object_to_string(GMIME_OBJECT(message), nullptr);
    const QByteArray result(raw);
    g_free(raw);
    g_object_unref(message);
    return result;
}
