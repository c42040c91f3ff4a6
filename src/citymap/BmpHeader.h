#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

// The size of a Windows bitmap, read from its headers without decoding the picture: the
// core library has no image decoder, and the map needs only the tiles' sizes to lay out
// its coordinate grid. Every field is checked before it is used, and a file too short for
// the pixel data its headers promise counts as unreadable, as a truncated tile would fail
// to draw.
struct BmpHeader
{
    int width = 0;
    int height = 0; // rows, whether stored bottom-up or top-down

    // Bytes needed from the start of the file to read the headers.
    static constexpr int kHeadBytes = 54;
    // head: the first bytes of the file (up to kHeadBytes); fileSize: the whole file's.
    static std::optional<BmpHeader> parse(QByteArrayView head, qint64 fileSize, QString* error = nullptr);
    static std::optional<BmpHeader> readFile(const QString& path, QString* error = nullptr);
};
