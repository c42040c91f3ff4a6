#pragma once

#include <QList>
#include <QString>

class TDANI;

// The free drivers queued at a stand, head first, and the prompt that lists them
// before the dispatcher types one of their callsigns.
class StandQueuePrompt
{
public:
    // Reads the queue. Throws DbError.
    StandQueuePrompt(TDANI& dani, const QString& stand);

    const QString& stand() const { return m_stand; }
    // "[12] [15] " for the queue 12, 15.
    const QString& queueText() const { return m_queueText; }
    // The prompt ending in lastLine; the start point line only when one is given (the
    // choice of a car for an order).
    QString prompt(const QString& lastLine, const QString& startPoint = {}) const;
    // The callsign typed when it is one of the queue exactly as typed ("1" never
    // matches 12 or 112); 0 otherwise.
    qint64 acceptedCallsign(const QString& answer) const;

private:
    QString m_stand;
    QList<qint64> m_callsigns;
    QString m_queueText;
};
