#include "foundation/SettingCaptions.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"

#include <QHash>

namespace SettingCaptions {

namespace {

using namespace SettingKeys;

QHash<QString, Caption> catalogue()
{
    const bool box = true;
    return {
        {QStringLiteral("TABLE_PRACIV_FIO"), {QStringLiteral("ФІО диспетчера")}},
        {kMyCity, {QStringLiteral("Своє місто")}},
        {kMapSearchPage, {QStringLiteral("Сторінка пошуку онлайн-карти (порожньо - за замовчуванням)")}},
        {QStringLiteral("TABLE_PRACIV_DOST_ADMIN"), {QStringLiteral("Доступ адміністратора"), box}},
        {QStringLiteral("TABLE_PRACIV_DOST_PRIYOM"), {QStringLiteral("Доступ прийому замовлення"), box}},
        {QStringLiteral("TABLE_PRACIV_DOST_ROZD"), {QStringLiteral("Доступ віддачи замовлень"), box}},
        {QStringLiteral("TABLE_PRACIV_DOST_KARTA"), {QStringLiteral("Доступ до карт"), box}},
        {QStringLiteral("TABLE_PRACIV_DOST_TARIF"), {QStringLiteral("Доступ до тарифів"), box}},
        {QStringLiteral("TABLE_PRACIV_DOST_ZAMOVL"),
         {QStringLiteral("Доступ до таблиці виконаних і знищених замовлень"), box}},

        {kAverageSpeed, {QStringLiteral("Середня швидкість авто-таксі, км./год.")}},
        {kPreliminaryLead,
         {QStringLiteral("Час за який попереднє замовлення попадає у активні замовлення, хв")}},
        {kRidesPerFreeRide, {QStringLiteral("Ювілейна поїздка після виклику")}},
        {kFreeRideLimit, {QStringLiteral("Ліміт ювілейної поїздки, грн")}},
        {kCloseWithoutDistance,
         {QStringLiteral("Час для закриття замовлення (для тих що не розраховують відстань), хв")}},
        {kRollCall, {QStringLiteral("Час перезмінки / переклички авто")}},
        {kVat, {QStringLiteral("Пдв / націнка")}},
        {kJubileeResetMinutes, {QStringLiteral("Час обнулення помітки ювілейної поїздки для водія, хв")}},
        {kRefusalResetMinutes, {QStringLiteral("Час обнулення помітки відмови клієнта для водія, хв")}},
        {kHotOrderDelay,
         {QStringLiteral(
             "Час виділення гарячих повідомлень (замовлення які не роздані) після часу прийняття, хв")}},
        {kFirstNewClientCode, {QStringLiteral("Код клієнта, після якого створюються нові коди")}},
        {kMaxStandsPerDriver, {QStringLiteral("Найбільша кількість стоянок одного водія")}},
        {kMaxAutoDistance, {QStringLiteral("Найбільша відстань від стоянки до замовлення, м."), false, true}},
        {kAutoFreeRides, {QStringLiteral("Роздавати також ювілейні замовлення"), box, true}},
        {kFreeRidesToMarked,
         {QStringLiteral("Давати ювілейні замовлення водіям з непогашеною поміткою ювілейки"), box, true}},

        {kDistanceCoefficients, {QStringLiteral("Коефіцієнти відстані")}},
        {kOneWayStreets, {QStringLiteral("Вулиці")}},
        {kOneWayStreetsSkipped, {QStringLiteral("Пропущені записи")}},
        {kClientBlackList, {QStringLiteral("Клієнти-боржники")}},
        {kTariffDiscounts, {QStringLiteral("Знижки")}},
        {kDispatcherMessageTemplates, {QStringLiteral("Шаблони")}},
        {kDriverMessageTemplates, {QStringLiteral("Шаблони")}},
        {kOwnDriverMessagesAllowed, {QStringLiteral("Дозвіл створення свої повідомлень"), box}},
        {kExtraSettlements, {QStringLiteral("Населені пункти")}},

        {SettingsStore::kServer, {QStringLiteral("Сервер")}},
        {SettingsStore::kPathBaza, {QStringLiteral("Шлях до бази даних")}},
        {SettingsStore::kNameBaza, {QStringLiteral("Назва бази даних")}},
        {SettingsStore::kLogin, {QStringLiteral("Логін сервера")}},
        {SettingsStore::kPass, {QStringLiteral("Пароль сервера")}},
        {kSipCityCode, {QStringLiteral("Телефонний код свого міста")}},
        {kSipDigitsToDelete, {QStringLiteral("Кількість перших цифр, що знімаються з номера")}},
        {kSipStunHost, {QStringLiteral("Сервер STUN")}},
        {kSipPrefixAsContact, {QStringLiteral("ПРЕФІКС ЯК КОНТАКТНИЙ ТЕЛЕФОН ЗАМОВЛЕННЯ"), box}},
        {kSipOperatorCount, {QStringLiteral("Кількість операторів IP телефонії")}},

        {QStringLiteral("COMPUTER_NAME"), {QStringLiteral("Назва компютера :")}},
        {kAnalysisComputer, {QStringLiteral("Компютер, що аналізує роботу")}},
        {kAnalysisAllowed, {QStringLiteral("Дозвіл на аналіз роботи"), box}},
        {kAnalysisSchedule, {QStringLiteral("Розклад аналізу")}},
        {kAnalysisPreviousReading, {QStringLiteral("Попередня дата і час :")}},

        {kBindingX, {QStringLiteral("Точка на карті, X")}},
        {kBindingY, {QStringLiteral("Точка на карті, Y")}},
        {kBindingLongitude, {QStringLiteral("Довгота точки")}},
        {kBindingLatitude, {QStringLiteral("Широта точки")}},
        {kBindingMapSpanX, {QStringLiteral("Відрізок на карті по X")}},
        {kBindingMapSpanY, {QStringLiteral("Відрізок на карті по Y")}},
        {kBindingLongitudeSpan, {QStringLiteral("Той самий відрізок по довготі")}},
        {kBindingLatitudeSpan, {QStringLiteral("Той самий відрізок по широті")}},

        {kWebDistanceScheme, {QStringLiteral("Сайт відстаней: протокол (http або https)")}},
        {kWebDistanceHost, {QStringLiteral("Сайт відстаней: сервер")}},
        {kWebDistancePort, {QStringLiteral("Сайт відстаней: порт (0 - за протоколом)")}},
        {kWebDistancePath, {QStringLiteral("Сайт відстаней: шлях запиту")}},
        {kWebDistanceHostHeader, {QStringLiteral("Сайт відстаней: заголовок Host (порожньо - без нього)")}},
        {kWebDistanceApiKey, {QStringLiteral("Сайт відстаней: ключ API")}},
        {kWebDistanceTimeout, {QStringLiteral("Сайт відстаней: час очікування відповіді, мс")}},
    };
}

} // namespace

Caption of(const QString& key)
{
    static const QHash<QString, Caption> captions = catalogue();
    const auto found = captions.constFind(key);
    return found != captions.constEnd() ? *found : Caption{QStringLiteral("Налаштування")};
}

} // namespace SettingCaptions
