#pragma once

#include <QString>

// The dispatcher's telephone line as the log-in sees it: the softphone panel releases
// the previous operator and configures the new one.
class ISoftphoneLine
{
public:
    virtual ~ISoftphoneLine() = default;
    virtual bool isConnected() const = 0;
    // Both return false when the softphone reports a failure.
    virtual bool disconnect() = 0;
    virtual bool configureFor(const QString& dispatcher) = 0;
};

// A workstation without a softphone panel: there is never a line to release.
class NoSoftphoneLine : public ISoftphoneLine
{
public:
    bool isConnected() const override { return false; }
    bool disconnect() override { return true; }
    bool configureFor(const QString&) override { return true; }
};
