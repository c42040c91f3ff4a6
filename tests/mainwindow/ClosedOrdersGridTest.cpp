#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbDataSet.h"
#include "foundation/fb/FbTransaction.h"
#include "mainwindow/GridColumns.h"
#include "mainwindow/ui/DataSetTableModel.h"
#include "support/DatabaseSuite.h"

#include <QApplication>
#include <QTableView>
#include <gtest/gtest.h>

// The executed and deleted orders of a period run to tens of thousands: their grid shows
// the first rows at once and reads on as the dispatcher scrolls.
class ClosedOrdersGrid : public DatabaseSuite
{
protected:
    static constexpr int kOrders = 2 * FbDataSet::kRowsPerFetch + 50;
    static void SetUpTestSuite()
    {
        DatabaseSuite::SetUpTestSuite();
        db->exec(QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= %1) DO BEGIN "
                                "INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_POCHAT_PUNKT, "
                                "CZ_DATA_PRIYOMA) "
                                "VALUES (:I, 1, '[Лесі]{' || :I || '}', '01.03.2026'); I = I + 1; END END")
                     .arg(kOrders));
    }
    void SetUp() override { connection.connect(db->params()); }
    void TearDown() override { connection.disconnect(); }
    void open(const QString& sql, GridColumns columns = GridLayouts::executedOrders())
    {
        list.setSql(sql);
        list.open();
        model = std::make_unique<DataSetTableModel>(list, std::move(columns));
        model->reload();
    }
    QString shown(int row, int column) const { return model->index(row, column).data().toString(); }

    FbConnection connection;
    FbTransaction transaction{connection, QStringLiteral("TRANZ_VIKON_ZAMOVL"),
                              FbTransaction::Access::ReadOnlyReadCommitted};
    FbDataSet list{transaction, QStringLiteral("TABL_VIKON_ZAMOVL"), FbDataSet::Fetching::AsNeeded};
    std::unique_ptr<DataSetTableModel> model;
};

TEST_F(ClosedOrdersGrid, ScrollingToTheEndReadsOnUntilEveryOrderIsShown)
{
    open(QStringLiteral("Select * from CLOSEZAMOVLENNIA Order by CZ_NUMBER"));
    QTableView view;
    view.setModel(model.get());
    view.resize(600, 300);
    view.show();
    QApplication::processEvents();
    ASSERT_EQ(model->rowCount(), FbDataSet::kRowsPerFetch);
    EXPECT_TRUE(model->canFetchMore({}));
    int inserted = 0;
    QObject::connect(model.get(), &QAbstractItemModel::rowsInserted, [&] { ++inserted; });
    while (model->canFetchMore({})) {
        view.scrollToBottom();
        QApplication::processEvents();
    }
    EXPECT_EQ(inserted, 2);
    ASSERT_EQ(model->rowCount(), kOrders);
    EXPECT_EQ(shown(kOrders - 1, 0), QString::number(kOrders));
    EXPECT_EQ(shown(kOrders - 1, 3), QStringLiteral("[Лесі]{%1}").arg(kOrders));
    EXPECT_FALSE(transaction.isActive());
}

TEST_F(ClosedOrdersGrid, ACurrentRowBeyondTheShownRowsIsShownAfterTheReload)
{
    open(QStringLiteral("Select * from CLOSEZAMOVLENNIA Order by CZ_NUMBER"));
    int resets = 0;
    QObject::connect(model.get(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    const int row = FbDataSet::kRowsPerFetch + 120;
    list.moveTo(row); // as a command going to a row the grid has not shown yet
    model->reload();
    EXPECT_EQ(resets, 0); // rows added, the grid keeps its place and selection
    ASSERT_GE(model->rowCount(), row);
    EXPECT_EQ(shown(row - 1, 0), QString::number(row));

    // Reopened, the list starts with fewer rows again and the grid follows.
    list.close();
    list.open();
    model->reload();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model->rowCount(), FbDataSet::kRowsPerFetch);
}

TEST_F(ClosedOrdersGrid, AFailedReadIsReportedAndTheRowsReadStay)
{
    open(QStringLiteral("Select CZ_NUMBER, 1 / (CZ_NUMBER - 250) from CLOSEZAMOVLENNIA Order by CZ_NUMBER"),
         {});
    QStringList failures;
    QObject::connect(model.get(), &DataSetTableModel::readFailed,
                     [&](const QString& message) { failures << message; });
    model->fetchMore({});
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("divide")));
    EXPECT_EQ(model->rowCount(), 249);
    EXPECT_FALSE(model->canFetchMore({}));
    EXPECT_EQ(shown(248, 0), QStringLiteral("249"));
}
