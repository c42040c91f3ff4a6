#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1251.h"

#include <QFile>

#include <limits>

namespace {
bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

IniFile IniFile::fromBytes(const QByteArray& cp1251Bytes)
{
    IniFile ini;
    const QString text = cp1251::decode(cp1251Bytes);
    QString current;
    bool firstSectionSeen = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        bool isHeader = false;
        const QString name = sectionOf(line, &isHeader);
        if (isHeader) {
            current = name;
            firstSectionSeen = true;
        }
        ini.m_lines.push_back({line, firstSectionSeen ? current : QString()});
    }
    // A file ending in a line break leaves one empty element behind.
    if (!ini.m_lines.empty() && ini.m_lines.back().text.isEmpty())
        ini.m_lines.pop_back();
    return ini;
}

IniFile IniFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromBytes(file.readAll());
}

QString IniFile::sectionOf(const QString& line, bool* isHeader)
{
    const QString trimmed = line.trimmed();
    *isHeader = trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'));
    if (!*isHeader)
        return {};
    return trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1).trimmed();
}

bool IniFile::splitKey(const QString& line, QString* key, QString* value)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    *value = line.mid(eq + 1).trimmed();
    return !key->startsWith(QLatin1Char(';'));
}

IniFile::Range IniFile::firstSection(const QString& section) const
{
    // Only the first section of a name counts, as with the Windows functions.
    const qsizetype count = qsizetype(m_lines.size());
    for (qsizetype i = 0; i < count; ++i) {
        bool isHeader = false;
        const QString name = sectionOf(m_lines[i].text, &isHeader);
        if (!isHeader || !sameName(name, section))
            continue;
        qsizetype end = i + 1;
        for (bool header = false; end < count; ++end) {
            sectionOf(m_lines[end].text, &header);
            if (header)
                break;
        }
        return {i + 1, end};
    }
    return {-1, -1};
}

const IniFile::Line* IniFile::findKeyLine(const QString& section, const QString& key, QString* value) const
{
    const Range range = firstSection(section);
    for (qsizetype i = range.begin; i >= 0 && i < range.end; ++i) {
        QString k, v;
        if (splitKey(m_lines[i].text, &k, &v) && sameName(k, key)) {
            if (value)
                *value = v;
            return &m_lines[i];
        }
    }
    return nullptr;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    QString value;
    return findKeyLine(section, key, &value) ? value : defaultValue;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    QString value;
    if (!findKeyLine(section, key, &value))
        return defaultValue;
    qsizetype i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == QLatin1Char('-') || value[i] == QLatin1Char('+')))
        negative = value[i++] == QLatin1Char('-');
    qint64 result = 0;
    for (; i < value.size() && value[i].isDigit() && value[i].unicode() < 0x80; ++i) {
        result = result * 10 + (value[i].unicode() - '0');
        if (result > std::numeric_limits<int>::max())
            return 0;
    }
    return static_cast<int>(negative ? -result : result);
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    return findKeyLine(section, key, nullptr) != nullptr;
}

QStringList IniFile::keys(const QString& section) const
{
    QStringList result;
    const Range range = firstSection(section);
    for (qsizetype i = range.begin; i >= 0 && i < range.end; ++i) {
        QString k, v;
        if (splitKey(m_lines[i].text, &k, &v) && !result.contains(k, Qt::CaseInsensitive))
            result << k;
    }
    return result;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QString newLine = key + QLatin1Char('=') + value;
    if (const Line* found = findKeyLine(section, key, nullptr)) {
        m_lines[found - m_lines.data()].text = newLine;
        return;
    }
    // Append after the last non-empty line of the first matching section.
    const Range range = firstSection(section);
    if (range.begin < 0) {
        m_lines.push_back({QLatin1Char('[') + section + QLatin1Char(']'), section});
        m_lines.push_back({newLine, section});
        return;
    }
    qsizetype insertAt = range.begin;
    for (qsizetype i = range.begin; i < range.end; ++i)
        if (!m_lines[i].text.trimmed().isEmpty())
            insertAt = i + 1;
    m_lines.insert(m_lines.begin() + insertAt, Line{newLine, section});
}

QByteArray IniFile::toBytes(QString* error) const
{
    QString text;
    for (const Line& line : m_lines)
        text += line.text + QLatin1String("\r\n");
    cp1251::EncodeError encodeError;
    auto bytes = cp1251::encode(text, &encodeError);
    if (!bytes) {
        if (error)
            *error = encodeError.message();
        return {};
    }
    return *bytes;
}

QString IniFile::save(const QString& path) const
{
    QString error;
    const QByteArray bytes = toBytes(&error);
    if (!error.isEmpty())
        return error;
    return writeFileAtomically(path, bytes);
}
