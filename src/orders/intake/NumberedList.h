#pragma once

#include <QString>
#include <QStringList>

class IniFile;

// A list written as numbered keys of one section: a count key (default 0) and entries
// prefix + n + suffix for n = 1 … count, e.g. KIL_POZ with POZ_1 … POZ_n, or
// COUNT_OPERATOR with OPERATOR{1} … OPERATOR{n}. Returns the entries present and not
// empty, in number order. Only keys that exist are visited, so a count far larger than
// the file (or negative) costs nothing.
QStringList readNumberedList(const IniFile& ini, const QString& section, const QString& countKey,
                             const QString& entryPrefix, const QString& entrySuffix = {});
