#pragma once

#include <QUrl>

// Opens an address with the system's default handler (the web browser for web
// addresses). Behind an interface so that callers are tested without a desktop.
class IShellOpen
{
public:
    virtual ~IShellOpen() = default;
    // false when no handler took the address.
    virtual bool open(const QUrl& address) = 0;
};
