#include "app/TabStrip.h"

#include <QProxyStyle>

namespace {

// The desktop's style, with less room beside a tab's heading.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 10;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QString Literal(QString heading)
{
    return heading.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

TTabStrip::TTabStrip(QWidget* parent)
    : QTabBar(parent)
{
    auto* style = new CompactTabStyle;
    style->setParent(this);
    setStyle(style);
}

void TTabStrip::AddHeading(const QString& heading)
{
    addTab(Literal(heading));
}

void TTabStrip::SetHeading(int index, const QString& heading)
{
    setTabText(index, Literal(heading));
}

QSize TTabStrip::tabSizeHint(int index) const
{
    return {QTabBar::tabSizeHint(index).width(), height()};
}
