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

TEST(UnwritableDirectory, IsNamedOnceWithTheWayOut)
{
    QTemporaryDir dir;
    const std::string directory = dir.path().toStdString() + "/";
    EXPECT_EQ(UnwritableDirectoryNotice(directory), "");
    chmod(directory.c_str(), 0555);
    const int told = doubles::RunUnprivileged([&] {
        const std::string notice = UnwritableDirectoryNotice(directory);
        return notice.find(directory + " cannot be written") != std::string::npos
                && notice.find("make install") != std::string::npos
            ? 0
            : 1;
    });
    chmod(directory.c_str(), 0755);
    EXPECT_EQ(told, 0);
}

} // namespace
