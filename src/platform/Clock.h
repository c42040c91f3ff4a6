#pragma once

#include <QDateTime>

// Source of "now" for everything that depends on the time of day, so tests can set it.
class IClock
{
public:
    virtual ~IClock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public IClock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until told otherwise.
class FixedClock : public IClock
{
public:
    explicit FixedClock(QDateTime at = QDateTime::currentDateTime()) : m_now(std::move(at)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& at) { m_now = at; }
    void advanceSeconds(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
