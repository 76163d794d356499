#pragma once

#include <memory>

class QWidget;
namespace Ui {
class TForm1;
}

// The strip's controls from its Designer file, in the strip's fonts and with its pictures, before
// anything of the program is applied to them.
std::unique_ptr<Ui::TForm1> SetUpStripForm(QWidget& form);
