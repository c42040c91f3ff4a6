// SIP framing and the whole of ProcessMessage: the input is split at each "\0\0"
// into up to eight datagrams handed to a connected client that accepts calls, so
// sequences (INVITE then CANCEL, challenges, BYE ...) reach every state.
#include "softphone/TSIPClient.h"

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

namespace {

TSIPClient* client = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    client = new TSIPClient;
    client->SetLocalPort(0);
    client->SetServerPort(9); // discard: nobody answers
    client->SetLocalMedia("127.0.0.1", 5004);
    client->SetAcceptIncoming(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    client->Connect("101", "127.0.0.1", "101", "secret");
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    int handled = 0;
    for (const QByteArray& datagram : input.split('\0')) {
        if (datagram.isEmpty() || ++handled > 8)
            continue;
        client->HandleDatagram(datagram, {0x7F000001, 5060});
        // Drive the operations the host would, from whatever state was reached.
        if (client->State() == TSIPClient::Incoming && (datagram.size() & 1))
            client->Answer();
        else if (datagram.size() % 5 == 0)
            client->Hangup();
    }
    QCoreApplication::processEvents();
    return 0;
}
