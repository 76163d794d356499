#pragma once

#include <QObject>

class QKeyEvent;
class TForm1;
class TSlotCommands;

namespace platform {
class Dialogs;
}

// The strip by keyboard, while it has the focus: Left and Right move the focus between the four
// slot buttons of the group on view, Return or Space starts the focused slot as a left click
// does, the Menu key or Shift+F10 opens its menu as a right press does, 1 to 4 start the slots of
// the group on view, Ctrl+PageDown or Ctrl+Tab and Ctrl+PageUp or Ctrl+Shift+Tab step through the
// groups as the arrows do, and A and P act as the focused slot's "A" and "P". The focused button
// shows a frame while keys are used, none after a mouse press, so that the strip looks as ever in
// mouse use.
class TStripKeys final : public QObject {
public:
    TStripKeys(TForm1& strip, TSlotCommands& slotCommands, platform::Dialogs& dialogs);
    ~TStripKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Carries out the key; false when it is none of the strip's.
    bool KeyPressed(const QKeyEvent& key);
    // The slot of the group on view at position (1 to 4); 0 on the settings page.
    int SlotAt(int position) const;
    // The position (1 to 4) of the slot whose button has the focus; 0 for none.
    int FocusedPosition() const;
    void Focus(int position);
    void ShowFrames(bool shown);

    TForm1& strip_;
    TSlotCommands& slotCommands_;
    platform::Dialogs& dialogs_;
    bool framesShown_ = false;
};
