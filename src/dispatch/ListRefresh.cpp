#include "dispatch/ListRefresh.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/FbDataSet.h"

namespace {

void openAtRememberedRow(FbDataSet& list, const QString& sql)
{
    list.setSql(sql);
    list.openAtRememberedRow();
}

void refreshClosedList(FbDataSet& list, int status, const DataModuleView::PageState& page,
                       const QString& rollCall)
{
    if (list.isOpen())
        return;
    list.filterText = ClosedOrdersFilter(status, page.from, page.to, rollCall);
    openAtRememberedRow(list, QStringLiteral("Select * from CLOSEZAMOVLENNIA ") + list.filterText +
                                  QStringLiteral(" Order by ") + list.sortText);
}

} // namespace

QString ClosedOrdersFilter(int status, const QDate& from, const QDate& to, const QString& rollCall)
{
    QString filter =
        QStringLiteral("WHERE (CZ_STATUS_ZAMOVL = (%1)) and (CZ_DATA_PRIYOMA BETWEEN %2 AND %3) ")
            .arg(sql::integer(status), sql::date(from), sql::date(to));
    const QTime roll = QTime::fromString(rollCall, QStringLiteral("hh:mm"));
    if (!roll.isValid() || roll == QTime(0, 0))
        return filter;
    // Times compare by their minute with the hh:mm roll call: 08:00:59 is "08:00".
    const int minuteAfter = roll.hour() * 60 + roll.minute() + 1;
    const QString time = QStringLiteral("COALESCE(CZ_CHAS_PRIYOMA, CAST('00:00' AS TIME))");
    if (minuteAfter >= 24 * 60) {
        // Roll call at 23:59: nothing of the first day, all of the last.
        filter += QStringLiteral("AND (CZ_DATA_PRIYOMA <> %1) ").arg(sql::date(from));
        return filter;
    }
    const QString boundary = sql::timeHm(QTime(minuteAfter / 60, minuteAfter % 60));
    filter +=
        QStringLiteral(
            "AND NOT ((CZ_DATA_PRIYOMA = %1) AND (%3 < %2)) AND NOT ((CZ_DATA_PRIYOMA = %4) AND (%3 >= %2)) ")
            .arg(sql::date(from), boundary, time, sql::date(to));
    return filter;
}

void RefreshLists(DispatchContext& ctx)
{
    TDANI& dani = ctx.dani;
    const DataModuleView::PageState page = dani.view().pageState();
    const QString rollCall = ctx.settings.value(SettingKeys::kRollCall, QStringLiteral("00:00"));
    if (page.mainPage == 1)
        refreshClosedList(dani.TABL_VIKON_ZAMOVL, 1, page, rollCall);
    if (page.mainPage == 2)
        refreshClosedList(dani.TABL_DELETE_ZAMOVL, -1, page, rollCall);
    if (page.mainPage != 0)
        return;

    const auto ordersPage = dani.view().ordersPage();
    if (ordersPage != DataModuleView::OrdersPage::Hot && !dani.TABL_AKTIV_ZAMOVL.isOpen()) {
        QString filter = QStringLiteral("WHERE (ZAMOVL_STATUS_ZAMOVL = 0)");
        if (page.onlyCarried && !page.onlyToHandOut)
            filter += QStringLiteral(" and (ZAMOVL_POZIVNIY > 0)");
        else if (page.onlyToHandOut && !page.onlyCarried)
            filter += QStringLiteral(" and ((ZAMOVL_POZIVNIY IS NULL) or (ZAMOVL_POZIVNIY = 0))");
        dani.TABL_AKTIV_ZAMOVL.filterText = filter;
        openAtRememberedRow(dani.TABL_AKTIV_ZAMOVL, QStringLiteral("Select * from ZAMOVLENNIA ") + filter +
                                                        QStringLiteral(" Order by ") +
                                                        dani.TABL_AKTIV_ZAMOVL.sortText);
    }
    if (ordersPage == DataModuleView::OrdersPage::Hot && page.hotOrderShown) {
        dani.TRANZ_FOR_EVENTS.commitIfActive();
        const FbRows& rows = dani.RIZNE_EVENTS.exec(
            QStringLiteral("SELECT ZAMOVL_NUMBER from ZAMOVLENNIA WHERE (ZAMOVL_STATUS_ZAMOVL = 0) and "
                           "((ZAMOVL_POZIVNIY = 0) or (ZAMOVL_POZIVNIY is null)) and (ZAMOVL_NUMBER = %1)")
                .arg(sql::integer(*page.hotOrderShown)));
        const bool stillOpen = rows.rowCount() == 1;
        dani.TRANZ_FOR_EVENTS.commitIfActive();
        if (!stillOpen)
            dani.hotOrdersView().clearHotOrderDetails();
    }
    if (page.driversGroupVisible && !dani.TABL_DIY_VODY_GPRS.isOpen()) {
        QString sql = QStringLiteral("SELECT * FROM  DYA_VODIY_GPRS ");
        if (dani.gprsLowerBound != 0)
            sql += QStringLiteral("WHERE (DYA_VODIY_GPRS_NP >= %1) ").arg(sql::integer(dani.gprsLowerBound));
        openAtRememberedRow(dani.TABL_DIY_VODY_GPRS, sql + dani.TABL_DIY_VODY_GPRS.sortText);
    }
    if ((page.driversGroupVisible || page.extraDriversPanelVisible) && !dani.TABL_ZADIANI_AVTO.isOpen())
        openAtRememberedRow(dani.TABL_ZADIANI_AVTO, QStringLiteral("SELECT * FROM  ZADIANI_AVTO ") +
                                                        dani.TABL_ZADIANI_AVTO.filterText + QLatin1Char(' ') +
                                                        dani.TABL_ZADIANI_AVTO.sortText);
    if (page.driversGroupVisible && !dani.TABLE_ZADIANI_AVTO_GROUP.isOpen())
        openAtRememberedRow(
            dani.TABLE_ZADIANI_AVTO_GROUP,
            QStringLiteral(
                "SELECT  ZAD_AVTO_VULICA  FROM  ZADIANI_AVTO WHERE ((ZAD_AVTO_NOMER_ZAMOVL IS NULL) "
                "OR (ZAD_AVTO_NOMER_ZAMOVL = 0)) GROUP  BY  ZAD_AVTO_VULICA"));
}
