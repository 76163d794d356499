#include "app/SlotCommands.h"

#include "app/Delete.h"
#include "exebtn/ExeBtn.h"
#include "platform/ProgramLocation.h"
#include "platform/Screen.h"
#include "platform/session/ErrorReport.h"
#include "platform/text/Encoding.h"
#include "storage/Settings.h"
#include "widgets/ClickLabel.h"
#include "widgets/LiteralCaption.h"

#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <utility>

namespace {

// A menu entry shows the name part of its list line, and holds the full path for its tool tip
// (TipFullPath): names may be cut to the same first characters.
void ShowEntry(QAction& entry, const std::string& line)
{
    entry.setText(widgets::LiteralCaption(platform::FromBytes(FileListLineName(line))));
    entry.setData(platform::FromBytes(FileListLinePath(line)));
}

// The tool tip of a file entry, made when the pointer comes to it: making the tips of a long
// list along with the menu would slow every rebuilding of it.
void TipFullPath(QAction* entry)
{
    if (const QVariant path = entry->data(); path.isValid())
        entry->setToolTip(widgets::LiteralToolTip(path.toString()));
}

// Starts a pop-up file, or the main program with it, with a launcher's default start settings:
// through the desktop, in the file's own directory, returning at once.
void LaunchFile(const platform::Platform& platform, const std::string& file, const std::string& parameters)
{
    TStartSettings start;
    start.ExeFile = file;
    start.ExeParams = parameters;
    StartFile(start, {}, platform);
}

// A drag over a slot's button is taken when it brings at least one local file.
void AcceptLocalFiles(QEvent* event)
{
    auto* drag = static_cast<QDropEvent*>(event);
    const QList<QUrl> urls = drag->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        drag->acceptProposedAction();
}

} // namespace

template <typename... Args> auto TSlotCommands::Reported(void (TSlotCommands::*command)(Args...))
{
    return platform::Reported(platform_.dialogs, this, command);
}

TSlotCommands::TSlotCommands(const platform::Platform& platform, const TSettings& settings, std::string dataDirectory,
                             TLaunchSlots& parts)
    : platform_(platform)
    , settings_(settings)
    , dataDirectory_(std::move(dataDirectory))
    , launchSlots_(parts)
    , OpenDialog1(platform.dialogs,
                  {{QStringLiteral("All Files"), QStringLiteral("*")},
                   {QStringLiteral("EXE Files"), QStringLiteral("*.exe")},
                   {QStringLiteral("Screen Savers"), QStringLiteral("*.scr")},
                   {QStringLiteral("Text Files"), QStringLiteral("*.txt")},
                   {QStringLiteral("Images"), QStringLiteral("*.bmp;*.jpg;*.gif")},
                   {QStringLiteral("HTML files"), QStringLiteral("*.htm;*.html;*.shtml")}})
{
    for (TLaunchSlot& slot : launchSlots_) {
        slot.button->setAcceptDrops(true);
        slot.button->installEventFilter(this);
        slot.button->parentWidget()->installEventFilter(this); // its page, shown or not
        connect(slot.button, &TExeBtn::OnMouseDown, this, Reported(&TSlotCommands::ExeBtn1MouseDown));
        connect(slot.button, &TExeBtn::OnFileWanted, this, [this, button = slot.button] { ShowPendingFiles(button); });
        connect(slot.launchAll, &widgets::TClickLabel::OnClick, this,
                std::bind_front(Reported(&TSlotCommands::LabelLaunchAll1Click), slot.launchAll));
        connect(slot.param, &widgets::TClickLabel::OnClick, this,
                std::bind_front(Reported(&TSlotCommands::LabelParam1Click), slot.param));
    }
}

std::string TSlotCommands::ListFile(int slot) const
{
    return FileListPath(dataDirectory_, slot);
}

std::string TSlotCommands::BlankIconFile() const
{
    return platform_.location.InstalledFile("empty.ico");
}

std::string TSlotCommands::StoredMainFile(int slot) const
{
    return settings_.Read(settings::MainFile(slot));
}

TFileList TSlotCommands::LoadList(int slot) const
{
    TFileList list;
    list.LoadFromFile(ListFile(slot));
    return list;
}

// The current slot becomes the last slot whose list file could be loaded, as if its menu were
// built now.
void TSlotCommands::SetUp()
{
    for (TLaunchSlot& slot : launchSlots_) {
        const std::string mainFile = StoredMainFile(slot.number);
        const std::string iconFile = mainFile.empty() ? BlankIconFile() : mainFile;
        Pending& pending = pending_[std::size_t(slot.number - 1)];
        if (slot.button->parentWidget()->isHidden())
            pending.files = Files{mainFile, iconFile};
        else
            ShowFiles(slot.number, mainFile, iconFile);
        if ((pending.list = ReadFileListBytes(ListFile(slot.number))))
            currentSlot_ = slot.number;
    }
    for (TLaunchSlot& slot : launchSlots_)
        launchSlots_.SetParam(slot.number, settings_.Read(settings::ParamFlag(slot.number)) != 0);
}

void TSlotCommands::ShowFiles(int slot, const std::string& mainFile, const std::string& iconFile)
{
    pending_[std::size_t(slot - 1)].files.reset();
    TExeBtn* button = launchSlots_[slot].button;
    // The icon file first: a main file given to a button without one would be read for its icon
    // as well.
    button->SetExeIconFile(iconFile);
    button->SetExeFile(mainFile);
}

void TSlotCommands::ShowPendingFiles(const QWidget* pageOrButton)
{
    for (TLaunchSlot& slot : launchSlots_)
        if (const auto& files = pending_[std::size_t(slot.number - 1)].files;
            files && (slot.button->parentWidget() == pageOrButton || slot.button == pageOrButton)) {
            const Files shown = *files;
            ShowFiles(slot.number, shown.main, shown.icon);
        }
}

TExeBtn* TSlotCommands::Button(int slot)
{
    ShowPendingFiles(launchSlots_[slot].button->parentWidget());
    return launchSlots_[slot].button;
}

QMenu* TSlotCommands::EnsureMenu(int slot)
{
    if (!launchSlots_.MakeMenu(slot))
        return launchSlots_[slot].menu;
    const TLaunchSlot& parts = launchSlots_[slot];
    const std::array commands = {&TSlotCommands::AssignEXE1Click, &TSlotCommands::AddFilesClick,
                                 &TSlotCommands::RemoveFiles1Click, &TSlotCommands::LabelCancelEXE1Click};
    for (std::size_t command = 0; command < commands.size(); ++command)
        connect(parts.commands[command], &QAction::triggered, this, Reported(commands[command]));
    // Every other item of the menu is a file entry, made and remade as the slot's list changes.
    connect(parts.menu, &QMenu::hovered, parts.menu, TipFullPath);
    connect(parts.menu, &QMenu::triggered, this,
            [fixed = parts.commands, launch = Reported(&TSlotCommands::LaunchSlotEntry)](QAction* item) {
                if (std::find(fixed.begin(), fixed.end(), item) == fixed.end())
                    launch(item);
            });
    return parts.menu;
}

QMenu* TSlotCommands::FilledMenu(int slot)
{
    QMenu* menu = EnsureMenu(slot);
    if (std::optional<std::string> bytes = std::exchange(pending_[std::size_t(slot - 1)].list, std::nullopt)) {
        TFileList list;
        list.LoadFromBytes(*bytes);
        FillSlotMenu(slot, list);
    }
    return menu;
}

void TSlotCommands::ExeBtn1MouseDown(TExeBtn* sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y)
{
    if (button != Qt::RightButton)
        return;
    currentSlot_ = launchSlots_.SlotOf(sender);
    FilledMenu(currentSlot_)->popup(sender->mapToGlobal(QPoint(x, y)));
}

void TSlotCommands::ClearSlotMenu()
{
    pending_[std::size_t(currentSlot_ - 1)].list.reset();
    qDeleteAll(launchSlots_.Entries(currentSlot_));
}

// Entries already there are reused: Qt adds and removes menu items one by one, each time
// searching the whole menu, so a long list changed by one line is only changed by one item.
void TSlotCommands::FillSlotMenu(int slot, const TFileList& list)
{
    QMenu* menu = EnsureMenu(slot);
    const QList<QAction*> entries = launchSlots_.Entries(slot);
    const std::vector<std::string>& lines = list.Lines();
    const std::size_t reused = std::min(std::size_t(entries.size()), lines.size());
    for (std::size_t i = 0; i < reused; ++i)
        ShowEntry(*entries[qsizetype(i)], lines[i]);
    for (qsizetype i = entries.size() - 1; i >= qsizetype(reused); --i)
        delete entries[i];
    QList<QAction*> added;
    for (std::size_t i = reused; i < lines.size(); ++i) {
        added << new QAction(menu);
        ShowEntry(*added.back(), lines[i]);
    }
    menu->addActions(added);
}

void TSlotCommands::BuildSlotMenu()
{
    pending_[std::size_t(currentSlot_ - 1)].list.reset();
    FillSlotMenu(currentSlot_, LoadList(currentSlot_));
}

std::optional<std::string> TSlotCommands::ChooseFile()
{
    OpenDialog1.SetFilterIndex(1);
    const std::optional<QString> chosen = OpenDialog1.Execute();
    if (!chosen)
        return std::nullopt;
    return platform::ToBytes(*chosen);
}

void TSlotCommands::AssignEXE1Click()
{
    if (const std::optional<std::string> chosen = ChooseFile())
        AssignMainFile(currentSlot_, *chosen);
}

void TSlotCommands::AssignMainFile(int slot, const std::string& path)
{
    if (const std::string refusal = MainFileRefusal(path); !refusal.empty())
        throw std::invalid_argument(refusal);
    TExeBtn* button = Button(slot);
    button->SetExeFile(path);
    button->SetExeIconFile(path);
    settings_.Store(settings::MainFile(slot), path);
}

void TSlotCommands::AddFilesClick()
{
    if (const std::optional<std::string> chosen = ChooseFile())
        AddListFile(currentSlot_, *chosen);
}

void TSlotCommands::AddListFile(int slot, const std::string& path)
{
    TFileList list = LoadList(slot);
    list.Add(FileListLine(path));
    list.SaveToFile(ListFile(slot));
    BuildSlotMenu();
}

// Files dropped on a slot: onto an empty slot the first becomes its main file and the others go
// to its pop-up list, onto a slot with a main file all go to the list; each is stored as the
// menu's commands store it. Only local files count; a file that cannot be stored is reported
// and the others still go.
void TSlotCommands::ExeBtn1DragDrop(TExeBtn* sender, const QList<QUrl>& urls)
{
    std::vector<std::string> files;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            files.push_back(platform::ToBytes(url.toLocalFile()));
    if (files.empty())
        return;
    const int slot = launchSlots_.SlotOf(sender);
    currentSlot_ = slot;
    auto file = files.begin();
    if (sender->ExeFile().empty())
        platform::ReportFailure(platform_.dialogs, [&] { AssignMainFile(slot, *file++); });
    for (; file != files.end(); ++file)
        platform::ReportFailure(platform_.dialogs, [&] { AddListFile(slot, *file); });
}

bool TSlotCommands::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<TExeBtn*>(watched);
    switch (event->type()) {
    case QEvent::Resize:
        // A button's first resize comes as its page first shows, before the page's own show: the
        // button takes its files first, so that it lays out the icon of its own file, as the
        // buttons of the first page do, and never first draws the program's own icon in its
        // place, which a file without an icon would then leave there.
        if (button)
            ShowPendingFiles(button);
        return false;
    case QEvent::Show:
        if (!button)
            ShowPendingFiles(static_cast<QWidget*>(watched)); // a page, before it is first drawn
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (!button)
            return false;
        AcceptLocalFiles(event);
        return true;
    case QEvent::Drop: {
        if (!button)
            return false;
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        platform::ReportFailure(platform_.dialogs, [&] { ExeBtn1DragDrop(button, drop->mimeData()->urls()); });
        return true;
    }
    default: return false;
    }
}

void TSlotCommands::RemoveFiles1Click()
{
    TFormDelete dialog(ListFile(currentSlot_), platform_, [this] { BuildSlotMenu(); });
    dialog.exec();
}

void TSlotCommands::LabelCancelEXE1Click()
{
    const auto answer = platform_.dialogs.MessageBox(
        QStringLiteral("Do you really want to clear out main file and all menu items for this button?"),
        QStringLiteral("Information"), platform::MessageKind::Information, platform::MessageButtons::YesNo);
    if (answer != platform::MessageAnswer::Yes)
        return;
    const int slot = currentSlot_;
    TExeBtn* button = Button(slot);
    button->SetExeFile("");
    button->SetExeIconFile(BlankIconFile());
    settings_.Store(settings::MainFile(slot), "");
    ClearSlotMenu();
    TFileList().SaveToFile(ListFile(slot));
}

void TSlotCommands::LabelParam1Click(const QObject* sender)
{
    const int slot = launchSlots_.SlotOf(sender);
    currentSlot_ = slot;
    const bool on = !ParamOn(slot);
    launchSlots_.SetParam(slot, on);
    settings_.Store(settings::ParamFlag(slot), on ? 1 : 0);
}

void TSlotCommands::LaunchSlotEntry(QAction* entry)
{
    const int slot = currentSlot_;
    const qsizetype index = launchSlots_.Entries(slot).indexOf(entry);
    const TFileList list = LoadList(slot);
    if (index < 0 || index >= list.Count())
        return; // the list file changed since the menu was built
    const std::string path = FileListLinePath(list.Lines()[std::size_t(index)]);
    const std::string mainFile = ParamOn(slot) ? StoredMainFile(slot) : std::string();
    if (mainFile.empty())
        LaunchFile(platform_, path, "");
    else
        LaunchFile(platform_, mainFile, path);
}

void TSlotCommands::LabelLaunchAll1Click(const QObject* sender)
{
    const int slot = launchSlots_.SlotOf(sender);
    currentSlot_ = slot;
    const TFileList list = LoadList(slot);
    const std::string mainFile = StoredMainFile(slot);
    if (!mainFile.empty())
        LaunchFile(platform_, mainFile, "");
    for (const std::string& line : list.Lines()) {
        const std::string path = FileListLinePath(line);
        if (ParamOn(slot) && !mainFile.empty())
            LaunchFile(platform_, mainFile, path);
        else
            LaunchFile(platform_, path, "");
    }
}
