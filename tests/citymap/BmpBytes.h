#pragma once

#include <QByteArray>
#include <QString>

// Windows bitmap files as a paint program writes them, for map tiles in tests.
struct BmpBytes
{
    int width = 1;
    int height = 1; // negative: rows stored top-down
    int bitsPerPixel = 24;

    QByteArray build() const;
    void writeTo(const QString& path) const;
};
