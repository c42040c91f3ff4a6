#include "orders/intake/NumberedList.h"

#include "platform/IniFile.h"

#include <map>

QStringList readNumberedList(const IniFile& ini, const QString& section, const QString& countKey,
                             const QString& entryPrefix, const QString& entrySuffix)
{
    const int count = ini.readInteger(section, countKey, 0);
    std::map<int, QString> entries;
    for (const QString& key : ini.keys(section)) {
        if (!key.startsWith(entryPrefix, Qt::CaseInsensitive) ||
            !key.endsWith(entrySuffix, Qt::CaseInsensitive) ||
            key.size() <= entryPrefix.size() + entrySuffix.size())
            continue;
        const QString digits =
            key.mid(entryPrefix.size(), key.size() - entryPrefix.size() - entrySuffix.size());
        bool ok = false;
        const int n = digits.toInt(&ok);
        // Only the key a lookup of "POZ_" + n would find: "POZ_01" or "POZ_+1" is not entry 1.
        if (!ok || n < 1 || n > count || QString::number(n) != digits)
            continue;
        const QString value = ini.readString(section, key);
        if (!value.isEmpty())
            entries.emplace(n, value);
    }
    QStringList result;
    for (const auto& entry : entries)
        result << entry.second;
    return result;
}
