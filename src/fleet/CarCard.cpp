#include "fleet/CarCard.h"

#include "citymap/CityMapData.h"
#include "citymap/window/MapWindowController.h"
#include "dispatch/BlackList.h"
#include "dispatch/DispatchContext.h"
#include "dispatch/DriverMessages.h"
#include "dispatch/QueueKey.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

const QString CarCard::kNotSet = QStringLiteral("не задано");
const QString CarCard::kZeroStand = QStringLiteral("[]{}");

namespace {

const QString kGoneText = QStringLiteral("Дані вибраного позивного змінилися - позивного немає в ефірі. При "
                                         "потребі відкрийте позивного в ефір.");
const QString kGotOrderText = QStringLiteral("Дані вибраного позивного змінилися - він отримав замовлення");
const QString kOrderOrGprsText =
    QStringLiteral("Дані вибраного позивного змінилися - він отримав замовлення або змінився статус GPRS");
const QString kStandChangeRefused = QStringLiteral(
    "Немає можливості змінити стоянку. Можливі причини :\r- незаданий позивний\r- водій активний "
    "в системі GPRS (тільки у нього є можливість змінити свою стоянку)\r- у водія є активне "
    "замовлення");
const QString kMessageMethodPrompt = QStringLiteral(
    "ПРИ ВІДПРАВЛЕНІ ПОВІДОМЛЕНЬ, ВІЗЬМІТЬ ДО УВАГИ ...\r+ У випадку відправлення повідомлення водію який не "
    "задіяний на замовлені (немає активного замовлення) , він зможе його прочитати тільки коли зайде у "
    "головне "
    "меню своєї програми (так як можливо що він знаходиться в іншому меню)\r+ У випадку відправлення "
    "повідомлення водію який не задіяний в системі GPRS , він зможе його прочитати тільки коли увійде у "
    "програму \r \rВиберіть метод відправки повідомлення\r1. Зі шаблона\r2. Свій текст");

bool hasGprsMark(const QVariant& model)
{
    return model.toString().contains(QLatin1String("{GPRS}"));
}

// A value read from a row, written back as the literal of its type.
QString literal(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return sql::timestamp(value.toDateTime());
    case QMetaType::QDate:
        return sql::date(value.toDate());
    case QMetaType::QTime:
        return sql::timeHms(value.toTime());
    case QMetaType::Int:
    case QMetaType::LongLong:
        return sql::integer(value.toLongLong());
    case QMetaType::Double:
        return sql::amount(value.toDouble());
    default:
        return sql::text(value.toString());
    }
}

bool isHeader(const DriverDetails::CheckItem& item)
{
    return item.header || item.text == QLatin1String("-------  ВУЛИЦІ  -------") ||
           item.text.contains(QLatin1String("ІНШІ ОБЄКТИ"));
}

} // namespace

// The car's rows as they are now, inside the transaction that will write.
struct CarCard::CarRows
{
    FbRows rows;
    int last = -1;
    QVariant value(const char* column) const { return rows.value(last, QLatin1String(column)); }
    bool present() const { return last >= 0; }
    qint64 order() const { return value("ZAD_AVTO_NOMER_ZAMOVL").toLongLong(); }
    bool gprs() const { return hasGprsMark(value("ZAD_AVTO_MARKA_AVTO")); }
};

CarCard::CarCard(DispatchContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx)
{
    m_details.callsign = kNotSet;
}

void CarCard::open(qint64 callsign)
{
    loadWithoutShowing(callsign);
    emit showRequested();
}

void CarCard::open(const DriverDetails& details)
{
    try {
        fill(details);
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        empty();
    }
    emit showRequested();
}

void CarCard::loadWithoutShowing(qint64 callsign)
{
    try {
        fill(ShowDriverDetails(m_ctx, callsign));
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        empty();
    }
}

void CarCard::refresh()
{
    if (callsignValid())
        loadWithoutShowing(callsign());
    else
        empty();
}

void CarCard::empty()
{
    m_details = DriverDetails{};
    m_details.callsign = kNotSet;
    m_ticked = 0;
    m_gprsEditAllowed = false;
    m_otherCars.clear();
    m_otherDrivers.clear();
    m_selectedPlace = -1;
    m_currentObject = -1;
    emit changed();
}

void CarCard::fill(const DriverDetails& details)
{
    m_details = details;
    if (m_details.callsign.isEmpty())
        m_details.callsign = kNotSet;
    m_ticked = details.checkedCount;
    m_gprsEditAllowed = false; // unticked each time the card is shown
    m_selectedPlace = m_details.places.isEmpty() ? -1 : 0;
    m_currentObject = -1;
    readLists();
    emit changed();
}

void CarCard::readLists()
{
    TDANI& dani = m_ctx.dani;
    dani.TRANZ_RIZNE.commitIfActive();
    m_otherCars.clear();
    for (const auto& row :
         dani.RIZNE
             .exec(QStringLiteral("SELECT ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO GROUP BY ZAD_AVTO_POZIVNIY"))
             .rows)
        m_otherCars << row[0].toString();
    m_otherDrivers.clear();
    if (callsignValid() && isFree() && !isGprs())
        for (const auto& row :
             dani.RIZNE
                 .exec(
                     // A join rather than IN (SELECT ...): the engine runs that subquery
                     // once per driver, which made the card slow to open in a big fleet.
                     QStringLiteral(
                         "SELECT V.TABL_VODIY_FIO FROM DANI_AVTO A JOIN VODII V ON "
                         "V.TABL_VODIY_NOMER = A.TABL_AVTO_NOM_VODIY WHERE (A.TABL_AVTO_POZIVN = %1) "
                         "AND (V.TABL_VODIY_FIO <> %2) GROUP BY V.TABL_VODIY_FIO")
                         .arg(sql::integer(callsign()), sql::text(m_details.name)))
                 .rows)
            m_otherDrivers << row[0].toString();
    dani.TRANZ_RIZNE.commitIfActive();
}

bool CarCard::callsignValid() const
{
    const QString& text = m_details.callsign;
    return !text.isEmpty() && text != kNotSet && text != QLatin1String("0");
}

qint64 CarCard::callsign() const
{
    return typedInteger(m_details.callsign);
}

void CarCard::setGprsEditAllowed(bool allowed)
{
    m_gprsEditAllowed = allowed;
    emit changed();
}

bool CarCard::standButtonsShown() const
{
    // Read at every look, so that a map load that failed after the card was filled
    // brings the buttons back and stands can still be kept by hand.
    return !m_ctx.map.MapSupported();
}

void CarCard::setTicked(int index, bool ticked)
{
    if (index < 0 || index >= m_details.objects.size())
        return;
    auto& item = m_details.objects[index];
    item.checked = ticked && !isHeader(item);
    m_ticked = 0;
    for (const auto& each : m_details.objects)
        m_ticked += each.checked ? 1 : 0;
    emit changed();
}

void CarCard::untickStand(const QString& stand)
{
    for (int i = 0; i < m_details.objects.size(); ++i)
        if (m_details.objects[i].checked && m_details.objects[i].text == stand)
            setTicked(i, false);
}

void CarCard::placeDoubleClicked(int index)
{
    if (!callsignValid() || index < 0 || index >= m_details.places.size())
        return;
    for (int i = 0; i < m_details.objects.size(); ++i)
        if (m_details.objects[i].text == m_details.places[index]) {
            m_currentObject = i;
            emit changed();
            return;
        }
}

void CarCard::chooseOtherCar(const QString& text)
{
    const qint64 chosen = typedInteger(text);
    if (chosen != 0)
        loadWithoutShowing(chosen);
}

CarCard::CarRows CarCard::readRows(FbQuery& q) const
{
    CarRows rows;
    rows.rows = q.exec(QStringLiteral("SELECT * FROM ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1)")
                           .arg(sql::integer(callsign())));
    rows.last = rows.rows.rowCount() - 1;
    return rows;
}

bool CarCard::stillAsShown(const CarRows& rows, const QString& changedText)
{
    if (!rows.present()) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(kGoneText);
        return false;
    }
    const bool gotOrder = rows.order() != 0;
    if (gotOrder || rows.gprs() != isGprs()) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(gotOrder ? changedText : kOrderOrGprsText);
        refresh();
        return false;
    }
    return true;
}

std::optional<CarCard::CarRows> CarCard::claimCar(FbQuery& q, const QString& changedText)
{
    m_ctx.dani.TRANZ_RIZNE.commitIfActive();
    CarRows rows = readRows(q);
    if (!stillAsShown(rows, changedText))
        return std::nullopt;
    if (!claimFreeRows(q, rows.rows.rowCount())) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(kOrderOrGprsText);
        refresh();
        return std::nullopt;
    }
    return rows;
}

void CarCard::writeClaimed(const QString& changedText, const QString& failureText,
                           const std::function<bool(FbQuery&, const CarRows&)>& writes)
{
    TDANI& dani = m_ctx.dani;
    FbQuery& q = dani.RIZNE;
    try {
        const std::optional<CarRows> claimed = claimCar(q, changedText);
        if (!claimed || !writes(q, *claimed))
            return;
        dani.TRANZ_RIZNE.commit();
    } catch (const DbError&) {
        failed(failureText);
        return;
    }
    done();
}

bool CarCard::claimFreeRows(FbQuery& q, int rowCount) const
{
    // A no-op update locks the rows: another transaction's change to them, committed
    // after this one started or still open, makes this fail rather than be written over.
    q.exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_NOMER_ZAMOVL = ZAD_AVTO_NOMER_ZAMOVL WHERE "
                          "(ZAD_AVTO_POZIVNIY = %1) AND (COALESCE(ZAD_AVTO_NOMER_ZAMOVL, 0) = 0) AND "
                          "(COALESCE(ZAD_AVTO_MARKA_AVTO, '') %2 LIKE '%' || '{GPRS}' || '%')")
               .arg(sql::integer(callsign()), isGprs() ? QString() : QStringLiteral("NOT")));
    return q.affectedRows() == rowCount;
}

void CarCard::raiseGprsRefresh(FbQuery& q) const
{
    q.exec(QStringLiteral(
               "UPDATE REFLESH_DANI_VODIY_GPRS SET REFLESH_VODIY_ZAMOV  = '+' WHERE REFLESH_VODIY_POZ = %1")
               .arg(sql::integer(callsign())));
}

QString CarCard::nextKeyAt(FbQuery& q, const QString& stand) const
{
    QStringList keys;
    for (const auto& row : q.exec(QStringLiteral("SELECT ZAD_AVTO_CHAS_ZAMOVL FROM ZADIANI_AVTO WHERE "
                                                 "(ZAD_AVTO_VULICA = %1) AND (ZAD_AVTO_ZADIANIST = 0) AND "
                                                 "(ZAD_AVTO_POZIVNIY <> %2)")
                                      .arg(sql::text(stand), sql::integer(callsign())))
                               .rows)
        keys << row[0].toString();
    return NextQueueKey(keys);
}

void CarCard::failed(const QString& text)
{
    m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
    m_ctx.prompts.message(text);
    empty();
}

void CarCard::done()
{
    emit closeRequested();
}

void CarCard::confirmStandChange()
{
    if (!gprsAllowed() || !isFree() || !callsignValid()) {
        m_ctx.prompts.message(kStandChangeRefused);
        return;
    }
    if (!m_ctx.prompts.question(
            QStringLiteral("Змінити список стоянок позивного {%1} ?").arg(m_details.callsign)))
        return;
    QStringList ticked;
    for (const auto& item : m_details.objects)
        if (item.checked)
            ticked << item.text;
    m_ticked = ticked.size();
    const qint64 limit = typedInteger(m_ctx.settings.value(SettingKeys::kMaxStandsPerDriver));
    if (ticked.size() > limit) {
        m_ctx.prompts.message(
            QStringLiteral("Немає можливості позначити водія на вказаний список стоянок, так як "
                           "максимальна кількість стоянок для позначення = [%1]")
                .arg(limit));
        return;
    }
    if (ticked.isEmpty()) {
        leaveAllStands();
        return;
    }
    TDANI& dani = m_ctx.dani;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const CarRows rows = readRows(dani.RIZNE);
        if (!stillAsShown(rows, kGotOrderText))
            return;
        if (!claimFreeRows(dani.RIZNE, rows.rows.rowCount())) {
            dani.TRANZ_RIZNE.rollbackQuietly();
            m_ctx.prompts.message(kOrderOrGprsText);
            refresh();
            return;
        }
        writeStandRows(dani.RIZNE, rows, ticked);
        if (rows.gprs())
            raiseGprsRefresh(dani.RIZNE);
        dani.TRANZ_RIZNE.commit();
    } catch (const DbError&) {
        failed(QStringLiteral(
            "Помилка в редагуванні стоянки вибраного позивного. При потребі повторіть спробу."));
        return;
    }
    done();
}

void CarCard::writeStandRows(FbQuery& q, const CarRows& rows, const QStringList& ticked)
{
    QStringList left; // the places no longer ticked
    for (int r = 0; r < rows.rows.rowCount(); ++r) {
        const QString place = rows.rows.value(r, QStringLiteral("ZAD_AVTO_VULICA")).toString();
        if (!place.isEmpty() && !left.contains(place))
            left << place;
    }
    const QString arrived = QLatin1Char('[') + m_ctx.clock.now().time().toString(QStringLiteral("h:mm:ss")) +
                            QStringLiteral("](){}");
    for (const QString& stand : ticked) {
        if (left.removeAll(stand) > 0)
            continue;
        q.exec(QStringLiteral(
                   "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY, ZAD_AVTO_MARKA_AVTO, "
                   "ZAD_AVTO_KOLIR_AVTO, ZAD_AVTO_KUZOV_AVTO, ZAD_AVTO_RIBA, ZAD_AVTO_YUVILEYKA,  "
                   "ZAD_AVTO_KIL_PASAGHIR, ZAD_AVTO_RAYON, ZAD_AVTO_VULICA, ZAD_AVTO_ZADIANIST, "
                   "ZAD_AVTO_DATA_ZAMOVL, ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_DATA_PRIBUTTIA, "
                   "ZAD_AVTO_CHAS_PRIBUTTIA, ZAD_AVTO_NOMER_ZAMOVL, ZAD_AVTO_VAGA) VALUES (%1, %2, %3, "
                   "%4, %5, %6, %7, %8, %9, %10, 0, NULL, %11, NULL, NULL, 0, %12)")
                   .arg(sql::integer(callsign()), literal(rows.value("ZAD_AVTO_FIO_VODIY")),
                        literal(rows.value("ZAD_AVTO_MARKA_AVTO")),
                        literal(rows.value("ZAD_AVTO_KOLIR_AVTO")),
                        literal(rows.value("ZAD_AVTO_KUZOV_AVTO")), literal(rows.value("ZAD_AVTO_RIBA")),
                        literal(rows.value("ZAD_AVTO_YUVILEYKA")),
                        literal(rows.value("ZAD_AVTO_KIL_PASAGHIR")), sql::text(arrived), sql::text(stand),
                        sql::text(nextKeyAt(q, stand)), literal(rows.value("ZAD_AVTO_VAGA"))));
    }
    for (const QString& place : left)
        q.exec(QStringLiteral(
                   "DELETE FROM ZADIANI_AVTO WHERE ((ZAD_AVTO_POZIVNIY = %1) AND (ZAD_AVTO_VULICA = %2))")
                   .arg(sql::integer(callsign()), sql::text(place)));
}

void CarCard::leaveAllStands()
{
    if (!gprsAllowed() || !isFree() || !callsignValid()) {
        m_ctx.prompts.message(QStringLiteral("Немає можливості змінити стоянку. Можливі причини :\r- "
                                             "незаданий позивний\r- водій активний в системі "
                                             "GPRS (тільки у нього є можливість змінити свою стоянку / не "
                                             "виставлено дозвіл диспетчеру редагувати "
                                             "стоянки GPRS водіям)\r- у водія є активне замовлення"));
        return;
    }
    if (!m_ctx.prompts.question(QStringLiteral("Зїхати зі стоянки <на нульову стоянку>  ?")))
        return;
    const QString failure = QStringLiteral(
        "Помилка в редагуванні стоянки вибраного позивного (зміна стоянки на нульову). При "
        "потребі повторіть спробу.");
    writeClaimed(kGotOrderText, failure, [this](FbQuery& q, const CarRows& rows) {
        const QString id = sql::integer(callsign());
        q.exec(QStringLiteral(
                   "DELETE FROM ZADIANI_AVTO WHERE  (ZAD_AVTO_POZIVNIY = %1) AND (ZAD_AVTO_VULICA <> %2)")
                   .arg(id, literal(rows.value("ZAD_AVTO_VULICA"))));
        // The car's own key does not count: leaving for the zero stand puts it last there.
        const QString key = nextKeyAt(q, kZeroStand);
        q.exec(
            QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_VULICA = '[]{}',     ZAD_AVTO_CHAS_ZAMOVL = %1 "
                           "WHERE  (ZAD_AVTO_POZIVNIY = %2)")
                .arg(sql::text(key), id));
        if (rows.gprs())
            raiseGprsRefresh(q);
        return true;
    });
}

void CarCard::putFirstAtStand()
{
    if (!isFree() || !callsignValid()) {
        m_ctx.prompts.message(QStringLiteral("Немає можливості змінити стоянку. Можливі причини :\r- "
                                             "незаданий позивний\r- не вибрано стоянку для "
                                             "редагування\r- водій активний в системі GPRS (тільки у нього є "
                                             "можливість змінити свою стоянку)\r- у "
                                             "водія є активне замовлення"));
        return;
    }
    if (!m_ctx.prompts.question(QStringLiteral("Виставити вибраного водія першим на вказаній стоянці  ?")))
        return;
    const QString stand = m_selectedPlace >= 0 && m_selectedPlace < m_details.places.size() &&
                                  !m_details.places[m_selectedPlace].isEmpty()
                              ? m_details.places[m_selectedPlace]
                              : kZeroStand;
    const QString failure =
        QStringLiteral("Помилка в редагуванні стоянки вибраного позивного (виставлення водія першим на "
                       "стоянці). При потребі повторіть спробу.");
    writeClaimed(kOrderOrGprsText, failure, [this, &stand](FbQuery& q, const CarRows&) {
        const QString id = sql::integer(callsign());
        const FbRows others =
            q.exec(QStringLiteral("SELECT  *  FROM  ZADIANI_AVTO WHERE (ZAD_AVTO_ZADIANIST = 0) "
                                  "AND (ZAD_AVTO_POZIVNIY <> %1) AND (ZAD_AVTO_VULICA = %2) "
                                  "ORDER BY ZAD_AVTO_CHAS_ZAMOVL")
                       .arg(id, sql::text(stand)));
        for (int r = 0; r < others.rowCount(); ++r)
            q.exec(QStringLiteral(
                       "UPDATE ZADIANI_AVTO SET  ZAD_AVTO_CHAS_ZAMOVL = %1 WHERE (ZAD_AVTO_POZIVNIY = %2) "
                       "AND (ZAD_AVTO_VULICA = %3)")
                       .arg(sql::text(NextQueueKey({QString::number(r + 1)})),
                            sql::integer(others.value(r, QStringLiteral("ZAD_AVTO_POZIVNIY")).toLongLong()),
                            sql::text(stand)));
        q.exec(QStringLiteral(
                   "UPDATE ZADIANI_AVTO SET  ZAD_AVTO_CHAS_ZAMOVL = '0001' WHERE (ZAD_AVTO_POZIVNIY = %1) "
                   "AND (ZAD_AVTO_VULICA = %2)")
                   .arg(id, sql::text(stand)));
        if (q.affectedRows() == 0) {
            // The car left that stand meanwhile: the others keep their old order.
            m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
            m_ctx.prompts.message(kOrderOrGprsText);
            refresh();
            return false;
        }
        raiseGprsRefresh(q);
        return true;
    });
}

QString CarCard::lastMark(FbQuery& q, const QString& condition) const
{
    const FbRows rows =
        q.exec(QStringLiteral("SELECT  ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA  FROM ZAMOVLENNIA "
                              "WHERE %1 AND ZAMOVL_DATA_PRIYOMA = (SELECT MAX(ZAMOVL_DATA_PRIYOMA) "
                              "FROM ZAMOVLENNIA  WHERE %1) ORDER BY ZAMOVL_DATA_PRIYOMA, "
                              "ZAMOVL_CHAS_PRIYOMA")
                   .arg(condition));
    if (rows.isEmpty() || !rows.rows.back()[0].isValid())
        return QStringLiteral("NULL");
    const auto& last = rows.rows.back();
    return sql::timestamp(QDateTime(last[0].toDate(), last[1].isValid() ? last[1].toTime() : QTime(0, 0)));
}

void CarCard::changeDriver(const QString& newDriver)
{
    if (newDriver.isEmpty() || isGprs() || !isFree() || !callsignValid()) {
        m_ctx.prompts.message(
            QStringLiteral("Немає можливості перезмінки водія вибраного позивного. Можливі причини "
                           ":\r- незаданий позивний\r- водій активний в системі GPRS\r- у водія є "
                           "активне замовлення"));
        return;
    }
    if (!m_ctx.prompts.question(QStringLiteral("Виконати перезмінку водія вибраного позивного ?")))
        return;
    const QString failure =
        QStringLiteral("Помилка в перезмінці водія вибраного позивного. При потребі повторіть спробу.");
    writeClaimed(kOrderOrGprsText, failure, [this, &newDriver](FbQuery& q, const CarRows&) {
        const QString id = sql::integer(callsign());
        const QString who =
            QStringLiteral("(ZAMOVL_FIO_TAXI = %1) AND (ZAMOVL_POZIVNIY = %2)").arg(sql::text(newDriver), id);
        const QString jubilee = lastMark(
            q, QStringLiteral("(ZAMOVL_BEZKOSHTOVN = 'TAK') AND (ZAMOVL_STATUS_ZAMOVL = 1) AND ") + who);
        const QString refusal = lastMark(q, QStringLiteral("(ZAMOVL_STATUS_ZAMOVL = -1) AND ") + who);
        q.exec(
            QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_FIO_VODIY = %1,     ZAD_AVTO_RAYON = %2, "
                           "ZAD_AVTO_YUVILEYKA = %3, ZAD_AVTO_RIBA = %4 WHERE  (ZAD_AVTO_POZIVNIY = %5) AND "
                           "(ZAD_AVTO_MARKA_AVTO  NOT LIKE '%' || '{GPRS}' || '%')")
                .arg(sql::text(newDriver),
                     sql::text(QLatin1Char('[') +
                               m_ctx.clock.now().time().toString(QStringLiteral("h:mm:ss")) +
                               QStringLiteral("](){}")),
                     jubilee, refusal, id));
        return true;
    });
}

void CarCard::takeOffAir()
{
    if (isGprs() || !isFree() || !callsignValid()) {
        m_ctx.prompts.message(QStringLiteral(
            "Немає можливості закрити з ефіра водія. Можливі причини :\r- незаданий позивний\r- водій "
            "активний в "
            "системі GPRS (тільки він сам може закрити ефір)\r- у водія є активне замовлення"));
        return;
    }
    if (!m_ctx.prompts.question(
            QStringLiteral("Зняти вибраного позивного [%1] з ефіра ?").arg(m_details.callsign)))
        return;
    // TakeDriverOffAir reads the row again and deletes only a free row without GPRS.
    if (TakeDriverOffAir(m_ctx, callsign()))
        done();
    else
        empty();
}

void CarCard::addToBlackList()
{
    if (!callsignValid())
        return;
    m_ctx.dani.TRANZ_RIZNE.commitIfActive();
    const QString reason = m_ctx.prompts.inputBox(
        QStringLiteral("Добавлення позивного до чорного списку"),
        QStringLiteral(
            "Відбудеться процес добавлення позивного у чорний список. Активне замовлення буде повернене "
            "назад, водій примусово буде знятий з ефіра.Ведеться журнал дій диспетчерів зміни статуса "
            "позивного !!!\rВкажіть причину внесення позивного до чорного списку :"),
        {});
    if (reason.isEmpty())
        return;
    try {
        BlackList::Bar(m_ctx, {callsign()}, reason);
    } catch (const DbError& e) {
        m_ctx.prompts.message(e.message());
    }
    empty();
}

void CarCard::sendMessage()
{
    if (!callsignValid()) {
        m_ctx.prompts.message(QStringLiteral(
            "Немає можливості повідомлення через систему GPRS. Можливі причини :\r- незаданий позивний"));
        return;
    }
    const QString method = m_ctx.prompts.inputBox(QStringLiteral("Відправлення повідомлення водію"),
                                                  kMessageMethodPrompt, QStringLiteral("0"));
    QString text;
    if (method == QLatin1String("1")) {
        const QString joined = m_ctx.settings.value(SettingKeys::kDriverMessageTemplates);
        const QStringList templates = joined.isEmpty() ? QStringList() : joined.split(QLatin1Char('\n'));
        QString prompt = QStringLiteral("Виберіть порядковий номер повідомлення :");
        for (int i = 0; i < templates.size(); ++i)
            prompt += QStringLiteral("\r%1.  ").arg(i + 1) + templates[i];
        const QString answer =
            m_ctx.prompts.inputBox(QStringLiteral("Відправлення по шаблону"), prompt, QStringLiteral("0"));
        const qint64 number = typedInteger(answer);
        if (number < 1 || number > templates.size()) {
            // Sending the typed number itself as the text would reach the driver as noise.
            m_ctx.prompts.message(
                QStringLiteral("Шаблону з номером [%1] немає. Повідомлення не надіслано.").arg(answer));
            return;
        }
        text = templates[number - 1];
    } else if (method == QLatin1String("2")) {
        text = m_ctx.prompts.inputBox(QStringLiteral("Відправлення власного текста : "),
                                      QStringLiteral("Текст повідомлення"), {});
    }
    if (text.isEmpty()) {
        m_ctx.prompts.message(QStringLiteral("Повідомлення пусте. При потребі повторіть спробу."));
        return;
    }
    if (SendMessageToDriver(m_ctx, callsign(), m_details.name, text))
        m_ctx.prompts.message(QStringLiteral("Повідомлення надіслано успішно."));
    else
        m_ctx.prompts.message(
            QStringLiteral("Повідомлення для водія [%1][%2] через систему GPRS не надіслано. При "
                           "потребі повторіть спробу.")
                .arg(m_details.callsign, m_details.name));
}

void CarCard::showOnMap()
{
    QString stand;
    if (m_currentObject >= 0 && m_currentObject < m_details.objects.size() &&
        !isHeader(m_details.objects[m_currentObject]))
        stand = m_details.objects[m_currentObject].text;
    else if (m_selectedPlace >= 0 && m_selectedPlace < m_details.places.size())
        stand = m_details.places[m_selectedPlace];
    if (!m_map || stand.isEmpty())
        return;
    m_map->setSearchPanelShown(false);
    m_map->ShowLabelOnMap(stand);
}

void CarCard::addStand()
{
    if (!m_ctx.prompts.question(QStringLiteral("Добавити новий обєкт (по замовчюванні - стоянка) на карту (у "
                                               "випадку без підтримки карти міста) ?")))
        return;
    const QString name =
        m_ctx.prompts.inputBox(QStringLiteral("Вкажіть назву стоянки"),
                               QStringLiteral("Вкажіть назву стоянки яку потрібно добавити ?"), {});
    if (name.isEmpty())
        return;
    TDANI& dani = m_ctx.dani;
    FbQuery& q = dani.RIZNE;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        if (!q.exec(
                  QStringLiteral("SELECT * FROM KARTA_MISTA WHERE (KOORD_KART_MISTA_STATUS = 'СТОЯНКА') AND "
                                 "(KOORD_KART_MISTA_PIDPIS = %1)")
                      .arg(sql::text(name)))
                 .isEmpty()) {
            dani.TRANZ_RIZNE.rollbackQuietly();
            m_ctx.prompts.message(QStringLiteral("Вказана стоянка попередньо була створена !!!"));
            return;
        }
        // X = Y = 10 and a first street of 1 put the stand into the tick list.
        q.exec(
            QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_RAYON, "
                           "KOORD_KART_MISTA_STATUS, KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y, "
                           "KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_PUKT_1) VALUES (%1,     'без підтримки "
                           "карти міста',     'СТОЯНКА',     10, 10, %2, 1)")
                .arg(sql::nextNumber(QStringLiteral("KOORD_KART_MISTA_NP"), QStringLiteral("KARTA_MISTA"), 1),
                     sql::text(name)));
        dani.TRANZ_RIZNE.commit();
    } catch (const DbError&) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(
            QStringLiteral("Помилка під час створення стоянки! При потребі повторіть спробу."));
        return;
    }
    refresh();
}

void CarCard::deleteStand()
{
    if (m_details.objects.isEmpty() || m_currentObject <= 0 || m_currentObject >= m_details.objects.size())
        return;
    if (!m_ctx.prompts.question(
            QStringLiteral("Удалити вибрану позицію стоянки (у випадку без підтримки карти міста) ?")))
        return;
    TDANI& dani = m_ctx.dani;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        dani.RIZNE.exec(
            QStringLiteral("DELETE FROM KARTA_MISTA WHERE (KOORD_KART_MISTA_STATUS = 'СТОЯНКА') AND "
                           "(KOORD_KART_MISTA_PIDPIS = %1)")
                .arg(sql::text(m_details.objects[m_currentObject].text)));
        dani.TRANZ_RIZNE.commit();
    } catch (const DbError&) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(
            QStringLiteral("Помилка під час знищення вибраної стоянки! При потребі повторіть спробу."));
        return;
    }
    refresh();
}
