#include "widgets/TabStrip.h"

#include "widgets/LiteralCaption.h"

#include <QProxyStyle>

namespace widgets {

// The desktop's style, with less room beside a tab's heading.
class TTabStrip::CompactTabStyle : public QProxyStyle {
public:
    int room = 10;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return room;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

TTabStrip::TTabStrip(QWidget* parent)
    : QTabBar(parent)
    , style_(new CompactTabStyle)
{
    style_->setParent(this);
    setStyle(style_);
}

void TTabStrip::SetHeadingRoom(int pixels)
{
    style_->room = pixels;
}

void TTabStrip::AddHeading(const QString& heading)
{
    addTab(LiteralCaption(heading));
}

void TTabStrip::SetHeading(int index, const QString& heading)
{
    setTabText(index, LiteralCaption(heading));
}

QSize TTabStrip::tabSizeHint(int index) const
{
    return {QTabBar::tabSizeHint(index).width(), height()};
}

} // namespace widgets
