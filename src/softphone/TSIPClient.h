#pragma once

#include "softphone/TCustomSIPClient.h"

// The SIP client the host uses: each virtual slot of TCustomSIPClient also raises
// the matching event, which the host connects to.
class TSIPClient : public TCustomSIPClient
{
    Q_OBJECT

public:
    // The clock dates the registration (the system clock when none is given).
    explicit TSIPClient(QObject* parent = nullptr, const IClock* clock = nullptr);
    ~TSIPClient() override;

    int Close() override;

signals:
    void OnSend(TSIPClient* sender);
    void OnReceive(TSIPClient* sender);
    void OnStateChange(TSIPClient* sender);
    void OnRegistered(TSIPClient* sender);
    void OnClose(TSIPClient* sender);
    // After an operation ended with an error; ErrorCode holds it.
    void OnError(TSIPClient* sender);
    void OnRemoteSDP(TSIPClient* sender);
    void OnCallEnd(TSIPClient* sender);

protected:
    void ProcessMessage() override;
    void SendBuffer() override;
    void DoRegistered() override;
    void DoRemoteSDP() override;
    void DoCallEnded() override;
    void SetState(quint8 newState) override;
    void DoError() override;
};
