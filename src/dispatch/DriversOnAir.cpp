#include "dispatch/DriversOnAir.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/QueueKey.h"
#include "foundation/DisplayText.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

namespace {

const QString kZeroStand = QStringLiteral("[]{}");

bool isGprs(const QVariant& model)
{
    return model.toString().contains(QLatin1String("{GPRS}"));
}

// "date time" of the last order on the latest day that has one, or NULL.
QString lastMarkLiteral(FbQuery& query, const QString& table, const QString& prefix, const QString& condition)
{
    const QString dateColumn = prefix + QStringLiteral("DATA_PRIYOMA");
    const QString timeColumn = prefix + QStringLiteral("CHAS_PRIYOMA");
    const FbRows& rows = query.exec(
        QStringLiteral(
            "SELECT  %1, %2  FROM %3 WHERE %4 AND %1 = (SELECT MAX(%1) FROM %3  WHERE %4) ORDER BY %1, %2")
            .arg(dateColumn, timeColumn, table, condition));
    if (rows.isEmpty())
        return QStringLiteral("NULL");
    const auto& last = rows.rows.back();
    if (!last[0].isValid())
        return QStringLiteral("NULL");
    return sql::timestamp(QDateTime(last[0].toDate(), last[1].isValid() ? last[1].toTime() : QTime(0, 0)));
}

QString markCondition(const QString& prefix, const QString& statusCondition, qint64 callsign,
                      const QString& name)
{
    return QStringLiteral("(%1) AND (%2FIO_TAXI = %3) AND (%2POZIVNIY = %4)")
        .arg(statusCondition, prefix, sql::text(name), sql::integer(callsign));
}

QString jubileeCondition(const QString& prefix, qint64 callsign, const QString& name)
{
    return markCondition(prefix,
                         QStringLiteral("(%1BEZKOSHTOVN = 'TAK') AND (%1STATUS_ZAMOVL = 1)").arg(prefix),
                         callsign, name);
}

QString refusalCondition(const QString& prefix, qint64 callsign, const QString& name)
{
    return markCondition(prefix, QStringLiteral("%1STATUS_ZAMOVL = -1").arg(prefix), callsign, name);
}

void resetMarks(DispatchContext& ctx)
{
    for (const QString& error : {ResetExpiredJubileeMarks(ctx), ResetExpiredRefusalMarks(ctx)})
        if (!error.isEmpty())
            ctx.prompts.message(error);
}

QString resetExpired(DispatchContext& ctx, const QString& minutesKey, const QString& column)
{
    const QString minutesText = ctx.settings.value(minutesKey);
    if (minutesText.isEmpty() || minutesText == QLatin1String("0") || minutesText == QLatin1String(" "))
        return {};
    TDANI& dani = ctx.dani;
    const QDateTime limit = ctx.clock.now().addSecs(-60 * typedInteger(minutesText));
    try {
        dani.TRANZ_TABL_DELETE_POMITKI.commitIfActive();
        const FbRows rows = dani.TABL_DELETE_POMITKI.exec(
            QStringLiteral("SELECT ZAD_AVTO_POZIVNIY, %1 FROM ZADIANI_AVTO WHERE (%1 IS NOT NULL) GROUP BY "
                           "ZAD_AVTO_POZIVNIY, %1")
                .arg(column));
        for (const auto& row : rows.rows) {
            if (row[1].toDateTime() <= limit)
                dani.TABL_DELETE_POMITKI_DOD.exec(
                    QStringLiteral("UPDATE ZADIANI_AVTO SET %1 = NULL WHERE (ZAD_AVTO_POZIVNIY = %2)")
                        .arg(column, sql::integer(row[0].toLongLong())));
        }
        dani.TRANZ_TABL_DELETE_POMITKI.commit();
        return {};
    } catch (const DbError& e) {
        dani.TRANZ_TABL_DELETE_POMITKI.rollbackQuietly();
        return e.message();
    }
}

} // namespace

PutOnAirResult PutDriverOnAir(DispatchContext& ctx, qint64 callsign, const QString& name)
{
    TDANI& dani = ctx.dani;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows banned = dani.RIZNE.exec(
            QStringLiteral("SELECT * FROM BL_VODII WHERE (BL_STATUS = 1) and (BL_AVTO_POZIVN = %1)")
                .arg(sql::integer(callsign)));
        if (!banned.isEmpty()) {
            dani.TRANZ_RIZNE.commitIfActive();
            return PutOnAirResult::BlackListed;
        }
        QStringList keys;
        for (const auto& row :
             dani.RIZNE
                 .exec(QStringLiteral("SELECT ZAD_AVTO_CHAS_ZAMOVL FROM ZADIANI_AVTO "
                                      "WHERE (ZAD_AVTO_VULICA = '[]{}') AND (ZAD_AVTO_NOMER_ZAMOVL = 0)"))
                 .rows)
            keys << row[0].toString();
        const QString key = NextQueueKey(keys);

        const FbRows car =
            dani.RIZNE.exec(QStringLiteral("SELECT  *  FROM DANI_AVTO WHERE (TABL_AVTO_POZIVN = %1)")
                                .arg(sql::integer(callsign)));
        if (car.isEmpty())
            throw DbError(QStringLiteral("no car row"));
        const int last = car.rowCount() - 1;
        const QString jubilee =
            lastMarkLiteral(dani.RIZNE, QStringLiteral("ZAMOVLENNIA"), QStringLiteral("ZAMOVL_"),
                            jubileeCondition(QStringLiteral("ZAMOVL_"), callsign, name));
        const QString refusal =
            lastMarkLiteral(dani.RIZNE, QStringLiteral("ZAMOVLENNIA"), QStringLiteral("ZAMOVL_"),
                            refusalCondition(QStringLiteral("ZAMOVL_"), callsign, name));
        auto number = [&](const char* column) {
            return sql::amount(car.value(last, QLatin1String(column)).toDouble());
        };
        auto text = [&](const char* column) {
            return sql::text(car.value(last, QLatin1String(column)).toString());
        };
        dani.RIZNE.exec(
            QStringLiteral(
                "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY, ZAD_AVTO_RAYON, "
                "ZAD_AVTO_MARKA_AVTO, ZAD_AVTO_KOLIR_AVTO, ZAD_AVTO_KUZOV_AVTO, ZAD_AVTO_KIL_PASAGHIR, "
                "ZAD_AVTO_VAGA, ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_VULICA, ZAD_AVTO_ZADIANIST,  "
                "ZAD_AVTO_NOMER_ZAMOVL, ZAD_AVTO_YUVILEYKA, ZAD_AVTO_RIBA) "
                "VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9, '[]{}', 0, 0, %10, %11)")
                .arg(sql::integer(callsign), sql::text(name),
                     sql::text(QLatin1Char('[') + ctx.clock.now().time().toString(QStringLiteral("h:mm:ss")) +
                               QStringLiteral("](){}")),
                     text("TABL_AVTO_MODEL"), text("TABL_AVTO_KOLIR"), text("TABL_AVTO_KUZOV"),
                     number("TABL_AVTO_KILPASAZHIR"), number("TABL_AVTO_VAGA"), sql::text(key), jubilee,
                     refusal));
        dani.TRANZ_RIZNE.commit();
    } catch (const DbError&) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        ctx.prompts.message(
            QStringLiteral("Помилка у відкритті позивного [%1]{%2} до ефіру. При потребі повторіть спробу.")
                .arg(QString::number(callsign), name));
        return PutOnAirResult::Refused;
    }
    resetMarks(ctx);
    return PutOnAirResult::OnAir;
}

bool TakeDriverOffAir(DispatchContext& ctx, qint64 callsign)
{
    TDANI& dani = ctx.dani;
    const QString changed = QStringLiteral(
        "Дані вибраного позивного змінилися - він отримав замовлення або змінився статус GPRS");
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows rows =
            dani.RIZNE.exec(QStringLiteral("SELECT * FROM ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1)")
                                .arg(sql::integer(callsign)));
        const int last = rows.rowCount() - 1;
        if (last < 0 || rows.value(last, QStringLiteral("ZAD_AVTO_NOMER_ZAMOVL")).toLongLong() != 0 ||
            isGprs(rows.value(last, QStringLiteral("ZAD_AVTO_MARKA_AVTO")))) {
            dani.TRANZ_RIZNE.commitIfActive();
            ctx.prompts.message(changed);
            return false;
        }
        // Only a free driver's row goes: a row that got an order meanwhile stays.
        dani.RIZNE.exec(QStringLiteral("DELETE FROM ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1) and "
                                       "(ZAD_AVTO_MARKA_AVTO  NOT LIKE '%' || '{GPRS}' || '%') and "
                                       "((ZAD_AVTO_NOMER_ZAMOVL = 0) OR (ZAD_AVTO_NOMER_ZAMOVL IS NULL))")
                            .arg(sql::integer(callsign)));
        if (dani.RIZNE.affectedRows() == 0) {
            dani.TRANZ_RIZNE.rollback();
            ctx.prompts.message(changed);
            return false;
        }
        dani.TRANZ_RIZNE.commit();
        return true;
    } catch (const DbError&) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        ctx.prompts.message(
            QStringLiteral("Помилка у закритті позивного [%1] з ефіра. При потребі повторіть спробу.")
                .arg(callsign));
        return false;
    }
}

void UpdateDriverMarks(DispatchContext& ctx, qint64 callsign, const QString& name)
{
    TDANI& dani = ctx.dani;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const QString jubilee =
            lastMarkLiteral(dani.RIZNE, QStringLiteral("CLOSEZAMOVLENNIA"), QStringLiteral("CZ_"),
                            jubileeCondition(QStringLiteral("CZ_"), callsign, name));
        const QString refusal =
            lastMarkLiteral(dani.RIZNE, QStringLiteral("CLOSEZAMOVLENNIA"), QStringLiteral("CZ_"),
                            refusalCondition(QStringLiteral("CZ_"), callsign, name));
        dani.RIZNE.exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_YUVILEYKA = %1,  ZAD_AVTO_RIBA = %2 "
                                       "WHERE (ZAD_AVTO_POZIVNIY = %3) and (ZAD_AVTO_FIO_VODIY = %4)")
                            .arg(jubilee, refusal, sql::integer(callsign), sql::text(name)));
        dani.TRANZ_RIZNE.commit();
    } catch (const DbError&) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        ctx.prompts.message(
            QStringLiteral("Помилка у обновленні помітки ювілейки і помітки відмови клієнта від "
                           "замовлення, у позивного [%1]")
                .arg(callsign));
    }
    resetMarks(ctx);
}

QString ResetExpiredJubileeMarks(DispatchContext& ctx)
{
    return resetExpired(ctx, SettingKeys::kJubileeResetMinutes, QStringLiteral("ZAD_AVTO_YUVILEYKA"));
}

QString ResetExpiredRefusalMarks(DispatchContext& ctx)
{
    return resetExpired(ctx, SettingKeys::kRefusalResetMinutes, QStringLiteral("ZAD_AVTO_RIBA"));
}

DriverDetails ShowDriverDetails(DispatchContext& ctx, qint64 callsign)
{
    TDANI& dani = ctx.dani;
    DriverDetails d;
    dani.TRANZ_RIZNE.commitIfActive();
    const QString id = sql::integer(callsign);
    const FbRows onAir =
        dani.RIZNE.exec(QStringLiteral("SELECT * FROM  ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1)").arg(id));
    if (!onAir.isEmpty()) {
        const int r = onAir.rowCount() - 1;
        d.orderNumber = displayText(onAir.value(r, QStringLiteral("ZAD_AVTO_NOMER_ZAMOVL")));
        d.gprs = isGprs(onAir.value(r, QStringLiteral("ZAD_AVTO_MARKA_AVTO"))) ? QStringLiteral("+")
                                                                               : QStringLiteral("-");
        d.callsign = displayText(onAir.value(r, QStringLiteral("ZAD_AVTO_POZIVNIY")));
        d.name = displayText(onAir.value(r, QStringLiteral("ZAD_AVTO_FIO_VODIY")));
        d.jubileeMark = displayText(onAir.value(r, QStringLiteral("ZAD_AVTO_YUVILEYKA")));
        d.refusalMark = displayText(onAir.value(r, QStringLiteral("ZAD_AVTO_RIBA")));
    }
    const FbRows car =
        dani.RIZNE.exec(QStringLiteral("SELECT * FROM  DANI_AVTO WHERE (TABL_AVTO_POZIVN = %1)").arg(id));
    if (!car.isEmpty()) {
        const int r = car.rowCount() - 1;
        auto field = [&](const char* column) { return displayText(car.value(r, QLatin1String(column))); };
        d.plate = field("TABL_AVTO_NOMERAVTO");
        d.model = field("TABL_AVTO_MODEL");
        d.engineVolume = field("TABL_AVTO_OBEM");
        d.year = field("TABL_AVTO_RIK");
        d.vin = field("TABL_AVTO_VIN");
        d.colour = field("TABL_AVTO_KOLIR");
        d.body = field("TABL_AVTO_KUZOV");
        d.seats = field("TABL_AVTO_KILPASAZHIR");
        d.load = field("TABL_AVTO_VAGA");
    }
    const FbRows driver = dani.RIZNE.exec(
        QStringLiteral("SELECT * FROM  VODII WHERE (TABL_VODIY_FIO = %1)").arg(sql::text(d.name)));
    if (!driver.isEmpty()) {
        d.phone = displayText(driver.value(driver.rowCount() - 1, QStringLiteral("TABL_VODIY_TELEFON")));
        d.birthDate = displayText(driver.value(driver.rowCount() - 1, QStringLiteral("TABL_VODIY_NARODZEN")));
    }
    for (const auto& row :
         dani.RIZNE
             .exec(QStringLiteral("SELECT ZAD_AVTO_VULICA FROM  ZADIANI_AVTO WHERE "
                                  "(ZAD_AVTO_POZIVNIY = %1) and (ZAD_AVTO_VULICA <> '[]{}')")
                       .arg(id))
             .rows) {
        const QString place = row[0].toString();
        d.places << place;
        if (!place.isEmpty())
            d.placesText += QStringLiteral("[<") + place + QStringLiteral(">]");
    }
    QString status;
    bool first = true;
    for (const auto& row :
         dani.RIZNE
             .exec(QStringLiteral(
                 "SELECT KOORD_KART_MISTA_STATUS, KOORD_KART_MISTA_PIDPIS FROM KARTA_MISTA "
                 "WHERE (KOORD_KART_MISTA_PUKT_1<>0) AND (KOORD_KART_MISTA_PIDPIS is not null) "
                 "ORDER BY KOORD_KART_MISTA_STATUS, KOORD_KART_MISTA_PIDPIS"))
             .rows) {
        const QString rowStatus = row[0].toString();
        if (first || rowStatus != status) {
            d.objects << DriverDetails::CheckItem{QStringLiteral("-------  ІНШІ ОБЄКТИ / ") + rowStatus +
                                                      QStringLiteral("  -------"),
                                                  true, false};
            status = rowStatus;
            first = false;
        }
        const QString label = row[1].toString();
        if (label.isEmpty())
            continue;
        const bool checked = d.placesText.contains(QStringLiteral("[<") + label + QStringLiteral(">]"));
        d.objects << DriverDetails::CheckItem{label, false, checked};
        d.checkedCount += checked ? 1 : 0;
    }
    dani.TRANZ_RIZNE.commitIfActive();
    return d;
}
