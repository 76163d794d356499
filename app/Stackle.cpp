#include "app/Stackle.h"

#include "app/Main.h"
#include "help/Help.h"
#include "notes/Postit.h"
#include "options/Options.h"
#include "platform/NotificationArea.h"
#include "platform/ProgramLocation.h"
#include "platform/WindowManager.h"
#include "platform/session/ErrorReport.h"
#include "resources/Artwork.h"
#include "storage/ProgramFiles.h"
#include "tray/KyTray95.h"

#include <QCoreApplication>
#include <QMenu>

TStackle::TStackle(const platform::Platform& platform, const platform::TrayPlatform& tray)
    : platform_(platform)
    , tray_(tray)
    , popupTray_(std::make_unique<QMenu>())
{
    RemoveInterruptedWrites(platform_.location.programDirectory());
    popupTray_->setObjectName(QStringLiteral("PopupTray"));
    QAction* title = popupTray_->addAction(QStringLiteral("Stackle"));
    title->setEnabled(false);
    popupTray_->addSeparator();
    QAction* exit = popupTray_->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    QObject::connect(exit, &QAction::triggered, exit, [this] { OnStrip(&TForm1::BitBtnExitClick); });

    // The icon is there before the strip's start-up, which may minimise to it.
    trayIcon_ = std::make_unique<TKyTrayIcon95>(nullptr, tray_.area, tray_.timers);
    trayIcon_->setObjectName(QStringLiteral("TrayIcon"));
    trayIcon_->SetIcon(QIcon(Artwork(QStringLiteral("stackle"))));
    trayIcon_->SetAutoPopup(true);
    trayIcon_->OnClick = [this](TKyTrayIcon95&) { ShowStrip(); };
    trayIcon_->OnDblClick = [this](TKyTrayIcon95&) { ShowStrip(); };
    trayIcon_->SetPopupMenu(popupTray_.get());
    trayIcon_->SetActive(true);

    strip_ = std::make_unique<TForm1>(platform_, *this);
}

TStackle::~TStackle() = default;

template <typename Handler> void TStackle::OnStrip(Handler handler)
{
    // A message box during the strip's start-up lets clicks through before the strip exists.
    if (strip_)
        platform::ReportFailure(platform_.dialogs, [&] { ((*strip_).*handler)(); });
}

void TStackle::ShowStrip()
{
    OnStrip(&TForm1::TrayIconClick);
}

void TStackle::Quit()
{
    QCoreApplication::quit();
}

void TStackle::ShowNotes()
{
    TFormPostIt notes(platform_);
    notes.exec();
}

void TStackle::ShowOptions()
{
    // A new window for every opening, released once it is closed.
    TFormOptions options(platform_, *strip_, Artwork(QStringLiteral("arrow-up")),
                         Artwork(QStringLiteral("arrow-down")));
    options.exec();
}

void TStackle::ActivateTrayIcon()
{
    trayIcon_->SetActive(true);
}

bool TStackle::TrayIconShown() const
{
    return trayIcon_->Active() && tray_.area.HostPresent();
}

bool TStackle::CanIconify() const
{
    return tray_.windowManager.CanIconify();
}

QWidget* TStackle::ShowHelp()
{
    if (help_) {
        help_->close();
        help_.reset();
    }
    help_ = std::make_unique<TFormHelp>(platform_);
    help_->show();
    return help_.get();
}
