#pragma once

#include "softphone/TPCMA.h"

// The call's media on the dispatcher's headset: a buffer of silence from the
// microphone stays on this computer (SilenceGate), which saves the line's bandwidth
// while the dispatcher listens.
class HeadsetMedia : public TPCMA
{
public:
    using TPCMA::TPCMA;

protected:
    bool WorthSending(const QByteArray& pcm) const override;
};
