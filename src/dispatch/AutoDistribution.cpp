#include "dispatch/AutoDistribution.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/NearestStand.h"
#include "dispatch/OrderAssignment.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/StandQueue.h"
#include "foundation/TDANI.h"
#include "platform/Prompts.h"

namespace {

QString question(const QString& maxDistance, bool freeRides, bool marked)
{
    QStringList lines = {
        QStringLiteral("Роздати в автоматичному режимі гарячі замовлення ?"),
        QString(),
        QStringLiteral(
            "-------------------  параметри роздачи -----------------------------------------------------"),
        QStringLiteral("ЗАМОВЛЕННЯ БУДУТЬ РОЗДАНІ ВОДІЯМ ЯКІ ЗАРЕЄСТРОВАНІ НА СТОЯНКАХ,"),
        QStringLiteral("І ПОПАДУТЬ ТІЛЬКИ ДО ВОДІЇВ ЯКІ В ДАНИЙ ЧАС ЗАРЕЄСТРОВАНІ В СИСТЕМІ GPRS"),
        QString(),
        QLatin1Char('[') + maxDistance +
            QStringLiteral(
                "] Максимальна відстань водія (системи GPRS) до замовлення при автоматичній роздачі"),
    };
    if (freeRides) {
        lines << QStringLiteral("Роздавати ювілейні поїздки [ТАК]");
        lines << (marked ? QStringLiteral("Давати ювілейну поїздку водіям з необнуленою поміткою попередньої "
                                          "ювілейної поїздки [ТАК]")
                         : QStringLiteral("Давати ювілейну поїздку водіям з необнуленою поміткою попередньої "
                                          "ювілейної поїздки [НІ]"));
    } else {
        lines << QStringLiteral("Роздавати ювілейні поїздки [НІ]");
    }
    return lines.join(QLatin1Char('\r'));
}

} // namespace

int DistributeHotOrders(DispatchContext& ctx, const QList<HotOrdersView::HotOrderLine>& hotLines,
                        const std::function<void(int, int)>& progress)
{
    const QString maxText = ctx.settings.value(SettingKeys::kMaxAutoDistance, QStringLiteral("0"));
    const bool freeRides = ctx.settings.flag(SettingKeys::kAutoFreeRides);
    const bool marked = ctx.settings.flag(SettingKeys::kFreeRidesToMarked);
    // A maximum of 0 switches the distribution off; the dispatcher is not even asked.
    if (maxText == QLatin1String("0") || !ctx.prompts.question(question(maxText, freeRides, marked)))
        return 0;
    const double maxDistance = double(typedInteger(maxText));
    const QString mode = !freeRides ? DistributionMode::kNoFreeRides
                         : marked   ? DistributionMode::kFreeRidesMarkedAllowed
                                    : DistributionMode::kFreeRidesMarkedExcluded;
    int handedOut = 0;
    StandCandidates stands(ctx, mode);
    const QList<HotOrdersView::HotOrderLine> lines = hotLines; // the list may be rebuilt meanwhile
    for (int i = 0; i < lines.size(); ++i) {
        if (progress)
            progress(i, lines.size());
        const QString& text = lines[i].text;
        bool ok = false;
        const qint64 number = text.section(QLatin1Char(' '), 0, 0).toLongLong(&ok);
        if (!ok)
            continue;
        const bool isFree = text.contains(QLatin1String("{TAK}"));
        if (isFree && !freeRides)
            continue;
        const QString marker = isFree ? QStringLiteral("{TAK} ") : QStringLiteral("{HI} ");
        const qsizetype at = text.indexOf(marker);
        if (at < 0)
            continue;
        const QString pickup = text.mid(at + marker.size());
        const NearestStand nearest = stands.nearestTo(pickup);
        const QString& stand = nearest.stand;
        if (stand.isEmpty())
            continue;
        // The whole pick-up text is the label: a pick-up with more after the house has no
        // distance and stays for the dispatcher. A pick-up that is just the house was
        // measured already while its stand was found.
        const auto distance = HouseOfAddress(pickup) == pickup && nearest.metresFromHouse
                                  ? nearest.metresFromHouse
                                  : MapDistanceMetres(ctx, pickup, stand);
        if (!distance || *distance > maxDistance)
            continue;
        QString extra = QStringLiteral("AND (ZAD_AVTO_MARKA_AVTO LIKE '%' || '{GPRS}' || '%') ");
        if (isFree && mode == DistributionMode::kFreeRidesMarkedExcluded)
            extra += QStringLiteral("AND (ZAD_AVTO_YUVILEYKA IS NULL) ");
        ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
        const auto driver = FirstFreeDriverAtStand(ctx.dani.RIZNE_EVENTS, stand, extra);
        ctx.dani.TRANZ_FOR_EVENTS.commitIfActive();
        if (!driver)
            continue;
        if (AssignOrderToDriver(ctx, *driver, number))
            ++handedOut;
        stands.recheck(stand); // the driver is gone, or was taken by another workstation
    }
    if (progress)
        progress(lines.size(), lines.size());
    return handedOut;
}
