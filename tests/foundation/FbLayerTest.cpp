#include "foundation/SqlLiteral.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbDataSet.h"
#include "foundation/fb/FbEventListener.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "support/DatabaseSuite.h"
#include "support/HeldRowLock.h"
#include "support/TestDatabase.h"
#include "support/WaitFor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class FbLayer : public DatabaseSuite
{
protected:
    void SetUp() override { connection.connect(db->params()); }
    void TearDown() override
    {
        connection.disconnect();
        db->exec(QStringLiteral("DELETE FROM MSG_FOR_VODIY"));
    }
    void insertMessages(int count)
    {
        for (int i = 1; i <= count; ++i)
            db->exec(
                QStringLiteral(
                    "INSERT INTO MSG_FOR_VODIY (MSG_FOR_VODIY_NP, MSG_FOR_VODIY_TEXT) VALUES (%1, 'm%1')")
                    .arg(i));
    }

    FbConnection connection;
};

TEST_F(FbLayer, UkrainianTextIsStoredAsCp1251ByteForByte)
{
    FbTransaction t(connection, QStringLiteral("T"));
    FbQuery q(t);
    q.exec(QStringLiteral(
        "INSERT INTO MSG_FOR_VODIY (MSG_FOR_VODIY_NP, MSG_FOR_VODIY_TEXT) VALUES (1, 'ґєії ҐЄІЇ')"));
    EXPECT_EQ(q.affectedRows(), 1);
    t.commit();
    // The engine's own view of the bytes: ASCII_VAL gives the code of a WIN1251 character.
    const FbRows rows = db->exec(QStringLiteral("SELECT ASCII_VAL(SUBSTRING(MSG_FOR_VODIY_TEXT FROM 1 FOR "
                                                "1)), ASCII_VAL(SUBSTRING(MSG_FOR_VODIY_TEXT FROM 9 FOR 1)), "
                                                "MSG_FOR_VODIY_TEXT FROM MSG_FOR_VODIY"));
    EXPECT_EQ(rows.rows[0][0].toInt(), 0xB4); // ґ
    EXPECT_EQ(rows.rows[0][1].toInt(), 0xAF); // Ї
    EXPECT_EQ(rows.rows[0][2].toString(), QStringLiteral("ґєії ҐЄІЇ"));
}

TEST_F(FbLayer, TextOutsideCp1251FailsBeforeAnythingIsWritten)
{
    FbTransaction t(connection, QStringLiteral("T"));
    FbQuery q(t);
    EXPECT_THROW(
        q.exec(QStringLiteral(
            "INSERT INTO MSG_FOR_VODIY (MSG_FOR_VODIY_NP, MSG_FOR_VODIY_TEXT) VALUES (1, 'ok 日本')")),
        DbError);
    t.commit();
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM MSG_FOR_VODIY")), 0);
}

// Dispatch rooms name their folders in Ukrainian: such a path (and one with a character
// that has no cp1251 code) must be created and opened like any other.
TEST_F(FbLayer, ADatabaseInAFolderWithACyrillicNameIsCreatedAndOpened)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const QString& name : {QStringLiteral("Диспетчерська/база.fdb"), QStringLiteral("Диспетчерська/日本.fdb")}) {
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Диспетчерська")));
        ConnectionParameters where = db->params();
        where.database = folder.filePath(name);
        ASSERT_NO_THROW(FbConnection::createDatabase(where)) << name.toStdString();
        FbConnection other;
        ASSERT_NO_THROW(other.connect(where)) << name.toStdString();
        EXPECT_TRUE(QFile::exists(folder.filePath(name)));
    }
}

TEST_F(FbLayer, AffectedRowsAndRollback)
{
    insertMessages(3);
    FbTransaction t(connection, QStringLiteral("T"));
    FbQuery q(t);
    q.exec(QStringLiteral("UPDATE MSG_FOR_VODIY SET MSG_FOR_VODIY_STATUS = 'D' WHERE MSG_FOR_VODIY_NP >= 2"));
    EXPECT_EQ(q.affectedRows(), 2);
    q.exec(QStringLiteral("UPDATE MSG_FOR_VODIY SET MSG_FOR_VODIY_STATUS = 'D' WHERE MSG_FOR_VODIY_NP = 99"));
    EXPECT_EQ(q.affectedRows(), 0);
    t.rollback();
    EXPECT_FALSE(t.isActive());
    EXPECT_EQ(
        db->scalar(QStringLiteral("SELECT COUNT(*) FROM MSG_FOR_VODIY WHERE MSG_FOR_VODIY_STATUS = 'D'")), 0);
}

TEST_F(FbLayer, ValuesArriveWithTheirTypesAndNulls)
{
    FbTransaction t(connection, QStringLiteral("T"));
    FbQuery q(t);
    const FbRows& rows = q.exec(QStringLiteral(
        "SELECT CAST('01.03.2026' AS DATE) D, CAST('07:05:09' AS TIME) T, CAST('02.03.2026 08:00:01' AS "
        "TIMESTAMP) TS, "
        "CAST(12.34 AS NUMERIC(15,2)) A, CAST(NULL AS INTEGER) N, 'x' || '' C FROM RDB$DATABASE"));
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.value(0, QStringLiteral("d")).toDate(), QDate(2026, 3, 1));
    EXPECT_EQ(rows.value(0, QStringLiteral("T")).toTime(), QTime(7, 5, 9));
    EXPECT_EQ(rows.value(0, QStringLiteral("TS")).toDateTime(), QDateTime(QDate(2026, 3, 2), QTime(8, 0, 1)));
    EXPECT_DOUBLE_EQ(rows.value(0, QStringLiteral("A")).toDouble(), 12.34);
    EXPECT_FALSE(rows.value(0, QStringLiteral("N")).isValid());
    EXPECT_THROW(rows.value(0, QStringLiteral("MISSING")), DbError);
}

TEST_F(FbLayer, ListReopensAtItsRememberedRowClampedWhenItShrank)
{
    insertMessages(5);
    FbTransaction t(connection, QStringLiteral("LIST"));
    FbDataSet list(t);
    list.setSql(QStringLiteral("SELECT * FROM MSG_FOR_VODIY ORDER BY MSG_FOR_VODIY_NP"));
    int scrolls = 0;
    list.afterScroll = [&] { ++scrolls; };
    list.open();
    EXPECT_EQ(list.recNo(), 1);
    list.moveTo(4);
    list.close();
    EXPECT_EQ(list.rememberedRow, 4);
    list.openAtRememberedRow();
    EXPECT_EQ(list.recNo(), 4);
    EXPECT_EQ(list.value(QStringLiteral("MSG_FOR_VODIY_NP")).toInt(), 4);

    // Another workstation removes rows; the snapshot only shows it after reopening.
    db->exec(QStringLiteral("DELETE FROM MSG_FOR_VODIY WHERE MSG_FOR_VODIY_NP > 2"));
    list.close();
    list.openAtRememberedRow();
    EXPECT_EQ(list.recordCount(), 2);
    EXPECT_EQ(list.recNo(), 2);
    EXPECT_GT(scrolls, 0);

    db->exec(QStringLiteral("DELETE FROM MSG_FOR_VODIY"));
    list.close();
    list.openAtRememberedRow();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.recNo(), 0);
    EXPECT_FALSE(list.value(QStringLiteral("MSG_FOR_VODIY_NP")).isValid());
    list.close();
    EXPECT_EQ(list.rememberedRow, 0);
}

TEST_F(FbLayer, EventsOfAnotherConnectionArriveAndARollbackPostsNothing)
{
    FbEventListener listener;
    QList<QStringList> alerts;
    QObject::connect(&listener, &FbEventListener::eventsAlert,
                     [&](const QStringList& names) { alerts << names; });
    listener.registerEvents(connection,
                            {QStringLiteral("EV_InsertZAMOVLENNIA"), QStringLiteral("EV_REFLESH_ZAD_AVTO")});
    ASSERT_TRUE(waitFor([&] { return listener.ready(); })); // the first call only tells the counts
    EXPECT_TRUE(alerts.isEmpty());

    db->execAndRollBack({QStringLiteral("INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY) VALUES (1)")});
    settle(300);
    EXPECT_TRUE(alerts.isEmpty());

    db->exec(QStringLiteral("INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY) VALUES (1)"));
    ASSERT_TRUE(waitFor([&] { return !alerts.isEmpty(); }));
    EXPECT_EQ(alerts.takeFirst(), QStringList{QStringLiteral("EV_REFLESH_ZAD_AVTO")});

    // The listener queues itself again after every alert.
    db->exec(QStringLiteral(
        "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL) VALUES (GEN_ID(GENIDZAMOVL, 1), 0)"));
    ASSERT_TRUE(waitFor([&] { return !alerts.isEmpty(); }));
    EXPECT_EQ(alerts.takeFirst(), QStringList{QStringLiteral("EV_InsertZAMOVLENNIA")});
    db->exec(QStringLiteral("DELETE FROM ZADIANI_AVTO"));
    db->exec(QStringLiteral("DELETE FROM ZAMOVLENNIA"));
    settle(200);
}

TEST_F(FbLayer, AnOpenListKeepsNoTransactionOpen)
{
    insertMessages(2);
    FbTransaction t(connection, QStringLiteral("LIST"));
    FbDataSet list(t);
    list.setSql(QStringLiteral("SELECT * FROM MSG_FOR_VODIY"));
    list.open();
    EXPECT_EQ(list.recordCount(), 2);
    EXPECT_FALSE(t.isActive());
}

class ListReadAsNeeded : public FbLayer
{
protected:
    static constexpr int kRows = 2 * FbDataSet::kRowsPerFetch + 50;
    void SetUp() override
    {
        FbLayer::SetUp();
        db->exec(QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= %1) DO BEGIN "
                                "INSERT INTO MSG_FOR_VODIY (MSG_FOR_VODIY_NP, MSG_FOR_VODIY_TEXT) "
                                "VALUES (:I, 'повідомлення ' || :I); I = I + 1; END END")
                     .arg(kRows));
    }
    static QList<QVariant> column(const FbDataSet& list, const QString& name)
    {
        QList<QVariant> values;
        for (int row = 1; row <= list.recordCount(); ++row)
            values << list.valueAt(row, name);
        return values;
    }
    const QString sql = QStringLiteral("SELECT * FROM MSG_FOR_VODIY ORDER BY MSG_FOR_VODIY_NP DESC");
    FbTransaction t{connection, QStringLiteral("LIST"), FbTransaction::Access::ReadOnlyReadCommitted};
    FbDataSet list{t, QStringLiteral("LIST"), FbDataSet::Fetching::AsNeeded};
};

TEST_F(ListReadAsNeeded, HoldsTheSameRowsAsAListReadWholeOnceItIsRead)
{
    FbTransaction wholeTransaction(connection, QStringLiteral("WHOLE"));
    FbDataSet whole(wholeTransaction);
    whole.setSql(sql);
    whole.open();
    list.setSql(sql);
    list.open();
    EXPECT_EQ(list.recordCount(), FbDataSet::kRowsPerFetch);
    EXPECT_TRUE(list.canFetchMore());
    EXPECT_TRUE(t.isActive()); // the cursor stands in it
    EXPECT_EQ(list.rows().columns, whole.rows().columns);
    list.fetchMore();
    EXPECT_EQ(list.recordCount(), 2 * FbDataSet::kRowsPerFetch);
    list.fetchMore();
    EXPECT_EQ(list.recordCount(), kRows);
    EXPECT_FALSE(list.canFetchMore());
    EXPECT_FALSE(t.isActive()); // all read: nothing stays open
    for (const QString& name : whole.rows().columns)
        EXPECT_EQ(column(list, name), column(whole, name)) << qPrintable(name);
    list.fetchMore(); // nothing left: nothing happens
    EXPECT_EQ(list.recordCount(), kRows);
}

TEST_F(ListReadAsNeeded, ReadsOnToTheRowItMovesToAndReopensAtItsRememberedRow)
{
    list.setSql(sql);
    int scrolls = 0;
    list.afterScroll = [&] { ++scrolls; };
    list.open();
    const int row = FbDataSet::kRowsPerFetch + 150;
    list.moveTo(row);
    EXPECT_EQ(list.recNo(), row);
    EXPECT_EQ(list.value(QStringLiteral("MSG_FOR_VODIY_NP")).toInt(), kRows - row + 1);
    EXPECT_GE(list.recordCount(), row);
    list.close();
    EXPECT_FALSE(t.isActive());
    EXPECT_EQ(list.recordCount(), 0);
    EXPECT_FALSE(list.canFetchMore());
    EXPECT_EQ(list.rememberedRow, row);

    scrolls = 0;
    list.openAtRememberedRow();
    EXPECT_EQ(list.recNo(), row);
    EXPECT_EQ(list.value(QStringLiteral("MSG_FOR_VODIY_NP")).toInt(), kRows - row + 1);
    EXPECT_EQ(scrolls, 2); // the first row, then the remembered one

    list.last();
    EXPECT_EQ(list.recNo(), kRows);
    EXPECT_EQ(list.value(QStringLiteral("MSG_FOR_VODIY_NP")).toInt(), 1);
    EXPECT_FALSE(t.isActive());
    list.moveTo(kRows + 10); // past the end stays at the last row
    EXPECT_EQ(list.recNo(), kRows);
}

TEST_F(ListReadAsNeeded, AHalfReadListHoldsBackNoGarbageCollection)
{
    auto oldestActiveAfterOtherWork = [&] {
        for (int i = 0; i < 3; ++i)
            db->exec(QStringLiteral(
                "UPDATE MSG_FOR_VODIY SET MSG_FOR_VODIY_STATUS = 'D' WHERE MSG_FOR_VODIY_NP = 1"));
        return db->scalar(QStringLiteral("SELECT MON$OLDEST_ACTIVE FROM MON$DATABASE"));
    };
    auto transactionOf = [](FbTransaction& transaction) {
        FbQuery q(transaction);
        return q.exec(QStringLiteral("SELECT CURRENT_TRANSACTION FROM RDB$DATABASE")).rows[0][0].toLongLong();
    };
    list.setSql(sql);
    list.open();
    ASSERT_TRUE(list.canFetchMore());
    const qint64 listTransaction = transactionOf(t);
    EXPECT_GT(oldestActiveAfterOtherWork(), listTransaction);
    list.fetchMore();
    EXPECT_EQ(list.recordCount(), 2 * FbDataSet::kRowsPerFetch);

    // A snapshot in its place would hold every record version since it began.
    FbTransaction snapshot(connection, QStringLiteral("SNAPSHOT"));
    FbDataSet held(snapshot, QStringLiteral("HELD"), FbDataSet::Fetching::AsNeeded);
    held.setSql(sql);
    held.open();
    const qint64 heldTransaction = transactionOf(snapshot);
    EXPECT_LE(oldestActiveAfterOtherWork(), heldTransaction);
    held.close();
    EXPECT_FALSE(snapshot.isActive());
}

TEST_F(ListReadAsNeeded, AFailedReadKeepsTheRowsReadAndEndsTheList)
{
    // The 300th row fails as it is read (the order follows the index, so rows are read one
    // by one): division by zero.
    list.setSql(QStringLiteral("SELECT MSG_FOR_VODIY_NP, 1 / (MSG_FOR_VODIY_NP - 300) FROM MSG_FOR_VODIY "
                               "ORDER BY MSG_FOR_VODIY_NP"));
    list.open();
    ASSERT_EQ(list.recordCount(), FbDataSet::kRowsPerFetch);
    EXPECT_THROW(list.fetchMore(), DbError);
    EXPECT_EQ(list.recordCount(), 299);
    EXPECT_FALSE(list.canFetchMore());
    EXPECT_FALSE(t.isActive());
    EXPECT_TRUE(list.isOpen());

    // Failing within the first rows leaves the list closed, as any failed open.
    list.close();
    list.setSql(
        QStringLiteral("SELECT 1 / (MSG_FOR_VODIY_NP - 3) FROM MSG_FOR_VODIY ORDER BY MSG_FOR_VODIY_NP"));
    EXPECT_THROW(list.open(), DbError);
    EXPECT_FALSE(list.isOpen());
    EXPECT_EQ(list.recordCount(), 0);
    EXPECT_FALSE(t.isActive());
}

TEST_F(FbLayer, ARowHeldElsewhereGivesALockConflictOnceTheLockTimeoutPasses)
{
    ConnectionLimits limits;
    limits.lockTimeoutSeconds = 2;
    connection.connect(db->params(), limits);
    insertMessages(1);
    HeldRowLock held(
        db->other(),
        QStringLiteral("UPDATE MSG_FOR_VODIY SET MSG_FOR_VODIY_TEXT = 'held' WHERE MSG_FOR_VODIY_NP = 1"));
    FbTransaction t(connection, QStringLiteral("T"));
    FbQuery q(t);
    QElapsedTimer waited;
    waited.start();
    try {
        q.exec(QStringLiteral(
            "UPDATE MSG_FOR_VODIY SET MSG_FOR_VODIY_TEXT = 'mine' WHERE MSG_FOR_VODIY_NP = 1"));
        FAIL() << "the held row was written";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.lockConflict());
        EXPECT_EQ(e.message(), DbError::lockConflictMessage());
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("При потребі повторіть спробу.")));
    }
    EXPECT_GE(waited.elapsed(), 500);   // it did wait for the other one to finish
    EXPECT_LT(waited.elapsed(), 10000); // but not for ever
    t.rollback();
}

TEST_F(FbLayer, AKilledAttachmentFailsAsALostLink)
{
    FbTransaction t(connection, QStringLiteral("T"));
    FbQuery q(t);
    const qint64 mine =
        q.exec(QStringLiteral("SELECT MON$ATTACHMENT_ID FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = "
                              "CURRENT_CONNECTION"))
            .rows[0][0]
            .toLongLong();
    t.commit();
    db->exec(QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = %1").arg(mine));
    try {
        q.exec(QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
        FAIL() << "a killed attachment answered";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.linkLost()) << e.message().toStdString();
    }
    EXPECT_FALSE(connection.ping());
    connection.markLost();
    EXPECT_FALSE(connection.isConnected());
    EXPECT_FALSE(t.isActive());
}
