#include "platform/Cp1251.h"

#include <gtest/gtest.h>

TEST(Cp1251, UkrainianLettersRoundTripToTheirBytes)
{
    const QString text = QStringLiteral("ґєії ҐЄІЇ Мар'яна №5 «так» — €");
    const auto bytes = cp1251::encode(text);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->left(9), QByteArray("\xB4\xBA\xB3\xBF\x20\xA5\xAA\xB2\xAF", 9));
    EXPECT_EQ(cp1251::decode(*bytes), text);
}

TEST(Cp1251, EveryByteDecodesAndEncodesBack)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = cp1251::decode(all);
    ASSERT_EQ(text.size(), 256);
    const auto back = cp1251::encode(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1251, CharacterOutsideTheCodePageIsAnErrorNotAQuestionMark)
{
    cp1251::EncodeError error;
    EXPECT_FALSE(cp1251::encode(QStringLiteral("вул. Ж\u014Dвта"), &error).has_value());
    EXPECT_EQ(error.position, 6);
    EXPECT_EQ(error.character, char32_t(0x014D));
    EXPECT_TRUE(error.message().contains(QStringLiteral("1251")));

    // A character beyond the basic plane is reported whole, not as half a surrogate.
    EXPECT_FALSE(cp1251::encode(QString::fromUtf8("таксі 🚕"), &error).has_value());
    EXPECT_EQ(error.character, char32_t(0x1F695));
    EXPECT_FALSE(cp1251::canEncode(QStringLiteral("ЁЎ ü")));
}
