#include "citymap/BmpHeader.h"
#include "BmpBytes.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
std::optional<BmpHeader> parsed(const QByteArray& file)
{
    return BmpHeader::parse(
        QByteArrayView(file).first(std::min<qsizetype>(file.size(), BmpHeader::kHeadBytes)), file.size());
}
} // namespace

TEST(BmpHeader, ReadsTheSizeOfBottomUpTopDownAndOldStyleBitmaps)
{
    const auto plain = parsed(BmpBytes{640, 480, 24}.build());
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->width, 640);
    EXPECT_EQ(plain->height, 480);
    EXPECT_EQ(parsed(BmpBytes{3, -7, 8}.build())->height, 7);
    // One bit per pixel: rows of 33 pixels take two 32-bit words.
    EXPECT_EQ(parsed(BmpBytes{33, 2, 1}.build())->width, 33);

    // The 12-byte core header with 16-bit sizes.
    QByteArray core(26 + 4 * 5, '\0');
    core[0] = 'B';
    core[1] = 'M';
    qToLittleEndian<quint32>(26, core.data() + 10);
    qToLittleEndian<quint32>(12, core.data() + 14);
    qToLittleEndian<quint16>(1, core.data() + 18);
    qToLittleEndian<quint16>(5, core.data() + 20);
    qToLittleEndian<quint16>(1, core.data() + 22);
    qToLittleEndian<quint16>(24, core.data() + 24);
    const auto old = parsed(core);
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(old->height, 5);
}

TEST(BmpHeader, DamagedOrTruncatedFilesAreRefused)
{
    const QByteArray good = BmpBytes{10, 10, 24}.build();
    EXPECT_FALSE(parsed(good.left(good.size() - 1)).has_value()); // one pixel byte short
    EXPECT_FALSE(parsed(good.left(40)).has_value());              // header cut
    EXPECT_FALSE(parsed(QByteArray()).has_value());
    EXPECT_FALSE(parsed(QByteArray("GIF89a") + good.mid(6)).has_value());

    const auto patched = [&](int at, quint32 value) {
        QByteArray bytes = good;
        qToLittleEndian<quint32>(value, bytes.data() + at);
        return parsed(bytes);
    };
    EXPECT_FALSE(patched(18, 0).has_value());           // width 0
    EXPECT_FALSE(patched(18, 0x80000000u).has_value()); // negative width
    EXPECT_FALSE(patched(22, 0).has_value());           // height 0
    EXPECT_FALSE(patched(22, 0x80000000u).has_value()); // the most negative height has no positive twin
    EXPECT_FALSE(patched(18, 5'000'000).has_value());   // far beyond any tile
    EXPECT_FALSE(patched(10, 1'000'000).has_value());   // pixels beyond the end of the file
    EXPECT_FALSE(patched(10, 20).has_value());          // pixels inside the header
    EXPECT_FALSE(patched(14, 20).has_value());          // unknown header size
    EXPECT_FALSE(patched(28, 7).has_value());           // 7 bits per pixel
    EXPECT_FALSE(patched(30, 4).has_value());           // JPEG inside a bitmap
}

TEST(BmpHeader, AMissingFileIsReportedWithItsPath)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(BmpHeader::readFile(dir.filePath(QStringLiteral("1_1.bmp")), &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("1_1.bmp")));
    BmpBytes{12, 34, 24}.writeTo(dir.filePath(QStringLiteral("2_1.bmp")));
    EXPECT_EQ(BmpHeader::readFile(dir.filePath(QStringLiteral("2_1.bmp")))->height, 34);
}
