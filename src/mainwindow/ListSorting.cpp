#include "mainwindow/ListSorting.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/ListRefresh.h"
#include "foundation/TDANI.h"
#include "mainwindow/DriversList.h"

#include <QRegularExpression>

void ListSorting::sortBy(FbDataSet& list, const QString& field)
{
    // The field goes into the statement as it is, so only a column name may pass.
    if (!isColumnName(field))
        return;
    TDANI& dani = m_ctx.dani;
    if (&list == &dani.TABL_ZADIANI_AVTO) {
        list.sortText = driversOrderClause(field);
        ReopenDriversList(dani);
        return;
    }
    if (&list != &dani.TABL_VIKON_ZAMOVL && &list != &dani.TABL_DELETE_ZAMOVL)
        return;
    list.sortText = closedOrdersSortText(field);
    if (list.isOpen())
        list.close();
    RefreshLists(m_ctx);
}

QString ListSorting::closedOrdersSortText(const QString& field)
{
    static const QHash<QString, QString> companions = {
        {QStringLiteral("CZ_DATA_PRIYOMA"), QStringLiteral("CZ_DATA_PRIYOMA, CZ_CHAS_PRIYOMA")},
        {QStringLiteral("CZ_DATA_ZAKR_ZAMOVL"), QStringLiteral("CZ_DATA_ZAKR_ZAMOVL, CZ_CHAS_ZAKR_ZAMOVL")},
        {QStringLiteral("CZ_CHAS_PRIYOM_VODIY"), QStringLiteral("CZ_CHAS_PRIYOM_VODIY, CZ_DATA_ZAKR_ZAMOVL")},
        {QStringLiteral("CZ_CHAS_PRIYOMA"), QStringLiteral("CZ_CHAS_PRIYOMA, CZ_DATA_PRIYOMA")},
        {QStringLiteral("CZ_CHAS_ZAKR_ZAMOVL"), QStringLiteral("CZ_CHAS_ZAKR_ZAMOVL, CZ_DATA_ZAKR_ZAMOVL")},
    };
    return companions.value(field, field);
}

QString ListSorting::driversOrderClause(const QString& field)
{
    if (field == QLatin1String("ZAD_AVTO_VULICA"))
        return QStringLiteral("ORDER BY ZAD_AVTO_VULICA, ZAD_AVTO_CHAS_ZAMOVL");
    return QStringLiteral("ORDER BY ") + field;
}

bool ListSorting::isColumnName(const QString& field)
{
    static const QRegularExpression name(QStringLiteral("^[A-Z][A-Z0-9_]*$"));
    return name.match(field).hasMatch();
}
