#pragma once

#include "app/Main.h"
#include "app/StripHost.h"
#include "exebtn/ExeBtn.h"
#include "storage/Settings.h"
#include "widgets/ClickLabel.h"

#include "doubles/Child.h"
#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>

#include <memory>
#include <vector>

// Records what the strip asks of the program around it.
class RecordingHost final : public TStripHost {
public:
    int quits = 0;
    int notesShown = 0;
    int optionsShown = 0;
    bool trayIconShown = true;
    std::vector<bool> stripMinimised; // each time the strip went away (true) or came back
    void Quit() override { ++quits; }
    void ShowNotes() override { ++notesShown; }
    void ShowOptions() override { ++optionsShown; }
    bool ShowTrayIconWithin(std::chrono::milliseconds) override { return trayIconShown; }
    void StripMinimised(bool minimised) override { stripMinimised.push_back(minimised); }
    // Each help window asked for; the last one stands in for the real window.
    int helpWindows = 0;
    std::unique_ptr<QWidget> help;
    QWidget* ShowHelp() override
    {
        ++helpWindows;
        help = std::make_unique<QWidget>();
        help->resize(492, 341);
        help->show();
        return help.get();
    }
};

// A strip built offscreen on a temporary program directory, with scripted dialogs, a recording
// starter and fake icons.
class FormTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    TSettings store{env.directory()}; // the settings file the windows read and write
    RecordingHost host;
    std::unique_ptr<TForm1> form;

    // Builds the strip and runs its start-up.
    TForm1& Start() { return Start(env.platform()); }
    TForm1& Start(const platform::Platform& platform)
    {
        form = std::make_unique<TForm1>(platform, store, host);
        form->FormCreate();
        return *form;
    }

    static widgets::TClickLabel* ParamLabel(QWidget& strip, int slot)
    {
        return doubles::Child<widgets::TClickLabel>(strip, QStringLiteral("LabelParam%1").arg(slot));
    }

    // The fixed items of a slot's menu, by position; the entries of its list follow a separator.
    static constexpr int Assign = 0, Add = 1, Remove = 2, Clear = 3, FirstEntry = 5;

    // Right-presses the slot's button at the point, which shows the slot's menu, and gives that
    // menu.
    QMenu* RightPress(int slot, QPoint at = QPoint(5, 5)) const
    {
        QTest::mousePress(form->SlotCommands().Button(slot), Qt::RightButton, {}, at);
        return form->SlotCommands().FilledMenu(slot);
    }
    // Chooses the menu's item at position item, as a click on it does: the menu closes, then the
    // item acts.
    static void ChooseItem(QMenu* menu, int item)
    {
        QAction* action = menu->actions().at(item);
        menu->hide();
        action->trigger();
    }
};
