#pragma once

#include "foundation/fb/FbClient.h"

#include <firebird/Interface.h>

// A status wrapper that turns every failed call into a DbError with the engine's text.
class FbStatus
{
public:
    FbStatus() : m_status(FbClient::master()->getStatus()), m_wrapper(m_status) {}
    ~FbStatus() { m_status->dispose(); }
    FbStatus(const FbStatus&) = delete;
    FbStatus& operator=(const FbStatus&) = delete;

    Firebird::ThrowStatusWrapper* operator&() { return &m_wrapper; }

    // Runs a call; a Firebird exception becomes a DbError.
    template <typename F> decltype(auto) run(F&& call)
    {
        try {
            return call(&m_wrapper);
        } catch (const Firebird::FbException& e) {
            FbClient::raise(e.getStatus());
        }
    }

private:
    Firebird::IStatus* m_status;
    Firebird::ThrowStatusWrapper m_wrapper;
};
