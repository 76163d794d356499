#pragma once

#include "app/Main.h"
#include "app/StripHost.h"

#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <memory>

// Records what the strip asks of the program around it.
class RecordingHost final : public TStripHost {
public:
    int quits = 0;
    int notesShown = 0;
    int optionsShown = 0;
    int trayActivations = 0;
    bool trayIconShown = true;
    void Quit() override { ++quits; }
    void ShowNotes() override { ++notesShown; }
    void ShowOptions() override { ++optionsShown; }
    void ActivateTrayIcon() override { ++trayActivations; }
    bool TrayIconShown() override { return trayIconShown; }
    // Each help window asked for; the last one stands in for the real window.
    int helpWindows = 0;
    std::unique_ptr<QWidget> help;
    QWidget* ShowHelp() override
    {
        ++helpWindows;
        help = std::make_unique<QWidget>();
        return help.get();
    }
};

// A strip built offscreen on a temporary program directory, with scripted dialogs, a recording
// starter and fake icons.
class FormTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    RecordingHost host;
    std::unique_ptr<TForm1> form;

    TForm1& Start()
    {
        form = std::make_unique<TForm1>(env.platform(), host);
        return *form;
    }
};
