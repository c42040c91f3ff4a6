#pragma once

#include <QString>

// What the open-orders page asks and tells, word for word.
namespace OpenOrderTexts {

inline const QString kCloseQuestion = QStringLiteral("Закрити вибране замовлення ?");
inline const QString kCloseGroupQuestion = QStringLiteral("Закрити вибірку замовлень ?");
inline const QString kGprsDriver =
    QStringLiteral("Водій зареєстрований в системі GPRS. Немає можливості закрити його замовлення.");
inline const QString kChanged = QStringLiteral("Дані замовлення змінилися. При потребі повторіть спробу.");
inline const QString kChangedOrNoClient =
    QStringLiteral("Дані замовлення змінилися і/або не вказаний код клієнта. При потребі повторіть спробу.");
inline const QString kNothingToClose = QStringLiteral("Дані замовлення змінилися або немає записів які є "
                                                      "можливість закрити. При потребі повторіть спробу.");

inline const QString kBalanceTitle = QStringLiteral("Зміна баланса клієнта і водія");
inline const QString kBalancePrompt =
    QStringLiteral("Вкажіть суму проплати за замовлення з баланса клієнта :");
inline const QString kWrongAmount =
    QStringLiteral("Невірно вказана ціна зміни баланса і аванса і/або нульова ціна.");

QString forceCloseWarning();
QString resetGprsWarning();
// Not among the page's own texts: a GPRS marker that another workstation or the GPRS
// side changed while it was being reset.
inline const QString kGprsMarkersChanged =
    QStringLiteral("Помітки GPRS водіїв змінилися. При потребі повторіть спробу.");

inline const QString kDeleteTitle = QStringLiteral("Знищення вибране активне замовлення");
inline const QString kDeletePrompt = QStringLiteral("Вкажіть причину знищення :");
inline const QString kDeletedMeanwhile =
    QStringLiteral("Вибране замовлення змінилося - його закрили або знищили попередньо.");

inline const QString kNoDriver = QStringLiteral("Водій не заданий.");
inline const QString kChangeDriverQuestion =
    QStringLiteral("Змінити водія вибраного замовлення на заданого водія ?");
inline const QString kDriverOrderChanged = QStringLiteral(
    "Дані замовлення змінилися. При потребі попробуйте ще раз зміну водія вибраного замовлення.");
inline const QString kDriverChangeWriteFailed = QStringLiteral(
    "Помилка при зміні активного водія замовлення на іншого водія. При потребі повторіть спробу.");
inline const QString kDriverChangeFailed =
    QStringLiteral("Помилка у зміні водія незакритого замовлення. При потребі повторіть спробу.");

inline const QString kClientOnlyPaid = QStringLiteral("Зміна кода клієнта можлива тільки на платному "
                                                      "замовленні. При потребі зміни кода змініть статус "
                                                      "замовлення.");
inline const QString kClientTitle = QStringLiteral("Зміна коду клієнта");
inline const QString kClientPrompt =
    QStringLiteral("Вкажіть код клієнта на який потрібно змінити дані вибраного замовлення :");
inline const QString kClientDefault = QStringLiteral("00000");
inline const QString kWrongClientCode =
    QStringLiteral("Не вірно вказаний код клієнта або вказано нульовий код. При потребі повторіть спробу.");
inline const QString kClientNotFound =
    QStringLiteral("Не найдено даних клієнта з вказаним кодом. При потребі повторіть спробу.");
inline const QString kClientChangeFailed = QStringLiteral(
    "Помилка у зміні кода клієнта вибраного незакритого замовлення. При потребі повторіть спробу.");

inline const QString kNoStatusWithoutClient =
    QStringLiteral("Немає можливості поміняти статус замовлення некодованому клієнту.");
inline const QString kFreeToPaidQuestion =
    QStringLiteral("Змінити статус замовлення з ЮВІЛЕЙНОЇ ПОЇДКИ на ПЛАТНУ ПОЇЗДКУ ?");
inline const QString kPaidToFreeQuestion =
    QStringLiteral("Змінити статус замовлення з ПЛАТНОЇ ПОЇЗДКИ на ЮВІЛЕЙНУ ПОЇДКУ ?");

} // namespace OpenOrderTexts
