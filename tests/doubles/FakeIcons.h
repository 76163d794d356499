#pragma once

#include "platform/IconSource.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace doubles {

// Icons by file name; records every extraction.
class FakeIcons final : public platform::IconSource {
public:
    std::map<std::string, QImage> icons;
    std::vector<std::pair<std::string, int>> extracted;

    std::optional<QImage> ExtractIcon(const std::string& file, int index) override
    {
        extracted.emplace_back(file, index);
        const auto found = icons.find(file);
        if (found == icons.end())
            return std::nullopt;
        return found->second;
    }

    // A 32 × 32 icon of one colour with a marker pixel in the bottom-right corner.
    static QImage Solid(QColor color)
    {
        QImage icon(32, 32, QImage::Format_ARGB32_Premultiplied);
        icon.fill(color);
        icon.setPixelColor(31, 31, Qt::blue);
        return icon;
    }
};

} // namespace doubles
