#pragma once

#include "platform/Session.h"
#include "platform/Shell.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace doubles {

// What the program asked of the outside world, in order, as readable lines.
using EventLog = std::vector<std::string>;

// Records every start instead of making it, and answers with a scripted result.
class RecordingShell final : public platform::Shell {
public:
    struct Start {
        bool waited;
        std::string file;
        std::string parameters;
        std::string directory;
        int showValue;
    };
    std::vector<Start> starts;
    int result = 42;
    std::map<std::string, int> resultFor; // by file, before result
    std::optional<std::vector<std::string>> running = std::vector<std::string>{};
    EventLog* log = nullptr;

    int ShellStart(const std::string& file, const std::string& parameters, const std::string& directory,
                   int showValue) override
    {
        return Record({false, file, parameters, directory, showValue});
    }
    int StartAndWait(const std::string& file, const std::string& parameters, const std::string& directory,
                     int showValue) override
    {
        return Record({true, file, parameters, directory, showValue});
    }
    std::optional<std::vector<std::string>> RunningProgramFiles() const override { return running; }

private:
    int Record(const Start& start)
    {
        starts.push_back(start);
        if (log)
            log->push_back((start.waited ? "wait " : "start ") + start.file);
        const auto scripted = resultFor.find(start.file);
        return scripted == resultFor.end() ? result : scripted->second;
    }
};

class RecordingSession final : public platform::Session {
public:
    EventLog* log = nullptr;
    bool busy = false;
    bool mainWindowVisible = true;

    void SetBusyCursor(bool isBusy) override
    {
        busy = isBusy;
        if (log)
            log->push_back(isBusy ? "cursor busy" : "cursor normal");
    }
    void ShowMainWindow(bool visible) override
    {
        mainWindowVisible = visible;
        if (log)
            log->push_back(visible ? "show main window" : "hide main window");
    }
};

} // namespace doubles
