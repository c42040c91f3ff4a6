#include "citymap/StreetDirectory.h"

#include <algorithm>

QString StreetDirectory::key(const QString& name)
{
    qsizetype end = name.size();
    while (end > 0 && name.at(end - 1) == QLatin1Char(' '))
        --end;
    return name.left(end);
}

void StreetDirectory::add(int number, const QString& name)
{
    m_maxNumber = std::max(m_maxNumber, number);
    ++m_rows;
    if (!name.isNull())
        m_numberOfName.insert(key(name), number);
    if (!m_nameOfNumber.contains(number))
        m_nameOfNumber.insert(number, name);
}

int StreetDirectory::numberOf(const QString& name) const
{
    return m_numberOfName.value(key(name), 0);
}

QString StreetDirectory::nameOf(int number) const
{
    return m_nameOfNumber.value(number);
}
