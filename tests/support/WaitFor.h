#pragma once

#include <functional>

// Lets the event loop run until the condition holds or the time is up (events from the
// database arrive through it). Returns whether the condition came true.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);
// Lets the event loop run for a while, for checks that something does NOT happen.
void settle(int ms = 300);
