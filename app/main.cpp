#include "app/Application.h"
#include "app/Main.h"
#include "app/Splash.h"
#include "app/Stackle.h"
#include "platform/LinuxPlatform.h"
#include "resources/Artwork.h"

#include <optional>

int main(int, char** argv)
{
    // The program reads no arguments, and hands Qt none either: its own options (-geometry,
    // -reverse, -style, -title, ...) would change the strip.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    TApplication application(qtArgc, qtArgv);
    platform::LinuxPlatform linuxPlatform([] { return Artwork(QStringLiteral("stackle")).toImage(); });
    const platform::Platform platform = linuxPlatform.platform();
    application.setErrorDialogs(&platform.dialogs);

    std::optional<TStackle> stackle;
    {
        // The splash is visible exactly while the strip is being built.
        TFormSplash splash(platform.screen.primarySize());
        splash.showNow();
        stackle.emplace(platform);
    }
    linuxPlatform.SetMainWindow(&stackle->Strip());
    return application.exec();
}
