#include "platform/ui/DesktopShellOpen.h"

#include <QDesktopServices>

bool DesktopShellOpen::open(const QUrl& address)
{
    return QDesktopServices::openUrl(address);
}
