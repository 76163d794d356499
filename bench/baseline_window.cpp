// The least a Qt Widgets program does to put a window like the strip on screen: the yardstick
// the strip's start-up time and memory are measured against. With --text the window also
// shows one line of text, as the strip's clock does.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Stackle"));
    window.resize(236, 104);
    if (application.arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Dec 7  8:30 "), &window))->move(8, 6);
    window.show();
    return application.exec();
}
