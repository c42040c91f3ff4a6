#include "orders/intake/TelephoneHistory.h"

namespace {
const QString kSeparator = QStringLiteral("]> ");
}

void TelephoneHistory::add(const QString& number, const QDateTime& at)
{
    if (number.trimmed().isEmpty())
        return;
    m_entries.prepend(QLatin1Char('[') + at.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) + kSeparator +
                      number);
}

QString TelephoneHistory::numberOf(const QString& entry)
{
    const qsizetype at = entry.indexOf(kSeparator);
    return at < 0 ? entry : entry.mid(at + kSeparator.size());
}
