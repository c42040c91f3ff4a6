#pragma once

#include "dispatch/WorkstationChecks.h"

#include <QDateTime>
#include <QString>

struct DispatchContext;

// The analyser workstation's log ANALIZTAXI.XLS in the base folder: tab-separated cp1251
// lines, CR LF, a header line and one record per reading of the fleet's counts. The
// previous reading lives in memory only, so after a restart the first record's changes
// equal the absolute counts.
class WorkAnalysisLog : public IWorkLogWriter
{
public:
    static const QString kFileName;

    // What one record counts, and when it was read.
    struct Reading
    {
        qint64 total = 0;    // drivers on air
        qint64 atStands = 0; // free drivers at stands
        qint64 onOrders = 0; // drivers on an order
        qint64 executed = 0; // executed orders
        qint64 jubilee = 0;  // executed jubilee trips
        qint64 gprs = 0;     // drivers in the GPRS system
        QDateTime at;
    };

    struct Outcome
    {
        bool written = false;
        QString error; // what the dispatcher reads when nothing was written
    };

    // The previous reading starts at zero counts and the time of construction.
    explicit WorkAnalysisLog(DispatchContext& ctx);

    // The header line without its CR LF: ten fields, no trailing tab.
    static QString headerLine();
    // The record line without its CR LF: ten fields, each followed by a tab.
    static QString recordLine(const Reading& now, const Reading& previous);

    // Creates the file with its header line when it is missing; an existing file is left
    // as it is. Returns the error text, empty on success.
    static QString PrepareAnalysisFile();

    // Reads every count first and then appends the whole line at once (the header in
    // front of it when the file is missing), so a failure on the way leaves no part of a
    // line behind. Only a written record becomes the previous reading.
    Outcome WriteAnalysisRecord();
    // The same, with a failure shown to the dispatcher.
    void writeAnalysisRecord() override;

    // The schedule check of the minute tick, with this log's memory of the last minute
    // looked at. Returns whether a record was written.
    bool checkSchedule();

    const Reading& previousReading() const { return m_previous; }

private:
    Reading readCounts();

    DispatchContext& m_ctx;
    Reading m_previous;
    QDateTime m_lastProcessedMinute;
};
