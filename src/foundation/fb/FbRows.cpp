#include "foundation/fb/FbRows.h"

#include "foundation/fb/DbError.h"

const QVariant& FbRows::value(int row, const QString& column) const
{
    const int index = columnIndex(column);
    if (index < 0)
        throw DbError(QStringLiteral("Поле %1 не знайдено").arg(column));
    if (row < 0 || row >= rowCount())
        throw DbError(QStringLiteral("Рядок %1 поза списком").arg(row + 1));
    return rows[row][index];
}
