#pragma once
// The mail client's session and message set, over the user's Maildir
// ($MAILDIR, else ~/Maildir). Messages are parsed with GMime when first read;
// sending composes a MIME message and pipes it to the sendmail interface
// ($SENDMAIL, else "/usr/sbin/sendmail -t -i").
//
// A message's id is its Maildir unique name (the file name up to the ":" of
// its flags), its received date the time the file was delivered, its date the
// Date: header. Fetching and reading never change a message's flags; Delete
// removes the message's file. Failures throw MAPI_Error.
//
// A fetch lists the store's folders again only when they changed since the
// last fetch of this process. Messages can be read ahead on threads of their
// own (Read_Ahead) while the caller works through them in order.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "Program_Error.h"

class QTemporaryDir;
struct Mail_Attachment;
struct Mail_Content;

class MAPI_Error : public Program_Error {
public:
    using Program_Error::Program_Error;
};

// The Maildir this process reads: $MAILDIR, else ~/Maildir.
QString Mail_Store_Folder();

// An attachment's name from outside reduced to a plain file name: no folders,
// no "." or "..", no control characters; never empty.
QString Safe_Attachment_Name(const QString& Name);

class MAPISession {
public:
    // Opens the store: it must be a readable Maildir (cur/ and new/).
    void SignOn();
    void SignOff();
    qint64 SessionID() const { return session_id_; }
    QString Store_Folder() const { return folder_; }

private:
    qint64 session_id_ = 0;
    QString folder_;
};

class MAPIMessages {
public:
    MAPIMessages();
    ~MAPIMessages();
    MAPIMessages(const MAPIMessages&) = delete;
    MAPIMessages& operator=(const MAPIMessages&) = delete;

    // Binds the set to a signed-on session (0 unbinds).
    void Set_Session(const MAPISession* session);
    qint64 SessionID() const;

    // Fetching: every message of new/ and cur/, or only those without the
    // S (seen) flag; oldest delivery first. The window's events are handled
    // while the store is listed.
    bool FetchUnreadOnly = false;
    void Fetch();
    int MsgCount() const;
    int MsgIndex = 0;

    // Reads the messages at these indexes ahead, in this order, on threads of
    // their own, keeping a few read messages ready; reading one of them waits
    // for it. Ends what an earlier call had started.
    void Read_Ahead(const QList<int>& Indexes);
    // Waits up to Milliseconds for the message at Index to be read (or to
    // have failed); true when it is.
    bool Wait_Until_Read(int Index, int Milliseconds);
    // Forgets what reading the message at Index took (its text, its
    // attachments' temporary copies, which go soon after on a thread of
    // their own); it is read again when asked for.
    void Release(int Index);

    // The current message (MsgIndex). Reading a message the store cannot give
    // (gone, unreadable) throws for that message only.
    QString MsgID() const;
    QDateTime MsgDateReceived() const;
    QDateTime MsgDate() const;          // invalid when the header has none
    QString MsgSubject() const;
    QString MsgNoteText() const;        // CR LF line ends
    QString MsgOrigAddress() const;     // the bare address
    QString MsgOrigDisplayName() const; // the name, else the address
    QString MsgOrigHeader() const;      // the From header as it stands; null when none
    QString MsgFilePath() const;
    int AttachmentCount() const;
    int AttachmentIndex = 0;
    QString AttachmentName() const;     // a plain file name
    // The path of a temporary copy of the attachment, written when the
    // message is read; the copies last until the message is released or the
    // next fetch.
    QString AttachmentPathName() const;
    // The message ends inside this attachment: its copy holds what came.
    bool AttachmentTruncated() const;

    // Removes the current message from the store and from the set.
    void Delete();

    // Composing and sending. The sender is the mail client's own (sendmail's).
    void Compose();
    QString RecipAddress;
    QString RecipDisplayName;
    QString ComposeSubject;
    QString ComposeNoteText;
    void Add_Attachment(const QString& Path_Name, const QString& Name);
    int Compose_Attachment_Count() const;
    // The composed message as it goes to sendmail (for the sender and tests).
    QByteArray Composed_Message() const;
    // Hands the message to sendmail and waits for it (the window stays
    // responsive); throws when it cannot be started or reports failure.
    void Send();

private:
    struct Stored_Message;
    struct Readers;
    class Folder_Remover;
    struct Attachment_Out {
        QString Path_Name;
        QString Name;
    };
    Stored_Message& Current() const;
    const Mail_Content& Parsed() const;
    const Mail_Attachment& Current_Attachment() const;
    QString Temporary_Folder() const;
    void Remove_Later(const QString& folder);
    void Stop_Reading_Ahead();

    // What the last fetch listed: the same again gives the same messages.
    struct Fetched {
        QString store;
        quint64 new_listing = 0, cur_listing = 0;
        bool unread_only = false;
        bool operator==(const Fetched&) const = default;
    };

    const MAPISession* session_ = nullptr;
    Fetched fetched_;
    QList<std::shared_ptr<Stored_Message>> messages_;
    mutable std::unique_ptr<QTemporaryDir> temp_;
    std::unique_ptr<Readers> readers_;
    QList<Attachment_Out> attachments_out_;
    // After temp_, so it has removed what it was given before temp_ goes.
    std::unique_ptr<Folder_Remover> remover_;
};
