#include "softphone/RemoteSdp.h"

#include <QList>

#include <arpa/inet.h>

namespace {

std::optional<quint16> portOf(const QByteArray& text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return std::nullopt;
    return static_cast<quint16>(port);
}

} // namespace

std::optional<RemoteSdp> RemoteSdp::Parse(const QByteArray& sdp)
{
    QByteArray sessionAddress;
    QByteArray mediaAddress;
    std::optional<quint16> port;
    bool inAudio = false;
    for (QByteArray line : sdp.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith("m=")) {
            inAudio = false;
            const QList<QByteArray> fields = line.mid(2).split(' ');
            if (!port && fields.size() >= 3 && fields[0] == "audio") {
                port = portOf(fields[1].split('/').first());
                inAudio = port.has_value();
            }
        } else if (line.startsWith("c=IN IP4 ")) {
            const QByteArray address = line.mid(9).split('/').first().trimmed();
            if (inAudio)
                mediaAddress = address;
            else if (!port)
                sessionAddress = address;
        }
    }
    const QByteArray address = mediaAddress.isEmpty() ? sessionAddress : mediaAddress;
    in_addr parsed{};
    if (!port || address.contains('\0') || ::inet_pton(AF_INET, address.constData(), &parsed) != 1 ||
        parsed.s_addr == 0)
        return std::nullopt;
    return RemoteSdp{address, *port};
}

bool OffersPcma(const QByteArray& sdp)
{
    for (QByteArray line : sdp.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.startsWith("m=audio "))
            continue;
        const QList<QByteArray> fields = line.mid(2).split(' ');
        if (fields.size() < 4 || !portOf(fields[1].split('/').first()))
            return false;
        return fields.mid(3).contains("8");
    }
    return false;
}
