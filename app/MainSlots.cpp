// The launch slots of the main window: their pop-up menus and commands, and starting files
// from them.
#include "app/Delete.h"
#include "app/Main.h"
#include "exebtn/ExeBtn.h"
#include "platform/Dialogs.h"
#include "platform/Screen.h"
#include "platform/session/ClickLabel.h"
#include "platform/session/LiteralCaption.h"
#include "platform/text/Encoding.h"
#include "storage/IniFile.h"
#include "ui_Main.h"

#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// A menu entry shows the name part of its list line.
QString EntryCaption(const std::string& line)
{
    return platform::LiteralCaption(platform::FromBytes(FileListLineName(line)));
}

} // namespace

void TForm1::ConnectSlots()
{
    for (TLaunchSlot& slot : slots_) {
        connect(slot.button, &TExeBtn::OnMouseDown, this, Reported(&TForm1::ExeBtn1MouseDown));
        slot.button->setAcceptDrops(true);
        slot.button->installEventFilter(this);
        TClickLabel* launchAll = slot.launchAll;
        connect(launchAll, &TClickLabel::OnClick, this,
                [this, launchAll] { Reported (&TForm1::LabelLaunchAll1Click)(launchAll); });
        TClickLabel* param = slot.param;
        connect(param, &TClickLabel::OnClick, this, [this, param] { Reported (&TForm1::LabelParam1Click)(param); });
    }
    for (QWidget* page : {ui->PageGroup1, ui->PageGroup2, ui->PageGroup3})
        page->installEventFilter(this);
    OpenDialog1.filters = {{QStringLiteral("All Files"), QStringLiteral("*")},
                           {QStringLiteral("EXE Files"), QStringLiteral("*.exe")},
                           {QStringLiteral("Screen Savers"), QStringLiteral("*.scr")},
                           {QStringLiteral("Text Files"), QStringLiteral("*.txt")},
                           {QStringLiteral("Images"), QStringLiteral("*.bmp;*.jpg;*.gif")},
                           {QStringLiteral("HTML files"), QStringLiteral("*.htm;*.html;*.shtml")}};
}

QMenu* TForm1::MenuOf(int slot)
{
    TLaunchSlot& parts = slots_[slot];
    if (slots_.MakeMenu(slot)) {
        const std::array commands = {&TForm1::AssignEXE1Click, &TForm1::AddFilesClick, &TForm1::RemoveFiles1Click,
                                     &TForm1::LabelCancelEXE1Click};
        for (std::size_t command = 0; command < commands.size(); ++command)
            connect(parts.commands[command], &QAction::triggered, this, Reported(commands[command]));
    }
    return parts.menu;
}

QMenu* TForm1::SlotMenu(int slot)
{
    QMenu* menu = MenuOf(slot);
    if (std::optional<std::string> list = std::exchange(slots_[slot].pendingList, std::nullopt)) {
        ListBox1.LoadFromBytes(*list);
        FillSlotMenu(slot);
    }
    return menu;
}

TExeBtn* TForm1::SlotButton(int slot)
{
    ShowPendingFiles(slots_[slot].button->parentWidget());
    return slots_[slot].button;
}

std::string TForm1::SlotListFile(int slot) const
{
    return FileListPath(programDirectory_, slot);
}

std::string TForm1::BlankIconFile() const
{
    return programDirectory_ + "empty.ico";
}

std::string TForm1::StoredMainFile(int slot) const
{
    return TIniFile(SettingsFile()).Read(settings::MainFile(slot));
}

// Every slot comes up from the settings file and its list file; its menu's entries, and on a
// group page not shown yet its icon, are made from them when they are first needed. The current
// slot becomes the last slot whose list file could be loaded, as if its menu were built now.
void TForm1::SetUpSlots()
{
    for (TLaunchSlot& slot : slots_) {
        const std::string mainFile = StoredMainFile(slot.number);
        const std::string iconFile = mainFile.empty() ? BlankIconFile() : mainFile;
        if (slot.button->parentWidget()->isHidden())
            slot.pendingFiles = TLaunchSlot::Files{mainFile, iconFile};
        else
            ShowSlotFiles(slot, mainFile, iconFile);
        if ((slot.pendingList = ReadFileListBytes(SlotListFile(slot.number))))
            currentSlot_ = slot.number;
    }
    for (TLaunchSlot& slot : slots_)
        slots_.SetParam(slot.number, TIniFile(SettingsFile()).Read(settings::ParamFlag(slot.number)) != 0);
}

void TForm1::ShowSlotFiles(TLaunchSlot& slot, const std::string& mainFile, const std::string& iconFile)
{
    slot.pendingFiles.reset();
    // The icon file first: a main file given to a button without one would be read for its icon
    // as well.
    slot.button->SetExeIconFile(iconFile);
    slot.button->SetExeFile(mainFile);
}

void TForm1::ShowPendingFiles(const QWidget* page)
{
    for (TLaunchSlot& slot : slots_)
        if (slot.pendingFiles && slot.button->parentWidget() == page) {
            const TLaunchSlot::Files files = *slot.pendingFiles;
            ShowSlotFiles(slot, files.main, files.icon);
        }
}

void TForm1::ExeBtn1MouseDown(TExeBtn* sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y)
{
    if (button != Qt::RightButton)
        return;
    currentSlot_ = slots_.SlotOf(sender);
    SlotMenu(currentSlot_)->popup(sender->mapToGlobal(QPoint(x, y)));
}

void TForm1::ClearSlotMenu()
{
    slots_[currentSlot_].pendingList.reset();
    qDeleteAll(slots_.Entries(currentSlot_));
}

// Makes the file entries of the slot's menu the lines of the working list. Entries already
// there are reused: Qt adds and removes menu items one by one, each time searching the whole
// menu, so a long list changed by one line is only changed by one item.
void TForm1::FillSlotMenu(int slot)
{
    QMenu* menu = MenuOf(slot);
    const QList<QAction*> entries = slots_.Entries(slot);
    const std::vector<std::string>& lines = ListBox1.Lines();
    const std::size_t reused = std::min(std::size_t(entries.size()), lines.size());
    for (std::size_t i = 0; i < reused; ++i)
        entries[qsizetype(i)]->setText(EntryCaption(lines[i]));
    for (qsizetype i = entries.size() - 1; i >= qsizetype(reused); --i)
        delete entries[i];
    QList<QAction*> added;
    for (std::size_t i = reused; i < lines.size(); ++i) {
        auto* entry = new QAction(EntryCaption(lines[i]), menu);
        connect(entry, &QAction::triggered, this, [this, entry] { Reported (&TForm1::LaunchSlotEntry)(entry); });
        added << entry;
    }
    menu->addActions(added);
}

void TForm1::BuildSlotMenu()
{
    slots_[currentSlot_].pendingList.reset();
    ListBox1.LoadFromFile(SlotListFile(currentSlot_));
    FillSlotMenu(currentSlot_);
}

void TForm1::AssignEXE1Click()
{
    OpenDialog1.filterIndex = 1;
    const auto chosen = platform_.dialogs.openFile(OpenDialog1);
    if (!chosen)
        return;
    OpenDialog1.fileName = *chosen;
    AssignMainFile(currentSlot_, platform::ToBytes(*chosen));
}

void TForm1::AssignMainFile(int slot, const std::string& path)
{
    if (const std::string refusal = MainFileRefusal(path); !refusal.empty())
        throw std::invalid_argument(refusal);
    TExeBtn* button = SlotButton(slot);
    button->SetExeFile(path);
    button->SetExeIconFile(path);
    WriteIgnoringFailure(SettingsFile(), [&](const TIniFile& ini) { ini.Write(settings::MainFile(slot), path); });
}

void TForm1::AddFilesClick()
{
    OpenDialog1.filterIndex = 1;
    const auto chosen = platform_.dialogs.openFile(OpenDialog1);
    if (!chosen)
        return;
    OpenDialog1.fileName = *chosen;
    AddListFile(currentSlot_, platform::ToBytes(*chosen));
}

void TForm1::AddListFile(int slot, const std::string& path)
{
    ListBox1.LoadFromFile(SlotListFile(slot));
    ListBox1.Add(FileListLine(path));
    ListBox1.SaveToFile(SlotListFile(slot));
    BuildSlotMenu();
}

// Files dropped on a slot: onto an empty slot the first becomes its main file and the others go
// to its pop-up list, onto a slot with a main file all go to the list; each is stored as the
// menu's commands store it. Only local files count; a file that cannot be stored is reported
// and the others still go.
void TForm1::ExeBtn1DragDrop(TExeBtn* sender, const QList<QUrl>& urls)
{
    std::vector<std::string> files;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            files.push_back(platform::ToBytes(url.toLocalFile()));
    if (files.empty())
        return;
    const int slot = slots_.SlotOf(sender);
    currentSlot_ = slot;
    auto file = files.begin();
    if (sender->ExeFile().empty())
        platform::ReportFailure(platform_.dialogs, [&] { AssignMainFile(slot, *file++); });
    for (; file != files.end(); ++file)
        platform::ReportFailure(platform_.dialogs, [&] { AddListFile(slot, *file); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->parent() == ui->NB1) {
        ShowPendingFiles(static_cast<QWidget*>(watched)); // before the page is first drawn
        return false;
    }
    const bool dropping =
        event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop;
    auto* button = dropping ? qobject_cast<TExeBtn*>(watched) : nullptr;
    if (!button)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drag->mimeData()->urls();
        if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
            drag->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        Reported (&TForm1::ExeBtn1DragDrop)(button, drop->mimeData()->urls());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::RemoveFiles1Click()
{
    TFormDelete dialog(SlotListFile(currentSlot_), platform_.screen.primarySize(), platform_.dialogs,
                       [this] { BuildSlotMenu(); });
    dialog.exec();
}

void TForm1::LabelCancelEXE1Click()
{
    const auto answer = platform_.dialogs.messageBox(
        QStringLiteral("Do you really want to clear out main file and all menu items for this button?"),
        QStringLiteral("Information"), platform::MessageKind::Information, platform::MessageButtons::YesNo);
    if (answer != platform::MessageAnswer::Yes)
        return;
    const int slot = currentSlot_;
    TExeBtn* button = SlotButton(slot);
    button->SetExeFile("");
    button->SetExeIconFile(BlankIconFile());
    WriteIgnoringFailure(SettingsFile(), [&](const TIniFile& ini) { ini.Write(settings::MainFile(slot), ""); });
    ClearSlotMenu();
    ListBox1.Clear();
    ListBox1.SaveToFile(SlotListFile(slot));
}

void TForm1::LabelParam1Click(TClickLabel* sender)
{
    const int slot = slots_.SlotOf(sender);
    currentSlot_ = slot;
    const bool on = !ParamOn(slot);
    slots_.SetParam(slot, on);
    WriteIgnoringFailure(SettingsFile(),
                         [&](const TIniFile& ini) { ini.Write(settings::ParamFlag(slot), on ? 1 : 0); });
}

// Starts a pop-up file, or the main program with it, with a launcher's default start settings:
// through the desktop, in the file's own directory, returning at once.
void TForm1::LaunchFile(const std::string& file, const std::string& parameters)
{
    TStartSettings start;
    start.ExeFile = file;
    start.ExeParams = parameters;
    StartFile(start, {}, platform_);
}

void TForm1::LaunchSlotEntry(QAction* entry)
{
    const int slot = currentSlot_;
    const qsizetype index = slots_.Entries(slot).indexOf(entry);
    ListBox1.LoadFromFile(SlotListFile(slot));
    if (index < 0 || index >= ListBox1.Count())
        return; // the list file changed since the menu was built
    const std::string path = FileListLinePath(ListBox1.Lines()[std::size_t(index)]);
    const std::string mainFile = ParamOn(slot) ? StoredMainFile(slot) : std::string();
    if (mainFile.empty())
        LaunchFile(path, "");
    else
        LaunchFile(mainFile, path);
}

void TForm1::LabelLaunchAll1Click(TClickLabel* sender)
{
    const int slot = slots_.SlotOf(sender);
    currentSlot_ = slot;
    ListBox1.LoadFromFile(SlotListFile(slot));
    const std::vector<std::string> lines = ListBox1.Lines(); // a failure message may run other handlers
    const std::string mainFile = StoredMainFile(slot);
    if (!mainFile.empty())
        LaunchFile(mainFile, "");
    for (const std::string& line : lines) {
        const std::string path = FileListLinePath(line);
        if (ParamOn(slot) && !mainFile.empty())
            LaunchFile(mainFile, path);
        else
            LaunchFile(path, "");
    }
}
