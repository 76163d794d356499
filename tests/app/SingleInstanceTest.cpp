#include "app/SingleInstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <future>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Outcome = TSingleInstance::Outcome;

// A later start, made from another thread: it waits for the answer of the first, which this
// thread's event loop gives meanwhile.
Outcome StartAgain(const std::string& programDirectory)
{
    auto later = std::async(std::launch::async, [programDirectory] {
        TSingleInstance instance(programDirectory);
        return instance.Claim(5000);
    });
    while (later.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return later.get();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string Directory() const { return dir.path().toStdString() + "/"; }
};

TEST_F(SingleInstanceTest, SecondStartFromTheSameDirectoryBringsTheFirstBack)
{
    TSingleInstance first(Directory());
    ASSERT_EQ(first.Claim(), Outcome::First);
    int shown = 0;
    first.SetShowRequestHandler([&] { ++shown; });

    // The same directory by another path is the same directory.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    EXPECT_EQ(StartAgain(Directory() + "sub/../"), Outcome::BroughtBack);
    EXPECT_EQ(shown, 1);

    QTemporaryDir another;
    TSingleInstance elsewhere(another.path().toStdString() + "/");
    EXPECT_EQ(elsewhere.Claim(), Outcome::First);
    EXPECT_EQ(shown, 1);
}

TEST_F(SingleInstanceTest, RequestDuringStartUpIsCarriedOutOnceTheStripIsThere)
{
    TSingleInstance first(Directory());
    ASSERT_EQ(first.Claim(), Outcome::First);
    EXPECT_EQ(StartAgain(Directory()), Outcome::BroughtBack);
    int shown = 0;
    first.SetShowRequestHandler([&] { ++shown; });
    EXPECT_EQ(shown, 1);
}

TEST_F(SingleInstanceTest, DirectoryIsFreeAgainWhenTheFirstEnds)
{
    {
        TSingleInstance first(Directory());
        ASSERT_EQ(first.Claim(), Outcome::First);
    }
    TSingleInstance next(Directory());
    EXPECT_EQ(next.Claim(), Outcome::First);
}

TEST_F(SingleInstanceTest, LockAndSocketLeftByACrashDoNotStopTheNextStart)
{
    const TSingleInstance paths(Directory());
    // A run that takes the lock, makes its socket and dies without cleaning up.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        QLockFile lock(paths.LockPath());
        const bool locked = lock.tryLock(0);
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = paths.SocketPath().toLocal8Bit();
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.constData());
        const bool bound = ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        _exit(locked && bound ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the crashed run could not leave its lock and socket";
    ASSERT_TRUE(QFile::exists(paths.LockPath()) && QFile::exists(paths.SocketPath()));

    TSingleInstance next(Directory());
    ASSERT_EQ(next.Claim(), Outcome::First);
    int shown = 0;
    next.SetShowRequestHandler([&] { ++shown; });
    EXPECT_EQ(StartAgain(Directory()), Outcome::BroughtBack);
    EXPECT_EQ(shown, 1);
}

} // namespace
