#include "platform/keys/KeySymbols.h"

#include <QChar>

#include <array>

namespace platform {

namespace {

struct NamedKey {
    int qtKey;
    std::uint32_t code;
    const char* name;
};
constexpr std::array NamedKeys = {
    NamedKey{Qt::Key_Space, 0x0020, "space"},
    NamedKey{Qt::Key_Return, 0xff0d, "Return"},
    NamedKey{Qt::Key_Enter, 0xff8d, "KP_Enter"},
    NamedKey{Qt::Key_Escape, 0xff1b, "Escape"},
    NamedKey{Qt::Key_Tab, 0xff09, "Tab"},
    NamedKey{Qt::Key_Backspace, 0xff08, "BackSpace"},
    NamedKey{Qt::Key_Insert, 0xff63, "Insert"},
    NamedKey{Qt::Key_Delete, 0xffff, "Delete"},
    NamedKey{Qt::Key_Home, 0xff50, "Home"},
    NamedKey{Qt::Key_End, 0xff57, "End"},
    NamedKey{Qt::Key_PageUp, 0xff55, "Page_Up"},
    NamedKey{Qt::Key_PageDown, 0xff56, "Page_Down"},
    NamedKey{Qt::Key_Left, 0xff51, "Left"},
    NamedKey{Qt::Key_Up, 0xff52, "Up"},
    NamedKey{Qt::Key_Right, 0xff53, "Right"},
    NamedKey{Qt::Key_Down, 0xff54, "Down"},
    NamedKey{Qt::Key_Print, 0xff61, "Print"},
    NamedKey{Qt::Key_Pause, 0xff13, "Pause"},
    NamedKey{Qt::Key_Menu, 0xff67, "Menu"},
    NamedKey{Qt::Key_Minus, 0x002d, "minus"},
    NamedKey{Qt::Key_Equal, 0x003d, "equal"},
    NamedKey{Qt::Key_Comma, 0x002c, "comma"},
    NamedKey{Qt::Key_Period, 0x002e, "period"},
    NamedKey{Qt::Key_Slash, 0x002f, "slash"},
    NamedKey{Qt::Key_Semicolon, 0x003b, "semicolon"},
    NamedKey{Qt::Key_Apostrophe, 0x0027, "apostrophe"},
    NamedKey{Qt::Key_BracketLeft, 0x005b, "bracketleft"},
    NamedKey{Qt::Key_BracketRight, 0x005d, "bracketright"},
    NamedKey{Qt::Key_Backslash, 0x005c, "backslash"},
    NamedKey{Qt::Key_QuoteLeft, 0x0060, "grave"},
};

constexpr std::uint32_t FirstFunctionKey = 0xffbe; // F1

} // namespace

std::optional<KeySymbol> KeySymbolOf(int qtKey)
{
    for (const NamedKey& named : NamedKeys)
        if (named.qtKey == qtKey)
            return KeySymbol{named.code, QString::fromLatin1(named.name)};
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        const QChar symbol = QChar(qtKey).toLower(); // the key's own symbol, not its shifted one
        return KeySymbol{symbol.unicode(), QString(symbol)};
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F35)
        return KeySymbol{FirstFunctionKey + std::uint32_t(qtKey - Qt::Key_F1),
                         QStringLiteral("F%1").arg(qtKey - Qt::Key_F1 + 1)};
    // The rest of Latin-1's printable characters are their own symbols.
    if ((qtKey > 0x20 && qtKey < 0x7f) || (qtKey >= 0xa0 && qtKey <= 0xff))
        return KeySymbol{std::uint32_t(QChar(qtKey).toLower().unicode()), QString()};
    return std::nullopt;
}

} // namespace platform
