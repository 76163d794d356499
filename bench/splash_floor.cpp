// The least the strip can cost: the baseline window (one line of text, an icon in the
// notification area) preceded by the strip's own splash, shown exactly as the strip shows it
// while it is being built and closed once the window is shown. The start-up benchmark measures it
// beside the strip and the baseline: the splash alone sets how close to the baseline the strip
// can come.
#include "app/Splash.h"
#include "resources/ProgramFonts.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>
#include <optional>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    LoadProgramFonts();
    std::optional<TFormSplash> splash;
    splash.emplace(QGuiApplication::primaryScreen()->size());
    splash->showNow();
    QPixmap icon(32, 32);
    icon.fill(Qt::darkBlue);
    const auto trayIcon = std::make_unique<QSystemTrayIcon>(QIcon(icon));
    trayIcon->show();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Stackle"));
    window.resize(236, 104);
    (new QLabel(QStringLiteral("Dec 7  8:30 "), &window))->move(8, 6);
    window.show();
    splash.reset();
    return application.exec();
}
