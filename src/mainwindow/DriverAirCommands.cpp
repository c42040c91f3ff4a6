#include "mainwindow/DriverAirCommands.h"

#include "dispatch/DispatchContext.h"
#include "fleet/CarCardStands.h"
#include "foundation/DisplayText.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "mainwindow/RowSnapshots.h"
#include "mainwindow/StandQueuePrompt.h"
#include "platform/Prompts.h"

namespace {

const QString kNoSuchCallsignAtStand =
    QStringLiteral("Вказаного позивного не існує на даній стоянці. При потребі повторіть спробу !");
const QString kCallsignNotFound =
    QStringLiteral("Позивний не найдено або на позивному не зареєстровані водії.");

} // namespace

DriverAirCommands::DriverAirCommands(DispatchContext& ctx, ICarCardStands& carCard,
                                     std::function<bool()> fromAllStands)
    : m_ctx(ctx), m_carCard(carCard), m_fromAllStands(std::move(fromAllStands))
{
}

DriverAirCommands::PutOnAirOutcome DriverAirCommands::putDriverOnAir()
{
    const qint64 callsign = typedInteger(m_ctx.prompts.inputBox(QStringLiteral("Відкриття автомобіля у ефір"),
                                                                QStringLiteral("Вкажіть позивний :"), {}));
    if (callsign <= 0)
        return {};
    try {
        const std::optional<QString> name = chooseDriverName(callsign);
        if (!name)
            return {};
        switch (PutDriverOnAir(m_ctx, callsign, *name)) {
        case PutOnAirResult::OnAir:
            return {ShowDriverDetails(m_ctx, callsign), false};
        case PutOnAirResult::BlackListed:
            return {std::nullopt, true};
        case PutOnAirResult::Refused:
            break;
        }
        return {};
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return {};
    }
}

std::optional<QString> DriverAirCommands::chooseDriverName(qint64 callsign)
{
    TDANI& dani = m_ctx.dani;
    const QString id = sql::integer(callsign);
    dani.TRANZ_RIZNE.commitIfActive();
    if (!dani.RIZNE.exec(QStringLiteral("SELECT * FROM  ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1)").arg(id))
             .isEmpty()) {
        dani.TRANZ_RIZNE.commitIfActive();
        m_ctx.prompts.message(
            QStringLiteral("Такий позивний активний. При потребі перезмінки водія це можливо виконати в "
                           "карточці водія вказаного позивного."));
        return std::nullopt;
    }
    const QString driversOfCallsign =
        QStringLiteral("SELECT TABL_AVTO_NOM_VODIY FROM  DANI_AVTO WHERE (TABL_AVTO_POZIVN = %1)").arg(id);
    const int registered = dani.RIZNE.exec(driversOfCallsign).rowCount();
    QStringList names;
    if (registered > 0) {
        for (const auto& row :
             dani.RIZNE
                 .exec(QStringLiteral("SELECT TABL_VODIY_FIO FROM  VODII WHERE (TABL_VODIY_NOMER in (%1))")
                           .arg(driversOfCallsign))
                 .rows)
            names << displayText(row[0]);
    }
    dani.TRANZ_RIZNE.commitIfActive();
    // A car row whose driver is missing from VODII has nobody to put on air: saying so
    // beats ending without a word.
    names.removeAll(QString());
    if (names.isEmpty()) {
        m_ctx.prompts.message(kCallsignNotFound);
        return std::nullopt;
    }
    if (registered == 1)
        return names.last();

    QString prompt = QStringLiteral(
        "Вкажіть порядковий номер водія позивного (так як на позивному зареєстровано декілька водіїв)"
        "\r***********************");
    for (int i = 0; i < names.size(); ++i)
        prompt += QStringLiteral("\r%1. ").arg(i + 1) + names[i];
    const qint64 chosen = typedInteger(
        m_ctx.prompts.inputBox(QStringLiteral("Виберіть водія зі списка"), prompt, QStringLiteral("0")));
    if (chosen < 1 || chosen > names.size()) {
        m_ctx.prompts.message(QStringLiteral(
            "Невірно вказаний порядковий номер водія зі списка. При потребі повторіть спробу."));
        return std::nullopt;
    }
    return names[chosen - 1];
}

bool DriverAirCommands::takeCurrentDriverOffAir()
{
    const std::optional<DriverRow> driver = currentDriverRow(m_ctx.dani);
    if (!driver || driver->callsign == 0 || driver->orderNumber != 0 || driver->usesGprs()) {
        m_ctx.prompts.message(
            QStringLiteral("Немає можливості закрити з ефіра водія. Можливі причини :\r- таблиця активних "
                           "водіїв пуста\r- водій активний в системі GPRS (тільки він сам може закрити "
                           "ефір)\r- у водія є активне замовлення"));
        return false;
    }
    if (!m_ctx.prompts.question(
            QStringLiteral("Зняти вибраного позивного [%1] з ефіра ?").arg(driver->callsign)))
        return false;
    return TakeDriverOffAir(m_ctx, driver->callsign);
}

qint64 DriverAirCommands::askStandCallsign(const QString& stand, const QString& caption,
                                           const QString& lastLine)
{
    const StandQueuePrompt queue(m_ctx.dani, stand);
    const QString answer = m_ctx.prompts.inputBox(caption, queue.prompt(lastLine), {});
    if (answer.isEmpty())
        return 0;
    const qint64 callsign = queue.acceptedCallsign(answer);
    if (callsign == 0)
        m_ctx.prompts.message(kNoSuchCallsignAtStand);
    return callsign;
}

bool DriverAirCommands::takeStandDriverOffAir()
{
    const std::optional<QString> stand = currentStand(m_ctx.dani);
    if (!stand)
        return false;
    try {
        const qint64 callsign =
            askStandCallsign(*stand, QStringLiteral("Закриття ефіра водія"),
                             QStringLiteral("Вкажіть позивного з даної стоянки на закриття з ефіра"));
        return callsign != 0 && TakeDriverOffAir(m_ctx, callsign);
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return false;
    }
}

bool DriverAirCommands::removeCurrentDriverFromStand()
{
    const std::optional<DriverRow> driver = currentDriverRow(m_ctx.dani);
    if (!driver || driver->callsign == 0 || driver->stand == kZeroStand) {
        m_ctx.prompts.message(QStringLiteral("Таблиця пуста / вибрана стоянка нульова !!!"));
        return false;
    }
    removeFromStand(driver->callsign, driver->stand);
    return true;
}

bool DriverAirCommands::removeDriverFromSelectedStand()
{
    const std::optional<QString> stand = currentStand(m_ctx.dani);
    if (!stand || *stand == kZeroStand)
        return false;
    try {
        const qint64 callsign =
            askStandCallsign(*stand, QStringLiteral("Зняття водія зі стоянки"),
                             QStringLiteral("Вкажіть позивного для зняття його з вибраної стоянки"));
        if (callsign == 0)
            return false;
        removeFromStand(callsign, *stand);
        return true;
    } catch (const DbError& e) {
        m_ctx.dani.TRANZ_RIZNE.rollbackQuietly();
        m_ctx.prompts.message(e.message());
        return false;
    }
}

void DriverAirCommands::removeFromStand(qint64 callsign, const QString& stand)
{
    m_carCard.loadWithoutShowing(callsign);
    m_carCard.allowGprsStandChange();
    if (m_fromAllStands && m_fromAllStands()) {
        m_carCard.leaveAllStands();
        return;
    }
    m_carCard.untickStand(stand);
    m_carCard.confirmStandChange();
}
