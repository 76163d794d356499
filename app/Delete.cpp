#include "app/Delete.h"

#include "platform/Screen.h"
#include "platform/session/ErrorReport.h"
#include "platform/session/FramePlacement.h"
#include "platform/text/Encoding.h"
#include "ui_Delete.h"
#include "widgets/PixelFont.h"

TFormDelete::TFormDelete(std::string listFile, const platform::Platform& platform, std::function<void()> afterDelete)
    : QDialog(nullptr,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::TFormDelete>())
    , dialogs_(platform.dialogs)
    , listFile_(std::move(listFile))
    , afterDelete_(std::move(afterDelete))
{
    ui->setupUi(this);
    setFont(widgets::PixelFont(13, false));
    setFixedSize(size());
    // Centred by its client area at first, by its frame once the window manager has framed it.
    platform::CentreByFrame(*this, platform.windowManager, platform.screen.PrimarySize(), size());
    const auto deleteSelected = [this] { platform::ReportFailure(dialogs_, [this] { ButtonDeleteClick(); }); };
    connect(ui->ButtonDelete, &QPushButton::clicked, this, deleteSelected);
    connect(ui->ListBox1, &QListWidget::itemDoubleClicked, this, deleteSelected);
    connect(ui->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFormDelete::~TFormDelete() = default;

void TFormDelete::showEvent(QShowEvent* event)
{
    lines_.LoadFromFile(listFile_);
    ui->ListBox1->clear();
    for (const std::string& line : lines_.Lines())
        ui->ListBox1->addItem(platform::FromBytes(line));
    ui->ListBox1->setCurrentRow(-1);
    QDialog::showEvent(event);
}

void TFormDelete::ButtonDeleteClick()
{
    const int selected = ui->ListBox1->currentRow();
    if (selected < 0 || !ui->ListBox1->item(selected)->isSelected())
        return;
    TFileList remaining = lines_;
    remaining.Delete(selected);
    remaining.SaveToFile(listFile_); // a failure is reported and the dialog stays open
    lines_ = remaining;
    afterDelete_();
    accept();
}
