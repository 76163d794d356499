// The strip's view styles: which parts show, where the notebook and the tab strip sit, and how
// high the frame and the window are, for each style and with the tab strip shown or hidden.
#include "app/Main.h"

#include "storage/IniFile.h"
#include "ui_Main.h"

void TForm1::SetTabIndex(int index)
{
    ui->Tab1->setCurrentIndex(index);
}

void TForm1::SetBevelHeight(int height)
{
    ui->Bevel1->resize(ui->Bevel1->width(), height);
}

void TForm1::FitHeightToBevel(int margin)
{
    setFixedHeight(ui->Bevel1->y() + ui->Bevel1->height() + margin);
}

void TForm1::ShowTabsBelowNotebook()
{
    ui->Tab1->move(ui->Tab1->x(), ui->NB1->y() + ui->NB1->height());
    ui->Tab1->show();
}

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
        SetTabIndex(0);
        SetBevelHeight(25);
        FitHeightToBevel(2);
    } else {
        const int notebookTop = buttonsOnly ? 4 : 26;
        ui->NB1->move(ui->NB1->x(), notebookTop);
        ui->PanelControls->move(ui->PanelControls->x(), notebookTop);
        ui->NB1->show();
        ui->PanelControls->show();
        if (tabsVisible_ == "False") {
            ui->Tab1->hide();
            SetTabIndex(0);
            SetBevelHeight(ui->NB1->y() + ui->NB1->height() + 2);
            FitHeightToBevel(buttonsOnly ? 1 : 2);
        } else {
            ShowTabsBelowNotebook();
            tabsVisible_ = "True";
            SetTabIndex(0);
            SetBevelHeight(ui->Tab1->y() + ui->Tab1->height() + 2);
            FitHeightToBevel(1);
        }
    }
    WriteIgnoringFailure(SettingsFile(), [style](const TIniFile& ini) { ini.Write(settings::ViewStyle, style); });
}

void TForm1::ApplyTabsHidden(bool hide)
{
    tabsVisible_ = hide ? "False" : "True";
    WriteIgnoringFailure(SettingsFile(),
                         [this](const TIniFile& ini) { ini.Write(settings::TabsVisible, tabsVisible_); });
    if (viewStyle_ == 3)
        return; // takes effect at the next switch to style 1 or 2
    if (hide) {
        ui->Tab1->hide();
        SetTabIndex(0);
        SetBevelHeight(ui->NB1->y() + ui->NB1->height() + 2);
    } else {
        ShowTabsBelowNotebook();
        SetTabIndex(0);
        SetBevelHeight(ui->Tab1->y() + ui->Tab1->height() + 2);
    }
    FitHeightToBevel(1);
}
