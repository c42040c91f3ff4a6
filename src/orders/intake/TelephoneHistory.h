#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The telephone numbers searched during the program's run, newest first, each as
// "[" date and time "]> " number: the drop-down of the telephone search box.
class TelephoneHistory
{
public:
    // An empty (or blank) number is not remembered.
    void add(const QString& number, const QDateTime& at);
    const QStringList& entries() const { return m_entries; }
    void clear() { m_entries.clear(); }

    // The number of an entry: the text after its "]> " (the entry itself without one).
    static QString numberOf(const QString& entry);

private:
    QStringList m_entries;
};
