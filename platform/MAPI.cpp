#include "MAPI.h"

#include "Clock.h"
#include "Mail_Compose.h"
#include "Mail_Parse.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <dirent.h>
#include <fcntl.h>
#include <gmime/gmime.h>
#include <mutex>
#include <signal.h>
#include <sys/stat.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace {

bool Seen(const QString& file_name)
{
    const qsizetype info = file_name.indexOf(":2,");
    return info >= 0 && file_name.mid(info + 3).contains('S');
}

qint64 next_session_id = 0;

// One file of a store folder as the last listing found it.
struct Listed_File {
    QString name;
    QString unique;
    qint64 delivered = 0;   // seconds since the epoch
    bool seen = false;
};

// The last listing of one store folder. A folder's change time moves with
// every message that arrives, leaves or is renamed (moved, flagged), so an
// unchanged folder is not listed again.
struct Folder_Listing {
    quint64 generation = 0;   // counts the listings made
    bool trusted = false;
    timespec changed{};
    dev_t device = 0;
    ino_t inode = 0;
    QList<Listed_File> files;
};

std::mutex listings_mutex;
QHash<QString, Folder_Listing> listings;

// A change within the file system's time resolution of the listing could
// leave the change time as it was: such a listing is not trusted later.
constexpr qint64 Listing_Margin_Ns = 2'000'000'000;

qint64 Ns(const timespec& t)
{
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

bool Unchanged(const Folder_Listing& listing, const struct stat& info)
{
    return listing.trusted && Ns(listing.changed) == Ns(info.st_mtim) && listing.device == info.st_dev
        && listing.inode == info.st_ino;
}

// The folder's last listing still holds: it need not be read again.
bool Listing_Holds(const QString& folder)
{
    struct stat info {};
    if (stat(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    std::lock_guard lock(listings_mutex);
    const auto found = listings.constFind(folder);
    return found != listings.constEnd() && Unchanged(found.value(), info);
}

QList<Listed_File> List_Folder(const QString& folder, const QString& store, quint64* generation)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat info {};
    if (stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || access(path.constData(), R_OK | X_OK) != 0)
        throw MAPI_Error("The mail store at " + store + " cannot be read.");
    std::lock_guard lock(listings_mutex);
    Folder_Listing& listing = listings[folder];
    if (Unchanged(listing, info)) {
        *generation = listing.generation;
        return listing.files;
    }

    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    DIR* dir = opendir(path.constData());
    if (!dir)
        throw MAPI_Error("The mail store at " + store + " cannot be read.");
    // A message keeps its delivery time when its name changes; only new names are looked at.
    QHash<QString, qint64> known;
    known.reserve(listing.files.size());
    for (const Listed_File& file : listing.files)
        known.insert(file.name, file.delivered);
    QList<Listed_File> files;
    files.reserve(listing.files.size() + 16);
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        const auto found = known.constFind(name);
        qint64 delivered = 0;
        if (found != known.constEnd() && entry->d_type == DT_REG) {
            delivered = found.value();
        } else {
            struct stat file {};
            if (fstatat(dirfd(dir), entry->d_name, &file, 0) != 0 || !S_ISREG(file.st_mode))
                continue;
            delivered = file.st_mtim.tv_sec;
        }
        files << Listed_File{name, Maildir_Unique_Name(name), delivered, Seen(name)};
    }
    closedir(dir);
    listing.files = files;
    listing.changed = info.st_mtim;
    listing.device = info.st_dev;
    listing.inode = info.st_ino;
    listing.trusted = Ns(now) - Ns(info.st_mtim) >= Listing_Margin_Ns;
    static quint64 listings_made = 0;
    listing.generation = ++listings_made;
    *generation = listing.generation;
    return files;
}

const char* const Temporary_Prefix = "brackenlead-mail-";

// The temporary folders of attachments that programs killed before their
// end left behind (a folder's name carries its process's id).
void Remove_Stale_Temporary_Folders()
{
    static std::once_flag done;
    std::call_once(done, [] {
        const QDir temp(QDir::tempPath());
        for (const QString& name : temp.entryList({QString(Temporary_Prefix) + "*"}, QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QStringList parts = name.mid(qstrlen(Temporary_Prefix)).split('-');
            bool ok = false;
            const qint64 pid = parts.size() == 2 ? parts.first().toLongLong(&ok) : 0;
            if (!ok || pid <= 0 || pid == QCoreApplication::applicationPid())
                continue;
            if (kill(pid_t(pid), 0) != 0 && errno == ESRCH)
                QDir(temp.filePath(name)).removeRecursively();
        }
    });
}

// The file may have moved between new/ and cur/ since the fetch.
QString Locate(const QString& store, const QString& path, const QString& unique_name)
{
    if (QFileInfo(path).isFile())
        return path;
    for (const char* sub : {"/cur", "/new"}) {
        const QDir dir(store + sub);
        for (const QString& entry : dir.entryList(QDir::Files)) {
            if (Maildir_Unique_Name(entry) == unique_name)
                return dir.filePath(entry);
        }
    }
    return QString();
}

Mail_Content Read_Message(const QString& store, const QString& path, const QString& unique_name,
                         const QString& attachment_prefix)
{
    const QString file = Locate(store, path, unique_name);
    if (file.isEmpty())
        throw MAPI_Error("The message " + unique_name + " is no longer in the mail store.");
    return Parse_Mail_File(file, unique_name, attachment_prefix);
}

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
    // The user's way out: which folder is read is theirs to choose.
    const QString choice = " $MAILDIR chooses the mail store (else ~/Maildir).";
    const QFileInfo store(folder);
    if (!store.exists())
        throw MAPI_Error("There is no mail store at " + folder + ": the folder does not exist." + choice);
    if (!store.isDir())
        throw MAPI_Error("The mail store " + folder + " is not a Maildir: it is a file, not a folder." + choice);
    const QFileInfo cur(folder + "/cur");
    const QFileInfo fresh(folder + "/new");
    QStringList missing;
    for (const QFileInfo& part : {cur, fresh}) {
        if (!part.isDir())
            missing << part.fileName() + "/";
    }
    if (!missing.isEmpty())
        throw MAPI_Error("The folder " + folder + " is not a Maildir: it has no " + missing.join(" and no ")
                         + " folder." + choice);
    if (!cur.isReadable() || !fresh.isReadable() || !QDir(cur.filePath()).isReadable()
        || !QDir(fresh.filePath()).isReadable())
        throw MAPI_Error("The mail store at " + folder + " cannot be read." + choice);
    folder_ = folder;
    session_id_ = ++next_session_id;
}

void MAPISession::SignOff()
{
    session_id_ = 0;
}

struct MAPIMessages::Stored_Message {
    int serial = 0;
    // Each reading puts its attachments' copies in folders of its own, so a
    // removal of an earlier reading's, still pending, never meets them.
    int readings = 0;
    QString copies;   // the last reading's folder prefix
    QString path;
    QString unique_name;
    qint64 delivered = 0;
    bool seen = false;
    mutable QDateTime received;   // delivered as local time, once asked for
    // While readers run, these are theirs to change, under their lock.
    enum class State { Unread, Waiting, Reading, Read, Failed };
    State state = State::Unread;
    std::shared_ptr<const Mail_Content> content;
    QString error;

    QString Next_Copies(const QString& temp)
    {
        copies = temp + "/" + QString::number(serial) + "." + QString::number(++readings);
        return copies;
    }
};

// Removes folders on a thread of its own, in the order given. On a disk
// that discards what is freed, one removal can take longer than a batch of
// filing; nothing needs to wait for it.
class MAPIMessages::Folder_Remover {
public:
    ~Folder_Remover()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        more_.notify_one();
        if (thread_.joinable())
            thread_.join();
    }

    void Remove(const QString& folder)
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(folder);
        if (!thread_.joinable())
            thread_ = std::thread([this] { Run(); });
        more_.notify_one();
    }

private:
    // Ends when told to stop and everything given is removed.
    void Run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            more_.wait(lock, [&] { return stop_ || !queue_.empty(); });
            if (queue_.empty())
                return;
            const QString folder = queue_.takeFirst();
            lock.unlock();
            // Empty once its copy was taken away; else with the copy in it.
            if (!QDir().rmdir(folder))
                QDir(folder).removeRecursively();
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable more_;
    QStringList queue_;
    bool stop_ = false;
    std::thread thread_;
};

// The threads that read messages ahead of the caller, in the caller's order,
// never more than a few ahead of the one it asked for last.
struct MAPIMessages::Readers {
    using State = Stored_Message::State;
    static constexpr int Ahead = 24;

    std::mutex mutex;
    std::condition_variable more;   // for the readers: work, or stop
    std::condition_variable done;   // for the caller: a message was read
    QList<std::shared_ptr<Stored_Message>> order;
    QHash<const Stored_Message*, int> position;
    int next = 0;
    int wanted = 0;
    bool stop = false;
    QString store, temp;
    std::vector<std::thread> threads;

    void Run()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            more.wait(lock, [&] { return stop || (next < order.size() && next <= wanted + Ahead); });
            if (stop)
                return;
            const std::shared_ptr<Stored_Message> message = order.at(next++);
            if (message->state != State::Waiting)
                continue;
            message->state = State::Reading;
            const QString path = message->path;
            const QString unique = message->unique_name;
            const QString prefix = message->Next_Copies(temp);
            lock.unlock();
            std::shared_ptr<Mail_Content> content;
            QString error;
            try {
                content = std::make_shared<Mail_Content>(Read_Message(store, path, unique, prefix));
            } catch (const std::exception& e) {
                error = Error_Description(e);
            }
            lock.lock();
            if (content) {
                message->path = content->Path;
                message->content = content;
                message->state = State::Read;
            } else {
                message->error = error;
                message->state = State::Failed;
            }
            done.notify_all();
        }
    }

    // The caller asks for a message: readers may go up to a few past it.
    void Want(const Stored_Message& message)
    {
        const int at = position.value(&message, -1);
        if (at > wanted) {
            // Each step opens the window by one message: one reader is enough.
            if (at == wanted + 1)
                more.notify_one();
            else
                more.notify_all();
            wanted = at;
        }
    }
};

MAPIMessages::MAPIMessages() = default;

MAPIMessages::~MAPIMessages()
{
    Stop_Reading_Ahead();
}

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
    Stop_Reading_Ahead();
    const QString store = session_->Store_Folder();
    QList<Listed_File> listed[2];
    quint64 generations[2] = {0, 0};
    const char* const subs[2] = {"/new", "/cur"};
    const auto list = [&] {
        Remove_Stale_Temporary_Folders();
        for (int f = 0; f < 2; ++f)
            listed[f] = List_Folder(store + subs[f], store, &generations[f]);
    };
    // A changed folder is listed aside: thousands of new names on a busy
    // disk take a while. Unchanged ones are handed back at once.
    if (Listing_Holds(store + subs[0]) && Listing_Holds(store + subs[1]))
        list();
    else
        Run_Letting_Events(list);
    const Fetched fetched{store, generations[0], generations[1], FetchUnreadOnly};
    Fetched all = fetched;
    all.unread_only = false;
    if (fetched == fetched_ || (FetchUnreadOnly && all == fetched_)) {
        // Neither folder changed since the last fetch: the same messages (or
        // the unread ones of them), read afresh when asked.
        QList<std::shared_ptr<Stored_Message>> kept;
        kept.reserve(messages_.size());
        for (const std::shared_ptr<Stored_Message>& message : std::as_const(messages_)) {
            if (FetchUnreadOnly && message->seen)
                continue;
            if (message->state != Stored_Message::State::Unread) {
                message->content.reset();
                message->error.clear();
                message->state = Stored_Message::State::Unread;
            }
            kept << message;
        }
        messages_ = kept;
        fetched_ = fetched;
    } else {
        QList<std::shared_ptr<Stored_Message>> found;
        int serial = 0;
        for (int f = 0; f < 2; ++f) {
            const QString folder = store + subs[f];
            found.reserve(found.size() + listed[f].size());
            for (const Listed_File& file : std::as_const(listed[f])) {
                if (FetchUnreadOnly && file.seen)
                    continue;
                auto message = std::make_shared<Stored_Message>();
                message->serial = ++serial;
                message->path = folder + "/" + file.name;
                message->unique_name = file.unique;
                message->delivered = file.delivered;
                message->seen = file.seen;
                found << std::move(message);
            }
        }
        std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
            if (a->delivered != b->delivered)
                return a->delivered < b->delivered;
            return a->unique_name < b->unique_name;
        });
        messages_ = found;
        fetched_ = fetched;
    }
    // The attachments' copies of the last fetch go with it, after the
    // removals given before.
    if (temp_ && temp_->isValid()) {
        temp_->setAutoRemove(false);
        Remove_Later(temp_->path());
    }
    temp_.reset();
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

QString MAPIMessages::Temporary_Folder() const
{
    if (!temp_) {
        // Made aside, as a new folder on a busy disk can take a while.
        const QString pattern = QDir::tempPath() + "/" + Temporary_Prefix
            + QString::number(QCoreApplication::applicationPid()) + "-XXXXXX";
        std::unique_ptr<QTemporaryDir> made;
        Run_Letting_Events([&] { made = std::make_unique<QTemporaryDir>(pattern); });
        // One made by an event meanwhile stays in use.
        if (!temp_)
            temp_ = std::move(made);
    }
    if (!temp_->isValid())
        throw MAPI_Error("No temporary folder for the attachments: " + temp_->errorString());
    return temp_->path();
}

void MAPIMessages::Read_Ahead(const QList<int>& Indexes)
{
    Stop_Reading_Ahead();
    if (Indexes.isEmpty() || !session_)
        return;
    Init_GMime();
    auto readers = std::make_unique<Readers>();
    readers->store = session_->Store_Folder();
    readers->temp = Temporary_Folder();
    for (int index : Indexes) {
        if (index < 0 || index >= messages_.size())
            continue;
        const std::shared_ptr<Stored_Message>& message = messages_.at(index);
        if (message->state != Stored_Message::State::Unread || readers->position.contains(message.get()))
            continue;
        message->state = Stored_Message::State::Waiting;
        readers->position.insert(message.get(), int(readers->order.size()));
        readers->order << message;
    }
    const int count = int(qBound(1u, std::thread::hardware_concurrency() / 2, 4u));
    Readers* shared = readers.get();
    for (int i = 0; i < count; ++i)
        readers->threads.emplace_back([shared] { shared->Run(); });
    readers_ = std::move(readers);
}

void MAPIMessages::Stop_Reading_Ahead()
{
    if (!readers_)
        return;
    {
        std::lock_guard lock(readers_->mutex);
        readers_->stop = true;
    }
    readers_->more.notify_all();
    for (std::thread& thread : readers_->threads)
        thread.join();
    for (const std::shared_ptr<Stored_Message>& message : readers_->order) {
        if (message->state == Stored_Message::State::Waiting)
            message->state = Stored_Message::State::Unread;
    }
    readers_.reset();
}

bool MAPIMessages::Wait_Until_Read(int Index, int Milliseconds)
{
    if (Index < 0 || Index >= messages_.size())
        return true;
    Stored_Message& message = *messages_.at(Index);
    if (!readers_ || !readers_->position.contains(&message))
        return true;
    std::unique_lock lock(readers_->mutex);
    readers_->Want(message);
    using State = Stored_Message::State;
    return readers_->done.wait_for(lock, std::chrono::milliseconds(Milliseconds), [&] {
        return message.state != State::Waiting && message.state != State::Reading;
    });
}

const Mail_Content& MAPIMessages::Parsed() const
{
    using State = Stored_Message::State;
    Stored_Message& message = Current();
    const QString store = session_ ? session_->Store_Folder() : QString();
    const QString temp = Temporary_Folder();
    if (!readers_ || !readers_->position.contains(&message)) {
        if (message.state != State::Read || !message.content) {
            auto content = std::make_shared<Mail_Content>(
                Read_Message(store, message.path, message.unique_name, message.Next_Copies(temp)));
            message.path = content->Path;
            message.content = content;
            message.state = State::Read;
        }
        return *message.content;
    }
    std::unique_lock lock(readers_->mutex);
    readers_->Want(message);
    if (message.state == State::Waiting || message.state == State::Unread) {
        // Not begun (or released since): read here rather than wait for a reader.
        message.state = State::Reading;
        const QString path = message.path;
        const QString prefix = message.Next_Copies(temp);
        lock.unlock();
        std::shared_ptr<Mail_Content> content;
        QString error;
        try {
            content = std::make_shared<Mail_Content>(Read_Message(store, path, message.unique_name, prefix));
        } catch (const std::exception& e) {
            error = Error_Description(e);
        }
        lock.lock();
        if (content) {
            message.path = content->Path;
            message.content = content;
            message.state = State::Read;
        } else {
            message.error = error;
            message.state = State::Failed;
        }
        readers_->done.notify_all();
    }
    readers_->done.wait(lock, [&] { return message.state != State::Reading; });
    if (message.state == State::Failed)
        throw MAPI_Error(message.error);
    return *message.content;
}

void MAPIMessages::Remove_Later(const QString& folder)
{
    if (!remover_)
        remover_ = std::make_unique<Folder_Remover>();
    remover_->Remove(folder);
}

void MAPIMessages::Release(int Index)
{
    if (Index < 0 || Index >= messages_.size())
        return;
    Stored_Message& message = *messages_.at(Index);
    std::unique_lock<std::mutex> lock;
    if (readers_ && readers_->position.contains(&message)) {
        lock = std::unique_lock(readers_->mutex);
        readers_->done.wait(lock, [&] { return message.state != Stored_Message::State::Reading; });
    }
    if (message.content && temp_) {
        for (int i = 0; i < message.content->Attachments.size(); ++i)
            Remove_Later(message.copies + "-" + QString::number(i));
    }
    message.content.reset();
    message.error.clear();
    message.state = Stored_Message::State::Unread;
}

QString MAPIMessages::MsgID() const
{
    return Current().unique_name;
}

QDateTime MAPIMessages::MsgDateReceived() const
{
    const Stored_Message& message = Current();
    if (!message.received.isValid())
        message.received = QDateTime::fromSecsSinceEpoch(message.delivered);
    return message.received;
}

QDateTime MAPIMessages::MsgDate() const { return Parsed().Date; }
QString MAPIMessages::MsgSubject() const { return Parsed().Subject; }
QString MAPIMessages::MsgNoteText() const { return Parsed().Text; }
QString MAPIMessages::MsgOrigAddress() const { return Parsed().Address; }
QString MAPIMessages::MsgOrigDisplayName() const { return Parsed().Name; }
QString MAPIMessages::MsgOrigHeader() const { return Parsed().From_Header; }
QString MAPIMessages::MsgFilePath() const { return Parsed().Path; }
int MAPIMessages::AttachmentCount() const { return int(Parsed().Attachments.size()); }

const Mail_Attachment& MAPIMessages::Current_Attachment() const
{
    const Mail_Content& message = Parsed();
    if (AttachmentIndex < 0 || AttachmentIndex >= message.Attachments.size())
        throw MAPI_Error(QString("There is no attachment number %1.").arg(AttachmentIndex));
    return message.Attachments.at(AttachmentIndex);
}

QString MAPIMessages::AttachmentName() const
{
    return Current_Attachment().Name;
}

QString MAPIMessages::AttachmentPathName() const
{
    const QString written = Current_Attachment().Written;
    if (QFileInfo::exists(written))
        return written;
    // Its copy was taken away: the message is read again.
    const_cast<MAPIMessages*>(this)->Release(MsgIndex);
    return Current_Attachment().Written;
}

bool MAPIMessages::AttachmentTruncated() const
{
    return Current_Attachment().Truncated;
}

void MAPIMessages::Delete()
{
    Stored_Message& message = Current();
    const QString file = Locate(session_ ? session_->Store_Folder() : QString(), message.path, message.unique_name);
    if (!file.isEmpty() && !QFile::remove(file))
        throw MAPI_Error("The message " + message.unique_name + " cannot be deleted.");
    messages_.removeAt(MsgIndex);
    fetched_ = {};
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
    Outgoing_Mail mail;
    mail.To_Address = RecipAddress;
    mail.To_Name = RecipDisplayName;
    mail.Subject = ComposeSubject;
    mail.Text = ComposeNoteText;
    mail.Date = Now();
    for (const Attachment_Out& file : attachments_out_)
        mail.Files << Outgoing_Mail::File{file.Path_Name, file.Name};
    return Compose_Mail(mail);
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
