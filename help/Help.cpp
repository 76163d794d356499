#include "help/Help.h"

#include "platform/Screen.h"
#include "platform/session/ErrorReport.h"
#include "platform/session/FramePlacement.h"
#include "resources/Artwork.h"
#include "ui_Help.h"
#include "widgets/ClickLabel.h"
#include "widgets/PixelFont.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>

#include <array>

namespace {

using help::HelpRegion;

// The window's outer size, by which it is centred on the screen.
constexpr QSize OuterSize(500, 368);

// The regions of the picture that explain themselves when clicked, each with the controls that
// make it up. The launcher buttons, which explain themselves on any press, are not among them.
struct ClickRegion {
    HelpRegion region;
    std::array<const char*, 2> controls; // the second one may be missing
};
constexpr ClickRegion ClickRegions[] = {
    {HelpRegion::Clock, {"Label1", nullptr}},          {HelpRegion::Hands, {"BitBtn3", "BitBtn4"}},
    {HelpRegion::Options, {"ButtonOptions", nullptr}}, {HelpRegion::Notes, {"LabelN", nullptr}},
    {HelpRegion::Minimise, {"ButtonMin", "Button3"}},  {HelpRegion::Exit, {"BitBtn6", "BitBtn7"}},
    {HelpRegion::Arrows, {"BitBtn1", "BitBtn2"}},      {HelpRegion::HelpButton, {"BitBtn5", nullptr}},
    {HelpRegion::Tabs, {"TabSet1", nullptr}},          {HelpRegion::LaunchAll, {"Label2", "Label8"}},
    {HelpRegion::Param, {"Label3", "Label9"}},
};

} // namespace

TFormHelp::TFormHelp(const platform::Platform& platform)
    : QWidget(nullptr, Qt::Window)
    , platform_(platform)
    , ui(std::make_unique<Ui::TFormHelp>())
    , PopupMenu1(new QMenu(this))
{
    ui->setupUi(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    SetFonts();
    SetArtwork();
    ui->TabSet1->SetHeadingRoom(6); // narrower than the strip's: the picture is a little smaller
    for (const char* tab : {"Group#1", "Group#2", "Group#3", "Options"})
        ui->TabSet1->AddHeading(QString::fromLatin1(tab));
    ui->MemoHelp->setPlainText(help::HelpMemoText());
    ConnectHandlers();

    // Centred by the outer size it would have in a frame until a window manager has framed it.
    platform::CentreByFrame(*this, platform_.windowManager, platform_.screen.PrimarySize(), OuterSize);
}

TFormHelp::~TFormHelp() = default;

void TFormHelp::SetFonts()
{
    setFont(widgets::PixelFont(13, true)); // the window's own font, which the "A" and "P" labels take
    // The guide's lines are at most 67 characters long; in this font they fit the memo's width.
    ui->MemoHelp->setFont(widgets::PixelFont(12, false));
    ui->MemoHelp->document()->setDocumentMargin(2);
    ui->Label10->setFont(widgets::PixelFont(19, true));
    for (QLabel* label : {ui->LabelHelpInfo1, ui->LabelHelpInfo2, ui->LabelHelpInfo3, ui->LabelHelpInfo4})
        label->setFont(widgets::PixelFont(11, true));
    for (QWidget* control : std::initializer_list<QWidget*>{ui->ButtonOptions, ui->TabSet1, ui->Label4, ui->Label5,
                                                            ui->Label6, ui->Label7})
        control->setFont(widgets::PixelFont(11, false));
}

void TFormHelp::SetArtwork()
{
    ui->BitBtn3->setIcon(Artwork(QStringLiteral("hand-up")));
    ui->BitBtn4->setIcon(Artwork(QStringLiteral("hand-down")));
    ui->BitBtn1->setIcon(Artwork(QStringLiteral("arrow-up")));
    ui->BitBtn2->setIcon(Artwork(QStringLiteral("arrow-down")));
    ui->BitBtn5->setIcon(Artwork(QStringLiteral("help")));
}

void TFormHelp::ConnectHandlers()
{
    const auto reported = [this](void (TFormHelp::*handler)()) {
        return platform::Reported(platform_.dialogs, this, handler);
    };
    connect(ui->ButtonShowHelp, &QPushButton::clicked, this, reported(&TFormHelp::ButtonShowHelpClick));
    connect(ui->Button2, &QPushButton::clicked, this, reported(&TFormHelp::Button2Click));

    for (const ClickRegion& entry : ClickRegions) {
        const auto explain = [this, region = entry.region] {
            platform::ReportFailure(platform_.dialogs, [&] { ShowExplanation(region); });
        };
        for (const char* name : entry.controls) {
            if (!name)
                continue;
            QWidget* control = findChild<QWidget*>(QString::fromLatin1(name));
            if (auto* button = qobject_cast<QPushButton*>(control))
                connect(button, &QPushButton::clicked, this, explain);
            else if (auto* label = qobject_cast<widgets::TClickLabel*>(control))
                connect(label, &widgets::TClickLabel::OnClick, this, explain);
            else if (auto* tabs = qobject_cast<QTabBar*>(control)) // the click also selects the tab
                connect(tabs, &QTabBar::tabBarClicked, this, explain);
        }
    }
    for (QWidget* part : std::initializer_list<QWidget*>{ui->Shape3, ui->Shape4, ui->Shape5, ui->Shape6, ui->Label4,
                                                         ui->Label5, ui->Label6, ui->Label7})
        part->installEventFilter(this);

    // The picture's pop-up menu: its items do nothing.
    for (const char* item :
         {"Assign main button file", "Add pop-up menu files", "Delete a pop-up menu file", "Clear ALL files"})
        PopupMenu1->addAction(QString::fromLatin1(item));
}

// The picture's launcher buttons have no signals of their own: any press on a square or its
// "none" label is taken here.
bool TFormHelp::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // The second press of a double click comes as a double click of its own.
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* control = static_cast<QWidget*>(watched);
    const QPoint position = mouse->position().toPoint();
    platform::ReportFailure(platform_.dialogs, [&] { Shape4MouseDown(control, mouse->button(), position); });
    return true;
}

void TFormHelp::ShowExplanation(HelpRegion region)
{
    // The memo goes out of sight, and so out of reach of the keyboard: the focus it had goes to
    // the button that brings it back.
    const bool memoHadFocus = ui->MemoHelp->hasFocus();
    ui->ButtonShowHelp->show();
    if (memoHadFocus)
        ui->ButtonShowHelp->setFocus();
    ui->MemoHelp->hide();
    ui->LabelHelp->hide();

    const help::RegionTexts& texts = help::TextsOf(region);
    ui->LabelHelpInfo1->setText(texts.info1);
    ui->LabelHelpInfo2->setText(texts.info2);
    ui->LabelHelpInfo2->show();
    // A label without a text of its own is hidden and keeps its last caption.
    for (const auto& [label, text] :
         {std::pair{ui->LabelHelpInfo3, &texts.info3}, {ui->LabelHelpInfo4, &texts.info4}}) {
        if (*text) {
            label->setText(**text);
            label->show();
        } else {
            label->hide();
        }
    }
}

void TFormHelp::Shape4MouseDown(QWidget* sender, Qt::MouseButton button, QPoint position)
{
    if (button != Qt::RightButton) {
        ShowExplanation(HelpRegion::ButtonOtherPress);
        return;
    }
    ShowExplanation(HelpRegion::ButtonRightPress);
    // The pressed control's place in the window plus the press within it: under the pointer.
    PopupMenu1->popup(mapToGlobal(sender->pos() + position));
}

void TFormHelp::ButtonShowHelpClick()
{
    ui->MemoHelp->show();
    ui->LabelHelp->show();
    ui->ButtonShowHelp->hide();
}

void TFormHelp::Button2Click()
{
    close();
}

void TFormHelp::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        Button2Click();
    else
        QWidget::keyPressEvent(event);
}
