#pragma once

// SIGINT and SIGTERM taken as readable data instead of handlers. The embedded Firebird
// engine installs shutdown handlers of its own; a stop signal reaching them while the
// program detaches leaves the process spinning inside the engine. Call block() first
// thing in main(), before any thread exists, so every thread started later (the
// engine's included) inherits the blocked mask.
namespace StopSignals {
// Returns the descriptor that becomes readable on a stop signal, or -1 on failure.
int block();
// Waits up to the given milliseconds; true when a stop signal came.
bool wait(int descriptor, int milliseconds);
} // namespace StopSignals
