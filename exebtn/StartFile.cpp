#include "exebtn/StartFile.h"

#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/files/Paths.h"
#include "platform/text/Ascii.h"
#include "platform/text/Encoding.h"

#include <QString>

int ShowValue(TShowCmd command)
{
    switch (command) {
    case TShowCmd::scNormal: return 1;
    case TShowCmd::scMaximize: return 3;
    case TShowCmd::scMinimize: return 2;
    case TShowCmd::scHide: return 0;
    case TShowCmd::scNA: return 8;
    }
    return 1;
}

int CountRunningInstances(const std::string& file, const platform::Shell& shell)
{
    const std::string key = platform::AsciiUpper(platform::FileNamePart(file));
    const auto programs = shell.RunningProgramFiles();
    if (!programs)
        return 0;
    int count = 0;
    for (const std::string& program : *programs)
        if (platform::AsciiUpper(platform::FileNamePart(program)) == key)
            ++count;
    return count;
}

int StartAndWait(platform::Shell& shell, platform::Session& session, const std::string& file,
                 const std::string& parameters, const std::string& directory, int showValue)
{
    session.ShowMainWindow(false);
    const int result = shell.StartAndWait(file, parameters, directory, showValue);
    session.ShowMainWindow(true);
    return result;
}

void StartFile(const TStartSettings& settings, const std::function<void()>& notify, const platform::Platform& platform)
{
    if (settings.ExeOneInstance && CountRunningInstances(settings.ExeFile, platform.shell) > 0)
        return;
    if (notify)
        notify();
    const int showValue = ShowValue(settings.ExeShowCmd);
    const std::string directory =
        settings.ExePath.empty() ? platform::DirectoryPart(settings.ExeFile) : settings.ExePath;
    if (settings.ExeFile.empty())
        return;

    platform.session.SetBusyCursor(true);
    const int result = settings.ExecAndWait
        ? StartAndWait(platform.shell, platform.session, settings.ExeFile, settings.ExeParams, directory, showValue)
        : platform.shell.ShellStart(settings.ExeFile, settings.ExeParams, directory, showValue);
    platform.session.SetBusyCursor(false);

    if (result <= 32)
        platform.dialogs.MessageBox(
            platform::FromBytes(StartFailureMessage(result, settings.Language, settings.ExeFile)),
            QStringLiteral("Error"), platform::MessageKind::Error, platform::MessageButtons::Ok);
}
