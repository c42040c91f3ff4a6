#include "orders/intake/HeadsetMedia.h"

#include "orders/intake/SilenceGate.h"

bool HeadsetMedia::WorthSending(const QByteArray& pcm) const
{
    return !SilenceGate::isSilent(pcm);
}
