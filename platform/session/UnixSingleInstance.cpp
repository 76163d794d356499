#include "platform/session/UnixSingleInstance.h"

#include "platform/text/Encoding.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The answers to a request: taken, or not known.
const QByteArray TakenAnswer = "ok\n";
const QByteArray RefusedAnswer = "no\n";
// The longest request or answer a run waits for: anything longer is no request.
constexpr qsizetype LongestLine = 64;

// The runtime directory's path for this data directory: the same directory reached by
// another path (a link, "..") gives the same name.
QString InstancePath(const std::string& dataDirectory)
{
    QString directory = platform::FromBytes(dataDirectory);
    const QString canonical = QFileInfo(directory).canonicalFilePath();
    if (!canonical.isEmpty())
        directory = canonical;
    const QByteArray hash = QCryptographicHash::hash(directory.toUtf8(), QCryptographicHash::Sha1).toHex().left(20);
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return runtime + QStringLiteral("/stackle-") + QString::fromLatin1(hash);
}

// The socket address of path; nothing when the path is too long for one.
std::optional<sockaddr_un> SocketAddress(const QString& path)
{
    const std::string bytes = platform::ToBytes(path);
    sockaddr_un address{};
    if (bytes.size() >= sizeof address.sun_path)
        return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, bytes.data(), bytes.size());
    return address;
}

// Waits until the socket can be read or the deadline passes; true when it can be read.
bool WaitToRead(int socket, const QDeadlineTimer& deadline)
{
    for (;;) {
        pollfd ready{socket, POLLIN, 0};
        const int result = poll(&ready, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
        if (result < 0 && errno == EINTR)
            continue;
        return result > 0;
    }
}

// Hands the request to the run listening on path; its answer once it has given one before the
// deadline, nothing otherwise.
std::optional<QByteArray> Ask(const QString& path, const std::string& request, const QDeadlineTimer& deadline)
{
    const std::optional<sockaddr_un> address = SocketAddress(path);
    if (!address)
        return std::nullopt;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return std::nullopt;
    const std::string line = request + '\n';
    QByteArray answer;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0
        && send(socket, line.data(), line.size(), MSG_NOSIGNAL) == ssize_t(line.size())) {
        while (!answer.contains('\n') && answer.size() < LongestLine && WaitToRead(socket, deadline)) {
            char buffer[LongestLine];
            const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            answer.append(buffer, got);
        }
    }
    close(socket);
    if (answer != TakenAnswer && answer != RefusedAnswer)
        return std::nullopt;
    return answer;
}

} // namespace

namespace platform {

UnixSingleInstance::UnixSingleInstance(const std::string& dataDirectory)
{
    const QString path = InstancePath(dataDirectory);
    socketPath_ = path + QStringLiteral(".socket");
    lockPath_ = path + QStringLiteral(".lock");
}

UnixSingleInstance::~UnixSingleInstance()
{
    for (auto& [client, state] : clients_) {
        state.notifier.reset();
        close(client);
    }
    clients_.clear();
    if (server_ >= 0) {
        serverNotifier_.reset();
        close(server_);
        unlink(platform::ToBytes(socketPath_).c_str());
    }
    // The lock file stays: removing it could let a later start lock a file that a third one
    // has just opened.
    if (lock_ >= 0)
        close(lock_);
}

UnixSingleInstance::Outcome UnixSingleInstance::Claim(int answerTimeout, const std::string& request)
{
    const QDeadlineTimer deadline(answerTimeout);
    do {
        if (Lock()) {
            if (!Listen())
                qWarning("Stackle: later starts cannot reach this one: %s", std::strerror(errno));
            return Outcome::First;
        }
        if (errno != EWOULDBLOCK) {
            // The lock cannot be made at all (no runtime directory, say): start all the same.
            qWarning("Stackle: cannot tell whether another Stackle runs from this directory");
            return Outcome::First;
        }
        // The owner may not listen yet, or may have ended just now: ask again until it answers or
        // the lock is free.
        if (const std::optional<QByteArray> answer = Ask(socketPath_, request, deadline))
            return *answer == TakenAnswer ? Outcome::Answered : Outcome::Refused;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return Outcome::NoAnswer;
}

// Locks the lock file, making it when it is not there; errno tells why when it cannot:
// EWOULDBLOCK when another run holds the lock.
bool UnixSingleInstance::Lock()
{
    if (lock_ < 0)
        lock_ = open(platform::ToBytes(lockPath_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (lock_ < 0)
        return false;
    for (;;) {
        if (flock(lock_, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

// Listens on the socket path, for the user alone. A socket there was left by a run that ended
// without removing it: this run holds the lock.
bool UnixSingleInstance::Listen()
{
    const std::optional<sockaddr_un> address = SocketAddress(socketPath_);
    if (!address) {
        errno = ENAMETOOLONG;
        return false;
    }
    unlink(address->sun_path);
    server_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (server_ < 0)
        return false;
    if (bind(server_, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0
        || chmod(address->sun_path, S_IRUSR | S_IWUSR) != 0 || listen(server_, SOMAXCONN) != 0) {
        const int error = errno;
        close(server_);
        server_ = -1;
        errno = error;
        return false;
    }
    return true;
}

// Later starts that connect before wait in the socket's queue.
void UnixSingleInstance::TakeRequests(RequestHandler handler)
{
    handler_ = std::move(handler);
    if (server_ < 0 || serverNotifier_)
        return;
    serverNotifier_ = std::make_unique<QSocketNotifier>(server_, QSocketNotifier::Read);
    QObject::connect(serverNotifier_.get(), &QSocketNotifier::activated, serverNotifier_.get(), [this] { Accept(); });
    Accept();
}

void UnixSingleInstance::Accept()
{
    for (;;) {
        const int client = accept4(server_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0) {
            if (errno == EINTR)
                continue;
            return; // none left, or the client gave up meanwhile
        }
        Client& added = clients_[client];
        added.notifier = std::make_unique<QSocketNotifier>(client, QSocketNotifier::Read);
        QObject::connect(added.notifier.get(), &QSocketNotifier::activated, added.notifier.get(),
                         [this, client] { Read(client); });
    }
}

// A client sends one line, the request, which is answered; then, or as soon as it has sent
// anything longer, the connection ends.
void UnixSingleInstance::Read(int client)
{
    Client& sender = clients_.at(client);
    char buffer[LongestLine];
    ssize_t got;
    while ((got = recv(client, buffer, sizeof buffer, 0)) > 0 && sender.received.size() < LongestLine)
        sender.received.append(buffer, got);
    if (got < 0 && errno == EINTR)
        return; // read on at the next notice
    const qsizetype end = sender.received.indexOf('\n');
    if (end < 0 && got < 0 && errno == EAGAIN && sender.received.size() < LongestLine)
        return; // the rest of the line is still on its way
    if (end >= 0 && end + 1 == sender.received.size()) {
        const bool taken = handler_ && handler_(sender.received.left(end).toStdString());
        const QByteArray& answer = taken ? TakenAnswer : RefusedAnswer;
        send(client, answer.constData(), std::size_t(answer.size()), MSG_NOSIGNAL);
    }
    Disconnect(client);
}

void UnixSingleInstance::Disconnect(int client)
{
    const auto found = clients_.find(client);
    if (found == clients_.end())
        return;
    // The notifier may be the one whose signal is being delivered.
    found->second.notifier->setEnabled(false);
    found->second.notifier.release()->deleteLater();
    clients_.erase(found);
    close(client);
}

} // namespace platform
