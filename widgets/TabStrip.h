#pragma once

#include <QTabBar>

class QProxyStyle;

namespace widgets {

// A tab bar whose tabs are exactly as high as the bar and padded only a little beside their
// headings, so that several headings fit into a narrow strip.
class TTabStrip : public QTabBar {
    Q_OBJECT
public:
    explicit TTabStrip(QWidget* parent = nullptr);

    // The room beside each heading, in pixels: 10 unless set.
    void SetHeadingRoom(int pixels);

    // Headings show literally: an '&' is no mark for a keyboard shortcut.
    void AddHeading(const QString& heading);
    void SetHeading(int index, const QString& heading);

protected:
    QSize tabSizeHint(int index) const override;

private:
    class CompactTabStyle;
    CompactTabStyle* style_;
};

} // namespace widgets
