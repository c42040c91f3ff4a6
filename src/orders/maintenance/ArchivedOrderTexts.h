#pragma once

#include <QString>

// What the archived-orders page asks and tells, word for word. The texts it shares with
// the open-orders page (the client code box, the driver question, the status questions,
// the amount box) are taken from OpenOrderTexts.
namespace ArchivedOrderTexts {

inline const QString kClientChangedMeanwhile = QStringLiteral(
    "Дані замовлення змінилися. При потребі попробуйте ще раз зміну кода вибраного замовлення.");
inline const QString kWrongClientCode = QStringLiteral("Не вірно вказаний код клієнта.");
// Followed by the code, five digits, and kClientNotFoundEnd.
inline const QString kClientNotFoundStart = QStringLiteral("Клієнт з кодом [");
inline const QString kClientNotFoundEnd = QStringLiteral("] не найдений");
inline const QString kClientChangeFailed =
    QStringLiteral("Помилка у зміні кода клієнта вибраного виконаного замовлення.");

inline const QString kDriverChangeFailed = QStringLiteral("Помилка у зміні водія виконаного замовлення.");

inline const QString kFirstFreeRide = QStringLiteral(
    "Немає можливості змінити статус замовлення, так як останнє платне замовлення створило першу "
    "ювілейку (цю ювілейку є можливість використати на наступному замовленні)");
inline const QString kStatusChangeFailed =
    QStringLiteral("Помилка у зміні статуса вибраного виконаного замовлення.");

inline const QString kWrongAmount = QStringLiteral("Не вірно вказана сума.");
inline const QString kPaymentFailed =
    QStringLiteral("Помилка у зміні баланса проплати вибраного виконаного замовлення.");

inline const QString kDeleteTitle = QStringLiteral("Знищення вибраного закритого замовлення");

} // namespace ArchivedOrderTexts
