#include "app/Main.h"

#include "app/ClockText.h"
#include "app/StripForm.h"
#include "app/StripHost.h"
#include "platform/Clock.h"
#include "platform/ProgramLocation.h"
#include "platform/Screen.h"
#include "platform/WindowManager.h"
#include "platform/session/ClickLabel.h"
#include "platform/session/ErrorReport.h"
#include "platform/text/Encoding.h"
#include "storage/IniFile.h"
#include "ui_Main.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

namespace {

const QString TabOptions = QStringLiteral("Options");
// The fourth tab and notebook page: reaching it opens the options window.
constexpr int OptionsPage = 3;

} // namespace

TForm1::TForm1(const platform::Platform& platform, TStripHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , platform_(platform)
    , host_(host)
    , ui(SetUpStripForm(*this))
    , slots_(platform, {ui->PageGroup1, ui->PageGroup2, ui->PageGroup3}, this)
    , Timer1(new QTimer(this))
{
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // Presses on the notebook and the arrow panel stay there: only bare parts drag the strip.
    ui->NB1->setAttribute(Qt::WA_NoMousePropagation);
    ui->PanelControls->setAttribute(Qt::WA_NoMousePropagation);
    // The strip is seldom the active window: its hints show whenever the pointer rests on a part.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    ConnectHandlers();
    ConnectSlots();
    Timer1->start(1000);
    try {
        FormCreate();
    } catch (const std::exception& error) {
        platform::ReportError(platform_.dialogs, error);
        if (showAtStart_)
            show();
    }
}

TForm1::~TForm1() = default;

void TForm1::ConnectHandlers()
{
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
    connect(ui->PanelPostIt, &TClickLabel::OnClick, this, Reported(&TForm1::PanelPostItClick));
    connect(ui->SpeedButtonHelp, &QToolButton::clicked, this, Reported(&TForm1::SpeedButtonHelpClick));
}

std::string TForm1::SettingsFile() const
{
    return SettingsFilePath(programDirectory_);
}

void TForm1::FormCreate()
{
    programDirectory_ = platform_.location.programDirectory();
    tabsVisible_ = TIniFile(SettingsFile()).Read(settings::TabsVisible);
    startInTray_ = TIniFile(SettingsFile()).Read(settings::StartInTray);
    WriteIgnoringFailure(SettingsFile(), [this](const TIniFile& ini) {
        firstStart_ = ini.Read(settings::HelpAtStart);
        ini.Write(settings::HelpAtStart, false);
    });
    viewStyle_ = TIniFile(SettingsFile()).Read(settings::ViewStyle);

    if (tabsVisible_ == "False") {
        // Out of sight below the window's bottom edge.
        ui->Tab1->move(ui->Tab1->x(), ui->NB1->y() + 2 * ui->NB1->height());
        SetBevelHeight(ui->NB1->y() + ui->NB1->height() + 2);
    }

    QStringList headings;
    for (int i = 0; i < settings::TabHeadingCount; ++i)
        headings << platform::FromBytes(TIniFile(SettingsFile()).Read(settings::TabHeading(i)));

    // Any other number keeps the form's own layout and is not written back.
    if (viewStyle_ >= 1 && viewStyle_ <= 3)
        ApplyViewStyle(viewStyle_);

    headings << TabOptions;
    for (const QString& heading : headings)
        ui->Tab1->AddHeading(heading);

    SetUpSlots();

    ui->NB1->setCurrentIndex(0);
    // The first start opens the help by itself, beside the strip.
    QWidget* help = nullptr;
    if (firstStart_) {
        help = host_.ShowHelp();
        PlaceBelow(help);
        help->activateWindow();
    }
    ui->NB1->setCurrentIndex(0);
    ui->Tab1->setCurrentIndex(ui->NB1->currentIndex());
    ui->Tab1->update();
    ui->Tab1->setUsesScrollButtons(true);

    setFixedSize(ui->Bevel1->x() + ui->Bevel1->width() + 2, ui->Bevel1->y() + ui->Bevel1->height() + 2);
    {
        const TIniFile ini(SettingsFile());
        const int centred = platform_.screen.primarySize().width() / 2 - width() / 2;
        move(ini.Read(settings::WindowLeft(centred)), ini.Read(settings::WindowTop));
    }
    if (help)
        PlaceBelow(help); // again, now that the strip has its final place and size

    // Starting in the tray needs a notification area to come back from; without one the strip
    // is shown instead.
    if (startInTray_ && host_.TrayIconShown()) {
        showAtStart_ = false;
        ButtonMinSmallClick();
    } else {
        showAtStart_ = true;
        show();
    }
    host_.ActivateTrayIcon();
}

void TForm1::PlaceBelow(QWidget* window) const
{
    window->move(window->x(), y() + height() + 1);
}

void TForm1::Timer1Timer()
{
    const platform::Clock& clock = platform_.clock;
    ui->LabelClock->setText(ClockText(clock.now(), clock.shortMonthNames(), clock.timeSeparator()));
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

void TForm1::SpeedButton2Click()
{
    const int index = ui->Tab1->currentIndex();
    if (index < ui->Tab1->count() - 1)
        SetTabIndex(index + 1);
}

void TForm1::SpeedButton1Click()
{
    const int index = ui->Tab1->currentIndex();
    if (index > 0)
        SetTabIndex(index - 1);
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
        if (platform_.windowManager.CanIconify())
            showMinimized();
        else if (host_.TrayIconShown())
            hide();
    }
    host_.ActivateTrayIcon();
}

// Brings the strip back from the tray: shown at its place, restored, on top and active.
void TForm1::TrayIconClick()
{
    showAtStart_ = true;
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TForm1::BitBtnCloseClockClick()
{
    WriteIgnoringFailure(SettingsFile(), [this](const TIniFile& ini) {
        ini.Write(settings::WindowLeft(), x());
        ini.Write(settings::WindowTop, y());
    });
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
}

void TForm1::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Bare parts of the strip act as its caption bar. Without a window manager the system
    // move is refused, so the window then follows the pointer by itself.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void TForm1::mouseMoveEvent(QMouseEvent* event)
{
    if (dragOffset_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *dragOffset_);
}

void TForm1::mouseReleaseEvent(QMouseEvent*)
{
    dragOffset_.reset();
}
