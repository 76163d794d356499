#include "app/StripForm.h"

#include "resources/Artwork.h"
#include "ui_Main.h"
#include "widgets/ClickLabel.h"
#include "widgets/PixelFont.h"

std::unique_ptr<Ui::TForm1> SetUpStripForm(QWidget& form)
{
    auto ui = std::make_unique<Ui::TForm1>();
    ui->setupUi(&form);
    // The strip's own font, which the clock and the slots take: set before the slots are made,
    // so that their labels are sized in it and the desktop's default font is never loaded.
    form.setFont(widgets::PixelFont(13, true));
    ui->ButtonOptions->setFont(widgets::PixelFont(11, false));
    ui->Tab1->setFont(widgets::PixelFont(11, false));
    ui->PanelPostIt->setFont(widgets::PixelFont(12, true));
    ui->BitBtnCloseClock->setFont(widgets::PixelFont(13, false));
    ui->BitBtnExit->setFont(widgets::PixelFont(13, false));
    ui->Label3->setFont(widgets::PixelFont(27, true, QStringLiteral("DejaVu Serif")));
    ui->Label4->setFont(widgets::PixelFont(12, false));

    form.setWindowIcon(Artwork(QStringLiteral("stackle")));
    ui->BitBtnHideButtons->setIcon(Artwork(QStringLiteral("hand-up")));
    ui->BitBtnShowButtons->setIcon(Artwork(QStringLiteral("hand-down")));
    ui->SpeedButton2->setIcon(Artwork(QStringLiteral("arrow-up")));
    ui->SpeedButton1->setIcon(Artwork(QStringLiteral("arrow-down")));
    ui->SpeedButtonHelp->setIcon(Artwork(QStringLiteral("help")));
    return ui;
}
