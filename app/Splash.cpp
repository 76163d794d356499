#include "app/Splash.h"

#include "resources/Artwork.h"
#include "ui_Splash.h"

#include <QCoreApplication>

TFormSplash::TFormSplash(QSize screenSize)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::TFormSplash>())
{
    ui->setupUi(this);
    ui->ImageIcon->setPixmap(Artwork(QStringLiteral("stackle")));
    setFixedSize(size());
    move((screenSize.width() - width()) / 2, (screenSize.height() - height()) / 2);
}

TFormSplash::~TFormSplash() = default;

void TFormSplash::showNow()
{
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
