#include "BmpBytes.h"

#include <QFile>
#include <QtEndian>
#include <cstdlib>
#include <stdexcept>

namespace {
void put32(QByteArray& bytes, int at, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + at);
}
void put16(QByteArray& bytes, int at, quint16 value)
{
    qToLittleEndian<quint16>(value, bytes.data() + at);
}
} // namespace

QByteArray BmpBytes::build() const
{
    const int rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    const int pixels = rowBytes * std::abs(height);
    QByteArray bytes(54 + pixels, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, quint32(bytes.size()));
    put32(bytes, 10, 54);
    put32(bytes, 14, 40);
    put32(bytes, 18, quint32(width));
    put32(bytes, 22, quint32(height));
    put16(bytes, 26, 1);
    put16(bytes, 28, quint16(bitsPerPixel));
    put32(bytes, 34, quint32(pixels));
    return bytes;
}

void BmpBytes::writeTo(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(build()) < 0)
        throw std::runtime_error("cannot write a test tile");
}
