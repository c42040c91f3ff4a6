#include "mainwindow/ListColours.h"

namespace ListColours {

std::optional<quint32> gprsAction(const QString& text)
{
    if (text == QStringLiteral("Прохання турбувати клієнтів"))
        return kLime;
    if (text == QStringLiteral("Відмова від замовлення") ||
        text == QStringLiteral("Непідтвердження замовлення - пропуск замовлення"))
        return kYellow;
    if (text == QStringLiteral("ТРИВОГА ВІД ВОДІЯ"))
        return kRed;
    return std::nullopt;
}

} // namespace ListColours
