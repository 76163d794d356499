#include "app/Main.h"
#include "app/Application.h"
#include "app/DesktopSession.h"
#include "app/GlobalKeyBindings.h"
#include "app/Splash.h"
#include "app/Stackle.h"
#include "app/StripCommand.h"
#include "platform/Dialogs.h"
#include "platform/LinuxPlatform.h"
#include "platform/keys/DesktopGlobalKeys.h"
#include "platform/session/ProductName.h"
#include "platform/session/RunningProgramLocation.h"
#include "platform/session/UnixSingleInstance.h"
#include "platform/text/Encoding.h"
#include "resources/Artwork.h"
#include "resources/ProgramFonts.h"
#include "storage/DataDirectory.h"

#include <QTimer>

#include <QMetaObject>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

int main(int argc, char** argv)
{
    const TCommandLine commandLine = ReadCommandLine({argv + std::min(argc, 1), argv + argc});
    switch (commandLine.action) {
    case TCommandLine::Action::Usage: std::fputs(UsageText().c_str(), stdout); return 0;
    case TCommandLine::Action::Version: std::fputs(VersionText().c_str(), stdout); return 0;
    case TCommandLine::Action::Error: std::fprintf(stderr, "%s\n", commandLine.error.c_str()); return 2;
    case TCommandLine::Action::Start:
    case TCommandLine::Action::Command: break;
    }
    const bool commanded = commandLine.action == TCommandLine::Action::Command;

    // The settings, lists and notes stay beside the program while it may write there, and go to
    // the user's own folder otherwise.
    const std::string programDirectory = platform::RunningProgramLocation().ProgramDirectory();
    const std::string userDirectory = UserDataDirectory();
    const std::string dataDirectory = ChooseDataDirectory(programDirectory, userDirectory);

    // A later start with the same data folder hands its command to the running strip, or brings
    // it back, and ends: before anything of the desktop is set up, so that it is quick.
    platform::UnixSingleInstance instance(dataDirectory);
    switch (instance.Claim(10000, RequestText(commandLine.command))) {
    case platform::SingleInstance::Outcome::First: break;
    case platform::SingleInstance::Outcome::Answered: return 0;
    case platform::SingleInstance::Outcome::Refused:
        std::fprintf(stderr, "stackle: the Stackle that runs with %s does not know this command\n",
                     dataDirectory.c_str());
        return 2;
    case platform::SingleInstance::Outcome::NoAnswer:
        std::fprintf(stderr, "Stackle already runs with %s but does not answer.\n", dataDirectory.c_str());
        return 1;
    }

    const EnvironmentReader environment = [](const char* name) { return std::getenv(name); };
    if (const std::string plugin = DisplayPlatformFor(environment); !plugin.empty())
        setenv("QT_QPA_PLATFORM", plugin.c_str(), 1);
    if (const std::string notice = WaylandNotice(environment); !notice.empty())
        std::fprintf(stderr, "%s\n", notice.c_str());
    const std::string notice = UnwritableDirectoryNotice(programDirectory, userDirectory);
    if (!notice.empty())
        std::fprintf(stderr, "%s\n", notice.c_str());

    // Qt is handed no arguments: its own options (-geometry, -reverse, -style, -title, ...) would
    // change the strip.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    TApplication application(qtArgc, qtArgv);
    platform::LinuxPlatform linuxPlatform([] { return Artwork(QStringLiteral("stackle")).toImage(); },
                                          ProgramFontFamily());
    const platform::Platform platform = linuxPlatform.platform();
    application.setErrorDialogs(&platform.dialogs);

    linuxPlatform.UseDataDirectory(dataDirectory);

    LoadProgramFonts();
    std::optional<TStackle> stackle;
    {
        // The splash is visible exactly while the strip is being built.
        TFormSplash splash(platform.screen.PrimarySize());
        splash.showNow();
        stackle.emplace(platform, linuxPlatform.trayPlatform());
    }
    linuxPlatform.SetMainWindow(&stackle->Strip());

    // A command runs once its answer has gone back, from the event loop: it may open a window
    // that waits for the user.
    const auto run = [&stackle](const TStripCommand& command) {
        QMetaObject::invokeMethod(
            &stackle->Strip(), [&stackle, command] { stackle->RunCommand(command); }, Qt::QueuedConnection);
    };
    instance.TakeRequests([&run](const std::string& request) {
        const std::optional<TStripCommand> command = ParseRequest(request);
        if (command)
            run(*command);
        return command.has_value();
    });
    // A key that cannot be had is reported before the run's own command acts, which the message
    // would otherwise keep from acting.
    platform::DesktopGlobalKeys desktopKeys(IsWaylandSession(environment));
    const TGlobalKeyBindings keys(platform, desktopKeys, dataDirectory, run);
    // The command that started this run acts on the strip it has just started; the strip was not
    // on screen before, so a toggle brings it there.
    if (commanded) {
        TStripCommand command = commandLine.command;
        if (command.kind == TStripCommand::Kind::Toggle)
            command.kind = TStripCommand::Kind::Show;
        run(command);
    }
    // Said once more where a user who started the strip from a menu sees it, once it shows.
    if (!notice.empty())
        QTimer::singleShot(0, [&platform, &notice] {
            platform.dialogs.MessageBox(platform::FromBytes(notice), platform::ProductName(),
                                        platform::MessageKind::Information, platform::MessageButtons::Ok);
        });
    return application.exec();
}
