#include "citymap/BmpHeader.h"

#include <QFile>
#include <QtEndian>

namespace {
// A side longer than this is not a map tile but a damaged header.
constexpr qint64 kLargestSide = 1 << 20;

quint32 u32(QByteArrayView bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}
quint16 u16(QByteArrayView bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}
qint32 i32(QByteArrayView bytes, int at)
{
    return qFromLittleEndian<qint32>(bytes.data() + at);
}

std::optional<BmpHeader> fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}
} // namespace

std::optional<BmpHeader> BmpHeader::parse(QByteArrayView head, qint64 fileSize, QString* error)
{
    constexpr int kFileHeader = 14;
    if (head.size() < kFileHeader + 4 || head[0] != 'B' || head[1] != 'M')
        return fail(error, QStringLiteral("не є малюнком BMP"));
    const qint64 pixelOffset = u32(head, 10);
    const qint64 infoSize = u32(head, kFileHeader);

    qint64 width = 0;
    qint64 height = 0;
    int planes = 0;
    int bitsPerPixel = 0;
    quint32 compression = 0;
    qint64 imageSize = 0;
    if (infoSize == 12) { // the old OS/2 core header: 16-bit sizes, never compressed
        if (head.size() < kFileHeader + 12)
            return fail(error, QStringLiteral("заголовок BMP обрізано"));
        width = u16(head, 18);
        height = u16(head, 20);
        planes = u16(head, 22);
        bitsPerPixel = u16(head, 24);
    } else if (infoSize >= 40 && infoSize <= 1024) { // BITMAPINFOHEADER and its later extensions
        if (head.size() < kFileHeader + 40)
            return fail(error, QStringLiteral("заголовок BMP обрізано"));
        width = i32(head, 18);
        height = i32(head, 22);
        planes = u16(head, 26);
        bitsPerPixel = u16(head, 28);
        compression = u32(head, 30);
        imageSize = u32(head, 34);
    } else {
        return fail(error, QStringLiteral("невідомий заголовок BMP"));
    }
    height = height < 0 ? -height : height; // negative: rows stored top-down
    if (width <= 0 || height == 0 || width > kLargestSide || height > kLargestSide)
        return fail(error, QStringLiteral("невірний розмір малюнка BMP"));
    if (planes != 1)
        return fail(error, QStringLiteral("невірний заголовок BMP"));
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return fail(error, QStringLiteral("невідома глибина кольору BMP"));
    }
    if (pixelOffset < kFileHeader + infoSize || pixelOffset > fileSize)
        return fail(error, QStringLiteral("невірне розташування точок BMP"));

    qint64 pixelBytes = 0;
    switch (compression) {
    case 0: // BI_RGB
    case 3: // BI_BITFIELDS
    case 6: // BI_ALPHABITFIELDS
        // Rows are padded to whole 32-bit words.
        pixelBytes = (width * bitsPerPixel + 31) / 32 * 4 * height;
        break;
    case 1: // BI_RLE8
    case 2: // BI_RLE4
        if (imageSize == 0)
            return fail(error, QStringLiteral("невірний заголовок BMP"));
        pixelBytes = imageSize;
        break;
    default:
        return fail(error, QStringLiteral("непідтримуване стиснення BMP"));
    }
    if (fileSize - pixelOffset < pixelBytes)
        return fail(error, QStringLiteral("файл BMP обрізано"));
    return BmpHeader{int(width), int(height)};
}

std::optional<BmpHeader> BmpHeader::readFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("не вдалося відкрити ") + path);
    const QByteArray head = file.read(kHeadBytes);
    auto header = parse(head, file.size(), error);
    if (!header && error)
        *error = path + QStringLiteral(": ") + *error;
    return header;
}
