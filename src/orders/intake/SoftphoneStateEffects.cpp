#include "orders/intake/SoftphoneStateEffects.h"

SoftphoneStateEffects SoftphoneStateEffects::forState(int state, const SoftphoneStateFacts& facts)
{
    SoftphoneStateEffects e;
    switch (state) {
    case 0:
        e.statusLine = QStringLiteral("Немає підключення");
        e.strip = Strip::Collapsed;
        break;
    case 1:
        e.statusLine = QStringLiteral("Спроба зєднання");
        break;
    case 2:
        // "Реєстрація на сервері" is replaced by the idle text at once, so only the idle
        // text is ever seen.
        e.statusLine = QStringLiteral(".........");
        e.strip = Strip::Expanded;
        break;
    case 3:
        e.statusLine = QStringLiteral("Сервер чекає ...");
        break;
    case 5:
        e.statusLine = QStringLiteral("Процес звінка ...");
        break;
    case 6:
        e.statusLine = QStringLiteral("Невірний пароль / логін ...");
        break;
    case 7:
        e.statusLine = QStringLiteral("Звінок ...");
        e.countOutgoing = true;
        break;
    case 8:
        e.statusLine = QStringLiteral("Відкладення виклику ...");
        break;
    case 9:
        e.statusLine = (facts.lastRequestWasRegistration ? QStringLiteral("Немає зєднання")
                                                         : QStringLiteral("Виклик не вдачний")) +
                       QStringLiteral(", перевірте браузер");
        break;
    case 10:
        e.statusLine = QStringLiteral("Сервер не доступний ... : ") + facts.lastReason;
        e.strip = Strip::Collapsed;
        break;
    case 11:
        e.statusLine = QStringLiteral("Загальна помилка ... : ") + facts.lastReason;
        e.strip = Strip::Collapsed;
        break;
    case 12:
        e.startCallTimer = true;
        break;
    case 13:
        e.statusLine = QStringLiteral("Опонент кладе трубку ...");
        break;
    case 14:
        e.statusLine = QStringLiteral("Опонент повісив трубку ...");
        break;
    case 15:
        e.incomingCall = true;
        break;
    case 16:
        e.statusLine = QStringLiteral("Відмова виклику ...");
        e.stopRinging = true;
        break;
    case 17:
        e.stopRinging = true;
        break;
    case 18:
        // The caller, not `DialledNumber`: a missed incoming call has no dialled number,
        // and the dispatcher needs to know whom to call back.
        e.statusLine = QStringLiteral("Пропущений виклик ") + facts.caller;
        e.stopRinging = true;
        e.countMissed = true;
        break;
    default: // 4 and anything the agent may add later leave the strip as it is
        break;
    }
    return e;
}

QString softphoneNotSetCaption()
{
    return QStringLiteral("  Ваш внутрішній номер : [НЕ ЗАДАНО]");
}

QString softphoneRegisteredCaption(const QString& login, const QString& server)
{
    return QStringLiteral("  Ваш внутрішній номер : [") + login + QStringLiteral("] > ") + login +
           QLatin1Char('@') + server + QStringLiteral("  ");
}
