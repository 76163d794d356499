// Feeds arbitrary bytes to the readers of icon files, Windows programs and icon pictures: none
// may crash, read out of bounds, overflow or allocate without limit.

#include "platform/icons/IcoReader.h"
#include "platform/icons/IconImage.h"
#include "platform/icons/PeIcons.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Broken PNG pictures make Qt warn on every input.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    platform::IconFromIcoBytes(bytes);
    platform::IconFromPeBytes(bytes, 0);
    platform::IconFromPeBytes(bytes, 1);
    platform::DecodeIconImage(bytes);
    return 0;
}
