#include "softphone/OutgoingRequest.h"

QByteArray OutgoingRequest::Text(const QByteArray& extraHeaders, const QByteArray& body) const
{
    return method + ' ' + uri + " SIP/2.0\r\n" + viaPrefix + branchId + "\r\n" + fromLine + "To: " + toValue +
           "\r\n" + "Call-ID: " + callId + "\r\n" + "CSeq: " + QByteArray::number(cseq) + ' ' + method +
           "\r\n" + "Max-Forwards: 70\r\n" + routeLines + extraHeaders +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

OutgoingRequest OutgoingRequest::WithMethod(const QByteArray& otherMethod) const
{
    OutgoingRequest other = *this;
    other.method = otherMethod;
    return other;
}
