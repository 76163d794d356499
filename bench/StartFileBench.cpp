// Time from a start to the started program running: StartFile through the desktop shell
// against a bare posix_spawn of the same program. bench/start_file.sh reports the ratio.
#include "exebtn/StartFile.h"
#include "platform/LinuxPlatform.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string Program = READY_SIGNAL_PROGRAM;

// The pipe the started program writes its byte into; reading it waits until it runs.
class ReadySignal {
public:
    ReadySignal()
        : path_(dir_.path().toStdString() + "/ready")
    {
        mkfifo(path_.c_str(), 0600);
    }
    const std::string& path() const { return path_; }
    void Wait() const
    {
        const int pipe = open(path_.c_str(), O_RDONLY);
        char byte;
        benchmark::DoNotOptimize(read(pipe, &byte, 1));
        close(pipe);
    }

private:
    QTemporaryDir dir_;
    std::string path_;
};

void PosixSpawn(benchmark::State& state)
{
    const ReadySignal ready;
    for (auto _ : state) {
        pid_t pid;
        char* argv[] = {const_cast<char*>(Program.c_str()), const_cast<char*>(ready.path().c_str()), nullptr};
        posix_spawn(&pid, Program.c_str(), nullptr, nullptr, argv, environ);
        ready.Wait();
        state.PauseTiming();
        waitpid(pid, nullptr, 0);
        state.ResumeTiming();
    }
}
BENCHMARK(PosixSpawn)->UseRealTime();

void StartFileThroughShell(benchmark::State& state)
{
    platform::LinuxPlatform linux([] { return QImage(); }, QString()); // the benchmark shows no icons, prints nothing
    const ReadySignal ready;
    TStartSettings settings;
    settings.ExeFile = Program;
    settings.ExeParams = ready.path();
    for (auto _ : state) {
        StartFile(settings, {}, linux.platform());
        ready.Wait();
    }
}
BENCHMARK(StartFileThroughShell)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv); // the busy cursor needs one
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
