#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/ProgramLocation.h"
#include "platform/Screen.h"
#include "platform/WindowManager.h"

#include "doubles/FakeIcons.h"
#include "doubles/Files.h"
#include "doubles/RecordingPrinter.h"
#include "doubles/RecordingShell.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace doubles {

class FakeProgramLocation final : public platform::ProgramLocation {
public:
    explicit FakeProgramLocation(std::string file)
        : file_(std::move(file))
    {
    }
    std::string ProgramFile() const override { return file_; }
    std::string DataDirectory() const override { return ProgramDirectory(); }

private:
    std::string file_;
};

class FakeScreen final : public platform::Screen {
public:
    QSize size{1024, 768};
    std::vector<QRect> others; // screens beside the primary one at 0, 0
    std::string failure; // when set, asking for the screen's size fails with this message
    QSize PrimarySize() const override
    {
        if (!failure.empty())
            throw std::runtime_error(failure);
        return size;
    }
    QRect ScreenGeometryAt(QPoint point) const override
    {
        for (const QRect& screen : others)
            if (screen.contains(point))
                return screen;
        return QRect(QPoint(), PrimarySize());
    }
    std::vector<QRect> MonitorGeometries() const override
    {
        std::vector<QRect> monitors{QRect(QPoint(), PrimarySize())};
        monitors.insert(monitors.end(), others.begin(), others.end());
        return monitors;
    }
    void OnMonitorsChanged(std::function<void()>) override {}
};

class FakeClock final : public platform::Clock {
public:
    QDateTime time{QDate(2026, 12, 6), QTime(13, 5)};
    QStringList months{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QString separator = QStringLiteral(":");

    QDateTime Now() const override { return time; }
    QStringList ShortMonthNames() const override { return months; }
    QString TimeSeparator() const override { return separator; }
};

// Dialogs that answer from a script and record what they were shown. A box or a file dialog
// that nobody scripted fails the test instead of waiting for a user.
class ScriptedDialogs final : public platform::Dialogs {
public:
    struct Message {
        QString text;
        QString title;
        platform::MessageKind kind;
        platform::MessageButtons buttons;
    };
    std::vector<Message> messages;
    std::deque<platform::MessageAnswer> answers;
    std::vector<platform::OpenFileRequest> fileRequests;
    std::deque<std::optional<QString>> chosenFiles;
    EventLog* log = nullptr;

    platform::MessageAnswer MessageBox(const QString& text, const QString& title, platform::MessageKind kind,
                                       platform::MessageButtons buttons) override
    {
        messages.push_back({text, title, kind, buttons});
        if (log)
            log->push_back(("message " + title + ": " + text).toStdString());
        if (buttons == platform::MessageButtons::Ok)
            return platform::MessageAnswer::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return platform::MessageAnswer::No;
        }
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<QString> OpenFile(const platform::OpenFileRequest& request) override
    {
        fileRequests.push_back(request);
        if (chosenFiles.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return std::nullopt;
        }
        const bool cancelled = !chosenFiles.front();
        const QString chosen = chosenFiles.front().value_or(QString());
        chosenFiles.pop_front();
        if (cancelled)
            return std::nullopt;
        return chosen;
    }
};

class FakeWindowManager final : public platform::WindowManager {
public:
    bool canIconify = true;
    bool knowsPlaces = true;
    // The frame every shown window has; none, as without a window manager, until a test says.
    QMargins frame;
    std::function<void()> onBlockedPress;

    bool CanIconify(const QWidget&) const override { return canIconify; }
    bool KnowsPlaces() const override { return knowsPlaces; }
    std::optional<QMargins> FrameExtents(QWidget&) const override { return frame; }
    void OnBlockedPress(std::function<void()> onPress) override { onBlockedPress = std::move(onPress); }
    void KeepAboveAll(QWidget&) override {}
    void OnAllWorkspaces(QWidget&) override {}
    void FloatAtOwnSize(QWidget&) override {}

    // A press on a window that a modal window blocks, as the window system reports it.
    void PressBlockedWindow() const
    {
        if (onBlockedPress)
            onBlockedPress();
    }
};

// A platform whose program directory is a fresh temporary directory.
class TestPlatform {
public:
    FakeScreen screen;
    FakeClock clock;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    RecordingSession session;
    FakeIcons icons;
    RecordingPrinter printer;
    platform::Printer* printTo = &printer; // the printer windows print on
    FakeWindowManager windowManager;

    TestPlatform()
        : location_(dir_.path().toStdString() + "/stackle")
    {
    }

    platform::Platform platform() { return platformWith(shell); }
    // The same, starting through another shell (the real one, say).
    platform::Platform platformWith(platform::Shell& otherShell)
    {
        return {location_, screen, clock, dialogs, otherShell, session, icons, *printTo, windowManager};
    }

    std::string directory() const { return dir_.path().toStdString() + "/"; }
    std::string path(const std::string& name) const { return directory() + name; }

    // The whole content of a file in the program directory; nothing when it does not exist.
    std::optional<std::string> read(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void write(const std::string& name, const std::string& content) const { WriteFile(path(name), content); }

    // The settings file's whole content, or "<missing>" when there is none.
    std::string settings() const { return read("FILE.INI").value_or("<missing>"); }

private:
    QTemporaryDir dir_;
    FakeProgramLocation location_;
};

} // namespace doubles
