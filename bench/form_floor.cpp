// The least a strip made of the strip's own controls can cost: the strip's splash, then its
// Designer form (every panel, label, picture button, notebook page and the tab strip, in the
// strip's fonts, with its pictures and four tab headings) and an icon in the notification area,
// but nothing of the program itself: no settings, launch slots, clock or menus. The start-up
// benchmark measures it beside the strip: what Qt charges for the controls the strip is made of.
#include "app/Splash.h"
#include "app/StripForm.h"
#include "resources/Artwork.h"
#include "resources/ProgramFonts.h"
#include "ui_Main.h"

#include <QApplication>
#include <QScreen>
#include <QSystemTrayIcon>

#include <memory>
#include <optional>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    LoadProgramFonts();
    std::optional<TFormSplash> splash;
    splash.emplace(QGuiApplication::primaryScreen()->size());
    splash->showNow();
    const auto trayIcon = std::make_unique<QSystemTrayIcon>(QIcon(Artwork(QStringLiteral("stackle"))));
    trayIcon->show();

    QWidget strip(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const std::unique_ptr<Ui::TForm1> ui = SetUpStripForm(strip);
    for (const char* heading : {"Group1", "Group2", "Group3", "Options"})
        ui->Tab1->AddHeading(QString::fromLatin1(heading));
    ui->LabelClock->setText(QStringLiteral("Dec 7  8:30 "));
    ui->LabelClock->adjustSize();
    ui->BitBtnHideButtons->show();
    strip.setFixedSize(236, 104); // the strip's size in its first view style
    strip.show();
    splash.reset();
    return application.exec();
}
