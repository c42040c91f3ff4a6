// The remote SDP parser.
#include "softphone/RemoteSdp.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto remote =
        RemoteSdp::Parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (remote && (remote->port == 0 || remote->address.isEmpty()))
        __builtin_trap();
    return 0;
}
