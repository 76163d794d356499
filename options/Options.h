#pragma once

#include "platform/Platform.h"

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class TFormOptions;
}
class QLineEdit;
class QPixmap;
class TSettings;
class TStripLayout;

// The modal "Optional Settings" window: the three tab headings, hiding the strip's tab strip,
// the view style and starting hidden in the notification area. Every change takes effect at
// once and is stored by the control's own handler; "&Exit" and the close box only close.
class TFormOptions : public QDialog {
    Q_OBJECT
public:
    // Creating the window brings its boxes in line with the strip and the settings file; the
    // ticked view style lays the strip out again, back on its first group. The two pictures are
    // the strip's red arrows, shown on the two buttons beside the hide-tabs note.
    TFormOptions(const platform::Platform& platform, const TSettings& settings, TStripLayout& strip,
                 const QPixmap& upArrow, const QPixmap& downArrow);
    ~TFormOptions() override;

    void ButtonChangeTabsClick();
    void CheckHideTabsClick();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void CheckBoxTrayClick();
    void ButtonExitClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ConnectHandlers();
    void FormCreate();
    void FormShow();
    // The edit box of the heading of tab index (0 to 2).
    QLineEdit* EditTab(int index) const;

    platform::Platform platform_;
    const TSettings& settings_;
    TStripLayout& strip_;
    std::unique_ptr<Ui::TFormOptions> ui;
};
