#pragma once

#include <QList>
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

// Remembers the addresses it was asked to open and opens none.
class RecordedShellOpen : public IShellOpen
{
public:
    bool open(const QUrl& address) override
    {
        m_opened << address;
        return true;
    }
    const QList<QUrl>& opened() const { return m_opened; }

private:
    QList<QUrl> m_opened;
};
