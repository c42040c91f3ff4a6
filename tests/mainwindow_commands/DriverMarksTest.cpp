#include "CommandsFixture.h"
#include "foundation/SqlLiteral.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "mainwindow/DriverMarkCommands.h"
#include "mainwindow/MainWindowCommands.h" // the holder compiles with its parts

class DriverMarks : public CommandsFixture
{
protected:
    void mark(qint64 callsign, const char* column, const QString& stamp)
    {
        db->exec(QStringLiteral("UPDATE ZADIANI_AVTO SET %1 = %2 WHERE ZAD_AVTO_POZIVNIY = %3")
                     .arg(QLatin1String(column), sql::text(stamp), QString::number(callsign)));
    }
    qint64 marked(const char* column)
    {
        return db->scalar(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE %1 IS NOT NULL")
                              .arg(QLatin1String(column)));
    }
};

TEST_F(DriverMarks, ResetsClearMarksAtOrBeforeTheLimitOnly)
{
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kJubileeResetMinutes,
                       QStringLiteral("60"));
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRefusalResetMinutes,
                       QStringLiteral("0"));
    putOnAir(5, QStringLiteral("А"), QStringLiteral("[]{}"), QStringLiteral("0001"));
    putOnAir(6, QStringLiteral("Б"), QStringLiteral("[]{}"), QStringLiteral("0002"));
    mark(5, "ZAD_AVTO_YUVILEYKA", QStringLiteral("02.03.2026 11:00:00")); // exactly 60 minutes before 12:00
    mark(6, "ZAD_AVTO_YUVILEYKA", QStringLiteral("02.03.2026 11:00:01"));
    mark(5, "ZAD_AVTO_RIBA", QStringLiteral("01.01.2020 00:00:00"));
    DriverMarkCommands marks(*ctx);
    marks.resetJubileeMarks();
    marks.resetRefusalMarks(); // "0" minutes: refusal marks are never reset
    EXPECT_EQ(marked("ZAD_AVTO_YUVILEYKA"), 1);
    EXPECT_EQ(db->scalar(QStringLiteral(
                  "SELECT ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO WHERE ZAD_AVTO_YUVILEYKA IS NOT NULL")),
              6);
    EXPECT_EQ(marked("ZAD_AVTO_RIBA"), 1);

    clock.advanceSeconds(1);
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRefusalResetMinutes,
                       QStringLiteral("30"));
    marks.resetBothMarks();
    EXPECT_EQ(marked("ZAD_AVTO_YUVILEYKA"), 0);
    EXPECT_EQ(marked("ZAD_AVTO_RIBA"), 0);
    EXPECT_TRUE(prompts.messages().isEmpty());
}
