#include "app/SingleInstance.h"

#include "platform/text/Encoding.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

namespace {

const QByteArray ShowRequest = "show\n";
const QByteArray ShownAnswer = "shown\n";

// The runtime directory's path for this program directory: the same directory reached by
// another path (a link, "..") gives the same name.
QString InstancePath(const std::string& programDirectory)
{
    QString directory = platform::FromBytes(programDirectory);
    const QString canonical = QFileInfo(directory).canonicalFilePath();
    if (!canonical.isEmpty())
        directory = canonical;
    const QByteArray hash = QCryptographicHash::hash(directory.toUtf8(), QCryptographicHash::Sha1).toHex().left(20);
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return runtime + QStringLiteral("/stackle-") + QString::fromLatin1(hash);
}

// Asks the run listening on path to bring its strip back; true once it has said so before the
// deadline. A run still starting answers once its start-up is over.
bool AskToShow(const QString& path, const QDeadlineTimer& deadline)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(int(std::min<qint64>(deadline.remainingTime(), 1000))))
        return false;
    socket.write(ShowRequest);
    socket.flush();
    QByteArray answer;
    while (!answer.contains('\n') && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            break;
        answer += socket.readAll();
    }
    return answer == ShownAnswer;
}

} // namespace

TSingleInstance::TSingleInstance(const std::string& programDirectory)
    : socketPath_(InstancePath(programDirectory) + QStringLiteral(".socket"))
    , lock_(InstancePath(programDirectory) + QStringLiteral(".lock"))
{
    // Held for the whole run: only a lock whose process has ended is stale.
    lock_.setStaleLockTime(0);
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
        while (QLocalSocket* client = server_.nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (!client->canReadLine())
                    return;
                if (client->readLine() == ShowRequest) {
                    ShowRequested();
                    client->write(ShownAnswer);
                    client->flush();
                }
                client->disconnectFromServer();
            });
        }
    });
}

TSingleInstance::~TSingleInstance() = default;

TSingleInstance::Outcome TSingleInstance::Claim(int answerTimeout)
{
    const QDeadlineTimer deadline(answerTimeout);
    do {
        if (lock_.tryLock(0)) {
            // A socket there was left by a run that ended without removing it.
            QLocalServer::removeServer(socketPath_);
            server_.setSocketOptions(QLocalServer::UserAccessOption);
            if (!server_.listen(socketPath_))
                qWarning("Stackle: later starts cannot reach this one: %s", qPrintable(server_.errorString()));
            return Outcome::First;
        }
        if (lock_.error() != QLockFile::LockFailedError) {
            // The lock cannot be made at all (no runtime directory, say): start all the same.
            qWarning("Stackle: cannot tell whether another Stackle runs from this directory");
            return Outcome::First;
        }
        // The owner may not listen yet, or may have ended just now: ask again until it answers or
        // the lock is free.
        if (AskToShow(socketPath_, deadline))
            return Outcome::BroughtBack;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return Outcome::NoAnswer;
}

void TSingleInstance::SetShowRequestHandler(std::function<void()> handler)
{
    handler_ = std::move(handler);
    if (pending_ && handler_) {
        pending_ = false;
        handler_();
    }
}

void TSingleInstance::ShowRequested()
{
    if (handler_)
        handler_();
    else
        pending_ = true;
}
