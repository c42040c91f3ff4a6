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

DbError::Kind kindOf(Firebird::IStatus* status)
{
    // The status vector is a list of (argument type, value) pairs; a text given with its
    // length takes two values.
    const intptr_t* item = status->getErrors();
    bool linkLost = false;
    while (item && *item != isc_arg_end) {
        const intptr_t type = *item++;
        if (type == isc_arg_cstring) {
            item += 2;
            continue;
        }
        const intptr_t code = *item++;
        if (type != isc_arg_gds)
            continue;
        switch (code) {
        case isc_lock_conflict:
        case isc_deadlock:
        case isc_update_conflict:
        case isc_lock_timeout:
            return DbError::Kind::LockConflict;
        case isc_network_error:
        case isc_net_read_err:
        case isc_net_write_err:
        case isc_lost_db_connection:
        case isc_conn_lost:
        case isc_att_shutdown:
        case isc_shutdown:
        case isc_bad_db_handle: // the link was closed from our side
            linkLost = true;
            break;
        default:
            break;
        }
    }
    return linkLost ? DbError::Kind::LinkLost : DbError::Kind::Other;
}

void raise(Firebird::IStatus* status)
{
    const DbError::Kind kind = kindOf(status);
    if (kind == DbError::Kind::LockConflict)
        throw DbError(DbError::lockConflictMessage(), kind);
    throw DbError(statusText(status), kind);
}

} // namespace FbClient
