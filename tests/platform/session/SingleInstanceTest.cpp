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
Outcome StartAgain(const std::string& programDirectory)
{
    auto later = std::async(std::launch::async, [programDirectory] {
        UnixSingleInstance instance(programDirectory);
        return instance.Claim(5000);
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

TEST_F(SingleInstanceTest, SecondStartFromTheSameDirectoryBringsTheFirstBack)
{
    UnixSingleInstance first(Directory());
    ASSERT_EQ(first.Claim(10000), Outcome::First);
    int shown = 0;
    first.SetShowRequestHandler([&] { ++shown; });

    // The same directory by another path is the same directory.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    EXPECT_EQ(StartAgain(Directory() + "sub/../"), Outcome::BroughtBack);
    EXPECT_EQ(shown, 1);

    QTemporaryDir another;
    UnixSingleInstance elsewhere(another.path().toStdString() + "/");
    EXPECT_EQ(elsewhere.Claim(10000), Outcome::First);
    EXPECT_EQ(shown, 1);
}

TEST_F(SingleInstanceTest, RequestDuringStartUpIsCarriedOutOnceTheStripIsThere)
{
    UnixSingleInstance first(Directory());
    ASSERT_EQ(first.Claim(10000), Outcome::First);
    EXPECT_EQ(StartAgain(Directory()), Outcome::BroughtBack);
    int shown = 0;
    first.SetShowRequestHandler([&] { ++shown; });
    EXPECT_EQ(shown, 1);
}

// What a later start sends, written by hand: a request may arrive in pieces; anything but the
// request gets no answer, brings nothing back and ends the connection.
TEST_F(SingleInstanceTest, OnlyAWholeShowRequestBringsTheStripBack)
{
    UnixSingleInstance first(Directory());
    ASSERT_EQ(first.Claim(10000), Outcome::First);
    int shown = 0;
    first.SetShowRequestHandler([&] { ++shown; });

    const struct {
        std::vector<std::string> pieces;
        std::string answer;
    } cases[] = {{{"show\n"}, "shown\n"},
                 {{"sh", "ow\n"}, "shown\n"},
                 {{"hide\n"}, ""},
                 {{"show"}, ""}, // the connection ends before the line does
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
        expected += c.answer.empty() ? 0 : 1;
        EXPECT_EQ(answer, c.answer) << c.pieces.front();
        EXPECT_EQ(shown, expected) << c.pieces.front();
    }
}

TEST_F(SingleInstanceTest, DirectoryIsFreeAgainWhenTheFirstEnds)
{
    {
        UnixSingleInstance first(Directory());
        ASSERT_EQ(first.Claim(10000), Outcome::First);
    }
    UnixSingleInstance next(Directory());
    EXPECT_EQ(next.Claim(10000), Outcome::First);
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
    ASSERT_EQ(next.Claim(10000), Outcome::First);
    int shown = 0;
    next.SetShowRequestHandler([&] { ++shown; });
    EXPECT_EQ(StartAgain(Directory()), Outcome::BroughtBack);
    EXPECT_EQ(shown, 1);
}

} // namespace
