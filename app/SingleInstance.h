#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QSocketNotifier;

// One strip per program directory: two strips on the same settings and list files would
// overwrite each other's changes. The first run holds a lock on a file named after its program
// directory and listens on a local (Unix domain) socket of the same name; a later start from
// that directory asks it to bring its strip back and ends. The lock is the system's own (flock),
// which ends with the process that holds it, so a run that crashed leaves none; its socket is
// taken over. Both live in the user's runtime directory.
class TSingleInstance {
public:
    enum class Outcome {
        First, // this run owns the directory
        BroughtBack, // another run owns it and has brought its strip back
        NoAnswer, // another run owns it but did not answer
    };

    explicit TSingleInstance(const std::string& programDirectory);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // Claims the program directory for this run; when another run holds it, asks that one to
    // bring its strip back, waiting at most answerTimeout milliseconds for its answer.
    Outcome Claim(int answerTimeout = 10000);
    // What this run does when a later start asks; a request that came before is carried out now.
    void SetShowRequestHandler(std::function<void()> handler);

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
    void ShowRequested();

    bool Lock();

    QString socketPath_;
    QString lockPath_;
    int lock_ = -1; // the lock file, locked or not
    int server_ = -1;
    std::unique_ptr<QSocketNotifier> serverNotifier_;
    std::map<int, Client> clients_;
    std::function<void()> handler_;
    bool pending_ = false;
};
