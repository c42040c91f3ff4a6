// Messages through the SIP stack, printed per second. Incoming: each round is an
// INVITE (framed, parsed, session made, 180 sent) and the caller's CANCEL (200 and
// 487 sent, session freed). Outgoing: each round is our INVITE answered 180, our
// CANCEL answered 200 and the INVITE's 487 acknowledged in its transaction; the
// responses are built from what was sent, inside the timed loop.
#include "softphone/TSIPClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

QByteArray invite(int number)
{
    const QByteArray sdp = "v=0\r\no=caller 1 1 IN IP4 192.0.2.10\r\ns=-\r\nc=IN IP4 192.0.2.10\r\nt=0 0\r\n"
                           "m=audio 40000 RTP/AVP 8 0 101\r\na=rtpmap:8 PCMA/8000\r\na=rtpmap:0 PCMU/8000\r\n"
                           "a=rtpmap:101 telephone-event/8000\r\na=ptime:20\r\n";
    const QByteArray callId = "bench-" + QByteArray::number(number) + "@192.0.2.10";
    return "INVITE sip:101@192.0.2.1 SIP/2.0\r\n"
           "Via: SIP/2.0/UDP 192.0.2.1:5060;branch=z9hG4bKproxy" +
           QByteArray::number(number) +
           "\r\n"
           "Via: SIP/2.0/UDP 192.0.2.10:5060;rport;branch=z9hG4bKcaller" +
           QByteArray::number(number) +
           "\r\n"
           "Max-Forwards: 69\r\n"
           "From: \"380501234567\" <sip:380501234567@192.0.2.1>;tag=as58f4201b\r\n"
           "To: <sip:101@192.0.2.1>\r\n"
           "Contact: <sip:380501234567@192.0.2.1:5060>\r\n"
           "Call-ID: " +
           callId +
           "\r\n"
           "CSeq: 102 INVITE\r\n"
           "User-Agent: Asterisk PBX\r\n"
           "Allow: INVITE, ACK, CANCEL, OPTIONS, BYE, REFER, SUBSCRIBE, NOTIFY, INFO\r\n"
           "Supported: replaces, timer\r\n"
           "Content-Type: application/sdp\r\n"
           "Content-Length: " +
           QByteArray::number(sdp.size()) + "\r\n\r\n" + sdp;
}

QByteArray cancel(int number)
{
    return "CANCEL sip:101@192.0.2.1 SIP/2.0\r\n"
           "Via: SIP/2.0/UDP 192.0.2.1:5060;branch=z9hG4bKproxy" +
           QByteArray::number(number) +
           "\r\n"
           "From: \"380501234567\" <sip:380501234567@192.0.2.1>;tag=as58f4201b\r\n"
           "To: <sip:101@192.0.2.1>\r\n"
           "Call-ID: bench-" +
           QByteArray::number(number) +
           "@192.0.2.10\r\n"
           "CSeq: 102 CANCEL\r\n"
           "Content-Length: 0\r\n\r\n";
}

// The response to the request just sent, echoing its Via, From, To, Call-ID and CSeq.
QByteArray responseTo(const QByteArray& request, const QByteArray& status)
{
    QByteArray response = "SIP/2.0 " + status + "\r\n";
    for (const QByteArray& line : request.left(request.indexOf("\r\n\r\n")).split('\n'))
        if (line.startsWith("Via:") || line.startsWith("From:") || line.startsWith("Call-ID:") ||
            line.startsWith("CSeq:"))
            response += line + '\n';
        else if (line.startsWith("To:"))
            response += line.chopped(1) + ";tag=callee\r\n";
    return response + "Content-Length: 0\r\n\r\n";
}

// Returns the number of attempts that ended as failed calls.
int outgoingRounds(TSIPClient& client, const Ipv4Endpoint& server, int rounds, double& seconds)
{
    QByteArray lastSent;
    QObject::connect(&client, &TSIPClient::OnSend, &client,
                     [&lastSent](TSIPClient* sender) { lastSent = sender->OutputBuffer(); });
    int ended = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i) {
        client.Call("102");
        const QByteArray invite = lastSent;
        client.HandleDatagram(responseTo(invite, "180 Ringing"), server);
        client.Hangup();
        client.HandleDatagram(responseTo(lastSent, "200 OK"), server);
        client.HandleDatagram(responseTo(invite, "487 Request Terminated"), server);
        ended += client.State() == TSIPClient::CallFailed;
    }
    seconds = clock.nsecsElapsed() / 1e9;
    return ended;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TSIPClient client;
    client.SetLocalPort(0);
    client.SetServerPort(9);
    client.SetLocalMedia("192.0.2.1", 5004);
    client.SetAcceptIncoming(true);
    QByteArray registerSent;
    const QMetaObject::Connection capturing =
        QObject::connect(&client, &TSIPClient::OnSend, &client,
                         [&registerSent](TSIPClient* sender) { registerSent = sender->OutputBuffer(); });
    if (!client.Connect("101", "127.0.0.1", "101", "secret")) {
        QTextStream(stderr) << "cannot open the SIP socket\n";
        return 1;
    }
    // Pretend the registration was accepted, so calls are taken.
    QObject::disconnect(capturing);
    client.HandleDatagram(responseTo(registerSent, "200 OK"), {0x7F000001, 9});
    const Ipv4Endpoint caller{0x7F000001, 9};

    constexpr int rounds = 20000;
    std::vector<QByteArray> invites;
    std::vector<QByteArray> cancels;
    for (int i = 0; i < rounds; ++i) {
        invites.push_back(invite(i));
        cancels.push_back(cancel(i));
    }
    int rang = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i) {
        client.HandleDatagram(invites[i], caller);
        rang += client.State() == TSIPClient::Incoming;
        client.HandleDatagram(cancels[i], caller);
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    QTextStream(stdout) << "INVITE of " << invites[0].size()
                        << " bytes answered 180, then CANCEL answered 200 and 487\n"
                        << "rounds: " << rounds << ", rang: " << rang << '\n'
                        << "messages per second: " << qRound(2 * rounds / seconds) << '\n'
                        << "microseconds per INVITE and CANCEL: " << (seconds * 1e6 / rounds) << '\n';

    double outgoingSeconds = 0;
    const int ended = outgoingRounds(client, caller, rounds, outgoingSeconds);
    // Each round: INVITE, 180, CANCEL, 200, 487, ACK.
    QTextStream(stdout) << "outgoing INVITE answered 180, cancelled, 200 and 487 acknowledged\n"
                        << "rounds: " << rounds << ", ended as failed calls: " << ended << '\n'
                        << "messages per second: " << qRound(6 * rounds / outgoingSeconds) << '\n'
                        << "microseconds per attempt: " << (outgoingSeconds * 1e6 / rounds) << '\n';
    return rang == rounds && ended == rounds ? 0 : 1;
}
