#include "exebtn/ExeBtn.h"

#include "exebtn/ExeBtnAccessible.h"

#include "platform/IconSource.h"
#include "platform/ProgramLocation.h"
#include "platform/files/Paths.h"
#include "platform/session/ErrorReport.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

// The picture child of a launcher button. Its picture is made at its first drawing, with the
// child's size at that moment, and never resized: the child shows it from its top-left corner,
// cut off at its own size. Only the top-left part drawn on so far is kept in memory; the rest
// of the picture is still the white it was made with.
class TExeImage : public QWidget {
public:
    explicit TExeImage(QWidget* parent)
        : QWidget(parent)
    {
    }

    // The whole picture; null before its first drawing.
    QImage Picture() const
    {
        if (extent_.isEmpty())
            return {};
        QImage picture(extent_, Format);
        picture.fill(Qt::white);
        QPainter(&picture).drawImage(0, 0, drawn_);
        return picture;
    }

    // The picture to draw on, holding at least its top-left square of the given side.
    QImage& PictureToDraw(int side)
    {
        if (extent_.isEmpty())
            extent_ = size();
        const QSize needed = QSize(side, side).boundedTo(extent_).expandedTo(drawn_.size());
        if (needed != drawn_.size()) {
            QImage grown(needed, Format);
            grown.fill(Qt::white);
            QPainter(&grown).drawImage(0, 0, drawn_);
            drawn_ = std::move(grown);
        }
        return drawn_;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (extent_.isEmpty())
            return;
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), extent_), Qt::white);
        painter.drawImage(0, 0, drawn_);
    }

private:
    static constexpr QImage::Format Format = QImage::Format_ARGB32_Premultiplied;
    QSize extent_;
    QImage drawn_;
};

namespace {

// One frame of rings, top and left in one colour, bottom and right in another; rect shrinks
// by one pixel on every side per ring. The right and bottom edges are the rect's last pixels.
void Frame3D(QPainter& painter, QRect& rect, const QColor& topColor, const QColor& bottomColor, int rings)
{
    for (int i = 0; i < rings; ++i) {
        const int left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
        painter.setPen(topColor);
        painter.drawLine(left, bottom, left, top);
        painter.drawLine(left, top, right - 1, top);
        painter.setPen(bottomColor);
        painter.drawLine(right, top, right, bottom);
        painter.drawLine(right, bottom, left, bottom);
        rect.adjust(1, 1, -1, -1);
    }
}

void Bevel(QPainter& painter, QRect& rect, TPanelBevel bevel, int width, const QPalette& palette)
{
    const QColor highlight = palette.color(QPalette::Light);
    const QColor shadow = palette.color(QPalette::Dark);
    if (bevel == TPanelBevel::bvRaised)
        Frame3D(painter, rect, highlight, shadow, width);
    else if (bevel == TPanelBevel::bvLowered)
        Frame3D(painter, rect, shadow, highlight, width);
}

} // namespace

TExeBtn::TExeBtn(const platform::Platform& platform, QWidget* parent)
    : QWidget(parent)
    , platform_(platform)
    , image_(new TExeImage(this))
{
    InstallExeBtnAccessibility();
    // The picture never takes the mouse: every press over it reaches the button.
    image_->setGeometry(3, 3, 100, 100);
    image_->setEnabled(false);
    image_->setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(40, 40);
    resizedFor_ = size();
}

TExeBtn::~TExeBtn() = default;

const QWidget* TExeBtn::Image() const
{
    return image_;
}

QImage TExeBtn::Picture() const
{
    return image_->Picture();
}

QColor TExeBtn::ButtonColor() const
{
    return palette().color(QPalette::Button);
}

void TExeBtn::SetExeFile(const std::string& file)
{
    settings_.ExeFile = file;
    // Screen readers know the button by its file's name and full path: tell them of the change.
    for (const QAccessible::Event change : {QAccessible::NameChanged, QAccessible::DescriptionChanged}) {
        QAccessibleEvent event(this, change);
        QAccessible::updateAccessibility(&event);
    }
    if (iconFile_.empty() && platform::FileExists(file))
        SetExeIconFile(file);
}

void TExeBtn::SetExeIconFile(const std::string& file)
{
    iconFile_ = file;
    IconChanged();
}

void TExeBtn::SetExeIconIndex(int index)
{
    iconIndex_ = index;
    IconChanged();
}

void TExeBtn::SetExeIconZoom(double zoom)
{
    iconZoom_ = zoom;
    IconChanged();
}

void TExeBtn::SetBevelWidth(int width)
{
    bevelWidth_ = width;
    update();
}

void TExeBtn::SetFocusFrame(bool shown)
{
    focusFrame_ = shown;
    update();
}

void TExeBtn::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TExeBtn::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TExeBtn::IconChanged()
{
    ResizeStep();
    repaint();
}

void TExeBtn::LoadExeIcon(const std::string& file)
{
    // Without an icon file of its own the button shows the program's own icon.
    std::string source = file;
    if (source.empty() || !platform::FileExists(source))
        source = platform_.location.ProgramFile();
    if (platform::FileExists(source))
        icon_ = platform_.icons.ExtractIcon(source, iconIndex_);

    if (icon_) {
        const int scaled = int(std::nearbyint(iconZoom_ * 32)); // halves go to the even neighbour
        const int wiped = int(32 * iconZoom_);
        QPainter painter(&image_->PictureToDraw(std::max({wiped + 2, scaled, 1})));
        painter.fillRect(0, 0, wiped + 2, wiped + 2, ButtonColor());
        if (std::abs(iconZoom_ - 1.0) > 0.01)
            painter.drawImage(QRect(0, 0, scaled, scaled), *icon_);
        else
            painter.drawImage(0, 0, *icon_);

        const int frame = 2 * bevelWidth_ + (borderStyle_ == TBorderStyle::bsSingle ? 2 : 0);
        const int availableHeight = height() - frame;
        const int availableWidth = width() - frame;
        image_->resize(availableWidth > scaled ? scaled : availableWidth - 2,
                       availableHeight > scaled ? scaled : availableHeight - 2);
    }
    iconFile_ = file;
}

void TExeBtn::ResizeStep()
{
    resizedFor_ = size();
    LoadExeIcon(iconFile_);
    restingTop_ = int((height() - image_->height()) * 0.5);
    restingLeft_ = int((width() - image_->width()) * 0.5);
    image_->move(restingLeft_, restingTop_);
    update();
    emit OnResize();
}

void TExeBtn::resizeEvent(QResizeEvent*)
{
    // Qt delivers a resize also when a laid-out widget is first shown; only a new size counts.
    if (size() != resizedFor_)
        ResizeStep();
}

void TExeBtn::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect rect = this->rect();
    if (borderStyle_ == TBorderStyle::bsSingle) {
        painter.setPen(Qt::black);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        rect.adjust(1, 1, -1, -1);
    }
    Bevel(painter, rect, bevelOuter_, bevelWidth_, palette());
    Frame3D(painter, rect, ButtonColor(), ButtonColor(), borderWidth_);
    Bevel(painter, rect, bevelInner_, bevelWidth_, palette());
    painter.fillRect(rect, ButtonColor());
    // Over the bevel, around the icon, which begins further in.
    if (focusFrame_ && hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(this->rect().adjusted(2, 2, -2, -2));
    }
}

void TExeBtn::Press(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = true;
        bevelOuter_ = TPanelBevel::bvLowered;
        image_->move(restingLeft_ + 1, restingTop_ + 1);
        update();
    }
    const QPoint at = event->position().toPoint();
    emit OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TExeBtn::mousePressEvent(QMouseEvent* event)
{
    doubleClicking_ = false;
    Press(event);
}

void TExeBtn::mouseDoubleClickEvent(QMouseEvent* event)
{
    doubleClicking_ = event->button() == Qt::LeftButton;
    Press(event);
}

void TExeBtn::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        if (rect().contains(at) && !doubleClicking_)
            Click();
        bevelOuter_ = TPanelBevel::bvRaised;
        image_->move(restingLeft_, restingTop_);
        update();
    }
    emit OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TExeBtn::Click()
{
    RaisedLook();
    emit OnClick();
    platform::ReportFailure(platform_.dialogs, [this] { Launch(); });
}

void TExeBtn::RaisedLook()
{
    bevelOuter_ = TPanelBevel::bvRaised;
    image_->move(restingLeft_, restingTop_);
    repaint();
}

void TExeBtn::Launch()
{
    StartFile(
        settings_, [this] { RaisedLook(); }, platform_);
}
