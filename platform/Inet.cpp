#include "Inet.h"

#include <QFile>
#include <QMetaObject>
#include <QUrl>
#include <curl/curl.h>
#include <mutex>

namespace {

std::atomic<int> connect_limit{30};
std::atomic<int> stall_limit{60};

void Global_Init()
{
    // libcurl's global set-up is not thread-safe: do it once, from the first
    // control made (always on the user-interface thread).
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool Has_Line_Break(const QString& text)
{
    return text.contains('\r') || text.contains('\n');
}

struct Job {
    QString command;
    QByteArray url;
    QByteArray user;
    QByteArray password;
    QByteArray remote;
    QString local;
    long connect_seconds = 30;
    long stall_seconds = 60;
};

struct Transfer_State {
    QFile* file = nullptr;
    bool write_failed = false;
    std::atomic<bool>* cancel = nullptr;
    QString last_error_reply;   // the last reply line with a code of 400 or more
};

size_t Write_Data(char* data, size_t size, size_t count, void* user)
{
    auto* state = static_cast<Transfer_State*>(user);
    const qint64 bytes = qint64(size * count);
    if (!state->file || state->file->write(data, bytes) != bytes) {
        state->write_failed = true;
        return 0;
    }
    return size_t(bytes);
}

// For FTP libcurl hands every server reply line to the header callback.
size_t Server_Reply(char* data, size_t size, size_t count, void* user)
{
    auto* state = static_cast<Transfer_State*>(user);
    const QString line = QString::fromUtf8(data, qsizetype(size * count)).trimmed();
    if (line.size() >= 3 && line.at(0).isDigit() && line.at(0) >= '4')
        state->last_error_reply = line;
    return size * count;
}

int Check_Cancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* state = static_cast<Transfer_State*>(user);
    return state->cancel->load() ? 1 : 0;
}

QString Explain(CURLcode rc, const QString& local)
{
    switch (rc) {
    case CURLE_OPERATION_TIMEDOUT: return "The FTP server did not answer in time.";
    case CURLE_COULDNT_RESOLVE_HOST: return "The FTP server's name could not be found.";
    case CURLE_COULDNT_CONNECT: return "Could not connect to the FTP server.";
    case CURLE_LOGIN_DENIED: return "The FTP server refused the user name or password.";
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE: return "The file was not found on the FTP server.";
    case CURLE_QUOTE_ERROR: return "The FTP server did not delete the file.";
    case CURLE_ABORTED_BY_CALLBACK: return "The transfer was cancelled.";
    case CURLE_WRITE_ERROR: return "Could not write the file " + local + ".";
    default: return QString();
    }
}

} // namespace

struct Inet::Outcome {
    bool ok = false;
    int code = 0;
    QString info;
};

namespace {

Inet::Outcome Run_Job(const Job& job, std::atomic<bool>& cancel)
{
    Inet::Outcome outcome;
    if (job.command == "CLOSE") {
        // Every command uses a connection of its own, closed when it ends.
        outcome.ok = true;
        return outcome;
    }

    CURL* curl = curl_easy_init();
    if (!curl) {
        outcome.info = "The FTP transfer could not be started.";
        return outcome;
    }
    Transfer_State state;
    state.cancel = &cancel;
    QFile file(job.local);
    curl_slist* quote = nullptr;
    char error_text[CURL_ERROR_SIZE] = {0};

    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error_text);
    curl_easy_setopt(curl, CURLOPT_USERNAME, job.user.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, job.password.constData());
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, job.connect_seconds);
    // A server that stops answering a command, or stops sending data.
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, job.stall_seconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, job.stall_seconds);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, Server_Reply);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Check_Cancel);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &state);

    QByteArray url = job.url + "/";
    if (job.command == "GET") {
        // The path is percent-encoded whole; libcurl decodes it before it
        // walks the folders, so a leading "/" still means the server's root.
        url += job.remote;
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            curl_easy_cleanup(curl);
            if (file.exists()) {
                outcome.code = Inet::Local_File_Exists;
                outcome.info = "The file " + job.local + " already exists.";
            } else {
                outcome.info = "Could not create the file " + job.local + ": " + file.errorString();
            }
            return outcome;
        }
        state.file = &file;
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Write_Data);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &state);
    } else {
        // DELETE: log in, send DELE for the path as given, transfer nothing.
        quote = curl_slist_append(quote, QByteArray("DELE " + job.remote).constData());
        curl_easy_setopt(curl, CURLOPT_QUOTE, quote);
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());

    const CURLcode rc = curl_easy_perform(curl);
    long reply = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply);
    curl_easy_cleanup(curl);
    curl_slist_free_all(quote);

    if (file.isOpen()) {
        file.close();
        if (rc != CURLE_OK || file.error() != QFileDevice::NoError)
            file.remove();   // never leave half a lead file behind
    }
    if (rc == CURLE_OK) {
        outcome.ok = true;
        return outcome;
    }
    outcome.code = reply >= 400 ? int(reply) : 0;
    QString text = Explain(rc, job.local);
    QString detail = state.last_error_reply;
    if (detail.isEmpty())
        detail = error_text[0] ? QString::fromUtf8(error_text) : QString::fromUtf8(curl_easy_strerror(rc));
    if (text.isEmpty())
        text = detail;
    else if (!detail.isEmpty())
        text += "\r\n" + detail;
    outcome.info = text;
    return outcome;
}

} // namespace

Inet::Inet(QObject* parent)
    : QObject(parent)
{
    Global_Init();
}

Inet::~Inet()
{
    cancel_ = true;
    Join();
}

void Inet::Join()
{
    if (worker_.joinable())
        worker_.join();
}

void Inet::Set_Time_Limits(int connect_seconds, int stall_seconds)
{
    connect_limit = qMax(1, connect_seconds);
    stall_limit = qMax(1, stall_seconds);
}

int Inet::Connect_Time_Limit()
{
    return connect_limit;
}

int Inet::Stall_Time_Limit()
{
    return stall_limit;
}

void Inet::Cancel()
{
    cancel_ = true;
}

void Inet::Execute(const QString& command, const QStringList& arguments)
{
    if (running_)
        throw Inet_Error("Still executing last request.");
    const QString verb = command.trimmed().toUpper();
    const int wanted = verb == "GET" ? 2 : verb == "DELETE" ? 1 : verb == "CLOSE" ? 0 : -1;
    if (wanted < 0)
        throw Inet_Error("Unknown command " + command + ".");
    if (arguments.size() != wanted)
        throw Inet_Error("Wrong number of arguments for " + verb + ".");

    Job job;
    job.command = verb;
    job.connect_seconds = connect_limit;
    job.stall_seconds = stall_limit;
    if (verb != "CLOSE") {
        if (!URL.startsWith("ftp://", Qt::CaseInsensitive))
            throw Inet_Error("The address " + URL + " is not an FTP address.");
        QString host = URL.mid(6);
        while (host.endsWith('/'))
            host.chop(1);
        if (host.isEmpty() || host.contains('/') || host.contains('@') || host.contains(' '))
            throw Inet_Error("The address " + URL + " is not an FTP address.");
        const QString remote = arguments.at(0);
        if (remote.isEmpty() || remote.endsWith('/'))
            throw Inet_Error("No file name is given for the FTP server.");
        if (Has_Line_Break(remote) || Has_Line_Break(UserName) || Has_Line_Break(Password))
            throw Inet_Error("A file name, user name or password holds a line break.");
        job.url = "ftp://" + host.toUtf8();
        job.remote = verb == "GET" ? QUrl::toPercentEncoding(remote) : remote.toUtf8();
        job.user = UserName.toUtf8();
        job.password = Password.toUtf8();
        if (verb == "GET") {
            job.local = arguments.at(1);
            if (job.local.isEmpty())
                throw Inet_Error("No local file name is given.");
        }
    }

    Join();
    cancel_ = false;
    running_ = true;
    response_code_ = 0;
    response_info_.clear();
    if (verb == "GET" && QFile::exists(job.local)) {
        Fail_Now(Local_File_Exists, "The file " + job.local + " already exists.");
        return;
    }
    Q_EMIT StateChanged(icConnecting);
    worker_ = std::thread([this, job] {
        const Outcome outcome = Run_Job(job, cancel_);
        // Handed back to the owner's thread; dropped if the control is gone by then.
        QMetaObject::invokeMethod(this, [this, outcome] { Finish(outcome); }, Qt::QueuedConnection);
    });
}

void Inet::Fail_Now(int code, const QString& text)
{
    Outcome outcome;
    outcome.code = code;
    outcome.info = text;
    // Reported like any other outcome: after Execute has returned.
    QMetaObject::invokeMethod(this, [this, outcome] { Finish(outcome); }, Qt::QueuedConnection);
}

void Inet::Finish(const Outcome& outcome)
{
    Join();
    running_ = false;
    response_code_ = outcome.code;
    response_info_ = outcome.info;
    if (outcome.ok) {
        Q_EMIT StateChanged(icResponseReceived);
        Q_EMIT StateChanged(icResponseCompleted);
    } else {
        Q_EMIT StateChanged(icError);
    }
}
