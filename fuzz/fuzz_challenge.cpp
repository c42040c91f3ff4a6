// The Digest challenge tokenizer and the authorization built from what it found.
#include "softphone/DigestAuthorization.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto challenge =
        DigestChallenge::Parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (challenge)
        DigestAuthorization::Line("Proxy-", *challenge, {"101", "secret", "INVITE", "sip:102@pbx"}, "c0ffee");
    return 0;
}
