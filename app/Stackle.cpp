#include "app/Stackle.h"

#include "app/Main.h"
#include "help/Help.h"
#include "notes/Postit.h"
#include "options/Options.h"
#include "platform/NotificationArea.h"
#include "platform/ProgramLocation.h"
#include "platform/Screen.h"
#include "platform/WindowManager.h"
#include "platform/session/ErrorReport.h"
#include "platform/session/ProductName.h"
#include "resources/Artwork.h"
#include "storage/ProgramFiles.h"
#include "tray/KyTray95.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QTimer>

#include <chrono>
#include <functional>
#include <utility>

namespace {

// How long the icon waits for the strip's first paint before it joins the notification area all
// the same.
constexpr std::chrono::milliseconds TrayJoinTime(1000);

// Runs an action once the watched widget has been painted for the first time, that is once it
// is on screen, from the event loop after the paint; or after patience when it has not been
// painted by then: a window that the desktop shows on another workspace, or under another
// window, is not painted at all.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget& watched, std::chrono::milliseconds patience, std::function<void()> action)
        : watched_(watched)
        , action_(std::move(action))
    {
        watched.installEventFilter(this);
        QTimer::singleShot(patience, this, [this] { Run(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(
                this, [this] { Run(); }, Qt::QueuedConnection);
        return false;
    }

private:
    void Run()
    {
        if (!action_)
            return;
        watched_.removeEventFilter(this);
        std::exchange(action_, nullptr)();
    }

    QWidget& watched_;
    std::function<void()> action_;
};

// Brings the modal window that keeps input from the other windows back where the user can
// answer it: restored when minimised, on top and active.
void BringBackModalWindow()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (modal->isMinimized())
        modal->showNormal();
    modal->raise();
    modal->activateWindow();
}

} // namespace

TStackle::TStackle(const platform::Platform& platform, const platform::TrayPlatform& tray)
    : platform_(platform)
    , tray_(tray)
    , settings_(platform.location.DataDirectory())
{
    RemoveInterruptedWrites(platform_.location.DataDirectory());
    trayIcon_ = std::make_unique<TKyTrayIcon95>(nullptr, tray_.area, tray_.timers);
    trayIcon_->setObjectName(QStringLiteral("TrayIcon"));
    trayIcon_->SetIcon(QIcon(Artwork(QStringLiteral("stackle"))));
    trayIcon_->SetAutoPopup(true);
    trayIcon_->OnClick = [this](TKyTrayIcon95&) { ShowStrip(); };
    trayIcon_->OnDblClick = [this](TKyTrayIcon95&) { ShowStrip(); };

    // A modal window that was minimised would leave the strip taking no input and nothing on
    // screen to answer; a press on the strip brings it back.
    platform_.windowManager.OnBlockedPress(BringBackModalWindow);

    strip_ = std::make_unique<TForm1>(platform_, settings_, *this);
    platform_.screen.OnMonitorsChanged([this] { strip_->KeepOnMonitors(); });
    StartStrip();
    // The icon joins the notification area once the strip is on screen, so as not to keep it from
    // there, or a moment later when the desktop does not draw the strip; nothing in the strip
    // waits for it.
    firstPaint_ = std::make_unique<AfterFirstPaint>(*strip_, TrayJoinTime, [this] { ShowTrayIcon(); });
}

void TStackle::StartStrip()
{
    try {
        strip_->FormCreate();
    } catch (const std::exception& error) {
        platform::ReportError(platform_.dialogs, error);
        // The rest of the start-up is skipped; unless it had already shown the strip or put it
        // into the notification area, the strip is shown now.
        if (!strip_->isVisible() && !stripAway_)
            strip_->show();
    }
}

TStackle::~TStackle()
{
    platform_.windowManager.OnBlockedPress({});
    platform_.screen.OnMonitorsChanged({});
}

template <typename Handler, typename... Args> void TStackle::RunStripHandler(Handler handler, const Args&... args)
{
    platform::ReportFailure(platform_.dialogs, [&] { ((*strip_).*handler)(args...); });
}

void TStackle::ShowStrip()
{
    RunStripHandler(&TForm1::TrayIconClick);
}

void TStackle::RunCommand(const TStripCommand& command)
{
    using Kind = TStripCommand::Kind;
    const bool toShow = command.kind == Kind::Show || command.kind == Kind::Group
        || (command.kind == Kind::Toggle && (stripAway_ || !strip_->isVisible()));
    if (toShow)
        ShowStrip();
    if (QApplication::activeModalWidget()) {
        BringBackModalWindow();
        return;
    }
    if (command.kind != Kind::Toggle || !toShow) // a toggle that brought the strip back is done
        RunStripHandler(&TForm1::RunCommand, command);
}

void TStackle::Quit()
{
    QCoreApplication::quit();
}

void TStackle::ShowNotes()
{
    TFormPostIt notes(platform_, settings_);
    notes.exec();
}

void TStackle::ShowOptions()
{
    // A new window for every opening, released once it is closed.
    TFormOptions options(platform_, settings_, *strip_, Artwork(QStringLiteral("arrow-up")),
                         Artwork(QStringLiteral("arrow-down")));
    options.exec();
}

QMenu& TStackle::PopupTray()
{
    if (!popupTray_) {
        popupTray_ = std::make_unique<QMenu>();
        popupTray_->setObjectName(QStringLiteral("PopupTray"));
        QAction* title = popupTray_->addAction(platform::ProductName());
        title->setEnabled(false);
        popupTray_->addSeparator();
        QAction* exit = popupTray_->addAction(QStringLiteral("E&xit"));
        exit->setObjectName(QStringLiteral("Exit1"));
        QObject::connect(exit, &QAction::triggered, exit, [this] { RunStripHandler(&TForm1::BitBtnExitClick); });
    }
    return *popupTray_;
}

void TStackle::ShowTrayIcon()
{
    trayIcon_->SetPopupMenu(&PopupTray());
    trayIcon_->SetActive(true);
}

bool TStackle::ShowTrayIconWithin(std::chrono::milliseconds patience)
{
    ShowTrayIcon();
    return tray_.area.IconShown(trayIcon_->MsgWindow().Handle(), TKyTrayIcon95::IconId, patience);
}

QWidget* TStackle::ShowHelp()
{
    if (help_) {
        help_->close();
        help_.reset();
    }
    helpAwayWithStrip_ = false;
    help_ = std::make_unique<TFormHelp>(platform_);
    platform_.windowManager.FloatAtOwnSize(*help_);
    help_->show();
    return help_.get();
}

// Minimising hides all of the program's windows, and restoring brings them back.
void TStackle::StripMinimised(bool minimised)
{
    stripAway_ = minimised;
    if (minimised) {
        if (help_ && help_->isVisible()) {
            help_->hide();
            helpAwayWithStrip_ = true;
        }
    } else if (std::exchange(helpAwayWithStrip_, false) && help_) {
        help_->show();
    }
}
