#include "tray/KyTray95.h"

#include "doubles/FakeTray.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace {

using platform::NIM_ADD;
using platform::NIM_DELETE;
using platform::NIM_MODIFY;

QIcon SolidIcon(QColor color)
{
    QPixmap picture(32, 32);
    picture.fill(color);
    return QIcon(picture);
}

QRgb CentreOf(const QIcon& icon)
{
    return icon.pixmap(32, 32).toImage().pixel(16, 16);
}

class TrayIconTest : public ::testing::Test {
protected:
    doubles::TestTray tray;
    QMenu menu;
    std::vector<std::string> events;
    std::unique_ptr<TKyTrayIcon95> icon = std::make_unique<TKyTrayIcon95>(nullptr, tray.area, tray.timers);

    TrayIconTest()
    {
        icon->OnClick = [this](TKyTrayIcon95& sender) { Record(sender, "click"); };
        icon->OnDblClick = [this](TKyTrayIcon95& sender) { Record(sender, "double click"); };
        icon->OnAnimation = [this](TKyTrayIcon95& sender) { Record(sender, "animation"); };
        QObject::connect(&menu, &QMenu::aboutToShow, [this] { events.push_back("menu"); });
    }
    ~TrayIconTest() override { StateGuard = false; }

    void Record(TKyTrayIcon95& sender, const std::string& event)
    {
        EXPECT_EQ(&sender, icon.get());
        events.push_back(event);
    }
    void Send(std::intptr_t mouseMessage) { tray.area.Send(icon->MsgWindow().Handle(), mouseMessage); }
    const doubles::RecordingNotificationArea::Call& LastCall() const { return tray.area.calls.back(); }
};

// A burst of callbacks, each at a time after the first, and what the tray icon reports.
struct ClickCase {
    const char* name;
    std::vector<std::pair<int, std::intptr_t>> messages; // milliseconds after the first, lParam
    std::vector<std::string> reported;
};

void PrintTo(const ClickCase& c, std::ostream* out)
{
    *out << c.name;
}

class ClickTest : public TrayIconTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ClickTest, TellsClicksApartWhenTheDoubleClickTimeHasPassedSinceTheFirstPress)
{
    icon->SetAutoPopup(true);
    icon->SetPopupMenu(&menu);
    icon->SetActive(true);
    tray.area.doubleClickTime = 500;
    int at = 0;
    for (const auto& [time, message] : GetParam().messages) {
        tray.timers.Advance(time - at);
        at = time;
        Send(message);
    }
    tray.timers.Advance(499 - at);
    EXPECT_TRUE(events.empty()) << "reported before the double-click time had passed";
    tray.timers.Advance(1);
    EXPECT_EQ(events, GetParam().reported) << "not reported when the double-click time had passed";
    tray.timers.Advance(5000);
    EXPECT_EQ(events, GetParam().reported) << "reported again";
    EXPECT_FALSE(icon->MsgWindow().ClickTimerRunning());
}

using platform::WM_LBUTTONDBLCLK;
using platform::WM_LBUTTONDOWN;
using platform::WM_LBUTTONUP;
using platform::WM_MBUTTONDOWN;
using platform::WM_MOUSEMOVE;
using platform::WM_RBUTTONDBLCLK;
using platform::WM_RBUTTONDOWN;
using platform::WM_RBUTTONUP;

INSTANTIATE_TEST_SUITE_P(
    Bursts, ClickTest,
    ::testing::Values(
        ClickCase{"LeftClick", {{0, WM_LBUTTONDOWN}, {80, WM_LBUTTONUP}}, {"click"}},
        ClickCase{"LeftDoubleClick",
                  {{0, WM_LBUTTONDOWN}, {80, WM_LBUTTONUP}, {200, WM_LBUTTONDBLCLK}, {260, WM_LBUTTONUP}},
                  {"double click"}},
        ClickCase{"RightClickOpensTheMenu", {{0, WM_RBUTTONDOWN}, {80, WM_RBUTTONUP}}, {"menu"}},
        ClickCase{"RightDoubleClickOpensNoMenu", {{0, WM_RBUTTONDOWN}, {200, WM_RBUTTONDBLCLK}}, {"double click"}},
        ClickCase{
            "TripleClickIsAClick", {{0, WM_LBUTTONDOWN}, {150, WM_LBUTTONDBLCLK}, {300, WM_LBUTTONDOWN}}, {"click"}},
        ClickCase{"TripleClickEndingRightOpensTheMenu",
                  {{0, WM_LBUTTONDOWN}, {150, WM_LBUTTONDBLCLK}, {300, WM_RBUTTONDOWN}},
                  {"menu"}},
        // The second press does not restart the timer: one report, 500 ms after the first press.
        ClickCase{"TwoPressesAreOneClick", {{0, WM_LBUTTONDOWN}, {450, WM_LBUTTONDOWN}}, {"click"}},
        ClickCase{"MovesReleasesAndTheMiddleButtonAreIgnored",
                  {{0, WM_MOUSEMOVE}, {10, WM_LBUTTONUP}, {20, WM_RBUTTONUP}, {30, WM_MBUTTONDOWN}},
                  {}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(TrayIconTest, PressesAfterTheTimerFiredStartANewBurst)
{
    icon->SetActive(true);
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONDBLCLK);
    tray.timers.Advance(500);
    Send(WM_LBUTTONDOWN);
    tray.timers.Advance(499);
    EXPECT_EQ(events, std::vector<std::string>({"double click"}));
    tray.timers.Advance(1);
    EXPECT_EQ(events, std::vector<std::string>({"double click", "click"}));
}

TEST_F(TrayIconTest, OnlyTheIconsOwnCallbackMessageCounts)
{
    icon->SetActive(true);
    tray.area.Send(icon->MsgWindow().Handle(), WM_LBUTTONDOWN, 0x465);
    tray.timers.Advance(5000);
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayIconTest, RightClickWithoutAutoPopupOrMenuIsAClick)
{
    struct Case {
        bool autoPopup;
        QMenu* menu;
    };
    for (const Case& c : {Case{false, &menu}, Case{true, nullptr}, Case{false, nullptr}}) {
        events.clear();
        icon->SetAutoPopup(c.autoPopup);
        icon->SetPopupMenu(c.menu);
        Send(WM_RBUTTONDOWN);
        tray.timers.Advance(500);
        EXPECT_EQ(events, std::vector<std::string>({"click"})) << c.autoPopup << " " << c.menu;
    }
}

TEST_F(TrayIconTest, MenuOpensWhereThePointerIsWhenTheTimerFires)
{
    icon->SetAutoPopup(true);
    icon->SetPopupMenu(&menu);
    tray.area.cursor = QPoint(10, 10);
    Send(WM_RBUTTONDOWN);
    tray.area.cursor = QPoint(120, 90);
    tray.timers.Advance(500);
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), QPoint(120, 90));
    menu.hide();
}

TEST_F(TrayIconTest, MenuDestroyedElsewhereIsNoLongerOpened)
{
    icon->SetAutoPopup(true);
    auto owned = std::make_unique<QMenu>();
    icon->SetPopupMenu(owned.get());
    owned.reset();
    Send(WM_RBUTTONDOWN);
    tray.timers.Advance(500);
    EXPECT_EQ(events, std::vector<std::string>({"click"}));
}

// Hosts that draw the menu themselves get the one a right click would pop up, and none otherwise.
TEST_F(TrayIconTest, AreaIsGivenTheMenuARightClickWouldPopUp)
{
    icon->SetPopupMenu(&menu);
    icon->SetAutoPopup(true);
    EXPECT_TRUE(tray.area.offeredMenus.empty()) << "an inactive icon gives nothing";
    icon->SetActive(true);
    icon->SetPopupMenu(nullptr);
    icon->SetPopupMenu(&menu);
    icon->SetAutoPopup(false);
    EXPECT_EQ(tray.area.offeredMenus, std::vector<QMenu*>({&menu, nullptr, &menu, nullptr}));
}

TEST_F(TrayIconTest, ActivationAddsTheRecordOnceAndDestructionRemovesIt)
{
    const QIcon own = SolidIcon(Qt::green);
    icon->SetIcon(own);
    EXPECT_TRUE(tray.area.calls.empty()) << "an inactive icon sends nothing";
    icon->SetActive(true);
    icon->SetActive(true);
    ASSERT_EQ(tray.area.calls.size(), 1u);
    const platform::NotifyIconData added = LastCall().data; // a copy: the list of calls grows
    EXPECT_EQ(LastCall().message, NIM_ADD);
    EXPECT_EQ(added.hWnd, icon->MsgWindow().Handle());
    EXPECT_NE(added.hWnd, 0u);
    EXPECT_EQ(added.hIcon.cacheKey(), own.cacheKey());
    EXPECT_TRUE(added.szTip.isEmpty());

    const platform::WindowHandle window = icon->MsgWindow().Handle();
    icon.reset();
    ASSERT_EQ(tray.area.calls.size(), 2u);
    EXPECT_EQ(LastCall().message, NIM_DELETE);
    EXPECT_EQ(LastCall().data.uID, added.uID);
    EXPECT_FALSE(tray.area.WindowExists(window));
}

TEST_F(TrayIconTest, DeactivationRemovesOnceAndAnInactiveIconLeavesNothingBehind)
{
    icon->SetActive(false);
    EXPECT_TRUE(tray.area.calls.empty());
    icon->SetActive(true);
    icon->SetActive(false);
    icon->SetActive(false);
    EXPECT_EQ(tray.area.Count(NIM_ADD), 1u);
    EXPECT_EQ(tray.area.Count(NIM_DELETE), 1u);
    icon.reset();
    EXPECT_EQ(tray.area.calls.size(), 2u);
}

TEST_F(TrayIconTest, NewIconImageIsSentToAnActiveIcon)
{
    icon->SetActive(true);
    const QIcon red = SolidIcon(Qt::red);
    icon->SetIcon(red);
    EXPECT_EQ(LastCall().message, NIM_MODIFY);
    EXPECT_EQ(LastCall().data.hIcon.cacheKey(), red.cacheKey());
    EXPECT_EQ(LastCall().data.uFlags, 7u);
    // The disabled image is not the one shown in the enabled state.
    icon->SetDisabledIcon(SolidIcon(Qt::gray));
    EXPECT_EQ(LastCall().data.hIcon.cacheKey(), red.cacheKey());
}

TEST_F(TrayIconTest, TipIsTheHintCutTo63CharactersOrNothing)
{
    icon->SetActive(true);
    const QString hint(100, QLatin1Char('h'));
    icon->SetHint(hint);
    EXPECT_EQ(icon->Hint(), hint);
    EXPECT_EQ(LastCall().message, NIM_MODIFY);
    EXPECT_EQ(LastCall().data.szTip, QString(63, QLatin1Char('h')));

    icon->SetShowHint(false);
    EXPECT_TRUE(LastCall().data.szTip.isEmpty());
    const std::size_t calls = tray.area.calls.size();
    icon->SetHint(QStringLiteral("another"));
    EXPECT_EQ(tray.area.calls.size(), calls) << "a hint that is not shown sends nothing";
    EXPECT_TRUE(icon->Tip().isEmpty());

    icon->SetShowHint(true);
    EXPECT_EQ(LastCall().data.szTip, QStringLiteral("another"));
    icon->SetHint(QStringLiteral("another"));
    EXPECT_EQ(tray.area.calls.size(), calls + 1) << "the same hint again sends nothing";
}

TEST_F(TrayIconTest, TipNeverEndsInHalfACharacter)
{
    // 62 characters and then one outside the basic plane, which takes two UTF-16 units.
    const QString hint = QString(62, QLatin1Char('a')) + QString::fromUcs4(U"\U0001F600") + QStringLiteral("b");
    icon->SetHint(hint);
    EXPECT_EQ(icon->Tip(), QString(62, QLatin1Char('a')));
}

TEST_F(TrayIconTest, StateWritesThatChangeNothingRaiseNothing)
{
    int changing = 0;
    icon->OnStateChanging = [&](TKyTrayIcon95&, TKyTrayIconState&) { ++changing; };
    icon->SetDisabledIcon(SolidIcon(Qt::gray));

    icon->SetState(tsDisabled); // inactive: only recorded
    EXPECT_EQ(changing, 0);
    EXPECT_EQ(icon->State(), tsDisabled);
    EXPECT_TRUE(tray.area.calls.empty());
    icon->SetActive(true);
    EXPECT_EQ(CentreOf(LastCall().data.hIcon), QColor(Qt::gray).rgb()) << "activation shows the recorded state";

    const std::size_t calls = tray.area.calls.size();
    icon->SetState(tsDisabled);
    EXPECT_EQ(changing, 0);
    EXPECT_EQ(tray.area.calls.size(), calls);
}

TEST_F(TrayIconTest, StateChangingHandlerSeesAndMayChangeTheNewState)
{
    icon->SetIcon(SolidIcon(Qt::green));
    icon->SetDisabledIcon(SolidIcon(Qt::gray));
    icon->SetActive(true);
    std::vector<TKyTrayIconState> seen;
    icon->OnStateChanging = [&](TKyTrayIcon95& sender, TKyTrayIconState& state) {
        EXPECT_EQ(&sender, icon.get());
        seen.push_back(state);
        state = tsEnabled; // vetoes by asking for the state it has
    };
    const std::size_t calls = tray.area.calls.size();
    icon->SetState(tsDisabled);
    EXPECT_EQ(seen, std::vector<TKyTrayIconState>({tsDisabled}));
    EXPECT_EQ(icon->State(), tsEnabled);
    EXPECT_EQ(tray.area.calls.size(), calls);

    icon->OnStateChanging = [](TKyTrayIcon95&, TKyTrayIconState&) {};
    icon->SetState(tsDisabled);
    EXPECT_EQ(icon->State(), tsDisabled);
    EXPECT_EQ(LastCall().message, NIM_MODIFY);
    EXPECT_EQ(CentreOf(LastCall().data.hIcon), QColor(Qt::gray).rgb());
}

TEST_F(TrayIconTest, StateWrittenInsideOnStateChangingFailsAndKeepsTheOldState)
{
    icon->SetActive(true);
    TKyTrayIcon95 other(nullptr, tray.area, tray.timers);
    for (TKyTrayIcon95* target : {icon.get(), &other}) {
        icon->OnStateChanging = [&](TKyTrayIcon95&, TKyTrayIconState&) { target->SetState(tsAnimated); };
        try {
            icon->SetState(tsDisabled);
            ADD_FAILURE() << "no failure";
        } catch (const EInvalidOperation& error) {
            EXPECT_STREQ(error.what(), "You cannot modify the state property in the OnStateChanging event !!!");
        }
        EXPECT_FALSE(StateGuard);
        EXPECT_EQ(icon->State(), tsEnabled);
        EXPECT_EQ(other.State(), tsEnabled);
    }

    // A handler that fails in its own way clears the guard as well, and its failure goes on.
    icon->OnStateChanging = [](TKyTrayIcon95&, TKyTrayIconState&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(icon->SetState(tsDisabled), std::runtime_error);
    EXPECT_FALSE(StateGuard);

    icon->OnStateChanging = nullptr;
    icon->SetState(tsDisabled);
    EXPECT_EQ(icon->State(), tsDisabled);
}

class AnimationTest : public TrayIconTest {
protected:
    QTemporaryDir dir;

    // An icon file of one colour.
    QString Frame(const char* name, QColor color)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QImage picture(32, 32, QImage::Format_ARGB32);
        picture.fill(color);
        EXPECT_TRUE(picture.save(path, "PNG"));
        return path;
    }
    std::size_t Modifies() const { return tray.area.Count(NIM_MODIFY); }
};

TEST_F(AnimationTest, WithoutFramesEveryTickStillRaisesOnAnimationAndSendsTheImageAgain)
{
    const QIcon own = SolidIcon(Qt::green);
    icon->SetIcon(own);
    icon->SetActive(true);
    icon->SetState(tsAnimated);
    EXPECT_EQ(events, std::vector<std::string>({"animation"})) << "the first frame is shown at once";
    const std::size_t modifies = Modifies();
    tray.timers.Advance(3000);
    EXPECT_EQ(events.size(), 4u);
    EXPECT_EQ(Modifies(), modifies + 3);
    EXPECT_EQ(LastCall().data.hIcon.cacheKey(), own.cacheKey());
    EXPECT_EQ(icon->Animation().FrameIndex(), 0);
}

TEST_F(AnimationTest, FramesRunInTurnAndAFileThatCannotBeReadIsPassedOver)
{
    const QStringList frames = {Frame("0.png", Qt::red), dir.filePath("missing.ico"), Frame("2.png", Qt::blue)};
    icon->Animation().SetIcons(frames);
    icon->Animation().SetInterval(100);
    icon->SetState(tsAnimated); // inactive: the animation waits for activation
    EXPECT_FALSE(icon->Animation().Running());
    icon->SetActive(true);
    EXPECT_TRUE(icon->Animation().Running());

    std::vector<QRgb> shown{CentreOf(LastCall().data.hIcon)};
    for (int tick = 0; tick < 4; ++tick) {
        tray.timers.Advance(100);
        shown.push_back(CentreOf(LastCall().data.hIcon));
    }
    const QRgb red = QColor(Qt::red).rgb(), blue = QColor(Qt::blue).rgb();
    // Activation shows frame 0 at once; frame 1 cannot be read, so the red of frame 0 stays in
    // its place on every round.
    EXPECT_EQ(shown, std::vector<QRgb>({red, red, blue, red, red}));
    EXPECT_EQ(events.size(), 5u);
}

TEST_F(AnimationTest, NewIntervalRestartsAtTheFirstFrameAndNewFramesStartFromTheFirst)
{
    icon->Animation().SetIcons({Frame("0.png", Qt::red), Frame("1.png", Qt::green), Frame("2.png", Qt::blue)});
    icon->SetActive(true);
    icon->SetState(tsAnimated);
    tray.timers.Advance(1000);
    EXPECT_EQ(icon->Animation().FrameIndex(), 2);

    icon->Animation().SetInterval(250);
    EXPECT_EQ(CentreOf(LastCall().data.hIcon), QColor(Qt::red).rgb()) << "frame 0 is shown at once";
    EXPECT_EQ(icon->Animation().FrameIndex(), 1);
    const std::size_t modifies = Modifies();
    tray.timers.Advance(249);
    EXPECT_EQ(Modifies(), modifies);
    tray.timers.Advance(1);
    EXPECT_EQ(CentreOf(LastCall().data.hIcon), QColor(Qt::green).rgb());

    icon->Animation().SetIcons({Frame("a.png", Qt::yellow), Frame("b.png", Qt::cyan)});
    EXPECT_EQ(icon->Animation().FrameIndex(), 0);
    tray.timers.Advance(250);
    EXPECT_EQ(CentreOf(LastCall().data.hIcon), QColor(Qt::yellow).rgb());

    icon->Animation().SetInterval(250);
    EXPECT_EQ(icon->Animation().FrameIndex(), 1) << "the same interval again restarts nothing";
}

TEST_F(AnimationTest, TimerLivesOnlyWhileActiveAndAnimated)
{
    icon->SetActive(true);
    icon->SetState(tsAnimated);
    const std::size_t clickTimerOnly = 1;
    EXPECT_EQ(tray.timers.Count(), clickTimerOnly + 1);
    icon->SetState(tsEnabled);
    EXPECT_EQ(tray.timers.Count(), clickTimerOnly);
    icon->SetState(tsAnimated);
    icon->SetActive(false);
    EXPECT_EQ(tray.timers.Count(), clickTimerOnly);
    events.clear();
    tray.timers.Advance(5000);
    EXPECT_TRUE(events.empty());
}

TEST_F(AnimationTest, OnAnimationMayEndTheAnimation)
{
    icon->SetIcon(SolidIcon(Qt::green));
    icon->SetActive(true);
    icon->SetState(tsAnimated);
    icon->OnAnimation = [this](TKyTrayIcon95& sender) {
        events.push_back("animation");
        sender.SetState(tsEnabled);
    };
    tray.timers.Advance(1000);
    EXPECT_EQ(icon->State(), tsEnabled);
    EXPECT_FALSE(icon->Animation().Running());
    EXPECT_EQ(CentreOf(LastCall().data.hIcon), QColor(Qt::green).rgb());
    tray.timers.Advance(5000);
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(AnimationTest, ResourceFramesThatDoNotExistGiveAnEmptyIcon)
{
    icon->SetIcon(SolidIcon(Qt::green));
    icon->Animation().SetOptions(aoIconsInExe);
    icon->Animation().SetIcons({QStringLiteral("no-such-icon"), QString(300, QLatin1Char('x'))});
    icon->SetActive(true);
    icon->SetState(tsAnimated);
    EXPECT_TRUE(LastCall().data.hIcon.isNull());
    tray.timers.Advance(1000);
    EXPECT_TRUE(LastCall().data.hIcon.isNull());
}

} // namespace
