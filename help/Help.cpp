#include "help/Help.h"

#include "platform/Screen.h"
#include "platform/session/ClickLabel.h"
#include "platform/session/ErrorReport.h"
#include "platform/session/PixelFont.h"
#include "resources/Artwork.h"
#include "ui_Help.h"

#include <QMenu>
#include <QMouseEvent>

namespace {

// The window's outer size, by which it is centred on the screen.
constexpr QSize OuterSize(500, 368);

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

    move(platform::CentredOn(platform_.screen.primarySize(), OuterSize));
}

TFormHelp::~TFormHelp() = default;

void TFormHelp::SetFonts()
{
    setFont(PixelFont(13, true)); // the window's own font, which the "A" and "P" labels take
    // The guide's lines are at most 67 characters long; in this font they fit the memo's width.
    ui->MemoHelp->setFont(PixelFont(12, false));
    ui->MemoHelp->document()->setDocumentMargin(2);
    ui->Label10->setFont(PixelFont(19, true));
    for (QLabel* label : {ui->LabelHelpInfo1, ui->LabelHelpInfo2, ui->LabelHelpInfo3, ui->LabelHelpInfo4})
        label->setFont(PixelFont(11, true));
    for (QWidget* control : std::initializer_list<QWidget*>{ui->ButtonOptions, ui->TabSet1, ui->Label4, ui->Label5,
                                                            ui->Label6, ui->Label7})
        control->setFont(PixelFont(11, false));
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
    const auto connectClick = [this](QPushButton* button, void (TFormHelp::*handler)()) {
        connect(button, &QPushButton::clicked, this, platform::Reported(platform_.dialogs, this, handler));
    };
    connectClick(ui->BitBtn3, &TFormHelp::BitBtn4Click);
    connectClick(ui->BitBtn4, &TFormHelp::BitBtn4Click);
    connectClick(ui->ButtonOptions, &TFormHelp::ButtonOptionsClick);
    connectClick(ui->ButtonMin, &TFormHelp::ButtonMinClick);
    connectClick(ui->Button3, &TFormHelp::ButtonMinClick);
    connectClick(ui->BitBtn6, &TFormHelp::BitBtn6Click);
    connectClick(ui->BitBtn7, &TFormHelp::BitBtn6Click);
    connectClick(ui->BitBtn1, &TFormHelp::BitBtn1Click);
    connectClick(ui->BitBtn2, &TFormHelp::BitBtn1Click);
    connectClick(ui->BitBtn5, &TFormHelp::BitBtn5Click);
    connectClick(ui->ButtonShowHelp, &TFormHelp::ButtonShowHelpClick);
    connectClick(ui->Button2, &TFormHelp::Button2Click);
    // A click on a tab selects it, as on any tab strip, and explains the tabs.
    connect(ui->TabSet1, &QTabBar::tabBarClicked, this,
            platform::Reported(platform_.dialogs, this, &TFormHelp::TabSet1Click));

    const std::pair<TClickLabel*, void (TFormHelp::*)()> labels[] = {
        {ui->Label1, &TFormHelp::Label1Click}, {ui->LabelN, &TFormHelp::LabelNClick},
        {ui->Label2, &TFormHelp::Label2Click}, {ui->Label8, &TFormHelp::Label2Click},
        {ui->Label3, &TFormHelp::Label3Click}, {ui->Label9, &TFormHelp::Label3Click}};
    for (const auto& [label, handler] : labels)
        connect(label, &TClickLabel::OnClick, this, platform::Reported(platform_.dialogs, this, handler));
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

void TFormHelp::ShowExplanation(help::HelpRegion region)
{
    ui->MemoHelp->hide();
    ui->LabelHelp->hide();
    ui->ButtonShowHelp->show();

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

void TFormHelp::Label1Click()
{
    ShowExplanation(help::HelpRegion::Clock);
}

void TFormHelp::BitBtn4Click()
{
    ShowExplanation(help::HelpRegion::Hands);
}

void TFormHelp::ButtonOptionsClick()
{
    ShowExplanation(help::HelpRegion::Options);
}

void TFormHelp::LabelNClick()
{
    ShowExplanation(help::HelpRegion::Notes);
}

void TFormHelp::ButtonMinClick()
{
    ShowExplanation(help::HelpRegion::Minimise);
}

void TFormHelp::BitBtn6Click()
{
    ShowExplanation(help::HelpRegion::Exit);
}

void TFormHelp::BitBtn1Click()
{
    ShowExplanation(help::HelpRegion::Arrows);
}

void TFormHelp::BitBtn5Click()
{
    ShowExplanation(help::HelpRegion::HelpButton);
}

void TFormHelp::TabSet1Click()
{
    ShowExplanation(help::HelpRegion::Tabs);
}

void TFormHelp::Label2Click()
{
    ShowExplanation(help::HelpRegion::LaunchAll);
}

void TFormHelp::Label3Click()
{
    ShowExplanation(help::HelpRegion::Param);
}

void TFormHelp::Shape4MouseDown(QWidget* sender, Qt::MouseButton button, QPoint position)
{
    if (button != Qt::RightButton) {
        ShowExplanation(help::HelpRegion::ButtonOtherPress);
        return;
    }
    ShowExplanation(help::HelpRegion::ButtonRightPress);
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
