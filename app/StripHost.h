#pragma once

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
};
