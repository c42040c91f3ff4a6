#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// An INI file with the semantics of the Windows profile functions: sections and keys
// match without regard to case (Cyrillic too), a line splits at its first "=", a ";"
// inside a value stays part of it, the first of duplicate sections or keys wins, the
// bytes are cp1251 with CR LF line ends, and a missing file or key gives the default.
class IniFile
{
public:
    IniFile() = default;
    static IniFile fromBytes(const QByteArray& cp1251Bytes);
    // A missing or unreadable file loads as empty.
    static IniFile load(const QString& path);

    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Windows GetPrivateProfileInt: leading blanks, an optional sign and the digits that
    // follow; text that does not start with a number reads as 0, a missing key as the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool hasKey(const QString& section, const QString& key) const;
    // Keys of a section in file order (lists in INI files are written as numbered keys).
    QStringList keys(const QString& section) const;

    // Replaces the first matching key or appends it at the end of its section.
    void writeString(const QString& section, const QString& key, const QString& value);

    // cp1251 bytes; fails (empty optional) when a value has a character outside cp1251.
    QByteArray toBytes(QString* error = nullptr) const;
    QString save(const QString& path) const; // empty on success, else the reason

private:
    struct Line
    {
        QString text;
        QString section; // section the line belongs to ("" before the first)
    };
    std::vector<Line> m_lines;

    struct Range
    {
        qsizetype begin; // first line after the header; -1 when there is no such section
        qsizetype end;   // the next header or the end
    };
    Range firstSection(const QString& section) const;
    static QString sectionOf(const QString& line, bool* isHeader);
    static bool splitKey(const QString& line, QString* key, QString* value);
    const Line* findKeyLine(const QString& section, const QString& key, QString* value) const;
};
