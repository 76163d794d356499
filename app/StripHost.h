#pragma once

#include <chrono>

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
    // Puts the program's icon into the notification area unless it is there, and tells whether
    // a tray shows it, so that the strip can be brought back from there. A tray that is still
    // taking the icon in is waited for, with the event loop running, for at most patience.
    virtual bool ShowTrayIconWithin(std::chrono::milliseconds patience) = 0;
    // Closes and releases any earlier help window and shows a new one beside the strip, without
    // waiting for it; gives it back so that the strip can place it.
    virtual QWidget* ShowHelp() = 0;
    // The strip has been minimised, or brought back from there: the program's other windows
    // leave the screen with it and come back with it.
    virtual void StripMinimised(bool minimised) = 0;
};
