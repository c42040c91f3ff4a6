// The RTP header parser and the A-law decoder behind it.
#include "softphone/ALawCodec.h"
#include "softphone/RtpPacket.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto packet =
        RtpPacket::Parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (packet) {
        if (packet->payload.size() > static_cast<qsizetype>(size) - 12)
            __builtin_trap();
        ALawCodec::DecodeALaw(packet->payload);
    }
    return 0;
}
