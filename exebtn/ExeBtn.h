#pragma once

#include "exebtn/StartFile.h"
#include "platform/Platform.h"

#include <QImage>
#include <QWidget>

#include <optional>

// Whether a launcher button has a one-pixel black outline.
enum class TBorderStyle : std::uint8_t { bsSingle, bsNone };

// The look of a bevel ring.
enum class TPanelBevel : std::uint8_t { bvNone, bvLowered, bvRaised };

class TExeImage;

// The launcher button: a square of the button-face colour that shows its icon file's icon,
// looks pressed while the left mouse button is held on it, and starts its file on a click.
class TExeBtn : public QWidget {
    Q_OBJECT
public:
    explicit TExeBtn(const platform::Platform& platform, QWidget* parent = nullptr);
    ~TExeBtn() override;

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style) { borderStyle_ = style; }
    const std::string& ExeFile() const { return settings_.ExeFile; }
    void SetExeFile(const std::string& file);
    const std::string& ExeIconFile() const { return iconFile_; }
    void SetExeIconFile(const std::string& file);
    int ExeIconIndex() const { return iconIndex_; }
    void SetExeIconIndex(int index);
    double ExeIconZoom() const { return iconZoom_; }
    void SetExeIconZoom(double zoom);
    const std::string& ExePath() const { return settings_.ExePath; }
    void SetExePath(const std::string& path) { settings_.ExePath = path; }
    const std::string& ExeParams() const { return settings_.ExeParams; }
    void SetExeParams(const std::string& parameters) { settings_.ExeParams = parameters; }
    TShowCmd ExeShowCmd() const { return settings_.ExeShowCmd; }
    void SetExeShowCmd(TShowCmd command) { settings_.ExeShowCmd = command; }
    bool ExecAndWait() const { return settings_.ExecAndWait; }
    bool ExeOneInstance() const { return settings_.ExeOneInstance; }
    TLanguage Language() const { return settings_.Language; }
    int BevelWidth() const { return bevelWidth_; }
    // Whether the button shows a frame while it has the keyboard focus: only while keys are used.
    void SetFocusFrame(bool shown);
    void SetBevelWidth(int width);

    TPanelBevel BevelOuter() const { return bevelOuter_; }
    // The picture child that shows the icon, its picture, and its position while the button
    // is up.
    const QWidget* Image() const;
    QImage Picture() const;
    QPoint RestingPosition() const { return {restingLeft_, restingTop_}; }

    // Starts the file with the button's start settings.
    void Launch();
    // What a left click on the button does: the raised look, OnClick, then the start, whose
    // failure is reported.
    void Click();

signals:
    void OnClick();
    void OnMouseDown(TExeBtn* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(TExeBtn* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnResize();
    // Something outside the program (a screen reader) asks for the button's file: a button whose
    // owner gives it its files only when it is first shown takes them now.
    void OnFileWanted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void LoadExeIcon(const std::string& file);
    void ResizeStep();
    void IconChanged();
    void Press(QMouseEvent* event);
    void RaisedLook();
    QColor ButtonColor() const;

    platform::Platform platform_;
    TStartSettings settings_;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    std::string iconFile_;
    int iconIndex_ = 0;
    double iconZoom_ = 1.0;
    int bevelWidth_ = 1;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    int borderWidth_ = 0;
    TExeImage* image_;
    int restingTop_ = 3;
    int restingLeft_ = 3;
    std::optional<QImage> icon_;
    QSize resizedFor_; // the size the last resize step laid the icon out for
    bool leftPressed_ = false; // the left button went down on the button
    bool doubleClicking_ = false; // the press was the second of a double click: no click
    bool focusFrame_ = false;
};
