#pragma once

#include <QDateTime>
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

// Writes an analysis record when a scheduled minute (hh:mm) has come since the last
// minute looked at, lastProcessedMinute, which it moves on to the current minute. Every
// minute is looked at once however the timer's ticks fall: a minute the ticks passed
// over is caught up (up to an hour late: later than that the reading no longer
// describes the scheduled moment), a minute seen twice and two entries of one minute
// give one record. Returns whether it wrote one.
bool CheckAnalysisSchedule(DispatchContext& ctx, IWorkLogWriter& writer, QDateTime& lastProcessedMinute);
// Looks at the current minute only, for a caller that keeps no memory of minutes.
inline bool CheckAnalysisSchedule(DispatchContext& ctx, IWorkLogWriter& writer)
{
    QDateTime none;
    return CheckAnalysisSchedule(ctx, writer, none);
}

// This computer's address that other systems can reach (never a loopback address when a
// real interface exists) and its host name; empty text on failure.
QString GetLocalIpAddress();
QString GetLocalHostName();
