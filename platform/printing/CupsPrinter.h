#pragma once

#include "platform/Printer.h"

#include <QString>

namespace platform {

// The default printer of the system's print spooler (CUPS). A job is drawn with QPainter into a
// PDF of the printer's default paper and margins, which is handed to the spooler when the job
// ends; the spooler's answer tells whether the printer took it. The spooler's client library is
// loaded when the first job starts.
class CupsPrinter final : public Printer {
public:
    // Text is drawn in 8-point fontFamily.
    explicit CupsPrinter(QString fontFamily)
        : fontFamily_(std::move(fontFamily))
    {
    }

    std::unique_ptr<PrintJob> StartJob(const QString& title) override;

private:
    QString fontFamily_;
};

} // namespace platform
