#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>

namespace platform {

// A printer's page being drawn on, in the printer's own units (its device pixels). The origin is
// the top-left corner of the printable area; text is drawn in the surface's default font, which
// also gives every measure below.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    // The printable area's width and height.
    virtual QSize PageSize() const = 0;
    // Width and height of text drawn on one line.
    virtual QSize TextExtent(const QString& text) const = 0;
    // The font's average character width and its character height (line height without spacing).
    virtual int AverageCharWidth() const = 0;
    virtual int CharHeight() const = 0;
    // Draws text with its top-left corner at topLeft.
    virtual void DrawText(QPoint topLeft, const QString& text) = 0;
    // Ends the page and begins the next one.
    virtual void NewPage() = 0;
};

// One print job. Destroying a job that was not ended abandons it: nothing is printed.
class PrintJob : public PrintSurface {
public:
    // Ends the job and hands it to the printer. Throws std::runtime_error with a message for the
    // user when the printer does not take it.
    virtual void End() = 0;
};

// The system's printers.
class Printer {
public:
    virtual ~Printer() = default;
    // Starts a job named title on the default printer, without asking anything. Throws
    // std::runtime_error with a message for the user when there is no default printer or it
    // cannot start a job.
    virtual std::unique_ptr<PrintJob> StartJob(const QString& title) = 0;
};

} // namespace platform
