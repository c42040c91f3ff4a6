#include "orders/intake/TarifIniLoader.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "platform/Cp1251.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

namespace {
SettingsStore& loaded(SettingsStore& store, const QString& text)
{
    TarifIniLoader::load(IniFile::fromBytes(*cp1251::encode(text)), store);
    return store;
}
QStringList listOf(const SettingsStore& store, const QString& key)
{
    const QString joined = store.value(key);
    return joined.isEmpty() ? QStringList() : joined.split(QLatin1Char('\n'));
}
} // namespace

TEST(TarifIniLists, CountBoundsTheEntriesAndEmptyOrMissingOnesAreSkipped)
{
    SettingsStore store;
    loaded(store, QStringLiteral("[KOEFICIENT]\r\nKIL_POZ=5\r\nPOZ_3=третій\r\nPOZ_1=перший\r\nPOZ_2=\r\n"
                                 "POZ_6=поза лічильником\r\nPOZ_01=не номер один\r\nPOZ_+4=і не чотири\r\n"
                                 "[CHORNIY_SPISOK_KLIENT]\r\nKIL_POZ=-3\r\nPOZ_1=[00013]\r\n"
                                 "[ODNOSTORONNI_VULICI]\r\nKIL_POZ=2147483647\r\nPOZ_2=[8]->[4]\r\n"));
    // In number order, whatever order the lines came in.
    EXPECT_EQ(listOf(store, SettingKeys::kDistanceCoefficients), (QStringList{"перший", "третій"}));
    EXPECT_EQ(listOf(store, SettingKeys::kClientBlackList), QStringList());
    EXPECT_EQ(listOf(store, SettingKeys::kOneWayStreets), QStringList{"[8]->[4]"});
}

TEST(TarifIniLists, SettlementsLoseOneLeadingAndOneTrailingMark)
{
    SettingsStore store;
    loaded(store, QStringLiteral("[DOD_NASEL_PUNKTY]\r\nKIL_POZ=6\r\nPOZ_1=>с. Липне<\r\nPOZ_2=с. Озерце\r\n"
                                 "POZ_3=>>Двічі<<\r\nPOZ_4=>лише початок\r\nPOZ_5=><\r\nPOZ_6=кінець<\r\n"));
    EXPECT_EQ(listOf(store, SettingKeys::kExtraSettlements),
              (QStringList{"с. Липне", "с. Озерце", ">Двічі<", "лише початок", "кінець"}));
}

TEST(TarifIniLists, DiscountsTemplatesAndScheduleAreKeptAsWritten)
{
    SettingsStore store;
    loaded(store,
           QStringLiteral("[ZNIZHKA_TARIF]\r\nKIL_POZ=1\r\nPOZ_1=[Економ](10)\r\n"
                          "[SET_MSG_VODIY]\r\nKIL_SHABLON_POVID=1\r\nSHABLON_POVID_1=Ціна=150; готівка\r\n"
                          "[SET_MSG_DISP]\r\nKIL_SHABLON_POVID=2\r\nSHABLON_POVID_2=Зміну прийнято\r\n"
                          "[SET_ANALIZ]\r\nCOMP_ANALIZ=DISP-2\r\nKIL_PROMIZHOK=2\r\nPROMIZHOK_1=07:00\r\n"
                          "PROMIZHOK_2=19:30\r\n"));
    EXPECT_EQ(store.value(SettingKeys::kTariffDiscounts), QStringLiteral("[Економ](10)"));
    // Only the first "=" splits a line; ";" is part of the value.
    EXPECT_EQ(store.value(SettingKeys::kDriverMessageTemplates), QStringLiteral("Ціна=150; готівка"));
    EXPECT_EQ(store.value(SettingKeys::kDispatcherMessageTemplates), QStringLiteral("Зміну прийнято"));
    EXPECT_EQ(store.value(SettingKeys::kAnalysisComputer), QStringLiteral("DISP-2"));
    EXPECT_EQ(listOf(store, SettingKeys::kAnalysisSchedule), (QStringList{"07:00", "19:30"}));
}

TEST(TarifIniValues, SectionsAndKeysMatchWithoutRegardToCase)
{
    SettingsStore store;
    loaded(store, QStringLiteral(
                      "[set_dispetcher]\r\nprozvon_klient=8\r\nMy_City=Ковель\r\n"
                      "[Set_Sip]\r\nPREFICSYAKKONTAKT=0\r\ncount_operator=1\r\noperator{1}=OPER [Х] ATOR\r\n"
                      "[Set_Msg_Vodiy]\r\nkil_shablon_povid=1\r\nshablon_povid_1=Шаблон\r\n"));
    EXPECT_EQ(store.value(SettingKeys::kHotOrderDelay), QStringLiteral("8"));
    EXPECT_EQ(store.value(SettingKeys::kMyCity), QStringLiteral("Ковель"));
    EXPECT_EQ(store.value(SettingKeys::kSipPrefixAsContact), QStringLiteral("0"));
    EXPECT_EQ(store.value(SettingKeys::kSipOperators), QStringLiteral("OPER [Х] ATOR"));
    EXPECT_EQ(store.value(SettingKeys::kDriverMessageTemplates), QStringLiteral("Шаблон"));
}

TEST(TarifIniValues, YesNoValuesReadTrueFalseOrNumbersAndAnythingElseIsNo)
{
    const std::pair<const char*, const char*> cases[] = {
        {"True", "1"}, {"false", "0"}, {"TRUE", "1"}, {"1", "1"}, {"2", "1"},   {"-1", "1"},
        {"0", "0"},    {"0.0", "0"},   {"yes", "0"},  {"", "0"},  {"Так", "0"},
    };
    for (const auto& [written, expected] : cases) {
        SettingsStore store;
        loaded(store,
               QStringLiteral(
                   "[SET_SIP]\r\nPreficsYakKontakt=%1\r\n[SET_DISPETCHER]\r\nAUTOROZDACHA_YUVIL=%1\r\n")
                   .arg(QString::fromUtf8(written)));
        EXPECT_EQ(store.value(SettingKeys::kSipPrefixAsContact), QLatin1String(expected)) << written;
        EXPECT_EQ(store.value(SettingKeys::kAutoFreeRides), QLatin1String(expected)) << written;
    }
}

TEST(TarifIniValues, IntegersReadAsTheWindowsProfileFunctionsReadThem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12abc", "12"}, {"abc", "0"}, {"-3", "-3"}, {"", "0"}, {"99999999999", "0"}, {"7.9", "7"},
    };
    for (const auto& [written, expected] : cases) {
        SettingsStore store;
        loaded(store,
               QStringLiteral("[SET_DISPETCHER]\r\nPROZVON_KLIENT=%1\r\n").arg(QString::fromUtf8(written)));
        // A key that is present never falls back to its default of 5.
        EXPECT_EQ(store.value(SettingKeys::kHotOrderDelay), QLatin1String(expected)) << written;
    }
}

TEST(TarifIniValues, MapBindingNumbersAcceptEitherDecimalMarkAndKeepAPoint)
{
    SettingsStore store;
    loaded(store, QStringLiteral("[PRIVIAZKA_VISICOM]\r\nX=1200\r\nX_PROSTIR=25,2811\r\nY_PROSTIR=50.78\r\n"
                                 "RIZN_X_KART=чотири\r\n"));
    EXPECT_EQ(store.value(SettingKeys::kBindingX), QStringLiteral("1200"));
    EXPECT_EQ(store.value(SettingKeys::kBindingLongitude), QStringLiteral("25.2811"));
    EXPECT_EQ(store.value(SettingKeys::kBindingLatitude), QStringLiteral("50.78"));
    EXPECT_EQ(store.value(SettingKeys::kBindingMapSpanX), QStringLiteral("0"));
    EXPECT_EQ(store.value(SettingKeys::kBindingY), QStringLiteral("0"));
}

TEST(TarifIniValues, BrokenLinesDoNotStopTheRest)
{
    QByteArray bytes =
        *cp1251::encode(QStringLiteral("[SET_DISPETCHER]\r\nрядок без знака рівності\r\n=без ключа\r\n"));
    bytes += QByteArray("\x00\x98\xff\x01garbage\r\n", 13);
    bytes += *cp1251::encode(
        QStringLiteral("[SET_DISPETCHER\r\nPROZVON_KLIENT=11\r\n[]\r\n[SET_SIP]\r\nSTUN=stun.local\r\n"
                       "KODMISTA=+38033"));
    SettingsStore store;
    TarifIniLoader::load(IniFile::fromBytes(bytes), store);
    // The unclosed header is not a header: the key still belongs to SET_DISPETCHER.
    EXPECT_EQ(store.value(SettingKeys::kHotOrderDelay), QStringLiteral("11"));
    EXPECT_EQ(store.value(SettingKeys::kSipStunHost), QStringLiteral("stun.local"));
    // The last line has no line break.
    EXPECT_EQ(store.value(SettingKeys::kSipCityCode), QStringLiteral("+38033"));
}

TEST(TarifIniValues, EveryValueLandsInAGroupOfTheSettingsWindow)
{
    SettingsStore store;
    loaded(store, QString());
    QStringList keys;
    for (const QString& group : SettingsStore::groupCaptions())
        keys += store.keysOf(group);
    // 32 single values and 9 lists: nothing is left outside the window's groups.
    EXPECT_EQ(keys.size(), 41);
    EXPECT_EQ(store.groupOf(SettingKeys::kMyCity), SettingsStore::kUserGroup);
    EXPECT_EQ(store.groupOf(SettingKeys::kMapSearchPage), SettingsStore::kUserGroup);
    EXPECT_EQ(store.groupOf(SettingKeys::kMaxAutoDistance), SettingsStore::kOrderLogicGroup);
    EXPECT_EQ(store.groupOf(SettingKeys::kOwnDriverMessagesAllowed), SettingKeys::kDriverTemplatesGroup);
    EXPECT_EQ(store.groupOf(SettingKeys::kExtraSettlements), SettingKeys::kSettlementsGroup);
    EXPECT_EQ(store.groupOf(SettingKeys::kAnalysisSchedule), SettingsStore::kAnalysisGroup);
    EXPECT_EQ(store.groupOf(SettingKeys::kBindingLatitude), SettingsStore::kMapBindingGroup);
    for (const QString& group : {SettingKeys::kCoefficientsGroup, SettingKeys::kOneWayStreetsGroup,
                                 SettingKeys::kClientBlackListGroup, SettingKeys::kDiscountsGroup,
                                 SettingKeys::kDispatcherTemplatesGroup, SettingKeys::kDriverTemplatesGroup,
                                 SettingKeys::kSettlementsGroup})
        EXPECT_TRUE(SettingsStore::groupCaptions().contains(group)) << group.toStdString();
}
