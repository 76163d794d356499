#pragma once

#include "platform/Printer.h"

namespace platform {

// The default printer of the system's print spooler (CUPS). A job is drawn with QPainter into a
// PDF of the printer's default paper and margins, which is handed to the spooler when the job
// ends; the spooler's answer tells whether the printer took it. The spooler's client library is
// loaded when the first job starts.
class CupsPrinter final : public Printer {
public:
    std::unique_ptr<PrintJob> StartJob(const QString& title) override;
};

} // namespace platform
