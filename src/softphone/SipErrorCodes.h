#pragma once

// Values of ErrorCode of the softphone endpoints. Any other value is an errno number
// from a failed bind or send.
constexpr int SIP_HOST_NOT_FOUND = 1;
constexpr int SIP_NO_SOCKET = 2;
constexpr int SIP_SEND_ERROR = 3;
constexpr int SIP_RECV_ERROR = 4;
constexpr int SIP_INVALID_RESPONSE = 5;
constexpr int SIP_UNAUTHORIZED = 6;
constexpr int SIP_NOT_CONNECTED = 7;
