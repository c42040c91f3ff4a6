#pragma once

#include "softphone/SipMessage.h"

#include <QByteArray>

// The lines a 2xx to a request with Session-Expires (a session refresh, RFC 4028)
// carries so that the other side keeps the call: the interval copied with the
// requester as the refresher and "Require: timer" (section 9). This phone never
// refreshes a session itself, so when the requester cannot or will not refresh (it
// names "uas", or names nobody without "Supported: timer") the answer carries no
// session timer at all, which section 9 allows a UAS that does not use the extension.
QByteArray SessionTimerAnswer(const SipMessage& request);
