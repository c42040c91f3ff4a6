#pragma once

#include <QtGlobal>

// Ports on 127.0.0.1 that were free a moment ago, for peers told their ports on the
// command line. Each is free for UDP and TCP both, together with the count - 1 ports
// that follow it (a telephone takes its SIP port and the next one).
namespace LoopbackPorts {
quint16 Free(int count = 1);
} // namespace LoopbackPorts
