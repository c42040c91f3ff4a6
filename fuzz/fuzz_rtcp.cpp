// The RTCP compound reader and its SDES walk.
#include "softphone/RtcpCompoundReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto packets = RtcpCompoundReader::Read(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (packets)
        for (const auto& packet : *packets)
            RtcpCompoundReader::Cname(packet);
    return 0;
}
