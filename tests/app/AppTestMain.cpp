#include "app/Application.h"
#include "resources/ProgramFonts.h"

#include <gmock/gmock.h>

// Window tests need the program's own application object, with its error report, and its fonts.
int main(int argc, char** argv)
{
    // Windows under test never need a display, also when the test list is being collected.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    LoadProgramFonts();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
