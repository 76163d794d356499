// The launch slots of the main window: their parts, their pop-up menus and commands, and
// starting files from them.
#include "app/ClickLabel.h"
#include "app/Delete.h"
#include "app/Main.h"
#include "exebtn/ExeBtn.h"
#include "platform/Dialogs.h"
#include "ui_Main.h"

#include <QMenu>

namespace {

constexpr int SlotCount = 12;
constexpr int FixedMenuItems = 5; // assign, add, delete, clear and the separator

// Where the parts of the slots at positions 1 to 4 sit on their page.
constexpr int ButtonLeft[] = {4, 46, 89, 131};
constexpr int LaunchAllLeft[] = {19, 62, 105, 148};
constexpr int ParamLeft[] = {29, 72, 116, 158};
constexpr int ButtonTop = 3;
constexpr int LabelTop = 38;

const QColor ParamOffColor(255, 0, 0);
const QColor ParamOnColor(0, 255, 0);

QString Numbered(const char* prefix, int number)
{
    return QLatin1String(prefix) + QString::number(number);
}

// The slot a part belongs to, from the number its name ends in.
int SlotOf(const QObject* part)
{
    const QString name = part->objectName();
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    return name.mid(digits).toInt();
}

QString MenuItemName(int slot, int item, const char* slotOneName)
{
    return slot == 1 ? QLatin1String(slotOneName) : Numbered("MenuItem", 5 * (slot - 2) + item + 1);
}

void SetParamColor(QLabel* label, const QColor& color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

// Menu captions show '&' as a mnemonic mark unless it is doubled.
QString MenuCaption(const std::string& text)
{
    return QString::fromLocal8Bit(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void TForm1::CreateSlots()
{
    QWidget* const pages[] = {ui->PageGroup1, ui->PageGroup2, ui->PageGroup3};
    for (int slot = 1; slot <= SlotCount; ++slot) {
        QWidget* page = pages[(slot - 1) / 4];
        const int position = (slot - 1) % 4;
        const bool hinted = slot <= 4;

        auto* button = new TExeBtn(platform_, page);
        button->setObjectName(Numbered("ExeBtn", slot));
        button->setGeometry(slot == 9 ? 3 : ButtonLeft[position], ButtonTop, 37, 36);
        connect(button, &TExeBtn::OnMouseDown, this, &TForm1::ExeBtn1MouseDown);

        auto* launchAll = new TClickLabel(QStringLiteral("A"), page);
        launchAll->setObjectName(Numbered("LabelLaunchAll", slot));
        connect(launchAll, &TClickLabel::OnClick, this, [this, launchAll] { LabelLaunchAll1Click(launchAll); });

        auto* param = new TClickLabel(QStringLiteral("P"), page);
        param->setObjectName(Numbered("LabelParam", slot));
        SetParamColor(param, ParamOffColor);
        connect(param, &TClickLabel::OnClick, this, [this, param] { LabelParam1Click(param); });

        for (auto [label, left] : {std::pair{launchAll, LaunchAllLeft[position]}, std::pair{param, ParamLeft[position]}}) {
            label->move(left, LabelTop);
            label->adjustSize();
        }
        if (hinted) {
            button->setToolTip(QStringLiteral("Right-click to configure, left-click to launch stored program."));
            launchAll->setToolTip(QStringLiteral("Click to launch ALL files stored in this button."));
            param->setToolTip(QStringLiteral("Click to toggle PARAMETER setting on/off."));
        }

        auto* menu = new QMenu(this);
        menu->setObjectName(slot == 1 ? QStringLiteral("PopUpMenu1") : Numbered("PopupMenu", slot));
        const struct {
            const char* caption;
            const char* slotOneName;
            void (TForm1::*command)();
        } items[] = {{"A&ssign main button file", "AssignEXE1", &TForm1::AssignEXE1Click},
                     {"&Add pop-up menu files", "AddFiles", &TForm1::AddFilesClick},
                     {"&Delete a pop-up file", "RemoveFiles1", &TForm1::RemoveFiles1Click},
                     {"&Clear ALL files", "ClearALLfiles1", &TForm1::LabelCancelEXE1Click}};
        for (int item = 0; item < 4; ++item) {
            QAction* action = menu->addAction(QString::fromLatin1(items[item].caption));
            action->setObjectName(MenuItemName(slot, item, items[item].slotOneName));
            connect(action, &QAction::triggered, this, items[item].command);
        }
        menu->addSeparator()->setObjectName(MenuItemName(slot, 4, "N1"));
    }

    ExeBtnFileLauncher = new TExeBtn(platform_, this);
    ExeBtnFileLauncher->setObjectName(QStringLiteral("ExeBtnFileLauncher"));
    ExeBtnFileLauncher->setGeometry(124, 328, 41, 33);
    ExeBtnFileLauncher->hide();

    OpenDialog1.filters = {{QStringLiteral("All Files"), QStringLiteral("*")},
                           {QStringLiteral("EXE Files"), QStringLiteral("*.exe")},
                           {QStringLiteral("Screen Savers"), QStringLiteral("*.scr")},
                           {QStringLiteral("Text Files"), QStringLiteral("*.txt")},
                           {QStringLiteral("Images"), QStringLiteral("*.bmp;*.jpg;*.gif")},
                           {QStringLiteral("HTML files"), QStringLiteral("*.htm;*.html;*.shtml")}};
}

template <typename Part>
Part* TForm1::SlotPart(const QString& prefix, int slot) const
{
    const QString name = prefix + QString::number(slot);
    for (Part* part : findChildren<Part*>())
        if (part->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return part;
    return nullptr;
}

TExeBtn* TForm1::SlotButton(int slot) const
{
    return SlotPart<TExeBtn>(QStringLiteral("ExeBtn"), slot);
}

TClickLabel* TForm1::SlotParamLabel(int slot) const
{
    return SlotPart<TClickLabel>(QStringLiteral("LabelParam"), slot);
}

QMenu* TForm1::SlotMenu(int slot) const
{
    return SlotPart<QMenu>(QStringLiteral("PopUpMenu"), slot);
}

bool TForm1::ParamOn(int slot) const
{
    return SlotParamLabel(slot)->palette().color(QPalette::WindowText) != ParamOffColor;
}

std::string TForm1::SlotListFile(int slot) const
{
    return FileListPath(programDirectory_, slot);
}

std::string TForm1::StoredMainFile(int slot) const
{
    return TIniFile(SettingsFile()).ReadString("EXE", "EXE" + std::to_string(slot), "");
}

void TForm1::SetUpSlots()
{
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const std::string mainFile = StoredMainFile(slot);
        TExeBtn* button = SlotButton(slot);
        button->SetExeFile(mainFile);
        button->SetExeIconFile(mainFile.empty() ? programDirectory_ + "empty.ico" : mainFile);
        if (ListBox1.LoadFromFile(SlotListFile(slot))) {
            CurrentSlot = slot;
            FillSlotMenu();
        }
    }
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const bool on = TIniFile(SettingsFile()).ReadInteger("EXE", "Param" + std::to_string(slot), 0) != 0;
        SetParamColor(SlotParamLabel(slot), on ? ParamOnColor : ParamOffColor);
    }
}

void TForm1::ExeBtn1MouseDown(TExeBtn* sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y)
{
    if (button != Qt::RightButton)
        return;
    CurrentSlot = SlotOf(sender);
    SlotMenu(CurrentSlot)->popup(sender->mapToGlobal(QPoint(x, y)));
}

void TForm1::ClearSlotMenu()
{
    const QList<QAction*> actions = SlotMenu(CurrentSlot)->actions();
    for (qsizetype i = actions.size() - 1; i >= FixedMenuItems; --i)
        delete actions[i];
}

// Makes the file entries of the current slot's menu the lines of the working list. Entries
// already there are reused: Qt adds and removes menu items one by one, each time searching the
// whole menu, so a long list changed by one line is only changed by one item.
void TForm1::FillSlotMenu()
{
    QMenu* menu = SlotMenu(CurrentSlot);
    const QList<QAction*> entries = menu->actions().mid(FixedMenuItems);
    const std::vector<std::string>& lines = ListBox1.Lines();
    const std::size_t reused = std::min(std::size_t(entries.size()), lines.size());
    for (std::size_t i = 0; i < reused; ++i)
        entries[qsizetype(i)]->setText(MenuCaption(FileListLineName(lines[i])));
    for (qsizetype i = entries.size() - 1; i >= qsizetype(reused); --i)
        delete entries[i];
    QList<QAction*> added;
    for (std::size_t i = reused; i < lines.size(); ++i) {
        auto* entry = new QAction(MenuCaption(FileListLineName(lines[i])), menu);
        connect(entry, &QAction::triggered, this, [this, entry] { LaunchSlotEntry(entry); });
        added << entry;
    }
    menu->addActions(added);
}

void TForm1::BuildSlotMenu()
{
    ListBox1.LoadFromFile(SlotListFile(CurrentSlot));
    FillSlotMenu();
}

void TForm1::AssignEXE1Click()
{
    const int slot = CurrentSlot;
    OpenDialog1.filterIndex = 1;
    const auto chosen = platform_.dialogs.openFile(OpenDialog1);
    if (!chosen)
        return;
    OpenDialog1.fileName = *chosen;
    const std::string path = chosen->toLocal8Bit().toStdString();
    TExeBtn* button = SlotButton(slot);
    button->SetExeFile(path);
    button->SetExeIconFile(path);
    WriteSettings([&](const TIniFile& ini) { ini.WriteString("EXE", "EXE" + std::to_string(slot), path); });
}

void TForm1::AddFilesClick()
{
    OpenDialog1.filterIndex = 1;
    const auto chosen = platform_.dialogs.openFile(OpenDialog1);
    if (!chosen)
        return;
    OpenDialog1.fileName = *chosen;
    ListBox1.LoadFromFile(SlotListFile(CurrentSlot));
    ListBox1.Add(FileListLine(chosen->toLocal8Bit().toStdString()));
    ListBox1.SaveToFile(SlotListFile(CurrentSlot));
    BuildSlotMenu();
}

void TForm1::RemoveFiles1Click()
{
    TFormDelete dialog(SlotListFile(CurrentSlot), [this] { BuildSlotMenu(); });
    dialog.exec();
}

void TForm1::LabelCancelEXE1Click()
{
    const auto answer = platform_.dialogs.messageBox(
        QStringLiteral("Do you really want to clear out main file and all menu items for this button?"),
        QStringLiteral("Information"), platform::MessageKind::Information, platform::MessageButtons::YesNo);
    if (answer != platform::MessageAnswer::Yes)
        return;
    const int slot = CurrentSlot;
    TExeBtn* button = SlotButton(slot);
    button->SetExeFile("");
    button->SetExeIconFile(programDirectory_ + "empty.ico");
    WriteSettings([&](const TIniFile& ini) { ini.WriteString("EXE", "EXE" + std::to_string(slot), ""); });
    ClearSlotMenu();
    ListBox1.Clear();
    ListBox1.SaveToFile(SlotListFile(slot));
}

void TForm1::LabelParam1Click(TClickLabel* sender)
{
    const int slot = SlotOf(sender);
    CurrentSlot = slot;
    const bool on = !ParamOn(slot);
    SetParamColor(sender, on ? ParamOnColor : ParamOffColor);
    WriteSettings([&](const TIniFile& ini) { ini.WriteInteger("EXE", "Param" + std::to_string(slot), on ? 1 : 0); });
}

void TForm1::LaunchFile(const std::string& file, const std::string& parameters)
{
    ExeBtnFileLauncher->SetExeFile(file);
    ExeBtnFileLauncher->SetExeParams(parameters);
    ExeBtnFileLauncher->Launch();
}

void TForm1::LaunchSlotEntry(QAction* entry)
{
    const int slot = CurrentSlot;
    const qsizetype index = SlotMenu(slot)->actions().indexOf(entry) - FixedMenuItems;
    ListBox1.LoadFromFile(SlotListFile(slot));
    if (index < 0 || index >= ListBox1.Count())
        return; // the list file changed since the menu was built
    const std::string path = FileListLinePath(ListBox1.Lines()[index]);
    const std::string mainFile = ParamOn(slot) ? StoredMainFile(slot) : std::string();
    if (mainFile.empty())
        LaunchFile(path, "");
    else
        LaunchFile(mainFile, path);
}

void TForm1::LabelLaunchAll1Click(TClickLabel* sender)
{
    const int slot = SlotOf(sender);
    CurrentSlot = slot;
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
