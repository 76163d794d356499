#include "app/Delete.h"

#include "app/PixelFont.h"

#include "ui_Delete.h"

TFormDelete::TFormDelete(std::string listFile, std::function<void()> afterDelete)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                           | Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::TFormDelete>())
    , listFile_(std::move(listFile))
    , afterDelete_(std::move(afterDelete))
{
    ui->setupUi(this);
    setFont(PixelFont(13, false));
    setFixedSize(size());
    connect(ui->ButtonDelete, &QPushButton::clicked, this, &TFormDelete::ButtonDeleteClick);
    connect(ui->ListBox1, &QListWidget::itemDoubleClicked, this, &TFormDelete::ButtonDeleteClick);
    connect(ui->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFormDelete::~TFormDelete() = default;

void TFormDelete::showEvent(QShowEvent* event)
{
    lines_.LoadFromFile(listFile_);
    ui->ListBox1->clear();
    for (const std::string& line : lines_.Lines())
        ui->ListBox1->addItem(QString::fromLocal8Bit(line));
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
    remaining.SaveToFile(listFile_); // a failure reaches the error report; the dialog stays open
    lines_ = remaining;
    afterDelete_();
    accept();
}
