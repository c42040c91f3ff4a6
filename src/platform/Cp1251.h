#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Code page 1251: the encoding of every INI file and of all text in the database.
// Encoding is strict: a character that has no cp1251 byte is an error, never a "?".
namespace cp1251 {

struct EncodeError
{
    qsizetype position = -1; // index in the text of the first character that has no byte
    char32_t character = 0;
    QString message() const; // a sentence the dispatcher can read
};

std::optional<QByteArray> encode(QStringView text, EncodeError* error = nullptr);
// Every byte decodes (the one unassigned byte 0x98 maps to U+0098, as Windows does).
QString decode(QByteArrayView bytes);
bool canEncode(QStringView text);

} // namespace cp1251
