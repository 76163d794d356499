// The least a Qt Widgets program does to put a window like the strip on screen: the yardstick
// the strip's start-up time and memory are measured against. With --text the window also
// shows one line of text, as the strip's clock does; with --tray the program also puts an icon
// into the notification area before it shows the window, as the strip does.
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::unique_ptr<QSystemTrayIcon> trayIcon;
    if (application.arguments().contains(QStringLiteral("--tray"))) {
        QPixmap icon(32, 32);
        icon.fill(Qt::darkBlue);
        trayIcon = std::make_unique<QSystemTrayIcon>(QIcon(icon));
        trayIcon->show();
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("Stackle"));
    window.resize(236, 104);
    if (application.arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Dec 7  8:30 "), &window))->move(8, 6);
    window.show();
    return application.exec();
}
