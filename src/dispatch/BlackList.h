#pragma once

#include <QList>
#include <QString>

struct DispatchContext;

// The drivers' black list: a journal of bars on callsigns. Entries are never deleted;
// lifting a bar marks the entry inactive and journals the lifting as an entry of its own.
namespace BlackList {

// Reasons are stored cut to this many characters.
constexpr int kReasonLength = 200;
extern const QString kAlreadyLifted;

// An active entry of the journal, as the window lists it.
struct Entry
{
    qint64 number = 0;
    qint64 callsign = 0;
    QString madeAt; // the entry's date and time as the window shows it
};

// True when a car with the callsign is registered. Throws DbError.
bool CarExists(DispatchContext& ctx, qint64 callsign);

// Bars each callsign: its open orders go back to the unassigned state, it leaves the
// air, an active entry with the reason is journalled and the driver's GPRS
// application is told to refresh. All callsigns in one transaction: on any failure
// nothing is written and DbError is thrown.
void Bar(DispatchContext& ctx, const QList<qint64>& callsigns, const QString& reason);

// Lifts the bar of an entry: journals the lifting with its reason and marks the entry
// inactive, in one transaction. The driver stays off air. Throws DbError, with
// kAlreadyLifted when another workstation lifted the entry meanwhile.
void Lift(DispatchContext& ctx, const Entry& entry, const QString& reason);

// The reason journalled for lifting an entry made at madeAt.
QString LiftingReason(const QString& madeAt, const QString& reason);

} // namespace BlackList
