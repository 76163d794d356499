#pragma once

#include <QProxyStyle>
#include <QTabBar>

// The tab strip of the picture: tabs as high as the strip and with little room beside their
// headings, so that all four fit into the picture's width as they do on the strip itself.
class THelpTabSet : public QTabBar {
    Q_OBJECT
public:
    explicit THelpTabSet(QWidget* parent = nullptr)
        : QTabBar(parent)
    {
        auto* narrow = new NarrowTabs;
        narrow->setParent(this);
        setStyle(narrow);
    }

protected:
    QSize tabSizeHint(int index) const override { return {QTabBar::tabSizeHint(index).width(), height()}; }

private:
    class NarrowTabs : public QProxyStyle {
    public:
        int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
        {
            return metric == PM_TabBarTabHSpace ? 6 : QProxyStyle::pixelMetric(metric, option, widget);
        }
    };
};
