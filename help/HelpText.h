#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace help {

// The parts of the strip's picture that explain themselves.
enum class HelpRegion {
    Clock,
    Hands,
    Options,
    Notes,
    Minimise,
    Exit,
    Arrows,
    HelpButton,
    Tabs,
    LaunchAll,
    Param,
    ButtonRightPress, // a press of the right mouse button on a launcher button
    ButtonOtherPress, // a press of any other mouse button on a launcher button
};

// What the four help labels show for a region. The first two always show (the first one
// possibly empty); the third and fourth are hidden where a region has nothing to say there.
struct RegionTexts {
    QString info1;
    QString info2;
    std::optional<QString> info3;
    std::optional<QString> info4;
};

const RegionTexts& TextsOf(HelpRegion region);

// The guide in the memo, block by block, each block one paragraph of running text.
const std::vector<QString>& HelpBlocks();

// Breaks text into lines of at most width characters, at blanks. A word longer than a line
// gets a line of its own.
QStringList BreakAtBlanks(const QString& text, int width);

// The memo's text: every block broken into lines of at most 67 characters, the blocks separated
// by an empty line or, where a block follows on, by a line break only.
QString HelpMemoText();

} // namespace help
