#pragma once

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
// Throws DbError with the text of the status vector.
[[noreturn]] void raise(Firebird::IStatus* status);
} // namespace FbClient
