#include "app/DesktopSession.h"

#include "doubles/Unprivileged.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <map>
#include <string>

namespace {

struct SessionCase {
    std::map<std::string, std::string> environment;
    const char* plugin;
    bool waylandNotice;
};

void PrintTo(const SessionCase& session, std::ostream* out)
{
    for (const auto& [name, value] : session.environment)
        *out << name << '=' << value << ' ';
}

class DisplayPlatform : public testing::TestWithParam<SessionCase> {};

TEST_P(DisplayPlatform, WaylandRunsOnItsXServerUnlessTheUserChoseAnotherPlatform)
{
    const SessionCase& session = GetParam();
    const EnvironmentReader environment = [&](const char* name) -> const char* {
        const auto found = session.environment.find(name);
        return found == session.environment.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(DisplayPlatformFor(environment), session.plugin);
    EXPECT_EQ(!WaylandNotice(environment).empty(), session.waylandNotice);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, DisplayPlatform,
    testing::Values(
        SessionCase{{{"DISPLAY", ":0"}}, "", false},
        SessionCase{{{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}, "", false},
        SessionCase{
            {{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, "xcb", false},
        SessionCase{{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":1"}}, "xcb", false},
        SessionCase{{{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}}, "xcb", false},
        SessionCase{{{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}}, "", true},
        SessionCase{{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ""}}, "", true},
        SessionCase{
            {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}, "xcb", false},
        SessionCase{{{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland-egl;xcb"}}, "xcb", false},
        SessionCase{{{"WAYLAND_DISPLAY", "wayland-0"}, {"QT_QPA_PLATFORM", "wayland"}}, "", true},
        SessionCase{{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "xcb"}}, "", false},
        SessionCase{{{"WAYLAND_DISPLAY", "wayland-0"}, {"QT_QPA_PLATFORM", "offscreen"}}, "", false}));

TEST(UnwritableDirectory, IsNamedOnlyWhenNeitherFolderCanBeWritten)
{
    QTemporaryDir program;
    QTemporaryDir user;
    const std::string programDirectory = program.path().toStdString() + "/";
    const std::string userDirectory = user.path().toStdString() + "/";
    const std::string neither = "Stackle: neither its folder " + programDirectory + " nor " + userDirectory
        + " can be written, so nothing you set will be stored.";
    // 0: no notice, 1: the one naming both folders, 2: another.
    const auto noticeAsUser = [&](mode_t userMode) {
        chmod(userDirectory.c_str(), userMode);
        return doubles::RunUnprivileged([&] {
            const std::string notice = UnwritableDirectoryNotice(programDirectory, userDirectory);
            return notice.empty() ? 0 : notice == neither ? 1 : 2;
        });
    };
    chmod(programDirectory.c_str(), 0555);
    EXPECT_EQ(noticeAsUser(0777), 0);
    EXPECT_EQ(noticeAsUser(0555), 1);
    chmod(programDirectory.c_str(), 0755);
    chmod(userDirectory.c_str(), 0755);
}

} // namespace
