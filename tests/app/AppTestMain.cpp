#include "app/Application.h"

#include <gmock/gmock.h>

// Window tests need the program's own application object, with its error report.
int main(int argc, char** argv)
{
    // Windows under test never need a display, also when the test list is being collected.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
