#include "app/Main.h"
#include "app/Application.h"
#include "app/DesktopSession.h"
#include "app/Splash.h"
#include "app/Stackle.h"
#include "platform/Dialogs.h"
#include "platform/LinuxPlatform.h"
#include "platform/ProgramLocation.h"
#include "platform/session/ProductName.h"
#include "platform/session/UnixSingleInstance.h"
#include "platform/text/Encoding.h"
#include "resources/Artwork.h"
#include "resources/ProgramFonts.h"
#include "storage/DataDirectory.h"

#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>

int main(int, char** argv)
{
    const EnvironmentReader environment = [](const char* name) { return std::getenv(name); };
    if (const std::string plugin = DisplayPlatformFor(environment); !plugin.empty())
        setenv("QT_QPA_PLATFORM", plugin.c_str(), 1);
    if (const std::string notice = WaylandNotice(environment); !notice.empty())
        std::fprintf(stderr, "%s\n", notice.c_str());

    // The program reads no arguments, and hands Qt none either: its own options (-geometry,
    // -reverse, -style, -title, ...) would change the strip.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    TApplication application(qtArgc, qtArgv);
    platform::LinuxPlatform linuxPlatform([] { return Artwork(QStringLiteral("stackle")).toImage(); },
                                          ProgramFontFamily());
    const platform::Platform platform = linuxPlatform.platform();
    application.setErrorDialogs(&platform.dialogs);

    // The settings, lists and notes stay beside the program while it may write there, and go to
    // the user's own folder otherwise.
    const std::string programDirectory = platform.location.ProgramDirectory();
    const std::string userDirectory = UserDataDirectory();
    linuxPlatform.UseDataDirectory(ChooseDataDirectory(programDirectory, userDirectory));
    const std::string dataDirectory = platform.location.DataDirectory();

    // A second start with the same data folder brings the running strip back and ends.
    platform::UnixSingleInstance instance(dataDirectory);
    switch (instance.Claim(10000)) {
    case platform::SingleInstance::Outcome::First: break;
    case platform::SingleInstance::Outcome::BroughtBack: return 0;
    case platform::SingleInstance::Outcome::NoAnswer:
        std::fprintf(stderr, "Stackle already runs with %s but does not answer.\n", dataDirectory.c_str());
        return 1;
    }
    const std::string notice = UnwritableDirectoryNotice(programDirectory, userDirectory);
    if (!notice.empty())
        std::fprintf(stderr, "%s\n", notice.c_str());

    LoadProgramFonts();
    std::optional<TStackle> stackle;
    {
        // The splash is visible exactly while the strip is being built.
        TFormSplash splash(platform.screen.PrimarySize());
        splash.showNow();
        stackle.emplace(platform, linuxPlatform.trayPlatform());
    }
    linuxPlatform.SetMainWindow(&stackle->Strip());
    instance.SetShowRequestHandler([&stackle] { stackle->ShowStrip(); });
    // Said once more where a user who started the strip from a menu sees it, once it shows.
    if (!notice.empty())
        QTimer::singleShot(0, [&platform, &notice] {
            platform.dialogs.MessageBox(platform::FromBytes(notice), platform::ProductName(),
                                        platform::MessageKind::Information, platform::MessageButtons::Ok);
        });
    return application.exec();
}
