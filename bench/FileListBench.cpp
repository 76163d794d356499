// Pop-up file lists of 1,000 to 10,000 lines: loading one, adding a file to one, and building
// a slot's menu from one. Google Benchmark fits how the times grow with the list's length.
#include "app/Main.h"
#include "app/StripHost.h"
#include "storage/FileList.h"
#include "storage/Settings.h"

#include "doubles/FakePlatform.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <fstream>
#include <random>

namespace {

// A list file of count lines of random names, stored unsorted as if edited by hand.
void WriteList(const std::string& path, int count)
{
    std::mt19937 random(count);
    std::string content;
    for (int i = 0; i < count; ++i) {
        std::string name = "file";
        for (int letter = 0; letter < 8; ++letter)
            name += char((random() % 2 ? 'a' : 'A') + random() % 26);
        content += FileListLine("/home/user/documents/" + name + ".txt") + "\r\n";
    }
    std::ofstream(path, std::ios::binary) << content;
}

void LoadList(benchmark::State& state)
{
    doubles::TestPlatform env;
    WriteList(env.path("flist1.dll"), int(state.range(0)));
    TFileList list;
    for (auto _ : state)
        list.LoadFromFile(env.path("flist1.dll"));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(LoadList)->DenseRange(1000, 10000, 3000)->Complexity();

void AddLine(benchmark::State& state)
{
    doubles::TestPlatform env;
    WriteList(env.path("flist1.dll"), int(state.range(0)));
    TFileList list;
    list.LoadFromFile(env.path("flist1.dll"));
    for (auto _ : state) {
        list.Add(FileListLine("/home/user/documents/middle.txt"));
        state.PauseTiming();
        list.Delete(list.Count() / 2);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(AddLine)->DenseRange(1000, 10000, 3000)->Complexity();

// What adding a file through the slot menu does: load the list, add the line, store it.
void AddFileToList(benchmark::State& state)
{
    doubles::TestPlatform env;
    const std::string path = env.path("flist1.dll");
    for (auto _ : state) {
        state.PauseTiming();
        WriteList(path, int(state.range(0)));
        state.ResumeTiming();
        TFileList list;
        list.LoadFromFile(path);
        list.Add(FileListLine("/home/user/documents/middle.txt"));
        list.SaveToFile(path);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(AddFileToList)->DenseRange(1000, 10000, 3000)->Complexity();

// A program around the strip that does nothing when asked: the help window that the first
// start asks for is a bare window, never shown.
class IdleHost final : public TStripHost {
    void Quit() override {}
    void ShowNotes() override {}
    void ShowOptions() override {}
    bool ShowTrayIconWithin(std::chrono::milliseconds) override { return true; }
    QWidget* ShowHelp() override { return &help_; }
    void StripMinimised(bool) override {}
    QWidget help_;
};

void BuildSlotMenu(benchmark::State& state)
{
    doubles::TestPlatform env;
    IdleHost host;
    WriteList(env.path("flist1.dll"), int(state.range(0)));
    const TSettings settings(env.directory());
    TForm1 form(env.platform(), settings, host);
    form.FormCreate(); // slot 1, whose list it loads, becomes the current slot
    if (form.SlotCommands().CurrentSlot() != 1)
        state.SkipWithError("slot 1's list was not loaded");
    for (auto _ : state)
        form.SlotCommands().BuildSlotMenu();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BuildSlotMenu)->DenseRange(1000, 10000, 3000)->Complexity();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
