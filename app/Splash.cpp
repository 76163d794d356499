#include "app/Splash.h"

#include "platform/Screen.h"
#include "platform/session/WindowPicture.h"
#include "resources/Artwork.h"
#include "ui_Splash.h"
#include "widgets/PixelFont.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWindow>

namespace {
// How long the splash waits for the window system to show it, at the most.
constexpr int ExposeWaitMs = 500;
} // namespace

TFormSplash::TFormSplash(QSize screenSize)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::TFormSplash>())
{
    ui->setupUi(this);
    ui->LabelProduct->setFont(widgets::PixelFont(56, true));
    ui->LabelTagLine->setFont(widgets::PixelFont(24, true));
    ui->LabelVersion->setFont(widgets::PixelFont(13, true));
    ui->LabelVersion->setText(QStringLiteral("v" STACKLE_VERSION));
    ui->ImageIcon->setPixmap(Artwork(QStringLiteral("stackle")));
    setFixedSize(size());
    move(platform::CentredOn(screenSize, size()));
}

TFormSplash::~TFormSplash() = default;

void TFormSplash::showNow()
{
    // Drawn before it is shown, into the picture the window system shows the moment it maps the
    // window: nothing then waits for the window to appear on screen.
    const bool pictured = platform::SetWindowPicture(*this, grab().toImage());
    show();
    if (pictured)
        return;
    // What is drawn before the window system has put the window on screen is lost: wait for
    // its expose event, which paints the window as soon as it is there.
    QElapsedTimer waited;
    waited.start();
    while (!windowHandle()->isExposed() && waited.elapsed() < ExposeWaitMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
}
