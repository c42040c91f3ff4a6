#include "softphone/TSIPClient.h"

TSIPClient::TSIPClient(QObject* parent, const IClock* clock) : TCustomSIPClient(parent, clock) {}

TSIPClient::~TSIPClient() = default;

int TSIPClient::Close()
{
    if (IsOpen())
        emit OnClose(this);
    return TCustomSIPClient::Close();
}

void TSIPClient::ProcessMessage()
{
    emit OnReceive(this);
    TCustomSIPClient::ProcessMessage();
}

void TSIPClient::SendBuffer()
{
    emit OnSend(this);
    TCustomSIPClient::SendBuffer();
}

void TSIPClient::DoRegistered()
{
    TCustomSIPClient::DoRegistered();
    emit OnRegistered(this);
}

void TSIPClient::DoRemoteSDP()
{
    TCustomSIPClient::DoRemoteSDP();
    emit OnRemoteSDP(this);
}

void TSIPClient::DoCallEnded()
{
    TCustomSIPClient::DoCallEnded();
    emit OnCallEnd(this);
}

void TSIPClient::SetState(quint8 newState)
{
    TCustomSIPClient::SetState(newState);
    emit OnStateChange(this);
}

void TSIPClient::DoError()
{
    emit OnError(this);
}
