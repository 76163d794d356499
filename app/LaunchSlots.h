#pragma once

#include "platform/Platform.h"
#include "storage/ProgramFiles.h"
#include "widgets/SwitchLabel.h"

#include <QList>

#include <array>

class QAction;
class QMenu;
class QObject;
class QWidget;
class TExeBtn;

// One launch slot: its widgets, which hold the slot's state: the main file is its button's, the
// parameter flag its "P"'s, shown by that label's colour.
struct TLaunchSlot {
    int number = 0; // 1 to 12
    TExeBtn* button = nullptr;
    widgets::TClickLabel* launchAll = nullptr; // "A"
    widgets::TSwitchLabel* param = nullptr; // "P"
    QMenu* menu = nullptr; // made when it is first needed
    // The menu's commands: assign, add, delete and clear; a separator follows them.
    std::array<QAction*, 4> commands{};
};

// The twelve launch slots, four on each of the three group pages: slot n is on page
// (n - 1) / 4. Their parts are named after the slot: ExeBtn<n>, LabelLaunchAll<n>,
// LabelParam<n>, PopUpMenu1 or PopupMenu<n>, and the menu items of slot 1 AssignEXE1,
// AddFiles, RemoveFiles1, ClearALLfiles1 and N1, those of slot n MenuItem<5(n-2)+1> onwards.
class TLaunchSlots {
public:
    static constexpr int FixedMenuItems = 5; // the four commands and the separator

    // Builds the slots' widgets on the pages; their menus will belong to menuOwner.
    TLaunchSlots(const platform::Platform& platform, const std::array<QWidget*, 3>& pages, QWidget* menuOwner);

    TLaunchSlot& operator[](int slot) { return slots_[std::size_t(slot - 1)]; }
    const TLaunchSlot& operator[](int slot) const { return slots_[std::size_t(slot - 1)]; }
    auto begin() { return slots_.begin(); }
    auto end() { return slots_.end(); }

    // The slot whose button or label part is; 0 for none.
    int SlotOf(const QObject* part) const;
    // Sets the slot's parameter flag and colours its "P": lime green on, red off.
    void SetParam(int slot, bool on);
    bool ParamOn(int slot) const;
    // Makes the slot's menu with its fixed items, unless it is there; true when it was made now.
    bool MakeMenu(int slot);
    // The file entries of the slot's menu, after its fixed items; none while it has no menu.
    QList<QAction*> Entries(int slot) const;

private:
    std::array<TLaunchSlot, SlotCount> slots_;
    QWidget* menuOwner_;
};
