#include "app/StripKeys.h"

#include "app/Main.h"
#include "exebtn/ExeBtn.h"
#include "platform/session/ErrorReport.h"
#include "storage/ProgramFiles.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>

namespace {

constexpr int SlotsPerGroup = 4;
constexpr int Groups = SlotCount / SlotsPerGroup;

} // namespace

TStripKeys::TStripKeys(TForm1& strip, TSlotCommands& slotCommands, platform::Dialogs& dialogs)
    : strip_(strip)
    , slotCommands_(slotCommands)
    , dialogs_(dialogs)
{
    for (int slot = 1; slot <= SlotCount; ++slot)
        slotCommands_.Slot(slot).button->setFocusPolicy(Qt::TabFocus);
    // Keys and presses are seen before the strip's controls get them: the watch is on the whole program.
    qApp->installEventFilter(this);
}

TStripKeys::~TStripKeys()
{
    qApp->removeEventFilter(this);
}

bool TStripKeys::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::KeyPress
        && type != QEvent::FocusIn)
        return false;
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &strip_)
        return false;
    if (type == QEvent::FocusIn) {
        // Tab is a key too.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            ShowFrames(true);
        return false;
    }
    if (type != QEvent::KeyPress) {
        ShowFrames(false);
        return false;
    }
    // Before the control with the focus: the arrow buttons and the tab strip would take the
    // arrows for themselves. A key that is not the strip's goes on to the control.
    bool taken = false;
    platform::ReportFailure(dialogs_, [&] { taken = KeyPressed(*static_cast<QKeyEvent*>(event)); });
    return taken;
}

bool TStripKeys::KeyPressed(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const int position = FocusedPosition();
    const int focused = position ? SlotAt(position) : 0;
    const bool plain = modifiers == Qt::NoModifier;
    const bool control = modifiers == Qt::ControlModifier;
    const bool controlShift = modifiers == (Qt::ControlModifier | Qt::ShiftModifier);

    if (plain && (key.key() == Qt::Key_Left || key.key() == Qt::Key_Right)) {
        const int step = key.key() == Qt::Key_Right ? 1 : -1;
        Focus(position ? std::clamp(position + step, 1, SlotsPerGroup) : (step > 0 ? 1 : SlotsPerGroup));
        return true;
    }
    if ((control && (key.key() == Qt::Key_PageDown || key.key() == Qt::Key_Tab))
        || (control && key.key() == Qt::Key_PageUp)
        || (controlShift && (key.key() == Qt::Key_Backtab || key.key() == Qt::Key_Tab))) {
        if (key.key() == Qt::Key_PageDown || (control && key.key() == Qt::Key_Tab))
            strip_.SpeedButton2Click();
        else
            strip_.SpeedButton1Click();
        if (position)
            Focus(position); // the same place in the group now on view
        return true;
    }
    if (plain && key.key() >= Qt::Key_1 && key.key() < Qt::Key_1 + SlotsPerGroup) {
        if (const int slot = SlotAt(key.key() - Qt::Key_0))
            slotCommands_.Button(slot)->Click();
        return true;
    }
    if (!focused)
        return false;
    if (plain && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space)) {
        slotCommands_.Button(focused)->Click();
    } else if ((plain && key.key() == Qt::Key_Menu) || (modifiers == Qt::ShiftModifier && key.key() == Qt::Key_F10)) {
        // Under the button, where a pointer would have pressed it.
        TExeBtn* button = slotCommands_.Button(focused);
        slotCommands_.ExeBtn1MouseDown(button, Qt::RightButton, {}, 0, button->height());
    } else if (plain && key.key() == Qt::Key_A) {
        slotCommands_.LabelLaunchAll1Click(slotCommands_.Slot(focused).launchAll);
    } else if (plain && key.key() == Qt::Key_P) {
        slotCommands_.LabelParam1Click(slotCommands_.Slot(focused).param);
    } else {
        return false;
    }
    return true;
}

int TStripKeys::SlotAt(int position) const
{
    const int page = strip_.PageOnView();
    return page < Groups ? page * SlotsPerGroup + position : 0;
}

int TStripKeys::FocusedPosition() const
{
    for (int position = 1; position <= SlotsPerGroup; ++position)
        if (const int slot = SlotAt(position); slot && slotCommands_.Slot(slot).button->hasFocus())
            return position;
    return 0;
}

void TStripKeys::Focus(int position)
{
    const int slot = SlotAt(position);
    if (!slot)
        return;
    ShowFrames(true);
    slotCommands_.Button(slot)->setFocus(Qt::TabFocusReason);
}

void TStripKeys::ShowFrames(bool shown)
{
    if (shown == framesShown_)
        return;
    framesShown_ = shown;
    for (int slot = 1; slot <= SlotCount; ++slot)
        slotCommands_.Slot(slot).button->SetFocusFrame(shown);
}
