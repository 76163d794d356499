// The strip's view styles: which parts show, where the notebook and the tab strip sit, and how
// high the frame and the window are, for each style and with the tab strip shown or hidden.
#include "app/Main.h"

#include "storage/Settings.h"
#include "ui_Main.h"

namespace {

void SetBevelHeight(Ui::TForm1& ui, int height)
{
    ui.Bevel1->resize(ui.Bevel1->width(), height);
}

// The window's height: down to the frame's bottom edge plus margin.
void FitHeightToBevel(QWidget& window, const Ui::TForm1& ui, int margin)
{
    window.setFixedHeight(ui.Bevel1->y() + ui.Bevel1->height() + margin);
}

void ShowTabsBelowNotebook(Ui::TForm1& ui)
{
    ui.Tab1->move(ui.Tab1->x(), ui.NB1->y() + ui.NB1->height());
    ui.Tab1->show();
}

} // namespace

void TForm1::ApplyViewStyle(int style)
{
    viewStyle_ = style;
    const bool buttonsOnly = style == 2;
    ui->BitBtnExit->setVisible(buttonsOnly);
    ui->ButtonMinimize->setVisible(buttonsOnly);
    ui->BitBtnCloseClock->setVisible(!buttonsOnly);
    ui->ButtonOptions->setVisible(!buttonsOnly);
    ui->ButtonMinSmall->setVisible(!buttonsOnly);
    ui->PanelPostIt->setVisible(!buttonsOnly);
    ui->BitBtnHideButtons->setVisible(style == 1);
    ui->BitBtnShowButtons->setVisible(style == 3);

    if (style == 3) {
        ui->Tab1->hide();
        ui->NB1->hide();
        ui->PanelControls->hide();
        ui->Tab1->setCurrentIndex(0);
        SetBevelHeight(*ui, 25);
        FitHeightToBevel(*this, *ui, 2);
    } else {
        const int notebookTop = buttonsOnly ? 4 : 26;
        ui->NB1->move(ui->NB1->x(), notebookTop);
        ui->PanelControls->move(ui->PanelControls->x(), notebookTop);
        ui->NB1->show();
        ui->PanelControls->show();
        if (tabsVisible_ == "False") {
            ui->Tab1->hide();
            ui->Tab1->setCurrentIndex(0);
            SetBevelHeight(*ui, ui->NB1->y() + ui->NB1->height() + 2);
            FitHeightToBevel(*this, *ui, buttonsOnly ? 1 : 2);
        } else {
            ShowTabsBelowNotebook(*ui);
            tabsVisible_ = "True";
            ui->Tab1->setCurrentIndex(0);
            SetBevelHeight(*ui, ui->Tab1->y() + ui->Tab1->height() + 2);
            FitHeightToBevel(*this, *ui, 1);
        }
    }
    settings_.Store(settings::ViewStyle, style);
}

void TForm1::ApplyTabsHidden(bool hide)
{
    tabsVisible_ = hide ? "False" : "True";
    settings_.Store(settings::TabsVisible, tabsVisible_);
    if (viewStyle_ == 3)
        return; // takes effect at the next switch to style 1 or 2
    if (hide) {
        ui->Tab1->hide();
        ui->Tab1->setCurrentIndex(0);
        SetBevelHeight(*ui, ui->NB1->y() + ui->NB1->height() + 2);
    } else {
        ShowTabsBelowNotebook(*ui);
        ui->Tab1->setCurrentIndex(0);
        SetBevelHeight(*ui, ui->Tab1->y() + ui->Tab1->height() + 2);
    }
    FitHeightToBevel(*this, *ui, 1);
}
