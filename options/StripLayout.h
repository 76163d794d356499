#pragma once

#include <QString>

#include <string>

// What the options window reads and changes of the strip: its view style, its tab strip and
// the choice to start hidden in the notification area. The strip implements it, so that the
// options window needs nothing else of the strip.
class TStripLayout {
public:
    virtual ~TStripLayout() = default;

    // The view style in effect: 1 to 3, or whatever other number the settings file held.
    virtual int ViewStyle() const = 0;
    // "True" or "False"; exactly "False" means the tab strip is hidden.
    virtual const std::string& TabsVisible() const = 0;
    // Start minimised with only the notification-area icon at the next start.
    virtual void SetStartInTray(bool inTray) = 0;

    // Lays the strip out for view style 1, 2 or 3, returns it to the first group and stores the
    // style.
    virtual void ApplyViewStyle(int style) = 0;
    // Hides or shows the tab strip and stores the choice.
    virtual void ApplyTabsHidden(bool hide) = 0;
    // Puts heading on the tab of group index + 1 (index 0 to 2); the "Options" tab keeps its own.
    virtual void SetTabHeading(int index, const QString& heading) = 0;
};
