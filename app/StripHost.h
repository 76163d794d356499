#pragma once

class QWidget;

// What the strip asks of the program around it.
class TStripHost {
public:
    virtual ~TStripHost() = default;
    // Ends the program once the current handler has returned.
    virtual void Quit() = 0;
    // Closes and releases any earlier help window and shows a new one beside the strip, without
    // waiting for it; gives it back so that the strip can place it.
    virtual QWidget* ShowHelp() = 0;
};
