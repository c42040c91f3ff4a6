#pragma once

#include "orders/intake/SipOperatorEntry.h"

#include <QString>
#include <QStringList>
#include <optional>

// The decisions of "Configure operator" that follow from the dispatcher's operator entry
// and number alone, before the headset is loaded and the agent connects.
struct SoftphoneOperatorSetup
{
    static constexpr int BaseLocalPort = 46500;
    static constexpr int DefaultServerPort = 5060;

    bool connectEnabled = false; // address, port, extension and password all given
    bool outgoingCalls = false;  // `DostupOutCall`: the dial box is enabled
    int localPort = BaseLocalPort;
    int serverPort = DefaultServerPort;
    QStringList messages; // shown to the dispatcher in this order

    // entry: the dispatcher's entry, if any; dispatcherNumber: `TABLE_PRACIV_NOMER`, if
    // it could be read.
    static SoftphoneOperatorSetup decide(const std::optional<SipOperatorEntry>& entry,
                                         std::optional<int> dispatcherNumber);
};
