#pragma once

#include <QTabBar>

// The strip's tab bar: tabs exactly as high as the bar and padded only a little, so that the
// four headings fit into the strip's width.
class TTabStrip : public QTabBar {
    Q_OBJECT
public:
    explicit TTabStrip(QWidget* parent = nullptr);

    // Headings show literally: an '&' is no mark for a keyboard shortcut.
    void AddHeading(const QString& heading);
    void SetHeading(int index, const QString& heading);

protected:
    QSize tabSizeHint(int index) const override;
};
