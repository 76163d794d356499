#include "exebtn/ExeBtn.h"

#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class ExeBtnTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    QWidget window;
    TExeBtn* button = nullptr;
    std::string iconFile;

    ExeBtnTest()
    {
        iconFile = env.path("tool");
        env.write("tool", "#!/bin/sh\n");
        env.icons.icons[iconFile] = doubles::FakeIcons::Solid(Qt::red);
        window.resize(200, 200);
        button = new TExeBtn(env.platform(), &window);
        window.show();
    }

    void ShowIconAt(QSize size, double zoom = 1.0)
    {
        button->resize(size);
        button->SetExeIconZoom(zoom);
        button->SetExeIconFile(iconFile);
    }
    QRect ImageGeometry() const { return button->Image()->geometry(); }
};

TEST_F(ExeBtnTest, StartsAsARaisedFortyPixelPanelWithDefaultSettings)
{
    EXPECT_EQ(button->size(), QSize(40, 40));
    EXPECT_EQ(ImageGeometry(), QRect(3, 3, 100, 100));
    EXPECT_FALSE(button->Image()->isEnabled());
    EXPECT_EQ(button->BevelOuter(), TPanelBevel::bvRaised);
    EXPECT_EQ(button->BevelWidth(), 1);
    EXPECT_EQ(button->BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_EQ(button->ExeIconIndex(), 0);
    EXPECT_EQ(button->ExeIconZoom(), 1.0);
    EXPECT_EQ(button->ExeShowCmd(), TShowCmd::scNormal);
    EXPECT_EQ(button->Language(), TLanguage::english);
    EXPECT_FALSE(button->ExecAndWait());
    EXPECT_FALSE(button->ExeOneInstance());
    EXPECT_TRUE(button->ExeFile().empty() && button->ExeIconFile().empty());
}

TEST_F(ExeBtnTest, SlotButtonShowsAThirtyTwoByThirtyImage)
{
    ShowIconAt(QSize(37, 36));
    EXPECT_EQ(ImageGeometry(), QRect(2, 3, 32, 30));
    EXPECT_EQ(button->RestingPosition(), QPoint(2, 3));
}

TEST_F(ExeBtnTest, ZoomSizesTheImageFromTheRoundedSize)
{
    ShowIconAt(QSize(37, 36), 0.75);
    EXPECT_EQ(ImageGeometry(), QRect(6, 6, 24, 24));

    // 1.005 is too close to 1 to scale, but the size still comes from 32.
    ShowIconAt(QSize(40, 40), 1.005);
    EXPECT_EQ(ImageGeometry().size(), QSize(32, 32));
    EXPECT_EQ(button->Picture().pixelColor(31, 31), QColor(Qt::blue));
}

TEST_F(ExeBtnTest, ZoomRoundsHalvesToEvenAndWipesTheTruncatedSize)
{
    const struct {
        double zoom;
        int scaled;
        int wiped;
    } cases[] = {{0.765625, 24, 24}, {0.796875, 26, 25}};
    for (const auto& c : cases) {
        TExeBtn fresh(env.platform(), &window);
        fresh.SetExeIconZoom(c.zoom);
        fresh.SetExeIconFile(iconFile);
        EXPECT_EQ(fresh.Image()->size(), QSize(c.scaled, c.scaled)) << c.zoom;
        const QImage picture = fresh.Picture();
        EXPECT_EQ(picture.size(), QSize(100, 100)) << "made at the child's first size";
        EXPECT_EQ(picture.pixelColor(c.wiped + 1, c.wiped + 1), fresh.palette().color(QPalette::Button)) << c.zoom;
        EXPECT_EQ(picture.pixelColor(c.wiped + 2, c.wiped + 2), QColor(Qt::white)) << c.zoom;
    }
}

TEST_F(ExeBtnTest, TheChildShowsItsPictureAndEarlierLargerIconsLeaveTheirEdges)
{
    env.write("other", "#!/bin/sh\n");
    env.icons.icons[env.path("other")] = doubles::FakeIcons::Solid(Qt::blue);
    button->resize(120, 120);
    const struct {
        std::string file;
        double zoom;
    } steps[] = {{iconFile, 0.5}, {iconFile, 2.0}, {env.path("other"), 0.5}, {env.path("other"), 3.0}, {iconFile, 1.0}};
    for (const auto& step : steps) {
        button->SetExeIconZoom(step.zoom);
        button->SetExeIconFile(step.file);
        const QImage shown = button->grab(button->Image()->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage expected =
            button->Picture().copy(QRect(QPoint(), shown.size())).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, expected) << step.zoom;
    }
    const QImage picture = button->Picture();
    EXPECT_EQ(picture.size(), QSize(100, 100));
    EXPECT_EQ(picture.pixelColor(20, 20), QColor(Qt::red));
    EXPECT_EQ(picture.pixelColor(60, 60), QColor(Qt::blue)) << "left from the zoom of 3";
    EXPECT_EQ(picture.pixelColor(99, 99), QColor(Qt::white));
}

TEST_F(ExeBtnTest, ExeFileLendsItsIconOnlyToAButtonWithoutIconFile)
{
    button->SetExeFile(iconFile);
    EXPECT_EQ(button->ExeIconFile(), iconFile);
    ASSERT_FALSE(env.icons.extracted.empty());
    EXPECT_EQ(env.icons.extracted.back(), std::make_pair(iconFile, 0));

    env.icons.extracted.clear();
    env.write("other", "x");
    button->SetExeFile(env.path("other"));
    EXPECT_EQ(button->ExeIconFile(), iconFile);
    EXPECT_TRUE(env.icons.extracted.empty());

    TExeBtn fresh(env.platform(), &window);
    fresh.SetExeFile(env.path("missing"));
    EXPECT_EQ(fresh.ExeFile(), env.path("missing"));
    EXPECT_TRUE(fresh.ExeIconFile().empty());
}

TEST_F(ExeBtnTest, MissingIconFileShowsTheProgramsOwnIconButKeepsItsName)
{
    env.write("stackle", "program");
    env.icons.icons[env.path("stackle")] = doubles::FakeIcons::Solid(Qt::green);
    button->SetExeIconFile(env.path("gone.ico"));
    EXPECT_EQ(env.icons.extracted.back().first, env.path("stackle"));
    EXPECT_EQ(button->ExeIconFile(), env.path("gone.ico"));
    EXPECT_EQ(button->Picture().pixelColor(5, 5), QColor(Qt::green));
}

TEST_F(ExeBtnTest, FileWithoutIconKeepsThePreviousPictureAndSize)
{
    ShowIconAt(QSize(37, 36));
    env.write("notes.txt", "text");
    button->SetExeIconFile(env.path("notes.txt"));
    EXPECT_EQ(ImageGeometry(), QRect(2, 3, 32, 30));
    EXPECT_EQ(button->Picture().pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(button->ExeIconFile(), env.path("notes.txt"));
}

TEST_F(ExeBtnTest, BorderStyleAloneDoesNotRepaint)
{
    QCoreApplication::processEvents();
    PaintCounter counter;
    button->installEventFilter(&counter);
    button->SetBorderStyle(TBorderStyle::bsNone);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(button->BorderStyle(), TBorderStyle::bsNone);
    button->SetExeIconFile(iconFile);
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
}

TEST_F(ExeBtnTest, PaintsOutlineBevelAndIcon)
{
    ShowIconAt(QSize(37, 36));
    const QRgb light = button->palette().color(QPalette::Light).rgb();
    const QRgb dark = button->palette().color(QPalette::Dark).rgb();
    QImage look = button->grab().toImage();
    EXPECT_EQ(look.pixel(0, 0), QColor(Qt::black).rgb());
    EXPECT_EQ(look.pixel(36, 35), QColor(Qt::black).rgb());
    EXPECT_EQ(look.pixel(1, 1), light);
    EXPECT_EQ(look.pixel(1, 20), light);
    EXPECT_EQ(look.pixel(35, 1), dark);
    EXPECT_EQ(look.pixel(1, 34), dark);
    EXPECT_EQ(look.pixel(2 + 10, 3 + 10), QColor(Qt::red).rgb());

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    look = button->grab().toImage();
    EXPECT_EQ(look.pixel(1, 1), dark);
    EXPECT_EQ(look.pixel(35, 1), light);
    EXPECT_EQ(ImageGeometry().topLeft(), QPoint(3, 4));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
}

TEST_F(ExeBtnTest, ClickStartsTheFileWithTheButtonsSettings)
{
    button->SetExeFile("/opt/tool/run");
    button->SetExeParams("a b.txt");
    button->SetExePath("/work");
    button->SetExeShowCmd(TShowCmd::scMaximize);
    std::vector<std::string> order;
    QObject::connect(button, &TExeBtn::OnMouseDown, [&] { order.push_back("down"); });
    QObject::connect(button, &TExeBtn::OnClick, [&] {
        order.push_back(button->BevelOuter() == TPanelBevel::bvRaised ? "click raised" : "click lowered");
    });
    QObject::connect(button, &TExeBtn::OnMouseUp, [&] { order.push_back("up"); });

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));

    EXPECT_EQ(order, (std::vector<std::string>{"down", "click raised", "up"}));
    ASSERT_EQ(env.shell.starts.size(), 1u);
    EXPECT_EQ(env.shell.starts[0].file, "/opt/tool/run");
    EXPECT_EQ(env.shell.starts[0].parameters, "a b.txt");
    EXPECT_EQ(env.shell.starts[0].directory, "/work");
    EXPECT_EQ(env.shell.starts[0].showValue, 3);
}

TEST_F(ExeBtnTest, ReleasingOutsideStartsNothingAndEndsRaised)
{
    button->SetExeFile("/opt/tool/run");
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button->BevelOuter(), TPanelBevel::bvLowered);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_TRUE(env.shell.starts.empty());
    EXPECT_EQ(button->BevelOuter(), TPanelBevel::bvRaised);
    EXPECT_EQ(ImageGeometry().topLeft(), button->RestingPosition());
}

TEST_F(ExeBtnTest, DoubleClickStartsOnce)
{
    button->SetExeFile("/opt/tool/run");
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    // QTest delivers only the double-click event itself; the first click comes before it.
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(env.shell.starts.empty());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(env.shell.starts.size(), 1u);
}

TEST_F(ExeBtnTest, RightPressOnlyReportsThePress)
{
    button->SetExeFile("/opt/tool/run");
    Qt::MouseButton pressed = Qt::NoButton;
    QPoint at;
    QObject::connect(button, &TExeBtn::OnMouseDown,
                     [&](TExeBtn*, Qt::MouseButton which, Qt::KeyboardModifiers, int x, int y) {
                         pressed = which;
                         at = QPoint(x, y);
                     });
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(7, 9));
    EXPECT_EQ(pressed, Qt::RightButton);
    EXPECT_EQ(at, QPoint(7, 9));
    EXPECT_EQ(button->BevelOuter(), TPanelBevel::bvRaised);
    EXPECT_TRUE(env.shell.starts.empty());
}

// Screen readers know the button by its file, also after the file changes. Its press action
// clicks the button, but only once the screen reader has had its answer, since a failed start
// shows a modal message.
TEST_F(ExeBtnTest, ScreenReadersFollowTheFileAndPressLater)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    button->SetExeFile("/opt/tool/run");
    EXPECT_EQ(accessible->text(QAccessible::Name), "run");
    EXPECT_EQ(accessible->text(QAccessible::Description), "/opt/tool/run");

    env.shell.result = 2; // file not found
    int clicks = 0;
    QObject::connect(button, &TExeBtn::OnClick, [&] { ++clicks; });
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(env.shell.starts.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(env.shell.starts.size(), 1u);
    EXPECT_EQ(env.dialogs.messages.size(), 1u);
}

TEST_F(ExeBtnTest, HiddenButtonStartsThroughLaunch)
{
    button->hide();
    button->SetExeFile("/data/report.txt");
    button->Launch();
    ASSERT_EQ(env.shell.starts.size(), 1u);
    EXPECT_EQ(env.shell.starts[0].directory, "/data/");
}

} // namespace
