#include "options/Options.h"

#include "options/StripLayout.h"
#include "platform/Screen.h"
#include "platform/session/ErrorReport.h"
#include "platform/session/FramePlacement.h"
#include "platform/text/Characters.h"
#include "platform/text/Encoding.h"
#include "storage/Settings.h"
#include "ui_Options.h"
#include "widgets/PixelFont.h"

#include <QShowEvent>
#include <QValidator>

#include <algorithm>
#include <array>

namespace {

// Keeps a heading box on one line: a line break pasted into it becomes a blank there and then,
// so that the heading shows, and is stored, as the one line the box shows.
class OneLineValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override
    {
        const QString oneLine = platform::OneLine(input);
        if (oneLine != input) {
            position = std::max(0, position - int(input.size() - oneLine.size()));
            input = oneLine;
        }
        return Acceptable;
    }
};

} // namespace

TFormOptions::TFormOptions(const platform::Platform& platform, const TSettings& settings, TStripLayout& strip,
                           const QPixmap& upArrow, const QPixmap& downArrow)
    : QDialog(nullptr,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                  | Qt::WindowStaysOnTopHint)
    , platform_(platform)
    , settings_(settings)
    , strip_(strip)
    , ui(std::make_unique<Ui::TFormOptions>())
{
    ui->setupUi(this);
    setFont(widgets::PixelFont(13, false));
    QFont underlined = widgets::PixelFont(13, false);
    underlined.setUnderline(true);
    ui->Label1->setFont(underlined);
    ui->SpeedButton1->setIcon(upArrow);
    ui->SpeedButton2->setIcon(downArrow);
    setFixedSize(size());
    // Centred by its client area at first: the window frame is not known before the window is
    // shown.
    platform::CentreByFrame(*this, platform.windowManager, platform.screen.PrimarySize(), size());
    for (int i = 0; i < settings::TabHeadingCount; ++i)
        EditTab(i)->setValidator(new OneLineValidator(EditTab(i)));
    ConnectHandlers();
    FormCreate();
}

TFormOptions::~TFormOptions() = default;

void TFormOptions::ConnectHandlers()
{
    const auto reported = [this](void (TFormOptions::*handler)()) {
        return platform::Reported(platform_.dialogs, this, handler);
    };
    // Check boxes and radio buttons report a new state whether a click or the program set it,
    // and only when it really changed; a radio button's handler runs when it becomes ticked.
    connect(ui->CheckHideTabs, &QCheckBox::toggled, this, reported(&TFormOptions::CheckHideTabsClick));
    connect(ui->CheckBoxTray, &QCheckBox::toggled, this, reported(&TFormOptions::CheckBoxTrayClick));
    const std::array<std::pair<QRadioButton*, void (TFormOptions::*)()>, 3> styles = {{
        {ui->RadioButton1, &TFormOptions::RadioButton1Click},
        {ui->RadioButton2, &TFormOptions::RadioButton2Click},
        {ui->RadioButton3, &TFormOptions::RadioButton3Click},
    }};
    for (const auto& [button, handler] : styles) {
        connect(button, &QRadioButton::toggled, this, [reported, handler = handler](bool ticked) {
            if (ticked)
                reported(handler)();
        });
    }
    connect(ui->ButtonChangeTabs, &QPushButton::clicked, this, reported(&TFormOptions::ButtonChangeTabsClick));
    connect(ui->ButtonExit, &QPushButton::clicked, this, reported(&TFormOptions::ButtonExitClick));
}

void TFormOptions::FormCreate()
{
    // The design ticks both check boxes and no radio button, so each step below runs its
    // control's handler only when the stored state differs from the design.
    ui->CheckBoxTray->setChecked(settings_.Read(settings::StartInTray));
    if (strip_.TabsVisible() == "True")
        ui->CheckHideTabs->setChecked(false);
    const std::array<QRadioButton*, 3> styles = {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3};
    const int style = strip_.ViewStyle();
    if (style >= 1 && style <= int(styles.size()))
        styles[style - 1]->setChecked(true);
}

void TFormOptions::showEvent(QShowEvent* event)
{
    // Only when the program shows the window, not when the window system brings it back: text
    // typed but not yet applied stays.
    if (!event->spontaneous())
        platform::ReportFailure(platform_.dialogs, [this] { FormShow(); });
    QDialog::showEvent(event);
}

void TFormOptions::FormShow()
{
    for (int i = 0; i < settings::TabHeadingCount; ++i)
        EditTab(i)->setText(platform::FromBytes(settings_.Read(settings::TabHeading(i))));
}

QLineEdit* TFormOptions::EditTab(int index) const
{
    return findChild<QLineEdit*>(QStringLiteral("EditTab") + QString::number(index));
}

void TFormOptions::ButtonChangeTabsClick()
{
    // The headings go as typed: no trimming, and an empty box gives an empty tab.
    for (int i = 0; i < settings::TabHeadingCount; ++i) {
        const std::string heading = platform::ToBytes(EditTab(i)->text());
        settings_.Store(settings::TabHeading(i), heading);
    }
    for (int i = 0; i < settings::TabHeadingCount; ++i)
        strip_.SetTabHeading(i, EditTab(i)->text());
}

void TFormOptions::CheckHideTabsClick()
{
    strip_.ApplyTabsHidden(ui->CheckHideTabs->isChecked());
}

void TFormOptions::RadioButton1Click()
{
    strip_.ApplyViewStyle(1);
}

void TFormOptions::RadioButton2Click()
{
    strip_.ApplyViewStyle(2);
}

void TFormOptions::RadioButton3Click()
{
    strip_.ApplyViewStyle(3);
}

void TFormOptions::CheckBoxTrayClick()
{
    // Takes effect at the next start, the only time the strip reads it.
    const bool inTray = ui->CheckBoxTray->isChecked();
    strip_.SetStartInTray(inTray);
    settings_.Store(settings::StartInTray, inTray);
}

void TFormOptions::ButtonExitClick()
{
    // Ends the modal showing; nothing is stored, headings typed but not applied are dropped.
    close();
}
