#pragma once

#include <QByteArray>

// Identifiers drawn from the kernel's secure random source (getrandom(2)), so tags,
// branches and Call-IDs cannot be guessed by a third party (RFC 3261 section 26.3.1).

// 16 random bytes.
QByteArray NewRawId();
// 16 random bytes as 32 upper-case hexadecimal digits, high nibble first.
QByteArray NewHexId();
// A random 32-bit number.
quint32 RandomUInt32();
