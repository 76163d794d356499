#include "app/LaunchSlots.h"

#include "exebtn/ExeBtn.h"
#include "widgets/SwitchLabel.h"

#include <QMenu>

namespace {

// Where the parts of the slots at positions 1 to 4 sit on their page.
constexpr int ButtonLeft[] = {4, 46, 89, 131};
constexpr int LaunchAllLeft[] = {19, 62, 105, 148};
constexpr int ParamLeft[] = {29, 72, 116, 158};
constexpr int ButtonTop = 3;
constexpr int LabelTop = 38;

const QColor ParamOffColor(255, 0, 0);
const QColor ParamOnColor(0, 255, 0);

QString Numbered(const char* prefix, int number)
{
    return QLatin1String(prefix) + QString::number(number);
}

QString MenuItemName(int slot, int item, const char* slotOneName)
{
    return slot == 1 ? QLatin1String(slotOneName) : Numbered("MenuItem", 5 * (slot - 2) + item + 1);
}

// Places a slot's "A" or "P" under its button, named for screen readers by what it does.
template <class Label> Label* PlaceSlotLabel(Label* label, const char* prefix, int slot, int left, const QString& what)
{
    label->setObjectName(Numbered(prefix, slot));
    label->setAccessibleName(what + QStringLiteral(" (slot %1)").arg(slot));
    label->move(left, LabelTop);
    label->adjustSize();
    return label;
}

QMenu* SlotMenu(int slot, TLaunchSlot& parts, QWidget* owner)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(slot == 1 ? QStringLiteral("PopUpMenu1") : Numbered("PopupMenu", slot));
    menu->setToolTipsVisible(true); // a file entry's full path
    const struct {
        const char* caption;
        const char* slotOneName;
    } items[] = {{"A&ssign main button file", "AssignEXE1"},
                 {"&Add pop-up menu files", "AddFiles"},
                 {"&Delete a pop-up file", "RemoveFiles1"},
                 {"&Clear ALL files", "ClearALLfiles1"}};
    for (int item = 0; item < 4; ++item) {
        QAction* action = menu->addAction(QString::fromLatin1(items[item].caption));
        action->setObjectName(MenuItemName(slot, item, items[item].slotOneName));
        parts.commands[std::size_t(item)] = action;
    }
    menu->addSeparator()->setObjectName(MenuItemName(slot, 4, "N1"));
    return menu;
}

} // namespace

TLaunchSlots::TLaunchSlots(const platform::Platform& platform, const std::array<QWidget*, 3>& pages, QWidget* menuOwner)
    : menuOwner_(menuOwner)
{
    for (int slot = 1; slot <= SlotCount; ++slot) {
        TLaunchSlot& parts = (*this)[slot];
        QWidget* page = pages[std::size_t((slot - 1) / 4)];
        const int position = (slot - 1) % 4;
        parts.number = slot;

        parts.button = new TExeBtn(platform, page);
        parts.button->setObjectName(Numbered("ExeBtn", slot));
        parts.button->setGeometry(slot == 9 ? 3 : ButtonLeft[position], ButtonTop, 37, 36);
        parts.launchAll = PlaceSlotLabel(new widgets::TClickLabel(QStringLiteral("A"), page), "LabelLaunchAll", slot,
                                         LaunchAllLeft[position], QStringLiteral("Launch all files"));
        parts.param = PlaceSlotLabel(new widgets::TSwitchLabel(QStringLiteral("P"), ParamOffColor, ParamOnColor, page),
                                     "LabelParam", slot, ParamLeft[position],
                                     QStringLiteral("Open pop-up files with the main program"));
        if (slot <= 4) {
            parts.button->setToolTip(QStringLiteral("Right-click to configure, left-click to launch stored program."));
            parts.launchAll->setToolTip(QStringLiteral("Click to launch ALL files stored in this button."));
            parts.param->setToolTip(QStringLiteral("Click to toggle PARAMETER setting on/off."));
        }
    }
}

bool TLaunchSlots::MakeMenu(int slot)
{
    TLaunchSlot& parts = (*this)[slot];
    if (parts.menu)
        return false;
    parts.menu = SlotMenu(slot, parts, menuOwner_);
    return true;
}

int TLaunchSlots::SlotOf(const QObject* part) const
{
    for (const TLaunchSlot& slot : slots_)
        if (part == slot.button || part == slot.launchAll || part == slot.param)
            return slot.number;
    return 0;
}

void TLaunchSlots::SetParam(int slot, bool on)
{
    (*this)[slot].param->SetOn(on);
}

bool TLaunchSlots::ParamOn(int slot) const
{
    return (*this)[slot].param->On();
}

QList<QAction*> TLaunchSlots::Entries(int slot) const
{
    const QMenu* menu = (*this)[slot].menu;
    return menu ? menu->actions().mid(FixedMenuItems) : QList<QAction*>();
}
