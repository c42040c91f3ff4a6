#pragma once

#include "foundation/fb/DbError.h"

#include <QString>

namespace Firebird {
class IMaster;
class IStatus;
class IUtil;
class IProvider;
} // namespace Firebird

// Access to the client library's master interface and its error texts.
namespace FbClient {
Firebird::IMaster* master();
Firebird::IUtil* util();
Firebird::IProvider* provider();
QString statusText(Firebird::IStatus* status);
// A lock conflict, a lost link or anything else, read from the error codes.
DbError::Kind kindOf(Firebird::IStatus* status);
// Throws DbError with the text of the status vector; a lock conflict gets the text the
// dispatcher reads instead of the engine's.
[[noreturn]] void raise(Firebird::IStatus* status);
} // namespace FbClient
