#pragma once

#include "softphone/TCustomSTUNClient.h"

// The STUN client the host uses: OnResult fires once the mapped address is known.
class TSTUNClient : public TCustomSTUNClient
{
    Q_OBJECT

public:
    using TCustomSTUNClient::TCustomSTUNClient;

signals:
    void OnResult(TSTUNClient* sender);

protected:
    void QueryDone() override;
};
