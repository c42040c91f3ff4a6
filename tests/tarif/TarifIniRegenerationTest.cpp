#include "dispatch/DistrictNeighbours.h"
#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "orders/intake/SipOperatorEntry.h"
#include "orders/intake/TarifIni.h"
#include "orders/intake/TariffGrid.h"
#include "platform/BaseFolder.h"
#include "platform/Cp1251.h"
#include "support/DatabaseSuite.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// TARIF.INI written from SET_TARIFI of a real database and loaded back.
class TarifIniRegeneration : public DatabaseSuite
{
protected:
    void SetUp() override
    {
        BaseFolder::overrideForTests(base.path());
        db->exec(QStringLiteral("DELETE FROM SET_TARIFI"));
        workstation = std::make_unique<TestWorkstation>(db->serverSettings());
        ASSERT_TRUE(workstation->connect());
    }
    void TearDown() override
    {
        workstation.reset();
        BaseFolder::overrideForTests({});
    }

    void addLine(int number, const QString& text)
    {
        db->exec(QStringLiteral("INSERT INTO SET_TARIFI (SET_TARIF_NOMER, SET_TARIF_NAME) VALUES (%1, %2)")
                     .arg(sql::integer(number), sql::text(text)));
    }
    QByteArray fileBytes() const
    {
        QFile file(TarifIni::filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // The demo city's SET_TARIFI lines, as an administrator's tool would write them.
    void addDemoLines()
    {
        QFile demo(TestDatabase::sourceFile(QStringLiteral("db/demo.sql")));
        ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
        int added = 0;
        for (const QString& line : QString::fromUtf8(demo.readAll()).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("INSERT INTO SET_TARIFI"))) {
                db->exec(line.trimmed().chopped(1)); // without the ";"
                ++added;
            }
        }
        ASSERT_GT(added, 100);
    }

    QTemporaryDir base;
    std::unique_ptr<TestWorkstation> workstation;
};

TEST_F(TarifIniRegeneration, AnEmptyTableGivesAnEmptyFileAndEveryDefault)
{
    SettingsStore& store = workstation->store;
    store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kHotOrderDelay, QStringLiteral("9"));
    const TarifIni::Outcome outcome = TarifIni::regenerateAndLoad(*workstation->dani, store);
    EXPECT_EQ(outcome.regenerateError, QString());
    EXPECT_TRUE(outcome.loaded);
    EXPECT_EQ(fileBytes(), QByteArray());

    EXPECT_EQ(store.value(SettingKeys::kHotOrderDelay), QStringLiteral("5"));
    EXPECT_EQ(store.value(SettingKeys::kMaxStandsPerDriver), QStringLiteral("1"));
    EXPECT_EQ(store.value(SettingKeys::kSipPrefixAsContact), QStringLiteral("1"));
    EXPECT_EQ(store.value(SettingKeys::kMyCity), QStringLiteral("Луцьк Волинська (по замовчуванні)"));
    for (const QString& zero :
         {SettingKeys::kJubileeResetMinutes, SettingKeys::kRefusalResetMinutes,
          SettingKeys::kFirstNewClientCode, SettingKeys::kMaxAutoDistance, SettingKeys::kAutoFreeRides,
          SettingKeys::kFreeRidesToMarked, SettingKeys::kOwnDriverMessagesAllowed,
          SettingKeys::kSipOperatorCount, SettingKeys::kBindingX, SettingKeys::kBindingLatitudeSpan})
        EXPECT_EQ(store.value(zero, QStringLiteral("missing")), QStringLiteral("0")) << zero.toStdString();
    for (const QString& empty :
         {SettingKeys::kDriverMessageTemplates, SettingKeys::kDispatcherMessageTemplates,
          SettingKeys::kTariffDiscounts, SettingKeys::kExtraSettlements, SettingKeys::kClientBlackList,
          SettingKeys::kOneWayStreets, SettingKeys::kDistanceCoefficients, SettingKeys::kAnalysisSchedule,
          SettingKeys::kAnalysisComputer, SettingKeys::kSipCityCode, SettingKeys::kSipDigitsToDelete,
          SettingKeys::kSipStunHost, SettingKeys::kSipOperators})
        EXPECT_EQ(store.value(empty, QStringLiteral("missing")), QString()) << empty.toStdString();
}

TEST_F(TarifIniRegeneration, LinesFollowTheirNumbersInCp1251WithCrLf)
{
    addLine(3, QStringLiteral("MY_CITY=Мар'їне Ґедзь"));
    addLine(1, QStringLiteral("[SET_DISPETCHER]"));
    addLine(2, QString());
    db->exec(QStringLiteral("INSERT INTO SET_TARIFI (SET_TARIF_NOMER, SET_TARIF_NAME) VALUES (4, NULL)"));
    addLine(5, QStringLiteral("PROZVON_KLIENT=7 ; хв"));
    ASSERT_EQ(TarifIni::regenerate(*workstation->dani), QString());
    const QByteArray expected = *cp1251::encode(
        QStringLiteral("[SET_DISPETCHER]\r\n\r\nMY_CITY=Мар'їне Ґедзь\r\n\r\nPROZVON_KLIENT=7 ; хв\r\n"));
    EXPECT_EQ(fileBytes(), expected);
}

TEST_F(TarifIniRegeneration, SeesWhatWasCommittedAfterAnEarlierReadOfTheScratchQuery)
{
    addLine(1, QStringLiteral("[SET_SIP]"));
    ASSERT_EQ(TarifIni::regenerate(*workstation->dani), QString());
    // The scratch transaction is left open by some other operation's read.
    workstation->dani->RIZNE.exec(QStringLiteral("SELECT COUNT(*) FROM SET_TARIFI"));
    addLine(2, QStringLiteral("STUN=stun.example.net"));
    ASSERT_EQ(TarifIni::regenerate(*workstation->dani), QString());
    EXPECT_EQ(fileBytes(), QByteArray("[SET_SIP]\r\nSTUN=stun.example.net\r\n"));
}

TEST_F(TarifIniRegeneration, TheFileIsReplacedInTheExecutablesFolderReadableByItsOwnerOnly)
{
    QFile old(TarifIni::filePath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("[OLD]\r\n");
    old.close();
    ASSERT_TRUE(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                   QFileDevice::ReadOther));
    QTemporaryDir elsewhere;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    addLine(1, QStringLiteral("[SET_SIP]"));
    addLine(2, QStringLiteral("OPERATOR{1}=OPER [Бойко] ATOR<PassServer>таємниця</PassServer>"));
    const QString error = TarifIni::regenerate(*workstation->dani);
    QDir::setCurrent(previous);
    ASSERT_EQ(error, QString());

    EXPECT_TRUE(QDir(elsewhere.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(QDir(base.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("TARIF.INI")});
    EXPECT_TRUE(fileBytes().startsWith("[SET_SIP]\r\n"));
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(TarifIni::filePath()) & others, QFileDevice::Permissions());
}

TEST_F(TarifIniRegeneration, ADatabaseFailureKeepsTheOldFileWhichIsThenLoaded)
{
    addLine(1, QStringLiteral("[SET_DISPETCHER]"));
    addLine(2, QStringLiteral("PROZVON_KLIENT=12"));
    ASSERT_EQ(TarifIni::regenerate(*workstation->dani), QString());
    const QByteArray before = fileBytes();

    workstation->dani->BAZA.disconnect();
    const TarifIni::Outcome outcome = TarifIni::regenerateAndLoad(*workstation->dani, workstation->store);
    EXPECT_NE(outcome.regenerateError, QString());
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(outcome.loaded);
    EXPECT_EQ(workstation->store.value(SettingKeys::kHotOrderDelay), QStringLiteral("12"));
}

TEST_F(TarifIniRegeneration, WithoutAFileNothingIsLoadedAndEarlierValuesStay)
{
    workstation->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kHotOrderDelay,
                                QStringLiteral("9"));
    BaseFolder::overrideForTests(base.filePath(QStringLiteral("no-such-folder")));
    const TarifIni::Outcome outcome = TarifIni::regenerateAndLoad(*workstation->dani, workstation->store);
    EXPECT_NE(outcome.regenerateError, QString());
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(workstation->store.value(SettingKeys::kHotOrderDelay), QStringLiteral("9"));
    EXPECT_FALSE(workstation->store.contains(SettingKeys::kMaxStandsPerDriver));
}

TEST_F(TarifIniRegeneration, TheDemoCitysSettingsReachEveryReader)
{
    addDemoLines();
    SettingsStore& store = workstation->store;
    const TarifIni::Outcome outcome = TarifIni::regenerateAndLoad(*workstation->dani, store);
    ASSERT_EQ(outcome.regenerateError, QString());
    ASSERT_TRUE(outcome.loaded);

    EXPECT_EQ(store.value(SettingKeys::kMyCity), QStringLiteral("Ясногород"));
    EXPECT_EQ(store.value(SettingKeys::kDriverMessageTemplates).split(QLatin1Char('\n')).size(), 6);
    EXPECT_TRUE(store.value(SettingKeys::kDriverMessageTemplates).contains(QStringLiteral("об'їжджайте")));
    const QStringList settlements = store.value(SettingKeys::kExtraSettlements).split(QLatin1Char('\n'));
    ASSERT_EQ(settlements.size(), 8);
    EXPECT_EQ(settlements.first(), QStringLiteral("с. Вербівка"));
    EXPECT_EQ(settlements.last(), QStringLiteral("с. Гірка Полонка"));
    EXPECT_EQ(store.value(SettingKeys::kBindingLongitude), QStringLiteral("25.28"));

    const auto mariana = SipOperatorEntry::findFor(store, QStringLiteral("Мельник Мар'яна Іванівна"));
    ASSERT_TRUE(mariana.has_value());
    EXPECT_EQ(mariana->extension, QStringLiteral("102"));
    EXPECT_EQ(mariana->password, QStringLiteral("demo102"));
    EXPECT_TRUE(mariana->outgoingCalls);
    EXPECT_FALSE(
        SipOperatorEntry::findFor(store, QStringLiteral("Гнатюк В'ячеслав Олегович"))->outgoingCalls);

    const auto podgirtsi = DistrictNeighbours::fromFile().forDistrict(QStringLiteral("Підгірці"));
    EXPECT_EQ(podgirtsi.nearestStands, QStringLiteral("{Підгірці}{Лук'янівка}"));
    EXPECT_TRUE(podgirtsi.nearestRegions.startsWith(QStringLiteral("{Заріччя}")));
    EXPECT_EQ(TariffGrid::fromFile().metresBetween(QStringLiteral("вул. Квітки-Основ'яненка"),
                                                   QStringLiteral("вул. Соборна")),
              1200.0);
}
