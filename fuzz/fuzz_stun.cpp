// The STUN Binding Response walk, with the transaction id both matching and not.
#include "softphone/StunBindingResponse.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray datagram(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    StunBindingResponse::MappedAddress(datagram, datagram.mid(4, 16).leftJustified(16, '\0', true));
    StunBindingResponse::MappedAddress(datagram, QByteArray(16, '\x42'));
    return 0;
}
