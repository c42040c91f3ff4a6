#include "foundation/fb/FbClient.h"

#include "foundation/fb/DbError.h"
#include "platform/Cp1251.h"

#include <firebird/Interface.h>

namespace FbClient {

Firebird::IMaster* master()
{
    static Firebird::IMaster* instance = Firebird::fb_get_master_interface();
    return instance;
}

Firebird::IUtil* util()
{
    return master()->getUtilInterface();
}

Firebird::IProvider* provider()
{
    static Firebird::IProvider* instance = master()->getDispatcher();
    return instance;
}

QString statusText(Firebird::IStatus* status)
{
    char buffer[2048];
    util()->formatStatus(buffer, sizeof buffer, status);
    const QByteArray bytes(buffer);
    // Engine messages are ASCII; texts of user exceptions come in the connection's cp1251.
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter))
        text = cp1251::decode(bytes);
    return text.trimmed();
}

void raise(Firebird::IStatus* status)
{
    throw DbError(statusText(status));
}

} // namespace FbClient
