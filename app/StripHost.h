#pragma once

class QWidget;

// What the strip asks of the program around it.
class TStripHost {
public:
    virtual ~TStripHost() = default;
    // Ends the program once the current handler has returned.
    virtual void Quit() = 0;
    // Opens a new notes window and returns once it is closed.
    virtual void ShowNotes() = 0;
    // Opens a new options window and returns when it is closed.
    virtual void ShowOptions() = 0;
    // Puts the program's icon into the notification area; nothing when it is there already.
    virtual void ActivateTrayIcon() = 0;
    // Whether a notification area shows the program's icon now, so that the strip can be
    // brought back from there. The icon is put there first when it is not yet.
    virtual bool TrayIconShown() = 0;
    // Closes and releases any earlier help window and shows a new one beside the strip, without
    // waiting for it; gives it back so that the strip can place it.
    virtual QWidget* ShowHelp() = 0;
    // The strip has been minimised, or brought back from there: the program's other windows
    // leave the screen with it and come back with it.
    virtual void StripMinimised(bool minimised) = 0;
};
