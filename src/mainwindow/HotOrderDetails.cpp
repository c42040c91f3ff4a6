#include "mainwindow/HotOrderDetails.h"

#include "dispatch/DispatchContext.h"
#include "foundation/DisplayText.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"

std::optional<qint64> HotOrderDetails::numberOfLine(const QString& line)
{
    bool ok = false;
    const qint64 number = line.section(QLatin1Char(' '), 0, 0).toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

QString HotOrderDetails::tariffOf(const QString& description)
{
    const QString marker = QStringLiteral("тариф:[");
    const qsizetype start = description.indexOf(marker);
    const qsizetype paren = description.indexOf(QLatin1Char('('));
    if (start < 0 || paren < 0)
        return {};
    const qsizetype from = start + marker.size();
    const qsizetype to = paren - 3; // "]  (" closes the name
    return to > from ? description.mid(from, to - from) : QString();
}

QString HotOrderDetails::notesOf(const QString& description)
{
    const qsizetype open = description.indexOf(QLatin1Char('('));
    const qsizetype close = description.indexOf(QLatin1Char(')'));
    return open >= 0 && close > open ? description.mid(open + 1, close - open - 1) : QString();
}

std::optional<HotOrderDetails> HotOrderDetails::load(DispatchContext& ctx, qint64 number)
{
    TDANI& dani = ctx.dani;
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    const FbRows& rows = dani.RIZNE_EVENTS.exec(
        QStringLiteral("SELECT * FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1").arg(sql::integer(number)));
    if (rows.isEmpty()) {
        dani.TRANZ_FOR_EVENTS.commitIfActive();
        return std::nullopt;
    }
    auto field = [&](const char* column) { return displayText(rows.value(0, QLatin1String(column))); };
    HotOrderDetails d;
    d.number = number;
    d.freeRide = field("ZAMOVL_BEZKOSHTOVN");
    const QString description = field("ZAMOVL_PRICHINA_DELETE");
    d.tariff = tariffOf(description);
    d.notes = notesOf(description);
    d.clientCode = field("ZAMOVL_NOMER_KLIENT");
    d.sum = field("ZAMOVL_SUMA_ROZRAHUNK");
    d.acceptedAt = field("ZAMOVL_DATA_PRIYOMA") + QLatin1Char(' ') + field("ZAMOVL_CHAS_PRIYOMA");
    d.acceptedBy = field("ZAMOVL_PRIYOM_ZAMOVL");
    d.pickup = field("ZAMOVL_POCHAT_PUNKT");
    d.destination = field("ZAMOVL_PUNKT_PRIZHACH");
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    return d;
}
