// Named pipes, devices and sockets where a regular file is expected: nothing reads them, nothing
// replaces them, and nothing waits on them. A read that blocked would hang this test until the
// test runner's time limit ends it.
#include "platform/files/FileContent.h"
#include "platform/files/FileType.h"
#include "platform/files/MappedFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

enum class Kind { Pipe, EndlessDevice, Socket };

void PrintTo(Kind kind, std::ostream* out)
{
    *out << (kind == Kind::Pipe ? "named pipe" : kind == Kind::Socket ? "socket" : "link to /dev/zero");
}

class SpecialFile : public testing::TestWithParam<Kind> {
protected:
    void SetUp() override
    {
        switch (GetParam()) {
        case Kind::Pipe: ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0); break;
        case Kind::EndlessDevice: fs::create_symlink("/dev/zero", path_); break;
        case Kind::Socket: {
            socket_ = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            ASSERT_LT(path_.size(), sizeof(address.sun_path));
            path_.copy(address.sun_path, path_.size());
            ASSERT_EQ(bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
            break;
        }
        }
    }
    void TearDown() override
    {
        if (socket_ >= 0)
            close(socket_);
    }

    QTemporaryDir dir_{"/tmp/stackle-special-XXXXXX"};
    std::string path_ = dir_.filePath("notes.txt").toStdString();
    int socket_ = -1;
};

TEST_P(SpecialFile, IsNeitherReadNorReplacedAndTypedByItsNameAlone)
{
    const fs::file_type before = fs::status(path_).type();
    EXPECT_EQ(platform::OpenRegularFile(path_), -1);
    EXPECT_EQ(platform::ReadFileContent(path_), std::nullopt);
    EXPECT_EQ(platform::ReadFileHead(path_, 10), std::nullopt);
    EXPECT_FALSE(platform::MappedFile::Open(path_).has_value());
    EXPECT_FALSE(platform::ReplaceFileContent(path_, "new"));
    EXPECT_EQ(fs::status(path_).type(), before);
    EXPECT_EQ(platform::FileType(path_).name(), QStringLiteral("text/plain"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialFile, testing::Values(Kind::Pipe, Kind::EndlessDevice, Kind::Socket));

// /proc reports a size of 0 for files that have content.
TEST(ProcFiles, AreReadToTheirEnd)
{
    const auto commandLine = platform::ReadFileContent("/proc/self/cmdline");
    ASSERT_TRUE(commandLine.has_value());
    EXPECT_FALSE(commandLine->empty());
    const auto status = platform::ReadFileContent("/proc/self/status");
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(status->find("Pid:"), std::string::npos);
    EXPECT_EQ(platform::ReadFileHead("/proc/self/status", 4), "Name");
}

} // namespace
