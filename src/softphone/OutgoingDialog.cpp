#include "softphone/OutgoingDialog.h"

#include "softphone/SipNameAddr.h"

OutgoingDialog OutgoingDialog::FromAnswer(const SipMessage& answer, const QByteArray& toValue,
                                          const QByteArray& requestUri)
{
    OutgoingDialog dialog;
    const QByteArray to = answer.HeaderValue("To");
    dialog.remoteTo = to.isEmpty() ? toValue : to;
    const QByteArray contact = SipNameAddr::Uri(answer.HeaderValue("Contact"));
    dialog.remoteTarget = contact.isEmpty() ? requestUri : contact;
    dialog.routes = RouteSet::ForCaller(answer.HeaderValues("Record-Route"));
    return dialog;
}

OutgoingRequest OutgoingDialog::Request(const OutgoingRequest& invite, const QByteArray& method) const
{
    OutgoingRequest request = invite.WithMethod(method);
    request.uri = routes.RequestUri(remoteTarget);
    request.routeLines = routes.RouteLines(remoteTarget);
    request.toValue = remoteTo;
    return request;
}
