#include "MessageSink.h"

#include "AppIdentity.h"

namespace quillon {

QString messageBoxTitle(const QString& title)
{
    return title.isEmpty() ? applicationTitle() : title;
}

}  // namespace quillon
