#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TFormSplash;
}

// The window shown while the strip is being built: borderless, centred on the screen.
class TFormSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFormSplash(QSize screenSize);
    ~TFormSplash() override;

    // Shows the window painted at once, before the event loop runs.
    void showNow();

private:
    std::unique_ptr<Ui::TFormSplash> ui;
};
