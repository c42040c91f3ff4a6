#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// The rows a statement returned, fetched completely. NULL is an invalid QVariant;
// integers arrive as qint64, scaled numbers as double, text (cp1251) as QString,
// dates, times and timestamps as QDate, QTime and QDateTime.
class FbRows
{
public:
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;

    int rowCount() const { return static_cast<int>(rows.size()); }
    bool isEmpty() const { return rows.empty(); }
    int columnIndex(const QString& name) const { return columns.indexOf(name.toUpper()); }
    // Throws DbError for an unknown column; row is 0-based.
    const QVariant& value(int row, const QString& column) const;
};
