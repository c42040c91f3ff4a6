#pragma once

#include <QString>
#include <optional>

struct DispatchContext;

// "Попередній підбір водія": the free driver waiting longest at the stand nearest to
// the order's pick-up point, and how soon he could be there.
class DriverPreselection
{
public:
    static const QString kNoDriverMessage;

    explicit DriverPreselection(DispatchContext& ctx) : m_ctx(ctx) {}

    struct Candidate
    {
        qint64 callsign = 0;
        QString stand;
        QString text; // the callsign and stand, and the arrival estimate when there is one
    };
    // None when no stand with a free driver is near the address. Throws DbError.
    std::optional<Candidate> find(const QString& address);

private:
    DispatchContext& m_ctx;
};
