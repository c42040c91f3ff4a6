#pragma once

// Thrown by RaiseError to abandon the running operation after ErrorCode is set. Every
// public entry point of an endpoint catches it, so it never leaves the softphone.
struct SilentAbort
{
    int code = 0;
};
