#include "orders/intake/ClientCard.h"

#include "foundation/SqlLiteral.h"
#include "foundation/TextHelpers.h"
#include "foundation/fb/FbDataSet.h"
#include "orders/intake/Money.h"

const QString ClientCard::kUnknownCode = QStringLiteral("00000");

namespace {

QString between(const QString& text, QChar open, QChar close)
{
    const qsizetype from = text.indexOf(open);
    const qsizetype to = from < 0 ? -1 : text.indexOf(close, from + 1);
    return to < 0 ? QString() : text.mid(from + 1, to - from - 1);
}

QString textOf(const QVariant& value)
{
    return value.isValid() && !value.isNull() ? value.toString() : QString();
}

QString amountOf(const QVariant& value)
{
    return value.isValid() && !value.isNull() ? Money::fromStored(value).shown() : QString();
}

} // namespace

qint64 ClientCard::codeNumber() const
{
    return typedInteger(code);
}

QString ClientCard::codeText(qint64 code)
{
    return ZeroPad5(code);
}

QString ClientCard::codeIn(const QString& extra)
{
    const QString code = between(extra, u'[', u']');
    return code.isEmpty() ? kUnknownCode : code;
}

QString ClientCard::passwordIn(const QString& extra)
{
    return between(extra, u'(', u')');
}

ClientCard ClientCard::fromCurrentRow(const FbDataSet& list)
{
    ClientCard card;
    if (list.isEmpty())
        return card;
    card.number = list.value(QStringLiteral("KLIENT_NUMBER")).toLongLong();
    card.extra = textOf(list.value(QStringLiteral("KLIENT_DODATKOVO")));
    card.code = codeIn(card.extra);
    card.password = passwordIn(card.extra);
    card.name = textOf(list.value(QStringLiteral("KLIENT_FIO")));
    card.address = textOf(list.value(QStringLiteral("KLIENT_ADRESS")));
    card.telephones = textOf(list.value(QStringLiteral("KLIENT_TELEFON")));
    card.birthDate = list.value(QStringLiteral("KLIENT_DATA_NARODZENNIA")).toDate();
    card.balance = amountOf(list.value(QStringLiteral("KLIENT_BALANS")));
    card.discount = amountOf(list.value(QStringLiteral("KLIENT_ZNIZHKA")));
    card.tripsUntilJubilee = textOf(list.value(QStringLiteral("KLIENT_KIL_VIKLIK")));
    card.jubileeTrips = textOf(list.value(QStringLiteral("KLIENT_KIL_FREE_VIKLIK")));
    return card;
}
