#pragma once

#include "platform/SingleInstance.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <string>

class QSocketNotifier;

namespace platform {

// The data directory claimed with a lock on a file named after it, and a local (Unix domain)
// socket of the same name on which a later start hands over its request. The lock is the system's
// own (flock), which ends with the process that holds it, so a run that crashed leaves none; its
// socket is taken over. Both live in the user's runtime directory.
class UnixSingleInstance final : public SingleInstance {
public:
    explicit UnixSingleInstance(const std::string& dataDirectory);
    ~UnixSingleInstance();
    UnixSingleInstance(const UnixSingleInstance&) = delete;
    UnixSingleInstance& operator=(const UnixSingleInstance&) = delete;

    Outcome Claim(int answerTimeout, const std::string& request) override;
    void TakeRequests(RequestHandler handler) override;

    // The local socket's and the lock's full paths.
    const QString& SocketPath() const { return socketPath_; }
    const QString& LockPath() const { return lockPath_; }

private:
    // A later start that has connected, and what it has sent so far.
    struct Client {
        std::unique_ptr<QSocketNotifier> notifier;
        QByteArray received;
    };

    bool Listen();
    void Accept();
    void Read(int client);
    void Disconnect(int client);

    bool Lock();

    QString socketPath_;
    QString lockPath_;
    int lock_ = -1; // the lock file, locked or not
    int server_ = -1;
    std::unique_ptr<QSocketNotifier> serverNotifier_;
    std::map<int, Client> clients_;
    RequestHandler handler_;
};

} // namespace platform
