#include "mainwindow/WorkAnalysisLog.h"
#include "dispatch/DispatchContext.h"
#include "dispatch/WorkstationChecks.h"
#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "foundation/ui/TForm4.h"
#include "mainwindow/SecondTimer.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "platform/Cp1251.h"
#include "support/DatabaseSuite.h"
#include "support/DriverOnAirRow.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

const QDateTime kStart(QDate(2026, 3, 3), QTime(9, 5, 0));

// Read-only for everybody, root included: root writes through file modes, so the file
// is made immutable as well. Returns false where the file system cannot do that.
bool setReadOnly(const QString& path, bool readOnly)
{
    QFile::setPermissions(path, readOnly
                                    ? QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther
                                    : QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (geteuid() != 0)
        return true;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = readOnly ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}

} // namespace

class WorkLog : public DatabaseSuite
{
protected:
    void SetUp() override
    {
        BaseFolder::overrideForTests(folder.path());
        for (const char* table : {"ZADIANI_AVTO", "ZAMOVLENNIA"})
            db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
        ws = std::make_unique<TestWorkstation>(db->serverSettings());
        ASSERT_TRUE(ws->connect());
        ctx = std::make_unique<DispatchContext>(
            DispatchContext{*ws->dani, ws->store, ws->prompts, clock, *ws->map, QStringLiteral("Тест"), {}});
        log = std::make_unique<WorkAnalysisLog>(*ctx);
    }
    void TearDown() override
    {
        setReadOnly(file(), false);
        log.reset();
        ctx.reset();
        ws.reset();
        BaseFolder::overrideForTests({});
    }

    QString file() const { return folder.path() + QStringLiteral("/ANALIZTAXI.XLS"); }
    QByteArray bytes() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList lines() const
    {
        QStringList all = cp1251::decode(bytes()).split(QStringLiteral("\r\n"));
        EXPECT_EQ(all.takeLast(), QString()); // every line ends with CR LF
        return all;
    }
    void driver(qint64 callsign, const QString& stand, bool engaged,
                const QString& model = QStringLiteral("Ланос"))
    {
        InsertDriverOnAir(
            *db, {callsign, QStringLiteral("Водій"), model, stand, QStringLiteral("0001"), 0, engaged});
    }
    void order(qint64 number, int status, const QString& freeRide = QStringLiteral("HI"))
    {
        db->exec(QStringLiteral(
                     "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL, ZAMOVL_BEZKOSHTOVN) "
                     "VALUES (%1, %2, %3)")
                     .arg(sql::integer(number), sql::integer(status), sql::text(freeRide)));
    }
    // Three drivers on air (one free at a stand, one on an order, one GPRS driver free on
    // the zero stand) and five orders (three executed, one of them a jubilee trip).
    void fillFleet()
    {
        driver(12, QStringLiteral("[Вокзал]{}"), false);
        driver(15, QStringLiteral("[Ринок]{}"), true);
        driver(7, QStringLiteral("[]{}"), false, QStringLiteral("Ланос {GPRS}"));
        order(1, 1);
        order(2, 1);
        order(3, 1, QStringLiteral("TAK"));
        order(4, 0, QStringLiteral("TAK"));
        order(5, -1);
    }

    QTemporaryDir folder;
    FixedClock clock{kStart};
    std::unique_ptr<TestWorkstation> ws;
    std::unique_ptr<DispatchContext> ctx;
    std::unique_ptr<WorkAnalysisLog> log;
};

TEST_F(WorkLog, RecordsCountTheFleetAndTheChangesSinceThePreviousReading)
{
    fillFleet();
    ASSERT_EQ(WorkAnalysisLog::PrepareAnalysisFile(), QString());
    clock.set(QDateTime(QDate(2026, 3, 3), QTime(9, 7, 4)));
    ASSERT_TRUE(log->WriteAnalysisRecord().written);

    QStringList all = lines();
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0], WorkAnalysisLog::headerLine());
    EXPECT_EQ(all[0].split(QLatin1Char('\t')).size(), 10);
    EXPECT_FALSE(all[0].endsWith(QLatin1Char('\t')));
    // The first reading after start: changes equal the absolute counts.
    EXPECT_EQ(all[1], QStringLiteral("аналіз\t03.03.2026\t09:07:04\t3\t1\t1\t3\t3\t1\t1\t"));
    EXPECT_TRUE(bytes().contains(*cp1251::encode(QStringLiteral("аналіз")))); // cp1251 bytes, not UTF-8
    EXPECT_EQ(ws->store.value(SettingKeys::kAnalysisPreviousReading), QStringLiteral("03.03.2026 09:07:04"));

    // One more driver, one more executed order, a driver leaves his order; the drivers'
    // total drops below the previous reading on the third record.
    driver(20, QStringLiteral("[Вокзал]{}"), false);
    db->exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_STATUS_ZAMOVL = 1 WHERE ZAMOVL_NUMBER = 5"));
    db->exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_ZADIANIST = 0 WHERE ZAD_AVTO_POZIVNIY = 15"));
    clock.set(QDateTime(QDate(2026, 3, 3), QTime(10, 0)));
    ASSERT_TRUE(log->WriteAnalysisRecord().written);
    db->exec(QStringLiteral("DELETE FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY IN (12, 15)"));
    clock.set(QDateTime(QDate(2026, 3, 4), QTime(0, 1)));
    ASSERT_TRUE(log->WriteAnalysisRecord().written);
    all = lines();
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(all[2], QStringLiteral("аналіз\t03.03.2026\t10:00:00\t4\t3\t0\t1\t1\t0\t1\t"));
    EXPECT_EQ(all[3], QStringLiteral("аналіз\t04.03.2026\t00:01:00\t2\t1\t0\t-2\t0\t0\t1\t"));
    EXPECT_EQ(log->previousReading().total, 2);
    EXPECT_FALSE(ws->dani->TRANZ_ANALIZ.isActive()); // the analysis data set is closed
    EXPECT_TRUE(ws->prompts.messages().isEmpty());
}

TEST_F(WorkLog, AFailedCountLeavesNoPartOfALineAndKeepsThePreviousReading)
{
    fillFleet();
    ASSERT_EQ(WorkAnalysisLog::PrepareAnalysisFile(), QString());
    const QByteArray header = bytes();
    // Five counts succeed, the last one, of the GPRS drivers, fails.
    db->exec(QStringLiteral("ALTER TABLE ZADIANI_AVTO ALTER ZAD_AVTO_MARKA_AVTO TO ZAD_AVTO_MARKA_GONE"));
    log->writeAnalysisRecord();
    db->exec(QStringLiteral("ALTER TABLE ZADIANI_AVTO ALTER ZAD_AVTO_MARKA_GONE TO ZAD_AVTO_MARKA_AVTO"));
    EXPECT_EQ(bytes(), header);
    EXPECT_EQ(ws->prompts.messages().size(), 1);
    EXPECT_EQ(log->previousReading().total, 0);
    EXPECT_FALSE(ws->store.contains(SettingKeys::kAnalysisPreviousReading));
    EXPECT_FALSE(ws->dani->TRANZ_ANALIZ.isActive());

    // The next record still counts its changes from the start.
    ASSERT_TRUE(log->WriteAnalysisRecord().written);
    EXPECT_EQ(lines().value(1), QStringLiteral("аналіз\t03.03.2026\t09:05:00\t3\t1\t1\t3\t3\t1\t1\t"));
}

TEST_F(WorkLog, AMissingFileGetsItsHeaderAndTheRecordAndAPresentOneIsKept)
{
    fillFleet();
    // The log-in's preparation writes the header only, and only once.
    ASSERT_EQ(WorkAnalysisLog::PrepareAnalysisFile(), QString());
    EXPECT_EQ(bytes(), *cp1251::encode(WorkAnalysisLog::headerLine() + QStringLiteral("\r\n")));
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("old line\r\n");
    }
    ASSERT_EQ(WorkAnalysisLog::PrepareAnalysisFile(), QString());
    EXPECT_TRUE(bytes().endsWith("old line\r\n"));

    // Deleted after the log-in: the record still goes in, behind a new header.
    QFile::remove(file());
    ASSERT_TRUE(log->WriteAnalysisRecord().written);
    const QStringList all = lines();
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0], WorkAnalysisLog::headerLine());
    EXPECT_EQ(all[1].split(QLatin1Char('\t')).size(), 11); // ten fields, each with its tab
}

TEST_F(WorkLog, AReadOnlyOrFullFileShowsItsMessageAndKeepsThePreviousReading)
{
    fillFleet();
    ASSERT_EQ(WorkAnalysisLog::PrepareAnalysisFile(), QString());
    const QByteArray header = bytes();
    if (!setReadOnly(file(), true))
        GTEST_SKIP() << "this file system cannot make a file read-only for root";
    log->writeAnalysisRecord();
    ASSERT_EQ(ws->prompts.messages().size(), 1);
    EXPECT_TRUE(ws->prompts.messages()[0].contains(QStringLiteral("ANALIZTAXI.XLS")));
    EXPECT_EQ(bytes(), header);
    EXPECT_EQ(log->previousReading().total, 0);
    EXPECT_EQ(log->previousReading().at, kStart);
    EXPECT_FALSE(ws->store.contains(SettingKeys::kAnalysisPreviousReading));

    // A disk that fills up during the write: nothing half written counts as a record.
    ASSERT_TRUE(setReadOnly(file(), false));
    QFile::remove(file());
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), file()));
    EXPECT_FALSE(log->WriteAnalysisRecord().written);
    EXPECT_EQ(log->previousReading().total, 0);
    QFile::remove(file());

    // Writable again: the changes still count from the start.
    ASSERT_TRUE(log->WriteAnalysisRecord().written);
    EXPECT_EQ(lines().value(1).section(QLatin1Char('\t'), 6, 6), QStringLiteral("3"));
}

TEST_F(WorkLog, EachScheduledMinuteGivesOneRecordHoweverTheTicksFall)
{
    fillFleet();
    ASSERT_EQ(WorkAnalysisLog::PrepareAnalysisFile(), QString());
    // Two entries for 09:06; 09:08 and 09:09 too; 09:07 is not scheduled.
    ws->store.setValue(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisSchedule,
                       QStringLiteral("09:06\n09:06\n09:08\n09:09\n10:30"));
    ws->store.setFlag(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisAllowed, true);
    SecondTimer::Jobs jobs;
    jobs.analysisAllowed = [this] { return ws->store.flag(SettingKeys::kAnalysisAllowed); };
    jobs.checkAnalysisSchedule = [this] { log->checkSchedule(); };
    SecondTimer timer(jobs);

    // Ten minutes of one-second ticks, the 601-tick wrap among them.
    for (int tick = 0; tick < 600; ++tick) {
        timer.tick();
        clock.advanceSeconds(1);
    }
    QStringList times;
    for (const QString& line : lines().mid(1))
        times << line.section(QLatin1Char('\t'), 2, 2);
    EXPECT_EQ(times, QStringList({"09:06:00", "09:08:00", "09:09:00"}));

    // The clock passes over 10:30 between two checks: the minute is caught up once.
    ws->store.setFlag(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisAllowed, false);
    clock.set(QDateTime(kStart.date(), QTime(10, 29, 59)));
    EXPECT_FALSE(log->checkSchedule());
    clock.set(QDateTime(kStart.date(), QTime(10, 31, 0)));
    EXPECT_TRUE(log->checkSchedule());
    clock.set(QDateTime(kStart.date(), QTime(10, 31, 30)));
    EXPECT_FALSE(log->checkSchedule());
    EXPECT_EQ(lines().size(), 5);
    EXPECT_EQ(lines().last().section(QLatin1Char('\t'), 2, 2), QStringLiteral("10:31:00"));

    // Analysis not allowed: the timer does not look at the schedule at all.
    for (int tick = 0; tick < 120; ++tick)
        timer.tick();
    EXPECT_EQ(lines().size(), 5);
}

TEST_F(WorkLog, LongGapsAreNotCaughtUpAndABackwardClockDoesNotStopTheSchedule)
{
    struct CountingWriter : IWorkLogWriter
    {
        int records = 0;
        void writeAnalysisRecord() override { ++records; }
    } writer;
    ws->store.setValue(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisSchedule,
                       QStringLiteral("08:01\n12:00"));
    const QDate day = kStart.date();
    QDateTime last;
    clock.set(QDateTime(day, QTime(8, 0, 59)));
    EXPECT_FALSE(CheckAnalysisSchedule(*ctx, writer, last));
    clock.set(QDateTime(day, QTime(11, 0)));
    EXPECT_FALSE(CheckAnalysisSchedule(*ctx, writer, last)); // three hours asleep: 08:01 is history
    clock.set(QDateTime(day, QTime(12, 0, 30)));
    EXPECT_TRUE(CheckAnalysisSchedule(*ctx, writer, last));
    clock.set(QDateTime(day, QTime(11, 59, 50))); // the clock is set back
    EXPECT_FALSE(CheckAnalysisSchedule(*ctx, writer, last));
    clock.set(QDateTime(day, QTime(12, 0, 1)));
    EXPECT_TRUE(CheckAnalysisSchedule(*ctx, writer, last)); // 12:00 comes round again
    EXPECT_EQ(writer.records, 2);
}

TEST(WorkLogSettingsWindow, AnalyserButtonsFollowThePermissionAndThePreviousReadingIsShown)
{
    QTemporaryDir folder;
    BaseFolder::overrideForTests(folder.path());
    SettingsStore store;
    TForm4 form(store);
    const auto button = [&form](const QString& text) {
        for (QPushButton* b : form.findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        return static_cast<QPushButton*>(nullptr);
    };
    QPushButton* forced = button(QStringLiteral("Примусовий аналіз ..."));
    QPushButton* open = button(QStringLiteral("Відкрити файл аналізу роботи"));
    ASSERT_TRUE(forced && open);
    EXPECT_FALSE(forced->isEnabled());
    EXPECT_FALSE(open->isEnabled());
    store.setFlag(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisAllowed, true);
    EXPECT_TRUE(forced->isEnabled());
    EXPECT_TRUE(open->isEnabled());
    store.setFlag(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisAllowed, false);
    EXPECT_FALSE(forced->isEnabled());

    store.setValue(SettingsStore::kAnalysisGroup, SettingKeys::kAnalysisPreviousReading,
                   QStringLiteral("03.03.2026 09:07:04"));
    EXPECT_EQ(form.shownCaption(SettingKeys::kAnalysisPreviousReading),
              QStringLiteral("Попередня дата і час :"));
    EXPECT_EQ(form.shownValue(SettingKeys::kAnalysisPreviousReading), QStringLiteral("03.03.2026 09:07:04"));
    EXPECT_EQ(form.shownGroup(SettingKeys::kAnalysisPreviousReading), SettingsStore::kAnalysisGroup);
    BaseFolder::overrideForTests({});
}
