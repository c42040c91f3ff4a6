#include "orders/intake/SoftphoneLamp.h"

void SoftphoneLamp::showAudioStatus(int status)
{
    const Colour notice = colourOf(status);
    m_colour = m_colour == notice ? Colour::White : notice;
}

SoftphoneLamp::Colour SoftphoneLamp::colourOf(int status)
{
    switch (status) {
    case 0:
        return Colour::Yellow;
    case 1:
        return Colour::Green;
    case 2:
        return Colour::White;
    case 3:
        return Colour::Red;
    default:
        return Colour::Black;
    }
}

std::optional<QString> SoftphoneLamp::statusLineText(int status, int detail)
{
    switch (status) {
    case 5:
        return QStringLiteral("Не вистачає буфера");
    case 7:
        return QStringLiteral("Помилка Windows # ") + QString::number(detail);
    case 8:
        // 252 is the audio object's own stop, not a fault worth showing.
        if (detail == 252)
            return std::nullopt;
        return QStringLiteral("Помилка ") + QString::number(detail);
    default:
        return std::nullopt;
    }
}

QString SoftphoneLamp::callDuration(qint64 elapsedMs)
{
    const qint64 seconds = qMax<qint64>(0, elapsedMs) / 1000;
    const qint64 hours = seconds / 3600;
    const QString minutesSeconds = QStringLiteral("%1:%2")
                                       .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                       .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return hours > 0 ? QString::number(hours) + QLatin1Char(':') + minutesSeconds : minutesSeconds;
}
