#pragma once
// Reading one message file of the mail store with GMime: its sender, subject,
// date, note text and attachments. Every call works on GMime objects of its
// own and keeps none, so messages may be read on several threads at once.

#include <QDateTime>
#include <QList>
#include <QString>

struct Mail_Attachment {
    QString Name;            // a plain file name
    QString Written;         // the path of its decoded copy
    bool Truncated = false;  // the message ends inside it: the copy holds what came
};

struct Mail_Content {
    QString Path;            // the file that was read
    QString Subject;
    QString Text;            // CR LF line ends
    QString Address;         // the bare sender address, as the From header gives it
    QString Name;            // the sender's name, else the address
    QString From_Header;     // the From header as it stands (null when there is none)
    QDateTime Date;          // invalid when the header has none
    QList<Mail_Attachment> Attachments;
};

// Reads the message file at Path. Attachment n is written as
// Attachment_Prefix + "-" + n + "/" + its name; Attachment_Prefix's folder
// must exist. Throws MAPI_Error (naming the message by Unique_Name) when the
// file cannot be read or holds no message, or an attachment cannot be written.
Mail_Content Parse_Mail_File(const QString& Path, const QString& Unique_Name, const QString& Attachment_Prefix);

// The readable text of an HTML part, in one pass whatever its size: no head,
// scripts, styles or titles, no comments, block ends as line breaks, other
// tags dropped, entities decoded, blanks within a line run together, each
// line trimmed. An element that is never closed loses only its tag.
QString Html_To_Text(const QString& Html);

// The Maildir unique name of a message file: its name up to the ":" of its flags.
QString Maildir_Unique_Name(const QString& File_Name);

// Makes GMime ready for use on any thread; call once on the main thread first.
void Init_GMime();
