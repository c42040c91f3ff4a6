// The web distance reply: HTTP framing and the distance matrix XML, both before and
// after the service closes the connection.
#include "orders/intake/WebDistanceReply.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    WebDistanceReply open;
    const WebDistanceReply::Outcome beforeClose = WebDistanceReply::parse(bytes, false, open);
    WebDistanceReply closed;
    const WebDistanceReply::Outcome atClose = WebDistanceReply::parse(bytes, true, closed);
    // A reply complete before the close is the same reply at the close.
    if (beforeClose == WebDistanceReply::Outcome::Complete &&
        (atClose != WebDistanceReply::Outcome::Complete || !(open.result() == closed.result())))
        __builtin_trap();
    if (atClose == WebDistanceReply::Outcome::Complete)
        closed.result();
    return 0;
}
