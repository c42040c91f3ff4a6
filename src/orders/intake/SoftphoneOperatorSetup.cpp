#include "orders/intake/SoftphoneOperatorSetup.h"

namespace {
std::optional<int> udpPort(const QString& text)
{
    bool readable = false;
    const int port = text.trimmed().toInt(&readable);
    if (!readable || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}
} // namespace

SoftphoneOperatorSetup SoftphoneOperatorSetup::decide(const std::optional<SipOperatorEntry>& entry,
                                                      std::optional<int> dispatcherNumber)
{
    SoftphoneOperatorSetup setup;
    // No entry or no access: the softphone stays off without a word, as for a dispatcher
    // who simply has no telephone.
    if (!entry || !entry->access)
        return setup;

    setup.outgoingCalls = entry->outgoingCalls;
    const bool complete = !entry->server.trimmed().isEmpty() && !entry->port.trimmed().isEmpty() &&
                          !entry->extension.trimmed().isEmpty() && !entry->password.trimmed().isEmpty();
    if (!complete) {
        setup.messages << QStringLiteral(
            "Невірні налаштування оператора IP телефонії (в налаштуваннях є пусте значення). Повідомте це "
            "користувачу програми ADMIN (Адміністратору) !!!");
        return setup;
    }
    setup.connectEnabled = true;

    // Each dispatcher gets a port of their own so that two workstations on one computer
    // (or behind one NAT) do not take each other's calls; a number that would leave the
    // port range falls back to the base port like an unreadable one.
    if (dispatcherNumber) {
        const int port = BaseLocalPort + *dispatcherNumber;
        if (port >= 1 && port <= 65535)
            setup.localPort = port;
    }

    if (const std::optional<int> port = udpPort(entry->port))
        setup.serverPort = *port;
    else
        setup.messages << QStringLiteral("Невірне значення порта для зєднання з SIP сервером (беремо по "
                                         "замовчюванні порт 5060). Повідомте адміністратору про помилку !!!");
    return setup;
}
