#include "platform/session/ErrorReport.h"

#include "platform/Dialogs.h"
#include "platform/session/ProductName.h"
#include "platform/text/Encoding.h"

namespace platform {

void ReportError(Dialogs& dialogs, const std::exception& error)
{
    // A message that ends in a full stop of its own gets no second one.
    QString text = FromBytes(error.what());
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    dialogs.MessageBox(text, ProductName(), MessageKind::Error, MessageButtons::Ok);
}

} // namespace platform
