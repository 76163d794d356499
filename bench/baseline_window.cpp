// The least a Qt Widgets program does to put a window like the strip on screen: the yardstick
// the strip's start-up time and memory are measured against.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Stackle"));
    window.resize(236, 104);
    window.show();
    return application.exec();
}
