#include "app/Main.h"

#include "app/ClockText.h"
#include "app/StripAccessible.h"
#include "app/StripForm.h"
#include "app/StripHost.h"
#include "app/StripKeys.h"
#include "app/WindowDrag.h"
#include "exebtn/ExeBtn.h"
#include "platform/Clock.h"
#include "platform/ProgramLocation.h"
#include "platform/Screen.h"
#include "platform/WindowManager.h"
#include "platform/session/ErrorReport.h"
#include "platform/session/FramePlacement.h"
#include "platform/session/OnMonitors.h"
#include "platform/text/Encoding.h"
#include "storage/Settings.h"
#include "ui_Main.h"
#include "widgets/ClickLabel.h"

#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include <chrono>
#include <utility>

namespace {

const QString TabOptions = QStringLiteral("Options");
// The fourth tab and notebook page: reaching it opens the options window.
constexpr int OptionsPage = 3;
// How long a start in the notification area waits for a tray that is there to take the icon in.
constexpr std::chrono::milliseconds TrayArrivalTime(2000);

// Puts the window one pixel below the strip, or above it where it does not fit below, all of
// it on the screen that holds the strip: at once by the window's own size, and again by its
// frame, centred across the screen, once the window manager has framed it, by where the strip is
// then.
void PlaceBesideStrip(QWidget& window, const QWidget& strip, const platform::Platform& platform)
{
    const platform::Screen& screens = platform.screen;
    const QRect stripArea = strip.geometry(); // the strip has no frame
    window.move(
        platform::BesideStrip(stripArea, screens.ScreenGeometryAt(stripArea.center()), window.x(), window.size()));
    platform::PlaceByFrame(
        window, platform.windowManager, [strip = QPointer(&strip), &screens, stripArea](QSize outer) {
            const QRect area = strip ? strip->geometry() : stripArea;
            const QRect screen = screens.ScreenGeometryAt(area.center());
            return platform::BesideStrip(area, screen, screen.x() + (screen.width() - outer.width()) / 2, outer);
        });
}

} // namespace

TForm1::TForm1(const platform::Platform& platform, const TSettings& settings, TStripHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , platform_(platform)
    , settings_(settings)
    , host_(host)
    , ui(SetUpStripForm(*this))
    , launchSlots_(platform, {ui->PageGroup1, ui->PageGroup2, ui->PageGroup3}, this)
    , slotCommands_(platform, settings, platform.location.DataDirectory(), launchSlots_)
    , drag_(std::make_unique<TWindowDrag>(*this))
    , keys_(std::make_unique<TStripKeys>(*this, slotCommands_, platform_.dialogs))
    , Timer1(new QTimer(this))
{
    platform_.windowManager.KeepAboveAll(*this);
    InstallStripAccessibility();
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // Presses on the notebook and the arrow panel stay there: only bare parts drag the strip.
    ui->NB1->setAttribute(Qt::WA_NoMousePropagation);
    ui->PanelControls->setAttribute(Qt::WA_NoMousePropagation);
    // The strip is seldom the active window: its hints show whenever the pointer rests on a part.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    connect(Timer1, &QTimer::timeout, this, Reported(&TForm1::Timer1Timer));
    connect(ui->Tab1, &QTabBar::currentChanged, this, Reported(&TForm1::Tab1Click));
    connect(ui->NB1, &QStackedWidget::currentChanged, this, Reported(&TForm1::NB1PageChanged));
    connect(ui->SpeedButton2, &QToolButton::clicked, this, Reported(&TForm1::SpeedButton2Click));
    connect(ui->SpeedButton1, &QToolButton::clicked, this, Reported(&TForm1::SpeedButton1Click));
    connect(ui->ButtonOptions, &QPushButton::clicked, this, Reported(&TForm1::ButtonOptionsClick));
    connect(ui->BitBtnHideButtons, &QPushButton::clicked, this, Reported(&TForm1::BitBtnHideButtonsClick));
    connect(ui->BitBtnShowButtons, &QPushButton::clicked, this, Reported(&TForm1::BitBtnShowButtonsClick));
    connect(ui->ButtonMinSmall, &QPushButton::clicked, this, Reported(&TForm1::ButtonMinSmallClick));
    connect(ui->ButtonMinimize, &QPushButton::clicked, this, Reported(&TForm1::ButtonMinSmallClick));
    connect(ui->BitBtnCloseClock, &QPushButton::clicked, this, Reported(&TForm1::BitBtnCloseClockClick));
    connect(ui->BitBtnExit, &QPushButton::clicked, this, Reported(&TForm1::BitBtnExitClick));
    connect(ui->PanelPostIt, &widgets::TClickLabel::OnClick, this, Reported(&TForm1::PanelPostItClick));
    connect(ui->SpeedButtonHelp, &QToolButton::clicked, this, Reported(&TForm1::SpeedButtonHelpClick));
    Timer1->start(1000);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    tabsVisible_ = settings_.Read(settings::TabsVisible);
    startInTray_ = settings_.Read(settings::StartInTray);
    firstStart_ = settings_.Read(settings::HelpAtStart);
    settings_.Store(settings::HelpAtStart, false);
    viewStyle_ = settings_.Read(settings::ViewStyle);

    if (tabsVisible_ == "False") {
        // Out of sight below the window's bottom edge.
        ui->Tab1->move(ui->Tab1->x(), ui->NB1->y() + 2 * ui->NB1->height());
        ui->Bevel1->resize(ui->Bevel1->width(), ui->NB1->y() + ui->NB1->height() + 2);
    }

    QStringList headings;
    for (int i = 0; i < settings::TabHeadingCount; ++i)
        headings << platform::FromBytes(settings_.Read(settings::TabHeading(i)));

    // Any other number keeps the form's own layout and is not written back.
    if (viewStyle_ >= 1 && viewStyle_ <= 3)
        ApplyViewStyle(viewStyle_);

    headings << TabOptions;
    for (const QString& heading : headings)
        ui->Tab1->AddHeading(heading);

    slotCommands_.SetUp();

    ui->NB1->setCurrentIndex(0);
    // The first start opens the help by itself, beside the strip.
    QWidget* help = nullptr;
    if (firstStart_) {
        help = host_.ShowHelp();
        PlaceBesideStrip(*help, *this, platform_);
        help->activateWindow();
    }
    ui->Tab1->setCurrentIndex(ui->NB1->currentIndex());
    ui->Tab1->update();
    ui->Tab1->setUsesScrollButtons(true);

    setFixedSize(ui->Bevel1->x() + ui->Bevel1->width() + 2, ui->Bevel1->y() + ui->Bevel1->height() + 2);
    const int centred = platform_.screen.PrimarySize().width() / 2 - width() / 2;
    move(settings_.Read(settings::WindowLeft(centred)), settings_.Read(settings::WindowTop));
    KeepOnMonitors();
    if (help) {
        PlaceBesideStrip(*help, *this, platform_); // again, now that the strip has its final place and size
        helpBesideStrip_ = help; // and once more where the window manager shows the strip
    }

    // Starting in the tray needs a notification area to come back from; without one the strip
    // is shown instead.
    if (startInTray_ && host_.ShowTrayIconWithin(TrayArrivalTime))
        ButtonMinSmallClick();
    else
        show();
    // The tray icon is not activated again here: it joins the notification area as the strip
    // comes on screen, or just above, when the strip starts there.
}

void TForm1::Timer1Timer()
{
    const platform::Clock& clock = platform_.clock;
    ui->LabelClock->setText(ClockText(clock.Now(), clock.ShortMonthNames(), clock.TimeSeparator()));
    ui->LabelClock->adjustSize();
}

void TForm1::Tab1Click(int index)
{
    if (index < 0)
        return;
    ui->NB1->setCurrentIndex(index);
    ui->Tab1->update();
}

void TForm1::NB1PageChanged(int index)
{
    ui->Tab1->setCurrentIndex(index);
    ui->Tab1->update();
    if (ui->Tab1->currentIndex() != OptionsPage)
        return;
    // Opened once the page change has run to its end, so that the tab strip has finished with
    // the press that selected it before the modal window takes the input.
    QMetaObject::invokeMethod(this, Reported(&TForm1::ButtonOptionsClick), Qt::QueuedConnection);
}

int TForm1::PageOnView() const
{
    return ui->NB1->currentIndex();
}

void TForm1::SelectTab(int index)
{
    ui->Tab1->setCurrentIndex(index);
}

void TForm1::RunCommand(const TStripCommand& command)
{
    using Kind = TStripCommand::Kind;
    switch (command.kind) {
    case Kind::Show: break;
    case Kind::Toggle: ButtonMinSmallClick(); break;
    case Kind::Group: SelectTab(command.number - 1); break;
    case Kind::Launch: slotCommands_.Button(command.number)->Click(); break;
    case Kind::LaunchAll: slotCommands_.LabelLaunchAll1Click(slotCommands_.Slot(command.number).launchAll); break;
    case Kind::Notes: PanelPostItClick(); break;
    }
}

void TForm1::SpeedButton2Click()
{
    const int index = ui->Tab1->currentIndex();
    if (index < ui->Tab1->count() - 1)
        ui->Tab1->setCurrentIndex(index + 1);
}

void TForm1::SpeedButton1Click()
{
    const int index = ui->Tab1->currentIndex();
    if (index > 0)
        ui->Tab1->setCurrentIndex(index - 1);
}

void TForm1::ButtonOptionsClick()
{
    host_.ShowOptions();
}

void TForm1::SetTabHeading(int index, const QString& heading)
{
    ui->Tab1->SetHeading(index, heading);
}

void TForm1::BitBtnHideButtonsClick()
{
    ApplyViewStyle(3);
}

void TForm1::BitBtnShowButtonsClick()
{
    ApplyViewStyle(1);
}

// Minimises the strip: the window manager iconifies it, and its taskbar entry stays. Where
// nothing iconifies windows the strip hides instead, for the tray icon to bring it back; with
// neither it stays shown, since nothing could bring it back.
void TForm1::ButtonMinSmallClick()
{
    if (!isMinimized()) {
        if (platform_.windowManager.CanIconify(*this)) {
            showMinimized();
        } else if (host_.ShowTrayIconWithin(std::chrono::milliseconds(0))) {
            hide();
            SetAway(true);
        }
    }
    // The tray icon is not activated again either: it has been there since the start-up.
}

// Brings the strip back from the tray: shown at its place, restored, on top and active.
void TForm1::TrayIconClick()
{
    KeepOnMonitors();
    show();
    if (isMinimized())
        showNormal();
    // Onto the workspace on view, whatever moved it meanwhile.
    platform_.windowManager.OnAllWorkspaces(*this);
    raise();
    activateWindow();
    SetAway(false);
}

void TForm1::KeepOnMonitors()
{
    move(platform::KeptOnMonitors(geometry(), platform_.screen.MonitorGeometries()));
}

// Like panels and docks, the strip is on every workspace; the window manager forgets that each
// time the strip is hidden, so it is asked again before every showing.
void TForm1::showEvent(QShowEvent* event)
{
    platform_.windowManager.OnAllWorkspaces(*this);
    QWidget::showEvent(event);
}

// The strip is minimised or restored also by the desktop itself: from its taskbar entry, say.
void TForm1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const Qt::WindowStates old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if ((old ^ windowState()) & Qt::WindowMinimized)
        SetAway(isMinimized());
}

void TForm1::SetAway(bool away)
{
    if (away == away_)
        return;
    away_ = away;
    host_.StripMinimised(away);
}

void TForm1::BitBtnCloseClockClick()
{
    // Where the place cannot be known, the one stored stays.
    if (platform_.windowManager.KnowsPlaces()) {
        settings_.Store(settings::WindowLeft(), x());
        settings_.Store(settings::WindowTop, y());
    }
    close();
    host_.Quit();
}

void TForm1::BitBtnExitClick()
{
    close();
    host_.Quit();
}

void TForm1::PanelPostItClick()
{
    host_.ShowNotes();
}

void TForm1::SpeedButtonHelpClick()
{
    host_.ShowHelp();
}

void TForm1::paintEvent(QPaintEvent*)
{
    // The strip itself is black; its controls keep the desktop's colours.
    QPainter(this).fillRect(rect(), Qt::black);
    // The strip is on screen, where the window manager put it (below a panel, say): the help of the
    // first start goes beside it there.
    if (const QPointer<QWidget> help = std::exchange(helpBesideStrip_, nullptr))
        PlaceBesideStrip(*help, *this, platform_);
}
