#pragma once

#include "softphone/OutgoingRequest.h"
#include "softphone/RouteSet.h"
#include "softphone/SipMessage.h"

// The dialog of an outgoing call as the callee's answer set it up (RFC 3261 section
// 12.1.2): requests inside it go to the callee's Contact along the reversed
// Record-Route, and name the callee by the To of the answer, tag included.
struct OutgoingDialog
{
    QByteArray remoteTo;
    QByteArray remoteTarget;
    RouteSet routes;

    // requestUri is the target when the answer carries no Contact.
    static OutgoingDialog FromAnswer(const SipMessage& answer, const QByteArray& toValue,
                                     const QByteArray& requestUri);

    // A request inside the dialog, made from the INVITE that set it up.
    OutgoingRequest Request(const OutgoingRequest& invite, const QByteArray& method) const;
};
