#include "app/StripForm.h"

#include "platform/widgets/ClickLabel.h"
#include "platform/widgets/PixelFont.h"
#include "resources/Artwork.h"
#include "ui_Main.h"

std::unique_ptr<Ui::TForm1> SetUpStripForm(QWidget& form)
{
    auto ui = std::make_unique<Ui::TForm1>();
    ui->setupUi(&form);
    // The strip's own font, which the clock and the slots take: set before the slots are made,
    // so that their labels are sized in it and the desktop's default font is never loaded.
    form.setFont(PixelFont(13, true));
    ui->ButtonOptions->setFont(PixelFont(11, false));
    ui->Tab1->setFont(PixelFont(11, false));
    ui->PanelPostIt->setFont(PixelFont(12, true));
    ui->BitBtnCloseClock->setFont(PixelFont(13, false));
    ui->BitBtnExit->setFont(PixelFont(13, false));
    ui->Label3->setFont(PixelFont(27, true, QStringLiteral("DejaVu Serif")));
    ui->Label4->setFont(PixelFont(12, false));

    form.setWindowIcon(Artwork(QStringLiteral("stackle")));
    ui->BitBtnHideButtons->setIcon(Artwork(QStringLiteral("hand-up")));
    ui->BitBtnShowButtons->setIcon(Artwork(QStringLiteral("hand-down")));
    ui->SpeedButton2->setIcon(Artwork(QStringLiteral("arrow-up")));
    ui->SpeedButton1->setIcon(Artwork(QStringLiteral("arrow-down")));
    ui->SpeedButtonHelp->setIcon(Artwork(QStringLiteral("help")));
    return ui;
}
