#pragma once

#include "app/StripHost.h"
#include "platform/Platform.h"

#include <memory>

class TForm1;
class TFormHelp;

// The program as a whole: it owns the strip for the whole run, opens the other windows when the
// strip asks for them, and ends the run when the strip is left.
class TStackle final : public TStripHost {
public:
    // Builds the strip, which runs the whole start-up.
    explicit TStackle(const platform::Platform& platform);
    ~TStackle() override;

    TForm1& Strip() { return *strip_; }

    void Quit() override;
    QWidget* ShowHelp() override;

private:
    platform::Platform platform_;
    std::unique_ptr<TFormHelp> help_; // the last help window opened, shown or closed
    std::unique_ptr<TForm1> strip_;
};
