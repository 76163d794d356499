#pragma once

#include "platform/Printer.h"

#include <QStringView>

// Prints text on a printer's pages the way a plain text printer does, in the printer's own units:
// lines are drawn from the top-left corner of the printable area down, a line too wide for the
// page goes on at the start of the next, and a page full of lines goes on on the next page.
// Tabs stop every 8 average character widths; a form feed begins a new page; CR only ends the
// piece of text in progress, LF ends the line.
class TPrinterStream {
public:
    explicit TPrinterStream(platform::PrintSurface& surface)
        : surface_(surface)
    {
    }

    void Write(QStringView text);
    // The line, then a line break.
    void WriteLine(QStringView line);

private:
    // Draws text at the writing position, going on on new lines while it is too wide.
    void Out(QStringView text);
    void NewLine();
    void NewPage();

    platform::PrintSurface& surface_;
    int x_ = 0;
    int y_ = 0;
    int lineHeight_ = 0; // 0 while nothing is drawn on the line
};
