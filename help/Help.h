#pragma once

#include "help/HelpText.h"
#include "platform/Platform.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TFormHelp;
}
class QMenu;

// The help window: a yellow guide to Stackle in a memo, and a picture of the strip built from
// ordinary controls whose every part, when clicked, explains itself in the four help labels
// below it. Nothing in the picture carries out a real action. Closing the window only hides it.
class TFormHelp : public QWidget {
    Q_OBJECT
public:
    explicit TFormHelp(const platform::Platform& platform);
    ~TFormHelp() override;

    // A click on a region of the picture shows its explanation instead of the memo; the
    // regions and the controls that make them up are one table in Help.cpp.
    void ShowExplanation(help::HelpRegion region);
    // A press on a launcher button of the picture, its square or its "none" label; position is
    // where in the pressed control. The right button also opens the picture's pop-up menu.
    void Shape4MouseDown(QWidget* sender, Qt::MouseButton button, QPoint position);

    // Brings the memo back over the help labels.
    void ButtonShowHelpClick();
    void Button2Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape closes the window as "E&xit" does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetFonts();
    void SetArtwork();
    void ConnectHandlers();

    platform::Platform platform_;
    std::unique_ptr<Ui::TFormHelp> ui;
    QMenu* PopupMenu1; // the picture's pop-up menu of a launcher button
};
