#include "platform/session/UnixSingleInstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::UnixSingleInstance;
using Outcome = UnixSingleInstance::Outcome;

// A later start, made from another thread: it waits for the answer of the first, which this
// thread's event loop gives meanwhile.
Outcome StartAgain(const std::string& programDirectory, const std::string& request = "show")
{
    auto later = std::async(std::launch::async, [programDirectory, request] {
        UnixSingleInstance instance(programDirectory);
        return instance.Claim(5000, request);
    });
    while (later.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return later.get();
}

// The address of the local socket at path.
sockaddr_un SocketAddress(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.toLocal8Bit().constData());
    return address;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string Directory() const { return dir.path().toStdString() + "/"; }
};

TEST_F(SingleInstanceTest, LaterStartFromTheSameDirectoryHandsItsRequestToTheFirst)
{
    UnixSingleInstance first(Directory());
    ASSERT_EQ(first.Claim(10000, "show"), Outcome::First);
    std::vector<std::string> requests;
    first.TakeRequests([&](const std::string& request) {
        requests.push_back(request);
        return request != "unknown";
    });

    // The same directory by another path is the same directory.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    EXPECT_EQ(StartAgain(Directory() + "sub/../"), Outcome::Answered);
    EXPECT_EQ(StartAgain(Directory(), "launch 3"), Outcome::Answered);
    EXPECT_EQ(StartAgain(Directory(), "unknown"), Outcome::Refused);
    EXPECT_EQ(requests, (std::vector<std::string>{"show", "launch 3", "unknown"}));

    QTemporaryDir another;
    UnixSingleInstance elsewhere(another.path().toStdString() + "/");
    EXPECT_EQ(elsewhere.Claim(10000, "show"), Outcome::First);
    EXPECT_EQ(requests.size(), 3u);
}

// A later start during the first one's start-up waits until the first takes requests.
TEST_F(SingleInstanceTest, RequestDuringStartUpIsAnsweredOnceRequestsAreTaken)
{
    UnixSingleInstance first(Directory());
    ASSERT_EQ(first.Claim(10000, "show"), Outcome::First);
    auto later = std::async(std::launch::async, [this] {
        UnixSingleInstance instance(Directory());
        return instance.Claim(5000, "show");
    });
    EXPECT_EQ(later.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    int shown = 0;
    first.TakeRequests([&](const std::string&) { return ++shown > 0; });
    while (later.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(later.get(), Outcome::Answered);
    EXPECT_EQ(shown, 1);
}

// What a later start sends, written by hand: a request may arrive in pieces and is answered
// whole; one the run does not know is refused; anything but one line gets no answer, reaches
// nothing and ends the connection.
TEST_F(SingleInstanceTest, OnlyAWholeLineIsARequest)
{
    UnixSingleInstance first(Directory());
    ASSERT_EQ(first.Claim(10000, "show"), Outcome::First);
    int shown = 0;
    first.TakeRequests([&](const std::string& request) { return request == "show" && ++shown > 0; });

    const struct {
        std::vector<std::string> pieces;
        std::string answer;
    } cases[] = {{{"show\n"}, "ok\n"},         {{"sh", "ow\n"}, "ok\n"}, {{"hide\n"}, "no\n"},
                 {{"show\nshow\n"}, ""},       {{"show"}, ""}, // the connection ends before the line does
                 {{std::string(100, 's')}, ""}};
    int expected = 0;
    for (const auto& c : cases) {
        const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = SocketAddress(first.SocketPath());
        ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        for (const std::string& piece : c.pieces) {
            ASSERT_EQ(::send(client, piece.data(), piece.size(), 0), ssize_t(piece.size()));
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        ::shutdown(client, SHUT_WR);
        std::string answer;
        char buffer[64];
        const QDeadlineTimer deadline(5000);
        for (ssize_t got = 0; !deadline.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            got = ::recv(client, buffer, sizeof buffer, MSG_DONTWAIT);
            if (got == 0)
                break;
            if (got > 0)
                answer.append(buffer, std::size_t(got));
        }
        ::close(client);
        expected += c.answer == "ok\n" ? 1 : 0;
        EXPECT_EQ(answer, c.answer) << c.pieces.front();
        EXPECT_EQ(shown, expected) << c.pieces.front();
    }
}

TEST_F(SingleInstanceTest, DirectoryIsFreeAgainWhenTheFirstEnds)
{
    {
        UnixSingleInstance first(Directory());
        ASSERT_EQ(first.Claim(10000, "show"), Outcome::First);
    }
    UnixSingleInstance next(Directory());
    EXPECT_EQ(next.Claim(10000, "show"), Outcome::First);
}

TEST_F(SingleInstanceTest, LockAndSocketLeftByACrashDoNotStopTheNextStart)
{
    const UnixSingleInstance paths(Directory());
    // A run that takes the lock, makes its socket and dies without cleaning up.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        QLockFile lock(paths.LockPath());
        const bool locked = lock.tryLock(0);
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = SocketAddress(paths.SocketPath());
        const bool bound = ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        _exit(locked && bound ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the crashed run could not leave its lock and socket";
    ASSERT_TRUE(QFile::exists(paths.LockPath()) && QFile::exists(paths.SocketPath()));

    UnixSingleInstance next(Directory());
    ASSERT_EQ(next.Claim(10000, "show"), Outcome::First);
    int shown = 0;
    next.TakeRequests([&](const std::string&) { return ++shown > 0; });
    EXPECT_EQ(StartAgain(Directory()), Outcome::Answered);
    EXPECT_EQ(shown, 1);
}

} // namespace
