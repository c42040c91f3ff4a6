#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct DispatchContext;

// The details of the hot order chosen in the hot orders list.
struct HotOrderDetails
{
    qint64 number = 0;
    QString freeRide, tariff, notes, clientCode, sum, acceptedAt, acceptedBy, pickup, destination;

    // The hot list line begins with the order number; none for a line that does not.
    static std::optional<qint64> numberOfLine(const QString& line);
    // The order form writes "тариф:[" name "]  (" notes ")" into the order's description.
    static QString tariffOf(const QString& description);
    static QString notesOf(const QString& description);
    // Reads the order; none when it is gone. Throws DbError.
    static std::optional<HotOrderDetails> load(DispatchContext& ctx, qint64 number);
};
