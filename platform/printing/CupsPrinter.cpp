#include "platform/printing/CupsPrinter.h"

#include "platform/session/ProductName.h"
#include "platform/text/Encoding.h"

#include <QDir>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>

#include <cups/cups.h>
#include <dlfcn.h>

#include <stdexcept>

namespace platform {

namespace {

std::runtime_error Failure(const QString& message)
{
    return std::runtime_error(ToBytes(message));
}

// The spooler's client library, loaded when the first job starts: the strip does not load it,
// nor the many libraries it needs, at start-up, for a printer it may never use.
class CupsLibrary {
public:
    // Throws when the library cannot be loaded.
    static const CupsLibrary& Get()
    {
        static const CupsLibrary library;
        if (!library.handle_)
            throw Failure(QStringLiteral("The print spooler's library cannot be loaded: %1").arg(library.error_));
        return library;
    }

    decltype(&::cupsGetNamedDest) GetNamedDest = nullptr;
    decltype(&::cupsFreeDests) FreeDests = nullptr;
    decltype(&::cupsLastErrorString) LastErrorString = nullptr;
    decltype(&::cupsCopyDestInfo) CopyDestInfo = nullptr;
    decltype(&::cupsFreeDestInfo) FreeDestInfo = nullptr;
    decltype(&::cupsGetOption) GetOption = nullptr;
    decltype(&::cupsFindDestDefault) FindDestDefault = nullptr;
    decltype(&::ippGetString) IppGetString = nullptr;
    decltype(&::cupsGetDestMediaByName) GetDestMediaByName = nullptr;
    decltype(&::cupsAddOption) AddOption = nullptr;
    decltype(&::cupsFreeOptions) FreeOptions = nullptr;
    decltype(&::cupsPrintFile2) PrintFile2 = nullptr;

private:
    CupsLibrary()
    {
        void* handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            error_ = FromBytes(dlerror());
            return;
        }
        const bool found = Find(handle, "cupsGetNamedDest", GetNamedDest) && Find(handle, "cupsFreeDests", FreeDests)
            && Find(handle, "cupsLastErrorString", LastErrorString) && Find(handle, "cupsCopyDestInfo", CopyDestInfo)
            && Find(handle, "cupsFreeDestInfo", FreeDestInfo) && Find(handle, "cupsGetOption", GetOption)
            && Find(handle, "cupsFindDestDefault", FindDestDefault) && Find(handle, "ippGetString", IppGetString)
            && Find(handle, "cupsGetDestMediaByName", GetDestMediaByName) && Find(handle, "cupsAddOption", AddOption)
            && Find(handle, "cupsFreeOptions", FreeOptions) && Find(handle, "cupsPrintFile2", PrintFile2);
        if (found)
            handle_ = handle; // kept for the rest of the run
        else
            dlclose(handle);
    }

    template <typename Function> bool Find(void* handle, const char* name, Function& function)
    {
        function = reinterpret_cast<Function>(dlsym(handle, name));
        if (!function)
            error_ = QStringLiteral("%1 is missing").arg(QLatin1String(name));
        return function != nullptr;
    }

    void* handle_ = nullptr;
    QString error_;
};

struct DestinationDeleter {
    void operator()(cups_dest_t* destination) const { CupsLibrary::Get().FreeDests(1, destination); }
};
using Destination = std::unique_ptr<cups_dest_t, DestinationDeleter>;

QString SpoolerMessage()
{
    return QString::fromUtf8(CupsLibrary::Get().LastErrorString());
}

// The user's default destination: their own choice (lpoptions, LPDEST, PRINTER) or the spooler's.
Destination DefaultDestination()
{
    Destination destination(CupsLibrary::Get().GetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (destination)
        return destination;
    // The spooler says so also when it cannot be reached at all.
    throw Failure(QStringLiteral("No default printer is set up; choose one in the system's printer settings and "
                                 "print again"));
}

// The destination's default paper, by its name, with its printable area; A4 without margins when
// the printer does not tell.
struct Paper {
    std::string name;
    QPageLayout layout{QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()};
};

Paper DefaultPaper(cups_dest_t* destination)
{
    const CupsLibrary& cups = CupsLibrary::Get();
    Paper paper;
    cups_dinfo_t* info = cups.CopyDestInfo(CUPS_HTTP_DEFAULT, destination);
    if (!info)
        return paper;
    const char* name = cups.GetOption("media", destination->num_options, destination->options);
    if (!name) {
        if (ipp_attribute_t* byDefault = cups.FindDestDefault(CUPS_HTTP_DEFAULT, destination, info, "media"))
            name = cups.IppGetString(byDefault, 0, nullptr);
    }
    cups_size_t size{};
    if (name && cups.GetDestMediaByName(CUPS_HTTP_DEFAULT, destination, info, name, CUPS_MEDIA_FLAGS_DEFAULT, &size)
        && size.width > 0 && size.length > 0) {
        // CUPS measures in hundredths of millimetres.
        const auto mm = [](int hundredths) { return hundredths / 100.0; };
        paper.name = name;
        paper.layout = QPageLayout(
            QPageSize(QSizeF(mm(size.width), mm(size.length)), QPageSize::Millimeter), QPageLayout::Portrait,
            QMarginsF(mm(size.left), mm(size.top), mm(size.right), mm(size.bottom)), QPageLayout::Millimeter);
    }
    cups.FreeDestInfo(info);
    return paper;
}

class CupsJob final : public PrintJob {
public:
    CupsJob(Destination destination, const QString& title, const QString& fontFamily)
        : destination_(std::move(destination))
        , title_(title)
        , file_(QDir::tempPath() + QStringLiteral("/stackle-print-XXXXXX.pdf"))
    {
        const Paper paper = DefaultPaper(destination_.get());
        media_ = paper.name;
        if (!file_.open())
            throw Failure(QStringLiteral("The print job cannot be prepared: %1").arg(file_.errorString()));
        // Drawn on the paper's printable area, at the resolution of a high-resolution printer.
        printer_ = std::make_unique<QPdfWriter>(file_.fileName());
        printer_->setResolution(HighResolution);
        printer_->setPageLayout(paper.layout);
        printer_->setTitle(title);
        printer_->setCreator(ProductName());
        if (!painter_.begin(printer_.get()))
            throw Failure(QStringLiteral("The print job cannot be started"));
        // The printer's plain text font, in points, so that it keeps its size on any resolution.
        painter_.setFont(QFont(fontFamily, 8));
        painter_.setPen(Qt::black);
    }

    ~CupsJob() override
    {
        if (painter_.isActive())
            painter_.end(); // an abandoned job: its file goes with the job, nothing reaches the printer
    }

    QSize PageSize() const override { return {printer_->width(), printer_->height()}; }
    QSize TextExtent(const QString& text) const override
    {
        const QFontMetrics metrics = painter_.fontMetrics();
        return {metrics.horizontalAdvance(text), metrics.height()};
    }
    int AverageCharWidth() const override { return painter_.fontMetrics().averageCharWidth(); }
    int CharHeight() const override { return painter_.fontMetrics().height(); }

    void DrawText(QPoint topLeft, const QString& text) override
    {
        painter_.drawText(topLeft + QPoint(0, painter_.fontMetrics().ascent()), text);
    }

    void NewPage() override
    {
        if (!printer_->newPage())
            throw Failure(QStringLiteral("The print job cannot begin a new page"));
    }

    void End() override
    {
        if (!painter_.end())
            throw Failure(QStringLiteral("The print job cannot be finished"));
        const CupsLibrary& cups = CupsLibrary::Get();
        const std::string file = ToBytes(file_.fileName());
        // The pages are of the printer's default paper: the spooler is told so that it neither
        // scales nor moves them.
        cups_option_t* options = nullptr;
        int optionCount = 0;
        if (!media_.empty())
            optionCount = cups.AddOption("media", media_.c_str(), optionCount, &options);
        const int job = cups.PrintFile2(CUPS_HTTP_DEFAULT, destination_->name, file.c_str(),
                                        title_.toUtf8().constData(), optionCount, options);
        cups.FreeOptions(optionCount, options);
        if (job == 0)
            throw Failure(QStringLiteral("The printer \"%1\" did not take the print job: %2")
                              .arg(QString::fromUtf8(destination_->name), SpoolerMessage()));
    }

private:
    // Dots per inch.
    static constexpr int HighResolution = 1200;

    Destination destination_;
    QString title_;
    std::string media_; // the paper's name for the spooler
    QTemporaryFile file_;
    std::unique_ptr<QPdfWriter> printer_;
    QPainter painter_;
};

} // namespace

std::unique_ptr<PrintJob> CupsPrinter::StartJob(const QString& title)
{
    return std::make_unique<CupsJob>(DefaultDestination(), title, fontFamily_);
}

} // namespace platform
