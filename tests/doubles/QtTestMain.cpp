#include "resources/ProgramFonts.h"

#include <gmock/gmock.h>

#include <QApplication>

// Tests of widgets, pictures and icons need an application object, and the windows' own fonts;
// they never need a display.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    LoadProgramFonts();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
