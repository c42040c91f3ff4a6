#pragma once

#include <QHash>
#include <QString>

// The streets of VULICA_LUCK in memory: a name's number for the route points, a number's
// name for the route description. Names compare as the database compares them: exactly,
// except for trailing blanks.
class StreetDirectory
{
public:
    // Rows in the order the table gives them.
    void add(int number, const QString& name);

    // The number of the last row with that name; 0 when there is none.
    int numberOf(const QString& name) const;
    // The name of the first row with that number; empty when there is none.
    QString nameOf(int number) const;
    // The highest street number (0 for no streets, or none above 0).
    int maxNumber() const { return m_maxNumber; }
    int size() const { return m_rows; }

private:
    static QString key(const QString& name);

    QHash<QString, int> m_numberOfName;
    QHash<int, QString> m_nameOfNumber;
    int m_maxNumber = 0;
    int m_rows = 0;
};
