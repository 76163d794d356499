#include "app/Stackle.h"

#include "app/Main.h"
#include "help/Help.h"

#include <QCoreApplication>

TStackle::TStackle(const platform::Platform& platform)
    : platform_(platform)
{
    strip_ = std::make_unique<TForm1>(platform_, *this);
}

TStackle::~TStackle() = default;

void TStackle::Quit()
{
    QCoreApplication::quit();
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
