#include "platform/session/ErrorReport.h"

#include "platform/Dialogs.h"
#include "platform/session/ProductName.h"
#include "platform/text/Encoding.h"

namespace platform {

void ReportError(Dialogs& dialogs, const std::exception& error)
{
    dialogs.MessageBox(FromBytes(error.what()) + QLatin1Char('.'), ProductName(), MessageKind::Error,
                       MessageButtons::Ok);
}

} // namespace platform
