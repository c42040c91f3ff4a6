#include "softphone/TSTUNClient.h"

void TSTUNClient::QueryDone()
{
    TCustomSTUNClient::QueryDone();
    emit OnResult(this);
}
