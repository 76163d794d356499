#pragma once

#include "platform/Printer.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace doubles {

// A page surface with fixed metrics that records what is drawn on it as readable lines:
// "x,y text" for text drawn at (x, y) and "page" for a new page. Every character is charWidth
// wide and charHeight high unless widths or heights say otherwise.
class RecordingSurface : public platform::PrintSurface {
public:
    QSize page{200, 100};
    int charWidth = 10;
    int characterHeight = 12;
    int averageWidth = 10;
    QHash<QChar, int> widths;
    QHash<QChar, int> heights;
    std::vector<std::string> drawn;

    QSize PageSize() const override { return page; }
    QSize TextExtent(const QString& text) const override
    {
        QSize extent(0, characterHeight);
        for (const QChar c : text) {
            extent.rwidth() += widths.value(c, charWidth);
            extent.setHeight(std::max(extent.height(), heights.value(c, characterHeight)));
        }
        return extent;
    }
    int AverageCharWidth() const override { return averageWidth; }
    int CharHeight() const override { return characterHeight; }
    void DrawText(QPoint topLeft, const QString& text) override
    {
        drawn.push_back(std::to_string(topLeft.x()) + "," + std::to_string(topLeft.y()) + " " + text.toStdString());
    }
    void NewPage() override { drawn.push_back("page"); }
};

// A printer that records its jobs instead of printing them, or fails as scripted.
class RecordingPrinter final : public platform::Printer {
public:
    struct Job {
        std::string title;
        std::vector<std::string> drawn;
        bool ended = false;
    };
    std::vector<Job> jobs;
    std::optional<std::string> startFailure; // no printer: startJob throws this message
    std::optional<std::string> endFailure; // the printer refuses the job when it ends
    QSize page{2000, 3000};

    std::unique_ptr<platform::PrintJob> StartJob(const QString& title) override
    {
        if (startFailure)
            throw std::runtime_error(*startFailure);
        jobs.push_back({title.toStdString(), {}, false});
        return std::make_unique<RecordedJob>(*this, jobs.size() - 1);
    }

private:
    class RecordedJob final : public platform::PrintJob {
    public:
        RecordedJob(RecordingPrinter& printer, std::size_t index)
            : printer_(printer)
            , index_(index)
        {
            surface_.page = printer.page;
        }
        // What the job drew goes to its printer once the job is over, ended or abandoned.
        ~RecordedJob() override { printer_.jobs[index_].drawn = std::move(surface_.drawn); }
        QSize PageSize() const override { return surface_.PageSize(); }
        QSize TextExtent(const QString& text) const override { return surface_.TextExtent(text); }
        int AverageCharWidth() const override { return surface_.AverageCharWidth(); }
        int CharHeight() const override { return surface_.CharHeight(); }
        void DrawText(QPoint topLeft, const QString& text) override { surface_.DrawText(topLeft, text); }
        void NewPage() override { surface_.NewPage(); }
        void End() override
        {
            if (printer_.endFailure)
                throw std::runtime_error(*printer_.endFailure);
            printer_.jobs[index_].ended = true;
        }

    private:
        RecordingPrinter& printer_;
        std::size_t index_;
        RecordingSurface surface_;
    };
};

} // namespace doubles
