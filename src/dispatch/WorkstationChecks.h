#pragma once

#include <QString>

class IProgramExit;
struct DispatchContext;

// Writes one record of the work analysis log (the log itself comes with its window).
class IWorkLogWriter
{
public:
    virtual ~IWorkLogWriter() = default;
    virtual void writeAnalysisRecord() = 0;
};

// When the connection is up but no longer answers within its ping deadline: marks it
// lost, tells the dispatcher and ends the program. A connection marked lost or never
// made counts as fine, so the message is shown once however often this runs meanwhile.
// Returns whether the link is fine.
bool CheckDatabaseLink(DispatchContext& ctx, IProgramExit& exit);

// Writes an analysis record when the current minute (hh:mm) is one of the scheduled times.
// Returns whether it wrote one.
bool CheckAnalysisSchedule(DispatchContext& ctx, IWorkLogWriter& writer);

// This computer's address that other systems can reach (never a loopback address when a
// real interface exists) and its host name; empty text on failure.
QString GetLocalIpAddress();
QString GetLocalHostName();
