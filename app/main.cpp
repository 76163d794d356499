#include "app/ErrorReport.h"
#include "app/Main.h"
#include "app/Splash.h"
#include "platform/LinuxPlatform.h"
#include "resources/Artwork.h"

#include <QPointer>

#include <memory>

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    platform::LinuxPlatform linuxPlatform([] { return Artwork(QStringLiteral("stackle")).toImage(); });
    const platform::Platform platform = linuxPlatform.platform();
    application.setErrorDialogs(&platform.dialogs);

    QPointer<TForm1> form;
    {
        // The splash is visible exactly while the strip is being built.
        TFormSplash splash(platform.screen.primarySize());
        splash.showNow();
        form = new TForm1(platform);
        linuxPlatform.SetMainWindow(form);
    }
    const int exitCode = application.exec();
    delete form; // closed by an exit whose deferred disposal the ended loop did not reach
    return exitCode;
}
