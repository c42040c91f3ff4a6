#pragma once

#include <QString>
#include <functional>

struct DispatchContext;

// Writes one record of the work analysis log (the log itself comes with its window).
class IWorkLogWriter
{
public:
    virtual ~IWorkLogWriter() = default;
    virtual void writeAnalysisRecord() = 0;
};

// When the connection is up but no longer answers: tells the dispatcher, drops the
// transactions and ends the program through exitProgram. Returns whether the link is fine.
bool CheckDatabaseLink(DispatchContext& ctx, const std::function<void()>& exitProgram);

// Writes an analysis record when the current minute (hh:mm) is one of the scheduled times.
// Returns whether it wrote one.
bool CheckAnalysisSchedule(DispatchContext& ctx, IWorkLogWriter& writer);

// This computer's address that other systems can reach (never a loopback address when a
// real interface exists) and its host name; empty text on failure.
QString GetLocalIpAddress();
QString GetLocalHostName();
