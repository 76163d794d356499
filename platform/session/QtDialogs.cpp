#include "platform/session/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

MessageAnswer QtDialogs::MessageBox(const QString& text, const QString& title, MessageKind kind, MessageButtons buttons)
{
    QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information, title, text);
    // The strip stays on top of everything; its messages must not open behind it.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // Texts hold file names, which may look like markup: show them as they are.
    box.setTextFormat(Qt::PlainText);
    if (buttons == MessageButtons::Ok) {
        box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
        box.exec();
        return MessageAnswer::Ok;
    }
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<QString> QtDialogs::OpenFile(const OpenFileRequest& request)
{
    QStringList nameFilters;
    for (const FileFilter& filter : request.filters) {
        QString patterns = filter.patterns;
        nameFilters << filter.description + QStringLiteral(" (") + patterns.replace(QLatin1Char(';'), QLatin1Char(' '))
                + QLatin1Char(')');
    }
    QFileDialog dialog;
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters);
    if (request.filterIndex >= 1 && request.filterIndex <= nameFilters.size())
        dialog.selectNameFilter(nameFilters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace platform
